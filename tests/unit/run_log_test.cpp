// The run log and the preview through the entry point: the lines of a
// representative run, a preview that changes nothing and names what the
// real run then removes, the options, and a log that cannot be opened.
#include <algorithm>
#include <string>
#include <vector>

#include "system/command_options.h"
#include "app/run_uninstall.h"
#include "app/win_main.h"
#include "removal_fixture.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const char kDescription[] = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo";
const char kRunKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kEntry[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN WLAN";
const char kFolder[] = "C:\\Program Files\\XLN";
const char kProgram[] = "\"C:\\Program Files\\XLN\\uninst.exe\" ";

// An XP installation whose removal meets a running program and a device
// tool that fails.
void SeedInstallation(bool marker = true) {
    std::string d = kDescription;
    fake::RegSeedString(d, "FullProductName", "XLN WLAN");
    fake::RegSeedString(d, "UninstallKey", "XLN WLAN");
    fake::RegSeedString(d, "Device", "XLNW");
    fake::RegSeedString(d, "WinVer", "WDM2k");
    fake::RegSeedString(d, "RemoveDevice", "");
    fake::RegSeedString(d, "DeviceServiceName", "XLNW");
    fake::RegSeedString(d, "SoftwareKey", "SOFTWARE\\Tarnwell\\802.11");
    fake::RegSeedString(d + "\\InstalledFiles", "Files",
                        "C:\\Program Files\\XLN\\xln.dll;C:\\Program Files\\XLN\\*.hlp;"
                        "C:\\Program Files\\XLN\\tray.exe");
    fake::RegSeedString(d + "\\InstalledServices", "S1", "C:\\Program Files\\XLN\\svc.exe");
    fake::RegSeedString(d + "\\Applets\\Tray", "Class", "XLNTrayWnd");
    fake::RegSeedString(d + "\\Applets\\Tray", "Name", "XLN Tray");
    fake::RegSeedString(d + "\\Applets\\Tray", "AutoRunValue", "XLNTray");
    fake::RegSeedString(d + "\\RegistryKeys\\0", "BaseKey", "HKLM");
    fake::RegSeedString(d + "\\RegistryKeys\\1", "BaseKey", "HKLM");
    fake::RegSeedString(d + "\\RegistryKeys\\0", "SubKey", "SOFTWARE:XLN Shared");
    fake::RegSeedString(d + "\\RegistryKeys\\1", "SubKey", "SYSTEM:CurrentControlSet:Services:XLNW");
    fake::RegSeedString(d + "\\RegistryKeys\\1", "DeleteIfNonEmpty", "");
    fake::RegSeedString("HKLM\\SOFTWARE\\XLN Shared", "Dir", "C:\\Shared");
    fake::RegSeedString("HKLM\\SYSTEM\\CurrentControlSet\\Services\\XLNW", "Start", "3");
    fake::RegSeedBytes("HKLM\\SYSTEM\\CurrentControlSet\\Services\\XLNW", "Type", REG_DWORD,
                       std::string("\1\0\0\0", 4));
    fake::RegSeedString(kRunKey, "XLNTray", "C:\\Program Files\\XLN\\tray.exe");
    fake::RegSeedString(kRunKey, "Other", "C:\\Other\\other.exe");
    if (marker) fake::RegSeedString(kEntry, "RemovalInProgress", "");
    else fake::RegSeedString(kEntry, "QuietUninstallString", "C:\\Program Files\\XLN\\setup.exe -r");
    for (const char* name : {"xln.dll", "a.hlp", "b.hlp", "tray.exe", "svc.exe", "uninst.exe", "XLNWLD2K.exe"})
        fake::AddFile(std::string(kFolder) + "\\" + name, "x");
    fake::SetFileLocked("C:\\Program Files\\XLN\\tray.exe", true);
    fake::SetModulePath("C:\\Program Files\\XLN\\uninst.exe");
    stand_in::ProcessScript tool;
    tool.on_run = [] { fake::AddFile("C:\\WINDOWS\\XLNWL.dmr", "-1\nDevMgr remove\n31\n"); };
    stand_in::ScriptProcess("C:\\Program Files\\XLN\\XLNWLD2K.exe", tool);
    stand_in::AnswerMessageBoxes({IDCANCEL});  // the restart question
}

// The log's lines without their time stamps and process ids.
std::vector<std::string> LogLines(const std::string& path) {
    std::vector<std::string> lines;
    for (const std::string& line : fake::TextLines(fake::FileContents(path))) {
        EXPECT_EQ(20u, line.find("[1234] ")) << line;
        lines.push_back(line.size() > 27 ? line.substr(27) : line);
    }
    return lines;
}

class RunLog : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        PreviewRun = false;
        SeedInstallation();
    }
    int Run(const std::string& tail) {
        fake::SetCommandLine(kProgram + tail);
        return WinMain(nullptr, nullptr, (LPSTR)tail.c_str(), 1);
    }
};

TEST_F(RunLog, RepresentativeRunInOrder) {
    ASSERT_EQ(0, Run("silent /log=C:\\run.log"));
    const char* const expected[] = {
        "start: uninst 1.0.0.0, command line: \"C:\\Program Files\\XLN\\uninst.exe\" silent /log=C:\\run.log",
        "start: Windows 5.1 build 2600 platform 2 (Windows 2000 or later), user language 0x0409, rights: administrator",
        "description registry key HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo: loaded (result 0)",
        "  installed file: C:\\Program Files\\XLN\\*.hlp",
        "  registry key 1: HKLM\\SYSTEM\\CurrentControlSet\\Services\\XLNW, with everything below it",
        "step RunRegisteredUninstaller: ends with result 1",
        "delete value HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\XLNTray: done",
        "device tool request: ServiceName=XLNW",
        "device tool \"C:\\Program Files\\XLN\\XLNWLD2K\" remove: ended with exit code 0",
        "device tool result: status -1, tag \"DevMgr remove\", code 31",
        "failure: DevMgr remove31: DevMgr Error",
        "step RemoveDevices: ends with result 4",
        "service program \"C:\\Program Files\\XLN\\svc.exe\" -u: ended with exit code 0",
        "delete file C:\\Program Files\\XLN\\a.hlp: done",
        "delete file C:\\Program Files\\XLN\\tray.exe: failed, error 5",
        "delete file at restart C:\\Program Files\\XLN\\tray.exe: scheduled for deletion at the next start of Windows",
        "delete key HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN WLAN: done",
        "delete key if empty HKLM\\SOFTWARE\\XLN Shared: kept: not empty, or not there",
        "delete key HKLM\\SYSTEM\\CurrentControlSet\\Services\\XLNW: done",
        "delete key HKLM\\SOFTWARE\\Tarnwell\\802.11: done",
        "restart: asked, answer Cancel",
        "exit: code 0",
    };
    std::vector<std::string> lines = LogLines("C:\\run.log");
    auto at = lines.begin();
    for (const char* line : expected) {
        auto found = std::find(at, lines.end(), line);
        ASSERT_NE(lines.end(), found) << "missing, or out of order: " << line;
        at = found + 1;
    }
    EXPECT_NE(std::string::npos, fake::FileContents("C:\\run.log").find(" exit: code 0\r\n")) << "lines end in CR LF";
    // The summary comes last; the device tool's reported failure counts.
    const std::string& last = lines.back();
    EXPECT_EQ(0u, last.find("summary: ")) << last;
    EXPECT_NE(std::string::npos, last.find(" 1 left for the next start of Windows, ")) << last;
    EXPECT_NE(std::string::npos, last.find(" 1 failed; exit code 0; a restart is needed")) << last;
}

// Every removed registry line or file must be named in the preview, itself
// or through a key the preview says it would delete with everything.
std::string Lower(std::string text) {
    for (char& c : text) c = (char)tolower((unsigned char)c);
    return text;
}

bool Named(const std::string& item, const std::string& preview_text) {
    std::string preview = Lower(preview_text), path = Lower(item);
    for (const char* said : {": would be", ": exists, would be", ": in use now"})
        if (preview.find(" " + path + said) != std::string::npos) return true;
    for (size_t cut = path.rfind('\\'); cut != std::string::npos; cut = path.rfind('\\', cut - 1)) {
        if (preview.find(" " + path.substr(0, cut) + ": exists, would be deleted with everything") != std::string::npos)
            return true;
        if (cut == 0) break;
    }
    return false;
}

std::vector<std::string> Removed(const std::vector<std::string>& before, const std::vector<std::string>& after) {
    std::vector<std::string> gone;
    for (const std::string& line : before)
        if (std::find(after.begin(), after.end(), line) == after.end()) gone.push_back(line);
    return gone;
}

// "HKLM\Key\" and "HKLM\Key [Value]=..." as the paths a log names;
// "C:\path attr=..." as the file's path.
std::string ItemPath(std::string line) {
    size_t value = line.find(" [");
    if (value != std::string::npos) return line.substr(0, value) + "\\" + line.substr(value + 2, line.find("]=") - value - 2);
    size_t attr = line.find(" attr=");
    if (attr != std::string::npos) return line.substr(0, attr);
    return line.substr(0, line.size() - 1);
}

TEST_F(RunLog, PreviewChangesNothingAndNamesWhatTheRunRemoves) {
    fake::AddDirectory("C:\\LOGS");
    std::vector<std::string> registry = fake::RegDump(), files = fake::FileDump();
    ASSERT_EQ(0, Run("silent /preview /log=C:\\LOGS\\p.log"));
    std::vector<std::string> files_after = fake::FileDump();
    files_after.erase(std::remove_if(files_after.begin(), files_after.end(),
                                     [](const std::string& l) { return l.find("p.log") != std::string::npos; }),
                      files_after.end());
    EXPECT_EQ(registry, fake::RegDump());
    EXPECT_EQ(files, files_after);
    EXPECT_TRUE(stand_in::StartedProcesses().empty()) << stand_in::StartedProcesses()[0].command_line;
    EXPECT_TRUE(fake::PendingDeletes().empty());
    EXPECT_TRUE(stand_in::MessageBoxes().empty());
    std::string preview = fake::FileContents("C:\\LOGS\\p.log");
    for (const char* line : {"preview: device tool \"C:\\Program Files\\XLN\\XLNWLD2K\" remove: would be started",
                             "preview: delete file C:\\Program Files\\XLN\\tray.exe: in use now: its deletion would wait",
                             "preview: delete key if empty HKLM\\SOFTWARE\\XLN Shared: would be deleted only if empty: it is not empty now",
                             "preview: restart: the user would be asked", "exit: code 0"})
        EXPECT_NE(std::string::npos, preview.find(line)) << line;
    // The summary counts what would be done, and the deletion that would wait, as the run would.
    const std::string summary = fake::TextLines(preview).back();
    EXPECT_EQ(std::string::npos, summary.find("summary: 0 removed")) << summary;
    EXPECT_NE(std::string::npos, summary.find(" removed, 1 left for the next start of Windows, 0 kept, 0 refused, "
                                              "0 failed; exit code 0; a restart is needed")) << summary;

    ASSERT_EQ(0, Run("silent"));
    for (const std::string& line : Removed(registry, fake::RegDump()))
        EXPECT_TRUE(Named(ItemPath(line), preview)) << "removed, not previewed: " << line;
    for (const std::string& line : Removed(files, fake::FileDump()))
        EXPECT_TRUE(Named(ItemPath(line), preview)) << "removed, not previewed: " << line;
}

TEST_F(RunLog, PreviewListsTheHandOverAndTheIniSections) {
    fake::Reset();
    SeedInstallation(false);
    fake::AddFile("C:\\Program Files\\XLN\\uninst.INI", "[Main]\r\nSectionsNumber=1\r\n");
    std::vector<std::string> registry = fake::RegDump();
    EXPECT_EQ(0, Run("silent /preview /log=C:\\p.log"));
    EXPECT_EQ(registry, fake::RegDump()) << "no marker written";
    EXPECT_TRUE(stand_in::StartedProcesses().empty());
    std::string log = fake::FileContents("C:\\p.log");
    for (const char* line : {"Uninstall\\XLN WLAN\\RemovalInProgress: would be written",
                             "preview: registered uninstall command C:\\Program Files\\XLN\\setup.exe -r: would be started",
                             "description INI section [UnistallData0] of C:\\Program Files\\XLN\\uninst.INI: loaded"})
        EXPECT_NE(std::string::npos, log.find(line)) << line;
}

// What shows itself to be another program's is left alone, and a preview
// says so as the run would.
TEST_F(RunLog, PreviewSaysWhatIsLeftAlone) {
    fake::RegSeedString(kEntry, "DisplayName", "Other App");
    EXPECT_EQ(0, Run("silent /preview /log=C:\\p.log"));
    std::string log = fake::FileContents("C:\\p.log");
    for (const char* line : {"preview: start the uninstall command of HKLM\\Software\\Microsoft\\Windows\\"
                             "CurrentVersion\\Uninstall\\XLN WLAN: left alone: its DisplayName names another product",
                             "preview: delete key HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\"
                             "Uninstall\\XLN WLAN: left alone: its DisplayName names another product"})
        EXPECT_NE(std::string::npos, log.find(line)) << line;
    EXPECT_TRUE(stand_in::StartedProcesses().empty());
}

TEST_F(RunLog, PreviewWithoutLogGoesToTheTemporaryFolder) {
    fake::AddDirectory("C:\\WINDOWS\\TEMP");
    const char kPreview[] = "C:\\WINDOWS\\TEMP\\uninst-preview.log";
    const char kSecond[] = "C:\\WINDOWS\\TEMP\\uninst-preview-3.log";
    // A file or link under the name, an earlier preview or one planted
    // there, is never written: the preview takes a new name beside it.
    fake::AddFile(kPreview, "an earlier preview\r\n");
    fake::AddLink("C:\\WINDOWS\\TEMP\\uninst-preview-2.log", "C:\\WINDOWS");
    EXPECT_EQ(0, Run("quiet /preview"));
    EXPECT_EQ("an earlier preview\r\n", fake::FileContents(kPreview));
    std::vector<std::string> lines = LogLines(kSecond);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(0u, lines[0].find("start: ")) << lines[0];
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_EQ(std::string("The preview of the removal was written to ") + kSecond, stand_in::MessageBoxes()[0].text);
    // Verbose neither confirms nor shows its dialog: only the preview's box.
    SetUp();
    fake::AddDirectory("C:\\WINDOWS\\TEMP");
    EXPECT_EQ(0, Run("verbose /preview"));
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_EQ("Uninstall Preview", stand_in::MessageBoxes()[0].caption);
    EXPECT_TRUE(fake::FileExists("C:\\Program Files\\XLN\\xln.dll"));
    // Silent shows nothing; a folder that is not there gets no file.
    SetUp();
    EXPECT_EQ(0, Run("silent /preview"));
    EXPECT_TRUE(stand_in::MessageBoxes().empty());
    EXPECT_FALSE(fake::FileExists(kPreview));
}

TEST_F(RunLog, FailureCarriesItsDiagnosticWithItsArguments) {
    fake::FailCall("CreateFileA", ERROR_ACCESS_DENIED, 1, "XLNWL.dms");
    EXPECT_EQ(0, Run("quiet /log=C:\\run.log"));
    std::vector<std::string> lines = LogLines("C:\\run.log");
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "failure: TAVK2182: Unable to create 'C:\\WINDOWS\\XLNWL.dms'"));
    ASSERT_FALSE(stand_in::MessageBoxes().empty());
    EXPECT_EQ(std::string::npos, stand_in::MessageBoxes()[0].text.find("Unable")) << "the box never shows it";
}

TEST_F(RunLog, UnopenableLogLeavesTheRunAsItWas) {
    EXPECT_EQ(0, Run("silent /log=C:\\missing\\run.log"));
    EXPECT_FALSE(fake::FileExists("C:\\Program Files\\XLN\\xln.dll"));
    EXPECT_FALSE(fake::RegKeyExists(kEntry));
}

// "/log=" never writes into Windows' files, through a link, or into a
// file someone else made; the refusal is said in a box (never in silent
// mode) and the run goes on.
TEST_F(RunLog, LogRefusedWhereItWouldWriteIntoAnotherFile) {
    const struct {
        const char* name;
        const char* log;
        const char* reason;
    } cases[] = {
        {"Windows' settings", "C:\\WINDOWS\\win.ini", "Windows' own data file"},
        {"an empty file Windows starts from", "C:\\CONFIG.SYS", "Windows starts from it"},
        {"a symbolic link", "C:\\LOGS\\link.log", "it is a link"},
        {"a hard link", "C:\\LOGS\\hard.log", "other names"},
        {"a folder through a junction", "C:\\J\\j.log", "reached through a link or junction"},
        {"a folder that is a file", "C:\\CONFIG.SYS\\run.log", "could not be opened (error 3)"},
    };
    for (auto& c : cases) {
        for (const char* mode : {"quiet", "silent"}) {
            SetUp();
            fake::AddFile("C:\\WINDOWS\\win.ini", "[fonts]\r\n");
            fake::AddFile("C:\\CONFIG.SYS", "");
            fake::AddFile("C:\\LOGS\\link.log", "", FILE_ATTRIBUTE_REPARSE_POINT);
            fake::AddFile("C:\\LOGS\\hard.log", "");
            fake::SetFileLinkCount("C:\\LOGS\\hard.log", 2);
            fake::AddLink("C:\\J", "C:\\WINDOWS");
            std::vector<std::string> files = fake::FileDump();
            EXPECT_EQ(0, Run(std::string(mode) + " /log=" + c.log)) << c.name;
            EXPECT_FALSE(fake::FileExists("C:\\Program Files\\XLN\\xln.dll")) << c.name << ": the run goes on";
            for (const char* kept : {"C:\\WINDOWS\\win.ini", "C:\\CONFIG.SYS", "C:\\LOGS\\link.log", "C:\\LOGS\\hard.log"})
                EXPECT_EQ(kept == std::string("C:\\WINDOWS\\win.ini") ? "[fonts]\r\n" : "", fake::FileContents(kept)) << c.name;
            EXPECT_FALSE(fake::FileExists("C:\\WINDOWS\\j.log")) << c.name;
            int boxes = 0;
            for (auto& box : stand_in::MessageBoxes()) {
                if (box.caption != "Uninstall Log") continue;
                ++boxes;
                EXPECT_EQ(std::string("The run log was not written to ") + c.log, box.text.substr(0, 31 + strlen(c.log))) << c.name;
                EXPECT_NE(std::string::npos, box.text.find(c.reason)) << c.name << ": " << box.text;
            }
            EXPECT_EQ(strcmp(mode, "quiet") == 0 ? 1 : 0, boxes) << c.name << " " << mode;
        }
    }
}

// A value's control characters are escaped: one event, one line.
TEST_F(RunLog, ControlCharactersInValuesAreEscaped) {
    fake::RegSeedString(std::string(kDescription) + "\\InstalledFiles", "Files",
                        "C:\\Program Files\\XLN\\a\r\n2026-01-01 00:00:00 exit: code 0\tb\x01.hlp");
    ASSERT_EQ(0, Run("silent /log=C:\\run.log"));
    std::vector<std::string> lines = LogLines("C:\\run.log");
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(),
                            "  installed file: C:\\Program Files\\XLN\\a\\r\\n2026-01-01 00:00:00 exit: code 0\\tb\\x01.hlp"));
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "exit: code 0")) << "no line of the value's own";
}

// A log folder a deployment tool names is made when it is missing.
TEST_F(RunLog, MissingFoldersAreMade) {
    EXPECT_EQ(0, Run("silent /log=C:\\logs\\xln\\run.log"));
    EXPECT_TRUE(fake::DirectoryExists("C:\\logs\\xln"));
    std::vector<std::string> lines = LogLines("C:\\logs\\xln\\run.log");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(0u, lines.back().find("summary: ")) << lines.back();
}

TEST_F(RunLog, SecondRunAppends) {
    fake::Reset();
    EXPECT_EQ(1, Run("quiet /log=C:\\run.log"));
    EXPECT_EQ(4, Run("/log=C:\\run.log"));
    std::vector<std::string> lines = LogLines("C:\\run.log");
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "exit: code 1"));
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(), "exit: code 4"));
}

TEST(CommandOptions, LogPathAndPreview) {
    const struct { const char* line; const char* path; bool preview; } cases[] = {
        {"uninst.exe quiet /log=C:\\a.log /x", "C:\\a.log", false},
        {"uninst.exe quiet /log=\"C:\\My Logs\\a.log\" /preview", "C:\\My Logs\\a.log", true},
        {"uninst.exe /preview\tquiet /log=\"C:\\open", "C:\\open", true},
        {"uninst.exe quiet /LOG=C:\\a.log /Preview", "C:\\a.log", true},
        {"uninst.exe quiet /Log=C:\\a.log /PREVIEWx", "C:\\a.log", false},
        {"uninst.exe quiet /log= /previewing", "", false},
        {"uninst.exe quiet /rootkey=X/log=C:\\a.log x/preview", "", false},
        {"\"C:\\x /log=y\\uninst.exe\" quiet", "", false},
        {"uninst.exe quiet\t/log=C:\\t.log", "C:\\t.log", false},
        {"uninst.exe quiet\t/preview", "", true},
    };
    for (auto& c : cases) {
        char path[32];
        memset(path, '#', sizeof path);
        bool found = LogPathOption(c.line, path, sizeof path);
        EXPECT_EQ(c.path[0] != 0, found) << c.line;
        if (found) EXPECT_STREQ(c.path, path) << c.line;
        EXPECT_EQ(c.preview, PreviewOption(c.line)) << c.line;
    }
    char small[8];
    EXPECT_FALSE(LogPathOption("q /log=C:\\toolong.log", small, sizeof small)) << "a cut path names another file";
}

}  // namespace

namespace {

// What the guardrails refuse is listed in a preview with the reason, and
// skipped in the run itself.
TEST_F(RunLog, RefusalsAreListedWithTheirReasons) {
    const std::string d = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo";
    fake::RegSeedString(d + "\\RegistryKeys\\2", "BaseKey", "HKLM");
    fake::RegSeedString(d + "\\RegistryKeys\\2", "SubKey", "SYSTEM:Select");
    fake::RegSeedString(d + "\\RegistryKeys\\2", "DeleteIfNonEmpty", "");
    fake::RegSeedString("HKLM\\SYSTEM\\Select", "Current", "1");
    fake::RegSeedString(d + "\\RegistryKeys\\3", "BaseKey", "HKLM");
    fake::RegSeedString(d + "\\RegistryKeys\\3", "SubKey", "SYSTEM:CurrentControlSet:Services:NoFile");
    fake::RegSeedString(d + "\\RegistryKeys\\3", "DeleteIfNonEmpty", "");
    fake::RegSeedString("HKLM\\SYSTEM\\CurrentControlSet\\Services\\NoFile", "ImagePath", "x.sys");
    fake::RegSeedString(d + "\\InstalledServices", "S2", "%WIN_SYS_DIR%\\cmd.exe /c del C:\\boot.ini");
    fake::AddFile("C:\\WINDOWS\\system32\\cmd.exe");
    fake::AddDirectory("C:\\LOGS");
    const char* const kRefusals[] = {
        "delete key HKLM\\SYSTEM\\Select: refused by a guardrail: a key Windows owns",
        "service program C:\\WINDOWS\\system32\\cmd.exe /c del C:\\boot.ini -u: refused by a guardrail: "
        "a command interpreter or script host: it does whatever it is given",
        "delete key HKLM\\SYSTEM\\CurrentControlSet\\Services\\NoFile: refused by a guardrail: "
        "a service whose program is missing and nothing ties to the product",
    };
    for (const char* mode : {"silent /preview /log=C:\\LOGS\\p.log", "silent /log=C:\\LOGS\\r.log"}) {
        ASSERT_EQ(0, Run(mode)) << mode;
        std::string log = fake::FileContents(strstr(mode, "p.log") ? "C:\\LOGS\\p.log" : "C:\\LOGS\\r.log");
        for (const char* line : kRefusals) EXPECT_NE(std::string::npos, log.find(line)) << mode << ": " << line;
    }
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\SYSTEM\\Select"));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\SYSTEM\\CurrentControlSet\\Services\\NoFile"));
    EXPECT_FALSE(fake::RegKeyExists(d)) << "the second run removes";
    for (auto& process : stand_in::StartedProcesses())
        EXPECT_EQ(std::string::npos, process.command_line.find("cmd.exe")) << process.command_line;
}

}  // namespace

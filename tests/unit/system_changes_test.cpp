// The gateway of every change: its outcomes, the guardrails in front of
// each step, and the native view of the drivers folder on 64-bit Windows.
#include "removal/system_changes.h"

#include "removal/removal_steps.h"
#include "system/run_log.h"
#include "system/windows_family.h"
#include "removal_fixture.h"

namespace {

const char kRun[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// A machine with the system's own keys and files, and the product's.
void SeedSystem() {
    fake::RegSeedString(kRun, "Explorer", "explorer.exe");
    fake::RegSeedString("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir",
                        "C:\\Program Files");
    fake::RegSeedString("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Tcpip", "Start", "1");
    fake::RegSeedString("HKLM\\SOFTWARE\\Wine", "Version", "win98");
    fake::RegSeedKey("HKLM\\SOFTWARE\\Tarnwell\\802.11\\Sub");
    for (const char* file : {"C:\\WINDOWS\\system32\\kernel32.dll", "C:\\WINDOWS\\win.ini",
                             "C:\\WINDOWS\\system32\\drivers\\ndis.sys", "C:\\boot.ini",
                             "C:\\Program Files\\readme.txt"})
        fake::AddFile(file);
}

class SystemChanges : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        SeedSystem();
    }
};

TEST_F(SystemChanges, RegistryOutcomes) {
    fake::RegSeedString("HKLM\\SOFTWARE\\Tarnwell\\Full", "v", "x");
    fake::RegSeedString("HKLM\\SOFTWARE\\Tarnwell\\Stuck", "v", "x");
    fake::FailCall("RegDeleteValueA", ERROR_ACCESS_DENIED, 0, "Stuck");
    const struct {
        const char* path;
        KeyDeletion how;
        ChangeOutcome outcome;
        DWORD error;
    } cases[] = {
        {"SOFTWARE\\Microsoft", KeyWithEverything, ChangeRefused, 0},
        {"SOFTWARE\\Tarnwell\\Absent", KeyWithEverything, ChangeMissing, 0},
        {"SOFTWARE\\Tarnwell\\Full", KeyOnlyIfEmpty, ChangeKept, 0},
        {"SOFTWARE\\Tarnwell\\Stuck", KeyWithEverything, ChangeFailed, 2784},
        {"SOFTWARE\\Tarnwell\\802.11\\Sub", KeyOnlyIfEmpty, ChangeDone, 0},
        {"SOFTWARE\\Tarnwell\\Full", KeyWithEverything, ChangeDone, 0},
    };
    for (auto& c : cases) {
        ChangeResult result = DeleteRegistryKey(HKEY_LOCAL_MACHINE, c.path, c.how);
        EXPECT_EQ(c.outcome, result.outcome) << c.path;
        EXPECT_EQ(c.error, result.error) << c.path;
    }
    EXPECT_TRUE(fake::CallsTo("RegOpenKeyA HKLM\\SOFTWARE\\Microsoft").empty()) << "refused unseen";
}

TEST_F(SystemChanges, FileAndFolderOutcomes) {
    fake::AddFile("C:\\Program Files\\XLN\\Help\\x.hlp");
    EXPECT_EQ(ChangeRefused, DeleteFileAtRestart("C:\\Program Files\\XLN", FamilyWin2000).outcome);
    EXPECT_EQ(ChangeRefused, RemoveFolder("C:\\WINDOWS\\").outcome);
    EXPECT_EQ(ChangeRefused, RemoveFolder("C:\\Program Files").outcome);
    EXPECT_EQ(ChangeMissing, DeleteFileNow("C:\\Program Files\\XLN\\none.dll").outcome);
    ChangeResult full = RemoveFolder("C:\\Program Files\\XLN\\Help");
    EXPECT_EQ(ChangeFailed, full.outcome);
    EXPECT_EQ((DWORD)ERROR_DIR_NOT_EMPTY, full.error);
    EXPECT_EQ(ChangeDone, DeleteFileNow("C:\\Program Files\\XLN\\Help\\x.hlp").outcome);
    EXPECT_EQ(ChangeDone, RemoveFolder("C:\\Program Files\\XLN\\Help").outcome);
    EXPECT_TRUE(fake::PendingDeletes().empty());
    EXPECT_TRUE(fake::DirectoryExists("C:\\WINDOWS"));
    // A folder that became a link after it was judged is judged itself
    // again right before its removal.
    fake::AddDirectory("C:\\Program Files\\XLN\\Empty");
    fake::AddDirectory("C:\\WINDOWS\\Help");
    fake::BeforeCall("CreateFileA", 2, [] {
        EXPECT_TRUE(fake::SwapFolderForLink("C:\\Program Files\\XLN\\Empty", "C:\\WINDOWS\\Help"));
    }, "Empty");
    EXPECT_EQ(ChangeRefused, RemoveFolder("C:\\Program Files\\XLN\\Empty").outcome);
    EXPECT_NE(0u, fake::FileAttributesOf("C:\\Program Files\\XLN\\Empty") & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Each attack of a hostile or mistyped description leaves the system as it
// was, reports nothing and fails no step.
TEST_F(SystemChanges, AttacksLeaveTheSystemUnchanged) {
    const struct {
        const char* name;
        void (*arrange)(UninstallData& data);
        int (*step)(const UninstallData& data);
    } cases[] = {
        {"software key SOFTWARE", [](UninstallData& d) { strcpy(d.software_key, "SOFTWARE"); },
         RemoveSoftwareKey},
        {"software key Microsoft, spelled loosely",
         [](UninstallData& d) { strcpy(d.software_key, "software\\\\MICROSOFT\\"); }, RemoveSoftwareKey},
        {"software key of the Wine prefix",
         [](UninstallData& d) { strcpy(d.software_key, "SOFTWARE\\Wine"); }, RemoveSoftwareKey},
        {"description key SYSTEM", [](UninstallData& d) { strcpy(d.description_key, "SYSTEM"); },
         RemoveDescriptionKey},
        {"listed control set",
         [](UninstallData& d) {
             RegistryKeyEntry& e = d.registry_keys[d.registry_key_count++];
             e.base_key = HKEY_LOCAL_MACHINE;
             strcpy(e.key_path, "SYSTEM\\CurrentControlSet");
             e.delete_if_non_empty = 1;
         },
         RemoveRegistryKeys},
        {"search below SOFTWARE",
         [](UninstallData& d) {
             RegistryKeyEntry& e = d.registry_keys[d.registry_key_count++];
             e.base_key = HKEY_LOCAL_MACHINE;
             strcpy(e.key_path, "SOFTWARE\\");
             strcpy(e.search_sub_keys, "i");
             e.delete_if_non_empty = 1;
         },
         RemoveRegistryKeys},
        {"system DLLs",
         [](UninstallData& d) {
             for (const char* entry : {"%WIN_SYS_DIR%\\*.dll", "%WIN_DIR%\\*.*", "C:\\*",
                                       "%WIN_SYS_DIR%\\drivers\\?.sys", "C:\\Program Files\\*",
                                       "%WIN_DIR%", "C:\\Program Files"})
                 strcpy(d.installed_files[d.installed_file_count++], entry);
         },
         RemoveInstalledFiles},
    };
    for (auto& c : cases) {
        SetUp();
        UninstallData& data = ClearedRecord();
        c.arrange(data);
        std::vector<std::string> keys = fake::RegDump(), files = fake::FileDump();
        EXPECT_EQ(0, c.step(data)) << c.name;
        EXPECT_EQ(keys, fake::RegDump()) << c.name;
        EXPECT_EQ(files, fake::FileDump()) << c.name;
        EXPECT_TRUE(fake::PendingDeletes().empty()) << c.name;
        EXPECT_TRUE(Reports().empty()) << c.name;
        EXPECT_FALSE(RestartNeeded) << c.name;
        TearDown();
    }
}

// Windows' own files named one by one, in several spellings, stay and wait
// for no restart (kernel32.dll is in use); the log says which rule refused.
// The product's own file in the system folder still goes.
TEST_F(SystemChanges, WindowsFilesNamedOneByOneStay) {
    const char* const product = "C:\\WINDOWS\\system32\\xlnw11co.dll";
    const struct {
        const char* name;
        const fake::WindowsVersion* version;
        bool preview;
    } cases[] = {{"Windows 98", &fake::kWin98, false}, {"XP", &fake::kWinXP, false}, {"preview", &fake::kWinXP, true}};
    for (auto& c : cases) {
        SetUp();
        fake::SetWindowsVersion(*c.version);
        fake::AddFile("C:\\WINDOWS\\explorer.exe", "", FILE_ATTRIBUTE_READONLY);
        fake::SetFileCompany("C:\\WINDOWS\\explorer.exe", "Microsoft Corporation");
        fake::RegSeedString("HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs", "kernel32",
                            "kernel32.dll");
        fake::SetFileLocked("C:\\WINDOWS\\system32\\kernel32.dll", true);
        fake::AddFile(product);
        UninstallData& data = ClearedRecord();
        for (const char* entry : {"%WIN_DIR%\\explorer.exe", "C:/WINDOWS/system32/../explorer.exe", "C:\\boot.ini",
                                  "%WIN_SYS_DIR%\\kernel32.dll", "%WIN_SYS_DIR%\\*3*.dll", "%WIN_SYS_DIR%\\xlnw11co.dll"})
            strcpy(data.installed_files[data.installed_file_count++], entry);
        ASSERT_TRUE(OpenRunLog("C:\\Program Files\\run.log", true));
        PreviewRun = c.preview;
        EXPECT_EQ(0, RemoveInstalledFiles(data)) << c.name;
        PreviewRun = false;
        CloseRunLog();
        const std::string log = fake::FileContents("C:\\Program Files\\run.log");
        EXPECT_EQ((DWORD)FILE_ATTRIBUTE_READONLY, fake::FileAttributesOf("C:\\WINDOWS\\explorer.exe")) << c.name;
        for (const char* file : {"C:\\boot.ini", "C:\\WINDOWS\\system32\\kernel32.dll"})
            EXPECT_TRUE(fake::FileExists(file)) << c.name << ": " << file;
        EXPECT_EQ(c.preview, fake::FileExists(product)) << c.name;
        EXPECT_TRUE(fake::PendingDeletes().empty()) << c.name;
        EXPECT_FALSE(fake::FileExists("C:\\WINDOWS\\WININIT.INI")) << c.name;
        EXPECT_FALSE(RestartNeeded) << c.name;
        for (const char* line : {"delete file C:\\WINDOWS\\explorer.exe: refused by a guardrail: its version resource",
                                 "delete file C:/WINDOWS/system32/..\\explorer.exe: refused by a guardrail",
                                 "delete file C:\\boot.ini: refused by a guardrail: a file in a drive's root",
                                 "delete file C:\\WINDOWS\\system32\\kernel32.dll: refused by a guardrail: one of "
                                 "Windows' known DLLs"})
            EXPECT_NE(std::string::npos, log.find(line)) << c.name << ": " << line << "\n" << log;
        TearDown();
    }
}

// A 32-bit program on 64-bit Windows: driver files are searched and
// deleted in the real system folder, everything else where the program's
// view of it lies. Before XP the redirection functions do not exist.
TEST_F(SystemChanges, DriversAreDeletedInTheNativeView) {
    const char* native_driver = "C:\\WINDOWS\\system32\\drivers\\xlnw11.sys";
    const char* wow_driver = "C:\\WINDOWS\\SysWOW64\\drivers\\xlnw11w.sys";
    const char* native_dll = "C:\\WINDOWS\\system32\\xlnw11a.dll";
    const char* wow_dll = "C:\\WINDOWS\\SysWOW64\\xlnw11a.dll";
    const struct {
        const char* name;
        bool wow64;
        bool exported;
        std::vector<const char*> gone, kept;
    } cases[] = {
        {"64-bit Windows", true, true, {native_driver, wow_dll}, {wow_driver, native_dll}},
        {"32-bit Windows", false, true, {native_driver, native_dll}, {wow_driver, wow_dll}},
        {"before XP", false, false, {native_driver, native_dll}, {wow_driver, wow_dll}},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetWow64(c.wow64);
        if (!c.exported) stand_in::RemoveExport("kernel32.dll", "Wow64DisableWow64FsRedirection");
        for (const char* file : {native_driver, wow_driver, native_dll, wow_dll}) fake::AddFile(file);
        UninstallData& data = ClearedRecord();
        strcpy(data.installed_files[0], "%WIN_SYS_DIR%\\drivers\\xlnw11*.sys");
        strcpy(data.installed_files[1], "%WIN_SYS_DIR%\\xlnw11*.dll");
        data.installed_file_count = 2;
        EXPECT_EQ(0, RemoveInstalledFiles(data)) << c.name;
        for (const char* file : c.gone) EXPECT_FALSE(fake::FileExists(file)) << c.name << ": " << file;
        for (const char* file : c.kept) EXPECT_TRUE(fake::FileExists(file)) << c.name << ": " << file;
        TearDown();
    }
}

TEST_F(SystemChanges, LockedDriverIsScheduledByItsNativePath) {
    const char* driver = "C:\\WINDOWS\\system32\\drivers\\xlnw11.sys";
    fake::SetWindowsVersion(fake::kWin10);
    fake::SetWow64(true);
    fake::AddFile(driver);
    fake::SetFileLocked(driver, true);
    EXPECT_EQ(ChangeFailed, DeleteFileNow(driver).outcome);
    EXPECT_EQ(ChangeScheduled, DeleteFileAtRestart(driver, FamilyWin2000).outcome);
    EXPECT_EQ(std::vector<std::string>{driver}, fake::PendingDeletes());
    fake::AddFile("C:\\WINDOWS\\SysWOW64\\x.dll");
    EXPECT_EQ(ChangeDone, DeleteFileNow("C:\\WINDOWS\\system32\\x.dll").outcome)
        << "the view is given back after each call";
}

}  // namespace

// Deleting the installed files: wildcards, read-only files, the running
// program's own name, deletions deferred to the next start on each family,
// and WININIT.INI's "rename" section.
#include <functional>
#include <string>
#include <vector>

#include "removal/delete_on_restart.h"
#include "removal/removal_steps.h"
#include "removal_fixture.h"
#include "system/run_log.h"
#include "system/windows_family.h"

namespace {

const char kWininit[] = "C:\\WINDOWS\\WININIT.INI";
const char kLocked[] = "C:\\Program Files\\XLN\\Wireless Driver.dll";

class InstalledFiles : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        memset(&data, 0, sizeof data);
    }
    void Add(const std::string& entry) {
        lstrcpynA(data.installed_files[data.installed_file_count++], entry.c_str(),
                  TAVK_MAX_INSTALLED_FILE_NAME_LEN + 1);
    }
    UninstallData data;
};

TEST_F(InstalledFiles, WildcardInTheSystemDirectory) {
    const char* dir = "C:\\WINDOWS\\SYSTEM32\\";
    for (const char* name : {"XLN1.DLL", "xln2.dll", "XLN3.SYS", "OTHER.DLL", "XLN.DLL.BAK"})
        fake::AddFile(std::string(dir) + name);
    Add("%WIN_SYS_DIR%\\XLN*.DLL");
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    for (auto& expected : {std::make_pair("XLN1.DLL", false), std::make_pair("xln2.dll", false),
                           std::make_pair("XLN3.SYS", true), std::make_pair("OTHER.DLL", true),
                           std::make_pair("XLN.DLL.BAK", true)})
        EXPECT_EQ(expected.second, fake::FileExists(std::string(dir) + expected.first))
            << expected.first;
    EXPECT_FALSE(RestartNeeded);
}

TEST_F(InstalledFiles, ReadOnlyFileIsDeleted) {
    fake::AddFile("C:\\WINDOWS\\INF\\OEM3.INF", "", FILE_ATTRIBUTE_READONLY);
    fake::AddFile("C:\\WINDOWS\\INF\\OEM3.PNF", "", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Add("C:\\WINDOWS\\INF\\OEM3.INF");
    Add("%WIN_DIR%\\INF\\OEM3.PNF");
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    EXPECT_FALSE(fake::FileExists("C:\\WINDOWS\\INF\\OEM3.INF"));
    EXPECT_FALSE(fake::FileExists("C:\\WINDOWS\\INF\\OEM3.PNF"));
    EXPECT_FALSE(RestartNeeded);
}

// Thousands of matches are common: each costs its deletion alone, unless
// it is read-only.
TEST_F(InstalledFiles, OnlyAReadOnlyMatchHasItsAttributesWritten) {
    fake::AddFile("C:\\XLN\\A.HLP", "", FILE_ATTRIBUTE_ARCHIVE);
    fake::AddFile("C:\\XLN\\B.HLP", "", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    Add("C:\\XLN\\*.HLP");
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    EXPECT_EQ(std::vector<std::string>{"SetFileAttributesA C:\\XLN\\B.HLP"},
              fake::CallsTo("SetFileAttributesA"));
    EXPECT_TRUE(fake::CallsTo("GetFileAttributesA C:\\XLN\\A.HLP").empty());
    EXPECT_EQ((DWORD)INVALID_FILE_ATTRIBUTES, fake::FileAttributesOf("C:\\XLN\\B.HLP"));
}

// Only the name counts: a file called like the running program stays in
// any folder, its read-only attribute cleared.
TEST_F(InstalledFiles, RunningProgramsNameIsKeptEverywhere) {
    fake::SetModulePath("C:\\Program Files\\XLN\\UNINST.EXE");
    fake::AddFile("C:\\Program Files\\XLN\\UNINST.EXE", "", FILE_ATTRIBUTE_ARCHIVE);
    fake::AddFile("C:\\WINDOWS\\uninst.exe", "", FILE_ATTRIBUTE_READONLY);
    fake::AddFile("C:\\WINDOWS\\UNINST.EXE.OLD");
    fake::AddFile("C:\\WINDOWS\\UNINSTX.EXE");
    Add("C:\\Program Files\\XLN\\*.*");
    Add("%WIN_DIR%\\UNINST*.EXE*");
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    EXPECT_TRUE(fake::FileExists("C:\\Program Files\\XLN\\UNINST.EXE"));
    EXPECT_TRUE(fake::FileExists("C:\\WINDOWS\\uninst.exe"));
    EXPECT_EQ(0u, fake::FileAttributesOf("C:\\WINDOWS\\uninst.exe") & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(fake::FileExists("C:\\WINDOWS\\UNINST.EXE.OLD"));
    EXPECT_FALSE(fake::FileExists("C:\\WINDOWS\\UNINSTX.EXE"));
    EXPECT_FALSE(RestartNeeded);
    EXPECT_TRUE(fake::CallsTo("SetFileInformationByHandle C:\\WINDOWS\\uninst.exe").empty());
}

TEST_F(InstalledFiles, WithoutTheProgramsPathNothingIsProtected) {
    fake::FailCall("GetModuleFileNameA", ERROR_INVALID_FUNCTION);
    fake::AddFile("C:\\WINDOWS\\UNINST.EXE");
    Add("%WIN_DIR%\\UNINST.EXE");
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    EXPECT_FALSE(fake::FileExists("C:\\WINDOWS\\UNINST.EXE"));
}

struct FamilyCase {
    const char* name;
    fake::WindowsVersion version;
    bool wininit;
};

// A file Windows will not delete now is scheduled where this family looks
// at its next start, and is really gone after it.
TEST_F(InstalledFiles, AccessDeniedIsDeferredOnEachFamily) {
    const FamilyCase cases[] = {
        {"95", fake::kWin95, true},      {"98", fake::kWin98, true},
        {"Me", fake::kWinMe, true},      {"NT 4", fake::kNT4, false},
        {"2000", fake::kWin2000, false}, {"XP", fake::kWinXP, false},
        {"10", fake::kWin10, false},
    };
    for (const FamilyCase& c : cases) {
        for (bool install : {false, true}) {
            SetUp();
            InstallMode = install;
            fake::SetWindowsVersion(c.version);
            if (c.version.major < 6) stand_in::RemoveExport("kernel32.dll", "SetFileInformationByHandle");
            fake::AddFile(kLocked);
            fake::SetFileLocked(kLocked, true);
            Add(kLocked);
            EXPECT_EQ(0, RemoveInstalledFiles(data)) << c.name;
            EXPECT_EQ(!install, RestartNeeded) << c.name << " install " << install;
            if (c.wininit) {
                EXPECT_EQ("[rename]\r\nNUL=C:\\PROGRA~1\\XLN\\WIRELE~1.DLL\r\n",
                          fake::FileContents(kWininit))
                    << c.name;
                EXPECT_TRUE(fake::PendingDeletes().empty()) << c.name;
            } else {
                EXPECT_EQ(std::vector<std::string>{kLocked}, fake::PendingDeletes()) << c.name;
                EXPECT_FALSE(fake::FileExists(kWininit)) << c.name;
            }
            EXPECT_TRUE(fake::FileExists(kLocked)) << c.name;
            EXPECT_TRUE(fake::RestartWindows().empty()) << c.name;
            EXPECT_FALSE(fake::FileExists(kLocked)) << c.name;
            TearDown();
        }
    }
}

TEST_F(InstalledFiles, OtherFailuresAreSkipped) {
    fake::SetWindowsVersion(fake::kWinXP);
    fake::AddFile("C:\\APP\\A.DLL");
    fake::AddFile("C:\\APP\\B.DLL");
    fake::FailCall("CreateFileA", 19 /* ERROR_WRITE_PROTECT */, 1, "A.DLL");
    Add("C:\\APP\\A.DLL");
    Add("C:\\APP\\MISSING.DLL");
    Add("C:\\NOFOLDER\\*.DLL");
    Add("C:\\APP\\B.DLL");
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    EXPECT_TRUE(fake::FileExists("C:\\APP\\A.DLL"));
    EXPECT_FALSE(fake::FileExists("C:\\APP\\B.DLL"));
    EXPECT_TRUE(fake::PendingDeletes().empty());
    EXPECT_FALSE(RestartNeeded);
}

// "." and ".." name the folder and its parent: neither is deleted nor
// scheduled, and they ask for no restart.
TEST_F(InstalledFiles, DotEntriesAreNotMatches) {
    const fake::WindowsVersion versions[] = {fake::kWin98, fake::kWinXP};
    for (const auto& version : versions) {
        SetUp();
        fake::SetWindowsVersion(version);
        fake::AddFile("C:\\APP\\SUB\\A.DLL");
        fake::AddFile("C:\\APP\\SUB\\B.TXT");
        Add("C:\\APP\\SUB\\*");
        Add("C:\\APP\\SUB\\*.*");
        EXPECT_EQ(0, RemoveInstalledFiles(data));
        EXPECT_FALSE(fake::FileExists("C:\\APP\\SUB\\A.DLL"));
        EXPECT_FALSE(fake::FileExists("C:\\APP\\SUB\\B.TXT"));
        EXPECT_TRUE(fake::DirectoryExists("C:\\APP\\SUB"));
        EXPECT_TRUE(fake::PendingDeletes().empty());
        EXPECT_FALSE(fake::FileExists(kWininit));
        EXPECT_FALSE(RestartNeeded);
        for (auto& call : fake::CallsTo("DeleteFileA"))
            EXPECT_EQ(std::string::npos, call.find("\\.")) << call;
        TearDown();
    }
}

// A folder is no installed file: matched by a wildcard or by its name, it
// is neither deleted nor left for the restart, and asks for no restart.
TEST_F(InstalledFiles, FoldersAreSkipped) {
    const fake::WindowsVersion versions[] = {fake::kWin98, fake::kWinXP};
    for (const auto& version : versions) {
        SetUp();
        fake::SetWindowsVersion(version);
        fake::AddFile("C:\\APP\\XLN1.DLL");
        fake::AddFile("C:\\APP\\XLNDATA\\keep.dat");
        Add("C:\\APP\\XLN*");
        Add("C:\\APP\\XLNDATA");
        EXPECT_EQ(0, RemoveInstalledFiles(data));
        EXPECT_FALSE(fake::FileExists("C:\\APP\\XLN1.DLL"));
        EXPECT_TRUE(fake::FileExists("C:\\APP\\XLNDATA\\keep.dat"));
        EXPECT_TRUE(fake::PendingDeletes().empty());
        EXPECT_FALSE(fake::FileExists(kWininit));
        EXPECT_FALSE(RestartNeeded);
        TearDown();
    }
}

// Windows 9x may give the running program's path in 8.3 form: the match's
// short name then identifies it.
TEST_F(InstalledFiles, RunningProgramIsKnownByItsShortNameToo) {
    const char* own = "C:\\Program Files\\XLN\\Uninstall Tool.exe";
    fake::AddFile(own);
    fake::SetShortName(own, "UNINST~1.EXE");
    fake::AddFile("C:\\Program Files\\XLN\\xlnutil.exe");
    fake::SetModulePath("C:\\PROGRA~1\\XLN\\UNINST~1.EXE");
    Add("C:\\Program Files\\XLN\\*.exe");
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    EXPECT_TRUE(fake::FileExists(own));
    EXPECT_FALSE(fake::FileExists("C:\\Program Files\\XLN\\xlnutil.exe"));
}

// A bare name would be looked for wherever the program was started.
TEST_F(InstalledFiles, EntryWithoutAFolderIsSkipped) {
    fake::AddFile("C:\\WINDOWS\\XLN.DLL");
    Add("XLN.DLL");
    Add("C:XLN.DLL");
    Add("");
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    EXPECT_TRUE(fake::CallsTo("FindFirstFileA").empty());
    EXPECT_TRUE(fake::FileExists("C:\\WINDOWS\\XLN.DLL"));
}

// Windows takes '/' for a folder separator too: a match is deleted from the
// folder it was found in, never from a folder further up, and a file named
// like the running program stays however its folder was written.
TEST_F(InstalledFiles, ForwardSlashSeparatesFoldersToo) {
    const struct {
        const char* name;
        const char* entry;
        const char* found;  // the match, deleted
    } cases[] = {
        {"slashes only after the macro", "%WIN_DIR%/XLN/XLN*.DLL", "C:\\WINDOWS\\XLN\\XLN1.DLL"},
        {"slash before the pattern", "C:\\WINDOWS\\XLN/XLN*.DLL", "C:\\WINDOWS\\XLN\\XLN1.DLL"},
        {"slash before a plain name", "%WIN_SYS_DIR%/XLN1.DLL", "C:\\WINDOWS\\SYSTEM32\\XLN1.DLL"},
    };
    const char* decoys[] = {"C:\\XLN1.DLL", "C:\\WINDOWS\\XLN1.DLL"};
    for (auto& c : cases) {
        SetUp();
        fake::SetModulePath("C:\\P\\UNINST.EXE");
        fake::AddFile(c.found);
        for (const char* decoy : decoys) fake::AddFile(decoy);
        fake::AddFile("C:\\WINDOWS\\XLN\\UNINST.EXE");
        Add(c.entry);
        Add("%WIN_DIR%/XLN/UNINST.EXE");
        EXPECT_EQ(0, RemoveInstalledFiles(data)) << c.name;
        EXPECT_FALSE(fake::FileExists(c.found)) << c.name;
        for (const char* decoy : decoys) EXPECT_TRUE(fake::FileExists(decoy)) << c.name << ": " << decoy;
        EXPECT_TRUE(fake::FileExists("C:\\WINDOWS\\XLN\\UNINST.EXE")) << c.name;
        TearDown();
    }
}

// 513 characters after expansion end the step before the entry is
// searched; later entries stay.
TEST_F(InstalledFiles, EntryThatDoesNotFitEndsTheStep) {
    fake::SetSharedWindowsDirectory("C:\\" + std::string(249, 'w'));
    fake::AddFile("C:\\APP\\A.DLL");
    fake::AddFile("C:\\APP\\B.DLL");
    Add("C:\\APP\\A.DLL");
    Add("%WIN_DIR%\\%WIN_DIR%\\SXY.DLL");
    Add("C:\\APP\\B.DLL");
    EXPECT_EQ(2, RemoveInstalledFiles(data));
    EXPECT_FALSE(fake::FileExists("C:\\APP\\A.DLL"));
    EXPECT_TRUE(fake::FileExists("C:\\APP\\B.DLL"));
    EXPECT_EQ(1u, fake::CallsTo("FindFirstFileA").size());
}

// Each room at its edge: a match path of exactly 512 characters, the 64th
// entry of a full list, and a program path cut at its buffer, which names
// no file to keep (its cut name "UNINST.EX" is an ordinary match).
TEST_F(InstalledFiles, RoomsAtTheirEdges) {
    const std::string windows_dir = "C:\\" + std::string(496, 'w');
    const std::string folder = windows_dir + "\\";                    // 500 characters
    fake::SetSharedWindowsDirectory(windows_dir);
    fake::SetModulePath(folder + "pp\\UNINST.EXE");                   // 513: cut at 512
    fake::AddFile(folder + "12345678.DLL");
    fake::AddFile(folder + "123456789.DLL");
    fake::AddFile(folder + "UNINST.EX");
    for (int i = 0; i < 61; ++i) Add("C:\\NONE\\X.DLL");
    Add("%WIN_DIR%\\1*.DLL");  // a bare "*.DLL" is refused in the Windows folder
    Add("%WIN_DIR%\\UNINST.EX");
    fake::AddFile("C:\\APP\\LAST.DLL");
    Add("C:\\APP\\LAST.DLL");
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    EXPECT_FALSE(fake::FileExists(folder + "12345678.DLL"));
    EXPECT_TRUE(fake::FileExists(folder + "123456789.DLL"));
    EXPECT_FALSE(fake::FileExists(folder + "UNINST.EX"));
    EXPECT_FALSE(fake::FileExists("C:\\APP\\LAST.DLL"));
}

TEST_F(InstalledFiles, MissingDirectoryDeletesNothing) {
    for (const char* api : {"GetSystemDirectoryA", "GetProcAddress"}) {
        SetUp();
        fake::FailCall(api, ERROR_INVALID_FUNCTION);
        fake::AddFile("C:\\APP\\A.DLL");
        Add("C:\\APP\\A.DLL");
        EXPECT_EQ(2, RemoveInstalledFiles(data)) << api;
        EXPECT_TRUE(fake::FileExists("C:\\APP\\A.DLL")) << api;
        TearDown();
    }
}

// --- WININIT.INI ---

class Wininit : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        fake::SetWindowsVersion(fake::kWin98);
    }
};

struct WininitCase {
    const char* name;
    std::string before;
    std::vector<std::string> paths;
    std::string after;
};

TEST_F(Wininit, EachPathGetsItsOwnLine) {
    const WininitCase cases[] = {
        {"no file before: key write, then section rewrite", "",
         {"C:\\A.DLL", "C:\\B.DLL"},
         "[rename]\r\nNUL=C:\\A.DLL\r\nNUL=C:\\B.DLL\r\n"},
        {"a NUL key before: two lines", "[rename]\r\nNUL=C:\\OLD.TMP\r\n",
         {"C:\\A.DLL"},
         "[rename]\r\nNUL=C:\\OLD.TMP\r\nNUL=C:\\A.DLL\r\n"},
        {"other lines and sections kept in order",
         "[other]\r\nx=1\r\n[Rename]\r\nC:\\NEW.DLL=C:\\TMP.DLL\r\n",
         {"C:\\A.DLL", "C:\\B.DLL"},
         "[other]\r\nx=1\r\n[Rename]\r\nC:\\NEW.DLL=C:\\TMP.DLL\r\nNUL=C:\\A.DLL\r\n"
         "NUL=C:\\B.DLL\r\n"},
        {"empty NUL key taken by the key write", "[rename]\r\nNUL=\r\n",
         {"C:\\A.DLL"},
         "[rename]\r\nNUL=C:\\A.DLL\r\n"},
        {"long names in their short form", "",
         {"C:\\Program Files\\XLN\\Wireless Driver.dll", "C:\\Program Files\\XLN\\Wireless Tool.exe"},
         "[rename]\r\nNUL=C:\\PROGRA~1\\XLN\\WIRELE~1.DLL\r\nNUL=C:\\PROGRA~1\\XLN\\WIRELE~1.EXE\r\n"},
    };
    for (const WininitCase& c : cases) {
        SetUp();
        for (const char* file : {"C:\\A.DLL", "C:\\B.DLL", "C:\\Program Files\\XLN\\Wireless Driver.dll",
                                 "C:\\Program Files\\XLN\\Wireless Tool.exe"})
            fake::AddFile(file);
        if (!c.before.empty()) fake::AddFile(kWininit, c.before);
        for (auto& path : c.paths) ScheduleWininitDelete(path.c_str());
        EXPECT_EQ(c.after, fake::FileContents(kWininit)) << c.name;
        TearDown();
    }
}

// Writing back a section that came back cut would destroy other programs'
// pending lines; a line that does not fit is not written either.
TEST_F(Wininit, NothingIsWrittenWithoutRoom) {
    fake::AddFile("C:\\LOCKED.DLL");  // "NUL=C:\LOCKED.DLL": 17 characters
    std::string deep = "C:";
    for (int i = 0; i < 14; ++i) deep += "\\AAAAAAA" + std::to_string(i % 10);
    fake::AddFile(deep + "\\X.DLL");  // 135 characters, already 8.3
    const std::string deep_file = deep + "\\X.DLL";
    const std::string plain = "C:\\" + std::string(120, 'p');  // no such file: written as it stands
    struct {
        const char* name;
        size_t used;  // the section's length as read, final terminator not counted
        std::string path;
        bool written;
    } cases[] = {
        {"new line fills the buffer exactly", 8173, "C:\\LOCKED.DLL", true},
        {"one byte short", 8174, "C:\\LOCKED.DLL", false},
        {"section cut on reading", 9000, "C:\\LOCKED.DLL", false},
        {"line longer than 127 characters", 20, deep_file, false},
        {"line of 127 characters", 20, plain, true},
        {"line of 128 characters", 20, plain + "p", false},
    };
    for (auto& c : cases) {
        const std::string& path = c.path;
        std::string first = "NUL=" + std::string(c.used - 1 - 4, 'x');  // used = length + 1
        std::string before = "[rename]\r\n" + first + "\r\n";
        fake::AddFile(kWininit, before);
        ScheduleWininitDelete(path.c_str());
        std::string expected = c.written ? before + "NUL=" + path + "\r\n" : before;
        EXPECT_EQ(expected, fake::FileContents(kWininit)) << c.name;
    }
}

// On the NT family only a MoveFileExA that Windows does not implement
// falls back to WININIT.INI; any other failure leaves the file alone.
TEST_F(Wininit, NtFallsBackOnlyWhenTheListIsMissing) {
    const struct { const char* name; DWORD error; bool wininit; } cases[] = {
        {"scheduled", 0, false},
        {"not implemented", ERROR_CALL_NOT_IMPLEMENTED, true},
        {"refused", ERROR_ACCESS_DENIED, false},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetWindowsVersion(fake::kWinXP);
        fake::AddFile("C:\\A.DLL");
        if (c.error) fake::FailCall("MoveFileExA", c.error);
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);  // stale: only the call's own error counts
        ScheduleDeleteAtRestart("C:\\A.DLL", FamilyWin2000);
        EXPECT_EQ(c.wininit, fake::FileExists(kWininit)) << c.name;
        EXPECT_EQ(c.error == 0, !fake::PendingDeletes().empty()) << c.name;
        TearDown();
    }
}

// A line break in a path would write lines of its own: no such path names
// a file, and none is written, whether as the first line or a later one.
TEST_F(Wininit, PathWithALineBreakIsNotWritten) {
    const char* befores[] = {"", "[rename]\r\nNUL=C:\\OLD.TMP\r\n"};
    for (const char* before : befores) {
        fake::AddFile(kWininit, before);
        ScheduleWininitDelete("C:\\A.DLL\r\nC:\\WINDOWS\\SYSTEM\\KERNEL32.DLL=C:\\EVIL.DLL");
        EXPECT_EQ(before, fake::FileContents(kWininit));
    }
}

// A "NUL" key whose section cannot be read is left as it stands.
TEST_F(Wininit, SectionThatCannotBeReadIsNotRewritten) {
    const std::string before = "[rename]\r\nNUL=C:\\OLD.TMP\r\nC:\\N.DLL=C:\\O.DLL\r\n";
    fake::AddFile(kWininit, before);
    fake::AddFile("C:\\A.DLL");
    fake::FailCall("GetPrivateProfileSectionA", ERROR_NOT_ENOUGH_MEMORY);
    ScheduleWininitDelete("C:\\A.DLL");
    EXPECT_EQ(before, fake::FileContents(kWininit));
}

// A path that the first line takes by the key write has no line limit.
TEST_F(Wininit, FirstLineIsWrittenWhateverItsLength) {
    std::string deep = "C:";
    for (int i = 0; i < 14; ++i) deep += "\\AAAAAAA" + std::to_string(i % 10);
    fake::AddFile(deep + "\\X.DLL");
    ScheduleWininitDelete((deep + "\\X.DLL").c_str());
    EXPECT_EQ("[rename]\r\nNUL=" + deep + "\\X.DLL\r\n", fake::FileContents(kWininit));
}

}  // namespace

namespace {

// However many files a pattern matches, its folder is judged in full once
// (its drive looked at once), and each match's folder again by a handle
// when the match is deleted (no verdict outlives one file's change); a
// match reached through a link is logged with its reason and stays, in a
// preview as in the run.
TEST_F(InstalledFiles, APatternIsJudgedOnceEachMatchAgainAndARefusalIsLogged) {
    for (int count : {3, 60}) {
        SetUp();
        fake::SetWindowsVersion(fake::kWinXP);
        for (int i = 0; i < count; ++i) fake::AddFile("C:\\XLN\\f" + std::to_string(i) + ".hlp");
        Add("C:\\XLN\\*.hlp");
        EXPECT_EQ(0, RemoveInstalledFiles(data));
        EXPECT_FALSE(fake::FileExists("C:\\XLN\\f2.hlp"));
        EXPECT_EQ(count + 1, CountCalls("CreateFileA C:\\XLN")) << count;
        // The volume's serial is asked once, at the first match's hold: each
        // later match's folder shows itself that very object by its id, and
        // a file's own look asks for its attributes alone.
        EXPECT_EQ(5, CountCalls("GetFileInformationByHandle ")) << count;
        EXPECT_EQ(1, CountCalls("GetDriveTypeA C:\\")) << count;
        TearDown();
    }
    for (bool preview : {false, true}) {
        SetUp();
        PreviewRun = preview;
        fake::AddDirectory("C:\\LOGS");
        ASSERT_TRUE(OpenRunLog("C:\\LOGS\\run.log", true));
        fake::AddFile("C:\\WINDOWS\\system32\\drivers\\ndis.sys");
        fake::AddLink("C:\\XLN\\link", "C:\\WINDOWS\\system32\\drivers");
        Add("C:\\XLN\\link\\*.sys");
        Add("C:\\XLN\\link\\ndis.sys");
        EXPECT_EQ(0, RemoveInstalledFiles(data));
        CloseRunLog();
        PreviewRun = false;
        std::string log = fake::FileContents("C:\\LOGS\\run.log");
        for (const char* line : {"delete files matching C:\\XLN\\link\\*.sys: refused by a guardrail: reached through a link",
                                 "delete file C:\\XLN\\link\\ndis.sys: refused by a guardrail: reached through a link"})
            EXPECT_NE(std::string::npos, log.find(line)) << line << "\n" << log;
        EXPECT_TRUE(fake::FileExists("C:\\WINDOWS\\system32\\drivers\\ndis.sys"));
        EXPECT_TRUE(fake::PendingDeletes().empty());
        TearDown();
    }
}

}  // namespace

namespace {

// The product's bin folder swapped for a link into Windows' folder.
bool SwapBin(bool marked, bool as_wine = false) {
    return fake::SwapFolderForLink("C:\\XLN\\bin", "C:\\WINDOWS", marked, as_wine);
}

HANDLE other_program;  // a handle another program holds

// Each file is changed as the object that was judged: the product's bin
// folder swapped for a link into Windows' folder during the step (marked
// as Windows marks it, or unmarked as Wine's Unix links are), or a file
// that is itself a link, leaves Windows' files as they were, on each
// family and with or without the disposition call.
TEST_F(InstalledFiles, ChangesKeepToWhatWasJudged) {
    const char* const bin_a = "C:\\XLN\\bin\\a.zzv";
    const char* const moved_b = "C:\\XLN\\bin.moved\\b.zzv";
    const struct {
        const char* name;
        fake::WindowsVersion version;
        std::vector<const char*> entries;
        std::function<void()> arrange;
        std::vector<const char*> gone, kept;
        const char* call;  // a call the change makes
        const char* pending = nullptr;  // left for the next start of Windows
    } cases[] = {
        {"swapped after a named file, before a pattern", fake::kWin10,
         {"C:\\XLN\\bin\\first.dll", "C:\\XLN\\bin\\*.zzv"},
         [] { fake::BeforeCall("GetDriveTypeA", 2, [] { EXPECT_TRUE(SwapBin(false)); }); },
         {"C:\\XLN\\bin.moved\\first.dll"}, {"C:\\XLN\\bin.moved\\a.zzv", moved_b},
         "SetFileInformationByHandle C:\\XLN\\bin\\first.dll"},
        {"swapped between two files of one pattern, as Wine lets it", fake::kWin10, {"C:\\XLN\\bin\\*.zzv"},
         [] { fake::BeforeCall("FindNextFileA", 1, [] { EXPECT_TRUE(SwapBin(false, true)); }); },
         {"C:\\XLN\\bin.moved\\a.zzv"}, {moved_b}, "SetFileInformationByHandle C:\\XLN\\bin\\a.zzv"},
        {"swap refused while the search holds its folder", fake::kWin10, {"C:\\XLN\\bin\\*.zzv"},
         [] { fake::BeforeCall("FindNextFileA", 1, [] { EXPECT_FALSE(SwapBin(false)); }); },
         {bin_a, "C:\\XLN\\bin\\b.zzv"}, {}, nullptr},
        {"marked link between two files", fake::kWin10, {"C:\\XLN\\bin\\*.zzv"},
         [] { fake::BeforeCall("FindNextFileA", 1, [] { EXPECT_TRUE(SwapBin(true, true)); }); },
         {"C:\\XLN\\bin.moved\\a.zzv"}, {moved_b}, nullptr},
        {"swap refused while the folder is held", fake::kWin10, {"C:\\XLN\\bin\\*.zzv"},
         [] { fake::BeforeCall("CreateFileA", 1, [] { EXPECT_FALSE(SwapBin(false)); }, "a.zzv"); },
         {bin_a, "C:\\XLN\\bin\\b.zzv"}, {}, nullptr},
        {"a file that is itself a link", fake::kWin10, {"C:\\XLN\\bin\\*.zzv"},
         [] { fake::AddFileLink("C:\\XLN\\bin\\c.zzv", "C:\\WINDOWS\\c.zzv"); },
         {bin_a}, {"C:\\XLN\\bin\\c.zzv"}, nullptr},
        {"a link, without the call for the attributes alone", fake::kWin10, {"C:\\XLN\\bin\\*.zzv"},
         [] {
             stand_in::RemoveExport("ntdll.dll", "NtQueryInformationFile");
             fake::AddFileLink("C:\\XLN\\bin\\c.zzv", "C:\\WINDOWS\\c.zzv");
         },
         {bin_a}, {"C:\\XLN\\bin\\c.zzv"}, nullptr},
        {"NT 4, deleted on close", fake::kNT4, {"C:\\XLN\\bin\\*.zzv"},
         [] {
             stand_in::RemoveExport("kernel32.dll", "SetFileInformationByHandle");
             fake::BeforeCall("FindNextFileA", 1, [] { EXPECT_TRUE(SwapBin(false, true)); });
         },
         {"C:\\XLN\\bin.moved\\a.zzv"}, {moved_b}, "CreateFileA C:\\XLN\\bin\\a.zzv"},
        {"Windows 98, by the path", fake::kWin98, {"C:\\XLN\\bin\\*.zzv"}, [] {},
         {bin_a, "C:\\XLN\\bin\\b.zzv"}, {}, "DeleteFileA C:\\XLN\\bin\\a.zzv"},
        {"held open without delete sharing", fake::kWinXP, {"C:\\XLN\\bin\\*.zzv"},
         [] {
             stand_in::RemoveExport("kernel32.dll", "SetFileInformationByHandle");
             other_program = CreateFileA("C:\\XLN\\bin\\a.zzv", GENERIC_READ, FILE_SHARE_READ, nullptr,
                                         OPEN_EXISTING, 0, nullptr);
         },
         {"C:\\XLN\\bin\\b.zzv"}, {bin_a}, nullptr, bin_a},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetWindowsVersion(c.version);
        for (const char* file : {"C:\\XLN\\bin\\first.dll", bin_a, "C:\\XLN\\bin\\b.zzv",
                                 "C:\\WINDOWS\\b.zzv", "C:\\WINDOWS\\c.zzv"})
            fake::AddFile(file, "data");
        for (const char* entry : c.entries) Add(entry);
        other_program = INVALID_HANDLE_VALUE;
        c.arrange();
        EXPECT_EQ(0, RemoveInstalledFiles(data)) << c.name;
        if (other_program != INVALID_HANDLE_VALUE) CloseHandle(other_program);
        for (const char* file : c.gone) EXPECT_FALSE(fake::FileExists(file)) << c.name << ": " << file;
        for (const char* file : c.kept) EXPECT_TRUE(fake::FileExists(file)) << c.name << ": " << file;
        for (const char* file : {"C:\\WINDOWS\\b.zzv", "C:\\WINDOWS\\c.zzv"})
            EXPECT_EQ("data", fake::FileContents(file)) << c.name << ": " << file;
        if (c.call) EXPECT_EQ(1u, fake::CallsTo(c.call).size()) << c.name << ": " << c.call;
        std::vector<std::string> pending;
        if (c.pending) pending.push_back(c.pending);
        EXPECT_EQ(pending, fake::PendingDeletes()) << c.name;
        TearDown();
    }
}

}  // namespace

namespace {

// The calls one more match of a pattern costs, on each family, in a run and
// in a preview: what does not change during the run is asked once, what is
// the same for a folder's files once for the folder (where it is, whether
// it is this program's), and a file without a shared count is looked up
// once.
TEST_F(InstalledFiles, EachMatchCostsNoMoreCalls) {
    const struct {
        fake::WindowsVersion version;
        bool preview;
        bool shared_counts;  // SharedDLLs is there
        size_t per_file;
    } cases[] = {
        {fake::kWinXP, false, false, 12}, {fake::kWinXP, true, false, 8},
        {fake::kWin98, false, false, 5},  {fake::kWin98, true, false, 6},
        {fake::kWinXP, false, true, 15},  {fake::kWin98, false, true, 7},
    };
    for (auto& c : cases) {
        size_t calls[2];
        for (int files : {10, 20}) {
            SetUp();
            fake::SetWindowsVersion(c.version);
            if (c.shared_counts) fake::RegSeedKey("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");
            PreviewRun = c.preview;
            for (int i = 0; i < files; ++i) fake::AddFile("C:\\XLN\\f" + std::to_string(i) + ".hlp");
            Add("C:\\XLN\\*.hlp");
            size_t before = fake::CallLog().size();
            EXPECT_EQ(0, RemoveInstalledFiles(data));
            calls[files / 20] = fake::CallLog().size() - before;
            EXPECT_EQ(c.preview, fake::FileExists("C:\\XLN\\f9.hlp"));
            PreviewRun = false;
            TearDown();
        }
        EXPECT_EQ(c.per_file, (calls[1] - calls[0]) / 10) << c.version.major << " preview " << c.preview;
    }
}

}  // namespace

// Shared files: a count under SharedDLLs above 1 is lowered and the file
// stays; 1 or 0 takes the file and its value; no value deletes as before.
#include "removal/removal_steps.h"
#include "removal_fixture.h"
#include "system/run_log.h"

namespace {

const char kShared[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kFile[] = "C:\\WINDOWS\\system32\\xlnshr.dll";

std::string Count(DWORD count) { return std::string((const char*)&count, 4); }

struct SharedCase {
    const char* name;
    const char* value_name;  // how the setup spelt the path, or null
    DWORD type;
    std::string data;
    std::vector<const char*> entries;
    bool file_stays;
    std::string value_after;  // empty: the value is gone
};

class SharedFiles : public RemovalTest {
protected:
    void Run(const SharedCase& c) {
        if (!fake::FileExists(kFile)) fake::AddFile(kFile);
        fake::AddLink("C:\\Program Files\\XLN\\link", "C:\\WINDOWS\\system32");
        fake::RegSeedKey(kShared);
        if (c.value_name) fake::RegSeedBytes(kShared, c.value_name, c.type, c.data);
        UninstallData& data = ClearedRecord();
        for (const char* entry : c.entries) strcpy(data.installed_files[data.installed_file_count++], entry);
        EXPECT_EQ(0, RemoveInstalledFiles(data)) << c.name;
    }
};

TEST_F(SharedFiles, CountsDecideWhetherTheFileGoes) {
    const std::vector<const char*> one = {"%WIN_SYS_DIR%\\xlnshr.dll"};
    const SharedCase cases[] = {
        {"count 2 is lowered to 1", kFile, REG_DWORD, Count(2), one, true, Count(1)},
        {"count 1 takes file and value", kFile, REG_DWORD, Count(1), one, false, ""},
        {"count 0 takes file and value", kFile, REG_DWORD, Count(0), one, false, ""},
        {"no value: the file goes", nullptr, 0, "", one, false, ""},
        {"the setup's spelling in other case", "c:\\windows\\SYSTEM32\\XLNSHR.DLL", REG_DWORD, Count(3), one,
         true, Count(2)},
        {"an old setup's binary count", kFile, REG_BINARY, Count(2), one, true, Count(1)},
        {"a loose spelling finds the count", kFile, REG_DWORD, Count(2), {"C:/WINDOWS/system32/./xlnshr.dll"},
         true, Count(1)},
        {"named and matched, counted once", kFile, REG_DWORD, Count(3),
         {"%WIN_SYS_DIR%\\xlnshr.dll", "%WIN_SYS_DIR%\\xlnsh*.dll", "%WIN_SYS_DIR%\\XLNSHR.DLL"}, true, Count(2)},
        {"a text value is no count", kFile, REG_SZ, std::string("2\0", 2), one, false, std::string("2\0", 2)},
        {"refused through a link: the count stays whole", "C:\\Program Files\\XLN\\link\\xlnshr.dll",
         REG_DWORD, Count(2), {"C:\\Program Files\\XLN\\link\\xlnshr.dll"}, true, Count(2)},
    };
    for (auto& c : cases) {
        SetUp();
        Run(c);
        EXPECT_EQ(c.file_stays, fake::FileExists(kFile)) << c.name;
        const char* value = c.value_name ? c.value_name : kFile;
        EXPECT_EQ(c.value_after, fake::RegValueBytes(kShared, value)) << c.name;
        EXPECT_EQ(!c.value_after.empty(), fake::RegValueExists(kShared, value)) << c.name;
        TearDown();
    }
}

// A setup may have written the 8.3 form, or on 64-bit Windows the SysWOW64
// form of a file its 32-bit calls put in the system folder.
TEST_F(SharedFiles, CountsAreFoundUnderEverySpelling) {
    const struct {
        const char* file;  // where it lies
        const char* entry;
        const char* value_name;
        bool wow64;
    } cases[] = {
        {"C:\\Program Files\\XLN Wireless\\xlnshared.dll", "C:\\Program Files\\XLN Wireless\\xlnshared.dll",
         nullptr, false},
        {"C:\\WINDOWS\\SysWOW64\\xlnsharedlib.dll", "%WIN_SYS_DIR%\\xlnsharedlib.dll",
         "C:\\WINDOWS\\SysWOW64\\xlnsharedlib.dll", true},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetWow64(c.wow64);
        fake::AddFile(c.file);
        char short_name[MAX_PATH] = "";
        GetShortPathNameA(c.file, short_name, sizeof short_name);
        const char* value = c.value_name ? c.value_name : short_name;
        ASSERT_STRNE(c.entry, value) << "the test needs another spelling";
        Run({c.file, value, REG_DWORD, Count(2), {c.entry}, true, Count(1)});
        EXPECT_TRUE(fake::FileExists(c.file)) << c.file;
        EXPECT_EQ(Count(1), fake::RegValueBytes(kShared, value)) << c.file;
        TearDown();
    }
}

// The last program's file that waits for the restart loses its count when
// it is scheduled; Windows' own file keeps file and count.
TEST_F(SharedFiles, ScheduledFileLosesItsCountAndWindowsFileKeepsIt) {
    fake::AddFile("C:\\WINDOWS\\system32\\mfcx.dll");
    fake::SetFileCompany("C:\\WINDOWS\\system32\\mfcx.dll", "Microsoft Corporation");
    fake::RegSeedBytes(kShared, "C:\\WINDOWS\\system32\\mfcx.dll", REG_DWORD, Count(1));
    fake::AddFile("C:\\WINDOWS\\system32\\mfcy.dll");
    fake::SetFileCompany("C:\\WINDOWS\\system32\\mfcy.dll", "Microsoft Corporation");
    fake::RegSeedBytes(kShared, "C:\\WINDOWS\\system32\\mfcy.dll", REG_DWORD, Count(3));
    fake::AddFile(kFile);
    fake::SetFileLocked(kFile, true);
    Run({"locked", kFile, REG_DWORD, Count(1),
         {"%WIN_SYS_DIR%\\xlnshr.dll", "%WIN_SYS_DIR%\\mfcx.dll", "%WIN_SYS_DIR%\\mfcy.dll"}, true, ""});
    EXPECT_EQ(std::vector<std::string>{kFile}, fake::PendingDeletes());
    EXPECT_FALSE(fake::RegValueExists(kShared, kFile));
    EXPECT_TRUE(fake::FileExists("C:\\WINDOWS\\system32\\mfcx.dll"));
    EXPECT_EQ(Count(1), fake::RegValueBytes(kShared, "C:\\WINDOWS\\system32\\mfcx.dll"));
    EXPECT_EQ(Count(3), fake::RegValueBytes(kShared, "C:\\WINDOWS\\system32\\mfcy.dll"))
        << "a refused file's count is never lowered";
}

TEST_F(SharedFiles, PreviewSaysWhatTheCountWouldBecome) {
    ASSERT_TRUE(OpenRunLog("C:\\preview.log", true));
    PreviewRun = true;
    Run({"preview", kFile, REG_DWORD, Count(3), {"%WIN_SYS_DIR%\\xlnshr.dll"}, true, Count(3)});
    PreviewRun = false;
    CloseRunLog();
    EXPECT_EQ(Count(3), fake::RegValueBytes(kShared, kFile));
    const std::string log = fake::FileContents("C:\\preview.log");
    EXPECT_NE(std::string::npos, log.find("preview: shared file C:\\WINDOWS\\system32\\xlnshr.dll: shared by 3 "
                                          "programs: the count would become 2, the file stays"))
        << log;
}

}  // namespace

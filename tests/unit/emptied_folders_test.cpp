// The folders the removal empties: removed with their emptied parents, but
// never one that holds anything, a protected one or one of Windows'; on
// the NT family one that holds only files waiting for the restart goes at
// the restart, after them.
#include "removal/emptied_folders.h"
#include "removal/removal_steps.h"
#include "removal_fixture.h"
#include "system/windows_family.h"

namespace {

const char kProduct[] = "C:\\Program Files\\XLN";

class EmptiedFolders : public RemovalTest {
protected:
    void Remove(const std::vector<std::string>& entries) {
        UninstallData& data = ClearedRecord();
        for (auto& entry : entries)
            lstrcpynA(data.installed_files[data.installed_file_count++], entry.c_str(),
                      TAVK_MAX_INSTALLED_FILE_NAME_LEN + 1);
        fake::SetModulePath("C:\\Elsewhere\\uninst.exe");
        EXPECT_EQ(0, RemoveInstalledFiles(data));
        RemoveEmptiedFolders(GetWindowsFamily());
    }
};

TEST_F(EmptiedFolders, EmptiedFolderAndParentsGoWhileEmptyAndUnprotected) {
    const struct {
        const char* name;
        fake::WindowsVersion version;
        const char* extra;   // laid beside the product's files, or null
        const char* locked;  // a product file whose deletion waits, or null
        bool monitor_gone, product_gone;
        std::vector<std::string> pending;  // after the files, in order
    } cases[] = {
        {"emptied", fake::kWinXP, nullptr, nullptr, true, true, {}},
        {"user file in the parent", fake::kWinXP, "C:\\Program Files\\XLN\\notes.txt", nullptr, true,
         false, {}},
        {"user file in the child", fake::kWinXP, "C:\\Program Files\\XLN\\Monitor\\my.log", nullptr,
         false, false, {}},
        {"scheduled file, NT", fake::kWinXP, nullptr, "C:\\Program Files\\XLN\\Monitor\\xlnmon.exe",
         false, true,
         {"C:\\Program Files\\XLN\\Monitor\\xlnmon.exe", "C:\\Program Files\\XLN\\Monitor",
          "C:\\Program Files\\XLN"}},
        {"scheduled file, 9x", fake::kWin98, nullptr, "C:\\Program Files\\XLN\\Monitor\\xlnmon.exe",
         false, false, {}},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetWindowsVersion(c.version);
        fake::AddFile("C:\\Program Files\\XLN\\xlnutil.exe");
        fake::AddFile("C:\\Program Files\\XLN\\Monitor\\xlnmon.exe");
        fake::AddFile("C:\\Program Files\\Other\\keep.exe");
        if (c.extra) fake::AddFile(c.extra);
        if (c.locked) fake::SetFileLocked(c.locked, true);
        Remove({"C:\\Program Files\\XLN\\*.exe", "C:\\Program Files\\XLN\\Monitor\\xlnmon.exe"});
        EXPECT_EQ(c.monitor_gone, !fake::DirectoryExists("C:\\Program Files\\XLN\\Monitor")) << c.name;
        EXPECT_EQ(c.product_gone && !c.locked, !fake::DirectoryExists(kProduct)) << c.name;
        EXPECT_EQ(c.pending, fake::PendingDeletes()) << c.name;
        EXPECT_TRUE(fake::DirectoryExists("C:\\Program Files")) << c.name << ": protected";
        if (c.extra) EXPECT_TRUE(fake::FileExists(c.extra)) << c.name;
        // The protected places: gathered once for the files, once for all the folders.
        EXPECT_EQ(2u, fake::CallsTo("RegOpenKeyA HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList").size())
            << c.name;
        TearDown();
    }
}

// Windows' folders may be emptied of a product's file; they stay.
TEST_F(EmptiedFolders, WindowsFoldersAndRootsStay) {
    fake::AddFile("C:\\WINDOWS\\Help\\xln.hlp");
    fake::AddFile("C:\\WINDOWS\\SYSTEM32\\XLN\\xln.dll");
    fake::AddFile("C:\\xln.txt");
    Remove({"%WIN_DIR%\\Help\\xln.hlp", "%WIN_SYS_DIR%\\XLN\\xln.dll", "C:\\xln.txt"});
    EXPECT_FALSE(fake::FileExists("C:\\WINDOWS\\Help\\xln.hlp"));
    EXPECT_TRUE(fake::DirectoryExists("C:\\WINDOWS\\Help"));
    EXPECT_TRUE(fake::DirectoryExists("C:\\WINDOWS\\SYSTEM32\\XLN"));
    EXPECT_TRUE(fake::DirectoryExists("C:\\"));
}

}  // namespace

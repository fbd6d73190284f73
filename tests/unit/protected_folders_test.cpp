// The guardrails on files: which folders and search patterns no
// description can have deleted, however their paths are spelled.
#include "removal/protected_folders.h"

#include "removal/full_paths.h"
#include "removal_test_support.h"

namespace {

const char kCurrentVersion[] = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

void FolderWorld() {
    fake::Reset();
    fake::RegSeedString(kCurrentVersion, "ProgramFilesDir", "C:\\Program Files");
    fake::AddDirectory("C:\\Program Files\\XLN");
    fake::AddDirectory("C:\\WINDOWS\\system32\\drivers");
}

TEST(ProtectedFolders, SweepingWildcardsRefusedInSystemFoldersAndRoots) {
    const struct {
        const char* pattern;
        bool is_protected;
    } cases[] = {
        {"C:\\WINDOWS\\SYSTEM32\\*.dll", true},
        {"C:\\WINDOWS\\system32\\drivers\\*.sys", true},
        {"c:\\windows\\*.*", true},
        {"C:\\WINDOWS\\SYSTEM32\\?.sys", true},
        {"C:\\WINDOWS\\SYSTEM32\\*", true},
        {"C:\\WINDOWS\\SYSTEM32\\<.dll", true},
        {"C:\\WINDOWS\\..\\WINDOWS\\.\\SYSTEM32\\\\*.dll", true},
        {"C:/WINDOWS/system32/*.dll", true},
        {"\\\\?\\C:\\WINDOWS\\*.*", true},
        {"C:\\WINDOWS.\\*.*", true},
        {"C:\\*", true},
        {"C:\\XLN\\..\\*.*", true},
        {"C:\\Program Files\\*.*", true},
        {"C:\\PROGRA~1\\*.*", true},
        {"\\\\server\\share\\*.*", true},
        {"\\*.*", true},
        {"WINDOWS\\*.dll", true},
        {"C:\\WINDOWS\\SYSTEM32\\xlnw11*.dll", false},
        {"C:\\WINDOWS\\inf\\oem*.inf", false},
        {"C:\\WINDOWS\\SYSTEM32\\xlnw11.dll", false},
        {"C:\\Program Files\\XLN\\*.hlp", false},
        {"C:\\Program Files\\XLN\\*.*", false},
        {"\\\\server\\share\\XLN\\*.*", true},
    };
    FolderWorld();
    for (auto& c : cases) EXPECT_EQ(c.is_protected, IsProtectedPattern(c.pattern)) << c.pattern;
}

TEST(ProtectedFolders, SystemFoldersRootsAndTheirParentsAreNeverRemoved) {
    const struct {
        const char* folder;
        bool is_protected;
    } cases[] = {
        {"C:\\", true},
        {"C:", true},
        {"C:\\WINDOWS", true},
        {"c:\\windows\\system32\\", true},
        {"C:\\Program Files", true},
        {"C:\\PROGRA~1", true},
        {"Start Menu", true},
        {"C:\\Program Files\\XLN", false},
        {"C:\\WINDOWS\\Start Menu\\Programs\\XLN Wireless", false},
    };
    FolderWorld();
    fake::SetSharedWindowsDirectory("C:\\OS\\WINNT");
    for (auto& c : cases) EXPECT_EQ(c.is_protected, IsProtectedFolder(c.folder)) << c.folder;
    EXPECT_TRUE(IsProtectedFolder("C:\\OS")) << "holds the shared Windows folder";
}

TEST(FullPathForm, RoomIsNeverExceeded) {
    char out[8];
    memset(out, '#', sizeof out);
    EXPECT_TRUE(FullPathForm("C:\\ABCD", out, sizeof out));
    EXPECT_EQ(std::string("C:\\ABCD"), out);
    memset(out, '#', sizeof out);
    EXPECT_FALSE(FullPathForm("C:\\ABCDE", out, sizeof out));
    EXPECT_EQ('#', out[7]) << "written past the room";
}

}  // namespace

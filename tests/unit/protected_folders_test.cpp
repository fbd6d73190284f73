// The guardrails on files: which folders and search patterns no
// description can have deleted, however their paths are spelled.
#include "removal/guardrails/protected_folders.h"

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

const char kProfiles[] = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// A machine with other ways into Windows' folders: a share of drive C:, a
// subst drive on the Windows folder, a network drive, a link in the
// product's folder into the drivers, Windows' folders below Program Files,
// a user's profile and desktop.
void AttackWorld(const fake::WindowsVersion& version) {
    FolderWorld();
    fake::SetWindowsVersion(version);
    fake::RegSeedString(kCurrentVersion, "CommonFilesDir", "C:\\Program Files\\Common Files");
    fake::RegSeedString(kProfiles, "ProfilesDirectory", "%SystemDrive%\\Documents and Settings");
    fake::RegSeedString(std::string(kProfiles) + "\\S-1-5-21-1", "ProfileImagePath",
                        "%SystemDrive%\\Documents and Settings\\Ann");
    stand_in::SetSpecialFolder(0x0010, "C:\\Documents and Settings\\Ann\\Desktop");
    stand_in::SetSpecialFolder(0x0023, "C:\\Documents and Settings\\All Users\\Application Data");
    stand_in::SetSpecialFolder(0x0024, "C:\\WINDOWS");
    fake::RegSeedString(kProfiles, "ProgramData", "%SystemDrive%\\ProgramData");
    fake::RegSeedString(std::string(kProfiles) + "\\S-1-5-21-2", "ProfileImagePath", "D:\\Profiles\\Bob");
    for (const char* folder : {"C:\\Program Files\\Internet Explorer", "C:\\Program Files\\Common Files\\System",
                               "C:\\Program Files\\Common Files\\XLN", "C:\\Documents and Settings\\Ann\\Desktop",
                               "C:\\Documents and Settings\\Ann\\Application Data\\XLN",
                               "C:\\Documents and Settings\\Ann\\My Documents",
                               "C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\Crypto",
                               "C:\\ProgramData\\Microsoft", "C:\\ProgramData\\XLN", "D:\\Profiles\\Bob\\Documents"})
        fake::AddDirectory(folder);
    fake::AddLink("C:\\Program Files\\XLN\\link", "C:\\WINDOWS\\system32\\drivers");
    fake::AddShare("\\\\localhost\\c$", "C:");
    fake::SetSubstDrive('S', "C:\\WINDOWS");
    fake::SetDriveSerial('S', 0x0BAD5E41);  // another letter, another serial
    fake::SetSubstDrive('T', "C:\\Program Files");
    fake::SetDriveSerial('T', 0x0BAD5E42);
    fake::SetDriveType('N', DRIVE_REMOTE);
}

struct AttackCase {
    const char* path;
    bool refused;
};

TEST(ProtectedFolders, OtherSpellingsOfWindowsFoldersAreKnownByIdentity) {
    const AttackCase patterns[] = {
        {"C:\\WINDOWS\\...\\..\\system32\\*.exe", true},
        {"C:\\WINDOWS\\system32\\*3*.dll", true},
        {"C:\\WINDOWS\\system32\\ab*.dll", true},
        {"C:\\WINDOWS\\Help\\*.*", true},
        {"C:\\WINDOWS\\system32\\xln*.dll", false},
        {"S:\\system32\\drivers\\*.sys", true},
        {"S:\\*.*", true},
        {"\\\\localhost\\c$\\windows\\*.*", true},
        {"\\\\?\\UNC\\localhost\\c$\\Program Files\\XLN\\*.*", true},
        {"\\\\.\\C:\\Program Files\\XLN\\*.*", true},
        {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\*.*", true},
        {"N:\\XLN\\*.*", true},
        {"C:\\Program Files\\XLN\\link\\xln*.sys", true},
        {"C:\\PROGRA~1\\INTERN~1\\*.dll", true},
        {"C:\\Program Files\\Common Files\\System\\ado\\*.*", true},
        {"C:\\Program Files\\Common Files\\*.*", true},
        {"C:\\Program Files\\Common Files\\XLN\\*.*", false},
        {"C:\\Documents and Settings\\*.*", true},
        {"C:\\Documents and Settings\\Ann\\*.*", true},
        {"C:\\Documents and Settings\\Ann\\Desktop\\*.lnk", true},
        {"C:\\Documents and Settings\\Ann\\Desktop\\XLN*.lnk", false},
        {"C:\\Documents and Settings\\Ann\\Application Data\\XLN\\*.*", true},
        {"C:\\Documents and Settings\\Ann\\Application Data\\XLN\\xln*.*", false},
        {"C:\\Documents and Settings\\Ann\\My Documents\\*.*", true},
        {"C:\\DOCUME~1\\Ann\\MYDOCU~1\\*.doc", true},
        {"C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\Crypto\\*.*", true},
        {"C:\\ProgramData\\Microsoft\\*.*", true},
        {"C:\\ProgramData\\XLN\\xln*.ini", false},
        {"D:\\Profiles\\Bob\\Documents\\*.*", true},
        {"D:\\Profiles\\*.*", false},
        {"T:\\Internet Explorer\\*.dll", true},
        {"T:\\XLN\\*.*", false},
        {"C:\\Program Files\\XLN\\xln*.dll:x", true},
        {"C:\\WINDOWS\\system32\\kernel32.dll::$DATA", true},
        {"C:\\Program Files\\XLN:x\\xln.dll", true},
    };
    AttackWorld(fake::kWinXP);
    for (auto& c : patterns) EXPECT_EQ(c.refused, IsProtectedPattern(c.path)) << c.path;
    EXPECT_EQ(0, fake::OpenHandleCount()) << "a folder's handle left open";
    EXPECT_STREQ("a sweeping pattern below a user's profile",
                 PatternRefusal("C:\\Documents and Settings\\Ann\\My Documents\\*.*"));
    for (const char* shared : {"C:\\ProgramData\\Microsoft\\*.*",
                               "C:\\Documents and Settings\\All Users\\Application Data\\Microsoft\\*.*"})
        EXPECT_STREQ("a sweeping pattern below the folders all users share", PatternRefusal(shared)) << shared;
    EXPECT_EQ(nullptr, EmptiedFolderRefusal("C:\\Documents and Settings\\Ann\\Application Data\\XLN"))
        << "the product's emptied folder in a profile goes";
}

TEST(ProtectedFolders, NamedFilesOnlyOnLocalDrivesAndNeverThroughLinks) {
    const AttackCase files[] = {
        {"C:\\Program Files\\XLN\\xln.dll", false},
        {"C:\\WINDOWS\\system32\\xlnw11.dll", false},
        {"S:\\system32\\xlnw11.dll", false},
        {"C:\\Program Files\\XLN\\link\\ndis.sys", true},
        {"C:\\Program Files\\XLN\\link\\sub\\x.sys", true},
        {"\\\\localhost\\c$\\WINDOWS\\explorer.exe", true},
        {"\\\\?\\C:\\WINDOWS\\explorer.exe", true},
        {"N:\\XLN\\xln.dll", true},
        {"XLN\\xln.dll", true},
        {"C:xln.dll", true},
        {"C:\\WINDOWS\\system32\\kernel32.dll::$DATA", true},
        {"C:\\Program Files\\XLN\\xln.dll:stream", true},
        {"C:\\Program Files\\XLN:stream\\xln.dll", true},
        {"C:\\Documents and Settings\\Ann\\My Documents\\xln.txt", false},
    };
    AttackWorld(fake::kWinXP);
    for (auto& c : files) EXPECT_EQ(c.refused, FileChangeRefusal(c.path) != nullptr) << c.path;
    const AttackCase folders[] = {
        {"C:\\Documents and Settings", true},
        {"C:\\Documents and Settings\\Ann\\Desktop", true},
        {"S:\\system32", true},
        {"C:\\Program Files\\XLN\\link", true},
        {"C:\\Program Files\\Internet Explorer", true},
        {"C:\\Program Files\\Common Files\\XLN", false},
        {"C:\\Program Files\\XLN", false},
        {"C:\\Program Files\\XLN:stream", true},
        {"C:\\Program Files\\XLN::$INDEX_ALLOCATION", true},
        {"T:\\Internet Explorer", true},
    };
    for (auto& c : folders) EXPECT_EQ(c.refused, IsProtectedFolder(c.path)) << c.path;
}

// Windows 9x opens no folder: its spellings, full and 8.3, stand in.
TEST(ProtectedFolders, WithoutFolderHandlesTheSystemsSpellingsAreCompared) {
    const AttackCase patterns[] = {
        {"C:\\PROGRA~1\\*.*", true},
        {"C:\\PROGRA~1\\INTERN~1\\*.dll", true},
        {"C:\\WINDOWS\\...\\..\\SYSTEM32\\*.exe", true},
        {"C:\\PROGRA~1\\XLN\\*.*", false},
    };
    AttackWorld(fake::kWin98);
    for (auto& c : patterns) EXPECT_EQ(c.refused, IsProtectedPattern(c.path)) << c.path;
    EXPECT_TRUE(fake::CallsTo("GetFileInformationByHandle").empty());
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

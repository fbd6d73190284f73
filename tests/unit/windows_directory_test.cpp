// The Windows directory shared by all users, by Windows family.
#include "system/windows_directory.h"

#include "removal_test_support.h"

namespace {

struct DirectoryCase {
    const char* name;
    fake::WindowsVersion version;
    void (*arrange)();
    const char* expected;  // null: not found
};

TEST(GetSystemWindowsDir, EachFamilyAsksItsOwnWay) {
    const DirectoryCase cases[] = {
        {"95: the Windows directory", fake::kWin95, [] {}, "C:\\WIN95"},
        {"Me: the Windows directory", fake::kWinMe, [] {}, "C:\\WIN95"},
        {"NT 4: parent of the system directory", fake::kNT4, [] {}, "D:\\WINNT40"},
        {"NT 4: double-byte system directory", fake::kNT4,
         [] {
             fake::SetAnsiCodePage(932);
             // The last 0x5C is the trail byte of a double-byte character.
             fake::SetSystemDirectory("D:\\WIN\\\x95\\sys");
         },
         "D:\\WIN"},
        {"NT 4: system directory without backslash", fake::kNT4,
         [] { fake::SetSystemDirectory("system32"); }, nullptr},
        {"XP: the shared directory, not the user's", fake::kWinXP, [] {}, "C:\\SHARED"},
        {"XP without the shared-directory call", fake::kWinXP,
         [] { stand_in::RemoveExport("kernel32.dll", "GetSystemWindowsDirectoryA"); }, nullptr},
        {"version unknown: the Windows directory", fake::kWinXP,
         [] { fake::FailCall("GetVersionExA", ERROR_INVALID_PARAMETER); }, "C:\\WIN95"},
        {"98: directory does not fit", fake::kWin98,
         [] { fake::SetWindowsDirectory("C:\\" + std::string(40, 'w')); }, nullptr},
        {"XP: directory does not fit", fake::kWinXP,
         [] { fake::SetSharedWindowsDirectory("C:\\" + std::string(40, 'w')); }, nullptr},
        {"98: directory call fails", fake::kWin98,
         [] { fake::FailCall("GetWindowsDirectoryA", ERROR_ACCESS_DENIED); }, nullptr},
    };
    for (const DirectoryCase& c : cases) {
        FreshWorld();
        fake::SetWindowsVersion(c.version);
        fake::SetWindowsDirectory("C:\\WIN95");
        fake::SetSystemDirectory("D:\\WINNT40\\system32");
        fake::SetSharedWindowsDirectory("C:\\SHARED");
        c.arrange();
        char buffer[33];
        memset(buffer, 'x', sizeof buffer);
        UINT length = GetSystemWindowsDir(buffer, sizeof buffer);
        if (!c.expected) {
            EXPECT_EQ(0u, length) << c.name;
        } else {
            EXPECT_STREQ(c.expected, buffer) << c.name;
            EXPECT_EQ(strlen(c.expected), length) << c.name;
        }
        ExpectNothingOpen(c.name);
    }
}

}  // namespace

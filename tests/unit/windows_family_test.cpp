// The family code for each Windows version, by the fixed numbering.
#include <gtest/gtest.h>

#include "platform/host/fake_world.h"
#include "system/windows_family.h"

namespace {

struct FamilyCase {
    const char* name;
    fake::WindowsVersion version;
    DWORD family;
};

TEST(WindowsFamily, EachVersionGivesItsCode) {
    const FamilyCase cases[] = {
        {"95", fake::kWin95, FamilyWin95},
        {"98", fake::kWin98, FamilyWin98},
        {"98 SE", {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222}, FamilyWin98},
        {"Me", fake::kWinMe, FamilyWinMe},
        {"9x minor 3, major ignored", {VER_PLATFORM_WIN32_WINDOWS, 7, 3, 0}, FamilyWin98},
        {"NT 3.51", fake::kNT351, FamilyUnknown},
        {"NT 4", fake::kNT4, FamilyNT4},
        {"2000", fake::kWin2000, FamilyWin2000},
        {"XP", fake::kWinXP, FamilyWin2000},
        {"Server 2003", {VER_PLATFORM_WIN32_NT, 5, 2, 3790}, FamilyWin2000},
        {"10", fake::kWin10, FamilyWin2000},
        {"Win32s", {VER_PLATFORM_WIN32s, 3, 10, 0}, FamilyUnknown},
    };
    for (const FamilyCase& c : cases) {
        fake::Reset();
        fake::SetWindowsVersion(c.version);
        EXPECT_EQ(c.family, GetWindowsFamily()) << c.name;
    }
}

TEST(WindowsFamily, UnknownWhenTheVersionCannotBeRead) {
    fake::Reset();
    fake::FailCall("GetVersionExA", ERROR_INVALID_PARAMETER);
    EXPECT_EQ((DWORD)FamilyUnknown, GetWindowsFamily());
}

// NT 3.51 has no family of its own but is still the NT platform.
TEST(WindowsFamily, WindowsNtFromThePlatformId) {
    const struct {
        fake::WindowsVersion version;
        bool nt;
    } cases[] = {{fake::kWin95, false}, {fake::kWinMe, false}, {fake::kNT351, true},
                 {fake::kNT4, true},    {fake::kWin10, true}};
    for (auto& c : cases) {
        fake::Reset();
        fake::SetWindowsVersion(c.version);
        EXPECT_EQ(c.nt, IsWindowsNT()) << c.version.major << "." << c.version.minor;
    }
    fake::Reset();
    fake::FailCall("GetVersionExA", ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(IsWindowsNT());
}

}  // namespace

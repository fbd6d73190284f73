// The driver's refusal of a user without administrator rights on the NT
// family: exit code 4, the warning box except in Silent, 6 without its texts.
#include <gtest/gtest.h>

#include "app/run_uninstall.h"
#include "app/win_main.h"
#include "app/progress_dialog.h"
#include "app/progress_window.h"
#include "system/run_state.h"
#include "platform/host/fake_world.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const char kWarning[] =
    "You must have administrator privileges to remove the XLN 802.11g Network Adapter.";

struct RefusalCase {
    const char* name;
    fake::WindowsVersion version;
    int32_t mode;
    bool refused;   // exit code 4
    bool box;       // the warning box shown
};

TEST(RunUninstall, NonAdministratorOnEachFamilyAndMode) {
    const RefusalCase cases[] = {
        {"XP quiet", fake::kWinXP, Quiet, true, true},
        {"XP verbose", fake::kWinXP, Verbose, true, true},
        {"XP silent", fake::kWinXP, Silent, true, false},
        {"NT4 quiet", fake::kNT4, Quiet, true, true},
        {"NT4 silent", fake::kNT4, Silent, true, false},
        {"10 quiet", fake::kWin10, Quiet, true, true},
        {"95 quiet", fake::kWin95, Quiet, false, false},
        {"98 quiet", fake::kWin98, Quiet, false, false},
        {"Me verbose", fake::kWinMe, Verbose, false, false},
        {"NT 3.51 quiet (unknown family)", fake::kNT351, Quiet, false, false},
    };
    for (const RefusalCase& c : cases) {
        fake::Reset();
        RestartNeeded = false;  // an earlier test's run may have left it set
        fake::SetWindowsVersion(c.version);
        stand_in::SetUserIsAdministrator(false);
        RunMode = c.mode;
        int result = RunUninstall(nullptr);
        if (c.refused) EXPECT_EQ(4, result) << c.name;
        else EXPECT_NE(4, result) << c.name;
        EXPECT_EQ(c.refused, fake::CallsTo("RegOpenKeyA").empty()) << c.name;
        ASSERT_EQ(c.box ? 1u : 0u, stand_in::MessageBoxes().size()) << c.name;
        if (!c.box) continue;
        const stand_in::MessageBoxShown& box = stand_in::MessageBoxes()[0];
        EXPECT_EQ(kWarning, box.text) << c.name;
        EXPECT_EQ("Uninstall Error", box.caption) << c.name;
        EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), box.style) << c.name;
    }
}

TEST(RunUninstall, AdministratorGoesOn) {
    for (const fake::WindowsVersion& version : {fake::kNT4, fake::kWinXP}) {
        fake::Reset();
        RestartNeeded = false;  // an earlier test's run may have left it set
        fake::SetWindowsVersion(version);
        RunMode = Quiet;
        EXPECT_EQ(1, RunUninstall(nullptr)) << version.major;  // no description: loader's code
        EXPECT_TRUE(stand_in::MessageBoxes().empty());
        EXPECT_FALSE(fake::CallsTo("RegOpenKeyA").empty());
    }
}

TEST(RunUninstall, WarningTexts) {
    // Block 1 (ids 0-15, so 4 and 13) missing in every language.
    fake::Reset();
    stand_in::SetUserIsAdministrator(false);
    fake::FailCall("FindResourceExA", 1815, 0, "6\\1");
    RunMode = Quiet;
    EXPECT_EQ(6, RunUninstall(nullptr));
    EXPECT_TRUE(stand_in::MessageBoxes().empty());
    // An override replaces the text of the box.
    const std::string overrides = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\LocalizedStrings\\UNINST\\9\\1";
    for (const char* only : {"4", "13"}) {  // the text without the caption, and back
        fake::Reset();
        stand_in::SetUserIsAdministrator(false);
        fake::FailCall("FindResourceExA", 1815, 0, "6\\1");
        fake::RegSeedWideString(overrides, only, u"Admins only");
        EXPECT_EQ(6, RunUninstall(nullptr)) << "only " << only;
        EXPECT_TRUE(stand_in::MessageBoxes().empty()) << "only " << only;
    }
    fake::Reset();
    stand_in::SetUserIsAdministrator(false);
    RunMode = Verbose;
    fake::RegSeedWideString(overrides, "4", u"Admins only");
    EXPECT_EQ(4, RunUninstall(nullptr));
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_EQ("Admins only", stand_in::MessageBoxes()[0].text);
    // A Hebrew text reads right to left.
    fake::Reset();
    stand_in::SetUserIsAdministrator(false);
    fake::SetUserLanguage(0x040D);
    EXPECT_EQ(4, RunUninstall(nullptr));
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING | MB_RTLREADING | MB_RIGHT), stand_in::MessageBoxes()[0].style);
}

}  // namespace

namespace {

const std::string kDesc = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo";
const char kLibrary[] = "C:\\Program Files\\XLN\\xln.dll";

// A registry description that names one installed file.
void SeedDescription() {
    fake::RegSeedString(kDesc + "\\InstalledFiles", "Files", kLibrary);
    fake::RegSeedString(kDesc, "FullProductName", "XLN");
    fake::AddFile(kLibrary);
}

TEST(RunUninstall, ALoadedDescriptionIsRemoved) {
    const struct {
        const char* name;
        int32_t mode;
        int answer;  // to the confirmation, with a dialog
        int result;
        bool removed;
    } cases[] = {
        {"quiet", Quiet, IDOK, 0, true},
        {"verbose", Verbose, IDOK, 0, true},
        {"verbose, not confirmed", Verbose, IDCANCEL, 5, false},
    };
    for (auto& c : cases) {
        fake::Reset();
        SeedDescription();
        RunMode = c.mode;
        HWND dialog = c.mode == Verbose ? CreateProgressDialog(nullptr) : nullptr;
        stand_in::AnswerMessageBoxes({c.answer});
        EXPECT_EQ(c.result, RunUninstall(dialog)) << c.name;
        EXPECT_EQ(!c.removed, fake::FileExists(kLibrary)) << c.name;
        EXPECT_EQ(!c.removed, fake::RegKeyExists(kDesc)) << c.name;
        if (dialog) CloseProgressWindow(dialog);
    }
}

// The loader's result stands and nothing is asked or removed.
TEST(RunUninstall, AFailedLoadRunsNoRemoval) {
    const struct {
        const char* name;
        bool seeded;
        const char* fail;  // a call made to fail on the description key
    } cases[] = {
        {"no description", false, nullptr},
        {"description cannot be opened", true, "RegOpenKeyA"},
        {"description cannot be closed", true, "RegCloseKey"},
    };
    for (auto& c : cases) {
        fake::Reset();
        if (c.seeded) SeedDescription();
        if (c.fail) fake::FailCall(c.fail, ERROR_ACCESS_DENIED, 1, "UninstallInfo");
        RunMode = Verbose;
        HWND dialog = CreateProgressDialog(nullptr);
        EXPECT_EQ(1, RunUninstall(dialog)) << c.name;
        EXPECT_TRUE(fake::CallsTo("RegOpenKeyA HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall")
                        .empty())
            << c.name << ": the hand-over was tried";
        EXPECT_EQ(c.seeded, fake::FileExists(kLibrary)) << c.name;
        EXPECT_TRUE(fake::CallsTo("MessageBoxA Confirm Removal").empty()) << c.name;
        CloseProgressWindow(dialog);
    }
}

}  // namespace

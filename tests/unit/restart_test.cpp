// The restart offer: only an explicit OK restarts; on the NT family only
// once the shutdown privilege is enabled; the token is closed on every path.
#include <gtest/gtest.h>

#include <functional>

#include "platform/host/fake_world.h"
#include "system/restart.h"

namespace {

const char kText[] = "Uninstall needs to restart your system to complete";
const char kCaption[] = "Restart Windows";

struct RestartCase {
    const char* name;
    fake::WindowsVersion version;
    std::function<void()> arrange;
    bool adjusts;   // AdjustTokenPrivileges is called
    bool restarts;  // ExitWindowsEx is called
};

void Answer(int answer) { fake::AnswerMessageBoxes({answer}); }
void WithoutShutdownPrivilege() { fake::SetUserPrivileges({"SeChangeNotifyPrivilege"}); }

TEST(OfferRestart, RestartsOnlyWhenAllowedAndAble) {
    auto ok = [] { Answer(IDOK); };
    const RestartCase cases[] = {
        {"Cancel on XP", fake::kWinXP, [] { Answer(IDCANCEL); }, false, false},
        {"Cancel on 98", fake::kWin98, [] { Answer(IDCANCEL); }, false, false},
        {"box fails on XP", fake::kWinXP, [] { fake::FailCall("MessageBoxA", 8); }, false, false},
        {"box fails on 98", fake::kWin98, [] { fake::FailCall("MessageBoxA", 8); }, false, false},
        {"OK on 95", fake::kWin95, ok, false, true},
        {"OK on 98", fake::kWin98, ok, false, true},
        {"OK on Me", fake::kWinMe, ok, false, true},
        {"OK on NT 4", fake::kNT4, ok, true, true},
        {"OK on 2000", fake::kWin2000, ok, true, true},
        {"OK on XP", fake::kWinXP, ok, true, true},
        {"OK on 10", fake::kWin10, ok, true, true},
        {"privilege not held on XP", fake::kWinXP, WithoutShutdownPrivilege, true, false},
        {"privilege not held on NT 4", fake::kNT4, WithoutShutdownPrivilege, true, false},
        {"lookup fails", fake::kWinXP,
         [] { fake::FailCall("LookupPrivilegeValueA", ERROR_NO_SUCH_PRIVILEGE); }, false, false},
        {"token cannot be opened", fake::kWinXP,
         [] { fake::FailCall("OpenProcessToken", ERROR_ACCESS_DENIED); }, false, false},
        {"adjustment fails", fake::kWin2000,
         [] { fake::FailCall("AdjustTokenPrivileges", ERROR_ACCESS_DENIED); }, true, false},
    };
    for (const RestartCase& c : cases) {
        fake::Reset();
        fake::SetWindowsVersion(c.version);
        c.arrange();
        OfferRestart();
        EXPECT_EQ(1u, fake::CallsTo("MessageBoxA").size()) << c.name;
        EXPECT_EQ(c.adjusts ? 1u : 0u, fake::CallsTo("AdjustTokenPrivileges").size()) << c.name;
        EXPECT_EQ(0, fake::OpenTokenCount()) << c.name << ": token left open";
        const auto& requests = fake::ShutdownRequests();
        ASSERT_EQ(c.restarts ? 1u : 0u, requests.size()) << c.name;
        if (!c.restarts) continue;
        EXPECT_EQ((UINT)(EWX_REBOOT | EWX_FORCE), requests[0].flags) << c.name;
        EXPECT_EQ(0u, requests[0].reason) << c.name;
        EXPECT_TRUE(requests[0].accepted) << c.name << ": refused for want of the privilege";
    }
}

// Fixed English texts, whatever the user's language; no icon.
TEST(OfferRestart, AsksInEnglishWithOkAndCancel) {
    fake::Reset();
    fake::SetUserLanguage(0x0407);
    fake::AnswerMessageBoxes({IDCANCEL});
    OfferRestart();
    ASSERT_EQ(1u, fake::MessageBoxes().size());
    const fake::MessageBoxShown& box = fake::MessageBoxes()[0];
    EXPECT_EQ(kText, box.text);
    EXPECT_EQ(kCaption, box.caption);
    EXPECT_EQ((UINT)MB_OKCANCEL, box.style);
    EXPECT_EQ(nullptr, box.owner);
}

}  // namespace

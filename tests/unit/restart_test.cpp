// The restart offer: only an explicit OK restarts; on the NT family only
// once the shutdown privilege is enabled.
#include <gtest/gtest.h>

#include <functional>

#include "platform/host/fake_world.h"
#include "system/restart.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const char kText[] = "Uninstall needs to restart your system to complete";
const char kCaption[] = "Restart Windows";

struct RestartCase {
    const char* name;
    fake::WindowsVersion version;
    std::function<void()> arrange;
    bool adjusts;   // the shutdown privilege is enabled first
    bool restarts;  // ExitWindowsEx is called
};

void Answer(int answer) { stand_in::AnswerMessageBoxes({answer}); }
void WithoutShutdownPrivilege() { stand_in::SetShutdownPrivilegeHeld(false); }
void EnablingFails() { fake::FailCall("EnableShutdownPrivilege", ERROR_ACCESS_DENIED); }

TEST(OfferRestart, RestartsOnlyWhenAllowedAndAble) {
    static auto ok = [] { Answer(IDOK); };
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
        {"enabling fails on 2000", fake::kWin2000, EnablingFails, true, false},
        {"enabling fails on XP", fake::kWinXP, [] { ok(); EnablingFails(); }, true, false},
        {"enabling would fail on 95", fake::kWin95, [] { ok(); EnablingFails(); }, false, true},
    };
    for (const RestartCase& c : cases) {
        fake::Reset();
        fake::SetWindowsVersion(c.version);
        c.arrange();
        OfferRestart();
        EXPECT_EQ(1u, fake::CallsTo("MessageBoxA").size()) << c.name;
        EXPECT_EQ(c.adjusts ? 1u : 0u, fake::CallsTo("EnableShutdownPrivilege").size()) << c.name;
        const auto& requests = stand_in::ShutdownRequests();
        ASSERT_EQ(c.restarts ? 1u : 0u, requests.size()) << c.name;
        if (!c.restarts) continue;
        EXPECT_TRUE(requests[0].accepted) << c.name << ": refused for want of the privilege";
    }
}

// From 2000 on, programs that answer may save their work; from XP on the
// restart gives a planned reason. Older Windows refuse EWX_FORCEIFHUNG.
TEST(OfferRestart, AsksEachWindowsForItsOwnKindOfRestart) {
    const DWORD kPlanned =
        SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION | SHTDN_REASON_FLAG_PLANNED;
    const struct {
        const char* name;
        fake::WindowsVersion version;
        UINT flags;
        DWORD reason;
    } cases[] = {
        {"95", fake::kWin95, EWX_REBOOT | EWX_FORCE, 0},
        {"98", fake::kWin98, EWX_REBOOT | EWX_FORCE, 0},
        {"Me", fake::kWinMe, EWX_REBOOT | EWX_FORCE, 0},
        {"NT 4", fake::kNT4, EWX_REBOOT | EWX_FORCE, 0},
        {"2000", fake::kWin2000, EWX_REBOOT | EWX_FORCEIFHUNG, 0},
        {"XP", fake::kWinXP, EWX_REBOOT | EWX_FORCEIFHUNG, kPlanned},
        {"10", fake::kWin10, EWX_REBOOT | EWX_FORCEIFHUNG, kPlanned},
    };
    for (const auto& c : cases) {
        fake::Reset();
        fake::SetWindowsVersion(c.version);
        OfferRestart();
        const auto& requests = stand_in::ShutdownRequests();
        ASSERT_EQ(1u, requests.size()) << c.name;
        EXPECT_EQ(c.flags, requests[0].flags) << c.name;
        EXPECT_EQ(c.reason, requests[0].reason) << c.name;
        EXPECT_TRUE(requests[0].accepted) << c.name;
    }
}

}  // namespace

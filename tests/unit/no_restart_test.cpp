// "/norestart": no question and no restart in any mode; a run that leaves a
// deletion for the restart ends with 3010 instead of 0, and every other
// exit code stays as it was.
#include <gtest/gtest.h>

#include <string>

#include <functional>

#include "system/command_options.h"
#include "app/run_uninstall.h"
#include "app/win_main.h"
#include "platform/host/fake_world.h"
#include "tests/stand_ins/stand_ins.h"
#include "system/run_state.h"

namespace {

const std::string kDesc = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo";
const char kHelper[] = "C:\\Program Files\\XLN\\xlnhelper.exe";

TEST(NoRestartOption, AWordOfItsOwnAnywhereAfterTheName) {
    const struct { const char* line; bool found; } cases[] = {
        {"uninst.exe silent /norestart", true},
        {"uninst.exe /norestart silent /log=C:\\a.log", true},
        {"uninst.exe silent /norestartx", false},
        {"uninst.exe silent /NORESTART", true},
        {"uninst.exe silent /NoRestart /norestartx", true},
        {"uninst.exe silent /NoRestartX", false},
        {"uninst.exe silent /log=/norestart", false},
        {"uninst.exe silent\t/norestart", true},
        {"uninst.exe silent /norestart\t/log=C:\\a.log", true},
        {"uninst.exe silent x/norestart", false},
    };
    for (auto& c : cases) EXPECT_EQ(c.found, NoRestartOption(c.line)) << c.line;
}

TEST(NoRestart, ExitCodeSaysARestartIsNeeded) {
    const struct {
        const char* tail;
        bool locked;  // the listed file is in use: its deletion must wait
        int exit_code;
        size_t boxes;  // the confirmation and the restart question
        int answer;    // to the first box
    } cases[] = {
        {"silent /norestart", true, 3010, 0, IDCANCEL},
        {"silent /norestart", false, 0, 0, IDCANCEL},
        {"silent", true, 0, 1, IDCANCEL},
        {"quiet /norestart", true, 3010, 0, IDCANCEL},
        {"verbose /norestart", true, 3010, 1, IDOK},
        {"install /norestart", true, 3010, 0, IDCANCEL},
        {"silent /norestart /rootkey=SOFTWARE\\None", true, 1605, 0, IDCANCEL},
        {"silent /rootkey=SOFTWARE\\None", true, 1, 0, IDCANCEL},
        {"bogus /norestart", true, 4, 0, IDCANCEL},
    };
    for (auto& c : cases) {
        fake::Reset();
        fake::RegSeedString(kDesc + "\\InstalledFiles", "Files", kHelper);
        fake::RegSeedString(kDesc, "FullProductName", "XLN");
        fake::AddFile(kHelper);
        fake::SetFileLocked(kHelper, c.locked);
        stand_in::AnswerMessageBoxes({c.answer});
        fake::SetCommandLine(std::string("uninst.exe ") + c.tail);
        EXPECT_EQ(c.exit_code, WinMain(nullptr, nullptr, (LPSTR)c.tail, 1)) << c.tail;
        EXPECT_EQ(c.boxes, stand_in::MessageBoxes().size()) << c.tail;
        EXPECT_TRUE(stand_in::ShutdownRequests().empty()) << c.tail;
        bool waits = c.locked && c.exit_code != 4 && c.exit_code != 1 && c.exit_code != 1605;
        // The folder it leaves empty waits with it.
        auto pending = fake::PendingDeletes();
        EXPECT_EQ(waits, !pending.empty() && pending[0] == kHelper) << c.tail;
    }
    NoRestartRun = false;
}

// What a deployment tool reads, told not to restart: Windows Installer's
// codes, and no box or wait where it would block the tool.
TEST(NoRestart, DeploymentToolsReadInstallerCodes) {
    const std::string entry = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN";
    const struct {
        const char* name;
        const char* tail;
        std::function<void()> arrange;
        int exit_code;
        bool helper_gone;
    } cases[] = {
        {"removed", "silent /norestart", [] {}, 0, true},
        {"a step failed", "silent /norestart", [] { fake::FailCall("CreateFileA", 19, 0, "xlnhelper.exe"); },
         1603, false},
        {"another run, told not to wait", "silent /NoRestart",
         [] { stand_in::HoldMutexElsewhere("Global\\XLNWL.uninstaller.run"); }, 1618, false},
        {"another run, waited for", "silent",
         [] { stand_in::HoldMutexElsewhere("Global\\XLNWL.uninstaller.run", true); }, 0, true},
        {"the log cannot be written", "silent /norestart /log=C:\\run.log",
         [] { fake::FailCall("CreateFileA", ERROR_ACCESS_DENIED, 1, "run.log"); }, 1622, false},
        {"the log cannot be written, no deployment tool", "silent /log=C:\\run.log",
         [] { fake::FailCall("CreateFileA", ERROR_ACCESS_DENIED, 1, "run.log"); }, 0, true},
        {"no one sees the session", "silent",
         [] {
             stand_in::SetWindowStationVisible(false);
             fake::SetFileLocked(kHelper, true);
         },
         3010, false},
        {"the product's command asks for a restart", "silent /norestart",
         [&] {
             fake::RegSeedString(kDesc, "UninstallKey", "XLN");
             fake::RegSeedString(entry, "QuietUninstallString", "C:\\setup.exe");
             stand_in::ProcessScript setup;
             setup.exit_code = 3010;
             // It may run this program again: the lock is lent to it.
             setup.on_run = [] { EXPECT_FALSE(stand_in::MutexHeldHere("Global\\XLNWL.uninstaller.run")); };
             stand_in::ScriptProcess("C:\\setup.exe", setup);
         },
         3010, false},
    };
    for (auto& c : cases) {
        fake::Reset();
        fake::RegSeedString(kDesc + "\\InstalledFiles", "Files", kHelper);
        fake::RegSeedString(kDesc, "FullProductName", "XLN");
        fake::AddFile(kHelper);
        c.arrange();
        fake::SetCommandLine(std::string("uninst.exe ") + c.tail);
        EXPECT_EQ(c.exit_code, WinMain(nullptr, nullptr, (LPSTR)c.tail, 1)) << c.name;
        EXPECT_EQ(c.helper_gone, !fake::FileExists(kHelper)) << c.name;
        EXPECT_TRUE(stand_in::MessageBoxes().empty()) << c.name;
        EXPECT_EQ(0, fake::OpenHandleCount()) << c.name;
    }
    NoRestartRun = false;
}

}  // namespace

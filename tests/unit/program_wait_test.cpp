// Waits for started programs and pauses: with the progress dialog they
// handle the thread's waiting messages until they end; without it they are
// the plain waits.
#include <functional>
#include <string>

#include "app/progress_dialog.h"
#include "app/progress_window.h"
#include "removal_fixture.h"
#include "system/program_wait.h"
#include "system/started_process.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const UINT kProbe = WM_USER + 7;  // what another program sends the dialog

class ProgramWait : public RemovalTest {
protected:
    void Arrange(bool answering) {
        RemovalTest::SetUp();
        dialog = CreateProgressDialog(nullptr);
        ASSERT_NE(nullptr, dialog);
        SetAnsweringDialog(answering ? dialog : nullptr);
    }
    void TearDown() override {
        SetAnsweringDialog(nullptr);
        CloseProgressWindow(dialog);
        RemovalTest::TearDown();
    }
    size_t Answered() {
        size_t count = 0;
        for (const MSG& m : stand_in::DispatchedMessages()) count += m.hwnd == dialog && m.message == kProbe;
        return count;
    }
    // Starts a program that leaves `messages` for the thread while it runs.
    DWORD StartAndWait(int messages, bool quit_between, bool wait_fails) {
        if (wait_fails) FailWaitsOn("C:\\SVC\\A.EXE");
        stand_in::ProcessScript script;
        script.on_run = [=] {
            for (int i = 0; i < messages; ++i) {
                stand_in::QueueThreadMessage(dialog, kProbe, i, 0);
                if (quit_between && i == 0) stand_in::QueueThreadMessage(nullptr, WM_QUIT, 3, 0);
            }
        };
        stand_in::ScriptNextProcess(script);
        PROCESS_INFORMATION process;
        char command[] = "C:\\SVC\\A.EXE -u";
        if (!StartProcess(command, true, 0, false, nullptr, &process)) return 0xBAD;
        DWORD waited = WaitForProgram(process.hProcess);
        ReadExitCode(process.hProcess, &exit_code);
        CloseProcessHandle(process.hProcess);
        CloseProcessHandle(process.hThread);
        return waited;
    }
    HWND dialog = nullptr;
    DWORD exit_code = 0xDEADBEEF;
};

TEST_F(ProgramWait, AnswersMessagesUntilTheProgramEnds) {
    const struct {
        const char* name;
        bool answering;
        std::function<void()> arrange;
        bool quit;
        bool wait_fails;
        DWORD result;
        size_t answered, left;  // messages handled, and left waiting
        bool plain;             // WaitForSingleObject did the waiting
    } cases[] = {
        {"no dialog", false, [] {}, false, false, WAIT_OBJECT_0, 0, 2, true},
        {"dialog", true, [] {}, false, false, WAIT_OBJECT_0, 2, 0, false},
        {"message wait refused",
         true, [] { fake::FailCall("MsgWaitForMultipleObjects", ERROR_INVALID_PARAMETER, 0); },
         false, false, WAIT_OBJECT_0, 2, 0, true},
        // The quit is for the thread's own loop: posted again, left waiting.
        {"WM_QUIT", true, [] {}, true, false, WAIT_OBJECT_0, 1, 2, true},
        {"wait fails", true, [] {}, false, true, WAIT_FAILED, 2, 0, true},
    };
    for (auto& c : cases) {
        Arrange(c.answering);
        c.arrange();
        EXPECT_EQ(c.result, StartAndWait(2, c.quit, c.wait_fails)) << c.name;
        if (c.result == WAIT_OBJECT_0) EXPECT_EQ(0u, exit_code) << c.name << ": still running";
        EXPECT_EQ(c.answered, Answered()) << c.name;
        EXPECT_EQ(c.left, stand_in::WaitingMessageCount()) << c.name;
        EXPECT_EQ(c.plain, !fake::CallsTo("WaitForSingleObject").empty()) << c.name;
        TearDown();
    }
}

TEST_F(ProgramWait, PausesLastTheirTimeAndAnswerMeanwhile) {
    const struct {
        const char* name;
        bool answering;
        bool refused;  // the message wait fails
        size_t answered;
        bool slept;  // Sleep did the waiting
    } cases[] = {
        {"no dialog", false, false, 0, true},
        {"dialog", true, false, 1, false},
        {"message wait refused", true, true, 1, true},
    };
    for (auto& c : cases) {
        Arrange(c.answering);
        if (c.refused) fake::FailCall("MsgWaitForMultipleObjects", ERROR_INVALID_PARAMETER, 0);
        stand_in::QueueThreadMessage(dialog, kProbe, 0, 0);
        PauseAnswering(500);
        EXPECT_EQ(500u, fake::SleptMilliseconds()) << c.name;
        EXPECT_EQ(c.answered, Answered()) << c.name;
        EXPECT_EQ(c.slept, !fake::CallsTo("Sleep").empty()) << c.name;
        TearDown();
    }
}

}  // namespace

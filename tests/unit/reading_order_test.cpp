// Reading order: a text from the Arabic or Hebrew table reads right to left
// in the error box and on the status line; any other text left to right,
// whatever the user's language.
#include <gtest/gtest.h>

#include "app/progress_dialog.h"
#include "app/progress_window.h"
#include "messages/error_report.h"
#include "platform/host/fake_world.h"
#include "system/run_state.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

struct ReadingCase {
    const char* name;
    LANGID user;
    bool right_to_left;
    const char* failing_block;  // a string block that cannot be found, or null
};

// One dialog for every case, so each case also undoes the one before it.
TEST(ReadingOrder, FollowsTheTableThatGaveTheText) {
    const ReadingCase cases[] = {
        {"Arabic (Saudi Arabia)", 0x0401, true, nullptr},
        {"English", 0x0409, false, nullptr},
        {"Hebrew", 0x040D, true, nullptr},
        {"Farsi, given the English table", 0x0429, false, nullptr},
        {"Arabic (Egypt)", 0x0C01, true, nullptr},
        {"Arabic user given the English table", 0x0401, false, "0401\\6\\1"},
    };
    fake::Reset();
    RunMode = Quiet;
    HWND dialog = OpenProgressWindow(nullptr, ProgressDialogProc);
    const UINT kBoxFlags = MB_RTLREADING | MB_RIGHT;
    for (const ReadingCase& c : cases) {
        fake::SetUserLanguage(c.user);
        if (c.failing_block) fake::FailCall("FindResourceExA", 1815, 0, c.failing_block);
        ReportTavkError(2266, "CreateProcess() failed");
        ShowProgressStep(dialog, 10, 80);
        ASSERT_FALSE(stand_in::MessageBoxes().empty()) << c.name;
        UINT box = stand_in::MessageBoxes().back().style;
        EXPECT_EQ(MB_ICONWARNING | (c.right_to_left ? kBoxFlags : 0u), box) << c.name;
        const stand_in::ProgressWindow& line = *stand_in::Dialog(dialog);
        DWORD alignment = c.right_to_left ? SS_RIGHT : SS_LEFT;
        EXPECT_EQ(WS_CHILD | WS_VISIBLE | WS_GROUP | alignment, (DWORD)line.status_style) << c.name;
        EXPECT_EQ(c.right_to_left ? (DWORD)WS_EX_RTLREADING : 0u, (DWORD)line.status_ex_style) << c.name;
    }
}

}  // namespace

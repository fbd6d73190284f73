// Reading order: a text from the Arabic or Hebrew table reads right to left
// in the error box and on the status line; any other text left to right,
// whatever the user's language.
#include <gtest/gtest.h>

#include "app/progress_dialog.h"
#include "messages/error_report.h"
#include "platform/host/fake_world.h"
#include "system/run_state.h"

namespace {

struct ReadingCase {
    const char* name;
    LANGID user;
    UINT code_page;
    bool right_to_left;
    const char* failing_block;  // a string block that cannot be found, or null
};

const ReadingCase kCases[] = {
    {"Arabic (Saudi Arabia)", 0x0401, 1256, true, nullptr},
    {"English", 0x0409, 1252, false, nullptr},
    {"Hebrew", 0x040D, 1255, true, nullptr},
    {"Farsi reads right to left but gets the English table", 0x0429, 1256, false, nullptr},
    {"Arabic (Egypt)", 0x0C01, 1256, true, nullptr},
    {"German", 0x0407, 1252, false, nullptr},
    {"Arabic user given the English table", 0x0401, 1256, false, "0401\\6\\1"},
};

// One dialog for every case, so each case also undoes the one before it.
TEST(ReadingOrder, FollowsTheTableThatGaveTheText) {
    fake::Reset();
    RunMode = Quiet;
    HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_PROGRESS), nullptr, ProgressDialogProc, 0);
    ASSERT_NE(nullptr, dialog);
    HWND status = GetDlgItem(dialog, IDC_STATUS_TEXT);
    const UINT kBoxFlags = MB_RTLREADING | MB_RIGHT;
    for (const ReadingCase& c : kCases) {
        fake::SetUserLanguage(c.user);
        fake::SetAnsiCodePage(c.code_page);
        if (c.failing_block) fake::FailCall("FindResourceExA", 1815, 0, c.failing_block);
        ReportTavkError(2266, "CreateProcess() failed");
        ASSERT_FALSE(fake::MessageBoxes().empty()) << c.name;
        UINT box = fake::MessageBoxes().back().style;
        EXPECT_EQ(c.right_to_left ? kBoxFlags : 0u, box & kBoxFlags) << c.name << ": box style " << box;
        EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), box & ~kBoxFlags) << c.name;

        ShowProgressStep(dialog, 10, 80);
        fake::WindowInfo line = fake::Inspect(status);
        EXPECT_EQ(c.right_to_left ? (DWORD)SS_RIGHT : (DWORD)SS_LEFT, line.style & SS_TYPEMASK) << c.name;
        EXPECT_EQ(c.right_to_left ? (DWORD)WS_EX_RTLREADING : 0u, line.ex_style) << c.name;
        EXPECT_EQ((DWORD)(WS_CHILD | WS_VISIBLE | WS_GROUP), line.style & ~(DWORD)SS_TYPEMASK) << c.name;
    }
}

}  // namespace

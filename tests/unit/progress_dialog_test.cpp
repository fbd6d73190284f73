// The progress dialog: its template, its centring, the command protocol and
// its creation and destruction by the "verbose" start.
#include <gtest/gtest.h>

#include "app/run_uninstall.h"
#include "app/win_main.h"
#include "app/progress_dialog.h"
#include "system/run_state.h"
#include "messages/error_report.h"
#include "platform/host/fake_world.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

class ProgressDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        RunMode = Verbose;
        dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_PROGRESS), nullptr,
                                    ProgressDialogProc, 0);
        ASSERT_NE(nullptr, dialog);
        bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
        status = GetDlgItem(dialog, IDC_STATUS_TEXT);
    }
    LRESULT Command(WPARAM command, LPARAM argument) {
        return SendMessageA(dialog, WM_COMMAND, command, argument);
    }
    HWND dialog = nullptr, bar = nullptr, status = nullptr;
};

TEST_F(ProgressDialogTest, TemplateAsShipped) {
    fake::WindowInfo info = fake::Inspect(dialog);
    EXPECT_EQ((DWORD)(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS), info.style);
    EXPECT_EQ("", info.text);
    EXPECT_EQ(std::vector<WORD>{0x0409}, fake::ResourceLanguages(5, IDD_PROGRESS));
    const std::string& t = *fake::ResourceBytes(5, IDD_PROGRESS, 0x0409);
    auto word = [&](size_t at) { return (int)((unsigned char)t[at] | (unsigned char)t[at + 1] << 8); };
    EXPECT_EQ(0, word(4) | word(6));                              // no extended style
    EXPECT_EQ(2, word(8));                                        // two controls
    EXPECT_EQ((std::vector<int>{0, 0, 300, 50}), (std::vector<int>{word(10), word(12), word(14), word(16)}));
    std::vector<HWND> controls = fake::Children(dialog);
    ASSERT_EQ(2u, controls.size());
    const struct {
        int id;
        const char* class_name;
        DWORD style;
        const char* text;
    } expected[] = {
        {IDC_STATUS_TEXT, "static", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, ""},
        {IDC_PROGRESS_BAR, "msctls_progress32", WS_CHILD | WS_VISIBLE | WS_BORDER, "ProgressBar"},
    };
    for (size_t i = 0; i < 2; ++i) {
        fake::WindowInfo control = fake::Inspect(controls[i]);
        EXPECT_EQ(expected[i].id, control.id) << i;
        EXPECT_TRUE(fake::SameName(expected[i].class_name, control.class_name)) << i << " " << control.class_name;
        EXPECT_EQ(expected[i].style, control.style) << i;
        EXPECT_EQ(expected[i].text, control.text) << i;
    }
    // A two-line status area, 284 x 18 dialog units at (8, 8), the bar
    // 284 x 12 below it at (8, 30).
    const RECT area = fake::Inspect(controls[0]).rect, bar_rect = fake::Inspect(controls[1]).rect;
    EXPECT_EQ((std::vector<LONG>{8 * 6 / 4, 8 * 13 / 8, 284 * 6 / 4, 18 * 13 / 8}),
              (std::vector<LONG>{area.left, area.top, area.right - area.left, area.bottom - area.top}));
    EXPECT_EQ((std::vector<LONG>{30 * 13 / 8, 12 * 13 / 8}), (std::vector<LONG>{bar_rect.top, bar_rect.bottom - bar_rect.top}));
}

struct CentreCase {
    const char* name;
    RECT desktop;
};

TEST_F(ProgressDialogTest, CentredOnTheDesktop) {
    const CentreCase cases[] = {
        {"1024 x 768", {0, 0, 1024, 768}},
        {"odd sizes truncate", {0, 0, 1025, 767}},
        {"desktop not at the origin", {-1280, 100, 0, 1124}},
        {"desktop smaller than the dialog", {0, 0, 301, 51}},
    };
    for (const CentreCase& c : cases) {
        fake::SetDesktopRect(c.desktop);
        RECT before;
        GetWindowRect(dialog, &before);
        LONG width = before.right - before.left, height = before.bottom - before.top;
        EXPECT_EQ(TRUE, ProgressDialogProc(dialog, WM_INITDIALOG, 0, 0)) << c.name;
        RECT after;
        GetWindowRect(dialog, &after);
        LONG dw = c.desktop.right - c.desktop.left, dh = c.desktop.bottom - c.desktop.top;
        EXPECT_EQ(c.desktop.left + (dw - width) / 2, after.left) << c.name;
        EXPECT_EQ(c.desktop.top + (dh - height) / 2, after.top) << c.name;
        EXPECT_EQ(width, after.right - after.left) << c.name;
        EXPECT_EQ(height, after.bottom - after.top) << c.name;
    }
}

TEST_F(ProgressDialogTest, CentringWhenCreated) {
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ((1024 - (r.right - r.left)) / 2, r.left);
    EXPECT_EQ((768 - (r.bottom - r.top)) / 2, r.top);
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(ProgressDialogTest, NoDesktopReports2884AndLeavesTheDialog) {
    RunMode = Quiet;
    SetWindowPos(dialog, nullptr, 0, 0, 0, 0, SWP_NOSIZE);
    fake::FailCall("GetDesktopWindow", ERROR_INVALID_HANDLE);
    EXPECT_EQ(FALSE, ProgressDialogProc(dialog, WM_INITDIALOG, 0, 0));
    EXPECT_EQ(2884, ErrorState.code);
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_NE(std::string::npos, stand_in::MessageBoxes()[0].text.find("TAVK2884."));
    EXPECT_EQ(0, fake::Inspect(dialog).rect.left);
}

TEST_F(ProgressDialogTest, NoRectangleLeavesTheDialogWhereItIs) {
    for (const char* whose : {"desktop", "#32770\\0"}) {
        SetWindowPos(dialog, nullptr, 7, 9, 0, 0, SWP_NOSIZE);
        fake::FailCall("GetWindowRect", ERROR_INVALID_HANDLE, 1, whose);
        EXPECT_EQ(TRUE, ProgressDialogProc(dialog, WM_INITDIALOG, 0, 0)) << whose;
        EXPECT_EQ(7, fake::Inspect(dialog).rect.left) << whose;
        EXPECT_EQ(9, fake::Inspect(dialog).rect.top) << whose;
    }
}

TEST_F(ProgressDialogTest, TitleCommand) {
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_TITLE, 3));
    EXPECT_EQ("Removing the XLN 802.11g Network Adapter", fake::Inspect(dialog).text);
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_TITLE, 30));  // no such message
    EXPECT_EQ("", fake::Inspect(dialog).text);
}

TEST_F(ProgressDialogTest, TextCommand) {
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_TEXT, 7));
    EXPECT_EQ("Stopping support applications...", fake::Inspect(status).text);
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_TEXT, 0));  // id 0 has no text
    EXPECT_EQ("", fake::Inspect(status).text);
}

TEST_F(ProgressDialogTest, PositionCommand) {
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_POS, 85));
    EXPECT_EQ(85, fake::Inspect(bar).position);
}

TEST_F(ProgressDialogTest, PositionWithoutTheBarChangesNothing) {
    Command(PROGRESS_CMD_POS, 30);
    fake::FailCall("GetDlgItem", 1421, 0, "\\201");
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_POS, 60));
    EXPECT_EQ(30, fake::Inspect(bar).position);
}

TEST_F(ProgressDialogTest, UnhandledMessagesAnswerFalse) {
    const struct {
        const char* name;
        UINT message;
        WPARAM wparam;
    } cases[] = {
        {"command 3", WM_COMMAND, 3},
        {"command with a notification code", WM_COMMAND, 0x00010001},
        {"command -1", WM_COMMAND, (WPARAM)-1},
        {"another message", WM_USER, 0},
    };
    for (auto& c : cases) {
        std::string title = fake::Inspect(dialog).text;
        EXPECT_EQ(FALSE, ProgressDialogProc(dialog, c.message, c.wparam, 12)) << c.name;
        EXPECT_EQ(title, fake::Inspect(dialog).text) << c.name;
    }
    EXPECT_EQ(TRUE, ProgressDialogProc(dialog, WM_DESTROY, 0, 0));
}

TEST_F(ProgressDialogTest, ShowProgressStepSendsTextThenPosition) {
    size_t before = fake::DeliveredMessages().size();
    ShowProgressStep(dialog, 12, 100);
    EXPECT_EQ("Finished removal!", fake::Inspect(status).text);
    EXPECT_EQ(100, fake::Inspect(bar).position);
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    for (size_t i = before; i < fake::DeliveredMessages().size(); ++i) {
        const fake::SentMessage& m = fake::DeliveredMessages()[i];
        if (m.window == dialog && m.message == WM_COMMAND) commands.push_back({m.wparam, m.lparam});
    }
    std::vector<std::pair<WPARAM, LPARAM>> expected = {{PROGRESS_CMD_TEXT, 12}, {PROGRESS_CMD_POS, 100}};
    EXPECT_EQ(expected, commands);
}

// The "verbose" start: common controls, the dialog hidden, no owner, the
// driver run with it, destroyed afterwards.
TEST(VerboseStart, DialogLivesAroundTheDriver) {
    fake::Reset();
    int count = fake::WindowCount();
    WinMain(nullptr, nullptr, (LPSTR) "verbose", 0);
    EXPECT_EQ(Verbose, RunMode);
    std::vector<std::string> order;
    for (auto& call : fake::CallLog())
        if (call.rfind("InitCommonControls", 0) == 0 || call.rfind("CreateDialogParamA", 0) == 0 ||
            call.rfind("RegOpenKeyA HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo", 0) == 0 ||
            call.rfind("DestroyWindow", 0) == 0)
            order.push_back(call.substr(0, call.find(' ')));
    std::vector<std::string> expected = {"InitCommonControlsEx", "CreateDialogParamA", "RegOpenKeyA",
                                         "DestroyWindow"};
    EXPECT_EQ(expected, order);
    EXPECT_EQ(count, fake::WindowCount());
}

TEST(VerboseStart, DialogNotCreatedReports402AndExits2) {
    fake::Reset();
    fake::FailCall("CreateDialogParamA", 1814);
    EXPECT_EQ(2, WinMain(nullptr, nullptr, (LPSTR) "verbose", 0));
    EXPECT_EQ(402, ErrorState.code);
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_NE(std::string::npos, stand_in::MessageBoxes()[0].text.find("TAVK402."));
    EXPECT_TRUE(fake::CallsTo("RegOpenKeyA HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo").empty());
}

}  // namespace

namespace {

// Common Controls 6 registers the bar's class only when asked by name;
// without InitCommonControlsEx (the first 95 and NT 4), or when it fails,
// InitCommonControls does the work.
TEST(ProgressBarClass, AskedForByNameWhereTheSystemCan) {
    const struct {
        const char* name;
        std::function<void()> arrange;
        size_t ex_calls, plain_calls;
    } cases[] = {
        {"Common Controls 4.70 and later", [] {}, 1, 0},
        {"first Windows 95", [] { fake::RemoveExport("comctl32.dll", "InitCommonControlsEx"); }, 0, 1},
        {"InitCommonControlsEx fails", [] { fake::FailCall("InitCommonControlsEx", 87); }, 1, 1},
    };
    for (auto& c : cases) {
        fake::Reset();
        c.arrange();
        HWND dialog = CreateProgressDialog(nullptr);
        ASSERT_NE(nullptr, dialog) << c.name;
        EXPECT_EQ(c.ex_calls, fake::CallsTo("InitCommonControlsEx ICC=0x20").size()) << c.name;
        EXPECT_EQ(c.plain_calls, fake::CallsTo("InitCommonControls ").size()) << c.name;
        DestroyWindow(dialog);
    }
}

}  // namespace

// The progress dialog: its template, its centring, the command protocol and
// its creation and destruction by the "verbose" start.
#include <gtest/gtest.h>

#include "app/run_uninstall.h"
#include "app/win_main.h"
#include "app/progress_dialog.h"
#include "app/progress_window.h"
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
        dialog = OpenProgressWindow(nullptr, ProgressDialogProc);
        ASSERT_NE(nullptr, dialog);
    }
    void TearDown() override { CloseProgressWindow(dialog); }
    INT_PTR Command(WPARAM command, LPARAM argument) {
        return ProgressDialogProc(dialog, WM_COMMAND, command, argument);
    }
    const stand_in::ProgressWindow& Shown() { return *stand_in::Dialog(dialog); }
    HWND dialog = nullptr;
};

// A DLGTEMPLATE's control: its words from `at` (DWORD-aligned), and its
// class and text, each an ordinal (0xFFFF, atom) or a UTF-16 string.
struct TemplateControl {
    DWORD style;
    int x, y, cx, cy, id;
    std::string class_name, text;
};

std::string TemplateText(const std::string& t, size_t* at) {
    static const char* const kAtoms[] = {"button", "edit", "static", "listbox", "scrollbar", "combobox"};
    if (fake::LittleWord(t, *at) == 0xFFFF) {
        WORD atom = fake::LittleWord(t, *at + 2);
        *at += 4;
        return atom >= 0x80 && atom <= 0x85 ? kAtoms[atom - 0x80] : "#" + std::to_string(atom);
    }
    std::string text;
    for (; *at + 2 <= t.size() && fake::LittleWord(t, *at); *at += 2) text += (char)fake::LittleWord(t, *at);
    *at += 2;
    return text;
}

TemplateControl ReadControl(const std::string& t, size_t* at) {
    *at = (*at + 3) & ~(size_t)3;
    TemplateControl c = {fake::LittleDword(t, *at), (short)fake::LittleWord(t, *at + 8),
                         (short)fake::LittleWord(t, *at + 10), (short)fake::LittleWord(t, *at + 12),
                         (short)fake::LittleWord(t, *at + 14), fake::LittleWord(t, *at + 16), "", ""};
    *at += 18;
    c.class_name = TemplateText(t, at);
    c.text = TemplateText(t, at);
    *at += 2 + fake::LittleWord(t, *at);  // creation data
    return c;
}

TEST_F(ProgressDialogTest, TemplateAsShipped) {
    EXPECT_EQ(std::vector<WORD>{0x0409}, stand_in::ResourceLanguages(5, IDD_PROGRESS));
    const std::string& t = *stand_in::ResourceBytes(5, IDD_PROGRESS, 0x0409);
    auto word = [&](size_t at) { return (int)fake::LittleWord(t, at); };
    EXPECT_EQ((DWORD)(WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS), fake::LittleDword(t, 0));
    EXPECT_EQ(0, word(4) | word(6));                              // no extended style
    EXPECT_EQ(2, word(8));                                        // two controls
    EXPECT_EQ((std::vector<int>{0, 0, 300, 50}), (std::vector<int>{word(10), word(12), word(14), word(16)}));
    size_t at = 18;
    for (const char* field : {"menu", "class", "title", "font"}) {
        if (std::string(field) == "font") at += 2;  // its point size first
        std::string text = TemplateText(t, &at);
        if (std::string(field) == "title") EXPECT_EQ("", text);
    }
    const struct {
        int id;
        const char* class_name;
        DWORD style;
        const char* text;
        std::vector<int> area;  // x, y, cx, cy in dialog units
    } expected[] = {
        // A two-line status area, the bar below it.
        {IDC_STATUS_TEXT, "static", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, "", {8, 8, 284, 18}},
        {IDC_PROGRESS_BAR, "msctls_progress32", WS_CHILD | WS_VISIBLE | WS_BORDER, "ProgressBar", {8, 30, 284, 12}},
    };
    for (size_t i = 0; i < 2; ++i) {
        TemplateControl control = ReadControl(t, &at);
        EXPECT_EQ(expected[i].id, control.id) << i;
        EXPECT_TRUE(fake::SameName(expected[i].class_name, control.class_name)) << i << " " << control.class_name;
        EXPECT_EQ(expected[i].style, control.style) << i;
        EXPECT_EQ(expected[i].text, control.text) << i;
        EXPECT_EQ(expected[i].area, (std::vector<int>{control.x, control.y, control.cx, control.cy})) << i;
    }
    EXPECT_EQ("", Shown().title);
    EXPECT_EQ((LONG)(WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT), Shown().status_style);
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
        stand_in::SetDesktopRect(c.desktop);
        RECT before = Shown().rect;
        LONG width = before.right - before.left, height = before.bottom - before.top;
        EXPECT_EQ(TRUE, ProgressDialogProc(dialog, WM_INITDIALOG, 0, 0)) << c.name;
        RECT after = Shown().rect;
        LONG dw = c.desktop.right - c.desktop.left, dh = c.desktop.bottom - c.desktop.top;
        EXPECT_EQ(c.desktop.left + (dw - width) / 2, after.left) << c.name;
        EXPECT_EQ(c.desktop.top + (dh - height) / 2, after.top) << c.name;
        EXPECT_EQ(width, after.right - after.left) << c.name;
        EXPECT_EQ(height, after.bottom - after.top) << c.name;
    }
}

TEST_F(ProgressDialogTest, CentringWhenCreated) {
    RECT r = Shown().rect;
    EXPECT_EQ((1024 - (r.right - r.left)) / 2, r.left);
    EXPECT_EQ((768 - (r.bottom - r.top)) / 2, r.top);
    EXPECT_FALSE(Shown().visible);
}

TEST_F(ProgressDialogTest, NoDesktopReports2884AndLeavesTheDialog) {
    RunMode = Quiet;
    MoveProgressWindow(dialog, 0, 0);
    fake::FailCall("GetDesktopWindow", ERROR_INVALID_HANDLE);
    EXPECT_EQ(FALSE, ProgressDialogProc(dialog, WM_INITDIALOG, 0, 0));
    EXPECT_EQ(2884, ErrorState.code);
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_NE(std::string::npos, stand_in::MessageBoxes()[0].text.find("TAVK2884."));
    EXPECT_EQ(0, Shown().rect.left);
}

TEST_F(ProgressDialogTest, NoRectangleLeavesTheDialogWhereItIs) {
    for (const char* whose : {"desktop", "#32770\\0"}) {
        MoveProgressWindow(dialog, 7, 9);
        fake::FailCall("GetWindowRect", ERROR_INVALID_HANDLE, 1, whose);
        EXPECT_EQ(TRUE, ProgressDialogProc(dialog, WM_INITDIALOG, 0, 0)) << whose;
        EXPECT_EQ(7, Shown().rect.left) << whose;
        EXPECT_EQ(9, Shown().rect.top) << whose;
    }
}

TEST_F(ProgressDialogTest, TitleCommand) {
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_TITLE, 3));
    EXPECT_EQ("Removing the XLN 802.11g Network Adapter", Shown().title);
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_TITLE, 30));  // no such message
    EXPECT_EQ("", Shown().title);
}

TEST_F(ProgressDialogTest, TextCommand) {
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_TEXT, 7));
    EXPECT_EQ("Stopping support applications...", Shown().status);
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_TEXT, 0));  // id 0 has no text
    EXPECT_EQ("", Shown().status);
}

TEST_F(ProgressDialogTest, PositionCommand) {
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_POS, 85));
    EXPECT_EQ(85, Shown().position);
}

TEST_F(ProgressDialogTest, PositionWithoutTheBarChangesNothing) {
    Command(PROGRESS_CMD_POS, 30);
    fake::FailCall("GetDlgItem", 1421, 0, "\\201");
    EXPECT_EQ(TRUE, Command(PROGRESS_CMD_POS, 60));
    EXPECT_EQ(30, Shown().position);
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
        std::string title = Shown().title;
        EXPECT_EQ(FALSE, ProgressDialogProc(dialog, c.message, c.wparam, 12)) << c.name;
        EXPECT_EQ(title, Shown().title) << c.name;
    }
    EXPECT_EQ(TRUE, ProgressDialogProc(dialog, WM_DESTROY, 0, 0));
}

TEST_F(ProgressDialogTest, ShowProgressStepSendsTextThenPosition) {
    size_t before = stand_in::ProgressCommands().size();
    ShowProgressStep(dialog, 12, 100);
    EXPECT_EQ("Finished removal!", Shown().status);
    EXPECT_EQ(100, Shown().position);
    std::vector<std::pair<WPARAM, LPARAM>> commands;
    for (size_t i = before; i < stand_in::ProgressCommands().size(); ++i) {
        const stand_in::ProgressCommand& m = stand_in::ProgressCommands()[i];
        if (m.dialog == dialog) commands.push_back({m.command, m.argument});
    }
    std::vector<std::pair<WPARAM, LPARAM>> expected = {{PROGRESS_CMD_TEXT, 12}, {PROGRESS_CMD_POS, 100}};
    EXPECT_EQ(expected, commands);
}

// The "verbose" start: common controls, the dialog hidden, no owner, the
// driver run with it, destroyed afterwards.
TEST(VerboseStart, DialogLivesAroundTheDriver) {
    fake::Reset();
    int count = stand_in::DialogCount();
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
    EXPECT_EQ(count, stand_in::DialogCount());
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
        {"first Windows 95", [] { stand_in::RemoveExport("comctl32.dll", "InitCommonControlsEx"); }, 0, 1},
        {"InitCommonControlsEx fails", [] { fake::FailCall("InitCommonControlsEx", 87); }, 1, 1},
    };
    for (auto& c : cases) {
        fake::Reset();
        c.arrange();
        HWND dialog = CreateProgressDialog(nullptr);
        ASSERT_NE(nullptr, dialog) << c.name;
        EXPECT_EQ(c.ex_calls, fake::CallsTo("InitCommonControlsEx ICC=0x20").size()) << c.name;
        EXPECT_EQ(c.plain_calls, fake::CallsTo("InitCommonControls ").size()) << c.name;
        CloseProgressWindow(dialog);
    }
}

}  // namespace

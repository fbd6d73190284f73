// The error box: message 14, the tag and the code in a warning box captioned
// with message 13; nothing in Silent or when a text is missing.
#include <gtest/gtest.h>

#include "system/run_state.h"
#include "messages/error_report.h"
#include "platform/host/fake_world.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const std::string kHead = "The removal of XLN 802.11g Network Adapter cannot continue due to error code";
const std::string kOverrides = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\LocalizedStrings\\UNINST\\9\\1";

class ErrorReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        RunMode = Quiet;
        SetErrorState("", 0);
    }
};

struct BoxCase {
    const char* name;
    std::string tag;
    int32_t code;
    std::string text;
};

TEST_F(ErrorReportTest, BoxShowsTagAndCode) {
    const std::string long_tag(254, 'T');
    const BoxCase cases[] = {
        {"own site", "TAVK", 2266, kHead + " TAVK2266."},
        {"tool without code", "DevMgr remove", 0, kHead + " DevMgr remove0."},
        {"negative code", "DevMgr", -5, kHead + " DevMgr-5."},
        {"lowest code", "X", INT32_MIN, kHead + " X-2147483648."},
        {"254-character tag shown whole", long_tag, 7, kHead + " " + long_tag + "7."},
    };
    for (const BoxCase& c : cases) {
        fake::Reset();
        SetErrorState(c.tag.c_str(), c.code);
        ReportError("diagnostic %s", "hidden");
        ASSERT_EQ(1u, stand_in::MessageBoxes().size()) << c.name;
        const stand_in::MessageBoxShown& box = stand_in::MessageBoxes()[0];
        EXPECT_EQ(c.text, box.text) << c.name;
        EXPECT_EQ("Uninstall Error", box.caption) << c.name;
        EXPECT_EQ((UINT)(MB_OK | MB_ICONWARNING), box.style) << c.name;
    }
}

TEST_F(ErrorReportTest, LongMessageIsNotCut) {
    const std::string head(3000, 'h');
    fake::RegSeedWideString(kOverrides, "14", std::u16string(head.begin(), head.end()));
    SetErrorState(std::string(254, 't').c_str(), 1415);
    ReportError("x");
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_EQ(head + " " + std::string(254, 't') + "1415.", stand_in::MessageBoxes()[0].text);
}

TEST_F(ErrorReportTest, DiagnosticGoesToTheDebuggerOnly) {
    ReportTavkError(2182, "Unable to create '%s'", "C:\\WINDOWS\\XLNWL.dms");
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_EQ(kHead + " TAVK2182.", stand_in::MessageBoxes()[0].text);
    std::vector<std::string> debug = {"OutputDebugStringA Unable to create 'C:\\WINDOWS\\XLNWL.dms'"};
    EXPECT_EQ(debug, fake::CallsTo("OutputDebugStringA"));
    EXPECT_STREQ("TAVK", ErrorState.module_tag);
    EXPECT_EQ(2182, ErrorState.code);
}

TEST_F(ErrorReportTest, NothingShownInSilent) {
    RunMode = Silent;
    ReportTavkError(1415, "TAVK_MAX_NUM_APPLETS exceeded");
    EXPECT_TRUE(stand_in::MessageBoxes().empty());
    EXPECT_TRUE(fake::CallsTo("FindResourceExA").empty());
}

TEST_F(ErrorReportTest, ShownInQuietAndVerbose) {
    for (int32_t mode : {Quiet, Verbose}) {
        fake::Reset();
        RunMode = mode;
        ReportTavkError(1415, "TAVK_MAX_NUM_APPLETS exceeded");
        EXPECT_EQ(1u, stand_in::MessageBoxes().size()) << "mode " << mode;
    }
}

TEST_F(ErrorReportTest, MissingTextShowsNothing) {
    // Block 1 (ids 0-15) missing in every language: no 13, no 14.
    fake::FailCall("FindResourceExA", 1815, 0, "6\\1");
    ReportTavkError(1415, "x");
    EXPECT_TRUE(stand_in::MessageBoxes().empty());
}

TEST_F(ErrorReportTest, BoxInTheUserLanguage) {
    fake::SetUserLanguage(0x0407);
    ReportTavkError(1415, "x");
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    EXPECT_EQ("Deinstallationsfehler", stand_in::MessageBoxes()[0].caption);
    EXPECT_EQ("Das Entfernen von XLN 802.11g Network Adapter kann nicht fortgesetzt werden. "
              "Fehlercode: TAVK1415.",
              stand_in::MessageBoxes()[0].text);
}

}  // namespace

// The entry point: the command-line tail and its words, the mode words and
// the exit codes of the runs that need no removal.
#include <gtest/gtest.h>

#include <string>

#include "system/command_tail.h"
#include "system/command_words.h"
#include "app/run_uninstall.h"
#include "app/win_main.h"
#include "system/run_state.h"
#include "platform/host/fake_world.h"

namespace {

TEST(CommandLineTail, SkipsTheProgramNameAndTheBlanksBehindIt) {
    const struct { const char* line; const char* tail; } cases[] = {
        {"uninst.exe silent", "silent"},
        {"\"C:\\Program Files\\XLN\\uninst.exe\"  \t quiet /rootkey=A", "quiet /rootkey=A"},
        {"\"C:\\a b\\uninst.exe\"verbose", "verbose"},
        {"C:\\XLN\\uninst.exe", ""},
        {"\"C:\\unterminated quote silent", ""},
        {"uninst.exe\tinstall", "install"},
        {"", ""},
    };
    for (auto& c : cases) {
        std::string line = c.line;
        EXPECT_STREQ(c.tail, CommandLineTail(&line[0])) << c.line;
    }
}

TEST(CommandLineTail, ADoubleByteCharacterInTheQuotedNameIsNotAQuote) {
    fake::Reset();
    fake::SetAnsiCodePage(932);
    // 0x81 0x22 is not a character of 932, but the lead byte makes the
    // quote its trail byte, so the name runs on to the real quote.
    std::string line = "\"C:\\\x81\"x\\uninst.exe\" quiet";
    EXPECT_STREQ("quiet", CommandLineTail(&line[0]));
}

// A word ends at a blank, or at the closing quote when quotes are taken;
// one that does not fit is refused, never cut. The tools read "remove"
// plain: in quotes it is 8 bytes, too long to be it.
TEST(CommandWords, EndAtABlankOrTheQuoteAndAreNeverCut) {
    const struct { const char* text; bool quotable, fits; const char* word, *rest; } cases[] = {
        {"remove x", false, true, "remove", " x"},   {"remove\tx", false, true, "remove", "\tx"},
        {"removeX", false, true, "removeX", ""},      {"removeXY", false, false, "", ""},
        {"\"remove\"", false, false, "", ""},        {"", false, true, "", ""},
        {"\"a b\" c", true, true, "a b", " c"},     {"\"open", true, true, "open", ""},
        {"a\"b c", true, true, "a\"b", " c"},
    };
    for (auto& c : cases) {
        char word[8];
        const char* p = c.text;
        bool fits = c.quotable ? CopyQuotableWord(p, " \t", word, sizeof word)
                               : CopyWord(p, " \t", word, sizeof word);
        EXPECT_EQ(c.fits, fits) << c.text;
        if (!fits) continue;
        EXPECT_STREQ(c.word, word) << c.text;
        EXPECT_STREQ(c.rest, p) << c.text;
    }
}

TEST(MatchModeWord, PrefixesInAnyLetterCase) {
    const struct { const char* tail; ModeWord mode; } cases[] = {
        {"verbose", ModeVerbose}, {"VERBOSE", ModeVerbose}, {"Verbose now", ModeVerbose},
        {"quiet", ModeQuiet},     {"QUIETLY", ModeQuiet},   {"silent /rootkey=x", ModeSilent},
        {"Install", ModeInstall}, {"services", ModeServices}, {"SERVICESX", ModeServices},
        {"", ModeNone},           {"verbos", ModeNone},     {" quiet", ModeNone},
        {"uninstall", ModeNone},  {"s\xC9LENT", ModeNone},
    };
    for (auto& c : cases) EXPECT_EQ(c.mode, MatchModeWord(c.tail)) << c.tail;
}

class EntryPoint : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        RunMode = Silent;
        InstallMode = true;   // the entry point must clear both
        RestartNeeded = true;
    }
    int Run(const char* tail) {
        std::string line = std::string("uninst.exe ") + tail;
        fake::SetCommandLine(line);
        return WinMain(nullptr, nullptr, (LPSTR)tail, 1);
    }
};

TEST_F(EntryPoint, NoModeWordDoesNothing) {
    for (const char* tail : {"", "remove", "/rootkey=X"}) {
        SetUp();
        fake::RegSeedString("HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo", "Device", "XLNG");
        auto before = fake::RegDump();
        EXPECT_EQ(4, Run(tail)) << tail;
        EXPECT_TRUE(fake::CallsTo("Reg").empty()) << tail << ": touched the registry";
        EXPECT_EQ(before, fake::RegDump()) << tail;
        EXPECT_FALSE(InstallMode);
        EXPECT_FALSE(RestartNeeded);
    }
}

TEST_F(EntryPoint, ModeWordsSetTheRunMode) {
    const struct { const char* tail; int32_t mode; bool install; } cases[] = {
        {"quiet", Quiet, false}, {"SILENT now", Silent, false}, {"install", Silent, true},
    };
    for (auto& c : cases) {
        SetUp();
        RunMode = Verbose;
        EXPECT_EQ(1, Run(c.tail)) << c.tail << ": no description";
        EXPECT_EQ(c.mode, RunMode) << c.tail;
        EXPECT_EQ(c.install, InstallMode) << c.tail;
    }
}

}  // namespace

// Double-byte-aware text routines: a trail byte is never a separator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/fake_world.h"
#include "platform/mbtext.h"

namespace {

std::vector<std::string> Split(std::string text, char separator) {
    std::vector<std::string> pieces;
    char* state = nullptr;
    for (char* p = MbToken(&text[0], separator, &state); p; p = MbToken(nullptr, separator, &state))
        pieces.push_back(p);
    return pieces;
}

TEST(MbToken, SkipsEmptyPieces) {
    fake::Reset();
    const struct { const char* text; std::vector<std::string> pieces; } cases[] = {
        {"a;b", {"a", "b"}}, {";;a;;b;", {"a", "b"}}, {"", {}}, {";;;", {}}, {" a ; b", {" a ", " b"}},
    };
    for (auto& c : cases) EXPECT_EQ(c.pieces, Split(c.text, ';')) << c.text;
}

TEST(MbText, TrailBytesAreNotSeparators) {
    fake::Reset();
    fake::SetAnsiCodePage(932);
    // 0x83 0x5C is a katakana whose trail byte is a backslash.
    const char path[] = "C:\\\x83\x5C\\file";
    EXPECT_EQ(path + 2, MbFindChar(path, '\\'));
    EXPECT_EQ(path + 5, MbFindChar(path + 3, '\\'));
    char text[] = "\x83\x5C;x";
    MbReplaceChar(text, '\\', '/');
    EXPECT_STREQ("\x83\x5C;x", text);
    fake::SetAnsiCodePage(1252);
    MbReplaceChar(text, '\\', '/');
    EXPECT_STREQ("\x83/;x", text);
}

TEST(MbText, FindStartsOnlyAtCharacterBoundaries) {
    fake::Reset();
    fake::SetAnsiCodePage(932);
    const char text[] = "\x83\x5C" "ab\\ab";
    EXPECT_EQ(text + 4, MbFind(text, "\\ab"));
    EXPECT_EQ(nullptr, MbFind(text, "zz"));
}

// A lead byte with nothing after it is one character: the walk stops at the
// terminator instead of stepping over it.
TEST(MbText, LoneLeadByteBeforeTheEnd) {
    fake::Reset();
    fake::SetAnsiCodePage(932);
    std::vector<char> text = {'a', '\x82', 0};  // exact size: a read past it is caught
    EXPECT_EQ(&text[2], MbNext(&text[1]));
    EXPECT_EQ(nullptr, MbFindChar(text.data(), 'z'));
}

TEST(MbCopy, CutsWithoutSplittingACharacter) {
    fake::Reset();
    fake::SetAnsiCodePage(932);
    char out[4];
    memset(out, '#', sizeof out);
    EXPECT_FALSE(MbCopy(out, sizeof out, "ab\x83\x5C"));
    EXPECT_STREQ("ab", out);
    EXPECT_TRUE(MbCopy(out, sizeof out, "a\x83\x5C"));
    EXPECT_STREQ("a\x83\x5C", out);
}

}  // namespace

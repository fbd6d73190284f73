// The Windows build's own string and memory-block functions, compiled here
// under other names: overlapping moves, bytes above 127 compared as
// unsigned, and the terminator found by strchr.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#define memset crt_memset
#define memcpy crt_memcpy
#define memmove crt_memmove
#define memcmp crt_memcmp
#define memchr crt_memchr
#define strlen crt_strlen
#define strcpy crt_strcpy
#define strcat crt_strcat
#define strncmp crt_strncmp
#define strcmp crt_strcmp
#define strchr crt_strchr
#include "platform/win32/string_functions.cpp"
#undef memset
#undef memcpy
#undef memmove
#undef memcmp
#undef memchr
#undef strlen
#undef strcpy
#undef strcat
#undef strncmp
#undef strcmp
#undef strchr

namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(CRuntime, MovesOverlappingBlocksBothWays) {
    const struct {
        const char* name;
        size_t target, source, size;
        const char* expected;
    } cases[] = {
        {"up", 2, 0, 5, "ababcdeh\0\0"},
        {"down", 0, 2, 5, "cdefgfgh\0\0"},
        {"none", 0, 0, 8, "abcdefgh\0\0"},
    };
    for (auto& c : cases) {
        char block[11] = "abcdefgh\0\0";
        char* target = block + c.target;
        EXPECT_EQ(target, crt_memmove(target, block + c.source, c.size)) << c.name;
        EXPECT_EQ(std::string(c.expected, 10), std::string(block, 10)) << c.name;
    }
}

TEST(CRuntime, ComparesBytesAsUnsigned) {
    const struct {
        const char* a;
        const char* b;
        size_t n;
        int sign;
    } cases[] = {
        {"abc", "abc", 9, 0}, {"abc", "abd", 9, -1}, {"\xE4", "a", 9, 1},
        {"ab", "abc", 9, -1}, {"abX", "abY", 2, 0},  {"", "", 0, 0},
    };
    for (auto& c : cases) {
        EXPECT_EQ(c.sign, Sign(crt_strncmp(c.a, c.b, c.n))) << c.a << " " << c.b << " " << c.n;
        if (c.n == 9) EXPECT_EQ(c.sign, Sign(crt_strcmp(c.a, c.b))) << c.a << " " << c.b;
        if (c.n == 9) EXPECT_EQ(c.sign, Sign(crt_memcmp(c.a, c.b, 1 + crt_strlen(c.a)))) << c.a;
    }
}

TEST(CRuntime, SearchesCopiesAndFills) {
    const char text[] = "a\\b\xE4";
    EXPECT_EQ(text + 1, crt_strchr(text, '\\'));
    EXPECT_EQ(text + 3, crt_strchr(text, (char)0xE4));
    EXPECT_EQ(text + 4, crt_strchr(text, 0));
    EXPECT_EQ(nullptr, crt_strchr(text, 'z'));
    EXPECT_EQ(text + 3, crt_memchr(text, 0xE4, 4));
    EXPECT_EQ(nullptr, crt_memchr(text, 0, 4));
    char out[12];
    crt_memset(out, '#', sizeof out);
    crt_strcat(crt_strcpy(out, "ab"), "cd");
    EXPECT_EQ(std::string("abcd\0#######", 12), std::string(out, 12));
    EXPECT_EQ(4u, crt_strlen(out));
}

}  // namespace

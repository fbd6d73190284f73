// Macro replacement and the two expansion stages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/fake_world.h"
#include "removal/path_macros.h"

namespace {

struct ReplaceCase {
    const char* name;
    std::string source;
    std::string value;
    size_t room;
    int fits;
    std::string expected;
};

TEST(ReplaceMacro, ReplacesWithinTheRoom) {
    const std::string room_full(512, 'a');
    const ReplaceCase cases[] = {
        {"every occurrence", "%WIN_DIR%\\a;%WIN_DIR%\\b", "C:\\W", 512, 1, "C:\\W\\a;C:\\W\\b"},
        {"lower case untouched", "%win_dir%\\a", "C:\\W", 512, 1, "%win_dir%\\a"},
        {"mixed case untouched", "%Win_Dir%", "C:\\W", 512, 1, "%Win_Dir%"},
        {"cut macro is text", "x%WIN_DIR", "C:\\W", 512, 1, "x%WIN_DIR"},
        {"inserted text not scanned", "%WIN_DIR%", "%WIN_DIR%!", 512, 1, "%WIN_DIR%!"},
        {"empty source", "", "C:\\W", 512, 1, ""},
        {"empty source, no room", "", "C:\\W", 0, 1, ""},
        {"exactly 512 fits", room_full, "C:\\W", 512, 1, room_full},
        {"513 does not fit", room_full + "a", "C:\\W", 512, 0, ""},
        {"value filling the room", "%WIN_DIR%", room_full, 512, 1, room_full},
        {"value one past the room", "a%WIN_DIR%", room_full, 512, 0, ""},
        {"macro at the end", std::string(508, 'a') + "%WIN_DIR%", "C:\\W", 512, 1,
         std::string(508, 'a') + "C:\\W"},
        {"macro one past the end", std::string(509, 'a') + "%WIN_DIR%", "C:\\W", 512, 0, ""},
    };
    for (const ReplaceCase& c : cases) {
        fake::Reset();
        std::vector<char> out(c.room + 1, '#');  // exactly room + terminator
        int fits = ReplaceMacro(c.source.c_str(), "%WIN_DIR%", c.value.c_str(), out.data(), c.room);
        EXPECT_EQ(c.fits, fits) << c.name;
        if (fits) EXPECT_EQ(c.expected, std::string(out.data())) << c.name;
    }
}

// A double-byte character takes two bytes of the room and is never split.
TEST(ReplaceMacro, DoubleByteCharactersCountTheirBytes) {
    fake::Reset();
    fake::SetAnsiCodePage(932);
    const std::string kanji = "\x82\xA0";
    struct {
        const char* name;
        std::string source;
        int fits;
    } cases[] = {
        {"510 + 2 bytes fit", std::string(510, 'a') + kanji, 1},
        {"511 + 2 bytes do not", std::string(511, 'a') + kanji, 0},
    };
    for (auto& c : cases) {
        std::vector<char> out(513);
        EXPECT_EQ(c.fits, ReplaceMacro(c.source.c_str(), "%WIN_DIR%", "C:\\W", out.data(), 512))
            << c.name;
        if (c.fits) EXPECT_EQ(c.source, std::string(out.data())) << c.name;
    }
}

struct ExpandCase {
    const char* name;
    std::string entry;
    std::string windows_dir;
    std::string system_dir;
    bool fits;
    std::string expected;
};

TEST(ExpandPathMacros, WindowsDirectoryFirstThenSystemDirectory) {
    const ExpandCase cases[] = {
        {"both macros", "%WIN_DIR%\\a,%WIN_SYS_DIR%\\b", "C:\\WIN", "C:\\WIN\\SYS", true,
         "C:\\WIN\\a,C:\\WIN\\SYS\\b"},
        {"second stage sees the first's text", "%WIN_DIR%\\x", "C:\\%WIN_SYS_DIR%", "S", true,
         "C:\\S\\x"},
        {"first stage does not see the second's", "%WIN_SYS_DIR%\\x", "W", "C:\\%WIN_DIR%", true,
         "C:\\%WIN_DIR%\\x"},
        {"first stage too long", std::string(505, 'a') + "%WIN_DIR%", "C:\\WINDOWS", "S", false,
         ""},
        {"only the second stage too long", std::string(495, 'a') + "%WIN_SYS_DIR%", "W",
         "C:\\WINDOWS\\SYSTEM32", false, ""},
    };
    for (const ExpandCase& c : cases) {
        std::vector<char> out(PATH_BUFFER_SIZE);
        bool fits = ExpandPathMacros(c.entry.c_str(), c.windows_dir.c_str(), c.system_dir.c_str(),
                                     out.data());
        EXPECT_EQ(c.fits, fits) << c.name;
        if (fits) EXPECT_EQ(c.expected, std::string(out.data())) << c.name;
    }
}

}  // namespace

// Message lookup: the language chain, the registry overrides and the
// product-name placeholder.
#include <gtest/gtest.h>

#include "messages/localized_string.h"
#include "platform/host/fake_world.h"
#include "tests/stand_ins/stand_ins.h"
#include "tests/unit/text_helpers.h"

namespace {

const std::string kTree = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\LocalizedStrings\\";
const char16_t kProduct[] = u"XLN 802.11g Network Adapter";

// Message 13 ("Uninstall Error") in a few of the tables.
const std::u16string kEnglish13 = u"Uninstall Error";
const std::u16string kGerman13 = u"Deinstallationsfehler";


class LocalizedStringTest : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
    void TearDown() override { EXPECT_EQ(0, fake::OpenKeyCount()); }
};

struct ChainCase {
    LANGID user;
    LANGID table;  // the table that answers message 13
};

TEST_F(LocalizedStringTest, LanguageChainFindsTheRightTable) {
    const ChainCase cases[] = {
        {0x0407, 0x0007},  // German: the neutral German table
        {0x0807, 0x0007},  // German (Switzerland): same primary language
        {0x0816, 0x0016},  // Portuguese (Portugal)
        {0x0416, 0x0416},  // Portuguese (Brazil): its own table
        {0x0C04, 0x0404},  // Chinese (Hong Kong): default sublanguage, Taiwan
        {0x1004, 0x0404},  // Chinese (Singapore)
        {0x0809, 0x0409},  // English (United Kingdom): second step
        {0x0422, 0x0409},  // Ukrainian: not carried, English at the third step
    };
    for (const ChainCase& c : cases) {
        fake::Reset();
        fake::SetUserLanguage(c.user);
        std::u16string expected = TakeW(LoadStringTableEntry(nullptr, 13, c.table));
        EXPECT_EQ(Show(expected), Show(TakeW(FindLocalizedStringW(nullptr, 13))))
            << "user language " << std::hex << c.user;
    }
}

TEST_F(LocalizedStringTest, ChainTablesDifferWhereTheyShould) {
    // Guards the table above against every language answering alike.
    EXPECT_EQ(Show(kGerman13), Show(TakeW(LoadStringTableEntry(nullptr, 13, 0x0007))));
    EXPECT_NE(TakeW(LoadStringTableEntry(nullptr, 3, 0x0416)),
              TakeW(LoadStringTableEntry(nullptr, 3, 0x0016)));
    EXPECT_EQ(u"<none>", TakeW(LoadStringTableEntry(nullptr, 13, 0x0422)));
    EXPECT_EQ(u"<none>", TakeW(LoadStringTableEntry(nullptr, 13, 0x0C04)));
}

TEST_F(LocalizedStringTest, ChainOrderOfAttempts) {
    fake::SetUserLanguage(0x0422);
    TakeW(FindLocalizedStringW(nullptr, 13));
    std::vector<std::string> expected = {"FindResourceExA 0422\\6\\1", "FindResourceExA 0422\\6\\1",
                                         "FindResourceExA 0409\\6\\1"};
    EXPECT_EQ(expected, fake::CallsTo("FindResourceExA"));
}

struct OverrideCase {
    const char* name;
    LANGID user;
    std::vector<std::pair<std::string, std::u16string>> overrides;  // key below the tree, text
    std::u16string expected;
};

TEST_F(LocalizedStringTest, RegistryOverrides) {
    const OverrideCase cases[] = {
        {"exact language beats its table", 0x0407, {{"UNINST\\7\\1", u"Fehler!"}}, u"Fehler!"},
        {"empty override is an empty message", 0x0407, {{"UNINST\\7\\1", u""}}, u""},
        {"other stem is not consulted", 0x0407, {{"SETUP\\7\\1", u"Fehler!"}}, kGerman13},
        {"0807 takes 7\\2", 0x0807, {{"UNINST\\7\\2", u"Schweiz"}}, u"Schweiz"},
        {"0807 ignores 7\\1: the table answers first", 0x0807, {{"UNINST\\7\\1", u"Deutschland"}},
         kGerman13},
        {"0407 takes the first subkey when 7\\1 is missing", 0x0407,
         {{"UNINST\\7\\3", u"Drei"}, {"UNINST\\7\\5", u"Fuenf"}}, u"Drei"},
        {"0407 prefers 7\\1 to the first subkey", 0x0407,
         {{"UNINST\\7\\1", u"Eins"}, {"UNINST\\7\\0", u"Null"}}, u"Eins"},
        {"0807 takes no first subkey", 0x0807, {{"UNINST\\7\\3", u"Drei"}}, kGerman13},
        {"0422 takes 34\\1", 0x0422, {{"UNINST\\34\\1", u"Pomylka"}}, u"Pomylka"},
        {"0422 takes the first subkey of 34", 0x0422, {{"UNINST\\34\\2", u"Druga"}}, u"Druga"},
        {"0422 takes 9\\1 before the English table", 0x0422, {{"UNINST\\9\\1", u"Oops"}}, u"Oops"},
        {"0422 without overrides: English", 0x0422, {}, kEnglish13},
    };
    for (const OverrideCase& c : cases) {
        fake::Reset();
        fake::SetUserLanguage(c.user);
        for (auto& o : c.overrides) fake::RegSeedWideString(kTree + o.first, "13", o.second);
        EXPECT_EQ(Show(c.expected), Show(TakeW(FindLocalizedStringW(nullptr, 13)))) << c.name;
        EXPECT_EQ(0, fake::OpenKeyCount()) << c.name;
    }
}

TEST_F(LocalizedStringTest, RenamedExecutableUsesItsOwnSubtree) {
    fake::RegSeedWideString(kTree + "UNINST\\9\\1", "13", u"Old name");
    fake::RegSeedWideString(kTree + "Remove.Net\\9\\1", "13", u"New name");
    EXPECT_EQ(u"Old name", TakeW(FindLocalizedStringW(nullptr, 13)));
    fake::SetModulePath("C:\\Tools\\Remove.Net.exe");
    EXPECT_EQ(u"New name", TakeW(FindLocalizedStringW(nullptr, 13)));
    fake::SetModulePath("C:\\Tools\\Other.exe");
    EXPECT_EQ(kEnglish13, TakeW(FindLocalizedStringW(nullptr, 13)));
}

struct StemCase {
    const char* path;
    const char* stem;
};

TEST_F(LocalizedStringTest, ModuleStem) {
    const StemCase cases[] = {
        {"C:\\Program Files\\XLN\\UNINST.EXE", "UNINST"},
        {"C:\\Tools\\Remove.Net.exe", "Remove.Net"},
        {"C:\\Tools\\NoExtension", "NoExtension"},
        {"C:\\Dot.Dir\\Plain", "Plain"},
        {"UNINST.EXE", "<none>"},    // no folder
        {"C:\\Tools\\.exe", "<none>"},  // nothing left to name a subtree
        {"C:\\Tools\\", "<none>"},
    };
    for (const StemCase& c : cases) {
        fake::Reset();
        fake::SetModulePath(c.path);
        EXPECT_EQ(c.stem, Take(GetModuleStem(nullptr))) << c.path;
    }
}

TEST_F(LocalizedStringTest, StemSkipsTrailBytesThatLookLikeBackslashes) {
    fake::SetAnsiCodePage(932);
    // 0x95 0x5C is one Japanese character whose trail byte is '\'.
    fake::SetModulePath("C:\\Tools\\\x95\x5C.exe");
    EXPECT_EQ("\x95\x5C", Take(GetModuleStem(nullptr)));
}

TEST_F(LocalizedStringTest, NoModuleNameMeansNoOverride) {
    fake::RegSeedWideString(kTree + "UNINST\\9\\1", "13", u"Override");
    fake::FailCall("GetModuleFileNameA", ERROR_ACCESS_DENIED, 0);
    EXPECT_EQ(kEnglish13, TakeW(FindLocalizedStringW(nullptr, 13)));
}

// 9x is asked with a narrow value name and NT with a UTF-16 one; the bytes
// are taken as UTF-16 either way.
TEST_F(LocalizedStringTest, NineXAndNtQueries) {
    const std::string utf16_bytes("H\0i\0!\0\0\0", 8);
    const struct {
        const char* name;
        fake::WindowsVersion version;
        const char* api;
    } cases[] = {{"XP", fake::kWinXP, "RegQueryValueExW"}, {"98", fake::kWin98, "RegQueryValueExA"}};
    for (auto& c : cases) {
        fake::Reset();
        fake::SetWindowsVersion(c.version);
        fake::RegSeedBytes(kTree + "UNINST\\9\\1", "13", REG_BINARY, utf16_bytes);
        EXPECT_EQ(u"Hi!", TakeW(FindLocalizedStringW(nullptr, 13))) << c.name;
        EXPECT_EQ(2u, fake::CallsTo(c.api).size()) << c.name;  // the size, then the data
    }
}

struct DataCase {
    const char* name;
    std::string bytes;
    std::u16string expected;
};

TEST_F(LocalizedStringTest, OverrideDataEndsWithinItsBytes) {
    const DataCase cases[] = {
        {"no terminator", std::string("O\0K\0", 4), u"OK"},
        {"odd byte count drops the half unit", std::string("O\0K\0!", 5), u"OK"},
        {"one byte is empty", std::string("O", 1), u""},
        {"ends at the first NUL", std::string("A\0\0\0B\0", 6), u"A"},
        {"no data at all", std::string(), u""},
    };
    for (const DataCase& c : cases) {
        fake::Reset();
        fake::RegSeedBytes(kTree + "UNINST\\9\\1", "13", REG_BINARY, c.bytes);
        EXPECT_EQ(Show(c.expected), Show(TakeW(ReadLocalizedStringOverride(nullptr, 13, 0x0409))))
            << c.name;
    }
}

TEST_F(LocalizedStringTest, FailedQueryFallsBackToTheTable) {
    fake::RegSeedWideString(kTree + "UNINST\\9\\1", "13", u"Override");
    fake::FailCall("RegQueryValueExW", ERROR_ACCESS_DENIED, 2);
    EXPECT_EQ(kEnglish13, TakeW(FindLocalizedStringW(nullptr, 13)));
}

struct PlaceholderCase {
    const char* name;
    std::u16string text;
    std::u16string expected;
};

TEST_F(LocalizedStringTest, Placeholders) {
    const std::u16string p = kProduct;
    const PlaceholderCase cases[] = {
        {"one", u"Remove %OEM_FULL_PRODUCT_NAME% now", u"Remove " + p + u" now"},
        {"two", u"%OEM_FULL_PRODUCT_NAME%/%OEM_FULL_PRODUCT_NAME%", p + u"/" + p},
        {"'%' just before", u"x%%OEM_FULL_PRODUCT_NAME%", u"x%" + p},
        {"lone '%' earlier", u"50% of %OEM_FULL_PRODUCT_NAME%", u"50% of " + p},
        {"lower case stays", u"%oem_full_product_name%", u"%oem_full_product_name%"},
        {"never closed", u"%OEM_FULL_PRODUCT_NAME", u"%OEM_FULL_PRODUCT_NAME"},
        {"longer word", u"%OEM_FULL_PRODUCT_NAMES%", u"%OEM_FULL_PRODUCT_NAMES%"},
        {"other words stay", u"%WIN_DIR% %OEM_FULL_PRODUCT_NAME%", u"%WIN_DIR% " + p},
        {"no placeholder", u"plain", u"plain"},
        {"empty", u"", u""},
    };
    for (const PlaceholderCase& c : cases) {
        fake::Reset();
        fake::RegSeedWideString(kTree + "UNINST\\9\\1", "13", c.text);
        EXPECT_EQ(Show(c.expected), Show(TakeW(LocalizedStringW(nullptr, 13)))) << c.name;
    }
}

TEST_F(LocalizedStringTest, ProductNameIsNotSearchedForPlaceholders) {
    fake::RegSeedWideString(kTree + "UNINST\\9\\1", "25", u"<%OEM_FULL_PRODUCT_NAME%>");
    fake::RegSeedWideString(kTree + "UNINST\\9\\1", "13", u"[%OEM_FULL_PRODUCT_NAME%]");
    EXPECT_EQ(u"[<%OEM_FULL_PRODUCT_NAME%>]", TakeW(LocalizedStringW(nullptr, 13)));
}

TEST_F(LocalizedStringTest, MissingProductNameLeavesThePlaceholder) {
    fake::FailCall("FindResourceExA", 1815, 0, "6\\2");  // block 2 holds id 25
    EXPECT_EQ(u"Removing the %OEM_FULL_PRODUCT_NAME%", TakeW(LocalizedStringW(nullptr, 3)));
}

TEST_F(LocalizedStringTest, NarrowTextInTheAnsiCodePage) {
    fake::SetUserLanguage(0x0407);
    EXPECT_EQ("Entfernen best\xE4tigen", Take(LocalizedString(nullptr, 1)));
    EXPECT_EQ("Removing the XLN 802.11g Network Adapter", [] {
        fake::SetUserLanguage(0x0409);
        return Take(LocalizedString(nullptr, 3));
    }());
}

TEST_F(LocalizedStringTest, NoTextOrFailedConversionGivesNone) {
    EXPECT_EQ("<none>", Take(LocalizedString(nullptr, 30)));
    // 0x100009 would wrap to the block of id 9 if cut to a 16-bit name.
    EXPECT_EQ("<none>", Take(LocalizedString(nullptr, 0x100009)));
    fake::FailCall("WideCharToMultiByte", ERROR_INVALID_PARAMETER);
    EXPECT_EQ("<none>", Take(LocalizedString(nullptr, 13)));
}

}  // namespace

namespace {

// Without the UTF-16 query (the first Windows 95's advapi32 reporting an NT
// platform cannot happen, but the lookup must not crash) the table answers.
TEST(LocalizedStringRuntimeLookup, MissingUtf16QueryFallsBackToTheTable) {
    fake::Reset();
    fake::RegSeedWideString("HKLM\\SOFTWARE\\Tarnwell\\802.11\\LocalizedStrings\\UNINST\\9\\1", "13",
                            u"Override");
    stand_in::RemoveExport("advapi32.dll", "RegQueryValueExW");
    EXPECT_EQ(u"Uninstall Error", TakeW(FindLocalizedStringW(nullptr, 13)));
    EXPECT_EQ(0, fake::OpenKeyCount());
}

}  // namespace

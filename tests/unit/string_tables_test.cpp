// The compiled string tables against their sources: every language answers
// each of its rows with the text written in its .rc file, that text fits the
// language's ANSI code page, and it carries the placeholder wherever the
// English row does.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "messages/localized_string.h"
#include "platform/host/fake_world.h"
#include "tests/stand_ins/stand_ins.h"
#include "tests/unit/text_helpers.h"

namespace {

struct Language {
    const char* file;
    LANGID id;
    UINT code_page;
};

const Language kLanguages[] = {
    {"ar.rc", 0x0001, 1256},    {"bg.rc", 0x0002, 1251},    {"cs.rc", 0x0005, 1250},
    {"da.rc", 0x0006, 1252},    {"de.rc", 0x0007, 1252},    {"el.rc", 0x0008, 1253},
    {"es.rc", 0x000A, 1252},    {"fi.rc", 0x000B, 1252},    {"fr.rc", 0x000C, 1252},
    {"he.rc", 0x000D, 1255},    {"hu.rc", 0x000E, 1250},    {"it.rc", 0x0010, 1252},
    {"ja.rc", 0x0011, 932},     {"ko.rc", 0x0012, 949},     {"nl.rc", 0x0013, 1252},
    {"no.rc", 0x0014, 1252},    {"pl.rc", 0x0015, 1250},    {"pt.rc", 0x0016, 1252},
    {"ro.rc", 0x0018, 1250},    {"ru.rc", 0x0019, 1251},    {"hr.rc", 0x001A, 1250},
    {"sk.rc", 0x001B, 1250},    {"sv.rc", 0x001D, 1252},    {"th.rc", 0x001E, 874},
    {"tr.rc", 0x001F, 1254},    {"sl.rc", 0x0024, 1250},    {"et.rc", 0x0025, 1257},
    {"lv.rc", 0x0026, 1257},    {"lt.rc", 0x0027, 1257},    {"zh-TW.rc", 0x0404, 950},
    {"en-US.rc", 0x0409, 1252}, {"pt-BR.rc", 0x0416, 1252}, {"zh-CN.rc", 0x0804, 936},
};

const char16_t kPlaceholder[] = u"%OEM_FULL_PRODUCT_NAME%";

// The rows `id, "text"` of a string-table source, by id.
std::map<UINT, std::string> ReadRows(const std::string& file) {
    std::ifstream in(std::string(RESOURCE_SOURCE_DIR) + "/strings/" + file);
    std::map<UINT, std::string> rows;
    std::string line;
    while (std::getline(in, line)) {
        size_t comma = line.find(','), open = line.find('"'), close = line.rfind('"');
        if (comma == std::string::npos || open == std::string::npos || close <= open) continue;
        char* end = nullptr;
        unsigned long id = strtoul(line.c_str(), &end, 10);
        if (end == line.c_str() || (size_t)(end - line.c_str()) > comma) continue;
        rows[(UINT)id] = line.substr(open + 1, close - open - 1);
    }
    return rows;
}

size_t CountPlaceholders(const std::u16string& text) {
    size_t count = 0;
    for (size_t at = text.find(kPlaceholder); at != std::u16string::npos;
         at = text.find(kPlaceholder, at + 1))
        ++count;
    return count;
}

TEST(StringTables, EveryLanguageCarriesItsSourceRows) {
    fake::Reset();
    std::map<UINT, std::string> english = ReadRows("en-US.rc");
    ASSERT_EQ(17u, english.size());
    for (const Language& language : kLanguages) {
        std::map<UINT, std::string> rows = ReadRows(language.file);
        EXPECT_EQ(english.size(), rows.size()) << language.file;
        for (auto& row : rows) {
            std::u16string wanted = U16(row.second);
            std::u16string got = TakeW(LoadStringTableEntry(nullptr, row.first, language.id));
            EXPECT_EQ(Show(wanted), Show(got)) << language.file << " id " << row.first;
            bool used_default = false;
            EXPECT_FALSE(stand_in::NarrowText(got, language.code_page, &used_default).empty())
                << language.file << " id " << row.first;
            EXPECT_FALSE(used_default) << language.file << " id " << row.first
                                       << " does not fit code page " << language.code_page;
            EXPECT_EQ(CountPlaceholders(U16(english[row.first])), CountPlaceholders(got))
                << language.file << " id " << row.first;
        }
    }
}

// Once the placeholder is out, a '%' left in a row is a misspelt one that
// would reach the user as it stands; and the product name is never translated.
TEST(StringTables, NoStrayPercentAndTheNameIsEnglish) {
    fake::Reset();
    for (const Language& language : kLanguages) {
        for (auto& row : ReadRows(language.file)) {
            std::u16string text = TakeW(LoadStringTableEntry(nullptr, row.first, language.id));
            for (size_t at; (at = text.find(kPlaceholder)) != std::u16string::npos;) text.erase(at, 23);
            EXPECT_EQ(std::u16string::npos, text.find(u'%')) << language.file << " id " << row.first;
        }
        EXPECT_EQ("XLN 802.11g Network Adapter", Show(TakeW(LoadStringTableEntry(nullptr, 25, language.id))))
            << language.file;
    }
}

// French sets "?", "!", ":" and ";" off with a no-break space, so that a
// line never starts with one.
TEST(StringTables, FrenchPunctuationKeepsItsNoBreakSpace) {
    fake::Reset();
    for (auto& row : ReadRows("fr.rc")) {
        std::u16string text = TakeW(LoadStringTableEntry(nullptr, row.first, 0x000C));
        for (size_t at = text.find_first_of(u"?!:;"); at != std::u16string::npos; at = text.find_first_of(u"?!:;", at + 1))
            EXPECT_TRUE(at > 0 && text[at - 1] == u'\u00A0') << "fr id " << row.first << ": " << Show(text);
    }
}

// Block 65535, the last a resource name can hold, is looked up; the next
// id would need block 65536 and is not.
TEST(StringTables, LastBlockIsTheLastLookedUp) {
    fake::Reset();
    EXPECT_EQ("<none>", Show(TakeW(LoadStringTableEntry(nullptr, 0xFFFF * 16 - 1, 0x0409))));
    EXPECT_EQ(1u, fake::CallsTo("FindResourceExA").size());
    EXPECT_EQ("<none>", Show(TakeW(LoadStringTableEntry(nullptr, 0xFFFF * 16, 0x0409))));
    EXPECT_EQ(1u, fake::CallsTo("FindResourceExA").size());
}

TEST(StringTables, UnfilledIdsHaveNoText) {
    fake::Reset();
    const UINT kEmpty[] = {0, 17, 24, 26, 28, 29, 31, 32};
    for (const Language& language : kLanguages) {
        std::map<UINT, std::string> rows = ReadRows(language.file);
        for (UINT id : kEmpty) {
            if (rows.count(id)) continue;
            EXPECT_EQ("<none>", Show(TakeW(LoadStringTableEntry(nullptr, id, language.id))))
                << language.file << " id " << id;
        }
    }
}

// The user's language and code page together: the narrow message of each
// language is the source text, product name filled in, in its code page.
TEST(StringTables, NarrowMessageInEachLanguage) {
    for (const Language& language : kLanguages) {
        fake::Reset();
        fake::SetUserLanguage(language.id);
        fake::SetAnsiCodePage(language.code_page);
        std::map<UINT, std::string> rows = ReadRows(language.file);
        std::u16string wanted = U16(rows[14]);
        wanted.replace(wanted.find(kPlaceholder), 23, u"XLN 802.11g Network Adapter");
        bool used_default = false;
        EXPECT_EQ(stand_in::NarrowText(wanted, language.code_page, &used_default), Take(LocalizedString(nullptr, 14)))
            << language.file;
    }
}

}  // namespace

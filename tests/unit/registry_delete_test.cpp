// Recursive key deletion and the emptiness test: what goes, what stays, and
// the report made at each failure site and at every level above it.
#include "removal/registry_delete.h"

#include "removal_test_support.h"

namespace {

const char kEnum[] = "RegEnumKey() failed";
const char kInner[] = "TAVKDeleteKey() failed";
const char kEnumValue[] = "RegEnumValue() failed";

// HKLM\T\S\L\D, each level with one value, beside a key that must stay.
void SeedTree() {
    fake::RegSeedString("HKLM\\T", "v", "top");
    fake::RegSeedString("HKLM\\T\\S", "v", "second");
    fake::RegSeedString("HKLM\\T\\S\\L", "v", "third");
    fake::RegSeedString("HKLM\\T\\S\\L\\D", "v", "fourth");
    fake::RegSeedString("HKLM\\T\\S\\Sibling", "", "default");
    fake::RegSeedString("HKLM\\Keep", "v", "kept");
}

TEST(TAVKDeleteKey, RemovesEveryLevelAndNothingElse) {
    FreshWorld();
    SeedTree();
    EXPECT_EQ(0, TAVKDeleteKey(HKEY_LOCAL_MACHINE, "T"));
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\T"));
    EXPECT_TRUE(fake::RegValueExists("HKLM\\Keep", "v"));
    EXPECT_TRUE(Reports().empty());
    ExpectNothingOpen("whole tree");
}

TEST(TAVKDeleteKey, PathBelowAnOpenKey) {
    FreshWorld();
    SeedTree();
    HKEY software;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyA(HKEY_LOCAL_MACHINE, "T", &software));
    EXPECT_EQ(0, TAVKDeleteKey(software, "S\\L"));
    RegCloseKey(software);
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\T\\S\\L"));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\T\\S\\Sibling"));
    ExpectNothingOpen("path below an open key");
}

TEST(TAVKDeleteKey, NothingToOpenIsNotReported) {
    const struct {
        const char* name;
        const char* key;
    } cases[] = {{"missing key", "Absent"}, {"missing below existing", "T\\Absent"}};
    for (auto& c : cases) {
        FreshWorld();
        SeedTree();
        std::vector<std::string> before = fake::RegDump();
        EXPECT_EQ(2, TAVKDeleteKey(HKEY_LOCAL_MACHINE, c.key)) << c.name;
        EXPECT_TRUE(Reports().empty()) << c.name;
        EXPECT_EQ(before, fake::RegDump()) << c.name;
        ExpectNothingOpen(c.name);
    }
}

// An empty name would open the parent itself and empty it.
TEST(TAVKDeleteKey, EmptyNameIsRefused) {
    FreshWorld();
    SeedTree();
    std::vector<std::string> before = fake::RegDump();
    EXPECT_EQ(2, TAVKDeleteKey(HKEY_LOCAL_MACHINE, ""));
    HKEY top;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyA(HKEY_LOCAL_MACHINE, "T", &top));
    EXPECT_EQ(2, TAVKDeleteKey(top, ""));
    EXPECT_EQ(2, TAVKDeleteKey(top, nullptr));
    RegCloseKey(top);
    EXPECT_EQ(before, fake::RegDump());
    ExpectNothingOpen("empty name");
}

struct FailureCase {
    const char* name;
    const char* api;
    const char* subject;
    std::vector<std::string> reports;
    int32_t last_code;
    bool values_kept_on_the_way_up;
};

TEST(TAVKDeleteKey, EachFailureSiteReportsItsCodeAndEveryLevelAbove) {
    const FailureCase cases[] = {
        {"subkeys of the top cannot be listed", "RegEnumKeyA", "HKLM\\T", {kEnum}, 2754, true},
        {"subkeys three levels down cannot be listed", "RegEnumKeyA", "T\\S\\L",
         {kEnum, kInner, kInner}, 2761, true},
        {"key four levels down cannot be opened", "RegOpenKeyA", "T\\S\\L\\D",
         {kInner, kInner, kInner}, 2761, true},
        {"values three levels down cannot be listed", "RegEnumValueA", "T\\S\\L",
         {kEnumValue, kInner, kInner}, 2761, true},
        {"values of the top cannot be listed", "RegEnumValueA", "HKLM\\T", {kEnumValue}, 2777, true},
        {"a value cannot be deleted", "RegDeleteValueA", "HKLM\\T", {"RegDeleteValue() failed"},
         2784, true},
        {"the emptied key cannot be closed", "RegCloseKey", "HKLM\\T", {"RegCloseKey() failed"},
         2795, false},
        {"the emptied key cannot be deleted", "RegDeleteKeyA", "HKLM\\T",
         {"RegDeleteKey() failed"}, 2801, false},
        {"a key four levels down cannot be deleted", "RegDeleteKeyA", "T\\S\\L\\D",
         {"RegDeleteKey() failed", kInner, kInner, kInner}, 2761, true},
    };
    for (const FailureCase& c : cases) {
        FreshWorld();
        SeedTree();
        fake::FailCall(c.api, ERROR_ACCESS_DENIED, 1, c.subject);
        EXPECT_EQ(2, TAVKDeleteKey(HKEY_LOCAL_MACHINE, "T")) << c.name;
        EXPECT_EQ(c.reports, Reports()) << c.name;
        EXPECT_EQ(c.last_code, ErrorState.code) << c.name;
        EXPECT_STREQ("TAVK", ErrorState.module_tag) << c.name;
        EXPECT_TRUE(fake::RegKeyExists("HKLM\\T")) << c.name;
        EXPECT_EQ(c.values_kept_on_the_way_up, fake::RegValueExists("HKLM\\T", "v")) << c.name;
        EXPECT_TRUE(fake::RegValueExists("HKLM\\Keep", "v")) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(TAVKDeleteKey, NamesLongerThan128CharactersFailTheListing) {
    const struct {
        const char* name;
        std::string key;
        std::string value;
        const char* report;
    } cases[] = {
        {"subkey name of 129", "HKLM\\T\\" + std::string(129, 'k'), "v", kEnum},
        {"value name of 129", "HKLM\\T", std::string(129, 'v'), kEnumValue},
    };
    for (auto& c : cases) {
        FreshWorld();
        fake::RegSeedString(c.key, c.value, "x");
        EXPECT_EQ(2, TAVKDeleteKey(HKEY_LOCAL_MACHINE, "T")) << c.name;
        EXPECT_EQ(std::vector<std::string>{c.report}, Reports()) << c.name;
        EXPECT_TRUE(fake::RegKeyExists(c.key)) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(TAVKDeleteKey, NamesOf128CharactersAreDeleted) {
    FreshWorld();
    fake::RegSeedString("HKLM\\T\\" + std::string(128, 'k'), std::string(128, 'v'), "x");
    EXPECT_EQ(0, TAVKDeleteKey(HKEY_LOCAL_MACHINE, "T"));
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\T"));
    ExpectNothingOpen("names of 128");
}

TEST(IsKeyEmpty, OnlyAKeyWithNothingInItIsEmpty) {
    const struct {
        const char* name;
        void (*seed)();
        const char* fail_api;
        int expected;
    } cases[] = {
        {"no subkeys, no values", [] { fake::RegSeedKey("HKLM\\K"); }, nullptr, 1},
        {"one subkey", [] { fake::RegSeedKey("HKLM\\K\\Sub"); }, nullptr, 0},
        {"only the default value", [] { fake::RegSeedString("HKLM\\K", "", ""); }, nullptr, 0},
        {"one named value", [] { fake::RegSeedBytes("HKLM\\K", "n", REG_DWORD, "1234"); },
         nullptr, 0},
        {"missing", [] { fake::RegSeedKey("HKLM\\Other"); }, nullptr, 0},
        {"subkeys cannot be listed", [] { fake::RegSeedKey("HKLM\\K"); }, "RegEnumKeyA", 0},
        {"values cannot be listed", [] { fake::RegSeedKey("HKLM\\K"); }, "RegEnumValueA", 0},
        {"cannot be closed", [] { fake::RegSeedKey("HKLM\\K"); }, "RegCloseKey", 0},
        {"long value name", [] { fake::RegSeedString("HKLM\\K", std::string(200, 'n'), ""); },
         nullptr, 0},
    };
    for (auto& c : cases) {
        FreshWorld();
        c.seed();
        if (c.fail_api) fake::FailCall(c.fail_api, ERROR_REGISTRY_IO_FAILED, 1, "HKLM\\K");
        EXPECT_EQ(c.expected, IsKeyEmpty(HKEY_LOCAL_MACHINE, "K")) << c.name;
        EXPECT_TRUE(Reports().empty()) << c.name;
        ExpectNothingOpen(c.name);
    }
}

}  // namespace

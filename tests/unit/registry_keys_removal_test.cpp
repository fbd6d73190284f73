// The listed registry keys: the order the entries run in, the search of a
// key's direct subkeys, and the rule for keys that go only when empty.
#include "removal/removal_steps.h"
#include "removal/guardrails/service_evidence.h"

#include <limits.h>

#include "removal_test_support.h"

namespace {

RegistryKeyEntry& AddEntry(UninstallData& data, int32_t order, const char* path,
                           int32_t delete_if_non_empty = 1, const char* search = "") {
    RegistryKeyEntry& entry = data.registry_keys[data.registry_key_count++];
    entry.order = order;
    entry.base_key = HKEY_LOCAL_MACHINE;
    strcpy(entry.key_path, path);
    entry.delete_if_non_empty = delete_if_non_empty;
    strcpy(entry.search_sub_keys, search);
    return entry;
}

// The keys in the order RegDeleteKeyA was asked to delete them.
std::vector<std::string> DeletedInOrder() {
    std::vector<std::string> keys;
    for (const std::string& line : fake::CallsTo("RegDeleteKeyA ")) keys.push_back(line.substr(14));
    return keys;
}

TEST(RemoveRegistryKeys, EntriesRunByAscendingOrderEqualOrdersInRecordOrder) {
    const struct {
        const char* name;
        std::vector<int32_t> orders;
        std::vector<std::string> expected;
    } cases[] = {
        {"2, 0, 1, 0", {2, 0, 1, 0}, {"HKLM\\V\\K1", "HKLM\\V\\K3", "HKLM\\V\\K2", "HKLM\\V\\K0"}},
        {"large and negative orders",
         {2000000000, -5, 0, INT_MIN, INT_MAX, -5},
         {"HKLM\\V\\K3", "HKLM\\V\\K1", "HKLM\\V\\K5", "HKLM\\V\\K2", "HKLM\\V\\K0", "HKLM\\V\\K4"}},
    };
    for (auto& c : cases) {
        UninstallData& data = FreshWorld();
        for (size_t i = 0; i < c.orders.size(); ++i) {
            std::string key = "V\\K" + std::to_string(i);
            fake::RegSeedKey("HKLM\\" + key);
            AddEntry(data, c.orders[i], key.c_str());
        }
        EXPECT_EQ(0, RemoveRegistryKeys(data)) << c.name;
        EXPECT_EQ(c.expected, DeletedInOrder()) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(RemoveRegistryKeys, EntriesWithoutRootOrPathAreSkippedButLaterOnesRun) {
    UninstallData& data = FreshWorld();
    fake::RegSeedString("HKLM\\V\\Keep", "v", "x");
    fake::RegSeedKey("HKLM\\V\\Gone");
    AddEntry(data, 0, "V\\Keep").base_key = nullptr;
    AddEntry(data, 0, "");
    fake::RegSeedKey("HKLM\\V\\Kept");
    AddEntry(data, 0, "", 1, "Kept");  // no path: never a search of the root itself
    AddEntry(data, 1, "V\\Gone");
    EXPECT_EQ(0, RemoveRegistryKeys(data));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\V\\Kept"));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\V\\Keep"));
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\V\\Gone"));
    EXPECT_EQ(std::vector<std::string>{"HKLM\\V\\Gone"}, DeletedInOrder());
    ExpectNothingOpen("skipped entries");
}

TEST(RemoveRegistryKeys, ACountOutsideTheListIsHeldToTheList) {
    const int32_t counts[] = {-3, TAVK_MAX_NUM_REG_KEYS, TAVK_MAX_NUM_REG_KEYS + 500};
    for (int32_t count : counts) {
        UninstallData& data = FreshWorld();
        for (int i = 0; i < TAVK_MAX_NUM_REG_KEYS - 1; ++i) AddEntry(data, 0, "V\\Other");
        AddEntry(data, 0, "V\\K");  // the last of a full list
        fake::RegSeedKey("HKLM\\V\\K");
        data.registry_key_count = count;
        EXPECT_EQ(0, RemoveRegistryKeys(data)) << count;
        EXPECT_EQ(count < 0, fake::RegKeyExists("HKLM\\V\\K")) << count;
        ExpectNothingOpen("count " + std::to_string(count));
    }
}

TEST(RemoveRegistryKeys, KeysThatGoOnlyWhenEmpty) {
    const struct {
        const char* name;
        void (*seed)();
        int32_t delete_if_non_empty;
        bool kept;
    } cases[] = {
        {"empty key", [] { fake::RegSeedKey("HKLM\\V\\K"); }, 0, false},
        {"key with one subkey", [] { fake::RegSeedKey("HKLM\\V\\K\\Sub"); }, 0, true},
        {"key with only its default value", [] { fake::RegSeedString("HKLM\\V\\K", "", "d"); }, 0,
         true},
        {"key with one subkey, deleted when non-empty", [] { fake::RegSeedKey("HKLM\\V\\K\\Sub"); }, 1,
         false},
        {"key with a value, deleted when non-empty", [] { fake::RegSeedString("HKLM\\V\\K", "v", ""); },
         1, false},
    };
    for (auto& c : cases) {
        UninstallData& data = FreshWorld();
        c.seed();
        AddEntry(data, 0, "V\\K", c.delete_if_non_empty);
        EXPECT_EQ(0, RemoveRegistryKeys(data)) << c.name;
        EXPECT_EQ(c.kept, fake::RegKeyExists("HKLM\\V\\K")) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(RemoveRegistryKeys, AKeyAlreadyGoneProducesNoReport) {
    const int32_t rules[] = {0, 1};
    for (int32_t delete_if_non_empty : rules) {
        UninstallData& data = FreshWorld();
        AddEntry(data, 0, "Absent", delete_if_non_empty);
        AddEntry(data, 0, "Absent", delete_if_non_empty, "App");
        EXPECT_EQ(0, RemoveRegistryKeys(data)) << delete_if_non_empty;
        EXPECT_TRUE(Reports().empty()) << delete_if_non_empty;
        ExpectNothingOpen("absent key");
    }
}

// Each subkey under the searched key: whether it must be gone afterwards.
struct Subkey {
    std::string name;
    bool has_content;
    bool gone;
};

void CheckSearch(const char* name, const char* search, int32_t delete_if_non_empty,
                 const std::vector<Subkey>& subkeys) {
    UninstallData& data = FreshWorld();
    for (const Subkey& subkey : subkeys) {
        std::string path = "HKLM\\P\\" + subkey.name;
        fake::RegSeedKey(path);
        if (subkey.has_content) fake::RegSeedString(path, "", "default");
    }
    AddEntry(data, 0, "P", delete_if_non_empty, search);
    EXPECT_EQ(0, RemoveRegistryKeys(data)) << name;
    for (const Subkey& subkey : subkeys) {
        std::string path = "HKLM\\P\\" + subkey.name;
        EXPECT_EQ(!subkey.gone, fake::RegKeyExists(path)) << name << ": " << subkey.name;
        // Tested once: one open to test it (when only empty ones go) and
        // one to delete it.
        int opens = (delete_if_non_empty ? 0 : 1) + (subkey.gone ? 1 : 0);
        if (subkey.name.find(search) == std::string::npos) opens = 0;
        EXPECT_EQ(opens, CountCalls("RegOpenKeyA " + path)) << name << ": " << subkey.name;
    }
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\P")) << name;
    ExpectNothingOpen(name);
}

TEST(RemoveRegistryKeys, SearchHandlesEachMatchingSubkeyOnce) {
    CheckSearch("adjacent matches, deleted when non-empty", "App", 1,
                {{"App", true, true},
                 {"App1", true, true},
                 {"App2", false, true},
                 {"Bpp", false, false},
                 {"MyAppX", true, true},
                 {"app3", false, false},
                 {"zAPP", false, false}});
    CheckSearch("adjacent matches, only empty ones", "App", 0,
                {{"App1", false, true},
                 {"App2", false, true},
                 {"App3", true, false},
                 {"App4", false, true},
                 {"Other", false, false}});
    CheckSearch("every subkey matches", "k", 1, {{"k1", false, true}, {"k2", true, true}});
}

TEST(RemoveRegistryKeys, SearchIsNoWildcardPattern) {
    CheckSearch("star", "A*", 1, {{"A*b", false, true}, {"Ab", false, false}});
    CheckSearch("question mark", "A?", 1, {{"A?", false, true}, {"AB", false, false}});
}

TEST(RemoveRegistryKeys, SearchGoesOnPastASubkeyThatCannotBeDeleted) {
    UninstallData& data = FreshWorld();
    fake::RegSeedKey("HKLM\\P\\App1");
    fake::RegSeedKey("HKLM\\P\\App2");
    fake::FailCall("RegDeleteKeyA", ERROR_ACCESS_DENIED, 0, "P\\App1");
    AddEntry(data, 0, "P", 1, "App");
    EXPECT_EQ(0, RemoveRegistryKeys(data));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\P\\App1"));
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\P\\App2"));
    EXPECT_EQ(1, CountCalls("RegDeleteKeyA HKLM\\P\\App1"));
    EXPECT_EQ(std::vector<std::string>{"RegDeleteKey() failed"}, Reports());
    ExpectNothingOpen("undeletable subkey");
}

TEST(RemoveRegistryKeys, SearchStopsAtAFailedListing) {
    UninstallData& data = FreshWorld();
    fake::RegSeedKey("HKLM\\P\\App1");
    fake::RegSeedKey("HKLM\\P\\App2");
    fake::FailCall("RegEnumKeyA", ERROR_REGISTRY_IO_FAILED, 2, "HKLM\\P");
    AddEntry(data, 0, "P", 1, "App");
    EXPECT_EQ(0, RemoveRegistryKeys(data));
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\P\\App1"));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\P\\App2"));
    ExpectNothingOpen("failed listing");
}

// In a double-byte code page a trail byte equal to the searched character
// is no match.
TEST(RemoveRegistryKeys, SearchTreatsDoubleByteCharactersAsUnits) {
    UninstallData& data = FreshWorld();
    fake::SetAnsiCodePage(932);
    fake::RegSeedKey("HKLM\\P\\\x83\x41");
    fake::RegSeedKey("HKLM\\P\\\x83\x41\x41");
    AddEntry(data, 0, "P", 1, "A");
    EXPECT_EQ(0, RemoveRegistryKeys(data));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\P\\\x83\x41"));
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\P\\\x83\x41\x41"));
    ExpectNothingOpen("double-byte search");
}

}  // namespace

namespace {

void SeedServiceKey(const std::string& name, DWORD type, const char* image_path) {
    std::string key = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\" + name;
    fake::RegSeedBytes(key, "Type", REG_DWORD, std::string((const char*)&type, 4));
    fake::RegSeedString(key, "ImagePath", image_path);
}

}  // namespace

// Each subkey the search finds is judged as if it were listed by itself:
// Windows' services stay, the product's own goes.
TEST(RemoveRegistryKeys, SearchJudgesEachSubkeyByItself) {
    UninstallData& data = FreshWorld();
    SeedServiceKey("RpcSs", 0x20, "%SystemRoot%\\system32\\svchost.exe -k rpcss");
    SeedServiceKey("Eventlog", 0x20, "%SystemRoot%\\system32\\services.exe");
    fake::RegSeedString("HKLM\\SYSTEM\\CurrentControlSet\\Services\\Winsock2\\Parameters", "v", "x");
    SeedServiceKey("XLNW11e", 1, "system32\\drivers\\xlnw11.sys");
    SeedServiceKey("Ghoste", 1, "system32\\drivers\\ghost.sys");  // Windows', not copied
    strcpy(data.device_service_name, "XLNW11e");
    NoteServiceEvidence(data);
    AddEntry(data, 0, "SYSTEM\\CurrentControlSet\\Services", 1, "e");
    AddEntry(data, 1, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 1, "e");
    fake::RegSeedKey("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other");
    EXPECT_EQ(0, RemoveRegistryKeys(data));
    ForgetServiceEvidence();
    for (const char* kept : {"RpcSs", "Eventlog", "Winsock2", "Ghoste"})
        EXPECT_TRUE(fake::RegKeyExists(std::string("HKLM\\SYSTEM\\CurrentControlSet\\Services\\") + kept))
            << kept;
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\SYSTEM\\CurrentControlSet\\Services\\XLNW11e"));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Other"));
    ExpectNothingOpen("search below Windows' keys");
}

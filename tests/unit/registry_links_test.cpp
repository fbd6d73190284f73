// Registry links: the fake registry follows them as Windows does, and no
// deletion ever follows one into the key it leads to.
#include "removal/registry_links.h"

#include "removal/removal_steps.h"
#include "removal/guardrails/service_evidence.h"
#include "removal/system_changes.h"
#include "removal_fixture.h"

namespace {

const char kServices[] = "HKLM\\SYSTEM\\CurrentControlSet\\Services";

class RegistryLinks : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        fake::RegSeedString(std::string(kServices) + "\\Spooler", "ImagePath", "spoolsv.exe");
        fake::RegSeedKey(std::string(kServices) + "\\Spooler\\Security");
        fake::RegSeedKey("HKLM\\SOFTWARE\\Hostile\\Empty");
        fake::RegSeedLink("HKLM\\SOFTWARE\\Hostile\\ToServices", kServices);
        fake::RegSeedLink("HKLM\\SOFTWARE\\Hostile\\ToEmpty", "HKLM\\SOFTWARE\\Hostile\\Empty");
        fake::RegSeedKey("HKLM\\SOFTWARE\\Deep\\A");
        fake::RegSeedLink("HKLM\\SOFTWARE\\Deep\\One\\Two\\ToServices", kServices);
    }
};

TEST_F(RegistryLinks, FakeFollowsALinkUnlessOpenedAsOne) {
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hostile\\ToServices\\Spooler", &key));
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "ImagePath", nullptr, nullptr, nullptr, &size));
    RegCloseKey(key);
    EXPECT_TRUE(IsRegistryLink(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hostile\\ToServices"));
    EXPECT_FALSE(IsRegistryLink(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hostile\\Empty"));
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Made", 0, nullptr,
                                             REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS, nullptr, &key,
                                             nullptr));
    const char target[] = "\\\0R\0e\0g\0i\0s\0t\0r\0y\0\\\0M\0a\0c\0h\0i\0n\0e\0\\\0S\0O\0F\0T\0W\0A\0R\0E\0";
    RegSetValueExA(key, "SymbolicLinkValue", 0, REG_LINK, (const BYTE*)target, sizeof target - 1);
    RegCloseKey(key);
    EXPECT_TRUE(fake::RegIsLink("HKLM\\SOFTWARE\\Made"));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\SOFTWARE\\Made\\Hostile\\Empty"));
    // Windows' own deletion opens the link and deletes what it leads to.
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hostile\\ToEmpty"));
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\SOFTWARE\\Hostile\\Empty"));
}

// Through a link, at a link, or with a link below: refused, and neither
// the link nor what it leads to changes.
TEST_F(RegistryLinks, NoDeletionFollowsALink) {
    const struct {
        const char* path;
        const char* search;
        const char* reason;
    } cases[] = {
        {"SOFTWARE\\Hostile\\ToServices\\Spooler", "", "a registry link, which is never followed"},
        {"SOFTWARE\\Hostile\\ToServices", "", "a registry link, which is never followed"},
        {"SOFTWARE\\Hostile\\ToEmpty", "", "a registry link, which is never followed"},
        {"SOFTWARE\\Hostile", "", "holds a registry link, which is never followed"},
        {"SOFTWARE\\Deep", "", "holds a registry link, which is never followed"},
        {"SOFTWARE\\Hostile\\ToServices", "e", "a registry link, which is never followed"},
    };
    for (auto& c : cases) {
        UninstallData& data = ClearedRecord();
        RegistryKeyEntry& entry = data.registry_keys[data.registry_key_count++];
        entry.base_key = HKEY_LOCAL_MACHINE;
        strcpy(entry.key_path, c.path);
        strcpy(entry.search_sub_keys, c.search);
        entry.delete_if_non_empty = 1;
        std::vector<std::string> before = fake::RegDump();
        size_t deletions = fake::CallsTo("RegDeleteKeyA").size();
        RemoveRegistryKeys(data);
        EXPECT_EQ(before, fake::RegDump()) << c.path;
        EXPECT_EQ(deletions, fake::CallsTo("RegDeleteKeyA").size()) << c.path;
        EXPECT_TRUE(fake::RegIsLink("HKLM\\SOFTWARE\\Hostile\\ToServices")) << c.path;
    }
    for (const char* key : {"Hostile", "Deep"})
        EXPECT_STREQ("holds a registry link, which is never followed",
                     LinkRefusal(HKEY_LOCAL_MACHINE, "SOFTWARE", key)) << key;
}

// The calls one more key of a deleted tree costs, link search included:
// the link search opens each key once (as a link), the deletion once.
TEST_F(RegistryLinks, EachKeyOfATreeCostsNoMoreCalls) {
    const struct {
        fake::WindowsVersion version;
        bool preview;
        size_t per_key;
    } cases[] = {
        {fake::kWinXP, false, 13}, {fake::kWinXP, true, 5},
        {fake::kWin98, false, 13}, {fake::kWin98, true, 5},
    };
    for (auto& c : cases) {
        size_t calls[2];
        for (int keys : {10, 20}) {
            SetUp();
            fake::SetWindowsVersion(c.version);
            PreviewRun = c.preview;
            for (int i = 0; i < keys; ++i)
                fake::RegSeedString("HKLM\\SOFTWARE\\Tree\\K" + std::to_string(i), "Data", "x");
            size_t before = fake::CallLog().size();
            ChangeOutcome expected = c.preview ? ChangePreviewed : ChangeDone;
            EXPECT_EQ(expected, DeleteRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tree", KeyWithEverything).outcome);
            calls[keys / 20] = fake::CallLog().size() - before;
            PreviewRun = false;
        }
        EXPECT_EQ(c.per_key, (calls[1] - calls[0]) / 10) << c.version.major << " preview " << c.preview;
    }
}

// Windows' own link, the current control set, leads where it always has.
TEST_F(RegistryLinks, WindowsOwnLinksAreFollowed) {
    fake::Reset();
    fake::RegSeedBytes("HKLM\\SYSTEM\\ControlSet001\\Services\\XLNW11", "Type", REG_DWORD,
                       std::string("\1\0\0\0", 4));
    fake::RegSeedLink("HKLM\\SYSTEM\\CurrentControlSet", "HKLM\\SYSTEM\\ControlSet001");
    UninstallData& data = ClearedRecord();
    strcpy(data.device_service_name, "XLNW11");
    NoteServiceEvidence(data);
    EXPECT_EQ(ChangeDone, DeleteRegistryKey(HKEY_LOCAL_MACHINE,
                                            "SYSTEM\\CurrentControlSet\\Services\\XLNW11",
                                            KeyWithEverything).outcome);
    ForgetServiceEvidence();
    EXPECT_FALSE(fake::RegKeyExists("HKLM\\SYSTEM\\ControlSet001\\Services\\XLNW11"));
}

}  // namespace

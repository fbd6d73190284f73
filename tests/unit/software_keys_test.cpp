// The vendor's keys: the software key with its two reports, the description
// key, and the vendor's top key that goes only when nothing is left in it.
#include "removal/removal_steps.h"

#include "removal_test_support.h"
#include "system/run_log.h"
#include "system/run_state.h"

namespace {

const char kVendor[] = "HKLM\\SOFTWARE\\Tarnwell";
const char kSoftware[] = "HKLM\\SOFTWARE\\Tarnwell\\802.11";
const char kDescription[] = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo";

UninstallData& VendorWorld() {
    UninstallData& data = FreshWorld();
    strcpy(data.software_key, "SOFTWARE\\Tarnwell\\802.11");
    strcpy(data.description_key, "SOFTWARE\\Tarnwell\\802.11\\UninstallInfo");
    fake::RegSeedString(kSoftware, "Version", "5.1");
    fake::RegSeedString(std::string(kSoftware) + "\\Driver", "Path", "x");
    fake::RegSeedString(kDescription, "FullProductName", "XLN");
    fake::RegSeedString("HKLM\\SOFTWARE\\Other", "v", "x");
    return data;
}

TEST(RemoveSoftwareKey, ResultAndReportsForEachOutcome) {
    const struct {
        const char* name;
        void (*arrange)(UninstallData& data);
        int result;
        bool kept;
        std::vector<std::string> reports;
        int32_t code;
    } cases[] = {
        {"deleted", [](UninstallData&) {}, 0, false, {}, 0},
        {"preserved", [](UninstallData& d) { d.preserve_software_key = 1; }, 0, true, {}, 0},
        {"no key named", [](UninstallData& d) { d.software_key[0] = 0; }, 0, true, {}, 0},
        {"key already gone", [](UninstallData& d) { strcpy(d.software_key, "SOFTWARE\\Gone"); }, 0,
         true, {}, 0},
        {"close fails",
         [](UninstallData&) { fake::FailCall("RegCloseKey", ERROR_REGISTRY_IO_FAILED, 1, "802.11"); },
         2, true, {"RegCloseKey() failed"}, 2343},
        {"deletion fails below",
         [](UninstallData&) { fake::FailCall("RegDeleteValueA", ERROR_ACCESS_DENIED, 1, "Driver"); },
         2, true, {"RegDeleteValue() failed", "TAVKDeleteKey() failed", "TAVKDeleteKey() failed"},
         2350},
    };
    for (auto& c : cases) {
        UninstallData& data = VendorWorld();
        c.arrange(data);
        EXPECT_EQ(c.result, RemoveSoftwareKey(data)) << c.name;
        EXPECT_EQ(c.kept, fake::RegKeyExists(kSoftware)) << c.name;
        EXPECT_TRUE(fake::RegKeyExists("HKLM\\SOFTWARE\\Other")) << c.name;
        EXPECT_EQ(c.reports, Reports()) << c.name;
        EXPECT_EQ(c.code, ErrorState.code) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(RemoveDescriptionKey, PreservedSoftwareKeyKeepsTheVendorKey) {
    UninstallData& data = VendorWorld();
    data.preserve_software_key = 1;
    EXPECT_EQ(0, RemoveSoftwareKey(data));
    EXPECT_EQ(0, RemoveDescriptionKey(data));
    EXPECT_FALSE(fake::RegKeyExists(kDescription));
    EXPECT_TRUE(fake::RegValueExists(kSoftware, "Version"));
    EXPECT_TRUE(fake::RegKeyExists(kVendor));
    EXPECT_TRUE(Reports().empty());
    ExpectNothingOpen("preserved");
}

TEST(RemoveDescriptionKey, DescriptionBelowTheSoftwareKeyGoesWithItSilently) {
    UninstallData& data = VendorWorld();
    EXPECT_EQ(0, RemoveSoftwareKey(data));
    EXPECT_EQ(0, RemoveDescriptionKey(data));
    EXPECT_FALSE(fake::RegKeyExists(kVendor));
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\SOFTWARE\\Other"));
    EXPECT_TRUE(Reports().empty());
    ExpectNothingOpen("description below the software key");
}

TEST(RemoveDescriptionKey, TheVendorKeyGoesOnlyWhenEmpty) {
    const struct {
        const char* name;
        void (*seed)();
        bool vendor_kept;
    } cases[] = {
        {"nothing else", [] {}, false},
        {"its default value", [] { fake::RegSeedString(kVendor, "", "Tarnwell"); }, true},
        {"a named value", [] { fake::RegSeedString(kVendor, "Installed", "1"); }, true},
        {"another product's key", [] { fake::RegSeedKey(std::string(kVendor) + "\\Modem"); }, true},
    };
    for (auto& c : cases) {
        UninstallData& data = VendorWorld();
        data.software_key[0] = 0;
        strcpy(data.description_key, "SOFTWARE\\Tarnwell\\802.11");
        c.seed();
        EXPECT_EQ(0, RemoveDescriptionKey(data)) << c.name;
        EXPECT_FALSE(fake::RegKeyExists(kSoftware)) << c.name;
        EXPECT_EQ(c.vendor_kept, fake::RegKeyExists(kVendor)) << c.name;
        ExpectNothingOpen(c.name);
    }
}

// A description from the INI file names no key: HKEY_LOCAL_MACHINE itself
// must not be taken for it.
TEST(RemoveDescriptionKey, AnEmptyDescriptionKeyDeletesNothingButAnEmptyVendorKey) {
    UninstallData& data = VendorWorld();
    data.description_key[0] = 0;
    std::vector<std::string> before = fake::RegDump();
    EXPECT_EQ(0, RemoveDescriptionKey(data));
    EXPECT_EQ(before, fake::RegDump());
    fake::RegSeedKey("HKLM\\SOFTWARE\\Tarnwell\\Empty");
    EXPECT_EQ(0, RemoveSoftwareKey(data));
    EXPECT_EQ(0, RemoveDescriptionKey(data));
    EXPECT_TRUE(fake::RegKeyExists(kVendor));
    ExpectNothingOpen("empty description key");
}

// Keys Windows keeps at the top of SOFTWARE stay, however the software key
// spells them, in a run and in a preview, and the log says why.
TEST(RemoveSoftwareKey, WindowsKeysStayAndTheLogSaysWhy) {
    const char* const kWindowsKeys[] = {"HKLM\\SOFTWARE\\Clients\\Mail", "HKLM\\SOFTWARE\\ODBC\\ODBC.INI",
                                        "HKLM\\SOFTWARE\\Registered Applications"};
    const struct {
        const char* software_key;
        const char* logged;
    } cases[] = {
        {"SOFTWARE\\Clients", "HKLM\\SOFTWARE\\Clients"},
        {"software\\\\CLIENTS\\Mail\\", "HKLM\\software\\\\CLIENTS\\Mail\\"},
        {"SOFTWARE\\Registered Applications", "HKLM\\SOFTWARE\\Registered Applications"},
        {"SOFTWARE\\ODBC", "HKLM\\SOFTWARE\\ODBC"},
    };
    for (bool preview : {false, true}) {
        for (auto& c : cases) {
            UninstallData& data = VendorWorld();
            fake::RegSeedString("HKLM\\SOFTWARE\\Registered Applications", "XLN", "SOFTWARE\\Tarnwell");
            for (const char* key : kWindowsKeys) fake::RegSeedKey(key);
            strcpy(data.software_key, c.software_key);
            fake::AddDirectory("C:\\LOGS");
            ASSERT_TRUE(OpenRunLog("C:\\LOGS\\run.log", true));
            PreviewRun = preview;
            EXPECT_EQ(0, RemoveSoftwareKey(data)) << c.software_key;
            PreviewRun = false;
            CloseRunLog();
            for (const char* key : kWindowsKeys) EXPECT_TRUE(fake::RegKeyExists(key)) << c.software_key;
            EXPECT_TRUE(Reports().empty()) << c.software_key;
            std::string line = std::string("delete key ") + c.logged + ": refused by a guardrail: a key Windows owns";
            EXPECT_NE(std::string::npos, fake::FileContents("C:\\LOGS\\run.log").find(line)) << line;
            ExpectNothingOpen(c.software_key);
        }
    }
}

}  // namespace

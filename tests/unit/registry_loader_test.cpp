// Loading the registry description: the layout, the limits, and each
// failure with its code, its report and where the load stopped.
#include <gtest/gtest.h>

#include <string>

#include "system/run_state.h"
#include "messages/error_report.h"
#include "platform/host/fake_world.h"
#include "uninstall_data/order_number.h"
#include "uninstall_data/registry_loader.h"

namespace {

const std::string kDesc = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo";

class RegistryLoader : public ::testing::Test {
protected:
    void SetUp() override {
        fake::Reset();
        RunMode = Quiet;
        InstallMode = false;
        memset(&ErrorState, 0, sizeof ErrorState);
        memset(&data, 0xAB, sizeof data);  // a load must clear what was there
    }
    void TearDown() override { EXPECT_EQ(0, fake::OpenKeyCount()) << "keys left open"; }

    int Load() { return LoadFromRegistry(data); }

    // Diagnostics the loader reported, in order.
    std::vector<std::string> Reports() {
        std::vector<std::string> texts;
        for (auto& call : fake::CallsTo("OutputDebugStringA "))
            texts.push_back(call.substr(strlen("OutputDebugStringA ")));
        return texts;
    }

    UninstallData data;
};

// The one value that makes a key a description in tests of other values.
void MarkDescription(const std::string& key = kDesc) {
    fake::RegSeedString(key, "FullProductName", "XLN");
}

// A complete description: every value and every list, so that a failure
// shows where the load stopped by what is still missing.
void SeedFullDescription() {
    fake::RegSeedString(kDesc, "ModemProvider", "Tarnwell");
    fake::RegSeedString(kDesc, "FullCompanyName", "Tarnwell Networks Inc.");
    fake::RegSeedString(kDesc, "ShortProductName", "XLN");
    fake::RegSeedString(kDesc, "FullProductName", "XLN 802.11g Network Adapter");
    fake::RegSeedString(kDesc, "Version", "2.4.1");
    fake::RegSeedString(kDesc, "Device", "XLNG");
    fake::RegSeedString(kDesc, "UninstallKey", "XLN WLAN");
    fake::RegSeedString(kDesc, "CplShortcutFolderName", "XLN Wireless");
    fake::RegSeedString(kDesc, "CplShortcutItemName", "XLN Utility");
    fake::RegSeedString(kDesc + "\\FriendlyNames", "PCI\\VEN_1A2B&DEV_0001", "XLN Adapter;XLN Card");
    fake::RegSeedString(kDesc + "\\Applets\\Tray", "Class", "XLNTrayWnd");
    fake::RegSeedString(kDesc + "\\Applets\\Tray", "Name", "XLN Tray");
    fake::RegSeedString(kDesc + "\\Applets\\Tray", "AutoRunValue", "XLNTray");
    fake::RegSeedString(kDesc, "SoftwareKey", "SOFTWARE\\Tarnwell\\802.11");
    fake::RegSeedString(kDesc + "\\InstalledFiles", "Drivers", "%WIN_SYS_DIR%\\xln.sys;%WIN_DIR%\\xln.dll");
    fake::RegSeedString(kDesc, "WinVer", "WDM2k");
    fake::RegSeedString(kDesc, "DeviceServiceName", "XLNG");
    fake::RegSeedString(kDesc + "\\DeviceClassNames", "3", "Net");
    fake::RegSeedString(kDesc + "\\InstalledServices", "Agent", "%WIN_DIR%\\xlnsvc.exe");
    fake::RegSeedString(kDesc + "\\RegistryKeys\\0", "BaseKey", "HKLM");
    fake::RegSeedString(kDesc + "\\RegistryKeys\\0", "SubKey", "SOFTWARE:Tarnwell:Keys");
    fake::RegSeedString(kDesc + "\\RegistryKeys\\1", "BaseKey", "HKLM");
}

// How far a load got: each stage is read only after the one before it.
int StagesReached(const UninstallData& d) {
    if (d.short_company_name[0] == 0) return 0;
    if (d.software_key[0] == 0) return 1;          // read after Applets
    if (d.driver_model == DriverModelNone) return 2;  // after InstalledFiles
    if (d.installed_service_count == 0) return 3;  // after DeviceClassNames
    if (d.registry_key_count < 2) return 4;       // RegistryKeys, the last list
    return 5;
}

TEST_F(RegistryLoader, ReadsAWholeDescription) {
    SeedFullDescription();
    ASSERT_EQ(0, Load());
    EXPECT_STREQ("Tarnwell", data.short_company_name);
    EXPECT_STREQ("XLN 802.11g Network Adapter", data.full_product_name);
    EXPECT_STREQ("XLN Utility", data.cpl_shortcut_item_name);
    ASSERT_EQ(1, data.device_id_count);
    EXPECT_STREQ("PCI\\VEN_1A2B&DEV_0001", data.device_ids[0]);
    ASSERT_EQ(2, data.friendly_name_count);
    EXPECT_STREQ("XLN Card", data.friendly_names[1]);
    ASSERT_EQ(1, data.applet_count);
    EXPECT_STREQ("XLNTrayWnd", data.applets[0].window_class);
    EXPECT_STREQ("XLNTray", data.applets[0].autorun_value);
    ASSERT_EQ(2, data.installed_file_count);
    EXPECT_STREQ("%WIN_DIR%\\xln.dll", data.installed_files[1]);
    EXPECT_EQ(DriverModelWdm2k, data.driver_model);
    ASSERT_EQ(1, data.device_class_count);
    EXPECT_EQ(3, data.device_classes[0].order);
    EXPECT_STREQ("Net", data.device_classes[0].setup_class);
    ASSERT_EQ(1, data.installed_service_count);
    ASSERT_EQ(2, data.registry_key_count);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, data.registry_keys[0].base_key);
    EXPECT_STREQ("SOFTWARE\\Tarnwell\\Keys", data.registry_keys[0].key_path);
    EXPECT_EQ(1, data.registry_keys[1].order);
    EXPECT_STREQ("SOFTWARE\\Tarnwell\\802.11\\UninstallInfo", data.description_key);
    EXPECT_EQ(0, data.remove_device);
    EXPECT_EQ(0, data.force_local_uninstall);
    EXPECT_TRUE(Reports().empty());
}

// --- Every reported failure: code, tag, result, diagnostic, stop point ---

struct FailureCase {
    const char* name;
    std::function<void()> arrange;  // seeds extra data or a failing call
    int32_t code;
    const char* diagnostic;
    int stages;  // how far the load got
};

std::string Repeat(char c, size_t n) { return std::string(n, c); }

void SeedValues(const std::string& key, int count, const std::string& data) {
    for (int i = 0; i < count; ++i) fake::RegSeedString(key, "v" + std::to_string(i), data);
}

void SeedSubkeys(const std::string& key, int count) {
    for (int i = 0; i < count; ++i) fake::RegSeedString(key + "\\" + std::to_string(i + 10), "Class", "c");
}

TEST_F(RegistryLoader, EachFailureReportsItsCodeAndStops) {
    const std::string fn = kDesc + "\\FriendlyNames", ap = kDesc + "\\Applets";
    const std::string files = kDesc + "\\InstalledFiles", svc = kDesc + "\\InstalledServices";
    const std::string cls = kDesc + "\\DeviceClassNames", keys = kDesc + "\\RegistryKeys";
    const FailureCase cases[] = {
        {"friendly enum", [] { fake::FailCall("RegEnumValueA", ERROR_REGISTRY_IO_FAILED, 1, "FriendlyNames"); },
         1360, "Unable to enumerate friendly name keys", 1},
        {"friendly name too long for buffer", [&] { fake::RegSeedString(fn, Repeat('n', 129), "x"); },
         1360, "Unable to enumerate friendly name keys", 1},
        {"friendly data too long", [&] { fake::RegSeedString(fn, "id", Repeat('d', 2064)); },
         1360, "Unable to enumerate friendly name keys", 1},
        {"friendly data unterminated", [&] { fake::RegSeedBytes(fn, "id", REG_BINARY, "abc"); },
         1360, "Unable to enumerate friendly name keys", 1},
        {"17th friendly name", [&] { SeedValues(fn, 1, "a;b;c;d;e;f;g;h;i;j;k;l;m;n;o"); },
         1373, "TAVK_MAX_NUM_FRIENDLY_NAMES exceeded", 1},
        {"friendly name of 129", [&] { fake::RegSeedString(fn, "id", Repeat('f', 129)); },
         1378, "TAVK_MAX_FRIENDLY_NAME_LEN exceeded", 1},
        {"129th device id", [&] { SeedValues(fn, 128, ""); },
         1366, "TAVK_MAX_NUM_DEVICE_IDS exceeded", 1},
        {"device id of 65", [&] { fake::RegSeedString(fn, Repeat('i', 65), ""); },
         1368, "TAVK_MAX_DEVICE_ID_LEN exceeded", 1},
        {"friendly close", [] { fake::FailCall("RegCloseKey", ERROR_INVALID_HANDLE, 1, "FriendlyNames"); },
         1389, "Unable to close friendly names key", 1},
        {"applet enum", [] { fake::FailCall("RegEnumKeyA", ERROR_REGISTRY_IO_FAILED, 1, "Applets"); },
         1409, "Unable to enumerate applet keys", 1},
        {"applet name too long", [&] { fake::RegSeedKey(ap + "\\" + Repeat('a', 129)); },
         1409, "Unable to enumerate applet keys", 1},
        {"9th applet", [&] { SeedSubkeys(ap, 8); }, 1415, "TAVK_MAX_NUM_APPLETS exceeded", 1},
        {"applet open", [] { fake::FailCall("RegOpenKeyA", ERROR_ACCESS_DENIED, 1, "Applets\\Tray"); },
         1423, "Unable to open applet key", 1},
        {"applet close", [] { fake::FailCall("RegCloseKey", ERROR_INVALID_HANDLE, 1, "Applets\\Tray"); },
         1462, "Unable to close Applets key", 1},
        {"applets close", [] { fake::FailCall("RegCloseKey", ERROR_INVALID_HANDLE, 1, "UninstallInfo\\Applets"); },
         1471, "Unable to close aaplets key", 1},
        {"files enum", [] { fake::FailCall("RegEnumValueA", ERROR_REGISTRY_IO_FAILED, 1, "InstalledFiles"); },
         1544, "Unable to enumerate InstalledFiles keys", 2},
        {"65th file", [&] { SeedValues(files, 9, "a;b;c;d;e;f;g"); },
         1560, "TAVK_MAX_NUM_INSTALLED_FILES exceeded", 2},
        {"file of 129", [&] { fake::RegSeedString(files, "long", Repeat('p', 129)); },
         1565, "TAVK_MAX_INSTALLED_FILE_NAME_LEN exceeded", 2},
        {"files close", [] { fake::FailCall("RegCloseKey", ERROR_INVALID_HANDLE, 1, "InstalledFiles"); },
         1576, "Unable to close InstalledFiles key", 2},
        {"class enum", [] { fake::FailCall("RegEnumValueA", ERROR_REGISTRY_IO_FAILED, 1, "DeviceClassNames"); },
         1635, "Unable to enumerate device class names", 3},
        {"5th class", [&] { for (int i = 0; i < 4; ++i) fake::RegSeedString(cls, std::to_string(i + 10), "Net"); },
         1642, "TAVK_MAX_NUM_DEVICE_CLASS_NAMES exceeded", 3},
        {"class order not a number", [&] { fake::RegSeedString(cls, "2a", "Modem"); },
         1673, "Device class 'Modem': order is not a number", 3},
        {"classes close", [] { fake::FailCall("RegCloseKey", ERROR_INVALID_HANDLE, 1, "DeviceClassNames"); },
         1682, "Unable to close DeviceClassNames key", 3},
        {"services enum", [] { fake::FailCall("RegEnumValueA", ERROR_REGISTRY_IO_FAILED, 1, "InstalledServices"); },
         1708, "Unable to enumerate InstalledServices keys", 3},
        {"65th service", [&] { SeedValues(svc, 13, "a;b;c;d;e"); },
         1717, "TAVK_MAX_NUM_INSTALLED_FILES exceeded", 4},
        {"service of 129", [&] { fake::RegSeedString(svc, "long", Repeat('s', 129)); },
         1722, "TAVK_MAX_INSTALLED_FILE_NAME_LEN exceeded", 4},
        {"services close", [] { fake::FailCall("RegCloseKey", ERROR_INVALID_HANDLE, 1, "InstalledServices"); },
         1733, "Unable to close InstalledServices key", 4},
        {"keys enum", [] { fake::FailCall("RegEnumKeyA", ERROR_REGISTRY_IO_FAILED, 1, "RegistryKeys"); },
         1748, "Unable to enumerate RegistryKeys keys", 4},
        {"65th key", [&] { SeedSubkeys(keys, 63); }, 1754, "TAVK_MAX_NUM_REG_KEYS exceeded", 5},
        {"key open", [] { fake::FailCall("RegOpenKeyA", ERROR_ACCESS_DENIED, 1, "RegistryKeys\\1"); },
         1764, "Unable to open RegistryKeys subkey", 4},
        {"key close", [] { fake::FailCall("RegCloseKey", ERROR_INVALID_HANDLE, 1, "RegistryKeys\\0"); },
         1806, "Unable to close RegistryKeys subkey", 4},
        {"keys close", [] { fake::FailCall("RegCloseKey", ERROR_INVALID_HANDLE, 1, "UninstallInfo\\RegistryKeys"); },
         1815, "Unable to close RegistryKeys key", 5},
        {"description close", [] { fake::FailCall("RegCloseKey", ERROR_INVALID_HANDLE, 1, "802.11\\UninstallInfo"); },
         1822, "Unable to close uninstall key", 5},
    };
    for (const FailureCase& c : cases) {
        SetUp();
        SeedFullDescription();
        c.arrange();
        EXPECT_EQ(1, Load()) << c.name;
        EXPECT_STREQ("TAVK", ErrorState.module_tag) << c.name;
        EXPECT_EQ(c.code, ErrorState.code) << c.name;
        EXPECT_EQ(std::vector<std::string>{c.diagnostic}, Reports()) << c.name;
        EXPECT_EQ(c.stages, StagesReached(data)) << c.name;
        EXPECT_EQ(0, fake::OpenKeyCount()) << c.name << ": keys left open";
    }
}

// --- Results without a report ---

TEST_F(RegistryLoader, MissingDescriptionGivesOneWithoutReport) {
    EXPECT_EQ(1, Load());
    EXPECT_EQ(0, ErrorState.code);
    EXPECT_TRUE(Reports().empty());
    EXPECT_STREQ("SOFTWARE\\Tarnwell\\802.11\\UninstallInfo", data.description_key);
    EXPECT_EQ(0, data.short_company_name[0]);
    EXPECT_EQ(0, data.registry_key_count);
}

// Whatever key "/rootkey=" names is deleted after a removal: one that holds
// none of a description's values or lists is no description at all.
TEST_F(RegistryLoader, KeyWithoutDescriptionNamesIsNoDescription) {
    const struct {
        const char* name;
        void (*seed)();
        int result;
    } cases[] = {
        {"empty key", [] { fake::RegSeedKey("HKLM\\SOFTWARE\\Victim"); }, 1},
        {"other values and subkeys",
         [] {
             fake::RegSeedString("HKLM\\SOFTWARE\\Victim", "", "default");
             fake::RegSeedString("HKLM\\SOFTWARE\\Victim", std::string(200, 'V'), "long name");
             fake::RegSeedString("HKLM\\SOFTWARE\\Victim\\Files", "Version", "1");
         },
         1},
        {"one value, in other letter case",
         [] { fake::RegSeedString("HKLM\\SOFTWARE\\Victim", "removedevice", ""); }, 0},
        {"one list subkey of its own", [] { fake::RegSeedKey("HKLM\\SOFTWARE\\Victim\\InstalledServices"); }, 0},
        {"names many programs use",
         [] {
             for (const char* name : {"Version", "Device", "WinVer", "SoftwareKey"})
                 fake::RegSeedString("HKLM\\SOFTWARE\\Victim", name, "1");
             for (const char* list : {"RegistryKeys", "InstalledFiles", "Applets", "FriendlyNames"})
                 fake::RegSeedKey(std::string("HKLM\\SOFTWARE\\Victim\\") + list);
         },
         1},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetCommandLine("uninst.exe silent /rootkey=SOFTWARE\\Victim");
        c.seed();
        EXPECT_EQ(c.result, Load()) << c.name;
        EXPECT_TRUE(Reports().empty()) << c.name;
        EXPECT_STREQ("SOFTWARE\\Victim", data.description_key) << c.name;
        EXPECT_EQ(0, data.software_key[0]) << c.name;
        EXPECT_EQ(0, fake::OpenKeyCount()) << c.name << ": keys left open";
    }
}

TEST_F(RegistryLoader, ClassDataThatCannotBeReadGivesOneWithoutReport) {
    SeedFullDescription();
    fake::FailCall("RegEnumValueA", ERROR_REGISTRY_IO_FAILED, 2, "DeviceClassNames");
    EXPECT_EQ(1, Load());
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(0, data.device_class_count);
}

TEST_F(RegistryLoader, ClassNameLongerThanEightGivesOneWithoutReport) {
    SeedFullDescription();
    fake::RegSeedString(kDesc + "\\DeviceClassNames", "3", "Bluetooth");
    EXPECT_EQ(1, Load());
    EXPECT_TRUE(Reports().empty());
}

TEST_F(RegistryLoader, ClassListEndingBetweenTheTwoReadsGivesTwo) {
    SeedFullDescription();
    fake::FailCall("RegEnumValueA", ERROR_NO_MORE_ITEMS, 2, "DeviceClassNames");
    EXPECT_EQ(2, Load());
    EXPECT_TRUE(Reports().empty());
}

// --- The key path and "/rootkey=" ---

struct RootKeyCase {
    const char* command_line;
    const char* description_key;
};

TEST_F(RegistryLoader, RootKeyOptionChoosesThePath) {
    const RootKeyCase cases[] = {
        {"uninst.exe silent", "SOFTWARE\\Tarnwell\\802.11\\UninstallInfo"},
        {"uninst.exe silent /rootkey=SOFTWARE\\Other\\Desc /x", "SOFTWARE\\Other\\Desc"},
        {"uninst.exe silent /ROOTKEY=SOFTWARE\\Other\\Desc", "SOFTWARE\\Tarnwell\\802.11\\UninstallInfo"},
        {"uninst.exe silent /rootkey=SOFTWARE\\A\tB", "SOFTWARE\\A\tB"},
        {"uninst.exe silent /rootkey=\"SOFTWARE\\Q\"", "\"SOFTWARE\\Q\""},
        {"uninst.exe silent /rootkey=", ""},
        {"\"C:\\dir /rootkey=SOFTWARE\\InPath\\uninst.exe\" quiet", "SOFTWARE\\InPath\\uninst.exe\""},
    };
    for (const RootKeyCase& c : cases) {
        SetUp();
        fake::SetCommandLine(c.command_line);
        Load();
        EXPECT_STREQ(c.description_key, data.description_key) << c.command_line;
    }
}

TEST_F(RegistryLoader, RootKeyPathIsCutAt255Bytes) {
    fake::SetCommandLine("uninst.exe quiet /rootkey=" + Repeat('k', 300));
    Load();
    EXPECT_EQ(Repeat('k', 255), data.description_key);
}

TEST_F(RegistryLoader, DescriptionAtAnotherPathIsRead) {
    fake::RegSeedString("HKLM\\SOFTWARE\\Other\\Desc", "Device", "XLNG");
    MarkDescription("HKLM\\SOFTWARE\\Other\\Desc");
    fake::SetCommandLine("uninst.exe silent /rootkey=SOFTWARE\\Other\\Desc");
    EXPECT_EQ(0, Load());
    EXPECT_STREQ("XLNG", data.device);
}

TEST_F(RegistryLoader, EmptyRootKeyReadsTheRootItself) {
    fake::RegSeedString("HKLM", "Device", "ROOTDEV");
    MarkDescription("HKLM");
    fake::SetCommandLine("uninst.exe silent /rootkey= quiet");
    EXPECT_EQ(0, Load());
    EXPECT_STREQ("ROOTDEV", data.device);
    EXPECT_STREQ("", data.description_key);
}

// --- Values and lists ---

TEST_F(RegistryLoader, ValuesThatDoNotFitLeaveTheFieldEmpty) {
    fake::RegSeedString(kDesc, "ModemProvider", Repeat('c', 16));      // fits exactly
    fake::RegSeedString(kDesc, "ShortProductName", Repeat('p', 17));   // one too many
    fake::RegSeedBytes(kDesc, "Device", REG_BINARY, "DEV");            // no terminator
    fake::RegSeedBytes(kDesc, "Version", REG_SZ, "");                  // no data at all
    ASSERT_EQ(0, Load());
    EXPECT_EQ(Repeat('c', 16), data.short_company_name);
    EXPECT_STREQ("", data.short_product_name);
    EXPECT_STREQ("", data.device);
    EXPECT_STREQ("", data.version);
}

TEST_F(RegistryLoader, FriendlyNamesSplitAtSemicolonsWithoutEmptyPieces) {
    fake::RegSeedString(kDesc + "\\FriendlyNames", "ID1", ";;A B;;C ;");
    fake::RegSeedString(kDesc + "\\FriendlyNames", "ID2", "");
    MarkDescription();
    ASSERT_EQ(0, Load());
    ASSERT_EQ(2, data.device_id_count);
    EXPECT_STREQ("ID2", data.device_ids[1]);
    ASSERT_EQ(2, data.friendly_name_count);
    EXPECT_STREQ("A B", data.friendly_names[0]);
    EXPECT_STREQ("C ", data.friendly_names[1]);
}

TEST_F(RegistryLoader, SeventeenthFriendlyNameIsNotStored) {
    SeedValues(kDesc + "\\FriendlyNames", 2, "1;2;3;4;5;6;7;8;9;10");
    MarkDescription();
    EXPECT_EQ(1, Load());
    EXPECT_EQ(1373, ErrorState.code);
    EXPECT_EQ(16, data.friendly_name_count);
    EXPECT_STREQ("6", data.friendly_names[15]);
    EXPECT_EQ(2, data.device_id_count);
}

TEST_F(RegistryLoader, ListsLoadUpToTheirCapacity) {
    SeedSubkeys(kDesc + "\\Applets", 8);
    SeedValues(kDesc + "\\InstalledFiles", 8, "a;b;c;d;e;f;g;h");
    SeedValues(kDesc + "\\FriendlyNames", 128, "");
    fake::RegSeedString(kDesc + "\\FriendlyNames", "v0", Repeat('n', 128));
    MarkDescription();
    ASSERT_EQ(0, Load());
    EXPECT_EQ(8, data.applet_count);
    EXPECT_EQ(64, data.installed_file_count);
    EXPECT_EQ(128, data.device_id_count);
    EXPECT_EQ(1, data.friendly_name_count);
}

// The other side of each limit above: exactly at it, the entry loads.
TEST_F(RegistryLoader, EntriesExactlyAtTheirLimitsLoad) {
    const std::string files = kDesc + "\\InstalledFiles";
    const struct {
        const char* name;
        std::function<void()> arrange;
        int32_t UninstallData::*count;
        int32_t expected;
    } cases[] = {
        {"value name of 128", [&] { fake::RegSeedString(files, Repeat('v', 128), "C:\\A"); },
         &UninstallData::installed_file_count, 1},
        {"list value of no bytes", [&] { fake::RegSeedString(files, "a", "C:\\A");
                                         fake::RegSeedBytes(files, "b", REG_SZ, ""); },
         &UninstallData::installed_file_count, 1},
        {"device id of 64", [&] { fake::RegSeedString(kDesc + "\\FriendlyNames", Repeat('i', 64), ""); },
         &UninstallData::device_id_count, 1},
        {"class value of no bytes", [&] { fake::RegSeedBytes(kDesc + "\\DeviceClassNames", "2", REG_SZ, ""); },
         &UninstallData::device_class_count, 1},
    };
    for (auto& c : cases) {
        SetUp();
        MarkDescription();
        c.arrange();
        EXPECT_EQ(0, Load()) << c.name;
        EXPECT_EQ(c.expected, data.*c.count) << c.name;
        EXPECT_TRUE(Reports().empty()) << c.name;
    }
    EXPECT_EQ(2, data.device_classes[0].order);
    EXPECT_STREQ("", data.device_classes[0].setup_class);
}

TEST_F(RegistryLoader, DeviceClassOrders) {
    fake::RegSeedString(kDesc + "\\DeviceClassNames", "2", "Net");
    fake::RegSeedString(kDesc + "\\DeviceClassNames", "", "Modem");
    ASSERT_EQ(0, Load());
    ASSERT_EQ(2, data.device_class_count);
    EXPECT_EQ(2, data.device_classes[0].order);
    EXPECT_EQ(0, data.device_classes[1].order);
    EXPECT_STREQ("Modem", data.device_classes[1].setup_class);
}

TEST_F(RegistryLoader, RegistryKeyEntries) {
    const std::string keys = kDesc + "\\RegistryKeys";
    fake::RegSeedString(keys + "\\first", "BaseKey", "HKLM");
    fake::RegSeedString(keys + "\\first", "SubKey", "SOFTWARE:A:B");
    fake::RegSeedString(keys + "\\first", "SearchSubKeys", "XLN");
    fake::RegSeedString(keys + "\\first", "DeleteIfNonEmpty", "");
    fake::RegSeedString(keys + "\\2", "BaseKey", "hklm");
    fake::RegSeedString(keys + "\\3", "BaseKey", "HKCU");
    fake::RegSeedString(keys + "\\4", "BaseKey", "HKLMX");
    MarkDescription();
    ASSERT_EQ(0, Load());
    ASSERT_EQ(4, data.registry_key_count);
    // Subkeys enumerate in name order: 2, 3, 4, first.
    const RegistryKeyEntry& named = data.registry_keys[3];
    EXPECT_EQ(0, named.order);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, named.base_key);
    EXPECT_STREQ("SOFTWARE\\A\\B", named.key_path);
    EXPECT_STREQ("XLN", named.search_sub_keys);
    EXPECT_EQ(1, named.delete_if_non_empty);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(i + 2, data.registry_keys[i].order);
        EXPECT_EQ((HKEY)0, data.registry_keys[i].base_key) << "entry " << i;
        EXPECT_EQ(0, data.registry_keys[i].delete_if_non_empty);
    }
}

TEST_F(RegistryLoader, FlagsArePresenceTests) {
    fake::RegSeedString(kDesc, "PreserveSoftwareKey", "0");
    fake::RegSeedBytes(kDesc, "ForceLocalUninstall", REG_DWORD, std::string(4, '\0'));
    ASSERT_EQ(0, Load());
    EXPECT_EQ(1, data.preserve_software_key);
    EXPECT_EQ(1, data.force_local_uninstall);
    EXPECT_EQ(0, data.remove_device);
}

TEST_F(RegistryLoader, InstallModeAlwaysRemovesDevices) {
    fake::RegSeedString(kDesc, "Version", "4.1");
    MarkDescription();
    InstallMode = true;
    ASSERT_EQ(0, Load());
    EXPECT_EQ(1, data.remove_device);
}

TEST_F(RegistryLoader, DriverModelTextsMatchExactly) {
    const struct { const char* text; int32_t model; } cases[] = {
        {"WDM98", DriverModelWdm98}, {"WDM2k", DriverModelWdm2k}, {"NT4", DriverModelNt4},
        {"VxD", DriverModelVxd},     {"wdm98", DriverModelNone},  {"WDM2K", DriverModelNone},
        {"", DriverModelNone},
    };
    for (auto& c : cases) {
        SetUp();
        fake::RegSeedString(kDesc, "WinVer", c.text);
        MarkDescription();
        ASSERT_EQ(0, Load()) << c.text;
        EXPECT_EQ(c.model, data.driver_model) << c.text;
    }
}

TEST_F(RegistryLoader, SecondLoadLeavesNothingOfTheFirst) {
    SeedFullDescription();
    ASSERT_EQ(0, Load());
    fake::Reset();
    fake::RegSeedString(kDesc, "Device", "OTHER");
    MarkDescription();
    ASSERT_EQ(0, Load());
    EXPECT_EQ(0, data.applet_count);
    EXPECT_EQ(0, data.installed_file_count);
    EXPECT_STREQ("", data.short_company_name);
}

// --- Order numbers ---

TEST(ParseOrderNumber, DecimalDigitsOnly) {
    const struct { const char* text; int32_t order; } cases[] = {
        {"", 0}, {"0", 0}, {"7", 7}, {"0042", 42}, {"2147483647", 2147483647},
        {"2147483648", -1}, {"99999999999999999999", -1}, {"-1", -1}, {"1a", -1},
        {" 1", -1}, {"+1", -1},
    };
    for (auto& c : cases) {
        int32_t order = 12345;
        ParseOrderNumber(c.text, &order);
        EXPECT_EQ(c.order, order) << "\"" << c.text << "\"";
    }
}

}  // namespace

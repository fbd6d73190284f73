// Loading a description section of the INI file: defaults, the id length
// boundary, the comma-list limits, numbers, the model per family and the
// OEM INF search with its room rule.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/host/fake_world.h"
#include "removal_test_support.h"

namespace {

const char kIni[] = "C:\\Program Files\\XLN\\UNINST.INI";
const std::string kInf = "C:\\WINDOWS\\INF\\";

// Loads section S of an INI file holding these lines, into a record
// pre-filled with a sentinel so that the clearing shows.
UninstallData& LoadSection(const std::string& lines) {
    UninstallData& data = ClearedRecord();
    memset(&data, 0xAB, sizeof data);
    fake::AddFile(kIni, "[S]\r\n" + lines);
    EXPECT_EQ(0, LoadFromIniSection(data, kIni, "s"));
    return data;
}

// A list as "count:entry|entry|...".
std::string Joined(int32_t count, const char* first, size_t stride) {
    std::string text = std::to_string(count) + ":";
    for (int32_t i = 0; i < count; ++i) text += (i ? "|" : "") + std::string(first + i * stride);
    return text;
}
std::string Files(const UninstallData& d) {
    return Joined(d.installed_file_count, d.installed_files[0], sizeof d.installed_files[0]);
}
std::string Names(const UninstallData& d) {
    return Joined(d.friendly_name_count, d.friendly_names[0], sizeof d.friendly_names[0]);
}
std::string Ids(const UninstallData& d) {
    return Joined(d.device_id_count, d.device_ids[0], sizeof d.device_ids[0]);
}

TEST(IniLoader, MissingSectionGivesTheDefaults) {
    FreshWorld();
    fake::SetWindowsVersion(fake::kWin98);
    const UninstallData& d = LoadSection("");
    EXPECT_STREQ("XLNSM", d.device);
    EXPECT_STREQ("XLN Wireless N", std::string(d.short_product_name).substr(0, 14).c_str());
    EXPECT_EQ(16u, strlen(d.short_product_name));
    EXPECT_EQ("1:XLN Wireless Network Adapter", Names(d));
    EXPECT_EQ(1, d.applet_count);
    EXPECT_STREQ("XLN Wireless Network Adapter Monitor", d.applets[0].display_name);
    EXPECT_STREQ("XLNWLMSG", d.applets[0].autorun_value);
    EXPECT_STREQ("SOFTWARE\\Tarnwell\\802.11\\UninstallInfo", d.uninstall_key);
    EXPECT_STREQ("SOFTWARE\\Tarnwell\\802.11", d.software_key);
    EXPECT_EQ("1:", Files(d));
    EXPECT_EQ(1, d.device_class_count);
    EXPECT_STREQ("", d.device_classes[0].setup_class);
    EXPECT_STREQ("XLNXLN Wireless Network Adapter", d.device_service_name);
    EXPECT_EQ(DriverModelVxd, d.driver_model);
    EXPECT_EQ(0, d.device_id_count + d.registry_key_count + d.installed_service_count);
    EXPECT_EQ(0, d.remove_device + d.force_local_uninstall + d.description_key[0]);
}

struct FieldCase {
    const char* name;
    std::string lines;
    std::function<std::string(const UninstallData&)> got;
    std::string expected;
};

TEST(IniLoader, KeysListsAndNumbers) {
    const std::string id36(36, 'i'), id37(37, 'j'), id70(70, 'k'), n128(128, 'n'), f130(130, 'f');
    const FieldCase cases[] = {
        {"id of 36 ends the ids", "DeviceID0=" + id36 + "\r\nDeviceID1=" + id37, Ids, "0:"},
        {"ids of 37, longer cut to 64", "DeviceID0=" + id37 + "\r\nDeviceID1=" + id70, Ids,
         "2:" + id37 + "|" + std::string(64, 'k')},
        {"17 names keep 16", "FriendlyNames=a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q", Names,
         "16:a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p"},
        {"empty pieces kept", "FriendlyNames=a, ,,", Names, "4:a| ||"},
        {"name of 128 keeps the next", "FriendlyNames=" + n128 + ",b", Names, "2:" + n128 + "|b"},
        {"long name cut, rest dropped", "FriendlyNames=a," + n128 + "x,b", Names, "2:a|" + n128},
        {"cut file dropped", "InstalledFiles=C:\\a.sys," + f130 + ",C:\\b.sys", Files, "1:C:\\a.sys"},
        {"classes cut at 4 and 8", "DeviceClass=Net,NetService,x,y,z",
         [](const UninstallData& d) {
             return std::to_string(d.device_class_count) + d.device_classes[1].setup_class +
                    d.device_classes[3].setup_class;
         },
         "2NetServi"},
        {"12 applets read 8", "AppletsNumber=12\r\nApplet7.Class=Last",
         [](const UninstallData& d) { return std::to_string(d.applet_count) + d.applets[7].window_class; },
         "8Last"},
        {"negative applet count", "AppletsNumber=-3",
         [](const UninstallData& d) { return std::to_string(d.applet_count); }, "0"},
        {"4294967295 keys is -1", "RegKeysNumber=4294967295",
         [](const UninstallData& d) { return std::to_string(d.registry_key_count); }, "0"},
        {"key entry as written",
         "RegKeysNumber= 2x\r\nRegKey0.Order=-5\r\nRegKey0.SubKey=A:B\r\nRegKey0.DeleteNonEmpty=1\r\n"
         "RegKey1.BaseKey=hklm\r\nRegKey1.SearchSubKeys=XLN",
         [](const UninstallData& d) {
             const RegistryKeyEntry* k = d.registry_keys;
             return std::to_string(d.registry_key_count) + " " + std::to_string(k[0].order) + " " +
                    (k[0].base_key == HKEY_LOCAL_MACHINE ? "HKLM " : "0 ") + k[0].key_path + " " +
                    std::to_string(k[0].delete_if_non_empty) + " " +
                    (k[1].base_key ? "HKLM " : "0 ") + k[1].search_sub_keys;
         },
         "2 -5 HKLM A:B 1 0 XLN"},
    };
    for (const FieldCase& c : cases) {
        FreshWorld();
        EXPECT_EQ(c.expected, c.got(LoadSection(c.lines))) << c.name;
    }
}

TEST(IniNumber, ConvertsAsStrtoulInBase10) {
    const struct {
        const char* text;
        uint32_t value;
    } cases[] = {{" \t+12abc", 12}, {"-1", 4294967295u}, {"4294967296", 4294967295u},
                 {"-4294967295", 1}, {"0x10", 0}, {"", 0}, {"- 5", 0}};
    for (auto& c : cases) EXPECT_EQ(c.value, IniNumber(c.text)) << "'" << c.text << "'";
}

TEST(IniLoader, ModelFromWinVerOrFamily) {
    const struct {
        const char* name;
        fake::WindowsVersion version;
        const char* win_ver;
        int32_t model;
    } cases[] = {
        {"95", fake::kWin95, "", DriverModelVxd},     {"Me", fake::kWinMe, "wdm2k", DriverModelVxd},
        {"NT 4", fake::kNT4, "", DriverModelNt4},     {"XP", fake::kWinXP, "", DriverModelWdm2k},
        {"NT 3.51", fake::kNT351, "", DriverModelNone}, {"named", fake::kWinXP, "WDM98", DriverModelWdm98},
    };
    for (auto& c : cases) {
        FreshWorld();
        fake::SetWindowsVersion(c.version);
        EXPECT_EQ(c.model, LoadSection(std::string("WinVer=") + c.win_ver).driver_model) << c.name;
    }
}

// The product's INF and its PNF are added; another product's, a name in
// other case and a file that is not an OEM INF are not.
TEST(IniLoader, OemInfSearchAndItsRoom) {
    const std::string product = "FullProductName=XLN 802.11g\r\n";
    const std::string full63(63, 'p');
    const struct {
        const char* name;
        std::string lines;
        std::string expected;
    } cases[] = {
        {"matches", product + "InstalledFiles=a",
         "3:a|" + kInf + "oem1.inf|" + kInf + "oem1.Pnf"},
        {"room for the pair", product + "InstalledFiles=" + std::string(61, ','),
         "64:" + std::string(61, '|') + "|" + kInf + "oem1.inf|" + kInf + "oem1.Pnf"},
        {"no room: no INF alone", product + "InstalledFiles=" + std::string(62, ','),
         "63:" + std::string(62, '|')},
    };
    for (auto& c : cases) {
        FreshWorld();
        fake::AddFile(kInf + "oem1.inf", "[Strings]\r\nFullProductName=\"XLN 802.11g\"\r\n");
        fake::AddFile(kInf + "oem2.inf", "[Strings]\r\nFullProductName=XLN 802.11b\r\n");
        fake::AddFile(kInf + "oem3.inf", "[strings]\r\nFullProductName=xln 802.11G\r\n");
        fake::AddFile(kInf + "net.inf", "[Strings]\r\nFullProductName=XLN 802.11g\r\n");
        EXPECT_EQ(c.expected, Files(LoadSection(c.lines))) << c.name;
        EXPECT_EQ(0, fake::OpenHandleCount()) << c.name << ": search left open";
    }
}

// Windows' reader rules the loader relies on.
TEST(IniReader, NamesQuotesAndEmptyValues) {
    FreshWorld();
    fake::AddFile(kIni, "[Sec]\r\nEmpty=\r\nSingle='a b'\r\nLone=\"x\r\n");
    const struct {
        const char* section;
        const char* key;
        const char* expected;
    } cases[] = {{"SEC", "EMPTY", ""}, {"sec", "single", "a b"}, {"Sec", "Lone", "\"x"},
                 {"Sec", "Missing", "dflt"}, {"Other", "Empty", "dflt"}};
    for (auto& c : cases) {
        char out[16];
        memset(out, '#', sizeof out);
        GetPrivateProfileStringA(c.section, c.key, "dflt", out, sizeof out, kIni);
        EXPECT_STREQ(c.expected, out) << c.section << "/" << c.key;
    }
}

}  // namespace

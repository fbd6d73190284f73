// Loading a description section of the INI file: defaults, the id length
// boundary, the comma-list limits, numbers, the model per family and the
// OEM INF search with its room rule.
#include <gtest/gtest.h>

#include "removal_test_support.h"
#include "uninstall_data/ini_loader.h"
#include "uninstall_data/ini_values.h"

namespace {

const char kIni[] = "C:\\Program Files\\XLN\\UNINST.INI";
const std::string kInf = "C:\\WINDOWS\\INF\\";

// Section S of an INI file holding these lines, loaded over a sentinel.
const UninstallData& LoadSection(const std::string& lines) {
    UninstallData& data = ClearedRecord();
    memset(&data, 0xAB, sizeof data);
    fake::AddFile(kIni, "[S]\r\n" + lines);
    EXPECT_EQ(0, LoadFromIniSection(data, kIni, "s"));
    return data;
}

// A list as "count:entry|entry|...".
template <size_t N, size_t W>
std::string List(int32_t count, const char (&entries)[N][W]) {
    std::string text = std::to_string(count) + ":";
    for (int32_t i = 0; i < count; ++i) text += (i ? "|" : "") + std::string(entries[i]);
    return text;
}
std::string Files(const UninstallData& d) { return List(d.installed_file_count, d.installed_files); }
std::string Names(const UninstallData& d) { return List(d.friendly_name_count, d.friendly_names); }
std::string Ids(const UninstallData& d) { return List(d.device_id_count, d.device_ids); }
std::string Model(const UninstallData& d) { return std::to_string(d.driver_model); }

TEST(IniLoader, MissingSectionGivesTheDefaults) {
    fake::Reset();
    const UninstallData& d = LoadSection("");
    EXPECT_EQ("XLNSM XLN Wireless Net XLN Wireless Network Adapter Monitor XLNWLMSG",
              std::string(d.device) + " " + d.short_product_name + " " + d.applets[0].display_name +
                  " " + d.applets[0].autorun_value);
    EXPECT_EQ("1:XLN Wireless Network Adapter", Names(d));
    EXPECT_EQ("1:", Files(d));
    EXPECT_STREQ("SOFTWARE\\Tarnwell\\802.11", d.software_key);
    EXPECT_STREQ("XLNXLN Wireless Network Adapter", d.device_service_name);
    EXPECT_EQ("1 1  2", std::to_string(d.applet_count) + " " + std::to_string(d.device_class_count) +
                           " " + d.device_classes[0].setup_class + " " + Model(d));
    EXPECT_EQ(0, d.device_id_count + d.registry_key_count + d.installed_service_count +
                     d.remove_device + d.force_local_uninstall + d.description_key[0]);
}

struct Row {
    const char* name;
    std::string lines;
    std::string (*got)(const UninstallData&);
    std::string expected;
    fake::WindowsVersion version;
};

std::string Classes(const UninstallData& d) {
    return std::to_string(d.device_class_count) + d.device_classes[1].setup_class + "|" +
           d.device_classes[3].setup_class;
}
std::string Applets(const UninstallData& d) {
    return std::to_string(d.applet_count) + d.applets[7].window_class;
}
std::string Keys(const UninstallData& d) {
    const RegistryKeyEntry* k = d.registry_keys;
    return std::to_string(d.registry_key_count) + " " + std::to_string(k[0].order) +
           (k[0].base_key == HKEY_LOCAL_MACHINE ? " HKLM " : " 0 ") + k[0].key_path + " " +
           std::to_string(k[0].delete_if_non_empty) + (k[1].base_key ? " HKLM " : " 0 ") +
           k[1].search_sub_keys;
}

TEST(IniLoader, KeysListsNumbersAndModel) {
    const std::string id37(37, 'j'), n128(128, 'n');
    // Two whole paths, then one the reader cuts at 259 to "C:\APP\XLNDRV.DLL".
    const std::string p1 = "C:\\" + std::string(124, 'a'), p2 = "C:\\" + std::string(110, 'b');
    const std::string s1030(1030, 's'), s1024(1024, 's'), s1023(1023, 's');
    const auto xp = fake::kWinXP;
    const Row rows[] = {
        {"id of 36 ends the ids", "DeviceID0=" + std::string(36, 'i') + "\nDeviceID1=" + id37, Ids,
         "0:", xp},
        {"ids of 37 kept, longer cut", "DeviceID0=" + id37 + "\nDeviceID1=" + std::string(70, 'k'),
         Ids, "2:" + id37 + "|" + std::string(64, 'k'), xp},
        {"17 names keep 16", "FriendlyNames=a,b,c,d,e,f,g,h,i,j,k,l,m,n,o,p,q", Names,
         "16:a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p", xp},
        {"empty pieces kept", "FriendlyNames=a, ,,", Names, "4:a| ||", xp},
        {"name of 128 keeps the next", "FriendlyNames=" + n128 + ",b", Names, "2:" + n128 + "|b", xp},
        {"long name cut, rest dropped", "FriendlyNames=a," + n128 + "x,b", Names, "2:a|" + n128, xp},
        {"cut file dropped", "InstalledFiles=C:\\a," + std::string(130, 'f') + ",b", Files, "1:C:\\a", xp},
        {"file cut by the reader dropped", "InstalledFiles=" + p1 + "," + p2 + ",C:\\APP\\XLNDRV.DLL.BAK",
         Files, "2:" + p1 + "|" + p2, xp},
        {"64 files before the reader's cut kept", "InstalledFiles=" + std::string(64, ',') + std::string(300, 'z'),
         [](const UninstallData& d) { return std::to_string(d.installed_file_count); }, "64", xp},
        {"cut sub key dropped, the next moves up",
         "RegKeysNumber=2\nRegKey0.SubKey=" + s1030 + "\nRegKey1.SubKey=B", Keys, "1 0 HKLM B 0 0 ", xp},
        {"sub key of 1024 taken as cut", "RegKeysNumber=1\nRegKey0.SubKey=" + s1024, Keys, "0 0 0  0 0 ", xp},
        {"sub key of 1023 kept", "RegKeysNumber=1\nRegKey0.SubKey=" + s1023, Keys,
         "1 0 HKLM " + s1023 + " 0 0 ", xp},
        {"classes: 4 of 8", "DeviceClass=Net,NetServi,x,y,z", Classes, "4NetServi|y", xp},
        {"12 applets read 8", "AppletsNumber=12\nApplet7.Class=Last", Applets, "8Last", xp},
        {"negative applet count", "AppletsNumber=-3", Applets, "0", xp},
        {"4294967295 keys is -1", "RegKeysNumber=4294967295", Keys, "0 0 0  0 0 ", xp},
        {"key entries as written",
         "RegKeysNumber= 2x\nRegKey0.Order=-5\nRegKey0.SubKey=A:B\nRegKey0.DeleteNonEmpty=1\n"
         "RegKey1.BaseKey=hklm\nRegKey1.SearchSubKeys=XLN",
         Keys, "2 -5 HKLM A:B 1 0 XLN", xp},
        {"95 without WinVer", "", Model, "4", fake::kWin95},
        {"Me with a WinVer in other case", "WinVer=wdm2k", Model, "4", fake::kWinMe},
        {"NT 4", "", Model, "3", fake::kNT4},
        {"NT 3.51", "", Model, "0", fake::kNT351},
        {"model named", "WinVer=WDM98", Model, "1", xp},
    };
    for (const Row& row : rows) {
        fake::Reset();
        fake::SetWindowsVersion(row.version);
        EXPECT_EQ(row.expected, row.got(LoadSection(row.lines))) << row.name;
    }
}

TEST(IniNumber, ConvertsAsStrtoulInBase10) {
    const struct {
        const char* text;
        uint32_t value;
    } cases[] = {{" \t+12abc", 12}, {"-1", 4294967295u}, {"4294967296", 4294967295u},
                 {"-4294967295", 1}, {"0x10", 0}, {"- 5", 0}};
    for (auto& c : cases) EXPECT_EQ(c.value, IniNumber(c.text)) << "'" << c.text << "'";
}

// Only the product's own OEM INF joins, with its PNF; never without it.
TEST(IniLoader, OemInfSearchAndItsRoom) {
    const std::string pair = kInf + "oem1.inf|" + kInf + "oem1.Pnf";
    const struct {
        int pieces;  // of InstalledFiles
        std::string expected;
    } cases[] = {{1, "3:|" + pair}, {62, "64:" + std::string(62, '|') + pair},
                 {63, "63:" + std::string(62, '|')}};
    for (auto& c : cases) {
        fake::Reset();
        const char* names[] = {"oem1.inf", "oem2.inf", "oem3.inf", "net.inf"};
        const char* products[] = {"\"XLN g\"", "XLN b", "xln G", "XLN g"};
        for (int i = 0; i < 4; ++i)
            fake::AddFile(kInf + names[i], std::string("[Strings]\nFullProductName=") + products[i]);
        const std::string files = "InstalledFiles=" + std::string(c.pieces - 1, ',');
        EXPECT_EQ(c.expected, Files(LoadSection("FullProductName=XLN g\n" + files))) << c.pieces;
        EXPECT_EQ(0, fake::OpenHandleCount()) << c.pieces << ": search left open";
    }
}

// The search pattern takes the Windows directory and 14 more of its 260 bytes.
TEST(IniLoader, OemInfPatternRoom) {
    for (size_t length : {246, 247}) {
        fake::Reset();
        fake::SetSharedWindowsDirectory("C:\\" + std::string(length - 3, 'w'));
        LoadSection("");
        EXPECT_EQ(length == 246 ? 1u : 0u, fake::CallsTo("FindFirstFileA").size()) << length;
    }
}

// An INF path of exactly an entry's 128 characters joins; one more would be
// stored cut, naming another file, and is passed over.
TEST(IniLoader, OemInfPathAtTheEntryWidth) {
    for (size_t extra : {0, 1}) {
        fake::Reset();
        const std::string inf = "C:\\" + std::string(112 + extra, 'w') + "\\INF\\oem1.";
        fake::SetSharedWindowsDirectory(inf.substr(0, 115 + extra));
        fake::AddFile(inf + "inf", "[Strings]\nFullProductName=XLN g");
        const std::string expected = extra ? "1:" : "3:|" + inf + "inf|" + inf + "Pnf";
        EXPECT_EQ(expected, Files(LoadSection("FullProductName=XLN g\nInstalledFiles="))) << extra;
    }
}

}  // namespace

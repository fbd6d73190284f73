// Loading one uninstall description section of the INI file beside the
// program. Every key has a default, lists are comma-separated and cut at
// their limits, and nothing is ever reported.
#include "uninstall_data/ini_loader.h"

#include "uninstall_data/ini_values.h"
#include "uninstall_data/oem_inf_search.h"
#include "uninstall_data/registry_loader.h"

#include "system/run_log.h"
#include "system/windows_family.h"

namespace {

const char kProductName[] = "XLN Wireless Network Adapter";
const DWORD kNumberSize = 260;
const int32_t kMinDeviceIdLength = 37;

struct IniSection {
    const char* file;
    const char* name;
};

DWORD ReadText(const IniSection& ini, const char* key, const char* fallback, char* out,
               DWORD size) {
    return GetPrivateProfileStringA(ini.name, key, fallback, out, size, ini.file);
}

// The number's 32 bits taken as signed, so "-1" and "4294967295" are -1.
int32_t ReadNumber(const IniSection& ini, const char* key, const char* fallback) {
    char text[kNumberSize];
    ReadText(ini, key, fallback, text, sizeof text);
    return (int32_t)IniNumber(text);
}

// A count of list entries: `limit` or more gives `limit`, below 1 none.
int32_t ReadCount(const IniSection& ini, const char* key, const char* fallback, int32_t limit) {
    int32_t count = ReadNumber(ini, key, fallback);
    return count >= limit ? limit : count < 1 ? 0 : count;
}

// Makes a key name such as "Applet3.Class" from its format and index.
const char* Indexed(char* key, const char* format, int index) {
    wsprintfA(key, format, index);
    return key;
}

// The ids end at the first key shorter than a hardware id can be.
void ReadDeviceIds(const IniSection& ini, UninstallData& data) {
    char key[32], id[TAVK_MAX_DEVICE_ID_LEN + 1];
    for (int n = 0; n < TAVK_MAX_NUM_DEVICE_IDS; ++n) {
        if ((int32_t)ReadText(ini, Indexed(key, "DeviceID%d", n), "", id, sizeof id) <
            kMinDeviceIdLength)
            return;
        memcpy(data.device_ids[n], id, sizeof id);
        data.device_id_count = n + 1;
    }
}

void ReadNames(const IniSection& ini, UninstallData& data) {
    ReadText(ini, "Device", "XLNSM", data.device, sizeof data.device);
    ReadText(ini, "ShortCompanyName", "XLN", data.short_company_name, sizeof data.short_company_name);
    ReadText(ini, "FullCompanyName", "XLN", data.full_company_name, sizeof data.full_company_name);
    ReadText(ini, "ShortProductName", kProductName, data.short_product_name,
             sizeof data.short_product_name);
    ReadText(ini, "FullProductName", kProductName, data.full_product_name,
             sizeof data.full_product_name);
    ReadText(ini, "Version", "", data.version, sizeof data.version);
    ReadText(ini, "UninstallKey", DEFAULT_DESCRIPTION_KEY, data.uninstall_key,
             sizeof data.uninstall_key);
}

void ReadFriendlyNames(const IniSection& ini, UninstallData& data) {
    char text[260];
    ReadText(ini, "FriendlyNames", kProductName, text, sizeof text);
    SplitCommaList(text, {data.friendly_names[0], &data.friendly_name_count,
                          TAVK_MAX_NUM_FRIENDLY_NAMES, TAVK_MAX_FRIENDLY_NAME_LEN});
}

void ReadApplets(const IniSection& ini, UninstallData& data) {
    data.applet_count = ReadCount(ini, "AppletsNumber", "1", TAVK_MAX_NUM_APPLETS);
    char key[32];
    for (int i = 0; i < data.applet_count; ++i) {
        AppletEntry& applet = data.applets[i];
        ReadText(ini, Indexed(key, "Applet%d.Class", i), "XLNWLMSG", applet.window_class,
                 sizeof applet.window_class);
        ReadText(ini, Indexed(key, "Applet%d.Name", i), "XLN Wireless Network Adapter Monitor",
                 applet.display_name, sizeof applet.display_name);
        ReadText(ini, Indexed(key, "Applet%d.Autorun", i), "XLNWLMSG", applet.autorun_value,
                 sizeof applet.autorun_value);
    }
}

void ReadSoftwareKey(const IniSection& ini, UninstallData& data) {
    ReadText(ini, "SoftwareKey", DEFAULT_SOFTWARE_KEY, data.software_key,
             sizeof data.software_key);
    data.preserve_software_key = ReadNumber(ini, "PreserveSoftwareKey", "0");
}

// The reader fills a buffer it had to cut up to its last byte: such a text
// may go on in the file (one that fits exactly cannot be told apart).
bool ReaderCut(DWORD length, DWORD size) { return length == size - 1; }

// A path cut at the entry's width, or by the reader at the end of the
// text, names another file (a cut "XLNDRV.DLL.BAK" would be "XLNDRV.DLL"):
// such an entry is dropped rather than deleted.
void ReadInstalledFiles(const IniSection& ini, UninstallData& data) {
    char text[260];
    DWORD length = ReadText(ini, "InstalledFiles", "", text, sizeof text);
    ListEnd end = SplitCommaList(text, {data.installed_files[0], &data.installed_file_count,
                                        TAVK_MAX_NUM_INSTALLED_FILES, TAVK_MAX_INSTALLED_FILE_NAME_LEN});
    if (end == ListEntryCut || (end == ListAtTextEnd && ReaderCut(length, sizeof text))) {
        char* dropped = data.installed_files[--data.installed_file_count];
        memset(dropped, 0, sizeof data.installed_files[0]);
        LogLine("INI section [%s]: InstalledFiles: its last piece is cut, and is dropped", ini.name);
    }
    AppendOemInfFiles(data);
}

// Without a model of its own the section takes the running family's.
int32_t FamilyDriverModel() {
    switch (GetWindowsFamily()) {
    case FamilyWin2000: return DriverModelWdm2k;
    case FamilyNT4: return DriverModelNt4;
    case FamilyWin95: case FamilyWin98: case FamilyWinMe: return DriverModelVxd;
    default: return DriverModelNone;
    }
}

void ReadDriver(const IniSection& ini, UninstallData& data) {
    char model[260];
    ReadText(ini, "WinVer", "", model, sizeof model);
    data.driver_model = DriverModelOf(model);
    if (data.driver_model == DriverModelNone) data.driver_model = FamilyDriverModel();
    ReadText(ini, "ServiceName", "XLNXLN Wireless Network Adapter", data.device_service_name,
             sizeof data.device_service_name);
}

// The classes come as one list; each keeps order 0.
void ReadDeviceClasses(const IniSection& ini, UninstallData& data) {
    char text[260];
    char classes[TAVK_MAX_NUM_DEVICE_CLASS_NAMES][TAVK_CLASS_NAME_LEN + 1] = {};
    ReadText(ini, "DeviceClass", "", text, sizeof text);
    SplitCommaList(text, {classes[0], &data.device_class_count, TAVK_MAX_NUM_DEVICE_CLASS_NAMES,
                          TAVK_CLASS_NAME_LEN});
    for (int i = 0; i < data.device_class_count; ++i)
        memcpy(data.device_classes[i].setup_class, classes[i], sizeof classes[i]);
}

// Only the text "HKLM" names a root this program removes keys under.
// False when the key path was cut by the reader: it would name a key
// further up, some other program's perhaps.
bool ReadRegistryKey(const IniSection& ini, int k, RegistryKeyEntry& entry) {
    char key[40], base[260];
    entry.order = ReadNumber(ini, Indexed(key, "RegKey%d.Order", k), "0");
    ReadText(ini, Indexed(key, "RegKey%d.BaseKey", k), "HKLM", base, sizeof base);
    entry.base_key = strcmp(base, "HKLM") == 0 ? HKEY_LOCAL_MACHINE : 0;
    DWORD length = ReadText(ini, Indexed(key, "RegKey%d.SubKey", k), "", entry.key_path,
                            sizeof entry.key_path);
    entry.delete_if_non_empty = ReadNumber(ini, Indexed(key, "RegKey%d.DeleteNonEmpty", k), "0");
    ReadText(ini, Indexed(key, "RegKey%d.SearchSubKeys", k), "", entry.search_sub_keys,
             sizeof entry.search_sub_keys);
    return !ReaderCut(length, sizeof entry.key_path);
}

// A cut entry is dropped: the ones after it move up, and they run by their
// order numbers anyway.
void ReadRegistryKeys(const IniSection& ini, UninstallData& data) {
    int32_t listed = ReadCount(ini, "RegKeysNumber", "0", TAVK_MAX_NUM_REG_KEYS);
    char key[40];
    data.registry_key_count = 0;
    for (int k = 0; k < listed; ++k) {
        RegistryKeyEntry& entry = data.registry_keys[data.registry_key_count];
        if (ReadRegistryKey(ini, k, entry)) {
            ++data.registry_key_count;
            continue;
        }
        memset(&entry, 0, sizeof entry);
        LogLine("INI section [%s]: %s is cut, and its key is dropped", ini.name,
                Indexed(key, "RegKey%d.SubKey", k));
    }
}

}  // namespace

int LoadFromIniSection(UninstallData& data, const char* ini_path, const char* section) {
    memset(&data, 0, sizeof data);
    const IniSection ini = {ini_path, section};
    ReadDeviceIds(ini, data);
    ReadNames(ini, data);
    ReadFriendlyNames(ini, data);
    ReadApplets(ini, data);
    ReadSoftwareKey(ini, data);
    ReadInstalledFiles(ini, data);
    ReadDriver(ini, data);
    ReadDeviceClasses(ini, data);
    ReadRegistryKeys(ini, data);
    return 0;
}

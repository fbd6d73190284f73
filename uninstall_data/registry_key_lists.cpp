// The lists of the registry description that are read entry by entry:
// Applets, DeviceClassNames and RegistryKeys.
#include "uninstall_data/registry_key_lists.h"

#include "uninstall_data/order_number.h"
#include "uninstall_data/registry_lists.h"

#include "messages/error_report.h"
#include "platform/mbtext.h"

namespace {

const DWORD kNameChars = 129;

// A list of one subkey per entry: the failure of its enumeration and the
// limit of its array, each with its code.
struct SubkeyList {
    int32_t enum_code;
    const char* enum_text;
    int32_t limit_code;
    const char* limit_text;
    int32_t capacity;
};

// Reads each subkey into entry `count` by `read(name, count)`, counting
// those read; stops at the first failure.
template <typename ReadEntry>
LoadStatus EnumSubkeys(HKEY list, const SubkeyList& codes, int32_t& count, ReadEntry read) {
    char name[kNameChars];
    for (DWORD index = 0;; ++index) {
        LONG status = RegEnumKeyA(list, index, name, sizeof name);
        if (status == ERROR_NO_MORE_ITEMS) return 0;
        if (status != ERROR_SUCCESS) return LoadFailure(codes.enum_code, codes.enum_text);
        if (count >= codes.capacity) return LoadFailure(codes.limit_code, codes.limit_text);
        if (LoadStatus failed = read(name, count)) return failed;
        ++count;
    }
}

// --- Applets: one subkey per applet ---

LoadStatus ReadApplet(HKEY applets, const char* name, AppletEntry& applet) {
    HKEY key;
    if (RegOpenKeyA(applets, name, &key) != ERROR_SUCCESS)
        return LoadFailure(1423, "Unable to open applet key");
    ReadTextValue(key, "Class", applet.window_class, sizeof applet.window_class);
    ReadTextValue(key, "Name", applet.display_name, sizeof applet.display_name);
    ReadTextValue(key, "AutoRunValue", applet.autorun_value, sizeof applet.autorun_value);
    if (RegCloseKey(key) != ERROR_SUCCESS) return LoadFailure(1462, "Unable to close Applets key");
    return 0;
}

LoadStatus EnumApplets(HKEY applets, UninstallData& data) {
    static const SubkeyList kList = {1409, "Unable to enumerate applet keys", 1415,
                                     "TAVK_MAX_NUM_APPLETS exceeded", TAVK_MAX_NUM_APPLETS};
    return EnumSubkeys(applets, kList, data.applet_count, [&](const char* name, int32_t at) {
        return ReadApplet(applets, name, data.applets[at]);
    });
}

// --- DeviceClassNames: value name = order, data = class name ---

LoadStatus ReadDeviceClass(HKEY key, DWORD index, const char* name, UninstallData& data) {
    DeviceClassEntry& entry = data.device_classes[data.device_class_count];
    char ignored[kNameChars];
    DWORD name_size = sizeof ignored;
    DWORD size = sizeof entry.setup_class;
    LONG status = RegEnumValueA(key, index, ignored, &name_size, nullptr, nullptr,
                                (LPBYTE)entry.setup_class, &size);
    if (status == ERROR_NO_MORE_ITEMS) return 2;
    if (status != ERROR_SUCCESS || (size > 0 && !HasTerminator(entry.setup_class, size))) {
        entry.setup_class[0] = 0;
        return 1;
    }
    if (size == 0) entry.setup_class[0] = 0;
    ParseOrderNumber(name, &entry.order);
    if (entry.order == -1) {
        ReportTavkError(1673, "Device class '%s': order is not a number", entry.setup_class);
        return 1;
    }
    ++data.device_class_count;
    return 0;
}

LoadStatus EnumDeviceClasses(HKEY key, UninstallData& data) {
    char name[kNameChars];
    for (DWORD index = 0;; ++index) {
        DWORD name_size = sizeof name;
        LONG status = RegEnumValueA(key, index, name, &name_size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) return 0;
        if (status != ERROR_SUCCESS) return LoadFailure(1635, "Unable to enumerate device class names");
        if (data.device_class_count >= TAVK_MAX_NUM_DEVICE_CLASS_NAMES)
            return LoadFailure(1642, "TAVK_MAX_NUM_DEVICE_CLASS_NAMES exceeded");
        if (LoadStatus failed = ReadDeviceClass(key, index, name, data)) return failed;
    }
}

// --- RegistryKeys: subkey name = order, values describe the key ---

void ReadRegistryKeyValues(HKEY key, RegistryKeyEntry& entry) {
    char base[5];
    ReadTextValue(key, "BaseKey", base, sizeof base);
    entry.base_key = strcmp(base, "HKLM") == 0 ? HKEY_LOCAL_MACHINE : (HKEY)0;
    ReadTextValue(key, "SubKey", entry.key_path, sizeof entry.key_path);
    MbReplaceChar(entry.key_path, ':', '\\');
    entry.delete_if_non_empty = ValuePresent(key, "DeleteIfNonEmpty") ? 1 : 0;
    ReadTextValue(key, "SearchSubKeys", entry.search_sub_keys, sizeof entry.search_sub_keys);
}

LoadStatus ReadRegistryKey(HKEY list, const char* name, RegistryKeyEntry& entry) {
    ParseOrderNumber(name, &entry.order);
    if (entry.order == -1) entry.order = 0;
    HKEY key;
    if (RegOpenKeyA(list, name, &key) != ERROR_SUCCESS)
        return LoadFailure(1764, "Unable to open RegistryKeys subkey");
    ReadRegistryKeyValues(key, entry);
    if (RegCloseKey(key) != ERROR_SUCCESS)
        return LoadFailure(1806, "Unable to close RegistryKeys subkey");
    return 0;
}

LoadStatus EnumRegistryKeys(HKEY list, UninstallData& data) {
    static const SubkeyList kList = {1748, "Unable to enumerate RegistryKeys keys", 1754,
                                     "TAVK_MAX_NUM_REG_KEYS exceeded", TAVK_MAX_NUM_REG_KEYS};
    return EnumSubkeys(list, kList, data.registry_key_count, [&](const char* name, int32_t at) {
        return ReadRegistryKey(list, name, data.registry_keys[at]);
    });
}

}  // namespace

LoadStatus ReadApplets(HKEY description, UninstallData& data) {
    return ReadList(description, "Applets", EnumApplets, data, 1471, "Unable to close aaplets key");
}

LoadStatus ReadDeviceClasses(HKEY description, UninstallData& data) {
    return ReadList(description, "DeviceClassNames", EnumDeviceClasses, data, 1682, "Unable to close DeviceClassNames key");
}

LoadStatus ReadRegistryKeys(HKEY description, UninstallData& data) {
    return ReadList(description, "RegistryKeys", EnumRegistryKeys, data, 1815, "Unable to close RegistryKeys key");
}

// Loading the uninstall description from its registry key.
#include "uninstall_data/registry_loader.h"

#include "uninstall_data/registry_lists.h"

#include "system/command_options.h"
#include "system/run_state.h"
#include "platform/mbtext.h"

namespace {

// The path "/rootkey=" names on the command line, else the default.
void ChooseDescriptionKey(char* path, size_t size) {
    if (!RootKeyOption(GetCommandLineA(), path, size)) MbCopy(path, size, DEFAULT_DESCRIPTION_KEY);
}

// Each name's value and where it goes in the record: a table rather than a
// call site each. (The value names stay separate texts: the INI loader's
// keys share them.)
#define NAME_FIELD(value, field) \
    {value, (uint16_t)offsetof(UninstallData, field), (uint16_t)sizeof UninstallData::field}
const struct {
    const char* value;
    uint16_t offset, size;
} kNameFields[] = {
    NAME_FIELD("ModemProvider", short_company_name),
    NAME_FIELD("FullCompanyName", full_company_name),
    NAME_FIELD("ShortProductName", short_product_name),
    NAME_FIELD("FullProductName", full_product_name),
    NAME_FIELD("Version", version),
    NAME_FIELD("Device", device),
    NAME_FIELD("UninstallKey", uninstall_key),
    NAME_FIELD("CplShortcutFolderName", cpl_shortcut_folder_name),
    NAME_FIELD("CplShortcutItemName", cpl_shortcut_item_name),
};
#undef NAME_FIELD
static_assert(offsetof(UninstallData, cpl_shortcut_item_name) < 0x10000, "every offset fits");

void ReadNames(HKEY key, UninstallData& data) {
    for (const auto& field : kNameFields)
        ReadTextValue(key, field.value, (char*)&data + field.offset, field.size);
}

void ReadFlags(HKEY key, UninstallData& data) {
    ReadTextValue(key, "SoftwareKey", data.software_key, sizeof data.software_key);
    data.preserve_software_key = ValuePresent(key, "PreserveSoftwareKey") ? 1 : 0;
    data.force_local_uninstall = ValuePresent(key, "ForceLocalUninstall") ? 1 : 0;
    data.remove_device = InstallMode || ValuePresent(key, "RemoveDevice") ? 1 : 0;
}

void ReadDriver(HKEY key, UninstallData& data) {
    char model[9];
    ReadTextValue(key, "WinVer", model, sizeof model);
    data.driver_model = DriverModelOf(model);
    ReadTextValue(key, "DeviceServiceName", data.device_service_name,
                  sizeof data.device_service_name);
}

// Reads everything in the order setup wrote it; stops at the first failure.
LoadStatus ReadDescription(HKEY key, UninstallData& data) {
    ReadNames(key, data);
    if (LoadStatus failed = ReadFriendlyNames(key, data)) return failed;
    if (LoadStatus failed = ReadApplets(key, data)) return failed;
    ReadFlags(key, data);
    if (LoadStatus failed = ReadInstalledFiles(key, data)) return failed;
    ReadDriver(key, data);
    if (LoadStatus failed = ReadDeviceClasses(key, data)) return failed;
    if (LoadStatus failed = ReadInstalledServices(key, data)) return failed;
    return ReadRegistryKeys(key, data);
}

}  // namespace

int32_t DriverModelOf(const char* text) {
    static const char* const kModels[] = {"WDM98", "WDM2k", "NT4", "VxD"};
    for (int i = 0; i < 4; ++i)
        if (strcmp(text, kModels[i]) == 0) return DriverModelWdm98 + i;
    return DriverModelNone;
}

int LoadFromRegistry(UninstallData& data) {
    memset(&data, 0, sizeof data);
    ChooseDescriptionKey(data.description_key, sizeof data.description_key);
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, data.description_key, &key) != ERROR_SUCCESS) return 1;
    // Any other key is no description: nothing of it is read or removed,
    // as if it could not be opened.
    if (!HoldsDescription(key)) {
        RegCloseKey(key);
        return 1;
    }
    LoadStatus status = ReadDescription(key, data);
    return CloseListKey(key, status, 1822, "Unable to close uninstall key");
}

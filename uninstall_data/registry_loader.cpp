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

void ReadNames(HKEY key, UninstallData& data) {
    ReadTextValue(key, "ModemProvider", data.short_company_name, sizeof data.short_company_name);
    ReadTextValue(key, "FullCompanyName", data.full_company_name, sizeof data.full_company_name);
    ReadTextValue(key, "ShortProductName", data.short_product_name, sizeof data.short_product_name);
    ReadTextValue(key, "FullProductName", data.full_product_name, sizeof data.full_product_name);
    ReadTextValue(key, "Version", data.version, sizeof data.version);
    ReadTextValue(key, "Device", data.device, sizeof data.device);
    ReadTextValue(key, "UninstallKey", data.uninstall_key, sizeof data.uninstall_key);
    ReadTextValue(key, "CplShortcutFolderName", data.cpl_shortcut_folder_name,
                  sizeof data.cpl_shortcut_folder_name);
    ReadTextValue(key, "CplShortcutItemName", data.cpl_shortcut_item_name,
                  sizeof data.cpl_shortcut_item_name);
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

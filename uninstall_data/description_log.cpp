// The run log's account of a description: one line for its source and
// result, then one line per item, so that an administrator can see what
// the removal was told to remove.
#include "uninstall_data/description_log.h"

#include "system/run_log.h"

namespace {

const char* YesNo(int32_t flag) { return flag ? "yes" : "no"; }

const char* RootName(HKEY root) { return root == HKEY_LOCAL_MACHINE ? "HKLM" : "(not HKLM: skipped)"; }

void LogNames(const UninstallData& d) {
    LogLine("  product: \"%s\" (\"%s\"), company \"%s\" (\"%s\"), version \"%s\", device \"%s\"",
            d.full_product_name, d.short_product_name, d.full_company_name, d.short_company_name,
            d.version, d.device);
    LogLine("  uninstall entry \"%s\", software key \"%s\" (preserved: %s), shortcut \"%s\\%s\"",
            d.uninstall_key, d.software_key, YesNo(d.preserve_software_key),
            d.cpl_shortcut_folder_name, d.cpl_shortcut_item_name);
    LogLine("  remove devices: %s, force local removal: %s, driver model %d, device service \"%s\"",
            YesNo(d.remove_device), YesNo(d.force_local_uninstall), (int)d.driver_model,
            d.device_service_name);
}

void LogLists(const UninstallData& d) {
    for (int32_t i = 0; i < CountWithin(d.friendly_name_count, TAVK_MAX_NUM_FRIENDLY_NAMES); ++i)
        LogLine("  device description: %s", d.friendly_names[i]);
    for (int32_t i = 0; i < CountWithin(d.device_id_count, TAVK_MAX_NUM_DEVICE_IDS); ++i)
        LogLine("  hardware id: %s", d.device_ids[i]);
    for (int32_t i = 0; i < CountWithin(d.device_class_count, TAVK_MAX_NUM_DEVICE_CLASS_NAMES); ++i)
        LogLine("  device class %d: %s", (int)d.device_classes[i].order, d.device_classes[i].setup_class);
    for (int32_t i = 0; i < CountWithin(d.applet_count, TAVK_MAX_NUM_APPLETS); ++i)
        LogLine("  applet: window class \"%s\", name \"%s\", Run value \"%s\"", d.applets[i].window_class,
                d.applets[i].display_name, d.applets[i].autorun_value);
    for (int32_t i = 0; i < CountWithin(d.installed_file_count, TAVK_MAX_NUM_INSTALLED_FILES); ++i)
        LogLine("  installed file: %s", d.installed_files[i]);
    for (int32_t i = 0; i < CountWithin(d.installed_service_count, TAVK_MAX_NUM_INSTALLED_FILES); ++i)
        LogLine("  service program: %s", d.installed_services[i]);
}

void LogRegistryKeys(const UninstallData& d) {
    for (int32_t i = 0; i < CountWithin(d.registry_key_count, TAVK_MAX_NUM_REG_KEYS); ++i) {
        const RegistryKeyEntry& key = d.registry_keys[i];
        LogLine("  registry key %d: %s\\%s, %s%s%s", (int)key.order, RootName(key.base_key), key.key_path,
                key.delete_if_non_empty ? "with everything below it" : "only when empty",
                key.search_sub_keys[0] ? ", its subkeys whose names hold " : "", key.search_sub_keys);
    }
}

const char* ResultText(int result) {
    switch (result) {
    case 0: return "loaded";
    case 1: return "not found or not read whole";
    default: return "not read whole";
    }
}

}  // namespace

void LogDescription(const char* source, const UninstallData& data, int result) {
    if (!RunLogIsOpen()) return;
    LogLine("description %s: %s (result %d)", source, ResultText(result), result);
    // A description not read whole is not removed: its items would mislead.
    if (result != 0) return;
    LogNames(data);
    LogLists(data);
    LogRegistryKeys(data);
}

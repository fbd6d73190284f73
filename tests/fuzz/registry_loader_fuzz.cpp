// The registry loader over a description key whose values and list subkeys
// are made from the input: names usually those the loader asks for, data of
// any type, length and content, terminated or not; sometimes with a
// "/rootkey=" option on the command line.
#include "fuzz_support.h"
#include "uninstall_data/registry_loader.h"

namespace {

const char kKey[] = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo";

const char* const kValueNames[] = {
    "ModemProvider", "FullCompanyName", "ShortProductName", "FullProductName", "Version",
    "Device", "UninstallKey", "CplShortcutFolderName", "CplShortcutItemName", "SoftwareKey",
    "PreserveSoftwareKey", "ForceLocalUninstall", "RemoveDevice", "WinVer",
    "DeviceServiceName", "Class", "Name", "AutoRunValue", "BaseKey", "SubKey",
    "DeleteIfNonEmpty", "SearchSubKeys", "0", "1", "3", ""};
const char* const kLists[] = {"", "FriendlyNames", "Applets", "InstalledFiles",
                              "InstalledServices", "DeviceClassNames", "RegistryKeys"};

std::string PickName(FuzzedDataProvider& in, const char* const* names, size_t count) {
    if (in.ConsumeIntegralInRange(0, 3) == 0) return in.ConsumeRandomLengthString(140);
    return names[in.ConsumeIntegralInRange<size_t>(0, count - 1)];
}

// One value, in the key itself, a list subkey or an entry below a list.
void SeedOne(FuzzedDataProvider& in) {
    std::string key = kKey;
    std::string list = kLists[in.ConsumeIntegralInRange<size_t>(0, 6)];
    if (!list.empty()) key += "\\" + list;
    if (!list.empty() && in.ConsumeBool()) key += "\\" + PickName(in, kValueNames + 22, 3);
    std::string name = PickName(in, kValueNames, sizeof kValueNames / sizeof *kValueNames);
    DWORD type = in.ConsumeBool() ? REG_SZ : in.ConsumeIntegralInRange<DWORD>(0, 11);
    size_t size = in.ConsumeIntegralInRange<size_t>(0, in.ConsumeBool() ? 300 : 9000);
    fake::RegSeedBytes(key, name, type, in.ConsumeBytesAsString(size));
}

void CheckRecord(const UninstallData& d) {
    FUZZ_CHECK(d.friendly_name_count >= 0 && d.friendly_name_count <= TAVK_MAX_NUM_FRIENDLY_NAMES);
    FUZZ_CHECK(d.applet_count >= 0 && d.applet_count <= TAVK_MAX_NUM_APPLETS);
    FUZZ_CHECK(d.installed_file_count >= 0 && d.installed_file_count <= TAVK_MAX_NUM_INSTALLED_FILES);
    FUZZ_CHECK(d.installed_service_count >= 0 &&
               d.installed_service_count <= TAVK_MAX_NUM_INSTALLED_FILES);
    FUZZ_CHECK(d.device_class_count >= 0 && d.device_class_count <= TAVK_MAX_NUM_DEVICE_CLASS_NAMES);
    FUZZ_CHECK(d.registry_key_count >= 0 && d.registry_key_count <= TAVK_MAX_NUM_REG_KEYS);
    FUZZ_CHECK(d.device_id_count >= 0 && d.device_id_count <= TAVK_MAX_NUM_DEVICE_IDS);
    FUZZ_CHECK(Terminated(d.full_product_name) && Terminated(d.software_key) &&
               Terminated(d.uninstall_key) && Terminated(d.description_key) &&
               Terminated(d.device) && Terminated(d.device_service_name));
    for (int i = 0; i < d.installed_file_count; ++i) FUZZ_CHECK(Terminated(d.installed_files[i]));
    for (int i = 0; i < d.device_id_count; ++i) FUZZ_CHECK(Terminated(d.device_ids[i]));
    for (int i = 0; i < d.registry_key_count; ++i) {
        FUZZ_CHECK(Terminated(d.registry_keys[i].key_path));
        FUZZ_CHECK(d.registry_keys[i].order >= 0);
    }
    for (int i = 0; i < d.applet_count; ++i) FUZZ_CHECK(Terminated(d.applets[i].window_class));
    FUZZ_CHECK(d.driver_model >= DriverModelNone && d.driver_model <= DriverModelVxd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FreshWorld();
    FuzzedDataProvider in(bytes, size);
    PickCodePage(in);
    if (in.ConsumeBool())  // any path, of any length, after the option
        fake::SetCommandLine("uninst.exe silent /rootkey=" + in.ConsumeRandomLengthString(300));
    fake::RegSeedKey(kKey);
    while (in.remaining_bytes() > 0) SeedOne(in);
    static UninstallData data;
    int result = LoadFromRegistry(data);
    FUZZ_CHECK(result >= 0 && result <= 2);
    CheckRecord(data);
    FUZZ_CHECK(fake::OpenKeyCount() == 0);
    return 0;
}

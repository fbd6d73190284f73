// The uninstall description: what an installation left on the machine and
// how to remove it. One static record, cleared and refilled by each load.
#pragma once

#include "platform/platform.h"

#define TAVK_MAX_NUM_FRIENDLY_NAMES 16
#define TAVK_MAX_FRIENDLY_NAME_LEN 128
#define TAVK_MAX_NUM_APPLETS 8
#define TAVK_MAX_NUM_INSTALLED_FILES 64
#define TAVK_MAX_INSTALLED_FILE_NAME_LEN 128
#define TAVK_MAX_NUM_DEVICE_CLASS_NAMES 4
#define TAVK_MAX_NUM_REG_KEYS 64
#define TAVK_MAX_NUM_DEVICE_IDS 128
#define TAVK_MAX_DEVICE_ID_LEN 64

// Text widths in characters; each field has one byte more for the terminator.
#define TAVK_SHORT_NAME_LEN 16
#define TAVK_FULL_NAME_LEN 64
#define TAVK_TEXT_LEN 128
#define TAVK_DEVICE_LEN 8
#define TAVK_CLASS_NAME_LEN 8
#define TAVK_SERVICE_NAME_LEN 64
#define TAVK_DESCRIPTION_KEY_LEN 255
#define TAVK_KEY_PATH_LEN 1024

// Where the product's setup writes the description, and the vendor's
// software key it lies in: the defaults when neither the command line nor
// the INI file names another.
#define DEFAULT_SOFTWARE_KEY "SOFTWARE\\Tarnwell\\802.11"
#define DEFAULT_DESCRIPTION_KEY DEFAULT_SOFTWARE_KEY "\\UninstallInfo"

enum DriverModel {
    DriverModelNone = 0,
    DriverModelWdm98 = 1,
    DriverModelWdm2k = 2,
    DriverModelNt4 = 3,
    DriverModelVxd = 4,
};

struct AppletEntry {
    char window_class[TAVK_TEXT_LEN + 1];
    char display_name[TAVK_TEXT_LEN + 1];
    char autorun_value[TAVK_TEXT_LEN + 1];
};

struct DeviceClassEntry {
    int32_t order;
    char setup_class[TAVK_CLASS_NAME_LEN + 1];
};

struct RegistryKeyEntry {
    int32_t order;
    HKEY base_key;  // HKEY_LOCAL_MACHINE, or 0 for any other root
    char key_path[TAVK_KEY_PATH_LEN + 1];
    int32_t delete_if_non_empty;
    char search_sub_keys[TAVK_TEXT_LEN + 1];
};

struct UninstallData {
    char short_company_name[TAVK_SHORT_NAME_LEN + 1];
    char full_company_name[TAVK_FULL_NAME_LEN + 1];
    char short_product_name[TAVK_SHORT_NAME_LEN + 1];
    char full_product_name[TAVK_FULL_NAME_LEN + 1];
    char version[TAVK_TEXT_LEN + 1];
    char device[TAVK_DEVICE_LEN + 1];
    char uninstall_key[TAVK_TEXT_LEN + 1];
    int32_t friendly_name_count;
    char friendly_names[TAVK_MAX_NUM_FRIENDLY_NAMES][TAVK_MAX_FRIENDLY_NAME_LEN + 1];
    char cpl_shortcut_folder_name[TAVK_TEXT_LEN + 1];
    char cpl_shortcut_item_name[TAVK_TEXT_LEN + 1];
    int32_t applet_count;
    AppletEntry applets[TAVK_MAX_NUM_APPLETS];
    char software_key[TAVK_TEXT_LEN + 1];
    int32_t preserve_software_key;
    int32_t remove_device;
    int32_t force_local_uninstall;
    int32_t installed_file_count;
    char installed_files[TAVK_MAX_NUM_INSTALLED_FILES][TAVK_MAX_INSTALLED_FILE_NAME_LEN + 1];
    int32_t installed_service_count;
    char installed_services[TAVK_MAX_NUM_INSTALLED_FILES][TAVK_MAX_INSTALLED_FILE_NAME_LEN + 1];
    int32_t driver_model;
    char device_service_name[TAVK_SERVICE_NAME_LEN + 1];
    int32_t device_class_count;
    DeviceClassEntry device_classes[TAVK_MAX_NUM_DEVICE_CLASS_NAMES];
    int32_t registry_key_count;
    RegistryKeyEntry registry_keys[TAVK_MAX_NUM_REG_KEYS];
    int32_t device_id_count;
    char device_ids[TAVK_MAX_NUM_DEVICE_IDS][TAVK_MAX_DEVICE_ID_LEN + 1];
    char description_key[TAVK_DESCRIPTION_KEY_LEN + 1];
};

// A list's count as far as its array holds it: a record filled by hand
// or damaged may claim more entries than there is room for, or fewer than
// none.
inline int32_t CountWithin(int32_t count, int32_t capacity) {
    if (count < 0) return 0;
    return count > capacity ? capacity : count;
}

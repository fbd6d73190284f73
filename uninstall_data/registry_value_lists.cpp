// The value lists of the registry description: FriendlyNames,
// InstalledFiles and InstalledServices.
#include "uninstall_data/registry_value_lists.h"

#include "uninstall_data/registry_lists.h"

namespace {

const DWORD kNameChars = 129;
const DWORD kFriendlyDataBytes = 2064;
const DWORD kFileDataBytes = 8256;

// Enumerates value `index` into the buffers. No data at all is an empty
// text; data without a terminator counts as not fitting, like data larger
// than the buffer, so that no text is read past what was stored.
LONG EnumValue(HKEY key, DWORD index, char* name, char* data, DWORD data_size) {
    DWORD name_size = kNameChars;
    DWORD size = data_size;
    LONG status = RegEnumValueA(key, index, name, &name_size, nullptr, nullptr, (LPBYTE)data, &size);
    if (status != ERROR_SUCCESS) return status;
    if (size == 0) data[0] = 0;
    else if (!HasTerminator(data, size)) return ERROR_MORE_DATA;
    return ERROR_SUCCESS;
}

// The id is the value's name. The record holds 128 ids of 64 characters;
// more, or a longer name, fails the load like the other limits.
LoadStatus AppendDeviceId(const char* name, UninstallData& data) {
    if (data.device_id_count >= TAVK_MAX_NUM_DEVICE_IDS)
        return LoadFailure(1366, "TAVK_MAX_NUM_DEVICE_IDS exceeded");
    if (strlen(name) > TAVK_MAX_DEVICE_ID_LEN)
        return LoadFailure(1368, "TAVK_MAX_DEVICE_ID_LEN exceeded");
    strcpy(data.device_ids[data.device_id_count++], name);
    return 0;
}

LoadStatus EnumFriendlyNames(HKEY key, UninstallData& data) {
    const TextList names = {data.friendly_names[0], &data.friendly_name_count,
                            TAVK_MAX_NUM_FRIENDLY_NAMES, TAVK_MAX_FRIENDLY_NAME_LEN,
                            1373, "TAVK_MAX_NUM_FRIENDLY_NAMES exceeded",
                            1378, "TAVK_MAX_FRIENDLY_NAME_LEN exceeded"};
    char name[kNameChars];
    char value[kFriendlyDataBytes];
    for (DWORD index = 0;; ++index) {
        LONG status = EnumValue(key, index, name, value, sizeof value);
        if (status == ERROR_NO_MORE_ITEMS) return 0;
        if (status != ERROR_SUCCESS) return LoadFailure(1360, "Unable to enumerate friendly name keys");
        if (LoadStatus failed = AppendDeviceId(name, data)) return failed;
        if (LoadStatus failed = AppendPieces(value, names)) return failed;
    }
}

// InstalledFiles and InstalledServices share one shape and differ in codes.
struct FileListCodes {
    const char* subkey;
    int32_t enum_code;
    const char* enum_text;
    int32_t full_code;
    int32_t long_code;
    int32_t close_code;
    const char* close_text;
};

LoadStatus EnumFileList(HKEY key, const FileListCodes& codes, const TextList& list) {
    char name[kNameChars];
    static char value[kFileDataBytes];  // one thread; keeps the stack small
    for (DWORD index = 0;; ++index) {
        LONG status = EnumValue(key, index, name, value, sizeof value);
        if (status == ERROR_NO_MORE_ITEMS) return 0;
        if (status != ERROR_SUCCESS) return LoadFailure(codes.enum_code, codes.enum_text);
        if (LoadStatus failed = AppendPieces(value, list)) return failed;
    }
}

LoadStatus ReadFileList(HKEY description, const FileListCodes& codes, char* entries,
                        int32_t* count) {
    HKEY key;
    if (RegOpenKeyA(description, codes.subkey, &key) != ERROR_SUCCESS) return 0;
    const TextList list = {entries, count, TAVK_MAX_NUM_INSTALLED_FILES,
                           TAVK_MAX_INSTALLED_FILE_NAME_LEN,
                           codes.full_code, "TAVK_MAX_NUM_INSTALLED_FILES exceeded",
                           codes.long_code, "TAVK_MAX_INSTALLED_FILE_NAME_LEN exceeded"};
    LoadStatus status = EnumFileList(key, codes, list);
    return CloseListKey(key, status, codes.close_code, codes.close_text);
}

}  // namespace

LoadStatus ReadFriendlyNames(HKEY description, UninstallData& data) {
    return ReadList(description, "FriendlyNames", EnumFriendlyNames, data, 1389,
                    "Unable to close friendly names key");
}

LoadStatus ReadInstalledFiles(HKEY description, UninstallData& data) {
    static const FileListCodes codes = {"InstalledFiles", 1544,
                                        "Unable to enumerate InstalledFiles keys", 1560, 1565,
                                        1576, "Unable to close InstalledFiles key"};
    return ReadFileList(description, codes, data.installed_files[0], &data.installed_file_count);
}

LoadStatus ReadInstalledServices(HKEY description, UninstallData& data) {
    static const FileListCodes codes = {"InstalledServices", 1708,
                                        "Unable to enumerate InstalledServices keys", 1717, 1722,
                                        1733, "Unable to close InstalledServices key"};
    return ReadFileList(description, codes, data.installed_services[0],
                        &data.installed_service_count);
}

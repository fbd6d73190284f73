// Which tool variant removes the devices, and the request written for it.
#include "removal/device_request.h"

#include "system/run_log.h"
#include "system/windows_family.h"

const char* DeviceToolVariant(int32_t driver_model, DWORD family) {
    switch (driver_model) {
    case DriverModelWdm98:
    case DriverModelVxd: return IsWin9xFamily(family) ? "D9X" : nullptr;
    case DriverModelWdm2k: return family == FamilyWin2000 ? "D2K" : nullptr;
    case DriverModelNt4: return family == FamilyNT4 ? "DNT" : nullptr;
    default: return nullptr;
    }
}

namespace {

// One "Key=value" line, recorded in the run log as well; without a file
// (a preview) only there.
void WriteLine(TextFile* file, const char* key, const char* value) {
    LogLine("device tool request: %s%s", key, value);
    if (!file) return;
    TextFileWrite(file, key);
    TextFileWrite(file, value);
    TextFileWrite(file, "\n");
}

void WriteClasses(TextFile* file, const UninstallData& data) {
    int32_t count = CountWithin(data.device_class_count, TAVK_MAX_NUM_DEVICE_CLASS_NAMES);
    for (int32_t order = 3; order >= 0; --order)
        for (int32_t i = 0; i < count; ++i)
            if (data.device_classes[i].order == order)
                WriteLine(file, "Class=", data.device_classes[i].setup_class);
}

}  // namespace

// Write errors are not looked at: the tool's result tells how it went.
void WriteDeviceRequest(TextFile* file, const UninstallData& data) {
    WriteClasses(file, data);
    if (data.device_service_name[0]) WriteLine(file, "ServiceName=", data.device_service_name);
    int32_t names = CountWithin(data.friendly_name_count, TAVK_MAX_NUM_FRIENDLY_NAMES);
    for (int32_t i = 0; i < names; ++i) WriteLine(file, "Desc=", data.friendly_names[i]);
    int32_t ids = CountWithin(data.device_id_count, TAVK_MAX_NUM_DEVICE_IDS);
    for (int32_t i = 0; i < ids; ++i) WriteLine(file, "HardwareID=", data.device_ids[i]);
    // The tool appends what it removed, kept or could not remove to this
    // run's log, so that the whole removal reads in one file.
    if (file && RunLogPath()[0]) WriteLine(file, "Log=", RunLogPath());
}

// Removing the adapter's devices and driver service through the
// device-manager tool beside this program: request, run, result.
#include "removal/device_removal.h"

#include "system/run_state.h"
#include "messages/error_report.h"
#include "removal/device_tool.h"
#include "removal/path_macros.h"
#include "removal/sibling_program.h"
#include "removal/started_programs.h"
#include "removal/system_changes.h"
#include "system/run_log.h"
#include "system/run_summary.h"
#include "system/windows_family.h"

#define DEVICE_FILE_PATH_SIZE (PATH_BUFFER_SIZE + sizeof DEVICE_REQUEST_FILE)
// The quoted folder, the tool's name and variant, and the command word.
#define TOOL_COMMAND_SIZE (SIBLING_MODULE_PATH_SIZE + 2 + sizeof DEVICE_TOOL_NAME "D2K remove")

namespace {

// The request in the Windows directory; `path` receives its path and
// `written` whether it is on disk (a preview only lists its lines).
int CreateRequest(const UninstallData& data, char* path, bool* written) {
    *written = false;
    UINT length = GetSystemWindowsDir(path, PATH_BUFFER_SIZE);
    if (!length) {
        ReportTavkError(2169, "Unable to GetWindowsDirectory()");
        return 2;
    }
    strcpy(path + length, DEVICE_REQUEST_FILE);
    TextFile file;
    ChangeOutcome created = CreateRunFile(&file, path, "device tool request").outcome;
    if (created == ChangeFailed) {
        ReportTavkError(2182, "Unable to create '%s'", path);
        return 2;
    }
    *written = created == ChangeDone;
    WriteDeviceRequest(*written ? &file : nullptr, data);
    if (*written) TextFileClose(&file);
    return 0;
}

// "FOLDER\XLNWL<variant>" remove; false when this program's path is unknown.
bool BuildToolCommand(const char* variant, char* command) {
    char program[sizeof DEVICE_TOOL_NAME "D2K"];
    strcpy(program, DEVICE_TOOL_NAME);
    strcat(program, variant);
    return SiblingProgramCommand(program, "remove", command, TOOL_COMMAND_SIZE);
}

int RunDeviceTool(const char* variant) {
    char command[TOOL_COMMAND_SIZE];
    if (!BuildToolCommand(variant, command)) {
        ReportTavkError(2220, "GetModuleFileName() failed");
        return 2;
    }
    switch (StartProgramAndWait("device tool", command, WithOwnStartupInfo)) {
    case ProgramNotStarted: ReportTavkError(2266, "CreateProcess() failed"); return 4;
    case ProgramWaitFailed: ReportTavkError(2272, "WaitForSingleObject() failed"); return 4;
    default: return 0;
    }
}

// The tool's own failure is shown with its tag and code, outside Silent.
int ReportToolResult(const DeviceToolResult& result) {
    LogLine("device tool result: status %d, tag \"%s\", code %d%s", (int)result.status, result.tag,
            (int)result.code, result.restart ? ", completed at the next start of Windows" : "");
    if (result.restart) NoteRestartPending();
    if (result.status >= 0) return 0;
    if (RunMode != Silent) {
        SetErrorState(result.tag, result.code);
        ReportError("DevMgr Error");
    } else {
        LogFailure(result.tag, result.code, "DevMgr Error");
    }
    return 4;
}

// The result lies beside the request, its name ending in 'r' for 's'. A
// result without a first line stays on disk.
int ReadToolResult(const char* request) {
    char path[DEVICE_FILE_PATH_SIZE];
    strcpy(path, request);
    path[strlen(path) - 1] = 'r';
    TextFile file;
    if (!TextFileOpen(&file, path)) {
        ReportTavkError(2285, "Unable to read '%s'", path);
        return 2;
    }
    DeviceToolResult result;
    bool read = ReadDeviceToolResult(&file, &result);
    TextFileClose(&file);
    if (!read) {
        ReportTavkError(2291, "Unable to read '%s'", path);
        return 2;
    }
    DeleteFileNow(path);
    // "install" asks for no restart, as for deferred file deletions.
    if (result.restart && !InstallMode) RestartNeeded = true;
    return ReportToolResult(result);
}

}  // namespace

int RemoveDevices(const UninstallData& data) {
    const char* variant = DeviceToolVariant(data.driver_model, GetWindowsFamily());
    if (!variant || !data.device[0]) return 0;
    char request[DEVICE_FILE_PATH_SIZE];
    bool written = false;
    int result = CreateRequest(data, request, &written);
    if (result == 0) result = RunDeviceTool(variant);
    // A preview has neither a request on disk nor a result to read.
    if (result != 0 || !written) return result;
    DeleteFileNow(request);
    return ReadToolResult(request);
}

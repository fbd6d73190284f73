// Removing the adapter's devices and driver service through the
// device-manager tool beside this program: request, run, result.
#include "system/run_state.h"
#include "messages/error_report.h"
#include "platform/mbtext.h"
#include "removal/device_tool.h"
#include "removal/path_macros.h"
#include "removal/removal_steps.h"
#include "system/windows_family.h"

#define MODULE_PATH_SIZE 1025
#define DEVICE_FILE_PATH_SIZE (PATH_BUFFER_SIZE + sizeof DEVICE_REQUEST_FILE)
// The quoted folder, the tool's name and variant, and the command word.
#define TOOL_COMMAND_SIZE (MODULE_PATH_SIZE + 2 + sizeof DEVICE_TOOL_NAME "D2K remove")

namespace {

// The request in the Windows directory; `path` receives its path.
int CreateRequest(const UninstallData& data, char* path) {
    UINT length = GetSystemWindowsDir(path, PATH_BUFFER_SIZE);
    if (!length) {
        ReportTavkError(2169, "Unable to GetWindowsDirectory()");
        return 2;
    }
    strcpy(path + length, DEVICE_REQUEST_FILE);
    TextFile file;
    if (!TextFileCreate(&file, path)) {
        ReportTavkError(2182, "Unable to create '%s'", path);
        return 2;
    }
    WriteDeviceRequest(&file, data);
    TextFileClose(&file);
    return 0;
}

// The tool's path is quoted, so that a blank in this program's folder
// cannot end the program's name early. False when the folder is unknown.
bool BuildToolCommand(const char* variant, char* command) {
    char module[MODULE_PATH_SIZE];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    if (length == 0 || length >= sizeof module) return false;
    char* slash = (char*)MbFindLastChar(module, '\\');
    if (slash) slash[1] = 0;
    else module[0] = 0;
    strcpy(command, "\"");
    strcat(command, module);
    strcat(command, DEVICE_TOOL_NAME);
    strcat(command, variant);
    strcat(command, "\" remove");
    return true;
}

// Starts the tool with this program's own start-up information.
bool StartTool(char* command, PROCESS_INFORMATION* process) {
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, process) != FALSE;
}

// Waits for the tool without a time limit; both handles are closed.
bool WaitForTool(const PROCESS_INFORMATION& process) {
    CloseHandle(process.hThread);
    DWORD waited = WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    return waited == WAIT_OBJECT_0;
}

int RunDeviceTool(const char* variant) {
    char command[TOOL_COMMAND_SIZE];
    if (!BuildToolCommand(variant, command)) {
        ReportTavkError(2220, "GetModuleFileName() failed");
        return 2;
    }
    PROCESS_INFORMATION process;
    if (!StartTool(command, &process)) {
        ReportTavkError(2266, "CreateProcess() failed");
        return 4;
    }
    if (WaitForTool(process)) return 0;
    ReportTavkError(2272, "WaitForSingleObject() failed");
    return 4;
}

// The tool's own failure is shown with its tag and code, outside Silent.
int ReportToolResult(const DeviceToolResult& result) {
    if (result.status >= 0) return 0;
    if (RunMode != Silent) {
        SetErrorState(result.tag, result.code);
        ReportError("DevMgr Error");
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
    DeleteFileA(path);
    return ReportToolResult(result);
}

}  // namespace

int RemoveDevices(const UninstallData& data) {
    const char* variant = DeviceToolVariant(data.driver_model, GetWindowsFamily());
    if (!variant || !data.device[0]) return 0;
    char request[DEVICE_FILE_PATH_SIZE];
    int result = CreateRequest(data, request);
    if (result == 0) result = RunDeviceTool(variant);
    if (result != 0) return result;
    DeleteFileA(request);
    return ReadToolResult(request);
}

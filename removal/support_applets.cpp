// Stopping the product's support applets: on Windows Me their windows are
// closed, and everywhere their start-up values under the machine-wide Run
// key are removed so that they no longer start with Windows. A value that
// starts Windows' own or another maker's program, and Windows' own windows,
// are left alone: the description's names alone are no evidence.

#include "removal/support_applets.h"

#include "platform/mbtext.h"
#include "removal/change_log.h"
#include "removal/full_paths.h"
#include "removal/path_macros.h"
#include "removal/guardrails/product_names.h"
#include "removal/program_search.h"
#include "removal/system_changes.h"
#include "removal/window_program.h"
#include "system/other_windows.h"
#include "system/windows_family.h"
#include "uninstall_data/registry_read.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// A window that ignores WM_CLOSE must not hold the removal forever.
const int kMaxCloseMessages = 101;

// Windows Me is the one family on which the applets' windows are closed.
bool AppletWindowsNeedClosing() { return GetWindowsFamily() == FamilyWinMe; }

const char kWindowsOwnClass[] = "a class of Windows' own windows (its shell's or the system's)";

// Classes Windows itself registers: the shell's windows (Explorer, the
// desktop, the taskbar) and the system's predefined ones, which every
// program's dialogs, menus and controls use.
const char* const kWindowsClasses[] = {
    "Progman",     "Shell_TrayWnd", "WorkerW",      "SHELLDLL_DefView", "CabinetWClass",
    "ExploreWClass", "IEFrame",     "BaseBar",      "TrayNotifyWnd",    "DV2ControlHost",
    "Shell_SecondaryTrayWnd", "tooltips_class32", "Button", "Edit",     "Static",
    "ListBox",     "ComboBox",      "ComboLBox",    "ScrollBar",        "MDIClient",
};

// The "#32768" family are the system's own classes, named by atom.
const char* WindowsClassReason(const char* window_class) {
    if (window_class[0] == '#') return kWindowsOwnClass;
    for (const char* name : kWindowsClasses)
        if (MbSameNoCase(window_class, name)) return kWindowsOwnClass;
    return nullptr;
}

// Why the class's windows stay: a class of Windows' own, or a program of
// Windows' own (Explorer) or another maker's that owns the first window.
// A program that cannot be named, or only by its bare file name (NT and
// Wine), leaves the class to decide.
const char* KeepWindowsReason(const char* window_class, const UninstallData& data) {
    if (const char* reason = WindowsClassReason(window_class)) return reason;
    HWND window = FindWindowOfClass(window_class);
    char program[PATH_BUFFER_SIZE];
    if (!window || !WindowProgramPath(window, program) || !IsGivenInFull(program)) return nullptr;
    return OtherProgramReason(data, program);
}

void CloseAppletWindows(const char* window_class, const UninstallData& data) {
    if (const char* reason = KeepWindowsReason(window_class, data))
        LogLeftAlone(WindowCloseChange, window_class, reason);
    else
        CloseWindowsOfClass(window_class, kMaxCloseMessages);
}

// The reason when the value's command starts Windows' own or another
// maker's program; null when it starts the product's, or nothing any more
// (the program is gone: the value goes by its name). Environment strings
// are expanded as the shell expands them.
const char* StartsOthersProgram(HKEY run, const char* value, const UninstallData& data) {
    char stored[PATH_BUFFER_SIZE], command[PATH_BUFFER_SIZE];
    ReadTextValue(run, value, stored, sizeof stored);
    DWORD length = ExpandEnvironmentStringsA(stored, command, sizeof command);
    if (!stored[0] || !length || length > sizeof command) return nullptr;
    char program[PATH_BUFFER_SIZE];
    const char* arguments;
    return FindProgramOfCommand(command, program, &arguments) ? OtherProgramReason(data, program) : nullptr;
}

// False when the applet's start-up value exists and cannot be deleted.
bool RemoveStartupValue(HKEY run, const char* value, const UninstallData& data) {
    if (!value[0] || !ValuePresent(run, value)) return true;
    if (const char* reason = StartsOthersProgram(run, value, data)) {
        LogLeftAlone(ValueDeletionChange, KeyName(HKEY_LOCAL_MACHINE, kRunKey, nullptr, value).text, reason);
        return true;
    }
    return ChangeMadeOrPreviewed(DeleteRegistryValue(HKEY_LOCAL_MACHINE, run, kRunKey, value).outcome);
}

bool StopApplet(HKEY run, const AppletEntry& applet, const UninstallData& data) {
    if (!applet.window_class[0] || !applet.display_name[0]) return true;
    if (AppletWindowsNeedClosing()) CloseAppletWindows(applet.window_class, data);
    return RemoveStartupValue(run, applet.autorun_value, data);
}

}  // namespace

int StopSupportApplets(const UninstallData& data) {
    HKEY run;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kRunKey, &run) != ERROR_SUCCESS) return 2;
    bool stopped = true;
    int count = CountWithin(data.applet_count, TAVK_MAX_NUM_APPLETS);
    for (int i = 0; stopped && i < count; ++i) stopped = StopApplet(run, data.applets[i], data);
    bool closed = RegCloseKey(run) == ERROR_SUCCESS;
    return stopped && closed ? 0 : 2;
}

// The test's handle on the stand-ins that take the place, in the host
// builds, of the product sources making the real calls behind the program's
// own seams. fake::Reset puts them back to their start; fake::FailCall,
// the one failure table, fails them by the name each logs its calls under.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/host/fake_world.h"

namespace stand_in {

// --- Restarts (system/shutdown_request.h): each request, and whether the
// Windows it was made on took it: the NT family only once the shutdown
// privilege is enabled, Windows before 2000 never with EWX_FORCEIFHUNG.
// Logged as "EnableShutdownPrivilege" and "ExitWindowsEx flags". ---
struct ShutdownRequest {
    UINT flags;
    DWORD reason;
    bool accepted;
};
const std::vector<ShutdownRequest>& ShutdownRequests();
// Whether the user's token holds the shutdown privilege (it does at first).
void SetShutdownPrivilegeHeld(bool held);

// --- NT security (system/administrator.h, system/admin_only_access.h),
// logged as "IsAdministrator" and "BuildAdminOnlyAccess". ---
// Whether the user is in the Administrators group (at first: yes).
void SetUserIsAdministrator(bool member);
// The descriptor BuildAdminOnlyAccess hands out, as the fake file system
// records it (fake::CreatedDescriptor).
const void* AdminOnlyDescriptor();
// Descriptors built and not yet given back.
int LiveAdminOnlyAccesses();

// --- Message boxes (system/message_box.h), logged as "MessageBoxA
// caption". ---
struct MessageBoxShown {
    std::string text;
    std::string caption;
    UINT style;
};
// Boxes answer these in order, then IDOK.
void AnswerMessageBoxes(const std::vector<int>& in_order);
// A service's or session 0's window station: no one sees its windows.
void SetWindowStationVisible(bool visible);
const std::vector<MessageBoxShown>& MessageBoxes();

// --- Other programs' top-level windows (system/other_windows.h), logged
// as "FindWindowA class" and "SendMessageA 16". A window closes on the nth
// WM_CLOSE it receives; 0: it never closes. ---
HWND AddWindow(const std::string& window_class, int closes_on = 1);
int CloseMessagesReceived(HWND window);
bool WindowOpen(HWND window);
// The image the process list names for a window's process
// (removal/window_program.h): a full path on Windows 9x, a bare file name
// on NT. Logged as "CreateToolhelp32Snapshot".
void SetWindowImage(HWND window, const std::string& image);

// --- The progress dialog's window (app/progress_window.h), logged under
// the names of the calls the product makes there. ---
struct ProgressWindow {
    std::string title;
    std::string status;
    LONG status_style = 0;
    LONG status_ex_style = 0;
    int position = 0;
    bool visible = false;
    RECT rect = {0, 0, 0, 0};
};
// The dialog as it stands, or null once it is closed (or never was).
const ProgressWindow* Dialog(HWND dialog);
int DialogCount();
// Every WM_COMMAND sent to a dialog, in order.
struct ProgressCommand {
    HWND dialog;
    WPARAM command;
    LPARAM argument;
};
const std::vector<ProgressCommand>& ProgressCommands();
void SetDesktopRect(const RECT& rect);

// --- The one-run lock's named mutex (system/named_mutex.h), logged as
// "OpenNamedMutex name". One that another process holds (`abandoned`: it
// ends without releasing it) is given up when a wait for it has no
// time-out, as once that process has ended. ---
void HoldMutexElsewhere(const std::string& name, bool abandoned = false);
// True while this process owns the mutex of that name.
bool MutexHeldHere(const std::string& name);

// --- The thread's message queue (system/thread_messages.h): a message
// waiting for the program's thread, as another program or the system
// leaves it there. Logged as "DispatchMessageA message" and
// "MsgWaitForMultipleObjects count milliseconds". ---
void QueueThreadMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
size_t WaitingMessageCount();
// The messages handed on to their windows, in order.
const std::vector<MSG>& DispatchedMessages();

// --- Started programs (system/started_process.h), logged as
// "CreateProcessA command", "WaitForSingleObject 4294967295" and
// "CloseHandle". Each start takes the next queued script, else the
// program's own, else the default one (starts, waits, exits with 0). The
// program is found as Windows finds it: a quoted name, or else the
// shortest blank-delimited prefix of the command line that names a file
// (".exe" added to a name without an extension); when no prefix names a
// file, the first word. Failure rules on CreateProcessA, and on the waits
// for a started program, match the program's path. ---
struct ProcessScript {
    DWORD exit_code = 0;
    std::function<void()> on_run;  // what the program does while it runs
};
void ScriptNextProcess(const ProcessScript& script);
void ScriptProcess(const std::string& program, const ProcessScript& script);
// The command lines of the programs that did start, in order.
const std::vector<std::string>& StartedCommandLines();
struct StartedProcess {
    std::string program;
    std::string command_line;
    DWORD flags;
    bool inherit_handles;
};
const std::vector<StartedProcess>& StartedProcesses();
// Process and thread handles handed out and not yet closed.
int OpenProcessHandleCount();
// A wait by `api` for a started program: it ends at once, unless a rule on
// the program's path fails it (the stand-ins' own use).
DWORD WaitOnProgram(HANDLE process, const char* api);

// --- Text in the ANSI code page (system/ansi_text.h, system/wide_path.h),
// logged as "WideCharToMultiByte page" and "MultiByteToWideChar page".
// The text in `code_page` (65001: UTF-8), '?' for what it cannot hold. ---
std::string NarrowText(const std::u16string& text, UINT code_page, bool* used_default);

// --- The module's resources (messages/module_resource.h): the .res file
// compiled from the product's resource script, logged as "FindResourceExA
// language\\type\\name". The compiled resource of integer type and name in
// exactly that language, or null; and the languages one is carried in. ---
const std::string* ResourceBytes(int type, int name, WORD language);
std::vector<WORD> ResourceLanguages(int type, int name);

// --- Windows' own libraries (system/library_calls.h), logged as
// "LoadLibraryA path", "FreeLibrary" and "GetProcAddress name": "kernel32.dll"
// (always loaded), "shell32.dll" and the others. A test can take an entry
// point away, as an older Windows lacks it. ---
void RemoveExport(const std::string& module, const std::string& proc_name);
// Loads not yet matched by a free.
int LoadedLibraryCount();

// --- The Service Control Manager's database (devtools/service_manager.h):
// a service added running stops `stop_after_ms` on the fake clock after it
// is asked to, or never when that is -1. A deleted service leaves the
// database once it is stopped and its last handle closed. ---
void AddService(const std::string& name, bool running = false, long stop_after_ms = 0);
bool ServiceExists(const std::string& name);
bool ServiceRunning(const std::string& name);

// --- The system's device list (devtools/device_list.h), present or not,
// in order: each with its driver key ("HKLM\\...", or empty for none).
// Logged as "SetupDiGetClassDevsA". ---
void AddDevice(const std::string& driver_key);

// --- The shell's special folders by CSIDL (SHGetSpecialFolderPathA, and
// removal/shell_id_lists.h); an unset folder cannot be found. ---
void SetSpecialFolder(int csidl, const std::string& path);
void ClearSpecialFolder(int csidl);
// Item-id lists handed out and not freed, and the shell allocator's
// references not released.
int LiveIdListCount();
int ShellAllocatorReferences();

}  // namespace stand_in

// System libraries loaded at run time and their entry points. kernel32 is
// always loaded; shell32, version and sfc only while a LoadLibraryA holds
// them, and sfc is there from Windows 2000 on. A test can take an entry
// point away, as the first Windows 95 and NT 4 lack some.
#include "fake_world.h"
#include "setupapi.h"

#include <ctype.h>

namespace {

struct Export {
    const char* name;
    FARPROC proc;
};

struct Module {
    const char* file_name;
    HMODULE handle;
    bool always_loaded;
    std::vector<Export> exports;
    int loads;
    bool from_windows_2000 = false;
};

FARPROC AsProc(void (*proc)()) { return (FARPROC)proc; }

std::vector<Module> modules;
int load_count;

fake::ResetHook modules_reset([] {
    load_count = 0;
    modules = {
        {"kernel32.dll", (HMODULE)(ULONG_PTR)0x7c800000, true,
         {{"GetSystemWindowsDirectoryA", AsProc((void (*)())GetSystemWindowsDirectoryA)},
          {"Wow64DisableWow64FsRedirection", AsProc((void (*)())Wow64DisableWow64FsRedirection)},
          {"Wow64RevertWow64FsRedirection", AsProc((void (*)())Wow64RevertWow64FsRedirection)},
          {"IsWow64Process", AsProc((void (*)())IsWow64Process)},
          {"GetSystemWow64DirectoryA", AsProc((void (*)())GetSystemWow64DirectoryA)},
          {"SetFileInformationByHandle", AsProc((void (*)())SetFileInformationByHandle)}},
         0},
        {"ntdll.dll", (HMODULE)(ULONG_PTR)0x7c900000, true,
         {{"NtQueryInformationFile", AsProc((void (*)())NtQueryInformationFile)}}, 0},
        {"advapi32.dll", (HMODULE)(ULONG_PTR)0x77dd0000, true,
         {{"RegQueryValueExW", AsProc((void (*)())RegQueryValueExW)},
          {"SystemFunction036", AsProc((void (*)())SystemFunction036)}}, 0},
        {"comctl32.dll", (HMODULE)(ULONG_PTR)0x773d0000, true,
         {{"InitCommonControlsEx", AsProc((void (*)())InitCommonControlsEx)}}, 0},
        {"shell32.dll", (HMODULE)(ULONG_PTR)0x7ca00000, false,
         {{"SHGetSpecialFolderPathA", AsProc((void (*)())SHGetSpecialFolderPathA)}}, 0},
        {"version.dll", (HMODULE)(ULONG_PTR)0x77c00000, false,
         {{"GetFileVersionInfoSizeA", AsProc((void (*)())GetFileVersionInfoSizeA)},
          {"GetFileVersionInfoA", AsProc((void (*)())GetFileVersionInfoA)},
          {"VerQueryValueA", AsProc((void (*)())VerQueryValueA)}}, 0},
        {"sfc.dll", (HMODULE)(ULONG_PTR)0x76c60000, false,
         {{"SfcIsFileProtected", AsProc((void (*)())SfcIsFileProtected)}}, 0, true},
        // The device tool for Windows 2000 and later imports it.
        {"setupapi.dll", (HMODULE)(ULONG_PTR)0x77920000, true,
         {{"SetupUninstallOEMInfA", AsProc((void (*)())SetupUninstallOEMInfA)}}, 0, true},
    };
});

// "SHELL32" and "shell32.dll" name the same library, as for Windows.
std::string FileName(const std::string& name) {
    std::string lower;
    for (char c : name) lower += (char)tolower((unsigned char)c);
    size_t slash = lower.find_last_of('\\');
    if (slash != std::string::npos) lower = lower.substr(slash + 1);
    return lower.find('.') == std::string::npos ? lower + ".dll" : lower;
}

bool Present(const Module& module) {
    return !module.from_windows_2000 || (fake::CurrentWindowsVersion().platform == VER_PLATFORM_WIN32_NT &&
                                         fake::CurrentWindowsVersion().major >= 5);
}

Module* ByName(const std::string& name) {
    for (auto& module : modules)
        if (FileName(name) == module.file_name && Present(module)) return &module;
    return nullptr;
}

Module* ByHandle(HMODULE handle) {
    for (auto& module : modules)
        if (module.handle == handle && (module.always_loaded || module.loads > 0)) return &module;
    return nullptr;
}

}  // namespace

namespace fake {

void RemoveExport(const std::string& module_name, const std::string& proc_name) {
    Module* module = ByName(module_name);
    if (!module) return;
    for (size_t i = 0; i < module->exports.size(); ++i)
        if (proc_name == module->exports[i].name) module->exports.erase(module->exports.begin() + i);
}

int LoadedLibraryCount() { return load_count; }

HMODULE LoadedModuleHandle(const std::string& name) {
    Module* module = ByName(name);
    return module && (module->always_loaded || module->loads > 0) ? module->handle : nullptr;
}

}  // namespace fake

HMODULE LoadLibraryA(LPCSTR file_name) {
    std::string name = file_name ? file_name : "";
    fake::LogCall("LoadLibraryA", name);
    Module* module = ByName(name);
    DWORD error = fake::InjectedFailure("LoadLibraryA", name);
    if (!error && !module) error = ERROR_MOD_NOT_FOUND;
    if (error) {
        SetLastError(error);
        return nullptr;
    }
    ++module->loads;
    ++load_count;
    return module->handle;
}

BOOL FreeLibrary(HMODULE handle) {
    fake::LogCall("FreeLibrary", "");
    Module* module = ByHandle(handle);
    if (!module || module->loads == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    --module->loads;
    --load_count;
    return TRUE;
}

FARPROC GetProcAddress(HMODULE handle, LPCSTR proc_name) {
    std::string name = proc_name ? proc_name : "";
    fake::LogCall("GetProcAddress", name);
    Module* module = ByHandle(handle);
    DWORD error = fake::InjectedFailure("GetProcAddress", name);
    if (!error && !module) error = ERROR_INVALID_HANDLE;
    if (!error) {
        for (auto& entry : module->exports)
            if (name == entry.name) return entry.proc;
        error = ERROR_PROC_NOT_FOUND;
    }
    SetLastError(error);
    return nullptr;
}

// Stand-in for Windows' own libraries and their entry points, which are
// the fake world's functions. kernel32, advapi32, comctl32 and setupapi
// are always loaded; shell32, version and sfc only while a load holds
// them, and sfc (as setupapi's uninstall) is there from Windows 2000 on.
// A test can take an entry point away, as the first Windows 95 and NT 4
// lack some. Logged as "LoadLibraryA path", "FreeLibrary" and
// "GetProcAddress name", so that the one failure table fails them.
#include "system/library_calls.h"

#include "platform/host/setupapi.h"
#include "tests/stand_ins/stand_ins.h"

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

template <typename Function>
FARPROC AsProc(Function function) { return (FARPROC)(void (*)())function; }

std::vector<Module> modules;
int load_count;

fake::ResetHook modules_reset([] {
    load_count = 0;
    modules = {
        {"kernel32.dll", (HMODULE)(ULONG_PTR)0x7c800000, true,
         {{"GetSystemWindowsDirectoryA", AsProc(GetSystemWindowsDirectoryA)},
          {"Wow64DisableWow64FsRedirection", AsProc(Wow64DisableWow64FsRedirection)},
          {"Wow64RevertWow64FsRedirection", AsProc(Wow64RevertWow64FsRedirection)},
          {"IsWow64Process", AsProc(IsWow64Process)},
          {"GetSystemWow64DirectoryA", AsProc(GetSystemWow64DirectoryA)},
          {"SetFileInformationByHandle", AsProc(SetFileInformationByHandle)}},
         0},
        {"ntdll.dll", (HMODULE)(ULONG_PTR)0x7c900000, true,
         {{"NtQueryInformationFile", AsProc(NtQueryInformationFile)}}, 0},
        {"advapi32.dll", (HMODULE)(ULONG_PTR)0x77dd0000, true,
         {{"RegQueryValueExW", AsProc(RegQueryValueExW)},
          {"SystemFunction036", AsProc(SystemFunction036)}}, 0},
        {"comctl32.dll", (HMODULE)(ULONG_PTR)0x773d0000, true,
         {{"InitCommonControlsEx", AsProc(InitCommonControlsEx)}}, 0},
        {"shell32.dll", (HMODULE)(ULONG_PTR)0x7ca00000, false,
         {{"SHGetSpecialFolderPathA", AsProc(SHGetSpecialFolderPathA)}}, 0},
        {"version.dll", (HMODULE)(ULONG_PTR)0x77c00000, false,
         {{"GetFileVersionInfoSizeA", AsProc(GetFileVersionInfoSizeA)},
          {"GetFileVersionInfoA", AsProc(GetFileVersionInfoA)},
          {"VerQueryValueA", AsProc(VerQueryValueA)}}, 0},
        {"sfc.dll", (HMODULE)(ULONG_PTR)0x76c60000, false,
         {{"SfcIsFileProtected", AsProc(SfcIsFileProtected)}}, 0, true},
        // The device tool for Windows 2000 and later imports it.
        {"setupapi.dll", (HMODULE)(ULONG_PTR)0x77920000, true,
         {{"SetupUninstallOEMInfA", AsProc(SetupUninstallOEMInfA)}}, 0, true},
    };
});

// "SHELL32" and "C:\...\shell32.dll" name the same library, as for Windows.
std::string FileName(const std::string& name) {
    std::string lower;
    for (char c : name) lower += (char)tolower((unsigned char)c);
    size_t slash = lower.find_last_of('\\');
    if (slash != std::string::npos) lower = lower.substr(slash + 1);
    return lower.find('.') == std::string::npos ? lower + ".dll" : lower;
}

bool Present(const Module& module) {
    const fake::WindowsVersion& version = fake::CurrentWindowsVersion();
    return !module.from_windows_2000 || (version.platform == VER_PLATFORM_WIN32_NT && version.major >= 5);
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

HMODULE LoadLibraryAt(const char* path) {
    fake::LogCall("LoadLibraryA", path);
    Module* module = ByName(path);
    DWORD error = fake::InjectedFailure("LoadLibraryA", path);
    if (!error && !module) error = ERROR_MOD_NOT_FOUND;
    if (error) {
        SetLastError(error);
        return nullptr;
    }
    ++module->loads;
    ++load_count;
    return module->handle;
}

void FreeSystemLibrary(HMODULE handle) {
    fake::LogCall("FreeLibrary", "");
    Module* module = ByHandle(handle);
    if (!module || module->loads == 0) return;
    --module->loads;
    --load_count;
}

FARPROC EntryPoint(HMODULE handle, const char* name) {
    fake::LogCall("GetProcAddress", name);
    Module* module = ByHandle(handle);
    DWORD error = fake::InjectedFailure("GetProcAddress", name);
    if (!error && module)
        for (auto& entry : module->exports)
            if (!strcmp(name, entry.name)) return entry.proc;
    SetLastError(error ? error : module ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
    return nullptr;
}

HMODULE LoadedLibrary(const char* name) {
    Module* module = ByName(name);
    return module && (module->always_loaded || module->loads > 0) ? module->handle : nullptr;
}

namespace stand_in {

void RemoveExport(const std::string& module_name, const std::string& proc_name) {
    Module* module = ByName(module_name);
    if (!module) return;
    for (size_t i = 0; i < module->exports.size(); ++i)
        if (proc_name == module->exports[i].name) module->exports.erase(module->exports.begin() + i);
}

int LoadedLibraryCount() { return load_count; }

}  // namespace stand_in

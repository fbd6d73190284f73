// Uninstalling an OEM INF (setupapi.dll, from Windows XP on): it and its
// compiled ".pnf" leave the INF folder. The device list has a stand-in at
// the device tools' own seam.
#include "fake_world.h"
#include "setupapi.h"

BOOL SetupUninstallOEMInfA(PCSTR name, DWORD, PVOID) {
    fake::LogCall("SetupUninstallOEMInfA", name);
    DWORD error = fake::InjectedFailure("SetupUninstallOEMInfA", name);
    std::string base = name;
    if (!error && (base.find('\\') != std::string::npos || base.size() < 5)) error = ERROR_INVALID_PARAMETER;
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    char windows[MAX_PATH];
    GetSystemWindowsDirectoryA(windows, sizeof windows);
    std::string inf = std::string(windows) + "\\inf\\" + base;
    if (!DeleteFileA(inf.c_str())) return FALSE;
    DeleteFileA((inf.substr(0, inf.size() - 4) + ".pnf").c_str());
    return TRUE;
}

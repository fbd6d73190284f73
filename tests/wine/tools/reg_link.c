/* Makes a registry link, as a hostile setup could: reg_link.exe LINK TARGET
   creates HKLM\LINK as a link to HKLM\TARGET. Exit code 0 on success. */
#include <windows.h>

static int widen(const char* in, WCHAR* out, int room) {
    return MultiByteToWideChar(CP_ACP, 0, in, -1, out, room);
}

int main(int argc, char** argv) {
    WCHAR link[512], target[600] = L"\\Registry\\Machine\\";
    HKEY key;
    LONG status;
    if (argc != 3 || !widen(argv[1], link, 512)) return 2;
    if (!widen(argv[2], target + lstrlenW(target), 600 - lstrlenW(target))) return 2;
    status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, link, 0, NULL, REG_OPTION_CREATE_LINK,
                             KEY_ALL_ACCESS, NULL, &key, NULL);
    if (status != ERROR_SUCCESS) return 3;
    /* The target is stored without its terminator, as Windows requires. */
    status = RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK, (const BYTE*)target,
                            (DWORD)(lstrlenW(target) * sizeof(WCHAR)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 0 : 4;
}

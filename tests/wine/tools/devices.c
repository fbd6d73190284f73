/* Root-enumerated network devices for the device-removal scenarios:
     devices [-display] add HARDWARE-ID DESCRIPTION [INF [SERVICE]]
   makes a device of class Net (present or not does not matter to the
   tools) with that hardware id and description and, given an INF name
   ("-" for none), a driver key whose InfPath names it, and given a
   service, that service as its driver (SPDRP_SERVICE);
     devices count HARDWARE-ID
   prints how many devices of class Net carry that hardware id. With
   -display first, both work on class Display instead. */
#include <windows.h>
#include <setupapi.h>
#include <stdio.h>
#include <string.h>

static const GUID kNetClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
static const GUID kDisplayClass = {0x4d36e968, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
static const GUID* g_class = &kNetClass;
static const char* g_enumerator = "NET";

static int Fail(const char* what) {
    fprintf(stderr, "devices: %s failed: %lu\n", what, GetLastError());
    return 1;
}

static int Add(const char* id, const char* description, const char* inf, const char* service) {
    char ids[512] = {0};
    strncpy(ids, id, sizeof ids - 2);
    HDEVINFO set = SetupDiCreateDeviceInfoList(g_class, NULL);
    if (set == INVALID_HANDLE_VALUE) return Fail("SetupDiCreateDeviceInfoList");
    SP_DEVINFO_DATA device = {sizeof device};
    if (!SetupDiCreateDeviceInfoA(set, g_enumerator, g_class, description, NULL, DICD_GENERATE_ID, &device))
        return Fail("SetupDiCreateDeviceInfoA");
    if (!SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, (BYTE*)ids,
                                           (DWORD)strlen(ids) + 2))
        return Fail("SetupDiSetDeviceRegistryPropertyA");
    if (!SetupDiRegisterDeviceInfo(set, &device, 0, NULL, NULL, NULL))
        return Fail("SetupDiRegisterDeviceInfo");
    if (service && !SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_SERVICE, (const BYTE*)service,
                                                      (DWORD)strlen(service) + 1))
        return Fail("SetupDiSetDeviceRegistryPropertyA(SPDRP_SERVICE)");
    if (inf && strcmp(inf, "-") != 0) {
        HKEY key = SetupDiCreateDevRegKeyA(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, NULL, NULL);
        if (key == INVALID_HANDLE_VALUE) return Fail("SetupDiCreateDevRegKeyA");
        RegSetValueExA(key, "InfPath", 0, REG_SZ, (const BYTE*)inf, (DWORD)strlen(inf) + 1);
        RegCloseKey(key);
    }
    SetupDiDestroyDeviceInfoList(set);
    return 0;
}

static int HasId(const char* list, const char* id) {
    for (; *list; list += strlen(list) + 1)
        if (_stricmp(list, id) == 0) return 1;
    return 0;
}

static int Count(const char* id) {
    HDEVINFO set = SetupDiGetClassDevsA(g_class, NULL, NULL, 0);
    if (set == INVALID_HANDLE_VALUE) return Fail("SetupDiGetClassDevsA");
    SP_DEVINFO_DATA device = {sizeof device};
    int count = 0;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        char ids[2048] = {0};
        if (SetupDiGetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID, NULL, (BYTE*)ids,
                                              sizeof ids - 2, NULL))
            count += HasId(ids, id);
    }
    SetupDiDestroyDeviceInfoList(set);
    printf("%d\n", count);
    return 0;
}

int main(int argc, char** argv) {
    if (argc > 1 && strcmp(argv[1], "-display") == 0) {
        g_class = &kDisplayClass;
        g_enumerator = "DISPLAY";
        --argc, ++argv;
    }
    if (argc >= 4 && strcmp(argv[1], "add") == 0)
        return Add(argv[2], argv[3], argc > 4 ? argv[4] : NULL, argc > 5 ? argv[5] : NULL);
    if (argc == 3 && strcmp(argv[1], "count") == 0) return Count(argv[2]);
    fprintf(stderr, "usage: devices [-display] add HARDWARE-ID DESCRIPTION [INF [SERVICE]] | devices count HARDWARE-ID\n");
    return 2;
}

// The process's window station: visible in an interactive session, not in
// a service's or the system account's session 0. Windows 9x lacks the
// functions (a test takes them away with RemoveExport).
#include "fake_world.h"

#include <string.h>

namespace {

const HWINSTA kStation = (HWINSTA)(ULONG_PTR)0x5a;
bool station_visible = true;

fake::ResetHook station_reset([] { station_visible = true; });

}  // namespace

HWINSTA GetProcessWindowStation(void) {
    fake::LogCall("GetProcessWindowStation", "");
    if (DWORD error = fake::InjectedFailure("GetProcessWindowStation", "")) {
        SetLastError(error);
        return nullptr;
    }
    return kStation;
}

BOOL GetUserObjectInformationA(HANDLE object, int index, PVOID information, DWORD length,
                               LPDWORD needed) {
    fake::LogCall("GetUserObjectInformationA", "");
    DWORD error = fake::InjectedFailure("GetUserObjectInformationA", "");
    if (!error && (object != kStation || index != UOI_FLAGS)) error = ERROR_INVALID_PARAMETER;
    if (needed) *needed = sizeof(USEROBJECTFLAGS);
    if (!error && length < sizeof(USEROBJECTFLAGS)) error = ERROR_INSUFFICIENT_BUFFER;
    if (error) {
        SetLastError(error);
        return FALSE;
    }
    USEROBJECTFLAGS flags = {FALSE, FALSE, station_visible ? (DWORD)WSF_VISIBLE : 0};
    memcpy(information, &flags, sizeof flags);
    return TRUE;
}

namespace fake {

void SetWindowStationVisible(bool visible) { station_visible = visible; }

}  // namespace fake

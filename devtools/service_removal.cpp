// Driver service removal: stop within a bounded time, then delete.
#include "devtools/service_removal.h"

#define STOP_WAIT_MS 15000
#define STOP_POLL_MS 250

namespace {

bool IsStopped(SC_HANDLE service) {
    SERVICE_STATUS status;
    return QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOPPED;
}

// True when the service is stopped in the end.
bool StopService(SC_HANDLE service) {
    if (IsStopped(service)) return true;
    SERVICE_STATUS status;
    if (!ControlService(service, SERVICE_CONTROL_STOP, &status))
        return GetLastError() == ERROR_SERVICE_NOT_ACTIVE;
    for (DWORD waited = 0; waited < STOP_WAIT_MS; waited += STOP_POLL_MS) {
        if (IsStopped(service)) return true;
        Sleep(STOP_POLL_MS);
    }
    return IsStopped(service);
}

}  // namespace

SC_HANDLE OpenServiceManager(ToolOutcome* outcome) {
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) NoteFailure(outcome, GetLastError());
    return manager;
}

void RemoveDriverService(SC_HANDLE manager, const char* name, ToolOutcome* outcome) {
    if (!name[0]) return;
    SC_HANDLE service = OpenServiceA(manager, name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
    if (!service) {
        DWORD error = GetLastError();
        if (error != ERROR_SERVICE_DOES_NOT_EXIST) NoteFailure(outcome, error);
        return;
    }
    if (!StopService(service)) outcome->restart = true;
    if (!DeleteService(service)) {
        DWORD error = GetLastError();
        if (error == ERROR_SERVICE_MARKED_FOR_DELETE) outcome->restart = true;
        else NoteFailure(outcome, error);
    }
    CloseServiceHandle(service);
}

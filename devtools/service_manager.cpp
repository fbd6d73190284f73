// The Service Control Manager's calls, made of advapi32.
#include "devtools/service_manager.h"

SC_HANDLE OpenManagerForRemoval() { return OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS); }

SC_HANDLE OpenServiceForRemoval(SC_HANDLE manager, const char* name) {
    return OpenServiceA(manager, name, SERVICE_STOP | SERVICE_QUERY_STATUS | DELETE);
}

bool ServiceIsStopped(SC_HANDLE service) {
    SERVICE_STATUS status;
    return QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOPPED;
}

bool AskServiceToStop(SC_HANDLE service) {
    SERVICE_STATUS status;
    return ControlService(service, SERVICE_CONTROL_STOP, &status) != FALSE;
}

bool MarkServiceForDeletion(SC_HANDLE service) { return DeleteService(service) != FALSE; }

void CloseServiceManagerHandle(SC_HANDLE handle) { CloseServiceHandle(handle); }

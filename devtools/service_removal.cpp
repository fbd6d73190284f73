// Driver service removal: stop within a bounded time, then delete.
#include "devtools/service_removal.h"

#include "devtools/service_manager.h"
#include "devtools/tool_log.h"
#include "removal/guardrails/protected_services.h"

#define STOP_WAIT_MS 15000
#define STOP_POLL_MS 250

namespace {

// True when the service is stopped in the end.
bool StopService(SC_HANDLE service) {
    if (ServiceIsStopped(service)) return true;
    if (!AskServiceToStop(service)) return GetLastError() == ERROR_SERVICE_NOT_ACTIVE;
    for (DWORD waited = 0; waited < STOP_WAIT_MS; waited += STOP_POLL_MS) {
        if (ServiceIsStopped(service)) return true;
        Sleep(STOP_POLL_MS);
    }
    return ServiceIsStopped(service);
}

ServiceFate Failed(const char* name, DWORD error, ToolOutcome* outcome) {
    NoteFailure(outcome, error);
    ToolLog("could not remove service %s: error %u", name, (unsigned)error);
    return kServiceFailed;
}

}  // namespace

SC_HANDLE OpenServiceManager(ToolOutcome* outcome) {
    SC_HANDLE manager = OpenManagerForRemoval();
    if (!manager) NoteFailure(outcome, GetLastError());
    return manager;
}

// A service the guardrails refuse is left as it is, running or not.
ServiceFate RemoveDriverService(SC_HANDLE manager, const char* name, ToolOutcome* outcome) {
    if (!name[0]) return kServiceUnknown;
    if (const char* reason = ServiceRefusal(name)) {
        ToolLog("kept service %s: refused by a guardrail: %s", name, reason);
        return kServiceKept;
    }
    SC_HANDLE service = OpenServiceForRemoval(manager, name);
    if (!service) {
        DWORD error = GetLastError();
        return error == ERROR_SERVICE_DOES_NOT_EXIST ? kServiceUnknown : Failed(name, error, outcome);
    }
    bool now = StopService(service);
    DWORD error = MarkServiceForDeletion(service) ? 0 : GetLastError();
    CloseServiceManagerHandle(service);
    if (error == ERROR_SERVICE_MARKED_FOR_DELETE) now = false;
    else if (error) return Failed(name, error, outcome);
    if (!now) outcome->restart = true;
    ToolLog(now ? "removed service %s" : "removed service %s: it goes at the next start of Windows", name);
    return kServiceRemoved;
}

// The fake Service Control Manager: its database of services, each running
// or stopped, that stops a set time (on the fake clock) after it is asked
// to, or never. As Windows does, DeleteService only marks a service; it
// leaves the database once it is stopped and its last handle is closed.
#include "fake_world.h"

#include <map>

namespace {

struct Service {
    bool running;
    long stop_after_ms;  // -1: never stops
    bool stopping;
    DWORD stop_at;
    bool marked;
};

std::map<std::string, Service> services;   // by upper-case name
std::map<void*, std::string> open_services;  // handle -> upper-case name
const char kManager[] = "service manager";
const char kService[] = "service";

fake::ResetHook services_reset([] {
    services.clear();
    open_services.clear();
});

std::string Upper(const std::string& name) {
    std::string upper = name;
    for (char& c : upper) c = (char)toupper((unsigned char)c);
    return upper;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

Service* Named(SC_HANDLE handle) {
    auto it = open_services.find(handle);
    if (it == open_services.end()) return nullptr;
    auto found = services.find(it->second);
    return found == services.end() ? nullptr : &found->second;
}

void Advance(Service* service) {
    if (service->stopping && fake::SleptMilliseconds() >= service->stop_at) service->running = false;
}

// A marked service leaves once it is stopped and no handle holds it.
void LeaveWhenDone(const std::string& name) {
    auto it = services.find(name);
    if (it == services.end() || !it->second.marked) return;
    Advance(&it->second);
    if (it->second.running) return;
    for (auto& open : open_services)
        if (open.second == name) return;
    services.erase(it);
}

}  // namespace

namespace fake {

void AddService(const std::string& name, bool running, long stop_after_ms) {
    services[Upper(name)] = Service{running, stop_after_ms, false, 0, false};
}

bool ServiceExists(const std::string& name) {
    LeaveWhenDone(Upper(name));
    return services.count(Upper(name)) != 0;
}

bool ServiceRunning(const std::string& name) {
    auto it = services.find(Upper(name));
    if (it == services.end()) return false;
    Advance(&it->second);
    return it->second.running;
}

}  // namespace fake

SC_HANDLE OpenSCManagerA(LPCSTR, LPCSTR, DWORD) {
    fake::LogCall("OpenSCManagerA", "");
    if (DWORD error = fake::InjectedFailure("OpenSCManagerA", "")) return (SC_HANDLE)(Fail(error), nullptr);
    return (SC_HANDLE)fake::OpenHandle(kManager);
}

SC_HANDLE OpenServiceA(SC_HANDLE manager, LPCSTR name, DWORD) {
    fake::LogCall("OpenServiceA", name);
    if (DWORD error = fake::InjectedFailure("OpenServiceA", name)) return (SC_HANDLE)(Fail(error), nullptr);
    if (!fake::OpenHandlesOf(kManager) || !manager) return (SC_HANDLE)(Fail(ERROR_INVALID_HANDLE), nullptr);
    if (!services.count(Upper(name))) return (SC_HANDLE)(Fail(ERROR_SERVICE_DOES_NOT_EXIST), nullptr);
    SC_HANDLE handle = (SC_HANDLE)fake::OpenHandle(kService);
    open_services[handle] = Upper(name);
    return handle;
}

BOOL QueryServiceStatus(SC_HANDLE handle, LPSERVICE_STATUS status) {
    fake::LogCall("QueryServiceStatus", "");
    Service* service = Named(handle);
    if (!service) return Fail(ERROR_INVALID_HANDLE);
    Advance(service);
    *status = SERVICE_STATUS{};
    status->dwCurrentState = !service->running ? SERVICE_STOPPED
                             : service->stopping ? SERVICE_STOP_PENDING : SERVICE_RUNNING;
    return TRUE;
}

BOOL ControlService(SC_HANDLE handle, DWORD control, LPSERVICE_STATUS status) {
    fake::LogCall("ControlService", open_services.count(handle) ? open_services[handle] : "");
    Service* service = Named(handle);
    if (!service) return Fail(ERROR_INVALID_HANDLE);
    if (DWORD error = fake::InjectedFailure("ControlService", open_services[handle])) return Fail(error);
    Advance(service);
    if (control != SERVICE_CONTROL_STOP) return Fail(ERROR_INVALID_PARAMETER);
    if (!service->running) return Fail(ERROR_SERVICE_NOT_ACTIVE);
    if (service->stop_after_ms >= 0 && !service->stopping) {
        service->stopping = true;
        service->stop_at = fake::SleptMilliseconds() + (DWORD)service->stop_after_ms;
    }
    return QueryServiceStatus(handle, status);
}

BOOL DeleteService(SC_HANDLE handle) {
    fake::LogCall("DeleteService", open_services.count(handle) ? open_services[handle] : "");
    Service* service = Named(handle);
    if (!service) return Fail(ERROR_INVALID_HANDLE);
    if (DWORD error = fake::InjectedFailure("DeleteService", open_services[handle])) return Fail(error);
    if (service->marked) return Fail(ERROR_SERVICE_MARKED_FOR_DELETE);
    service->marked = true;
    return TRUE;
}

BOOL CloseServiceHandle(SC_HANDLE handle) {
    fake::LogCall("CloseServiceHandle", "");
    if (fake::CloseHandleOf(handle, kManager)) return TRUE;
    if (!fake::CloseHandleOf(handle, kService)) return Fail(ERROR_INVALID_HANDLE);
    std::string name = open_services[handle];
    open_services.erase(handle);
    LeaveWhenDone(name);
    return TRUE;
}

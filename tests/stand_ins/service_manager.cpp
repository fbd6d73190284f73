// Stand-in for the Service Control Manager's database: services running or
// stopped, each stopping a set time (on the fake clock) after it is asked
// to, or never. As Windows does, a deletion only marks a service; it
// leaves once stopped and its last handle closed. Logged under the names
// of the calls the product makes there ("OpenServiceA name", "ControlService
// name", "DeleteService name", ...), so that the one failure table fails them.
#include "devtools/service_manager.h"

#include <map>

#include "tests/stand_ins/stand_ins.h"

namespace {

struct Service {
    bool running;
    long stop_after_ms;  // -1: never stops
    bool stopping;
    DWORD stop_at;
    bool marked;
};

std::map<std::string, Service> services;      // by upper-case name
std::map<void*, std::string> open_services;  // handle -> upper-case name
const char kManager[] = "service manager";
const char kService[] = "service";

fake::ResetHook services_reset([] {
    services.clear();
    open_services.clear();
});

std::string Upper(std::string name) {
    for (char& c : name) c = (char)toupper((unsigned char)c);
    return name;
}

void Advance(Service* service) {
    if (service->stopping && fake::SleptMilliseconds() >= service->stop_at) service->running = false;
}

// The service a handle holds, its call logged and failed by its name.
Service* Enter(const char* api, SC_HANDLE handle, DWORD* error) {
    auto open = open_services.find(handle);
    std::string name = open == open_services.end() ? "" : open->second;
    fake::LogCall(api, name);
    auto found = services.find(name);
    *error = found == services.end() ? ERROR_INVALID_HANDLE : fake::InjectedFailure(api, name);
    if (*error) SetLastError(*error);
    if (!*error) Advance(&found->second);
    return *error ? nullptr : &found->second;
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

SC_HANDLE Refused(DWORD error) {
    SetLastError(error);
    return nullptr;
}

}  // namespace

SC_HANDLE OpenManagerForRemoval() {
    fake::LogCall("OpenSCManagerA", "");
    if (DWORD error = fake::InjectedFailure("OpenSCManagerA", "")) return Refused(error);
    return (SC_HANDLE)fake::OpenHandle(kManager);
}

SC_HANDLE OpenServiceForRemoval(SC_HANDLE manager, const char* name) {
    fake::LogCall("OpenServiceA", name);
    if (DWORD error = fake::InjectedFailure("OpenServiceA", name)) return Refused(error);
    if (!fake::OpenHandlesOf(kManager) || !manager) return Refused(ERROR_INVALID_HANDLE);
    if (!services.count(Upper(name))) return Refused(ERROR_SERVICE_DOES_NOT_EXIST);
    SC_HANDLE handle = (SC_HANDLE)fake::OpenHandle(kService);
    open_services[handle] = Upper(name);
    return handle;
}

bool ServiceIsStopped(SC_HANDLE handle) {
    DWORD error;
    Service* service = Enter("QueryServiceStatus", handle, &error);
    return service && !service->running;
}

bool AskServiceToStop(SC_HANDLE handle) {
    DWORD error;
    Service* service = Enter("ControlService", handle, &error);
    if (!service) return false;
    if (!service->running) return (SetLastError(ERROR_SERVICE_NOT_ACTIVE), false);
    if (service->stop_after_ms >= 0 && !service->stopping) {
        service->stopping = true;
        service->stop_at = fake::SleptMilliseconds() + (DWORD)service->stop_after_ms;
    }
    return true;
}

bool MarkServiceForDeletion(SC_HANDLE handle) {
    DWORD error;
    Service* service = Enter("DeleteService", handle, &error);
    if (!service) return false;
    if (service->marked) return (SetLastError(ERROR_SERVICE_MARKED_FOR_DELETE), false);
    service->marked = true;
    return true;
}

void CloseServiceManagerHandle(SC_HANDLE handle) {
    fake::LogCall("CloseServiceHandle", "");
    if (fake::CloseHandleOf(handle, kManager) || !fake::CloseHandleOf(handle, kService)) return;
    std::string name = open_services[handle];
    open_services.erase(handle);
    LeaveWhenDone(name);
}

namespace stand_in {

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

}  // namespace stand_in

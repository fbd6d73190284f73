// The tool for NT 4: an adapter is a numbered entry under NetworkCards that
// names its own instance of the driver service (the service's name and a
// number). The named cards go, then the service and every numbered
// instance of it, stopped and deleted through the Service Control Manager.
#include "devtools/device_match.h"
#include "devtools/registry_tree.h"
#include "devtools/service_removal.h"
#include "devtools/tool_backend.h"

#define NAME_SIZE 256
#define TEXT_SIZE 260
#define CARDS_KEY "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards"
#define SERVICE_LIST_SIZE 16384
#define MAX_INSTANCES 32

const char kToolTag[] = "XLNWLDNT";

namespace {

// A card, of class Net, is named by its description or title, or by an
// instance of the requested service; a request for other classes only
// names none.
bool CardNamed(HKEY card, const DeviceRequest& request) {
    if (!ClassListed(request, "Net")) return false;
    char service[TEXT_SIZE], description[TEXT_SIZE], title[TEXT_SIZE];
    ReadText(card, "ServiceName", service, sizeof service);
    ReadText(card, "Description", description, sizeof description);
    ReadText(card, "Title", title, sizeof title);
    if (request.service[0] && (lstrcmpiA(service, request.service) == 0 ||
                               IsNumberedInstance(service, request.service)))
        return true;
    DeviceFacts facts = {nullptr, nullptr, nullptr, description, title};
    return DeviceMatches(request, facts);
}

// True when the card went (the caller's walk then stays at its index).
bool RemoveCardIfNamed(HKEY cards, const char* name, const DeviceRequest& request,
                       ToolOutcome* outcome) {
    HKEY card;
    if (RegOpenKeyExA(cards, name, 0, KEY_READ, &card) != ERROR_SUCCESS) return false;
    bool named = CardNamed(card, request);
    RegCloseKey(card);
    if (!named) return false;
    LONG status = DeleteKeyTree(cards, name);
    if (status != ERROR_SUCCESS) {
        NoteFailure(outcome, (uint32_t)status);
        return false;
    }
    ++outcome->removed;
    return true;
}

void RemoveCards(const DeviceRequest& request, ToolOutcome* outcome) {
    HKEY cards;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, CARDS_KEY, 0, KEY_ALL_ACCESS, &cards);
    if (status != ERROR_SUCCESS) {
        if (status != ERROR_FILE_NOT_FOUND) NoteFailure(outcome, (uint32_t)status);
        return;
    }
    char name[NAME_SIZE];
    for (DWORD i = 0; RegEnumKeyA(cards, i, name, sizeof name) == ERROR_SUCCESS;)
        if (!RemoveCardIfNamed(cards, name, request, outcome)) ++i;
    RegCloseKey(cards);
}

// The numbered instances among the driver services, noted before any goes
// so that the list's walk is not disturbed; the list comes a buffer at a time.
int FindInstances(SC_HANDLE manager, const char* base, char (*found)[NAME_SIZE]) {
    static BYTE list[SERVICE_LIST_SIZE];
    DWORD resume = 0, needed = 0, count = 0;
    int noted = 0;
    BOOL done;
    do {
        done = EnumServicesStatusA(manager, SERVICE_DRIVER, SERVICE_STATE_ALL,
                                   (ENUM_SERVICE_STATUSA*)list, sizeof list, &needed, &count, &resume);
        if (!done && GetLastError() != ERROR_MORE_DATA) break;
        ENUM_SERVICE_STATUSA* services = (ENUM_SERVICE_STATUSA*)list;
        for (DWORD i = 0; i < count && noted < MAX_INSTANCES; ++i)
            if (IsNumberedInstance(services[i].lpServiceName, base))
                lstrcpynA(found[noted++], services[i].lpServiceName, NAME_SIZE);
    } while (!done && count);
    return noted;
}

void RemoveServices(const char* base, ToolOutcome* outcome) {
    if (!base[0]) return;
    SC_HANDLE manager = OpenServiceManager(outcome);
    if (!manager) return;
    static char instances[MAX_INSTANCES][NAME_SIZE];
    int count = FindInstances(manager, base, instances);
    for (int i = 0; i < count; ++i) RemoveDriverService(manager, instances[i], outcome);
    RemoveDriverService(manager, base, outcome);
    CloseServiceHandle(manager);
}

}  // namespace

void RemoveRequested(const DeviceRequest& request, ToolOutcome* outcome) {
    RemoveCards(request, outcome);
    RemoveServices(request.service, outcome);
}

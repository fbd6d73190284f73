// Finding and removing the requested cards under NetworkCards, and a
// service's key when only the registry knows it.
#include "devtools/network_cards.h"

#include "devtools/device_match.h"
#include "devtools/registry_tree.h"
#include "devtools/tool_log.h"
#include "platform/mbtext.h"

#define TEXT_SIZE 260
#define MAX_CARDS 128
#define CARDS_KEY "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards"

namespace {

struct CardValues {
    char service[REQUEST_SERVICE_SIZE];
    char description[TEXT_SIZE];
    char title[TEXT_SIZE];
};

// A card, of class Net, is named by its description or title, or by the
// requested service or a numbered instance of it; a request for other
// classes only names none.
bool CardNamed(HKEY card, const DeviceRequest& request, CardValues* v) {
    ReadText(card, "ServiceName", v->service, sizeof v->service);
    ReadText(card, "Description", v->description, sizeof v->description);
    ReadText(card, "Title", v->title, sizeof v->title);
    if (!ClassListed(request, "Net")) return false;
    if (request.service[0] && (MbSameNoCase(v->service, request.service) ||
                               IsNumberedInstance(v->service, request.service)))
        return true;
    // NetworkCards lists network adapters only: their class was checked.
    DeviceFacts facts = {nullptr, nullptr, v->description, v->title};
    return DeviceMatches(request, facts);
}

void RemoveCardIfNamed(HKEY cards, const char* name, const DeviceRequest& request,
                       ToolOutcome* outcome, CardServices* services) {
    CardValues values;
    HKEY card;
    if (RegOpenKeyExA(cards, name, 0, KEY_READ, &card) != ERROR_SUCCESS) return;
    bool named = CardNamed(card, request, &values);
    RegCloseKey(card);
    if (!named) return;
    LONG status = DeleteKeyTree(cards, name);
    if (status != ERROR_SUCCESS) {
        NoteFailure(outcome, (uint32_t)status);
        ToolLog("could not remove network card %s (%s): error %u", name, values.description, (unsigned)status);
        return;
    }
    ++outcome->removed;
    outcome->restart = true;
    ToolLog("removed network card %s (%s), its service %s", name, values.description, values.service);
    NoteService(services, values.service);
}

}  // namespace

void NoteService(CardServices* services, const char* name) {
    if (!name[0] || services->count >= MAX_CARD_SERVICES) return;
    for (int i = 0; i < services->count; ++i)
        if (MbSameNoCase(services->names[i], name)) return;
    lstrcpynA(services->names[services->count++], name, REQUEST_SERVICE_SIZE);
}

// The cards are listed first, then removed.
void RemoveNamedCards(const DeviceRequest& request, ToolOutcome* outcome, CardServices* services) {
    HKEY cards;
    LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, CARDS_KEY, 0, KEY_ALL_ACCESS, &cards);
    if (status != ERROR_SUCCESS) {
        if (status != ERROR_FILE_NOT_FOUND) NoteFailure(outcome, (uint32_t)status);
        return;
    }
    static KeyName names[MAX_CARDS];
    int count = CollectSubkeyNames(cards, names, MAX_CARDS);
    for (int i = 0; i < count; ++i) RemoveCardIfNamed(cards, names[i], request, outcome, services);
    RegCloseKey(cards);
}

void RemoveServiceKey(const char* name, ToolOutcome* outcome) {
    LONG status = DeleteServiceKey(name);
    if (status == ERROR_FILE_NOT_FOUND) return;
    if (status != ERROR_SUCCESS) {
        NoteFailure(outcome, (uint32_t)status);
        ToolLog("could not remove service %s: error %u", name, (unsigned)status);
        return;
    }
    outcome->restart = true;
    ToolLog("removed service %s from the registry: it goes at the next start of Windows", name);
}

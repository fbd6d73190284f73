// The tool for NT 4: an adapter is a numbered entry under NetworkCards that
// names its own adapter service. The named cards go, then their entries in
// the other services' Linkage values (and NetBIOS's LanaMap), then exactly
// the services they named and the driver service, stopped and deleted
// through the Service Control Manager, or their keys where it does not
// know them.
#include "devtools/remove_nt4_cards.h"

#include "devtools/network_cards.h"
#include "devtools/network_linkage_nt4.h"
#include "devtools/service_manager.h"
#include "devtools/service_removal.h"

const char kToolTag[] = "XLNWLDNT";

namespace {

void RemoveServices(const CardServices& services, ToolOutcome* outcome) {
    if (services.count == 0) return;
    SC_HANDLE manager = OpenServiceManager(outcome);
    if (!manager) return;
    for (int i = 0; i < services.count; ++i)
        if (RemoveDriverService(manager, services.names[i], outcome) == kServiceUnknown)
            RemoveServiceKey(services.names[i], outcome);
    CloseServiceManagerHandle(manager);
}

}  // namespace

void RemoveRequested(const DeviceRequest& request, ToolOutcome* outcome) {
    static CardServices services;
    services.count = 0;
    RemoveNamedCards(request, outcome, &services);
    RemoveCardLinkage(services, outcome);  // the cards' services alone
    NoteService(&services, request.service);  // the driver, after its cards
    RemoveServices(services, outcome);
}

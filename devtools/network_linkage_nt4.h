// NT 4 binds each protocol and service to an adapter by name: the
// Linkage key of a service (and its Disabled subkey) lists in its Bind,
// Export and Route values (REG_MULTI_SZ) entries such as \Device\XLNW111,
// \Device\NetBT_XLNW111 or "Tcpip" "XLNW111"; NetBIOS's LanaMap gives one
// two-byte pair per entry of NetBIOS's Bind, in the same order. A removed
// card's entries left there make bind errors at each start.
#pragma once

#include "devtools/network_cards.h"
#include "devtools/tool_result.h"

// True when a Linkage entry names one of the cards' services: the last
// part of a \Device\ name is the service or ends with "_" and it, or a
// quoted part of the entry is the service. Another card's never does.
bool LinkageEntryNamesCard(const char* entry, const CardServices& cards);

// Removes the removed cards' entries from every service's Linkage values,
// and with NetBIOS's Bind entries their LanaMap pairs. NetBIOS's Linkage
// stays whole, logged, when its LanaMap does not pair with its Bind.
void RemoveCardLinkage(const CardServices& cards, ToolOutcome* outcome);

// NT 4's network cards: numbered entries under NetworkCards, each naming
// its own adapter service (of type 4, which no listing of driver services
// shows). The registry part of the NT 4 tool.
#pragma once

#include "devtools/tool_request.h"
#include "devtools/tool_result.h"

#define MAX_CARD_SERVICES 64

// The services to remove, each once, in the order noted.
struct CardServices {
    int count;
    char names[MAX_CARD_SERVICES][REQUEST_SERVICE_SIZE];
};

// Adds `name` unless it is empty, already noted or the list is full.
void NoteService(CardServices* services, const char* name);

// Removes the NetworkCards entries the request names and notes the
// service of each card removed. NT 4 applies a network change at its next
// start, so a removal asks for the restart.
void RemoveNamedCards(const DeviceRequest& request, ToolOutcome* outcome, CardServices* services);

// Deletes the service's key, for a service the Service Control Manager
// does not know; it then goes at the next start.
void RemoveServiceKey(const char* name, ToolOutcome* outcome);

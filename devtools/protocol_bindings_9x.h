// Windows 95, 98 and Me bind protocols to an adapter by name: the
// adapter's Enum entry has a Bindings subkey whose value names
// ("MSTCP\0001") stand for Enum\Network\MSTCP\0001, whose Driver names its
// key under Services\Class\NetTrans. A protocol instance goes with the
// last adapter that binds it. A protocol binds its clients and services
// the same way (its own Bindings subkey: "VREDIR\0000", whose Driver is
// "NetClient\0000"); such an instance goes with the last protocol that
// binds it.
#pragma once

#include "devtools/tool_result.h"
#include "platform/platform.h"

#define MAX_BINDINGS 64
#define BINDING_NAME_SIZE 256

struct BindingList {
    int count;
    char names[MAX_BINDINGS][BINDING_NAME_SIZE];
};

// Adds one protocol instance unless it is noted already or the list is full.
void NoteBinding(BindingList* bindings, const char* name);

// Notes the protocol instances that the Enum entry `instance` binds.
void NoteBindings(HKEY instance, BindingList* bindings);

// Removes each noted protocol instance, with its driver key, that no
// device left under Enum binds; one still bound stays. Then each client
// and service instance bound to a removed protocol, with its driver key
// under NetClient or NetService, unless something left binds it.
void RemoveUnboundProtocols(const BindingList& bindings, ToolOutcome* outcome);

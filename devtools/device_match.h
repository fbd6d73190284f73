// The rule that says which devices a request names: a device of a listed
// setup class (class Net, the network adapters, when none is listed) whose
// hardware ids hold a requested id, or whose description or friendly name
// is a requested description, all without regard to letter case. Compatible
// ids never count: they name what else may drive a device, not the device.
// A generic requested id (a class code, or no vendor and device) is
// refused before any device is looked at.
#pragma once

#include <stddef.h>

#include "devtools/tool_request.h"

// What the tool learnt of one device. The id lists are zero-separated and
// end with an empty string, as the system stores them; null for none.
struct DeviceFacts {
    const char* setup_class;  // null: the caller chose the classes it walks
    const char* hardware_ids;
    const char* description;
    const char* friendly_name;
};

// True for a listed class, and for Net when none is listed.
bool ClassListed(const DeviceRequest& request, const char* setup_class);
bool DeviceMatches(const DeviceRequest& request, const DeviceFacts& device);

// The network adapters' class, walked when the request lists none.
#define NET_CLASS_NAME "Net"

// True for an id that names no one vendor's device: on PCI one without
// both VEN_ and DEV_, on USB and SD one without both VID_ and PID_; on any
// other bus one with a class code part (CC_, Class_) or a device part of
// the generic "PNP" vendor (*PNP0C0F, ACPI\PNP0A03).
bool IsGenericId(const char* id);

// Drops the request's generic ids, each logged, before anything is
// matched: such an id would take every vendor's devices of a class, and
// their driver packages with them.
void RefuseGenericIds(DeviceRequest* request);

// Makes a buffer of `size` bytes, filled by the system, a safe id list:
// its last two bytes become terminators, so a walk never passes its end.
void TerminateIdList(char* buffer, size_t size);

// Turns a comma-separated id list (as Windows 9x stores it) into the
// zero-separated form; `size` as above.
void CommaListToIdList(char* buffer, size_t size);

// True for "Class\0003"-shaped driver key names: two non-empty parts, one
// backslash, no "." or ".." part. Anything else could name a whole class.
bool IsDriverKeyName(const char* name);

// True when `name` is `base` followed by one or more decimal digits, the
// numbered instance of a driver service that NT 4 makes per adapter.
bool IsNumberedInstance(const char* name, const char* base);

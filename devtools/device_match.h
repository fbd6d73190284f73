// The rule that says which devices a request names: a device of a listed
// setup class (any class when none is listed) whose hardware or compatible
// ids hold a requested id, or whose description or friendly name is a
// requested description, all without regard to letter case. A device named
// only by its description or friendly name must be of a listed class, or of
// class Net when none is listed.
#pragma once

#include <stddef.h>

#include "devtools/tool_request.h"

// What the tool learnt of one device. The id lists are zero-separated and
// end with an empty string, as the system stores them; null for none.
struct DeviceFacts {
    const char* setup_class;  // null: the caller chose the classes it walks
    const char* hardware_ids;
    const char* compatible_ids;
    const char* description;
    const char* friendly_name;
};

bool ClassListed(const DeviceRequest& request, const char* setup_class);
bool DeviceMatches(const DeviceRequest& request, const DeviceFacts& device);

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

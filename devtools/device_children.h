// The devices below a device (a USB adapter's functions), in the order
// they must go: each one after every device below it. DIF_REMOVE removes
// only the device it is called for, and a child left behind keeps the
// driver package in use.
#pragma once

#include <stdint.h>

#define MAX_DEVICE_DEPTH 32  // deeper devices are treated as having no children

// The first child or the next sibling of `node`; false when there is none.
// `*relative` holds `node` on entry: left so, it names none.
typedef bool (*RelativeOf)(void* context, uint32_t node, uint32_t* relative);

// Lists the devices below `root` (not `root` itself), deepest first, into
// `out` of `capacity`. Returns how many were listed; a walk that would list
// more stops there.
int ListDescendants(uint32_t root, RelativeOf first_child, RelativeOf next_sibling, void* context,
                    uint32_t* out, int capacity);

// Walking a device tree children first, without recursion.
#include "devtools/device_children.h"

namespace {

// A relative equal to its node names none: a stub may claim success
// without writing one (Wine's CM_Get_Child does), and the caller then
// finds its own node unchanged.
bool Relative(RelativeOf relative_of, void* context, uint32_t node, uint32_t* relative) {
    *relative = node;
    return relative_of(context, node, relative) && *relative != node;
}

}  // namespace

int ListDescendants(uint32_t root, RelativeOf first_child, RelativeOf next_sibling, void* context,
                    uint32_t* out, int capacity) {
    uint32_t ancestors[MAX_DEVICE_DEPTH];  // between `root` and `node`
    int depth = 0, count = 0;
    uint32_t node, next;
    if (capacity <= 0 || !Relative(first_child, context, root, &node)) return 0;
    for (;;) {
        while (depth < MAX_DEVICE_DEPTH && Relative(first_child, context, node, &next)) {
            ancestors[depth++] = node;
            node = next;
        }
        for (;;) {
            out[count++] = node;
            if (count == capacity) return count;
            if (Relative(next_sibling, context, node, &next)) break;
            if (depth == 0) return count;
            node = ancestors[--depth];
        }
        node = next;
    }
}

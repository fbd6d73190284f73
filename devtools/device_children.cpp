// Walking a device tree children first, without recursion.
#include "devtools/device_children.h"

int ListDescendants(uint32_t root, RelativeOf first_child, RelativeOf next_sibling, void* context,
                    uint32_t* out, int capacity) {
    uint32_t ancestors[MAX_DEVICE_DEPTH];  // between `root` and `node`
    int depth = 0, count = 0;
    uint32_t node, next;
    if (capacity <= 0 || !first_child(context, root, &node)) return 0;
    for (;;) {
        while (depth < MAX_DEVICE_DEPTH && first_child(context, node, &next)) {
            ancestors[depth++] = node;
            node = next;
        }
        for (;;) {
            out[count++] = node;
            if (count == capacity) return count;
            if (next_sibling(context, node, &next)) break;
            if (depth == 0) return count;
            node = ancestors[--depth];
        }
        node = next;
    }
}

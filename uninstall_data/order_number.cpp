// Order numbers written as value or subkey names.
#include "uninstall_data/order_number.h"

#include "uninstall_data/uninstall_data.h"

// A number too large for 32 bits is outside the format and, like any other
// non-number, gives -1.
void ParseOrderNumber(const char* text, int32_t* order) {
    int64_t value = 0;
    for (; *text; ++text) {
        if (*text < '0' || *text > '9') {
            *order = -1;
            return;
        }
        value = value * 10 + (*text - '0');
        if (value > INT32_MAX) {
            *order = -1;
            return;
        }
    }
    *order = (int32_t)value;
}

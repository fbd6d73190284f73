// The order number of a description's list entry.
#pragma once

#include "platform/platform.h"

// Turns a value or subkey name into an order number: "" is 0, decimal
// digits their value, anything else -1.
void ParseOrderNumber(const char* text, int32_t* order);

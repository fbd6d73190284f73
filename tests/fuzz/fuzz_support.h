// What every fuzz target shares: a fresh fake world per input, and checks
// that stop the run with a message when a property of the product breaks.
#pragma once

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "messages/error_report.h"
#include "platform/host/fake_world.h"
#include "system/run_state.h"

inline void FreshWorld() {
    fake::Reset();
    RunMode = Silent;  // no boxes: a report is only a state change
    InstallMode = false;
    RestartNeeded = false;
    SetErrorState("", 0);
}

// A failed property is a finding: say which and stop, so the input is kept.
#define FUZZ_CHECK(condition)                                                           \
    do {                                                                                \
        if (!(condition)) {                                                             \
            fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            abort();                                                                    \
        }                                                                               \
    } while (0)

// A fixed text field holds its terminator within its own bytes.
template <size_t N> bool Terminated(const char (&field)[N]) { return memchr(field, 0, N) != nullptr; }

// Either a single-byte or a double-byte code page, so that both ways of
// walking text are reached.
inline void PickCodePage(FuzzedDataProvider& in) {
    fake::SetAnsiCodePage(in.ConsumeBool() ? 932 : 1252);
}

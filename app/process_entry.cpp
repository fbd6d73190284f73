// The program's own entry point on Windows. MinGW's start-up code contains
// CMOV, which the Pentium-class machines of the first 32-bit Windows lack,
// so the process starts here: form WinMain's tail and end with its result.
#include "app/process_entry.h"

#include "app/win_main.h"
#include "system/command_tail.h"

extern "C" void WinMainCRTStartup(void) {
    char* tail = CommandLineTail(GetCommandLineA());
    ExitProcess((UINT)WinMain(GetModuleHandleA(nullptr), nullptr, tail, SW_SHOWDEFAULT));
}

// Registry overrides of the messages, per module and language.
#pragma once

#include "platform/platform.h"

// The registry override of one message in one language.
WCHAR* ReadLocalizedStringOverride(HMODULE module, UINT id, LANGID language);
// The module's file name without folder and last extension.
char* GetModuleStem(HMODULE module);

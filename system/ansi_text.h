// The messages, written in UTF-16, in the ANSI code page of the running
// Windows. The unit tests put a stand-in behind this header; the Wine
// scenarios show the messages in their languages' code pages.
#pragma once

#include "platform/platform.h"

// The text in the ANSI code page, in a block the caller frees; what the
// code page cannot hold becomes its default character. Null when the text
// cannot be converted.
char* ToAnsiText(const WCHAR* wide);

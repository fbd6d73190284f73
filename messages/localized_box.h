// A message box whose text and caption are two localised messages, read
// right to left when the text came from such a language's table.
#pragma once

#include "platform/platform.h"

// MessageBoxA's answer; -1 when either text is missing (no box is shown).
int ShowLocalizedBox(UINT text_id, UINT caption_id, UINT style);

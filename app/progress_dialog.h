// The modeless progress dialog of the "verbose" mode and the commands by
// which the removal sequence drives it.
#pragma once

#include "platform/platform.h"
#include "resources/resource_ids.h"

// WM_COMMAND codes: the whole wParam is the command, lParam its argument.
#define PROGRESS_CMD_TITLE 0  // lParam: message id of the title
#define PROGRESS_CMD_TEXT 1   // lParam: message id of the status text
#define PROGRESS_CMD_POS 2    // lParam: the bar's position, a percentage

INT_PTR CALLBACK ProgressDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// An Arabic or Hebrew line reads right to left from the right edge; any
// other goes back to left to right, as the template has it: the status
// control's style words, its other bits kept.
void SetReadingOrder(bool right_to_left, LONG* style, LONG* ex_style);

// Sets the status text to the message, then the bar to the percentage.
void ShowProgressStep(HWND dialog, UINT message_id, int percent);

// Creates the dialog hidden, with no owner; reports code 402 and returns
// null when it cannot be created.
HWND CreateProgressDialog(HINSTANCE instance);

// Resource ids shared by the resource script and the code that uses them.
#pragma once

#define IDD_PROGRESS 101
#define IDC_PROGRESS_BAR 201
#define IDC_STATUS_TEXT 301

// The program's version as its version information and its run log give it.
#define PROGRAM_VERSION_TEXT "1.0.0.0"

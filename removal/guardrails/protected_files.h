// The files no uninstall description can have deleted or scheduled for
// deletion: Windows' own. The removal's gateway (system_changes.h) asks
// here before every change to a file.
#pragma once

#include "platform/platform.h"
#include "removal/path_macros.h"
#include "removal/guardrails/system_file_checks.h"

// A short reason when the file at `path` is Windows' own, or, while a
// description is removed, not shown to be the product's; null otherwise.
const char* WindowsFileRefusal(const char* path);

// What the file rules know of a file once none of Windows' own marks
// refused it, for the question whose it is.
struct FileFacts {
    const char* form;     // its full path
    const char* folder;   // its folder's full form
    bool microsoft;       // a table of its version resource names Microsoft
    const char* company;  // its first table's company name, or ""
};
// A reason the file stays, or null when it may go.
typedef const char* (*OwnershipJudge)(const FileFacts& facts);
// Set while a description is removed (file_evidence.h). Without a judge a
// Microsoft mark refuses and nothing else is asked (the device tools).
void SetOwnershipJudge(OwnershipJudge judge);

// As WindowsFileRefusal, for a match of a search inside a WindowsFileRules
// scope: what the search found spares opening a file too small to be a
// program image, and the verdict serves the changes to this very path
// that follow (the gateway asks before each), until another match.
const char* WindowsFileRefusalOfMatch(const char* path, const WIN32_FIND_DATAA& found);

// For judging many files in a row (a step's every file): the system's
// libraries are loaded and the system folder is found once for the
// scope's life, not once for each file. An inner scope adds nothing.
struct WindowsFileRules {
    WindowsFileRules();
    ~WindowsFileRules();
    WindowsFileRules(const WindowsFileRules&) = delete;
    WindowsFileRules& operator=(const WindowsFileRules&) = delete;

    bool owner;
    SystemFileChecks checks;
    char system_forms[2][PATH_BUFFER_SIZE];  // the system folder, full and 8.3
    int system_form_count;
    char windows_forms[2][PATH_BUFFER_SIZE];  // the Windows folder, full and 8.3
    int windows_form_count;
    char last_folder[PATH_BUFFER_SIZE];  // the folder judged last, and whether
    bool last_folder_is_system;          // it is the system folder
    char last_path[PATH_BUFFER_SIZE];    // the match judged last, and its verdict
    const char* last_reason;
    bool too_small_for_an_image;         // the match being judged
};

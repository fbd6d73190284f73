// The request and result files in the Windows directory, read and written
// with the system's own file calls (the tools carry no C run-time).
#pragma once

#include "devtools/tool_request.h"
#include "devtools/tool_result.h"
#include "platform/platform.h"

// The request's path with its last letter replaced by `last` ('s' for the
// request, 'r' for the result); false when the directory is unknown.
bool ToolFilePath(char last, char* path, size_t size);

// Reads the whole request; false (with the system's error code) when it is
// missing or unreadable.
bool ReadToolRequest(DeviceRequest* request, DWORD* error);

// Writes the result file anew.
bool WriteToolResult(const ToolOutcome& outcome, const char* tag);

// The verdict a device-manager tool writes back to uninst.exe: the number
// of devices removed or a negative status, the tool's tag, the system's
// error code, "restart" when the removal completes only after one, and the
// driver service that was kept because it is still needed.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "devtools/tool_request.h"

struct ToolOutcome {
    int32_t removed;  // devices removed
    bool failed;      // a step failed; `error` says why
    uint32_t error;   // the Windows error code of the first failure
    bool restart;     // the removal completes at the next start of Windows
    char kept_service[REQUEST_SERVICE_SIZE];  // not removed: still in use
};

// Records a failure; the first failure's code is the one reported.
void NoteFailure(ToolOutcome* outcome, uint32_t error);

// The result file's text, CR LF line ends, into `out` of `size` bytes,
// always terminated. Returns its length.
size_t FormatToolResult(const ToolOutcome& outcome, const char* tag, char* out, size_t size);

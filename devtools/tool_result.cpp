// Writing the tool's verdict as the text of the result file.
#include "devtools/tool_result.h"

#include <string.h>

namespace {

// Appends what fits of `text`; the output stays terminated.
void Append(char* out, size_t size, size_t* used, const char* text) {
    while (*text && *used + 1 < size) out[(*used)++] = *text++;
    out[*used] = 0;
}

// Decimal digits of `value`, a minus first when `negative`.
void AppendNumber(char* out, size_t size, size_t* used, uint32_t value, bool negative) {
    char digits[12];
    char* p = digits + sizeof digits - 1;
    *p = 0;
    do *--p = (char)('0' + value % 10); while (value /= 10);
    if (negative) *--p = '-';
    Append(out, size, used, p);
}

}  // namespace

void NoteFailure(ToolOutcome* outcome, uint32_t error) {
    if (!outcome->failed) outcome->error = error;
    outcome->failed = true;
}

size_t FormatToolResult(const ToolOutcome& outcome, const char* tag, char* out, size_t size) {
    size_t used = 0;
    if (size == 0) return 0;
    out[0] = 0;
    if (outcome.failed) AppendNumber(out, size, &used, 1, true);
    else AppendNumber(out, size, &used, outcome.removed < 0 ? 0u : (uint32_t)outcome.removed, false);
    Append(out, size, &used, "\r\n");
    Append(out, size, &used, tag);
    Append(out, size, &used, "\r\n");
    AppendNumber(out, size, &used, outcome.failed ? outcome.error : 0u, false);
    Append(out, size, &used, "\r\n");
    if (outcome.restart) Append(out, size, &used, "restart\r\n");
    if (outcome.kept_service[0]) {
        Append(out, size, &used, "kept service ");
        Append(out, size, &used, outcome.kept_service);
        Append(out, size, &used, "\r\n");
    }
    return used;
}

// Reading the device-manager tool's result: status, module tag and code.
#include "removal/device_tool_result.h"

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Leading blanks and an optional sign; true when the sign is a minus.
const char* SkipToDigits(const char* text, bool* negative) {
    while (IsBlank(*text)) ++text;
    *negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The optional fourth line, with or without its line end.
bool IsRestartLine(char* line) {
    size_t length = strlen(line);
    while (length && (line[length - 1] == '\n' || line[length - 1] == '\r')) line[--length] = 0;
    return strcmp(line, DEVICE_TOOL_RESTART) == 0;
}

}  // namespace

// Wraps on overflow, as a 32-bit accumulator does.
int32_t ParseStatus(const char* text) {
    bool negative;
    uint32_t value = 0;
    for (text = SkipToDigits(text, &negative); IsDigit(*text); ++text)
        value = value * 10u + (uint32_t)(*text - '0');
    return (int32_t)(negative ? 0u - value : value);
}

// Above 4294967295 the answer is 4294967295 whatever the sign; otherwise a
// minus negates modulo 2^32.
int32_t ParseCode(const char* text) {
    bool negative;
    uint64_t value = 0;
    for (text = SkipToDigits(text, &negative); IsDigit(*text); ++text)
        if ((value = value * 10u + (uint64_t)(*text - '0')) > 0xFFFFFFFFu) value = 0x100000000u;
    if (value > 0xFFFFFFFFu) return (int32_t)0xFFFFFFFFu;
    return (int32_t)(negative ? 0u - (uint32_t)value : (uint32_t)value);
}

// The tag is its line less the line end; a last line without one keeps
// its last character.
bool ReadDeviceToolResult(TextFile* file, DeviceToolResult* result) {
    char line[DEVICE_RESULT_LINE_SIZE];
    if (!TextFileReadLine(file, line, sizeof line)) return false;
    result->status = ParseStatus(line);
    strcpy(result->tag, DEVICE_TOOL_DEFAULT_TAG);
    result->code = 0;
    if (TextFileReadLine(file, line, sizeof line)) {
        size_t length = strlen(line);
        if (length && line[length - 1] == '\n') line[length - 1] = 0;
        strcpy(result->tag, line);
    }
    if (TextFileReadLine(file, line, sizeof line)) result->code = ParseCode(line);
    result->restart = TextFileReadLine(file, line, sizeof line) && IsRestartLine(line);
    return true;
}

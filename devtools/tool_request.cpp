// Reading the device request line by line into its fields.
#include "devtools/tool_request.h"

#include <string.h>

#include "platform/mbtext.h"

namespace {

// Copies `value` into a field of `size` bytes when it fits whole.
bool StoreText(char* field, size_t size, const char* value) {
    size_t length = strlen(value);
    if (length == 0 || length >= size) return false;
    memcpy(field, value, length + 1);
    return true;
}

void StoreInList(char* list, int* count, int capacity, size_t size, const char* value) {
    if (*count < capacity && StoreText(list + (size_t)*count * size, size, value)) ++*count;
}

// The key is matched without regard to case; `line` holds "key=value".
const char* ValueOf(char* line, const char* key) {
    char* equals = (char*)MbFindChar(line, '=');
    if (!equals) return nullptr;
    *equals = 0;
    bool same = MbSameNoCase(line, key);
    *equals = '=';
    return same ? equals + 1 : nullptr;
}

void TakeLine(DeviceRequest* r, char* line) {
    const char* value;
    if ((value = ValueOf(line, "Class")))
        StoreInList(r->classes[0], &r->class_count, REQUEST_MAX_CLASSES, REQUEST_CLASS_SIZE, value);
    else if ((value = ValueOf(line, "ServiceName")) && !r->service[0])
        StoreText(r->service, sizeof r->service, value);
    else if ((value = ValueOf(line, "Desc")))
        StoreInList(r->descs[0], &r->desc_count, REQUEST_MAX_DESCS, REQUEST_DESC_SIZE, value);
    else if ((value = ValueOf(line, "HardwareID")))
        StoreInList(r->ids[0], &r->id_count, REQUEST_MAX_IDS, REQUEST_ID_SIZE, value);
    else if ((value = ValueOf(line, "Log")) && !r->log[0])
        StoreText(r->log, sizeof r->log, value);
}

void EndLine(RequestParser* parser) {
    if (!parser->unusable && parser->used) {
        parser->line[parser->used] = 0;
        TakeLine(parser->request, parser->line);
    }
    parser->used = 0;
    parser->unusable = false;
}

void AddByte(RequestParser* parser, char c) {
    if (c == 0 || parser->used + 1 >= sizeof parser->line) parser->unusable = true;
    else parser->line[parser->used++] = c;
}

}  // namespace

void BeginRequest(RequestParser* parser, DeviceRequest* request) {
    memset(request, 0, sizeof *request);
    parser->request = request;
    parser->used = 0;
    parser->unusable = false;
}

void FeedRequest(RequestParser* parser, const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (bytes[i] == '\n' || bytes[i] == '\r') EndLine(parser);
        else AddByte(parser, bytes[i]);
    }
}

void EndRequest(RequestParser* parser) { EndLine(parser); }

// Deciding whether a device is one the request names.
#include "devtools/device_match.h"

#include <string.h>

#include "platform/mbtext.h"

namespace {

bool InList(const char* list, int count, size_t size, const char* text) {
    for (int i = 0; i < count; ++i)
        if (MbSameNoCase(list + (size_t)i * size, text)) return true;
    return false;
}

bool TextListed(const DeviceRequest& request, const char* text) {
    return text && *text && InList(request.descs[0], request.desc_count, REQUEST_DESC_SIZE, text);
}

bool AnyIdListed(const DeviceRequest& request, const char* ids) {
    if (!ids) return false;
    for (; *ids; ids += strlen(ids) + 1)
        if (InList(request.ids[0], request.id_count, REQUEST_ID_SIZE, ids)) return true;
    return false;
}

// Also true for an empty part.
bool DotsOnly(const char* begin, const char* end) {
    for (; begin < end; ++begin)
        if (*begin != '.') return false;
    return true;
}

}  // namespace

bool ClassListed(const DeviceRequest& request, const char* setup_class) {
    if (request.class_count == 0) return true;
    return setup_class &&
           InList(request.classes[0], request.class_count, REQUEST_CLASS_SIZE, setup_class);
}

// A name is no id: a monitor may be called like the adapter. Without a
// listed class only a network adapter is named by it, and one whose class
// is unknown never.
bool NamedClassAllowed(const DeviceRequest& request, const char* setup_class) {
    if (request.class_count > 0) return true;  // the class was checked, or chosen by the caller
    return setup_class && MbSameNoCase(setup_class, "Net");
}

bool DeviceMatches(const DeviceRequest& request, const DeviceFacts& device) {
    if (device.setup_class && !ClassListed(request, device.setup_class)) return false;
    if (AnyIdListed(request, device.hardware_ids) || AnyIdListed(request, device.compatible_ids))
        return true;
    if (!TextListed(request, device.description) && !TextListed(request, device.friendly_name))
        return false;
    return NamedClassAllowed(request, device.setup_class);
}

void TerminateIdList(char* buffer, size_t size) {
    if (size < 2) {
        if (size) buffer[0] = 0;
        return;
    }
    buffer[size - 2] = 0;
    buffer[size - 1] = 0;
}

// Pieces move up over dropped empty ones, so the list never ends early.
void CommaListToIdList(char* buffer, size_t size) {
    TerminateIdList(buffer, size);
    if (size < 2) return;
    char* out = buffer;
    for (const char* in = buffer; *in;) {
        const char* next = MbNext(in);
        if (*in != ',') while (in < next) *out++ = *in++;
        else if (out > buffer && out[-1]) *out++ = 0, ++in;
        else ++in;
    }
    if (out > buffer && out[-1]) *out++ = 0;
    *out = 0;  // within the buffer: the output is never longer than the text
}

bool IsDriverKeyName(const char* name) {
    const char* slash = MbFindChar(name, '\\');
    if (!slash || MbFindChar(slash + 1, '\\')) return false;
    return !DotsOnly(name, slash) && !DotsOnly(slash + 1, slash + 1 + strlen(slash + 1));
}

bool IsNumberedInstance(const char* name, const char* base) {
    size_t length = strlen(base);
    if (length == 0 || strlen(name) <= length) return false;
    char head[REQUEST_SERVICE_SIZE];
    if (length >= sizeof head) return false;
    memcpy(head, name, length);
    head[length] = 0;
    if (!MbSameNoCase(head, base)) return false;
    for (const char* p = name + length; *p; ++p)
        if (*p < '0' || *p > '9') return false;
    return true;
}

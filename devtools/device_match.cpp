// Deciding whether a device is one the request names.
#include "devtools/device_match.h"

#include <string.h>

#include "devtools/tool_log.h"
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

// Whether a part of the id (between '\\' and '&') begins with `prefix`.
bool HasPart(const char* id, const char* prefix) {
    bool at_start = true;
    for (const char* p = id; *p; p = MbNext(p)) {
        if (at_start && MbAfterPrefixNoCase(p, prefix)) return true;
        at_start = *p == '\\' || *p == '&';
    }
    return false;
}

bool IsHexDigit(char c) {
    c = FoldAscii(c);
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// "PNP" and four hex digits at the start of a part: an EISA id of the
// vendor that stands for no vendor (ACPI\PNP0A03).
bool HasGenericPnpPart(const char* id) {
    bool at_start = true;
    for (const char* p = id; *p; p = MbNext(p)) {
        const char* digits = at_start ? MbAfterPrefixNoCase(p, "PNP") : nullptr;
        if (digits && IsHexDigit(digits[0]) && IsHexDigit(digits[1]) && IsHexDigit(digits[2]) &&
            IsHexDigit(digits[3]))
            return true;
        at_start = *p == '\\' || *p == '&';
    }
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
    if (!setup_class) return false;
    if (request.class_count == 0) return MbSameNoCase(setup_class, NET_CLASS_NAME);
    return InList(request.classes[0], request.class_count, REQUEST_CLASS_SIZE, setup_class);
}

// A device of an unlisted class is never named, by id or by name: a
// monitor may be called like the adapter, a display card may carry an id
// a description lists by mistake.
bool DeviceMatches(const DeviceRequest& request, const DeviceFacts& device) {
    if (device.setup_class && !ClassListed(request, device.setup_class)) return false;
    return AnyIdListed(request, device.hardware_ids) || TextListed(request, device.description) ||
           TextListed(request, device.friendly_name);
}

bool IsGenericId(const char* id) {
    const char* rest;
    if ((rest = MbAfterPrefixNoCase(id, "PCI\\")))
        return !HasPart(rest, "VEN_") || !HasPart(rest, "DEV_");
    if ((rest = MbAfterPrefixNoCase(id, "USB\\")) || (rest = MbAfterPrefixNoCase(id, "SD\\")) ||
        (rest = MbAfterPrefixNoCase(id, "SDIO\\")))
        return !HasPart(rest, "VID_") || !HasPart(rest, "PID_");
    return HasPart(id, "CC_") || HasPart(id, "Class_") || HasPart(id, "*PNP") || HasGenericPnpPart(id);
}

// Compacted in place: the later ids move up over a refused one.
void RefuseGenericIds(DeviceRequest* request) {
    int kept = 0;
    for (int i = 0; i < request->id_count; ++i) {
        if (IsGenericId(request->ids[i])) {
            ToolLog("refused hardware id %s: a generic id names no one vendor's device", request->ids[i]);
            continue;
        }
        if (kept != i) memcpy(request->ids[kept], request->ids[i], REQUEST_ID_SIZE);
        ++kept;
    }
    request->id_count = kept;
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

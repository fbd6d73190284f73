// Reading a shell link's target from its fixed layout: a 76-byte header,
// then the optional item-id list, then the link information whose local
// base path and common path suffix make the target's path. Every offset is
// checked against what was read; the file is never trusted.
#include "removal/shortcut_target.h"

#include "platform/mbtext.h"
#include "removal/path_macros.h"
#include "removal/guardrails/system_file_checks.h"

namespace {

const DWORD kHeaderSize = 0x4C;
const DWORD kHasItemIdList = 0x01;
const DWORD kHasLinkInfo = 0x02;
const DWORD kVolumeAndLocalPath = 0x01;
const DWORD kReadSize = 8192;  // the item-id list comes first; a link is small

DWORD Dword(const unsigned char* data, DWORD at) {
    return data[at] | (DWORD)data[at + 1] << 8 | (DWORD)data[at + 2] << 16 | (DWORD)data[at + 3] << 24;
}

// The text at `at`, ending within `end`; null when it does not.
const char* TextAt(const unsigned char* data, DWORD at, DWORD end) {
    if (at >= end || !memchr(data + at, 0, end - at)) return nullptr;
    return (const char*)data + at;
}

// Where the link information starts, or 0 when the link has none.
DWORD LinkInfoStart(const unsigned char* data, DWORD length) {
    if (length < kHeaderSize || Dword(data, 0) != kHeaderSize) return 0;
    DWORD flags = Dword(data, 0x14);
    DWORD at = kHeaderSize;
    if (flags & kHasItemIdList) {
        if (at + 2 > length) return 0;
        at += 2 + (DWORD)(data[at] | data[at + 1] << 8);
    }
    return (flags & kHasLinkInfo) && at + 0x1C <= length ? at : 0;
}

bool TargetOf(const unsigned char* data, DWORD length, char* target) {
    DWORD info = LinkInfoStart(data, length);
    if (!info) return false;
    DWORD size = Dword(data, info);
    DWORD end = size <= length - info ? info + size : length;
    if (!(Dword(data, info + 8) & kVolumeAndLocalPath)) return false;
    const char* base = TextAt(data, info + Dword(data, info + 0x10), end);
    const char* suffix = TextAt(data, info + Dword(data, info + 0x18), end);
    if (!base || !base[0]) return false;
    if (!suffix) suffix = "";
    if (strlen(base) + strlen(suffix) >= PATH_BUFFER_SIZE) return false;
    strcpy(target, base);
    strcat(target, suffix);
    return true;
}

}  // namespace

bool ReadShortcutTarget(const char* shortcut, char* target) {
    unsigned char* data = (unsigned char*)malloc(kReadSize);
    DWORD length = 0;
    bool found = data && ReadFileStart(shortcut, data, kReadSize, &length) && TargetOf(data, length, target);
    free(data);
    return found;
}

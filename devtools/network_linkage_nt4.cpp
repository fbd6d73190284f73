// Removing the removed cards' entries from the services' Linkage values
// and their pairs from NetBIOS's LanaMap; another card's entries stay.
#include "devtools/network_linkage_nt4.h"

#include <string.h>

#include "devtools/registry_tree.h"
#include "devtools/tool_log.h"
#include "platform/mbtext.h"

#define SERVICES_KEY "System\\CurrentControlSet\\Services"
#define LINKAGE_SIZE 16384  // a longer value is left as it is, logged
#define LANA_MAP_SIZE 1024
#define PLACE_SIZE (3 * KEY_NAME_SIZE)

namespace {

struct MultiText {
    char data[LINKAGE_SIZE];
    DWORD size;
};

struct LanaMap {
    BYTE pairs[LANA_MAP_SIZE];
    DWORD size;
    bool present;
};

bool IsCard(const char* name, const CardServices& cards) {
    for (int i = 0; i < cards.count; ++i)
        if (MbSameNoCase(name, cards.names[i])) return true;
    return false;
}

// "\Device\XLNW111", "\Device\NetBT_XLNW111".
bool DeviceNameNamesCard(const char* entry, const CardServices& cards) {
    const char* name = MbAfterPrefixNoCase(entry, "\\Device\\");
    if (!name) return false;
    const char* slash = MbFindLastChar(name, '\\');
    if (slash) name = slash + 1;
    if (IsCard(name, cards)) return true;
    for (const char* p = name; *p; p = MbNext(p))
        if (*p == '_' && IsCard(p + 1, cards)) return true;
    return false;
}

// "\"NetBT\" \"Tcpip\" \"XLNW111\"".
bool QuotedPartNamesCard(const char* entry, const CardServices& cards) {
    char part[REQUEST_SERVICE_SIZE];
    for (const char* open = MbFindChar(entry, '"'); open; open = MbFindChar(open + 1, '"')) {
        const char* close = MbFindChar(open + 1, '"');
        if (!close) return false;
        size_t length = (size_t)(close - open - 1);
        if (length < sizeof part) {
            memcpy(part, open + 1, length);
            part[length] = 0;
            if (IsCard(part, cards)) return true;
        }
        open = close;
    }
    return false;
}

// A value of another type, or one too long to read, is left as it is.
bool ReadMulti(HKEY key, const char* name, MultiText* text, const char* place) {
    DWORD type = 0;
    text->size = sizeof text->data - 2;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, (BYTE*)text->data, &text->size);
    if (status == ERROR_MORE_DATA) ToolLog("kept %s %s as it is: too long to read", place, name);
    if (status != ERROR_SUCCESS || type != REG_MULTI_SZ) return false;
    text->data[text->size] = 0;
    text->data[text->size + 1] = 0;
    return true;
}

int CountEntries(const MultiText& text) {
    int count = 0;
    for (const char* in = text.data; *in; in += strlen(in) + 1) ++count;
    return count;
}

// Drops the entries that name a card, in place, and with `lana` the pair
// of each; what follows the list's end is kept as it was. Returns how
// many went.
int DropCardEntries(MultiText* text, const CardServices& cards, LanaMap* lana, const char* place,
                    const char* name) {
    char* out = text->data;
    const char* in = text->data;
    int dropped = 0;
    for (int index = 0; *in; ++index) {
        size_t length = strlen(in) + 1;
        if (!LinkageEntryNamesCard(in, cards)) {
            if (lana) memmove(&lana->pairs[2 * (index - dropped)], &lana->pairs[2 * index], 2);
            memmove(out, in, length);
            out += length;
        } else {
            if (lana) ToolLog("removed binding %s from %s %s and its LanaMap pair (lana %u)", in, place, name,
                              (unsigned)lana->pairs[2 * index + 1]);
            else ToolLog("removed binding %s from %s %s", in, place, name);
            ++dropped;
        }
        in += length;
    }
    const char* end = text->data + text->size;
    size_t tail = in < end ? (size_t)(end - in) : 0;
    memmove(out, in, tail);
    text->size = (DWORD)(out + tail - text->data);
    if (lana) lana->size -= 2 * (DWORD)dropped;
    return dropped;
}

void CleanValue(HKEY key, const char* place, const char* name, const CardServices& cards, LanaMap* lana,
                ToolOutcome* outcome) {
    static MultiText text;
    if (!ReadMulti(key, name, &text, place) || DropCardEntries(&text, cards, lana, place, name) == 0) return;
    LONG status = RegSetValueExA(key, name, 0, REG_MULTI_SZ, (const BYTE*)text.data, text.size);
    if (status == ERROR_SUCCESS && lana)
        status = RegSetValueExA(key, "LanaMap", 0, REG_BINARY, lana->pairs, lana->size);
    if (status != ERROR_SUCCESS) {
        NoteFailure(outcome, (uint32_t)status);
        ToolLog("could not write %s %s: error %u", place, name, (unsigned)status);
    }
}

// Absent, or read whole as binary data; anything else cannot be paired.
bool ReadLanaMap(HKEY key, LanaMap* lana) {
    DWORD type = 0;
    lana->size = sizeof lana->pairs;
    LONG status = RegQueryValueExA(key, "LanaMap", nullptr, &type, lana->pairs, &lana->size);
    lana->present = status == ERROR_SUCCESS;
    return status == ERROR_FILE_NOT_FOUND || (status == ERROR_SUCCESS && type == REG_BINARY);
}

// Bind with its LanaMap; false when they do not pair, and NetBIOS's
// Linkage then stays whole: a guess could give a protocol another's lana.
bool CleanNetBiosBind(HKEY key, const char* place, const CardServices& cards, ToolOutcome* outcome) {
    static LanaMap lana;
    static MultiText bind;
    bool paired = ReadLanaMap(key, &lana);
    if (paired && lana.present)
        paired = ReadMulti(key, "Bind", &bind, place) && lana.size == 2 * (DWORD)CountEntries(bind);
    if (!paired) {
        ToolLog("kept %s as it is: its LanaMap does not pair with its Bind entries", place);
        return false;
    }
    CleanValue(key, place, "Bind", cards, lana.present ? &lana : nullptr, outcome);
    return true;
}

void CleanLinkageKey(HKEY services, const char* service, const char* sub, const CardServices& cards,
                     ToolOutcome* outcome) {
    char path[2 * KEY_NAME_SIZE];
    wsprintfA(path, "%s\\%s", service, sub);
    HKEY key;
    if (RegOpenKeyExA(services, path, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    char place[PLACE_SIZE];
    wsprintfA(place, "Services\\%s", path);
    bool go_on = true;
    if (MbSameNoCase(path, "NetBIOS\\Linkage")) go_on = CleanNetBiosBind(key, place, cards, outcome);
    else CleanValue(key, place, "Bind", cards, nullptr, outcome);
    if (go_on) {
        CleanValue(key, place, "Export", cards, nullptr, outcome);
        CleanValue(key, place, "Route", cards, nullptr, outcome);
    }
    RegCloseKey(key);
}

}  // namespace

bool LinkageEntryNamesCard(const char* entry, const CardServices& cards) {
    return DeviceNameNamesCard(entry, cards) || QuotedPartNamesCard(entry, cards);
}

// Only values change: the walk over the services' keys is not disturbed.
void RemoveCardLinkage(const CardServices& cards, ToolOutcome* outcome) {
    HKEY services;
    if (cards.count == 0 || RegOpenKeyExA(HKEY_LOCAL_MACHINE, SERVICES_KEY, 0, KEY_READ, &services) != ERROR_SUCCESS)
        return;
    char name[KEY_NAME_SIZE];
    for (DWORD i = 0; RegEnumKeyA(services, i, name, sizeof name) == ERROR_SUCCESS; ++i) {
        if (IsCard(name, cards)) continue;  // a card's own service goes whole
        CleanLinkageKey(services, name, "Linkage", cards, outcome);
        CleanLinkageKey(services, name, "Linkage\\Disabled", cards, outcome);
    }
    RegCloseKey(services);
}

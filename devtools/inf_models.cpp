// Reading a driver INF's Manufacturer and model sections for the
// request's hardware ids.
#include "devtools/inf_models.h"

#include <string.h>

#include "platform/mbtext.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// `text` without blanks around it and, when it is quoted whole, the quotes.
char* Trim(char* text) {
    while (IsBlank(*text)) ++text;
    size_t length = strlen(text);
    while (length && IsBlank(text[length - 1])) text[--length] = 0;
    if (length >= 2 && text[0] == '"' && text[length - 1] == '"') {
        text[length - 1] = 0;
        ++text;
    }
    return text;
}

// Cuts the line at a ';' outside quotes.
void DropComment(char* line) {
    bool quoted = false;
    for (char* p = line; *p; p = (char*)MbNext(p)) {
        if (*p == '"') quoted = !quoted;
        else if (*p == ';' && !quoted) {
            *p = 0;
            return;
        }
    }
}

bool Listed(char (*list)[INF_SECTION_SIZE], int count, const char* name) {
    for (int i = 0; i < count; ++i)
        if (MbSameNoCase(list[i], name)) return true;
    return false;
}

void AddName(char (*list)[INF_SECTION_SIZE], int* count, const char* base, const char* decoration) {
    char name[INF_SECTION_SIZE];
    size_t length = strlen(base), extra = decoration ? strlen(decoration) + 1 : 0;
    if (!*base || length + extra >= sizeof name || *count >= INF_MAX_SECTIONS) return;
    memcpy(name, base, length + 1);
    if (decoration) {
        name[length] = '.';
        memcpy(name + length + 1, decoration, extra);
    }
    if (!Listed(list, *count, name)) strcpy(list[(*count)++], name);
}

// The next comma-separated field of `*rest`, trimmed; null after the last.
char* NextField(char** rest) {
    if (!*rest) return nullptr;
    char* field = *rest;
    char* comma = (char*)MbFindChar(field, ',');
    if (comma) *comma = 0;
    *rest = comma ? comma + 1 : nullptr;
    return Trim(field);
}

// "name = Models[, decoration...]", or the models section alone.
void TakeManufacturer(InfScan* scan, char* value) {
    char* fields = value;
    char* base = NextField(&fields);
    AddName(scan->models, &scan->model_count, base, nullptr);
    for (char* decoration; (decoration = NextField(&fields));)
        if (*decoration) AddName(scan->models, &scan->model_count, base, decoration);
}

bool IdRequested(const DeviceRequest& request, const char* id) {
    for (int i = 0; i < request.id_count; ++i)
        if (MbSameNoCase(request.ids[i], id)) return true;
    return false;
}

// "description = install-section, hardware-id[, compatible-id...]". Only
// the hardware id names the model's device: a package that lists the
// adapter among its compatible ids is another device's driver.
void TakeModel(InfScan* scan, char* value) {
    char* fields = value;
    NextField(&fields);
    char* id = NextField(&fields);
    if (id && IdRequested(*scan->request, id)) AddName(scan->hits, &scan->hit_count, scan->section, nullptr);
}

void TakeSection(InfScan* scan, char* line) {
    char* end = (char*)MbFindChar(line, ']');
    if (!end) return;
    *end = 0;
    char* name = Trim(line + 1);
    if (strlen(name) < sizeof scan->section) strcpy(scan->section, name);
    else scan->section[0] = 0;  // no section of interest is that long
}

void TakeLine(InfScan* scan, char* line) {
    DropComment(line);
    line = Trim(line);
    if (*line == '[') return TakeSection(scan, line);
    if (!*line || !scan->section[0]) return;
    char* equals = (char*)MbFindChar(line, '=');
    bool manufacturer = MbSameNoCase(scan->section, "Manufacturer");
    if (manufacturer) TakeManufacturer(scan, equals ? equals + 1 : line);
    else if (equals) TakeModel(scan, equals + 1);
}

void EndLine(InfScan* scan) {
    if (!scan->unusable && scan->used) {
        scan->line[scan->used] = 0;
        TakeLine(scan, scan->line);
    }
    scan->used = 0;
    scan->unusable = false;
}

void AddChar(InfScan* scan, char c) {
    if (c == '\n' || c == '\r') EndLine(scan);
    else if (c == 0 || scan->used + 1 >= sizeof scan->line) scan->unusable = true;
    else scan->line[scan->used++] = c;
}

// A UTF-16 unit outside ASCII cannot be part of an id or a section name
// the scan looks for: it stands as '?'.
void AddUnit(InfScan* scan, unsigned char low, unsigned char high) {
    AddChar(scan, high == 0 && low < 0x80 ? (char)low : '?');
}

void AddByte(InfScan* scan, unsigned char byte) {
    if (scan->encoding == 1) return AddChar(scan, (char)byte);
    if (scan->odd < 0) {
        scan->odd = byte;
        return;
    }
    AddUnit(scan, (unsigned char)scan->odd, byte);
    scan->odd = -1;
}

// Decided by the first bytes: a UTF-16 or UTF-8 byte-order mark is dropped.
void Decide(InfScan* scan) {
    const unsigned char* b = scan->bom;
    size_t skip = 0;
    scan->encoding = 1;
    if (scan->bom_used >= 2 && b[0] == 0xFF && b[1] == 0xFE) scan->encoding = 2, skip = 2;
    else if (scan->bom_used == 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) skip = 3;
    for (size_t i = skip; i < scan->bom_used; ++i) AddByte(scan, b[i]);
}

}  // namespace

void BeginInfScan(InfScan* scan, const DeviceRequest* request) {
    memset(scan, 0, sizeof *scan);
    scan->request = request;
    scan->odd = -1;
}

void FeedInfScan(InfScan* scan, const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (scan->encoding) {
            AddByte(scan, (unsigned char)bytes[i]);
            continue;
        }
        scan->bom[scan->bom_used++] = (unsigned char)bytes[i];
        if (scan->bom_used == sizeof scan->bom) Decide(scan);
    }
}

bool EndInfScan(InfScan* scan) {
    if (!scan->encoding) Decide(scan);
    EndLine(scan);
    for (int i = 0; i < scan->hit_count; ++i)
        if (Listed(scan->models, scan->model_count, scan->hits[i])) return true;
    return false;
}

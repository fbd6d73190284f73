// Whether a driver INF is a package of the adapter: its Manufacturer
// section names model sections (each also with its decorations, as
// "Models.NTx86"), and a line of one of them has a requested hardware id
// as its model's hardware id (the first id; the others are compatible
// ids). The file is read a piece at a time, in the ANSI code page, UTF-8
// or UTF-16 (little-endian, with its byte-order mark).
#pragma once

#include <stddef.h>

#include "devtools/tool_request.h"

#define INF_LINE_SIZE 1024    // a longer line is ignored whole
#define INF_SECTION_SIZE 256
#define INF_MAX_SECTIONS 32   // model sections, and sections naming an id

struct InfScan {
    const DeviceRequest* request;
    char line[INF_LINE_SIZE];
    size_t used;
    bool unusable;
    int encoding;          // 0 not yet known, 1 bytes, 2 UTF-16LE
    unsigned char bom[3];  // the first bytes, until the encoding is known
    size_t bom_used;
    int odd;               // a UTF-16 unit's first byte, or -1
    char section[INF_SECTION_SIZE];
    int model_count;
    char models[INF_MAX_SECTIONS][INF_SECTION_SIZE];
    int hit_count;
    char hits[INF_MAX_SECTIONS][INF_SECTION_SIZE];
};

void BeginInfScan(InfScan* scan, const DeviceRequest* request);
void FeedInfScan(InfScan* scan, const char* bytes, size_t count);

// Takes the last line; true when a model section lists a requested id.
bool EndInfScan(InfScan* scan);

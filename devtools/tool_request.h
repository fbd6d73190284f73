// The request uninst.exe writes for the device-manager tools, as a tool
// reads it: the setup classes, the driver service, the device descriptions,
// the hardware ids and the run log to append to, one "key=value" line each.
#pragma once

#include <stddef.h>

#define REQUEST_MAX_CLASSES 16
#define REQUEST_CLASS_SIZE 33      // a setup class name and its terminator
#define REQUEST_SERVICE_SIZE 257
#define REQUEST_MAX_DESCS 32
#define REQUEST_DESC_SIZE 257
#define REQUEST_MAX_IDS 256
#define REQUEST_ID_SIZE 201
#define REQUEST_LOG_SIZE 260       // a full path and its terminator
#define REQUEST_LINE_SIZE 512      // a longer line is ignored whole

struct DeviceRequest {
    int class_count;
    char classes[REQUEST_MAX_CLASSES][REQUEST_CLASS_SIZE];
    char service[REQUEST_SERVICE_SIZE];  // empty: no service to remove
    int desc_count;
    char descs[REQUEST_MAX_DESCS][REQUEST_DESC_SIZE];
    int id_count;
    char ids[REQUEST_MAX_IDS][REQUEST_ID_SIZE];
    char log[REQUEST_LOG_SIZE];  // empty: the run keeps no log
};

// Reads the request a piece at a time, so that a file of any size is read
// through one fixed line buffer.
struct RequestParser {
    DeviceRequest* request;
    char line[REQUEST_LINE_SIZE];
    size_t used;
    bool unusable;  // the line is too long or holds a zero byte
};

// Clears `request` and starts reading into it.
void BeginRequest(RequestParser* parser, DeviceRequest* request);

// Takes the next bytes of the file. Lines end at LF, CR or CR LF; an
// unknown key, an empty value, a value too long for its field and a field
// already full are ignored, never cut, so that a partial text never
// matches a device it does not name.
void FeedRequest(RequestParser* parser, const char* bytes, size_t count);

// Takes the last line, which may lack its line end.
void EndRequest(RequestParser* parser);

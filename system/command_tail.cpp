// Forming WinMain's command-line tail from the whole command line.
#include "system/command_tail.h"

#include "platform/mbtext.h"

char* CommandLineTail(char* line) {
    unsigned char* p = (unsigned char*)line;
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') p = (unsigned char*)MbNext((const char*)p);
        if (*p == '"') ++p;
    } else {
        while (*p > ' ') p = (unsigned char*)MbNext((const char*)p);
    }
    while (*p && *p <= ' ') ++p;
    return (char*)p;
}

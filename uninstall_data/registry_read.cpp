// Value reads and list splitting shared by the registry loader's steps.
#include "uninstall_data/registry_read.h"

#include "messages/error_report.h"
#include "platform/mbtext.h"

bool HasTerminator(const char* data, DWORD size) { return memchr(data, 0, size) != nullptr; }

void ReadTextValue(HKEY key, const char* name, char* field, DWORD capacity) {
    DWORD size = capacity;
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, (LPBYTE)field, &size);
    if (status != ERROR_SUCCESS || !HasTerminator(field, size)) field[0] = 0;
}

bool ValuePresent(HKEY key, const char* name) {
    return RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

LoadStatus LoadFailure(int32_t code, const char* diagnostic) {
    ReportTavkError(code, diagnostic);
    return 1;
}

LoadStatus AppendPieces(char* data, const TextList& list) {
    char* state = nullptr;
    for (char* piece = MbToken(data, ';', &state); piece; piece = MbToken(nullptr, ';', &state)) {
        if (*list.count >= list.capacity) return LoadFailure(list.full_code, list.full_text);
        if (strlen(piece) > list.width) return LoadFailure(list.long_code, list.long_text);
        memcpy(list.entries + *list.count * (list.width + 1), piece, strlen(piece) + 1);
        ++*list.count;
    }
    return 0;
}

LoadStatus CloseListKey(HKEY key, LoadStatus status, int32_t code, const char* diagnostic) {
    if (RegCloseKey(key) != ERROR_SUCCESS && status == 0) return LoadFailure(code, diagnostic);
    return status;
}

LoadStatus ReadList(HKEY description, const char* subkey, ListReader read, UninstallData& data,
                    int32_t close_code, const char* close_text) {
    HKEY key;
    if (RegOpenKeyA(description, subkey, &key) != ERROR_SUCCESS) return 0;
    return CloseListKey(key, read(key, data), close_code, close_text);
}

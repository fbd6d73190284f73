// A folder's identity: its volume and index through a handle where Windows
// opens folders, its full and 8.3 forms where it does not.
#include "removal/guardrails/folder_identity.h"

#include "platform/mbtext.h"

namespace {

// Only the NT family opens a folder (with backup semantics); Windows 9x
// refuses, and the caller falls back on the folder's spellings.
bool ReadFolderId(const char* path, FolderIdentity& identity) {
    HANDLE folder = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information;
    bool read = GetFileInformationByHandle(folder, &information) != FALSE;
    CloseHandle(folder);
    if (!read) return false;
    identity.volume = information.dwVolumeSerialNumber;
    identity.index_high = information.nFileIndexHigh;
    identity.index_low = information.nFileIndexLow;
    identity.created = information.ftCreationTime;
    return true;
}

// "C:" is opened as "C:\": the bare letter names the drive's current folder.
void OpenableForm(const char* full_form, char* out) {
    MbCopy(out, MAX_PATH, full_form);
    if (full_form[0] && full_form[1] == ':' && !full_form[2]) MbCopy(out + 2, MAX_PATH - 2, "\\");
}

}  // namespace

void IdentifyFolder(const char* full_form, FolderIdentity& identity) {
    identity.has_id = false;
    identity.short_form[0] = 0;
    if (!MbCopy(identity.full, sizeof identity.full, full_form)) identity.full[0] = 0;
    if (!identity.full[0]) return;
    char path[MAX_PATH];
    OpenableForm(identity.full, path);
    identity.has_id = ReadFolderId(path, identity);
    DWORD length = GetShortPathNameA(path, identity.short_form, sizeof identity.short_form);
    if (length == 0 || length >= sizeof identity.short_form) identity.short_form[0] = 0;
}

bool IsSameFolder(const FolderIdentity& a, const FolderIdentity& b) {
    if (a.has_id && b.has_id) {
        if (a.index_high != b.index_high || a.index_low != b.index_low) return false;
        return a.volume == b.volume || (a.created.dwLowDateTime == b.created.dwLowDateTime &&
                                        a.created.dwHighDateTime == b.created.dwHighDateTime);
    }
    const char* const a_forms[] = {a.full, a.short_form};
    const char* const b_forms[] = {b.full, b.short_form};
    for (const char* a_form : a_forms)
        for (const char* b_form : b_forms)
            if (a_form[0] && MbSameNoCase(a_form, b_form)) return true;
    return false;
}

// CopyFileA on the fake file system: the contents go to the new name, as
// Windows copies them (attributes and times are not modelled here).
#include "fake_world.h"

#include "fake_file_system.h"

BOOL CopyFileA(LPCSTR existing, LPCSTR target, BOOL fail_if_exists) {
    fake::LogCall("CopyFileA", std::string(existing ? existing : "") + " -> " + (target ? target : ""));
    DWORD error = fake::InjectedFailure("CopyFileA", target ? target : "");
    std::string data;
    if (!error && !fake_fs::ReadFile(existing ? existing : "", &data)) error = ERROR_FILE_NOT_FOUND;
    if (!error && fail_if_exists && fake_fs::Exists(target ? target : "")) error = ERROR_FILE_EXISTS;
    if (!error) error = fake_fs::WriteFile(target ? target : "", data);
    if (!error) return TRUE;
    SetLastError(error);
    return FALSE;
}

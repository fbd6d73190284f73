// Recognising this program and its device tools among the installed files:
// by their folder (in either spelling) and their names.
#include "removal/own_files.h"

#include "platform/mbtext.h"
#include "removal/path_parts.h"
#include "system/run_state.h"

namespace {

OwnFile own_files[kMaxOwnFiles];
int own_file_count;

// The tools uninst.exe starts from its own folder (and the 64-bit one the
// 2000 tool hands over to).
const char* const kToolNames[] = {"XLNWLD2K.exe", "XLNWLD9X.exe", "XLNWLDNT.exe", "XLNWLD2K64.exe"};

bool ShortForm(const char* path, char* out) {
    DWORD length = GetShortPathNameA(path, out, PATH_BUFFER_SIZE);
    return length && length < PATH_BUFFER_SIZE;
}

// Two spellings of one path: as written, or both in their 8.3 form.
bool SamePath(const char* a, const char* b) {
    if (MbSameNoCase(a, b)) return true;
    char short_a[PATH_BUFFER_SIZE], short_b[PATH_BUFFER_SIZE];
    return ShortForm(a, short_a) && ShortForm(b, short_b) && MbSameNoCase(short_a, short_b);
}

// The last answer, by both folders as given, and this program's path,
// while a scope lives.
struct FolderMemory {
    int scopes;
    bool known;
    bool same;
    bool have_program;
    char folder[PATH_BUFFER_SIZE];
    char program_folder[PATH_BUFFER_SIZE];
    char program[PATH_BUFFER_SIZE];
};
FolderMemory memory;

bool ProgramPath(char* program) {
    if (memory.scopes && memory.have_program) return MbCopy(program, PATH_BUFFER_SIZE, memory.program);
    DWORD length = GetModuleFileNameA(nullptr, program, PATH_BUFFER_SIZE);
    if (length == 0 || length >= PATH_BUFFER_SIZE) return false;
    if (memory.scopes) memory.have_program = MbCopy(memory.program, sizeof memory.program, program);
    return true;
}

bool IsProgramFolder(const char* folder, const char* program_folder) {
    if (memory.scopes && memory.known && strcmp(folder, memory.folder) == 0 &&
        strcmp(program_folder, memory.program_folder) == 0)
        return memory.same;
    bool same = SamePath(folder, program_folder);
    if (!memory.scopes) return same;
    memory.known = MbCopy(memory.folder, sizeof memory.folder, folder) &&
                   MbCopy(memory.program_folder, sizeof memory.program_folder, program_folder);
    memory.same = same;
    return same;
}

bool IsToolName(const char* name) {
    for (const char* tool : kToolNames)
        if (MbSameNoCase(name, tool)) return true;
    return false;
}

// This program itself, or a tool in this program's folder.
bool IsProgramOrTool(const char* path, const WIN32_FIND_DATAA& found) {
    char program[PATH_BUFFER_SIZE], program_folder[PATH_BUFFER_SIZE], folder[PATH_BUFFER_SIZE];
    if (!ProgramPath(program)) return false;
    if (!FolderPart(program, program_folder) || !FolderPart(path, folder)) return false;
    if (!IsProgramFolder(folder, program_folder)) return false;
    return IsToolName(found.cFileName) || SamePath(path, program);
}

bool AlreadyNoted(const char* path) {
    for (int i = 0; i < own_file_count; ++i)
        if (MbSameNoCase(own_files[i].path, path)) return true;
    return false;
}

}  // namespace

bool LeaveToCleanupCopy(const char* path, const WIN32_FIND_DATAA& found) {
    if (InstallMode || !IsProgramOrTool(path, found)) return false;
    if (AlreadyNoted(path) || own_file_count == kMaxOwnFiles) return true;
    OwnFile& file = own_files[own_file_count++];
    MbCopy(file.path, sizeof file.path, path);
    file.size = found.nFileSizeLow;
    file.written = found.ftLastWriteTime;
    return true;
}

RememberProgramFolder::RememberProgramFolder() {
    if (memory.scopes++) return;
    memory.known = false;
    memory.have_program = false;
}

RememberProgramFolder::~RememberProgramFolder() {
    if (--memory.scopes) return;
    memory.known = false;
    memory.have_program = false;
}

int OwnFileCount() { return own_file_count; }
const OwnFile& OwnFileAt(int index) { return own_files[index]; }
void ForgetOwnFiles() { own_file_count = 0; }

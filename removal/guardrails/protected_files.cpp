// Windows' own files, refused however a description names them.
//
// | Refused                                          | Why                                 |
// |--------------------------------------------------|-------------------------------------|
// | a file directly in a drive's root (ntldr,        | Windows starts from it              |
// | boot.ini, IO.SYS, MSDOS.SYS, ...)                |                                     |
// | a file Windows File Protection keeps (2000 on)   | Windows says it is its own          |
// | one of Windows' data files (windows_data_files.h)| Windows writes and reads it         |
// | a file whose version resource names Microsoft    | Windows' own, or a part of it that  |
// | as its maker (Wine's files say so too), unless   | others share; a driver built from   |
// | the product's INF copies it                      | the kit keeps the kit's mark        |
// | a known DLL (KnownDLLs) in the system folder     | every program loads it at its start |
// | a stand-in Wine puts where Windows has its own   | under Wine, it is Windows' own file |
// | file ("Wine builtin DLL" in its header)          |                                     |
//
// The product's own files, in the system folder too, carry none of these.
// While a description is removed, the ownership judge (file_evidence.h)
// then asks whose the file is.
#include "removal/guardrails/protected_files.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/native_file_view.h"
#include "removal/guardrails/windows_data_files.h"
#include "system/windows_directory.h"

namespace {

const char kRootFile[] = "a file in a drive's root: Windows starts from it";
const char kProtectedFile[] = "Windows File Protection keeps it";
const char kMicrosoftFile[] = "its version resource names Microsoft as its maker";
const char kKnownDll[] = "one of Windows' known DLLs";
const char kWineStandIn[] = "Wine's stand-in for a Windows file";
const char kWindowsDataFile[] = "Windows' own data file";

// Windows NT's spelling of the key, then Windows 9x's.
const char* const kKnownDllKeys[] = {
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs",
    "System\\CurrentControlSet\\Control\\SessionManager\\KnownDLLs",
};
const DWORD kMaxKnownDlls = 1024;

WindowsFileRules* open_rules;
OwnershipJudge ownership_judge;

bool ShortSpelling(const char* path, char* out) {
    DWORD length = GetShortPathNameA(path, out, PATH_BUFFER_SIZE);
    return length && length < PATH_BUFFER_SIZE;
}

// A folder's full form, then the full form of its 8.3 spelling when it has one.
int FolderForms(const char* path, char forms[2][PATH_BUFFER_SIZE]) {
    if (!FullPathForm(path, forms[0], PATH_BUFFER_SIZE)) return 0;
    char short_path[PATH_BUFFER_SIZE];
    bool spelled = ShortSpelling(path, short_path) && FullPathForm(short_path, forms[1], PATH_BUFFER_SIZE);
    return spelled ? 2 : 1;
}

void FindSystemFolders(WindowsFileRules& rules) {
    char path[PATH_BUFFER_SIZE];
    UINT length = GetSystemDirectoryA(path, sizeof path);
    rules.system_form_count = length && length < sizeof path ? FolderForms(path, rules.system_forms) : 0;
    length = GetSystemWindowsDir(path, sizeof path);
    rules.windows_form_count = length && length < sizeof path ? FolderForms(path, rules.windows_forms) : 0;
}

// The folder compared with each spelling of the Windows and system folders.
bool IsDataFile(const WindowsFileRules& rules, const char* folder, const char* name) {
    for (int w = 0; w < rules.windows_form_count; ++w)
        for (int s = 0; s < rules.system_form_count; ++s)
            if (IsWindowsDataFile(rules.windows_forms[w], rules.system_forms[s], folder, name)) return true;
    return false;
}

bool IsSystemForm(const WindowsFileRules& rules, const char* form) {
    for (int i = 0; i < rules.system_form_count; ++i)
        if (MbSameNoCase(form, rules.system_forms[i])) return true;
    return false;
}

bool FolderIsSystem(const WindowsFileRules& rules, const char* folder) {
    char forms[2][PATH_BUFFER_SIZE];
    int count = FolderForms(folder, forms);
    for (int i = 0; i < count; ++i)
        if (IsSystemForm(rules, forms[i])) return true;
    return false;
}

// The matches of one search share their folder: it is looked at once.
bool InSystemFolder(WindowsFileRules& rules, const char* folder) {
    if (IsSystemForm(rules, folder)) return true;
    if (MbSameNoCase(folder, rules.last_folder)) return rules.last_folder_is_system;
    rules.last_folder_is_system = FolderIsSystem(rules, folder);
    MbCopy(rules.last_folder, sizeof rules.last_folder, folder);
    return rules.last_folder_is_system;
}

bool IsWildcardName(const char* name) {
    return MbFindChar(name, '*') || MbFindChar(name, '?');
}

// The file's long and 8.3 names as the file system gives them, so that
// either spelling of the path finds the known DLL.
void NamesOf(const char* path, const char* given, char names[2][MAX_PATH]) {
    MbCopy(names[0], MAX_PATH, given);
    names[1][0] = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = IsWildcardName(given) ? INVALID_HANDLE_VALUE : FindFirstFileA(path, &found);
    if (find == INVALID_HANDLE_VALUE) return;
    FindClose(find);
    MbCopy(names[0], MAX_PATH, found.cFileName);
    MbCopy(names[1], MAX_PATH, found.cAlternateFileName);
}

bool ListsName(HKEY key, const char names[2][MAX_PATH]) {
    for (DWORD index = 0; index < kMaxKnownDlls; ++index) {
        char value[256], data[MAX_PATH];
        DWORD value_size = sizeof value, data_size = sizeof data - 1, type = 0;
        LONG status = RegEnumValueA(key, index, value, &value_size, nullptr, &type, (LPBYTE)data, &data_size);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return false;
        data[data_size < sizeof data ? data_size : sizeof data - 1] = 0;
        if (type != REG_SZ) continue;
        if (MbSameNoCase(data, names[0]) || (names[1][0] && MbSameNoCase(data, names[1]))) return true;
    }
    return false;
}

bool IsKnownDll(const char* path, const char* name) {
    char names[2][MAX_PATH];
    NamesOf(path, name, names);
    for (const char* key_path : kKnownDllKeys) {
        HKEY key;
        if (RegOpenKeyA(HKEY_LOCAL_MACHINE, key_path, &key) != ERROR_SUCCESS) continue;
        bool listed = ListsName(key, names);
        RegCloseKey(key);
        if (listed) return true;
    }
    return false;
}

// The rules that read the file, in the view the deletion will have.
const char* FileReason(WindowsFileRules& rules, const char* path, const char* form, char* folder,
                       const char* name) {
    if (IsKeptByFileProtection(rules.checks, form)) return kProtectedFile;
    if (InSystemFolder(rules, folder) && IsKnownDll(path, name)) return kKnownDll;
    if (IsDataFile(rules, folder, name)) return kWindowsDataFile;
    // A file that is no program image has no version resource to read.
    ImageKind kind = rules.too_small_for_an_image ? NotAnImage : ReadImageKind(path);
    char company[128] = "";
    FileFacts facts{form, folder, false, company};
    if (kind != NotAnImage) ReadFileMaker(rules.checks, path, &facts.microsoft, company, sizeof company);
    if (kind == WineStandIn) return facts.microsoft ? kMicrosoftFile : kWineStandIn;
    if (ownership_judge) return ownership_judge(facts);
    return facts.microsoft ? kMicrosoftFile : nullptr;
}

const char* Judge(WindowsFileRules& rules, const char* path) {
    char form[PATH_BUFFER_SIZE];
    if (!path || !FullPathForm(path, form, sizeof form)) return nullptr;
    char* slash = (char*)MbFindLastChar(form, '\\');
    if (!slash || IsRootForm(form)) return nullptr;
    char folder[PATH_BUFFER_SIZE];
    memcpy(folder, form, (size_t)(slash - form));
    folder[slash - form] = 0;
    if (IsRootForm(folder)) return kRootFile;
    NativeFileView view = EnterNativeViewFor(path);
    const char* reason = FileReason(rules, path, form, folder, slash + 1);
    LeaveNativeView(view);
    return reason;
}

}  // namespace

// The libraries are loaded before any native view is entered: with the
// redirection off, a 32-bit program would be given the 64-bit ones.
WindowsFileRules::WindowsFileRules() : owner(open_rules == nullptr) {
    last_folder[0] = 0;
    last_path[0] = 0;
    last_reason = nullptr;
    too_small_for_an_image = false;
    last_folder_is_system = false;
    system_form_count = 0;
    windows_form_count = 0;
    memset(&checks, 0, sizeof checks);
    if (!owner) return;
    LoadSystemFileChecks(&checks);
    FindSystemFolders(*this);
    open_rules = this;
}

WindowsFileRules::~WindowsFileRules() {
    if (!owner) return;
    FreeSystemFileChecks(&checks);
    open_rules = nullptr;
}

void SetOwnershipJudge(OwnershipJudge judge) { ownership_judge = judge; }

// The changes that follow a match's judgement ask for the same path.
const char* WindowsFileRefusal(const char* path) {
    if (open_rules && path && strcmp(path, open_rules->last_path) == 0) return open_rules->last_reason;
    if (open_rules) return Judge(*open_rules, path);
    WindowsFileRules rules;
    return Judge(rules, path);
}

// Smaller than a DOS header, a file cannot be a program image.
const char* WindowsFileRefusalOfMatch(const char* path, const WIN32_FIND_DATAA& found) {
    if (!open_rules) return WindowsFileRefusal(path);
    open_rules->too_small_for_an_image = found.nFileSizeHigh == 0 && found.nFileSizeLow < 0x40;
    const char* reason = Judge(*open_rules, path);
    open_rules->too_small_for_an_image = false;
    if (!MbCopy(open_rules->last_path, sizeof open_rules->last_path, path)) open_rules->last_path[0] = 0;
    open_rules->last_reason = reason;
    return reason;
}

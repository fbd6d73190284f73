// Where Windows keeps what it needs, each place as the system names it: the
// directories it reports, the registry's Program Files and Common Files,
// Windows' own folders below them, the shell's special folders, the
// profiles of the users and the folders all users share. A profile holds a
// user's data as the Windows folder holds the system's: below either, only
// named files or patterns specific to the product are taken.
#include "removal/guardrails/protected_places.h"

#include "platform/mbtext.h"
#include "removal/full_paths.h"
#include "removal/path_parts.h"
#include "removal/path_macros.h"
#include "removal/special_folders.h"
#include "system/windows_directory.h"
#include "uninstall_data/registry_read.h"

namespace {

const char kCurrentVersion[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// Folders Windows installs below Program Files and Common Files.
const char* const kProgramFilesWindowsFolders[] = {
    "Internet Explorer", "Windows NT", "Windows Media Player", "Windows Mail", "Windows Defender",
    "Windows Photo Viewer", "Windows Sidebar", "Windows Journal", "Windows Portable Devices",
    "Movie Maker", "NetMeeting", "Outlook Express", "WindowsApps", "Online Services",
};
const char* const kCommonFilesWindowsFolders[] = {
    "System", "Microsoft Shared", "Services", "SpeechEngines",
};

// The shell's folders: the users' own, the shared ones and the system's.
// Every CSIDL here is below 0x100: a byte each.
const unsigned char kSpecialFolders[] = {
    0x0000 /* desktop */,         0x0002 /* programs */,       0x0005 /* documents */,
    0x0006 /* favorites */,       0x0007 /* startup */,        0x0008 /* recent */,
    0x0009 /* send to */,         0x000b /* start menu */,     0x000d /* music */,
    0x000e /* videos */,          0x0010 /* desktop folder */, 0x0013 /* network shortcuts */,
    0x0014 /* fonts */,           0x0015 /* templates */,      0x0016 /* all start menu */,
    0x0017 /* all programs */,    0x0018 /* all startup */,    0x0019 /* all desktop */,
    0x001a /* application data */, 0x001b /* printer shortcuts */, 0x001c /* local app data */,
    0x001d /* alt startup */,     0x001e /* all alt startup */, 0x001f /* all favorites */,
    0x0020 /* internet cache */,  0x0021 /* cookies */,        0x0022 /* history */,
    0x0023 /* all app data */,    0x0024 /* windows */,        0x0025 /* system */,
    0x0026 /* program files */,   0x0027 /* pictures */,       0x0028 /* profile */,
    0x0029 /* system x86 */,      0x002a /* program files x86 */, 0x002b /* common files */,
    0x002c /* common files x86 */, 0x002d /* all templates */, 0x002e /* all documents */,
    0x002f /* all admin tools */, 0x0030 /* admin tools */,    0x0035 /* all music */,
    0x0036 /* all pictures */,    0x0037 /* all videos */,     0x0038 /* resources */,
    0x003b /* cd burning */,
};

void AddPlace(ProtectedPlaces& places, const char* path, PlaceKind kind) {
    char form[PATH_BUFFER_SIZE];
    if (places.count == kMaxProtectedPlaces || !FullPathForm(path, form, sizeof form)) return;
    ProtectedPlace& place = places.place[places.count];
    IdentifyFolder(form, place.identity);
    for (int i = 0; i < places.count; ++i)
        if (IsSameFolder(places.place[i].identity, place.identity)) {
            if (kind > places.place[i].kind) places.place[i].kind = kind;
            return;
        }
    place.kind = kind;
    ++places.count;
}

bool IsFolder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Windows' folders below `folder` that are there: only those can be reached.
template <size_t N>
void AddWindowsFoldersBelow(ProtectedPlaces& places, const char* folder, const char* const (&names)[N]) {
    char path[PATH_BUFFER_SIZE];
    for (const char* name : names)
        if (JoinedPath(path, folder, name) && IsFolder(path)) AddPlace(places, path, PlaceWindows);
}

// Each Program Files and Common Files folder the registry names (the 32-bit
// and the native ones on 64-bit Windows), and Windows' folders in them.
void AddProgramFiles(ProtectedPlaces& places) {
    HKEY key;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kCurrentVersion, &key) != ERROR_SUCCESS) return;
    static const char* const kPrograms[] = {"ProgramFilesDir", "ProgramW6432Dir", "ProgramFilesDir (x86)"};
    static const char* const kCommon[] = {"CommonFilesDir", "CommonW6432Dir", "CommonFilesDir (x86)"};
    char path[PATH_BUFFER_SIZE];
    for (int i = 0; i < 3; ++i) {
        ReadTextValue(key, kPrograms[i], path, sizeof path);
        AddPlace(places, path, PlaceItself);
        if (path[0]) AddWindowsFoldersBelow(places, path, kProgramFilesWindowsFolders);
        ReadTextValue(key, kCommon[i], path, sizeof path);
        AddPlace(places, path, PlaceItself);
        if (path[0]) AddWindowsFoldersBelow(places, path, kCommonFilesWindowsFolders);
    }
    RegCloseKey(key);
}

void AddDirectory(ProtectedPlaces& places, UINT length, const char* path) {
    if (length && length < PATH_BUFFER_SIZE) AddPlace(places, path, PlaceWindows);
}

// The shared and the user's own Windows folder (they differ on a terminal
// server), the system folder and its drivers, and the 32-bit system folder
// of 64-bit Windows.
void AddWindowsFolders(ProtectedPlaces& places) {
    char path[PATH_BUFFER_SIZE];
    AddDirectory(places, GetSystemWindowsDir(path, sizeof path), path);
    char below[PATH_BUFFER_SIZE];
    UINT length = GetWindowsDirectoryA(path, sizeof path);
    AddDirectory(places, length, path);
    if (length && length < sizeof path && JoinedPath(below, path, "SysWOW64"))
        AddPlace(places, below, PlaceWindows);
    length = GetSystemDirectoryA(path, sizeof path);
    AddDirectory(places, length, path);
    if (length && length < sizeof path && JoinedPath(below, path, "drivers"))
        AddPlace(places, below, PlaceWindows);
}

// A profile's folder as the registry holds it, "%SystemDrive%" and the
// like expanded.
void AddExpanded(ProtectedPlaces& places, const char* text, PlaceKind kind) {
    char path[PATH_BUFFER_SIZE];
    DWORD length = ExpandEnvironmentStringsA(text, path, sizeof path);
    if (text[0] && length && length <= sizeof path) AddPlace(places, path, kind);
}

void AddProfileOf(ProtectedPlaces& places, HKEY list, const char* name) {
    HKEY profile;
    if (RegOpenKeyA(list, name, &profile) != ERROR_SUCCESS) return;
    char path[PATH_BUFFER_SIZE];
    ReadTextValue(profile, "ProfileImagePath", path, sizeof path);
    AddExpanded(places, path, PlaceProfile);
    RegCloseKey(profile);
}

// XP names the shared and the default profile inside the profiles' folder.
void AddNamedProfiles(ProtectedPlaces& places, HKEY list, const char* profiles) {
    static const char* const kNames[] = {"AllUsersProfile", "DefaultUserProfile"};
    char name[MAX_PATH], path[PATH_BUFFER_SIZE];
    for (int i = 0; i < 2; ++i) {
        ReadTextValue(list, kNames[i], name, sizeof name);
        if (name[0] && profiles[0] && JoinedPath(path, profiles, name))
            AddExpanded(places, path, i == 0 ? PlaceAllUsers : PlaceProfile);
    }
}

// The folder of the profiles, the shared ones (NT) and each user's: NT
// keeps them by SID, Windows 9x with user profiles by name.
void AddProfilesIn(ProtectedPlaces& places, const char* list_path) {
    HKEY list;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, list_path, &list) != ERROR_SUCCESS) return;
    static const char* const kFolders[] = {"Public", "ProgramData", "Default", "ProfilesDirectory"};
    char path[PATH_BUFFER_SIZE];
    for (int i = 0; i < 4; ++i) {
        ReadTextValue(list, kFolders[i], path, sizeof path);
        AddExpanded(places, path, i < 2 ? PlaceAllUsers : PlaceProfile);
    }
    AddNamedProfiles(places, list, path);
    char name[MAX_PATH];
    for (DWORD i = 0; i < 64 && RegEnumKeyA(list, i, name, sizeof name) == ERROR_SUCCESS; ++i)
        AddProfileOf(places, list, name);
    RegCloseKey(list);
}

void AddProfiles(ProtectedPlaces& places) {
    AddProfilesIn(places, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList");
    AddProfilesIn(places, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\ProfileList");
}

// The shell's folders that hold a user's or everyone's data are guarded
// below too, also where the registry names no profile (Windows 9x).
PlaceKind SpecialFolderKind(int csidl) {
    if (csidl == 0x0023 /* all app data */) return PlaceAllUsers;
    bool users = csidl == 0x0028 /* profile */ || csidl == 0x001a /* application data */ ||
                 csidl == 0x001c /* local app data */;
    return users ? PlaceProfile : PlaceItself;
}

void AddSpecialFolders(ProtectedPlaces& places) {
    char folder[MAX_PATH];
    for (int csidl : kSpecialFolders)
        if (GetSpecialFolder(csidl, folder)) AddPlace(places, folder, SpecialFolderKind(csidl));
}

}  // namespace

void GatherProtectedPlaces(ProtectedPlaces& places) {
    places.count = 0;
    AddWindowsFolders(places);
    AddProgramFiles(places);
    AddSpecialFolders(places);
    AddProfiles(places);
}

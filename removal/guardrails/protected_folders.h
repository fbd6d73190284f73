// The folders that no uninstall description can change: drive roots, the
// folders Windows and its shell need, and every path that leaves the local
// drives or passes a link. The removal's gateway (system_changes.h) asks
// here before every file and folder change. Each answer is the reason of a
// refusal, or null when the change may go ahead.
#pragma once

#include "platform/platform.h"

// A file that would be deleted, scheduled or made writable: refused when
// it is not given in full, not on a local drive letter, reached through a
// link or junction, as its folder's path shows now (for a search's files,
// as it showed at the first of them), or names a stream.
const char* FileChangeRefusal(const char* path);

// A folder that would be removed: refused as a file's folder is, and when
// it names a stream, is a drive's root or a protected folder or holds one.
const char* FolderRemovalRefusal(const char* path);

// A folder the removal emptied, removed because it is empty: refused as
// any folder removal is, and when it lies inside Windows' own folders
// (an emptied INF or Help folder is still Windows').
const char* EmptiedFolderRefusal(const char* path);

// The files a search pattern matches: refused as a file's folder is, when
// it names a stream, and when the folder is protected (in or below
// Windows' own, a profile or the all-users data) and the name has fewer
// than kPatternLiteralPrefix letters before its first wildcard.
const char* PatternRefusal(const char* pattern);
const int kPatternLiteralPrefix = 3;

// The answers as yes or no.
inline bool IsProtectedFolder(const char* path) { return FolderRemovalRefusal(path) != nullptr; }
inline bool IsProtectedPattern(const char* pattern) { return PatternRefusal(pattern) != nullptr; }

// While one lives, the protected folders are gathered once (a step's
// thousands of questions need not gather them each time). Every folder is
// still judged afresh at each question.
struct RememberProtectedPlaces {
    RememberProtectedPlaces();
    ~RememberProtectedPlaces();
};

// While one lives, the first folder judged (the one PatternRefusal judges
// for a search) is remembered by its identity, so that the search's files
// are changed only in that folder.
struct JudgedSearch {
    JudgedSearch();
    ~JudgedSearch();
};

// True while a search's folder has been judged with its identity: each of
// its files' folders is then judged by a handle, against that identity,
// when the file changes (the NT family, held_files.h).
bool SearchFolderHasIdentity();

// A file's folder as its handle, opened without following a link, tells
// it (held_files.h): refused when it is a link, or, in a search, when it
// is not the folder the search was judged in.
const char* HeldFolderRefusal(const BY_HANDLE_FILE_INFORMATION& folder);

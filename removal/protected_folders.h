// The folders that no uninstall description can change: drive roots, the
// folders Windows and its shell need, and every path that leaves the local
// drives or passes a link. The removal's gateway (system_changes.h) asks
// here before every file and folder change. Each answer is the reason of a
// refusal, or null when the change may go ahead.
#pragma once

#include "platform/platform.h"

// A file that would be deleted, scheduled or made writable: refused when
// it is not given in full, not on a local drive letter, or reached
// through a link or junction.
const char* FileChangeRefusal(const char* path);

// A folder that would be removed: refused as a file's folder is, and when
// it is a drive's root or a protected folder or holds one.
const char* FolderRemovalRefusal(const char* path);

// A folder the removal emptied, removed because it is empty: refused as
// any folder removal is, and when it lies inside Windows' own folders
// (an emptied INF or Help folder is still Windows').
const char* EmptiedFolderRefusal(const char* path);

// The files a search pattern matches: refused as a file's folder is, and
// when the folder is protected and the name has fewer than
// kPatternLiteralPrefix letters before its first wildcard.
const char* PatternRefusal(const char* pattern);
const int kPatternLiteralPrefix = 3;

// The answers as yes or no.
inline bool IsProtectedFolder(const char* path) { return FolderRemovalRefusal(path) != nullptr; }
inline bool IsProtectedPattern(const char* pattern) { return PatternRefusal(pattern) != nullptr; }

// While one lives, the protected folders are gathered once and each
// folder's verdict is remembered: thousands of matches in one folder cost
// one look at it. Outside one, every question looks afresh.
struct RememberFolderVerdicts {
    RememberFolderVerdicts();
    ~RememberFolderVerdicts();
};

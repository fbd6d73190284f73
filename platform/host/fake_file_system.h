// The fake file system's interface to the other fake groups (profiles,
// file handles, processes); tests use fake_world.h instead.
#pragma once

#include <string>

#include "win32_api.h"

namespace fake_fs {

// The canonical form of an absolute path ("C:\A\b", "." and ".." resolved,
// repeated backslashes collapsed); false for a relative or empty path.
bool Canonical(const std::string& path, std::string* canonical);
// True when the path names an existing file (not a folder).
bool IsFile(const std::string& path);
bool ReadFile(const std::string& path, std::string* data);
// Creates or replaces a file's contents; 0 or the Win32 error.
DWORD WriteFile(const std::string& path, const std::string& data);
// Replaces an existing file's contents, whatever its attributes (a file
// handle already open for writing).
void SetContents(const std::string& path, const std::string& data);
// True when the path names an existing file or folder.
bool Exists(const std::string& path);
// True when the path names an existing folder, a link's target included.
bool IsFolder(const std::string& path);
// The canonical path of the file or folder a handle opened by `path`
// reaches: a link named last is followed only with `follow_last`.
bool Resolve(const std::string& path, bool follow_last, std::string* canonical);
// What a handle on the canonical `object` tells, the link itself when
// opened as one.
bool ObjectIdentity(const std::string& object, DWORD* attributes, DWORD* volume, DWORD* index);
// Where the program's own call for `path` lands (the WOW64 view).
std::string ViewOf(const std::string& path);
// The deletion of a canonical file or empty folder at its last handle's
// close; 0 or the error Windows gives.
DWORD DeletionRefused(const std::string& object);
void Remove(const std::string& object);
// True when an open handle keeps the canonical folder from being renamed:
// one on the folder itself without FILE_SHARE_DELETE (file handles).
bool HeldAgainstRename(const std::string& folder);
// The full form GetFullPathNameA gives for `path`.
std::string FullPathText(const std::string& path);
// The length of a path's root ("C:", "\\server\share", "\\?\C:"); 0 when
// it has none.
size_t RootLengthOf(const std::string& path);
// The local folder a root reaches ("C:", a subst drive's folder, a known
// share's folder); empty when it reaches none.
std::string LocalRoot(const std::string& root);
// True when Windows refuses to write to the existing file: a folder, a
// read-only file or a locked one.
bool WriteRefused(const std::string& path);
// Keeps the descriptor a new folder or file was given, for CreatedDescriptor.
void RecordCreatedAccess(const std::string& path, LPSECURITY_ATTRIBUTES security);

}  // namespace fake_fs

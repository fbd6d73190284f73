// What shows a file outside the product's own folders to be the product's:
// its package's INF copies it, its version resource names the maker, or
// the description names it one by one (or by a pattern that names the
// product) and nothing shows it to be another's. The file rules
// (protected_files.h) ask here once none of Windows' own marks refused the
// file; in the product's own folders what the description names goes.
#pragma once

#include "uninstall_data/uninstall_data.h"

// Calls `visit` with the full path of each of the product's INF files: the
// installed files named "*.inf" (a pattern's "oem*" matches only when
// their [Strings] name the product; a sweeping pattern matches none), then
// the OEM INF files whose [Strings] name the product.
void VisitProductInfs(const UninstallData& data, bool (*visit)(const char* path, void* context),
                      void* context);

// Reads the product's INF files once, for the whole run (their AddService
// lines go to service_evidence.h, which notes this evidence with its own),
// and asks the file rules whose a file is until ForgetFileEvidence. The
// record must outlive the notes.
void NoteFileEvidence(const UninstallData& data);
void ForgetFileEvidence();

// While one lives, the files judged are those of one installed-files
// entry: a pattern's matches outside the product's own folders need
// evidence unless the pattern's letters name the product or its maker, and
// what made such a file the product's is logged.
struct DescriptionEntry {
    explicit DescriptionEntry(const char* entry);
    ~DescriptionEntry();
};

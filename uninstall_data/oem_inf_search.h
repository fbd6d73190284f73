// The product's OEM INF files: the copies Windows made of its INF in the
// Windows INF folder, recognised by the product name in their [Strings]
// section.
#pragma once

#include "uninstall_data/uninstall_data.h"

// Appends each OEM*.INF of the Windows INF folder whose [Strings]
// FullProductName equals the record's product name, followed by its PNF
// twin, to the installed files.
void AppendOemInfFiles(UninstallData& data);

// True when the file name (no folder) ends in ".inf", in any letter case.
bool HasInfExtension(const char* name);

// True when the INF's [Strings] FullProductName is `product` (case matters).
bool InfNamesProduct(const char* path, const char* product);

// Calls `visit` with the full path of each such OEM INF naming `product`,
// until it answers false.
void VisitProductOemInfs(const char* product, bool (*visit)(const char* path, void* context),
                         void* context);

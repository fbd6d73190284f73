// The OEM INF files of the Windows INF folder: the copies Windows made of
// the INF of each driver a vendor's setup installed, named "oem*.inf". One
// walk serves the product's files to delete and the device tool's driver
// packages.
#pragma once

#include "platform/platform.h"

// Calls `visit` with the full path and the name of each file "oem*.inf" of
// the INF folder, until it answers false. A search also matches 8.3 names
// ("X.INF-OLD" is also "X~1.INF"): only a name that ends in ".inf" is
// visited, never a folder, and never a path longer than MAX_PATH allows.
void VisitOemInfs(bool (*visit)(const char* path, const char* name, void* context), void* context);

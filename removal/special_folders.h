// The shell's special folders by CSIDL (Programs, Desktop, Fonts ...).
#pragma once

#include "platform/platform.h"

// Writes the folder into `folder` (MAX_PATH bytes); false when the shell
// has none. The shell of the first Windows 95 and NT 4 lacks
// SHGetSpecialFolderPathA: there it names the folder by its item-id list.
bool GetSpecialFolder(int csidl, char* folder);

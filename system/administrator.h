// Whether the user is a member of the built-in Administrators group.
#pragma once

#include "platform/platform.h"

// Non-zero for a member; 0 otherwise, every failure included. Meaningful on
// the NT family only.
int IsAdministrator();

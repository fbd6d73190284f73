// The six list subkeys of the registry description. Each reader opens its
// subkey (a missing one is an empty list), fills the record and closes every
// key it opened on every path. Each returns 0 or the loader's result.
#pragma once

#include "uninstall_data/description_presence.h"
#include "uninstall_data/registry_key_lists.h"
#include "uninstall_data/registry_value_lists.h"

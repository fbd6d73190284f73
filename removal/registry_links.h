// Registry links: keys that stand for another key and lead whoever opens
// them there. A deletion must never follow one made by someone else, or a
// product's key could take Windows' services with it.
#pragma once

#include "platform/platform.h"

// True when `name` below `parent` is a link (opened as a link, it holds
// "SymbolicLinkValue" of type REG_LINK). Never true on Windows 9x, which
// has no links.
bool IsRegistryLink(HKEY parent, const char* name);

// Why deleting `parent_path`\`name` below `root` would follow a link, or
// null: a link on the way to the key, the key itself a link, or one
// anywhere below it. The links Windows keeps in its own trees (the current
// control set) are followed as every program follows them.
const char* LinkRefusal(HKEY root, const char* parent_path, const char* name);

// Finding registry links before a deletion: each key on the way is opened
// as a link and asked for its target, and so is every key below the one
// to delete. Windows 9x has no links: there the open either refuses the
// option or opens a plain key without the link's value, so asking is
// harmless, and Wine, which has links whatever version it reports, is
// asked too. Nothing is deleted here; a link is never deleted either, as
// Windows' own deletion would open it and delete its target.
#include "removal/registry_links.h"

#include "platform/mbtext.h"
#include "removal/guardrails/protected_keys.h"
#include "removal/registry_delete.h"
#include "uninstall_data/uninstall_data.h"

namespace {

const char kLinkOnTheWayReason[] = "a registry link, which is never followed";
const char kLinkBelowReason[] = "holds a registry link, which is never followed";
const char kTooLongReason[] = "a key path too long to check for registry links";
const char kLinkValue[] = "SymbolicLinkValue";

// A link Windows keeps inside its own trees is Windows' (the key rules
// would refuse deleting it); any other was made by someone else.
bool IsForeignLink(HKEY root, const char* path) {
    return IsRegistryLink(root, path) && !IsProtectedKey("", path);
}

// Each key from the first piece of `path` to the whole of it.
const char* LinkOnTheWay(HKEY root, char* path) {
    for (char* p = path;; p = (char*)MbNext(p)) {
        if (*p && *p != '\\') continue;
        char kept = *p;
        *p = 0;
        bool foreign = p != path && p[-1] != '\\' && IsForeignLink(root, path);
        *p = kept;
        if (foreign) return kLinkOnTheWayReason;
        if (!kept) return nullptr;
    }
}

// The link's own value on a key opened as a link: a plain key lacks it.
bool HasLinkValue(HKEY key) {
    DWORD type = REG_NONE;
    LONG status = RegQueryValueExA(key, kLinkValue, nullptr, &type, nullptr, nullptr);
    return status == ERROR_SUCCESS && type == REG_LINK;
}

// Each key is opened once, as a link: a link then answers as one, and a
// plain key is listed through the same handle. Room for the longest name
// a key can have, so that no name ends the walk.
bool HoldsLink(HKEY key) {
    char name[256];
    for (DWORD index = 0; RegEnumKeyA(key, index, name, sizeof name) == ERROR_SUCCESS; ++index) {
        HKEY sub;
        if (RegOpenKeyExA(key, name, REG_OPTION_OPEN_LINK, KEY_READ, &sub) != ERROR_SUCCESS) continue;
        bool below = HasLinkValue(sub) || HoldsLink(sub);
        RegCloseKey(sub);
        if (below) return true;
    }
    return false;
}

bool TreeHoldsLink(HKEY root, const char* path) {
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    bool found = HoldsLink(key);
    RegCloseKey(key);
    return found;
}

}  // namespace

bool IsRegistryLink(HKEY parent, const char* name) {
    if (!name || !*name) return false;
    HKEY key;
    if (RegOpenKeyExA(parent, name, REG_OPTION_OPEN_LINK, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    bool link = HasLinkValue(key);
    RegCloseKey(key);
    return link;
}

const char* LinkRefusal(HKEY root, const char* parent_path, const char* name) {
    char path[2 * TAVK_KEY_PATH_LEN + 2];
    path[0] = 0;
    if (parent_path && *parent_path && !MbCopy(path, sizeof path - 1, parent_path)) return kTooLongReason;
    if (path[0]) strcat(path, "\\");
    size_t used = strlen(path);
    if (!MbCopy(path + used, sizeof path - used, name ? name : "")) return kTooLongReason;
    if (const char* reason = LinkOnTheWay(root, path)) return reason;
    return TreeHoldsLink(root, path) ? kLinkBelowReason : nullptr;
}

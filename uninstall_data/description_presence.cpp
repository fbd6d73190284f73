// Telling an uninstall description from any other registry key. Whatever
// key "/rootkey=" names is deleted at the end of a removal, so a key must
// hold a value or list that only this format uses to be taken for one:
// names that many programs use ("Version", "Device", "WinVer",
// "SoftwareKey", "Applets", "InstalledFiles", "RegistryKeys"...) are read
// from a description but do not make one.
#include "uninstall_data/description_presence.h"

#include "uninstall_data/registry_lists.h"

#include "platform/mbtext.h"

namespace {

const char* const kDescriptionNames[] = {
    // values
    "ModemProvider", "FullCompanyName", "ShortProductName", "FullProductName", "UninstallKey",
    "CplShortcutFolderName", "CplShortcutItemName", "PreserveSoftwareKey", "ForceLocalUninstall",
    "RemoveDevice", "DeviceServiceName",
    // list subkeys
    "DeviceClassNames", "InstalledServices",
};

bool IsDescriptionName(const char* name) {
    for (const char* known : kDescriptionNames)
        if (MbSameNoCase(name, known)) return true;
    return false;
}

// Names longer than any known one are passed over; any other failure ends
// the walk: what cannot be read cannot show a description.
bool AnyValueNamed(HKEY key) {
    char name[TAVK_TEXT_LEN + 1];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        LONG status = RegEnumValueA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS && IsDescriptionName(name)) return true;
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return false;
    }
}

bool AnySubkeyNamed(HKEY key) {
    char name[TAVK_TEXT_LEN + 1];
    for (DWORD index = 0;; ++index) {
        LONG status = RegEnumKeyA(key, index, name, sizeof name);
        if (status == ERROR_SUCCESS && IsDescriptionName(name)) return true;
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return false;
    }
}

}  // namespace

bool HoldsDescription(HKEY key) { return AnyValueNamed(key) || AnySubkeyNamed(key); }

// A resource carried in the module, found and loaded by kernel32.
#include "messages/module_resource.h"

const BYTE* FindModuleResource(HMODULE module, LPCSTR type, WORD name, LANGID language, DWORD* size) {
    *size = 0;
    HRSRC found = FindResourceExA(module, type, MAKEINTRESOURCEA(name), language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const BYTE* bytes = loaded ? (const BYTE*)LockResource(loaded) : nullptr;
    if (bytes) *size = SizeofResource(module, found);
    return bytes;
}

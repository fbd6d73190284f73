// Stand-in for the conversions between UTF-16 and the ANSI code page (the
// fake's GetACP), through iconv with Windows' default character '?' for
// what the code page cannot hold. Logged as "WideCharToMultiByte page"
// and "MultiByteToWideChar page", so that the one failure table fails them.
#include "system/ansi_text.h"
#include "system/wide_path.h"

#include <errno.h>
#include <iconv.h>

#include "tests/stand_ins/stand_ins.h"

namespace {

std::string IconvName(UINT code_page) {
    return code_page == 65001 ? "UTF-8" : "CP" + std::to_string(code_page);
}

// One UTF-16 character (one or two code units); false when the code page
// has no such character.
bool ConvertOne(iconv_t cd, const char16_t* unit, size_t units, std::string* out) {
    char buffer[8];
    char* in = (char*)unit;
    char* at = buffer;
    size_t in_left = units * 2, out_left = sizeof buffer;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in, &in_left, &at, &out_left) == (size_t)-1) return false;
    out->append(buffer, sizeof buffer - out_left);
    return true;
}

bool IsPair(const char16_t* w, size_t left) {
    return left >= 2 && w[0] >= 0xD800 && w[0] < 0xDC00 && w[1] >= 0xDC00 && w[1] < 0xE000;
}

// The narrow text in UTF-16; a byte the code page cannot read becomes '?'.
std::u16string Widen(iconv_t cd, const char* narrow, size_t count) {
    std::u16string wide;
    char* in = const_cast<char*>(narrow);
    while (count) {
        char16_t buffer[64];
        char* out = (char*)buffer;
        size_t out_left = sizeof buffer;
        size_t done = iconv(cd, &in, &count, &out, &out_left);
        wide.append(buffer, (sizeof buffer - out_left) / 2);
        if (done == (size_t)-1 && errno != E2BIG) {
            wide += u'?';
            ++in;
            --count;
        }
    }
    return wide;
}

bool Refused(const char* api) {
    fake::LogCall(api, std::to_string(GetACP()));
    DWORD error = fake::InjectedFailure(api, std::to_string(GetACP()));
    if (error) SetLastError(error);
    return error != 0;
}

}  // namespace

char* ToAnsiText(const WCHAR* wide) {
    if (Refused("WideCharToMultiByte")) return nullptr;
    size_t length = 0;
    while (wide[length]) ++length;
    bool defaulted;
    std::string narrow = stand_in::NarrowText(std::u16string((const char16_t*)wide, length), GetACP(), &defaulted);
    char* copy = (char*)malloc(narrow.size() + 1);
    if (copy) memcpy(copy, narrow.c_str(), narrow.size() + 1);
    return copy;
}

bool WidePath(const char* path, WCHAR* wide, int size) {
    if (Refused("MultiByteToWideChar")) return false;
    iconv_t cd = iconv_open("UTF-16LE", IconvName(GetACP()).c_str());
    if (cd == (iconv_t)-1) return false;
    std::u16string converted = Widen(cd, path, strlen(path) + 1);
    iconv_close(cd);
    if (converted.size() > (size_t)size) return false;
    memcpy(wide, converted.data(), converted.size() * 2);
    return true;
}

namespace stand_in {

std::string NarrowText(const std::u16string& text, UINT code_page, bool* used_default) {
    std::string narrow;
    *used_default = false;
    iconv_t cd = iconv_open(IconvName(code_page).c_str(), "UTF-16LE");
    if (cd == (iconv_t)-1) return narrow;
    for (size_t i = 0; i < text.size();) {
        size_t units = IsPair(&text[i], text.size() - i) ? 2 : 1;
        if (!ConvertOne(cd, &text[i], units, &narrow)) {
            narrow += '?';
            *used_default = true;
        }
        i += units;
    }
    iconv_close(cd);
    return narrow;
}

}  // namespace stand_in

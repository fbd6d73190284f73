// Code-page conversion of the fake world: UTF-16 to the fake's ANSI code page
// (or UTF-8) through iconv, with Windows' size protocol and its default
// character '?' for what the code page cannot hold.
#include "fake_world.h"

#include <errno.h>
#include <iconv.h>
#include <string.h>

namespace {

std::string IconvName(UINT code_page) {
    if (code_page == CP_UTF8) return "UTF-8";
    return "CP" + std::to_string(code_page);
}

// Converts one UTF-16 character (one or two code units); false when the
// code page has no such character.
bool ConvertOne(iconv_t cd, const WCHAR* unit, size_t units, std::string* out) {
    char in[4];
    memcpy(in, unit, units * 2);
    char buffer[8];
    char* in_p = in;
    char* out_p = buffer;
    size_t in_left = units * 2, out_left = sizeof buffer;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &in_p, &in_left, &out_p, &out_left) == (size_t)-1) return false;
    out->append(buffer, sizeof buffer - out_left);
    return true;
}

size_t UnitsOf(const WCHAR* w, size_t left) {
    return (left >= 2 && w[0] >= 0xD800 && w[0] < 0xDC00 && w[1] >= 0xDC00 && w[1] < 0xE000) ? 2 : 1;
}

}  // namespace

int WideCharToMultiByte(UINT code_page, DWORD, LPCWSTR wide, int wide_count, LPSTR out,
                        int out_size, LPCSTR default_char, LPBOOL used_default) {
    UINT page = code_page == CP_ACP ? GetACP() : code_page;
    fake::LogCall("WideCharToMultiByte", std::to_string(page));
    if (DWORD error = fake::InjectedFailure("WideCharToMultiByte", std::to_string(page))) {
        SetLastError(error);
        return 0;
    }
    size_t count = wide_count >= 0 ? (size_t)wide_count : 0;
    if (wide_count < 0)
        while (wide[count++]) {}
    iconv_t cd = iconv_open(IconvName(page).c_str(), "UTF-16LE");
    if (cd == (iconv_t)-1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string narrow;
    bool defaulted = false;
    for (size_t i = 0; i < count;) {
        size_t units = UnitsOf(wide + i, count - i);
        if (!ConvertOne(cd, wide + i, units, &narrow)) {
            narrow += default_char ? *default_char : '?';
            defaulted = true;
        }
        i += units;
    }
    iconv_close(cd);
    if (used_default) *used_default = defaulted;
    if (out_size == 0) return (int)narrow.size();
    if (narrow.size() > (size_t)out_size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    memcpy(out, narrow.data(), narrow.size());
    return (int)narrow.size();
}

namespace {

// The narrow text in UTF-16; a byte the code page cannot read becomes '?'.
std::u16string Widen(iconv_t cd, const char* narrow, size_t count) {
    std::u16string wide;
    char* in = const_cast<char*>(narrow);
    size_t in_left = count;
    while (in_left) {
        char16_t buffer[64];
        char* out = (char*)buffer;
        size_t out_left = sizeof buffer;
        size_t done = iconv(cd, &in, &in_left, &out, &out_left);
        wide.append(buffer, (sizeof buffer - out_left) / 2);
        if (done == (size_t)-1 && errno != E2BIG) {
            wide += u'?';
            ++in;
            --in_left;
        }
    }
    return wide;
}

}  // namespace

int MultiByteToWideChar(UINT code_page, DWORD, LPCSTR narrow, int narrow_count, LPWSTR out,
                        int out_size) {
    UINT page = code_page == CP_ACP ? GetACP() : code_page;
    fake::LogCall("MultiByteToWideChar", std::to_string(page));
    if (DWORD error = fake::InjectedFailure("MultiByteToWideChar", std::to_string(page))) {
        SetLastError(error);
        return 0;
    }
    size_t count = narrow_count >= 0 ? (size_t)narrow_count : strlen(narrow) + 1;
    iconv_t cd = iconv_open("UTF-16LE", IconvName(page).c_str());
    if (cd == (iconv_t)-1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string wide = Widen(cd, narrow, count);
    iconv_close(cd);
    if (out_size == 0) return (int)wide.size();
    if (wide.size() > (size_t)out_size) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    memcpy(out, wide.data(), wide.size() * 2);
    return (int)wide.size();
}

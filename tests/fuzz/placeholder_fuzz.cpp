// The product-name placeholder: a message and a product name made of the
// input (rich in '%' and pieces of the placeholder) come out exactly as a
// plain left-to-right replacement would make them.
#include <string>

#include "fuzz_support.h"
#include "messages/localized_string.h"

namespace {

const std::string kTree = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\LocalizedStrings\\UNINST\\9\\1";
const std::u16string kPlaceholder = u"%OEM_FULL_PRODUCT_NAME%";

// Small pieces that make placeholders, near misses and stray '%' likely.
std::u16string MakeText(FuzzedDataProvider& in) {
    static const char16_t* const kPieces[] = {u"%", u"%OEM_FULL_PRODUCT_NAME",
                                              u"%OEM_FULL_PRODUCT_NAME%", u"OEM_", u"x"};
    std::u16string text;
    for (int n = in.ConsumeIntegralInRange(0, 12); n > 0; --n) {
        if (in.ConsumeBool()) text += kPieces[in.ConsumeIntegralInRange(0, 4)];
        else text += (char16_t)in.ConsumeIntegralInRange<uint16_t>(1, 0xFFFF);
    }
    return text;
}

std::u16string Replaced(const std::u16string& text, const std::u16string& name) {
    std::u16string out;
    size_t at = 0;
    for (size_t found; (found = text.find(kPlaceholder, at)) != std::u16string::npos;) {
        out += text.substr(at, found - at) + name;
        at = found + kPlaceholder.size();
    }
    return out + text.substr(at);
}

std::u16string Take(WCHAR* text) {
    std::u16string out;
    for (const WCHAR* p = text; p && *p; ++p) out += (char16_t)*p;
    free(text);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FreshWorld();
    FuzzedDataProvider in(bytes, size);
    std::u16string message = MakeText(in), name = MakeText(in);
    fake::RegSeedWideString(kTree, "13", message);
    if (!name.empty()) fake::RegSeedWideString(kTree, "25", name);
    std::u16string product = Take(FindLocalizedStringW(nullptr, PRODUCT_NAME_MESSAGE_ID));
    FUZZ_CHECK(Take(LocalizedStringW(nullptr, 13)) == Replaced(message, product));
    return 0;
}

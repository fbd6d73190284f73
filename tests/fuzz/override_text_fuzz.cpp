// The registry overrides of the messages: any bytes of any type, read the
// 9x way and the NT way, decoded as UTF-16 and then made ready to show.
#include "fuzz_support.h"
#include "messages/localized_string.h"

namespace {

const std::string kTree = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\LocalizedStrings\\UNINST\\";
const LANGID kLanguages[] = {0x0409, 0x0407, 0x0411, 0x0804, 0x0C0A};

size_t Units(const WCHAR* text) {
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FreshWorld();
    FuzzedDataProvider in(bytes, size);
    fake::SetWindowsVersion(in.ConsumeBool() ? fake::kWinXP : fake::kWin98);
    LANGID language = kLanguages[in.ConsumeIntegralInRange(0, 4)];
    fake::SetUserLanguage(language);
    PickCodePage(in);
    UINT id = in.ConsumeIntegralInRange<UINT>(0, 30);
    std::string sub = in.ConsumeBool() ? std::to_string(language >> 10) : in.ConsumeRandomLengthString(8);
    std::string key = kTree + std::to_string(language & 0x3FF) + "\\" + sub;
    DWORD type = in.ConsumeBool() ? REG_SZ : REG_BINARY;
    std::string data = in.ConsumeRemainingBytesAsString();
    fake::RegSeedBytes(key, std::to_string(id), type, data);
    WCHAR* text = ReadLocalizedStringOverride(nullptr, id, language);
    // NT widens a narrow REG_SZ, so a byte may become a whole unit.
    if (text) FUZZ_CHECK(Units(text) <= (type == REG_SZ ? data.size() : data.size() / 2));
    free(text);
    free(LocalizedString(nullptr, id));
    FUZZ_CHECK(fake::OpenKeyCount() == 0);
    return 0;
}

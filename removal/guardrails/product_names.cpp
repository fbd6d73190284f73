// Matching a text against the product's and the maker's names. A name
// that is empty or blank matches nothing: it would match every text.
#include "removal/guardrails/product_names.h"

#include "messages/localized_string.h"
#include "platform/mbtext.h"
#include "removal/guardrails/system_file_checks.h"
#include "removal/guardrails/windows_programs.h"

namespace {

const char kOtherMakersProgram[] = "its program's version resource names another maker";

// The vendor whose key holds every description and this program's messages.
const char kVendorName[] = "Tarnwell";

bool IsBlankName(const char* name) {
    for (const char* p = name; *p; p = MbNext(p))
        if (*p != ' ' && *p != '\t') return false;
    return true;
}

// `name` anywhere in `text`, starting at a character boundary.
bool HoldsNoCase(const char* text, const char* name) {
    if (!text || !name || IsBlankName(name)) return false;
    for (const char* p = text;; p = MbNext(p)) {
        if (MbAfterPrefixNoCase(p, name)) return true;
        if (!*p) return false;
    }
}

// The product's name as the messages give it, in the user's language.
bool NamedInMessages(const char* text) {
    char* name = LocalizedString(nullptr, PRODUCT_NAME_MESSAGE_ID);
    bool named = name && HoldsNoCase(text, name);
    free(name);
    return named;
}

}  // namespace

bool NamesTheProduct(const UninstallData& data, const char* text) {
    return HoldsNoCase(text, data.full_product_name) || HoldsNoCase(text, data.short_product_name) ||
           NamedInMessages(text);
}

bool NamesTheMaker(const UninstallData& data, const char* text) {
    const char* const makers[] = {data.full_company_name, data.short_company_name, kVendorName};
    for (const char* maker : makers)
        if (HoldsNoCase(text, maker) || HoldsNoCase(maker, text)) return true;
    return false;
}

bool HoldsMakersName(const UninstallData& data, const char* text) {
    const char* const makers[] = {data.full_company_name, data.short_company_name, kVendorName};
    for (const char* maker : makers)
        if (HoldsNoCase(text, maker)) return true;
    return false;
}

const char* OtherProgramReason(const UninstallData& data, const char* path) {
    if (const char* reason = WindowsProgramRefusal(path)) return reason;
    SystemFileChecks checks;
    LoadSystemFileChecks(&checks);
    char company[TAVK_TEXT_LEN + 1];
    bool named = ReadCompanyName(checks, path, company, sizeof company);
    FreeSystemFileChecks(&checks);
    return named && !IsBlankName(company) && !NamesTheMaker(data, company) ? kOtherMakersProgram : nullptr;
}

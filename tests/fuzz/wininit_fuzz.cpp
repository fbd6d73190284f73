// WININIT.INI editing over any existing file: the new "NUL=" line goes in
// after every line already in the "rename" section, which all stay, or the
// section is left as it was.
#include <strings.h>

#include <vector>

#include "fuzz_support.h"
#include "removal/delete_on_restart.h"

namespace {

const char kWininit[] = "C:\\WINDOWS\\WININIT.INI";
const DWORD kRoom = 65536;

// The section's lines as the profile reader gives them.
std::vector<std::string> RenameLines() {
    static char buffer[kRoom];
    DWORD used = GetPrivateProfileSectionA("rename", buffer, kRoom, "WININIT.INI");
    std::vector<std::string> lines;
    for (const char* p = buffer; p < buffer + used && *p; p += strlen(p) + 1) lines.push_back(p);
    return lines;
}

// A "NUL" entry without a path names no file: the key write may take it
// over in place, as it takes an empty "NUL=" line.
bool EmptyNulEntry(const std::string& line) {
    size_t equals = line.find('=');
    std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
    return strcasecmp(line.substr(0, equals).c_str(), "NUL") == 0 &&
           (value.empty() || value == "\"\"" || value == "''");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FreshWorld();
    FuzzedDataProvider in(bytes, size);
    PickCodePage(in);
    fake::SetWindowsVersion(fake::kWin98);
    std::string path = in.ConsumeRandomLengthString(600);
    bool has_file = in.ConsumeBool();
    if (has_file) fake::AddFile(kWininit, in.ConsumeRemainingBytesAsString());
    std::vector<std::string> before = RenameLines();
    ScheduleWininitDelete(path.c_str());
    std::vector<std::string> after = RenameLines();
    FUZZ_CHECK(after.size() == before.size() || after.size() == before.size() + 1);
    for (size_t i = 0; i < before.size(); ++i)
        FUZZ_CHECK(after[i] == before[i] || EmptyNulEntry(before[i]));
    if (after.size() > before.size()) FUZZ_CHECK(after.back().compare(0, 4, "NUL=") == 0);
    FUZZ_CHECK(fake::OpenHandleCount() == 0);
    return 0;
}

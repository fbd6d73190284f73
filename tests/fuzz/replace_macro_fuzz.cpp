// ReplaceMacro at every room, and the two-stage path expansion with any
// Windows and system directories: nothing is written past the room, and a
// result that fits holds every character of the source.
#include "fuzz_support.h"
#include "removal/path_macros.h"

namespace {

void CheckReplace(FuzzedDataProvider& in) {
    size_t room = in.ConsumeIntegralInRange<size_t>(0, 600);
    // As the product sees them: each text ends at its first NUL.
    std::string macro = in.ConsumeRandomLengthString(16).c_str();
    std::string value = in.ConsumeRandomLengthString(300).c_str();
    std::string source = in.ConsumeRandomLengthString(700).c_str();
    char* out = (char*)malloc(room + 1);  // exactly what the room promises
    int fits = ReplaceMacro(source.c_str(), macro.c_str(), value.c_str(), out, room);
    size_t length = strlen(out);
    FUZZ_CHECK(length <= room);
    if (fits && (macro.empty() || source.find(macro) == std::string::npos))
        FUZZ_CHECK(out == source);
    if (!fits) FUZZ_CHECK(!source.empty());
    free(out);
}

void CheckExpand(FuzzedDataProvider& in) {
    char windows_dir[PATH_BUFFER_SIZE], system_dir[PATH_BUFFER_SIZE], out[PATH_BUFFER_SIZE];
    std::string w = in.ConsumeRandomLengthString(PATH_MACRO_ROOM);
    std::string s = in.ConsumeRandomLengthString(PATH_MACRO_ROOM);
    std::string entry = in.ConsumeRandomLengthString(700);
    memcpy(windows_dir, w.c_str(), w.size() + 1);
    memcpy(system_dir, s.c_str(), s.size() + 1);
    if (ExpandPathMacros(entry.c_str(), windows_dir, system_dir, out))
        FUZZ_CHECK(strlen(out) <= PATH_MACRO_ROOM);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FreshWorld();
    FuzzedDataProvider in(bytes, size);
    PickCodePage(in);
    CheckReplace(in);
    CheckExpand(in);
    return 0;
}

// The INI side: the private-profile reader over any file, at any buffer
// size, and LoadFromIniSection over a section (and an OEM INF) made of the
// input.
#include "fuzz_support.h"
#include "uninstall_data/ini_loader.h"

namespace {

const char kIni[] = "C:\\Program Files\\XLN\\uninst.ini";
const char kOemInf[] = "C:\\WINDOWS\\INF\\OEM7.INF";
const DWORD kSentinel = 0xAB;

// A reader's answer stays inside the buffer it was given, and the bytes
// just past it are untouched.
void CheckAnswer(const unsigned char* buffer, DWORD size, DWORD answer, bool list) {
    FUZZ_CHECK(size == 0 ? answer == 0 : answer < size);
    FUZZ_CHECK(buffer[size] == kSentinel);
    if (size == 0) return;
    FUZZ_CHECK(buffer[answer] == 0);
    // The list's double end: after its last string, or at the buffer's end.
    if (list && answer > 0)
        FUZZ_CHECK(buffer[answer - 1] == 0 || (answer + 2 == size && buffer[answer + 1] == 0));
}

void ReadAtSize(FuzzedDataProvider& in, const std::string& section, const std::string& key) {
    DWORD size = in.ConsumeIntegralInRange<DWORD>(0, 300);
    unsigned char* buffer = (unsigned char*)malloc(size + 1);
    memset(buffer, kSentinel, size + 1);
    DWORD answer = GetPrivateProfileStringA(section.c_str(), key.c_str(), "default text",
                                            (char*)buffer, size, kIni);
    CheckAnswer(buffer, size, answer, false);
    memset(buffer, kSentinel, size + 1);
    answer = GetPrivateProfileSectionA(section.c_str(), (char*)buffer, size, kIni);
    CheckAnswer(buffer, size, answer, true);
    free(buffer);
}

void CheckRecord(const UninstallData& d) {
    FUZZ_CHECK(d.friendly_name_count >= 0 && d.friendly_name_count <= TAVK_MAX_NUM_FRIENDLY_NAMES);
    FUZZ_CHECK(d.applet_count >= 0 && d.applet_count <= TAVK_MAX_NUM_APPLETS);
    FUZZ_CHECK(d.installed_file_count >= 0 && d.installed_file_count <= TAVK_MAX_NUM_INSTALLED_FILES);
    FUZZ_CHECK(d.device_class_count >= 0 && d.device_class_count <= TAVK_MAX_NUM_DEVICE_CLASS_NAMES);
    FUZZ_CHECK(d.registry_key_count >= 0 && d.registry_key_count <= TAVK_MAX_NUM_REG_KEYS);
    FUZZ_CHECK(d.device_id_count >= 0 && d.device_id_count <= TAVK_MAX_NUM_DEVICE_IDS);
    for (int i = 0; i < d.installed_file_count; ++i) FUZZ_CHECK(Terminated(d.installed_files[i]));
    for (int i = 0; i < d.friendly_name_count; ++i) FUZZ_CHECK(Terminated(d.friendly_names[i]));
    for (int i = 0; i < d.device_class_count; ++i)
        FUZZ_CHECK(Terminated(d.device_classes[i].setup_class));
    for (int i = 0; i < d.registry_key_count; ++i)
        FUZZ_CHECK(Terminated(d.registry_keys[i].key_path));
    for (int i = 0; i < d.device_id_count; ++i)
        FUZZ_CHECK(Terminated(d.device_ids[i]) && strlen(d.device_ids[i]) >= 37);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FreshWorld();
    FuzzedDataProvider in(bytes, size);
    PickCodePage(in);
    std::string section = in.ConsumeRandomLengthString(40);
    std::string key = in.ConsumeRandomLengthString(40);
    std::string reads = in.ConsumeBytesAsString(4);
    std::string text = in.ConsumeRemainingBytesAsString();
    fake::AddFile(kIni, text);
    fake::AddFile(kOemInf, text);
    FuzzedDataProvider sizes((const uint8_t*)reads.data(), reads.size());
    ReadAtSize(sizes, section, key);
    static UninstallData data;
    FUZZ_CHECK(LoadFromIniSection(data, kIni, "UnistallData0") == 0);
    CheckRecord(data);
    return 0;
}

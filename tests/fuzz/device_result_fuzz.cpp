// The device-manager tool's result file as the tool might leave it: any
// bytes, any line lengths, with or without line ends.
#include "fuzz_support.h"
#include "platform/text_file.h"
#include "removal/device_tool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FreshWorld();
    const char path[] = "C:\\WINDOWS\\XLNWL.dmr";
    fake::AddFile(path, std::string((const char*)bytes, size));
    TextFile file;
    FUZZ_CHECK(TextFileOpen(&file, path));
    DeviceToolResult result;
    memset(&result, 0xAB, sizeof result);
    bool read = ReadDeviceToolResult(&file, &result);
    TextFileClose(&file);
    // Text mode: a Ctrl-Z ends the file, so one at the start leaves no line.
    FUZZ_CHECK(read == (size > 0 && bytes[0] != 0x1A));
    if (!read) return 0;
    FUZZ_CHECK(Terminated(result.tag));
    size_t length = strlen(result.tag);
    FUZZ_CHECK(length == 0 || result.tag[length - 1] != '\n');
    FUZZ_CHECK(fake::OpenHandleCount() == 0);
    return 0;
}

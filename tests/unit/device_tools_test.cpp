// The device-manager tools' pure parts: the request read line by line, the
// rule that names a device, and the result text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devtools/device_match.h"
#include "devtools/tool_request.h"
#include "devtools/tool_result.h"

namespace {

std::vector<std::string> List(const char* first, int count, size_t size) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.push_back(first + (size_t)i * size);
    return out;
}

// The request read from `text` fed `step` bytes at a time.
DeviceRequest* Parse(const std::string& text, size_t step = 1 << 20) {
    static DeviceRequest request;
    static RequestParser parser;
    memset(&request, 0x5A, sizeof request);  // the parser must clear it
    BeginRequest(&parser, &request);
    for (size_t at = 0; at < text.size(); at += step)
        FeedRequest(&parser, text.data() + at, std::min(step, text.size() - at));
    EndRequest(&parser);
    return &request;
}

using Strings = std::vector<std::string>;

TEST(DeviceRequestParse, ReadsEveryKindOfLineWhateverTheLineEndsAndPieces) {
    const std::string text =
        "Class=Net\r\nclass=NetTrans\nSERVICENAME=XLNW11\rServiceName=Second\r\n"
        "Desc=XLN 802.11g Network Adapter\r\n\r\nUnknown=1\r\nno equals sign\r\n"
        "HardwareID=PCI\\VEN_1B2C&DEV_0011\r\nLog=C:\\run.log\r\nlog=second\r\n"
        "HardwareID=USB\\VID_1B2C&PID_0012";
    for (size_t step : {size_t(1), size_t(2), size_t(7), text.size()}) {
        DeviceRequest* r = Parse(text, step);
        EXPECT_EQ((Strings{"Net", "NetTrans"}), List(r->classes[0], r->class_count, REQUEST_CLASS_SIZE)) << step;
        EXPECT_STREQ("XLNW11", r->service) << "the first service line counts; step " << step;
        EXPECT_EQ((Strings{"XLN 802.11g Network Adapter"}), List(r->descs[0], r->desc_count, REQUEST_DESC_SIZE));
        EXPECT_EQ((Strings{"PCI\\VEN_1B2C&DEV_0011", "USB\\VID_1B2C&PID_0012"}),
                  List(r->ids[0], r->id_count, REQUEST_ID_SIZE)) << "the last line needs no line end";
        EXPECT_STREQ("C:\\run.log", r->log) << "the first log line counts";
    }
}

TEST(DeviceRequestParse, IgnoresWhatCouldNameTooMuchOrOverrunAField) {
    struct Case {
        const char* name;
        std::string text;
        int ids;  // hardware ids kept
    };
    const Case cases[] = {
        {"empty value", "HardwareID=\r\n", 0},
        {"over-long line", "HardwareID=" + std::string(REQUEST_LINE_SIZE, 'A') + "\r\nHardwareID=B", 1},
        {"value too long for its field", "HardwareID=" + std::string(REQUEST_ID_SIZE, 'A'), 0},
        {"value filling its field", "HardwareID=" + std::string(REQUEST_ID_SIZE - 1, 'A'), 1},
        {"zero byte inside", std::string("HardwareID=PCI\0X\r\nHardwareID=C", 30), 1},
        {"key with a blank", "HardwareID =PCI\r\n", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(c.ids, Parse(c.text)->id_count) << c.name;
    std::string many;
    for (int i = 0; i < REQUEST_MAX_IDS + 5; ++i) many += "HardwareID=ID" + std::to_string(i) + "\n";
    DeviceRequest* r = Parse(many);
    EXPECT_EQ(REQUEST_MAX_IDS, r->id_count) << "a full list takes no more";
    EXPECT_STREQ("ID255", r->ids[REQUEST_MAX_IDS - 1]);
    EXPECT_EQ(0, Parse("")->class_count) << "an empty request names nothing";
}

// A zero-separated id list from blank-separated words.
std::string Ids(const std::string& words) {
    std::string out = words;
    for (char& c : out) if (c == ' ') c = 0;
    return out + std::string(2, '\0');
}

TEST(DeviceMatch, NamesDevicesByIdOrTextWithinTheListedClasses) {
    DeviceRequest* r = Parse("Class=Net\nDesc=XLN Adapter\nHardwareID=PCI\\VEN_1B2C&DEV_0011\n");
    const std::string ids = Ids("PCI\\VEN_1B2C&DEV_0011&SUBSYS_1 pci\\ven_1b2c&dev_0011");
    const std::string other = Ids("PCI\\VEN_1B2C&DEV_0012 PCI\\VEN_1B2C");
    struct Case {
        const char* name;
        DeviceFacts device;
        bool named;
    };
    const Case cases[] = {
        {"second hardware id, other case", {"Net", ids.data(), nullptr, nullptr}, true},
        {"description", {"NET", nullptr, "xln adapter", nullptr}, true},
        {"friendly name", {"Net", nullptr, "Other", "XLN Adapter"}, true},
        {"class not chosen by the caller", {nullptr, ids.data(), nullptr, nullptr}, true},
        {"ids only begin alike", {"Net", other.data(), "XLN Adapter #2", nullptr}, false},
        {"other class", {"Ports", ids.data(), nullptr, nullptr}, false},
        {"empty class", {"", ids.data(), nullptr, nullptr}, false},
        {"nothing known", {"Net", nullptr, "", ""}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.named, DeviceMatches(*r, c.device)) << c.name;
    // Without a listed class only a network adapter is named, by id or name.
    DeviceRequest* no_class = Parse("Desc=XLN Adapter\nHardwareID=PCI\\VEN_1B2C&DEV_0011\n");
    const Case unlisted[] = {
        {"name, class Net", {"net", nullptr, "XLN Adapter", nullptr}, true},
        {"id, class Net", {"Net", ids.data(), nullptr, nullptr}, true},
        {"friendly name, a monitor", {"Monitor", nullptr, "Other", "XLN Adapter"}, false},
        {"id, a display card", {"Display", ids.data(), nullptr, nullptr}, false},
        {"id, class unknown", {"", ids.data(), nullptr, nullptr}, false},
    };
    for (const Case& c : unlisted) EXPECT_EQ(c.named, DeviceMatches(*no_class, c.device)) << c.name;
    EXPECT_FALSE(ClassListed(*r, nullptr)) << "an unknown class is no listed one";
    EXPECT_FALSE(ClassListed(*no_class, nullptr));
}

TEST(DeviceMatch, GenericIdsAreRefusedBeforeAnyDeviceIsLookedAt) {
    struct Case {
        const char* id;
        bool generic;
    };
    const Case cases[] = {
        {"PCI\\VEN_1B2C&DEV_0011", false},       {"pci\\dev_0011&ven_1b2c&CC_0280", false},
        {"PCI\\CC_0300", true},                  {"PCI\\VEN_1B2C&CC_0280", true},
        {"PCI\\VEN_1B2C", true},                 {"PCI\\SUBVEN_1B2C&DEV_0011", true},
        {"USB\\VID_1B2C&PID_0020&MI_00", false}, {"USB\\Class_E0&SubClass_01", true},
        {"USB\\VID_1B2C", true},                 {"SD\\VID_02&PID_0011", false},
        {"SD\\CLASS_07", true},                  {"PCMCIA\\XLN-PCCARD-0011", false},
        {"*PNP0C0F", true},                      {"ACPI\\PNP0A03", true},
        {"ACPI\\XLN0011", false},                {"HID\\Class_03", true},
        {"ROOT\\XLNW11", false},                 {"*XLN0011", false},
        {"ACPI\\PNPFFFF", true},                 {"ACPI\\PNP0a9f", true},
        {"ACPI\\PNP0A0G", false},                {"ACPI\\PNP0A0", false},
        {"ACPI\\PNP000/", false},                {"ACPI\\PNP000:", false},
        {"ACPI\\XLNPNP0A03", false},             {"ACPI\\XLN&PNP0A03", true},
        {"SDIO\\VID_02&PID_0011", false},        {"SDIO\\VID_02", true},
        {"USB\\PID_0020&VID_1B2C", false},       {"PCI\\VEN_1B2C&SUBSYS_DEV_0011", true},
        {"USB\\VID_1B2C&PID_0020&Class_E0", false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.generic, IsGenericId(c.id)) << c.id;
    DeviceRequest* r = Parse("HardwareID=PCI\\CC_0300\nHardwareID=PCI\\VEN_1B2C&DEV_0011\n"
                             "HardwareID=*PNP0C0F\nHardwareID=USB\\VID_1B2C&PID_0020\n");
    RefuseGenericIds(r);
    EXPECT_EQ((Strings{"PCI\\VEN_1B2C&DEV_0011", "USB\\VID_1B2C&PID_0020"}),
              List(r->ids[0], r->id_count, REQUEST_ID_SIZE));
    const std::string display = Ids("PCI\\VEN_10DE&DEV_0001 PCI\\CC_0300");
    EXPECT_FALSE(DeviceMatches(*r, {"Net", display.data(), nullptr, nullptr})) << "the refused id names nothing";
}

TEST(DeviceMatch, IdListsFromTheSystemAreMadeSafe) {
    char buffer[24];
    memset(buffer, 'X', sizeof buffer);  // as a system call may leave it: no terminator
    TerminateIdList(buffer, sizeof buffer);
    EXPECT_EQ(22u, strlen(buffer)) << "the walk stops within the buffer";
    char commas[32] = ",PCI\\A,PCI\\B,,*PNP0001,";
    CommaListToIdList(commas, sizeof commas);
    DeviceRequest* r = Parse("HardwareID=*PNP0001");
    EXPECT_TRUE(DeviceMatches(*r, {nullptr, commas, nullptr, nullptr}))
        << "the id after an empty piece is still read";
}

TEST(DeviceMatch, KeyNamesThatMayBeDeleted) {
    struct Case {
        const char* name;
        bool driver_key;
    };
    const Case driver_keys[] = {
        {"Net\\0003", true}, {"Net", false}, {"", false}, {"Net\\", false}, {"\\0003", false},
        {"Net\\0003\\Ndi", false}, {"..\\Net", false}, {"Net\\..", false}, {"Net\\.x", true},
        {"Net\\...", false}, {".\\0003", false}, {"N.\\0003", true},
    };
    for (const Case& c : driver_keys) EXPECT_EQ(c.driver_key, IsDriverKeyName(c.name)) << c.name;
    const Case instances[] = {
        {"XLNW111", true}, {"xlnw112", true}, {"XLNW11", false}, {"XLNW11A", false},
        {"XLNW1", false}, {"OTHER1", false}, {"XLNW110", true}, {"XLNW119", true}, {"XLNW11/", false},
        {"XLNW11:", false},
    };
    for (const Case& c : instances) EXPECT_EQ(c.driver_key, IsNumberedInstance(c.name, "XLNW11")) << c.name;
    EXPECT_FALSE(IsNumberedInstance("1", "")) << "an empty base names no instance";
}

TEST(DeviceToolResult, WritesStatusTagCodeAndTheRestartLine) {
    struct Case {
        const char* name;
        ToolOutcome outcome;
        const char* text;
    };
    const Case cases[] = {
        {"nothing matched", {0, false, 0, false, ""}, "0\r\nXLNWLD2K\r\n0\r\n"},
        {"two removed, restart", {2, false, 0, true, ""}, "2\r\nXLNWLD2K\r\n0\r\nrestart\r\n"},
        {"service kept", {1, false, 0, false, "XLNW11"}, "1\r\nXLNWLD2K\r\n0\r\nkept service XLNW11\r\n"},
        {"failure with a SetupAPI code", {1, true, 0xE000020Bu, false, ""}, "-1\r\nXLNWLD2K\r\n3758096907\r\n"},
    };
    for (const Case& c : cases) {
        char text[64];
        memset(text, '#', sizeof text);
        size_t length = FormatToolResult(c.outcome, "XLNWLD2K", text, sizeof text);
        EXPECT_STREQ(c.text, text) << c.name;
        EXPECT_EQ(strlen(c.text), length) << c.name;
    }
    char small[8];
    memset(small, '#', sizeof small);
    FormatToolResult({12, false, 0, false, ""}, "XLNWLD2K", small, 6);
    EXPECT_STREQ("12\r\nX", small) << "cut to the room given and terminated";
    EXPECT_EQ('#', small[6]) << "nothing written past the room given";
}

TEST(DeviceToolResult, TheFirstFailureIsTheOneReported) {
    ToolOutcome outcome = {};
    NoteFailure(&outcome, 5);
    NoteFailure(&outcome, 1061);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(5u, outcome.error);
}

}  // namespace

// Device removal through the device-manager tool: when it acts, the request
// written, the tool's command line, the result read and every failure code.
#include <functional>
#include <string>
#include <vector>

#include "removal/device_tool.h"
#include "removal/removal_steps.h"
#include "removal_fixture.h"
#include "system/run_log.h"

namespace {

const char kRequest[] = "C:\\WINDOWS\\XLNWL.dms";
const char kResult[] = "C:\\WINDOWS\\XLNWL.dmr";
const char kToolFolder[] = "C:\\Program Files\\XLN\\";

class DeviceRemoval : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        memset(&data, 0, sizeof data);
        strcpy(data.device, "XLNW");
        data.driver_model = DriverModelWdm2k;
        fake::SetWindowsVersion(fake::kWinXP);
        fake::AddFile("C:\\Program.exe");  // what an unquoted blank would start
        for (const char* variant : {"D9X", "D2K", "DNT"}) InstallTool(variant, "0\n");
    }

public:
    // The tool keeps the request it was given and writes the result.
    void InstallTool(const std::string& variant, const std::string& result, bool writes = true) {
        std::string program = kToolFolder + std::string("XLNWL") + variant + ".exe";
        fake::AddFile(program);
        stand_in::ProcessScript script;
        script.on_run = [this, result, writes] {
            request_seen = fake::FileContents(kRequest);
            if (writes) fake::AddFile(kResult, result);
        };
        stand_in::ScriptProcess(program, script);
    }
protected:
    std::vector<std::string> Debugged() {
        std::vector<std::string> texts;
        for (auto& call : fake::CallsTo("OutputDebugStringA ")) texts.push_back(call.substr(19));
        return texts;
    }
    UninstallData data;
    std::string request_seen;
};

struct ActsCase {
    const char* name;
    int32_t model;
    fake::WindowsVersion version;
    const char* variant;  // null: the step does nothing
};

TEST_F(DeviceRemoval, ActsOnlyForItsFamily) {
    const ActsCase cases[] = {
        {"WDM98 on 95", DriverModelWdm98, fake::kWin95, "D9X"},
        {"WDM98 on 98", DriverModelWdm98, fake::kWin98, "D9X"},
        {"WDM98 on Me", DriverModelWdm98, fake::kWinMe, "D9X"},
        {"VxD on 98", DriverModelVxd, fake::kWin98, "D9X"},
        {"WDM2k on 2000", DriverModelWdm2k, fake::kWin2000, "D2K"},
        {"WDM2k on 10", DriverModelWdm2k, fake::kWin10, "D2K"},
        {"NT4 on NT 4", DriverModelNt4, fake::kNT4, "DNT"},
        {"WDM98 on 2000", DriverModelWdm98, fake::kWin2000, nullptr},
        {"WDM2k on 98", DriverModelWdm2k, fake::kWin98, nullptr},
        {"WDM2k on NT 4", DriverModelWdm2k, fake::kNT4, nullptr},
        {"NT4 on XP", DriverModelNt4, fake::kWinXP, nullptr},
        {"VxD on XP", DriverModelVxd, fake::kWinXP, nullptr},
        {"none on 98", DriverModelNone, fake::kWin98, nullptr},
        {"unknown model on XP", 7, fake::kWinXP, nullptr},
        {"WDM2k on NT 3.51", DriverModelWdm2k, fake::kNT351, nullptr},
    };
    for (const ActsCase& c : cases) {
        SetUp();
        data.driver_model = c.model;
        fake::SetWindowsVersion(c.version);
        EXPECT_EQ(0, RemoveDevices(data)) << c.name;
        if (c.variant) {
            std::string line = std::string("\"") + kToolFolder + "XLNWL" + c.variant + "\" remove";
            EXPECT_EQ(std::vector<std::string>{"CreateProcessA " + line},
                      fake::CallsTo("CreateProcessA"))
                << c.name;
            ASSERT_EQ(1u, stand_in::StartedProcesses().size()) << c.name;
            EXPECT_EQ(0u, stand_in::StartedProcesses()[0].flags) << c.name;
        } else {
            EXPECT_TRUE(fake::CallsTo("CreateFileA").empty()) << c.name;
            EXPECT_TRUE(fake::CallsTo("CreateProcessA").empty()) << c.name;
        }
        EXPECT_FALSE(fake::FileExists(kRequest)) << c.name;
        EXPECT_FALSE(fake::FileExists(kResult)) << c.name;
        TearDown();
    }
}

TEST_F(DeviceRemoval, EmptyDeviceTagDoesNothing) {
    data.device[0] = 0;
    EXPECT_EQ(0, RemoveDevices(data));
    EXPECT_TRUE(fake::CallsTo("CreateFileA").empty());
}

void AddClass(UninstallData& data, int32_t order, const char* name) {
    DeviceClassEntry& entry = data.device_classes[data.device_class_count++];
    entry.order = order;
    strcpy(entry.setup_class, name);
}

TEST_F(DeviceRemoval, RequestLinesInTheirOrderWithCrLf) {
    fake::AddFile(kRequest, "stale request from an earlier run\r\n");
    AddClass(data, 0, "Net");
    AddClass(data, 3, "NetTrans");
    AddClass(data, 4, "Skipped");
    AddClass(data, 2, "NetSvc");
    strcpy(data.device_service_name, "xlnw5");
    data.friendly_name_count = 2;
    strcpy(data.friendly_names[0], "XLN Wireless PCI");
    strcpy(data.friendly_names[1], "XLN Wireless USB");
    data.device_id_count = 1;
    strcpy(data.device_ids[0], "PCI\\VEN_1234&DEV_5678");
    EXPECT_EQ(0, RemoveDevices(data));
    EXPECT_EQ("Class=NetTrans\r\nClass=NetSvc\r\nClass=Net\r\nServiceName=xlnw5\r\n"
              "Desc=XLN Wireless PCI\r\nDesc=XLN Wireless USB\r\n"
              "HardwareID=PCI\\VEN_1234&DEV_5678\r\n",
              request_seen);
}

TEST_F(DeviceRemoval, EmptyListsGiveAnEmptyRequest) {
    AddClass(data, -1, "Neg");
    EXPECT_EQ(0, RemoveDevices(data));
    EXPECT_EQ("", request_seen);
}

// Every class of order 0 (a description from an INI section): record order.
TEST_F(DeviceRemoval, EqualOrdersKeepRecordOrder) {
    AddClass(data, 0, "B");
    AddClass(data, 0, "A");
    AddClass(data, 0, "C");
    EXPECT_EQ(0, RemoveDevices(data));
    EXPECT_EQ("Class=B\r\nClass=A\r\nClass=C\r\n", request_seen);
}

struct ResultCase {
    const char* name;
    std::string result;
    int expected;
    const char* tag;  // null: no report
    int32_t code;
};

TEST_F(DeviceRemoval, ResultFileDecidesTheOutcome) {
    const std::string long_line = "-1" + std::string(298, 'x') + "\n";  // 300 characters
    const ResultCase cases[] = {
        {"zero", "0\n", 0, nullptr, 0},
        {"twelve", "12\n", 0, nullptr, 0},
        {"no digits", "abc\n", 0, nullptr, 0},
        {"empty first line", "\n", 0, nullptr, 0},
        {"blanks and plus", "  +3 done\n", 0, nullptr, 0},
        {"wraps past 2^32", "4294967296\n", 0, nullptr, 0},
        {"wraps negative to positive", "-2147483649\n", 0, nullptr, 0},
        {"wraps positive to negative", "2147483648\n", 4, "DevMgr remove", 0},
        {"status only", "-1\n", 4, "DevMgr remove", 0},
        {"tag and code", "-1\nXLNWLD2K\n2301\n", 4, "XLNWLD2K", 2301},
        {"negative code", "-7\nTool\n-5\n", 4, "Tool", -5},
        {"code 4294967295", "-1\nTool\n4294967295\n", 4, "Tool", -1},
        {"code past 32 bits", "-1\nTool\n99999999999\n", 4, "Tool", -1},
        {"negative code past 32 bits", "-1\nTool\n-99999999999\n", 4, "Tool", -1},
        {"code with blanks and text", "-1\nTool\n \t42abc\n", 4, "Tool", 42},
        {"code without digits", "-1\nTool\nnone\n", 4, "Tool", 0},
        {"empty tag line", "-1\n\n9\n", 4, "", 9},
        {"tag without line end keeps its last character", "-1\nTool", 4, "Tool", 0},
        {"further lines ignored", "-1\nT\n1\n2\n3\n", 4, "T", 1},
        {"300-character line split", long_line + "7\n", 4,
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", 7},
    };
    for (const ResultCase& c : cases) {
        SetUp();
        RunMode = Quiet;
        InstallTool("D2K", c.result);
        EXPECT_EQ(c.expected, RemoveDevices(data)) << c.name;
        EXPECT_FALSE(fake::FileExists(kResult)) << c.name;
        EXPECT_FALSE(fake::FileExists(kRequest)) << c.name;
        if (c.tag) {
            EXPECT_STREQ(c.tag, ErrorState.module_tag) << c.name;
            EXPECT_EQ(c.code, ErrorState.code) << c.name;
            EXPECT_EQ(std::vector<std::string>{"DevMgr Error"}, Debugged()) << c.name;
        } else {
            EXPECT_TRUE(Debugged().empty()) << c.name;
        }
        TearDown();
    }
}

// The result is read as text: CR LF on disk ends a line like LF.
TEST_F(DeviceRemoval, ResultWithCrLfLines) {
    RunMode = Quiet;
    InstallTool("D2K", "-1\r\nTool\r\n12\r\n");
    EXPECT_EQ(4, RemoveDevices(data));
    EXPECT_STREQ("Tool", ErrorState.module_tag);
    EXPECT_EQ(12, ErrorState.code);
}

// A fourth line "restart" asks for the restart, except in "install" and
// whatever the status; any other fourth line does not.
TEST_F(DeviceRemoval, RestartLineSetsRestartNeeded) {
    struct Case {
        const char* name;
        std::string result;
        bool install;
        bool restart;
    };
    const Case cases[] = {
        {"removed, restart", "1\r\nXLNWLD9X\r\n0\r\nrestart\r\n", false, true},
        {"failed, restart", "-1\nXLNWLDNT\n5\nrestart", false, true},
        {"install mode", "1\nXLNWLD9X\n0\nrestart\n", true, false},
        {"three lines", "1\nXLNWLD2K\n0\n", false, false},
        {"other fourth line", "1\nXLNWLD2K\n0\nrestarts\n", false, false},
        {"a kept service, no restart", "1\nXLNWLD2K\n0\nkept service XLNW11\n", false, false},
    };
    for (const Case& c : cases) {
        SetUp();
        InstallMode = c.install;
        InstallTool("D2K", c.result);
        RemoveDevices(data);
        EXPECT_EQ(c.restart, RestartNeeded) << c.name;
        TearDown();
    }
}

// With a run log the request names it; what the tool appends there stays,
// and this program's later lines follow it.
TEST_F(DeviceRemoval, RequestNamesTheRunLogAndTheToolsLinesStay) {
    ASSERT_TRUE(OpenRunLog("C:\\run.log", true));
    stand_in::ScriptProcess(kToolFolder + std::string("XLNWLD2K.exe"), [this] {
        stand_in::ProcessScript script;
        script.on_run = [this] {
            request_seen = fake::FileContents(kRequest);
            fake::AddFile("C:\\run.log", fake::FileContents("C:\\run.log") + "tool line\r\n");
            fake::AddFile(kResult, "0\n");
        };
        return script;
    }());
    RemoveDevices(data);
    CloseRunLog();
    EXPECT_EQ("Log=C:\\run.log\r\n", request_seen);
    std::string log = fake::FileContents("C:\\run.log");
    size_t tool = log.find("tool line\r\n");
    ASSERT_NE(std::string::npos, tool);
    EXPECT_NE(std::string::npos, log.find("device tool result: status 0", tool)) << log;
}

TEST_F(DeviceRemoval, SilentFailureShowsNothing) {
    SetErrorState("before", 1);
    InstallTool("D2K", "-1\nTool\n5\n");
    EXPECT_EQ(4, RemoveDevices(data));
    EXPECT_STREQ("before", ErrorState.module_tag);
    EXPECT_EQ(1, ErrorState.code);
    EXPECT_TRUE(Debugged().empty());
}

struct FailureCase {
    const char* name;
    std::function<void(DeviceRemoval&)> arrange;
    int result;
    int32_t code;
    const char* diagnostic;
    bool request_left;
    bool result_left;
};

TEST_F(DeviceRemoval, EachFailureHasItsCode) {
    const std::string bad_read = std::string("Unable to read '") + kResult + "'";
    const FailureCase cases[] = {
        {"no Windows directory",
         [](DeviceRemoval&) { fake::FailCall("GetProcAddress", ERROR_PROC_NOT_FOUND); }, 2, 2169,
         "Unable to GetWindowsDirectory()", false, false},
        {"request cannot be created",
         [](DeviceRemoval&) { fake::AddFile(kRequest, "old", FILE_ATTRIBUTE_READONLY); }, 2, 2182,
         "Unable to create 'C:\\WINDOWS\\XLNWL.dms'", true, false},
        {"no module path",
         [](DeviceRemoval&) { fake::FailCall("GetModuleFileNameA", ERROR_INVALID_FUNCTION); }, 2,
         2220, "GetModuleFileName() failed", true, false},
        {"module path cut at its 1025 bytes",
         [](DeviceRemoval&) { fake::SetModulePath("C:\\" + std::string(1016, 'p') + "\\u.exe"); }, 2,
         2220, "GetModuleFileName() failed", true, false},
        {"tool missing",
         [](DeviceRemoval&) { fake::FailCall("CreateProcessA", ERROR_FILE_NOT_FOUND); }, 4, 2266,
         "CreateProcess() failed", true, false},
        {"wait fails",
         [](DeviceRemoval&) { fake::FailCall("WaitForSingleObject", ERROR_INVALID_HANDLE); }, 4,
         2272, "WaitForSingleObject() failed", true, true},
        {"no result file", [](DeviceRemoval& t) { t.InstallTool("D2K", "", false); }, 2, 2285,
         nullptr, false, false},
        {"empty result file", [](DeviceRemoval& t) { t.InstallTool("D2K", ""); }, 2, 2291, nullptr,
         false, true},
    };
    for (const FailureCase& c : cases) {
        SetUp();
        RunMode = Quiet;
        c.arrange(*this);
        EXPECT_EQ(c.result, RemoveDevices(data)) << c.name;
        EXPECT_STREQ("TAVK", ErrorState.module_tag) << c.name;
        EXPECT_EQ(c.code, ErrorState.code) << c.name;
        std::string diagnostic = c.diagnostic ? c.diagnostic : bad_read;
        EXPECT_EQ(std::vector<std::string>{diagnostic}, Debugged()) << c.name;
        EXPECT_EQ(c.request_left, fake::FileExists(kRequest)) << c.name;
        EXPECT_EQ(c.result_left, fake::FileExists(kResult)) << c.name;
        TearDown();
    }
}

// Without the tools beside the program the step says the tool cannot be
// started.
TEST_F(DeviceRemoval, MissingToolCannotBeStarted) {
    fake::FailCall("CreateProcessA", ERROR_FILE_NOT_FOUND, 0, std::string(kToolFolder) + "XLNWLD2K.exe");
    RunMode = Quiet;
    EXPECT_EQ(4, RemoveDevices(data));
    EXPECT_EQ(2266, ErrorState.code);
}

// A Windows directory longer than a short path buffer is used whole.
TEST_F(DeviceRemoval, LongWindowsDirectory) {
    std::string windows_dir = "C:\\" + std::string(120, 'w');
    fake::SetWindowsDirectory(windows_dir);
    fake::SetSharedWindowsDirectory(windows_dir);
    std::string request;
    stand_in::ProcessScript script;
    script.on_run = [&] {
        request = fake::FileExists(windows_dir + "\\XLNWL.dms") ? "seen" : "missing";
        fake::AddFile(windows_dir + "\\XLNWL.dmr", "0\n");
    };
    stand_in::ScriptProcess(std::string(kToolFolder) + "XLNWLD2K.exe", script);
    EXPECT_EQ(0, RemoveDevices(data));
    EXPECT_EQ("seen", request);
    EXPECT_FALSE(fake::FileExists(windows_dir + "\\XLNWL.dmr"));
}

struct ParseCase {
    const char* text;
    int32_t status;
    int32_t code;
};

TEST(DeviceToolNumbers, ReadLikeTheRunTime) {
    const ParseCase cases[] = {
        {"0", 0, 0},
        {"12\n", 12, 12},
        {"-1", -1, -1},
        {"", 0, 0},
        {"  \t+8x", 8, 8},
        {"- 5", 0, 0},
        {"2147483647", 2147483647, 2147483647},
        {"2147483648", (int32_t)0x80000000u, (int32_t)0x80000000u},
        {"4294967295", -1, -1},
        {"4294967296", 0, -1},
        {"-4294967295", 1, 1},
        {"-4294967296", 0, -1},
        {"99999999999999999999", 1661992959, -1},
    };
    for (const ParseCase& c : cases) {
        EXPECT_EQ(c.status, ParseStatus(c.text)) << c.text;
        EXPECT_EQ(c.code, ParseCode(c.text)) << c.text;
    }
}

}  // namespace

// The service programs' removal switch, alone in the "services" mode and as
// a removal step.
#include <string>
#include <vector>

#include "app/run_uninstall.h"
#include "app/win_main.h"
#include "removal/path_macros.h"
#include "removal/removal_steps.h"
#include "removal_fixture.h"

namespace {

const char kDescription[] = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo";

class ServiceUninstallers : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        memset(&data, 0, sizeof data);
        fake::AddFile("C:\\SVC\\A.EXE");
        fake::AddFile("C:\\SVC\\B.EXE");
        fake::AddFile("C:\\WINDOWS\\SYSTEM32\\XLNSVC.EXE");
        fake::AddFile("C:\\Program Files\\XLN\\svc.exe");
        fake::AddFile("C:\\Program.exe");  // what an unquoted blank would start
    }
    void Add(const std::string& entry) {
        lstrcpynA(data.installed_services[data.installed_service_count++], entry.c_str(),
                  TAVK_MAX_INSTALLED_FILE_NAME_LEN + 1);
    }
    std::vector<std::string> Started() {
        std::vector<std::string> lines;
        for (auto& process : stand_in::StartedProcesses()) lines.push_back(process.command_line);
        return lines;
    }
    UninstallData data;
};

struct CommandCase {
    const char* name;
    const char* entry;
    const char* command_line;
    const char* program;
};

TEST_F(ServiceUninstallers, EachEntryRunsWithTheSwitch) {
    const CommandCase cases[] = {
        {"switch appended", "C:\\SVC\\A.EXE", "\"C:\\SVC\\A.EXE\" -u", "C:\\SVC\\A.EXE"},
        {"text after the comma dropped", "C:\\SVC\\A.EXE,C:\\SVC\\B.EXE", "\"C:\\SVC\\A.EXE\" -u",
         "C:\\SVC\\A.EXE"},
        {"system directory macro", "%WIN_SYS_DIR%\\XLNSVC.EXE,x",
         "\"C:\\WINDOWS\\system32\\XLNSVC.EXE\" -u", "C:\\WINDOWS\\system32\\XLNSVC.EXE"},
        {"path with a blank quoted", "C:\\Program Files\\XLN\\svc.exe",
         "\"C:\\Program Files\\XLN\\svc.exe\" -u", "C:\\Program Files\\XLN\\svc.exe"},
        {"shortest prefix naming a file, started by its path", "C:\\SVC\\A Tools,x",
         "\"C:\\SVC\\A.exe\" Tools -u", "C:\\SVC\\A.exe"},
        {"program and arguments as written", "C:\\SVC\\A.EXE /quiet", "\"C:\\SVC\\A.EXE\" /quiet -u",
         "C:\\SVC\\A.EXE"},
        {"bare name from the system folder", "XLNSVC", "\"C:\\WINDOWS\\system32\\XLNSVC.exe\" -u",
         "C:\\WINDOWS\\system32\\XLNSVC.exe"},
        {"macro in lower case stays: no such program", "%win_sys_dir%\\XLNSVC.EXE", nullptr, nullptr},
    };
    for (const CommandCase& c : cases) {
        SetUp();
        Add(c.entry);
        EXPECT_EQ(0, RunServiceUninstallers(data)) << c.name;
        if (!c.command_line) {
            EXPECT_TRUE(fake::CallsTo("CreateProcessA").empty()) << c.name;
            TearDown();
            continue;
        }
        EXPECT_EQ(std::vector<std::string>{std::string("CreateProcessA ") + c.command_line},
                  fake::CallsTo("CreateProcessA"))
            << c.name;
        ASSERT_EQ(1u, stand_in::StartedProcesses().size()) << c.name;
        EXPECT_EQ(c.program, stand_in::StartedProcesses()[0].program) << c.name;
        EXPECT_EQ((DWORD)CREATE_NO_WINDOW, stand_in::StartedProcesses()[0].flags) << c.name;
        EXPECT_FALSE(stand_in::StartedProcesses()[0].inherit_handles) << c.name;
        TearDown();
    }
}

// Windows 95, 98 and Me do not support the no-window flag: there the
// programs start without it.
TEST_F(ServiceUninstallers, NoWindowFlagOnlyOnTheNtFamily) {
    const struct {
        const char* name;
        fake::WindowsVersion version;
        DWORD flags;
    } cases[] = {
        {"95", fake::kWin95, 0},
        {"98", fake::kWin98, 0},
        {"Me", fake::kWinMe, 0},
        {"NT 4", fake::kNT4, CREATE_NO_WINDOW},
        {"2000", fake::kWin2000, CREATE_NO_WINDOW},
        {"10", fake::kWin10, CREATE_NO_WINDOW},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetWindowsVersion(c.version);
        Add("C:\\SVC\\A.EXE");
        EXPECT_EQ(0, RunServiceUninstallers(data)) << c.name;
        ASSERT_EQ(1u, stand_in::StartedProcesses().size()) << c.name;
        EXPECT_EQ(c.flags, stand_in::StartedProcesses()[0].flags) << c.name;
        TearDown();
    }
}

// Each program ends before the next starts, and its handles are closed.
TEST_F(ServiceUninstallers, WaitsForEachInListOrder) {
    Add("C:\\SVC\\A.EXE");
    Add("C:\\SVC\\B.EXE");
    EXPECT_EQ(0, RunServiceUninstallers(data));
    std::vector<std::string> calls;
    int closes_due = 0;  // the process's two handles; others are the guardrails' file reads
    for (auto& call : fake::CallLog()) {
        bool close = call.rfind("CloseHandle", 0) == 0;
        if (call.rfind("CreateProcessA", 0) == 0 || call.rfind("WaitForSingleObject", 0) == 0 ||
            (close && closes_due-- > 0))
            calls.push_back(call);
        if (call.rfind("WaitForSingleObject", 0) == 0) closes_due = 2;
    }
    const std::vector<std::string> expected = {
        "CreateProcessA \"C:\\SVC\\A.EXE\" -u", "WaitForSingleObject 4294967295", "CloseHandle ",
        "CloseHandle ", "CreateProcessA \"C:\\SVC\\B.EXE\" -u", "WaitForSingleObject 4294967295",
        "CloseHandle ", "CloseHandle ",
    };
    EXPECT_EQ(expected, calls);
}

TEST_F(ServiceUninstallers, ProgramThatCannotStartIsPassedOver) {
    fake::FailCall("CreateProcessA", ERROR_FILE_NOT_FOUND, 0, "C:\\SVC\\A.EXE");
    fake::FailCall("CreateProcessA", ERROR_FILE_NOT_FOUND, 0, "C:\\SVC\\MISSING.EXE");
    Add("C:\\SVC\\MISSING.EXE");
    Add("C:\\SVC\\A.EXE");
    Add("");
    Add(",only a comment");
    Add("C:\\SVC\\B.EXE");
    EXPECT_EQ(0, RunServiceUninstallers(data));
    EXPECT_EQ(std::vector<std::string>{"\"C:\\SVC\\B.EXE\" -u"}, Started());
    EXPECT_EQ(2u, fake::CallsTo("CreateProcessA").size());  // none for the missing and empty ones
}

TEST_F(ServiceUninstallers, FailedWaitStillClosesTheHandles) {
    FailWaitsOn("C:\\SVC\\A.EXE");
    Add("C:\\SVC\\A.EXE");
    Add("C:\\SVC\\B.EXE");
    EXPECT_EQ(0, RunServiceUninstallers(data));
    EXPECT_EQ(2u, Started().size());
}

// Entries hold 128 characters; a long Windows directory makes them long.
// Expanded to 513 characters an entry ends the step before it is started,
// and later entries are not run; 512 characters are started.
TEST_F(ServiceUninstallers, ExpansionRoomIs512) {
    const std::string windows_dir = "C:\\" + std::string(249, 'w');  // 252 characters
    struct {
        const char* name;
        const char* tail;
        int result;
        size_t started;
    } cases[] = {
        {"512 characters", "SX.EXE", 0, 2},
        {"513 characters", "SXY.EXE", 2, 1},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetSharedWindowsDirectory(windows_dir);
        Add("C:\\SVC\\A.EXE");
        Add(std::string("%WIN_DIR%\\%WIN_DIR%\\") + c.tail);
        Add("C:\\SVC\\B.EXE");
        EXPECT_EQ(c.result, RunServiceUninstallers(data)) << c.name;
        auto starts = fake::CallsTo("CreateProcessA");
        EXPECT_EQ(c.started, starts.size()) << c.name;
        if (c.result == 0)  // looked for whole, found nowhere
            EXPECT_EQ(1u, fake::CallsTo("GetFullPathNameA " + windows_dir + "\\" + windows_dir +
                                        "\\SX.EXE").size())
                << c.name;
        TearDown();
    }
}

TEST_F(ServiceUninstallers, MissingDirectoryRunsNothing) {
    const char* apis[] = {"GetWindowsDirectoryA", "GetSystemDirectoryA"};
    for (const char* api : apis) {
        SetUp();
        fake::SetWindowsVersion(fake::kWin98);
        fake::FailCall(api, ERROR_INVALID_FUNCTION);
        Add("C:\\SVC\\A.EXE");
        EXPECT_EQ(2, RunServiceUninstallers(data)) << api;
        EXPECT_TRUE(Started().empty()) << api;
        TearDown();
    }
}

// The "services" word: the registry description's programs and nothing
// else, whatever the loader answered.
TEST_F(ServiceUninstallers, ServicesModeRunsTheRegisteredPrograms) {
    std::string services = std::string(kDescription) + "\\InstalledServices";
    fake::RegSeedString(services, "1", "C:\\SVC\\A.EXE,first");
    fake::RegSeedString(services, "2", "C:\\Program Files\\XLN\\svc.exe");
    fake::AddFile("C:\\SVC\\KEEP.DLL");
    auto files_before = fake::FileDump();
    auto registry_before = fake::RegDump();
    EXPECT_EQ(0, WinMain(nullptr, nullptr, (LPSTR) "services", 0));
    EXPECT_EQ((std::vector<std::string>{"\"C:\\SVC\\A.EXE\" -u",
                                        "\"C:\\Program Files\\XLN\\svc.exe\" -u"}),
              Started());
    EXPECT_EQ(files_before, fake::FileDump());
    EXPECT_EQ(registry_before, fake::RegDump());
    EXPECT_FALSE(RestartNeeded);
}

TEST_F(ServiceUninstallers, ServicesModeWithoutADescription) {
    EXPECT_EQ(0, WinMain(nullptr, nullptr, (LPSTR) "Services", 0));
    EXPECT_TRUE(Started().empty());
    fake::FailCall("GetSystemDirectoryA", ERROR_INVALID_FUNCTION);
    EXPECT_EQ(2, WinMain(nullptr, nullptr, (LPSTR) "services", 0));
}

}  // namespace

// A program is judged where CreateProcessA would find it, and started by
// that path: Windows' own is not started, however it is named and wherever
// it is found (on PATH too); the product's own program beside it is.
TEST_F(ServiceUninstallers, WindowsOwnProgramsAreNotStarted) {
    const struct {
        const char* entry;
        const char* command;  // null: not started
    } cases[] = {
        {"%WIN_SYS_DIR%\\cmd.exe /c del C:\\boot.ini", nullptr},
        {"%WIN_SYS_DIR%\\cmd /c del C:\\boot.ini", nullptr},
        {"cmd.exe /c del C:\\boot.ini", nullptr},
        {"\"C:\\WINDOWS\\system32\\cmd.exe\" /c del C:\\boot.ini", nullptr},
        {"C:\\WINDOWS\\system32\\CMD.EXE,x", nullptr},
        {"C:\\Program Files\\XLN,x", nullptr},  // would start C:\Program.exe, in the drive's root
        {"wmic process call create x", nullptr},  // found on PATH only
        {"SAME /x", nullptr},  // the system folder's comes before PATH's
        {"NOWHERE.EXE", nullptr},
        {"%WIN_SYS_DIR%\\XLNSVC.EXE", "\"C:\\WINDOWS\\system32\\XLNSVC.EXE\" -u"},
        {"XLNSVC.EXE", "\"C:\\WINDOWS\\system32\\XLNSVC.EXE\" -u"},
        {"XLNTOOL /x", "\"C:\\TOOLS\\XLNTOOL.exe\" /x -u"},
        {"OLD.EXE", "\"C:\\WINDOWS\\SYSTEM\\OLD.EXE\" -u"},  // the 16-bit system folder
        {"SAME.EXE", "\"C:\\Program Files\\XLN\\SAME.EXE\" -u"},  // beside this program: first
    };
    for (auto& c : cases) {
        SetUp();
        if (std::string(c.entry) == "SAME.EXE") fake::AddFile("C:\\Program Files\\XLN\\SAME.EXE");
        for (const char* windows : {"C:\\WINDOWS\\system32\\cmd.exe", "C:\\WINDOWS\\system32\\wbem\\wmic.exe",
                                    "C:\\WINDOWS\\system32\\SAME.EXE"}) {
            fake::AddFile(windows);
            fake::SetFileCompany(windows, "Microsoft Corporation");
        }
        fake::AddFile("C:\\TOOLS\\SAME.EXE");
        fake::AddFile("C:\\TOOLS\\XLNTOOL.EXE");
        fake::AddFile("C:\\WINDOWS\\SYSTEM\\OLD.EXE");
        // A folder too long to be one is passed over, and the search goes on.
        fake::SetEnvironmentValue("PATH", "C:\\WINDOWS\\system32\\wbem;;" + std::string(PATH_BUFFER_SIZE, 'P') +
                                              ";C:\\TOOLS\\");
        Add(c.entry);
        EXPECT_EQ(0, RunServiceUninstallers(data)) << c.entry;
        std::vector<std::string> expected;
        if (c.command) expected.push_back(c.command);
        EXPECT_EQ(expected, Started()) << c.entry;
        TearDown();
    }
}

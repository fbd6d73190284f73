// The removal sequence on a whole installation in the fake world: the
// hand-over, the confirmation, the steps' order seen through their effects,
// the progress dialog's messages and pauses, and the restart question.
#include <functional>
#include <string>
#include <vector>

#include "app/progress_dialog.h"
#include "app/progress_window.h"
#include "app/removal_sequence.h"
#include "removal_fixture.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const char kRunKey[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kEntry[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN WLAN";
const char kSetup[] = "C:\\Program Files\\XLN\\setup.exe";
const char kTool[] = "C:\\Program Files\\XLN\\XLNWLD2K.exe";
const char kService[] = "C:\\Program Files\\XLN\\xlnsvc.exe";
const char kLibrary[] = "C:\\Program Files\\XLN\\xln.dll";
const char kPrograms[] = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";
const char kShortcut[] =
    "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\XLN Wireless\\XLN Utility.lnk";
const char kListedKey[] = "HKLM\\SOFTWARE\\Tarnwell\\Keys";
const char kSoftwareKey[] = "HKLM\\SOFTWARE\\Tarnwell\\Wireless";
const char kDescriptionKey[] = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\UninstallInfo";

// Each step known by the first call that shows it at work.
struct StepMark {
    const char* step;
    const char* call;  // the start of the call-log line
    const char* part;  // and a text within it
};
const StepMark kSteps[] = {
    {"hand-over", "CreateProcessA ", "setup.exe"},
    {"applets", "RegDeleteValueA ", "XLNTray"},
    {"devices", "CreateProcessA ", "XLNWLD2K"},
    {"services", "CreateProcessA ", "xlnsvc.exe\" -u"},
    {"files", "SetFileInformationByHandle ", "xln.dll"},
    {"entry", "RegDeleteKeyA ", "Uninstall\\XLN WLAN"},
    {"keys", "RegDeleteKeyA ", "Tarnwell\\Keys"},
    {"software", "RegDeleteKeyA ", "Tarnwell\\Wireless"},
    {"description", "RegDeleteKeyA ", "UninstallInfo"},
    {"shortcut", "SetFileInformationByHandle ", "XLN Utility.lnk"},
};

const char kPauseWait[] = "MsgWaitForMultipleObjects 0 ";

bool StartsWith(const std::string& text, const std::string& start) {
    return text.compare(0, start.size(), start) == 0;
}

void Describe(UninstallData& d) {
    strcpy(d.uninstall_key, "XLN WLAN");
    d.applet_count = 1;
    strcpy(d.applets[0].window_class, "XLNTrayWnd");
    strcpy(d.applets[0].display_name, "XLN Tray");
    strcpy(d.applets[0].autorun_value, "XLNTray");
    strcpy(d.device, "XLNW");
    d.driver_model = DriverModelWdm2k;
    d.installed_service_count = 1;
    strcpy(d.installed_services[0], kService);
    d.installed_file_count = 1;
    strcpy(d.installed_files[0], kLibrary);
    d.registry_key_count = 1;
    d.registry_keys[0].base_key = HKEY_LOCAL_MACHINE;
    strcpy(d.registry_keys[0].key_path, "SOFTWARE\\Tarnwell\\Keys");
    d.registry_keys[0].delete_if_non_empty = 1;
    strcpy(d.software_key, "SOFTWARE\\Tarnwell\\Wireless");
    strcpy(d.description_key, "SOFTWARE\\Tarnwell\\802.11\\UninstallInfo");
    strcpy(d.cpl_shortcut_folder_name, "XLN Wireless");
    strcpy(d.cpl_shortcut_item_name, "XLN Utility");
}

// What the product's setup left on an XP machine.
void SeedInstallation(bool marker) {
    fake::SetWindowsVersion(fake::kWinXP);
    fake::RegSeedString(kRunKey, "XLNTray", "C:\\Program Files\\XLN\\tray.exe");
    fake::RegSeedString(kEntry, "UninstallString", std::string("\"") + kSetup + "\" -remove");
    if (marker) fake::RegSeedString(kEntry, "RemovalInProgress", "");
    fake::RegSeedKey(std::string(kListedKey) + "\\Profiles");
    fake::RegSeedString(kSoftwareKey, "Path", "C:\\Program Files\\XLN");
    fake::RegSeedString(kDescriptionKey, "Device", "XLNW");
    for (const char* file : {kSetup, kTool, kService, kLibrary, kShortcut}) fake::AddFile(file);
    stand_in::SetSpecialFolder(CSIDL_COMMON_PROGRAMS, kPrograms);
    stand_in::ProcessScript tool;
    tool.on_run = [] { fake::AddFile("C:\\WINDOWS\\XLNWL.dmr", "0\n"); };
    stand_in::ScriptProcess(kTool, tool);
}

class RemovalSequence : public RemovalTest {
protected:
    void SetUp() override { Arrange(true, false); }
    void TearDown() override {
        if (dialog) CloseProgressWindow(dialog);
        RemovalTest::TearDown();
    }

    // A fresh world, record and (in Verbose) dialog; the marker makes the
    // registered command stand aside.
    void Arrange(bool marker, bool with_dialog) {
        RemovalTest::SetUp();
        memset(&data, 0, sizeof data);
        Describe(data);
        SeedInstallation(marker);
        RunMode = with_dialog ? Verbose : Quiet;
        dialog = with_dialog ? CreateProgressDialog(nullptr) : nullptr;
        if (with_dialog) ASSERT_NE(nullptr, dialog);
        calls_before = fake::CallLog().size();
        commands_before = DialogCommands().size();
    }

    int Run() { return RunRemovalSequence(dialog, data); }

    std::vector<stand_in::ProgressCommand> DialogCommands() {
        std::vector<stand_in::ProgressCommand> commands;
        for (const stand_in::ProgressCommand& m : stand_in::ProgressCommands())
            if (dialog && m.dialog == dialog) commands.push_back(m);
        return commands;
    }

    // The run as one line of events: steps, dialog commands, showing and
    // hiding, pauses and message boxes, in the order they happened.
    std::vector<std::string> Timeline() {
        std::vector<std::string> events;
        std::vector<bool> seen(sizeof kSteps / sizeof kSteps[0]);
        std::vector<stand_in::ProgressCommand> commands = DialogCommands();
        size_t command = commands_before;
        const std::vector<std::string>& log = fake::CallLog();
        for (size_t i = calls_before; i < log.size(); ++i) {
            const std::string& line = log[i];
            for (size_t s = 0; s < seen.size(); ++s) {
                if (seen[s] || !StartsWith(line, kSteps[s].call) ||
                    line.find(kSteps[s].part) == std::string::npos)
                    continue;
                seen[s] = true;
                events.push_back(kSteps[s].step);
            }
            if (StartsWith(line, "Sleep ")) events.push_back("sleep " + line.substr(6));
            // A pause that answers messages waits for them with its time-out.
            if (StartsWith(line, kPauseWait)) events.push_back("sleep " + line.substr(strlen(kPauseWait)));
            if (StartsWith(line, "ShowWindow #32770")) events.push_back("show " + line.substr(line.rfind(' ') + 1));
            if (StartsWith(line, "MessageBoxA ")) events.push_back("box " + line.substr(12));
            if (StartsWith(line, "SendMessageA #32770") && line.substr(line.rfind(' ') + 1) == "273" &&
                command < commands.size())
                events.push_back(CommandText(commands[command++]));
        }
        return events;
    }

    static std::string CommandText(const stand_in::ProgressCommand& m) {
        static const char* const kNames[] = {"title ", "text ", "pos "};
        std::string name = m.command < 3 ? kNames[m.command] : "command? ";
        return name + std::to_string(m.argument);
    }

    // Only the steps, in the order they ran.
    std::vector<std::string> Steps() {
        std::vector<std::string> steps;
        for (const std::string& event : Timeline())
            for (const StepMark& mark : kSteps)
                if (event == mark.step) steps.push_back(event);
        return steps;
    }

    bool NothingRemoved() {
        return fake::RegValueExists(kRunKey, "XLNTray") && fake::RegKeyExists(kEntry) &&
               fake::RegKeyExists(kListedKey) && fake::RegKeyExists(kSoftwareKey) &&
               fake::RegKeyExists(kDescriptionKey) && fake::FileExists(kLibrary) &&
               fake::FileExists(kShortcut) && stand_in::StartedCommandLines().empty();
    }

    bool EverythingRemoved() {
        return !fake::RegValueExists(kRunKey, "XLNTray") && !fake::RegKeyExists(kEntry) &&
               !fake::RegKeyExists(kListedKey) && !fake::RegKeyExists(kSoftwareKey) &&
               !fake::RegKeyExists(kDescriptionKey) && !fake::FileExists(kLibrary) &&
               !fake::FileExists(kShortcut);
    }

    UninstallData data;
    HWND dialog = nullptr;
    size_t calls_before = 0;
    size_t commands_before = 0;
};

const std::vector<std::string> kLocalSteps = {"applets",  "services", "files",       "entry",
                                              "keys",     "software", "description", "shortcut"};
const std::vector<std::string> kLocalStepsWithDevices = {
    "applets", "devices", "services", "files", "entry", "keys", "software", "description", "shortcut"};

TEST_F(RemovalSequence, StepsRunInTheirFixedOrder) {
    const struct {
        const char* name;
        bool dialog;
        int32_t remove_device;
    } cases[] = {
        {"no dialog", false, 0},
        {"no dialog, devices", false, 1},
        {"dialog", true, 0},
        {"dialog, devices", true, 1},
    };
    for (auto& c : cases) {
        Arrange(true, c.dialog);
        data.remove_device = c.remove_device;
        EXPECT_EQ(0, Run()) << c.name;
        EXPECT_EQ(c.remove_device ? kLocalStepsWithDevices : kLocalSteps, Steps()) << c.name;
        EXPECT_TRUE(EverythingRemoved()) << c.name;
        EXPECT_TRUE(Reports().empty()) << c.name << ": a step reported a failure";
        // The protected places (the profiles among them) are gathered once for the run.
        EXPECT_EQ(1u, fake::CallsTo("RegOpenKeyA HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList").size())
            << c.name;
        // Without a dialog: no confirmation, no pause, nothing of its own shown.
        EXPECT_EQ(c.dialog ? 1u : 0u, stand_in::MessageBoxes().size()) << c.name;
        if (!c.dialog) EXPECT_EQ(0u, fake::SleptMilliseconds()) << c.name;
        if (!c.dialog) EXPECT_TRUE(fake::CallsTo("ShowWindow").empty()) << c.name;
        if (c.dialog) CloseProgressWindow(dialog);
        dialog = nullptr;
    }
}

TEST_F(RemovalSequence, DialogShowsEachStageAndPausesBetween) {
    const std::vector<std::string> before_services = {
        "box Confirm Removal", "title 3", "show 5", "text 7", "pos 30", "applets", "sleep 500"};
    const std::vector<std::string> devices = {"text 6", "pos 50", "devices", "show 5", "sleep 500"};
    const std::vector<std::string> rest = {
        "text 8",  "pos 60",    "services", "sleep 500",   "text 9",    "pos 70",    "files",
        "sleep 500", "text 10", "pos 80",   "entry",       "sleep 500", "text 11",   "pos 85",
        "sleep 500", "text 12", "pos 100",  "keys",        "software",  "description", "shortcut",
        "sleep 1000", "show 0"};
    for (int32_t remove_device : {0, 1}) {
        Arrange(true, true);
        data.remove_device = remove_device;
        ASSERT_EQ(0, Run()) << "remove_device " << remove_device;
        std::vector<std::string> expected = before_services;
        if (remove_device) expected.insert(expected.end(), devices.begin(), devices.end());
        expected.insert(expected.end(), rest.begin(), rest.end());
        EXPECT_EQ(expected, Timeline()) << "remove_device " << remove_device;
        EXPECT_EQ(remove_device ? 4000u : 3500u, fake::SleptMilliseconds());
        const stand_in::ProgressWindow& shown = *stand_in::Dialog(dialog);
        EXPECT_EQ("Removing the XLN 802.11g Network Adapter", shown.title);
        EXPECT_FALSE(shown.visible) << "the dialog stays up after the run";
        CloseProgressWindow(dialog);
        dialog = nullptr;
    }
}

// The dialog is up while the steps work: a service program sees it.
TEST_F(RemovalSequence, DialogIsVisibleWhileTheStepsRun) {
    Arrange(true, true);
    bool visible_during = false;
    stand_in::ProcessScript service;
    service.on_run = [&] { visible_during = stand_in::Dialog(dialog)->visible; };
    stand_in::ScriptProcess(kService, service);
    EXPECT_FALSE(stand_in::Dialog(dialog)->visible);
    ASSERT_EQ(0, Run());
    EXPECT_TRUE(visible_during);
}

// While each started program runs, what is sent to the dialog is answered
// by the wait for it.
TEST_F(RemovalSequence, DialogKeepsAnsweringWhileProgramsRun) {
    for (const char* program : {kSetup, kTool, kService}) {
        Arrange(false, true);
        data.force_local_uninstall = data.remove_device = 1;
        stand_in::ProcessScript script;
        std::string tool = kTool;
        script.on_run = [=, target = dialog] {
            stand_in::QueueThreadMessage(target, WM_NULL, 0, 0);
            if (program == tool) fake::AddFile("C:\\WINDOWS\\XLNWL.dmr", "0\n");
        };
        stand_in::ScriptProcess(program, script);
        ASSERT_EQ(0, Run()) << program;
        EXPECT_EQ(0u, stand_in::WaitingMessageCount()) << program;
        EXPECT_EQ(3u, fake::CallsTo("MsgWaitForMultipleObjects 1 ").size()) << program;
        EXPECT_EQ(1u, fake::CallsTo("DispatchMessageA 0").size()) << program;
        CloseProgressWindow(dialog);
        dialog = nullptr;
    }
}

TEST_F(RemovalSequence, RegisteredCommandMayTakeTheRemovalOver) {
    const struct {
        const char* name;
        bool dialog;
        bool marker;  // the command was started once before
        bool starts;
        int32_t force_local;
        bool local;  // the local steps run
    } cases[] = {
        {"ends, verbose", true, false, true, 0, false},
        {"ends, no dialog", false, false, true, 0, false},
        {"ends, forced local, verbose", true, false, true, 1, true},
        {"ends, forced local, no dialog", false, false, true, 1, true},
        {"cannot start", true, false, false, 0, true},
        {"started before", true, true, true, 0, true},
    };
    for (auto& c : cases) {
        Arrange(c.marker, c.dialog);
        data.force_local_uninstall = c.force_local;
        RestartNeeded = true;  // an earlier run's; no question when handed over
        if (!c.starts) fake::FailCall("CreateProcessA", ERROR_FILE_NOT_FOUND, 0, kSetup);
        EXPECT_EQ(0, Run()) << c.name;
        // Tried first, before any confirmation, unless it was tried before.
        std::vector<std::string> steps = Steps();
        bool tried = !c.marker;
        EXPECT_EQ(tried, Timeline().at(0) == "hand-over") << c.name;
        if (tried) steps.erase(steps.begin());
        EXPECT_EQ(c.local ? kLocalSteps : std::vector<std::string>{}, steps) << c.name;
        size_t boxes = c.local && c.dialog ? 1 : 0;  // the confirmation
        EXPECT_EQ(boxes, stand_in::MessageBoxes().size()) << c.name;
        if (!c.local) EXPECT_TRUE(fake::CallsTo("ShowWindow").empty()) << c.name;
        if (!c.local) EXPECT_TRUE(DialogCommands().size() == commands_before) << c.name;
        if (!c.local) EXPECT_EQ(0u, fake::SleptMilliseconds()) << c.name;
        if (dialog) CloseProgressWindow(dialog);
        dialog = nullptr;
    }
}

TEST_F(RemovalSequence, NotConfirmedRemovesNothing) {
    const std::string overrides = "HKLM\\SOFTWARE\\Tarnwell\\802.11\\LocalizedStrings\\UNINST\\9\\1";
    const struct {
        const char* name;
        std::function<void()> arrange;
        int result;
        bool asked;
    } cases[] = {
        {"Cancel", [] { stand_in::AnswerMessageBoxes({IDCANCEL}); }, 5, true},
        {"box fails", [] { fake::FailCall("MessageBoxA", 8); }, 5, true},
        {"no texts", [] { fake::FailCall("FindResourceExA", 1815, 0, "6\\1"); }, 6, false},
        {"caption missing",
         [&] {
             fake::FailCall("FindResourceExA", 1815, 0, "6\\1");
             fake::RegSeedWideString(overrides, "2", u"Remove it?");
         },
         6, false},
        {"text missing",
         [&] {
             fake::FailCall("FindResourceExA", 1815, 0, "6\\1");
             fake::RegSeedWideString(overrides, "1", u"Confirm");
         },
         6, false},
    };
    for (auto& c : cases) {
        Arrange(true, true);
        c.arrange();
        RestartNeeded = true;
        auto registry = fake::RegDump();
        auto files = fake::FileDump();
        EXPECT_EQ(c.result, Run()) << c.name;
        EXPECT_EQ(c.asked ? 1u : 0u, fake::CallsTo("MessageBoxA").size()) << c.name;
        EXPECT_EQ(registry, fake::RegDump()) << c.name;
        EXPECT_EQ(files, fake::FileDump()) << c.name;
        EXPECT_TRUE(fake::CallsTo("ShowWindow").empty()) << c.name;
        EXPECT_EQ(0u, fake::SleptMilliseconds()) << c.name;
        CloseProgressWindow(dialog);
        dialog = nullptr;
    }
}

TEST_F(RemovalSequence, ConfirmationAsksWithItsTexts) {
    Arrange(true, true);
    stand_in::AnswerMessageBoxes({IDCANCEL});
    ASSERT_EQ(5, Run());
    ASSERT_EQ(1u, stand_in::MessageBoxes().size());
    const stand_in::MessageBoxShown& box = stand_in::MessageBoxes()[0];
    EXPECT_EQ("This will remove the XLN 802.11g Network Adapter from your computer. Continue?", box.text);
    EXPECT_EQ("Confirm Removal", box.caption);
    EXPECT_EQ((UINT)(MB_OKCANCEL | MB_ICONQUESTION), box.style);
}

// The question waits for the end of the whole process (the driver's);
// the sequence only notes that a restart is needed.
TEST_F(RemovalSequence, LeavesTheRestartQuestionToTheEnd) {
    const struct {
        const char* name;
        bool dialog;
        bool earlier;  // RestartNeeded set by an earlier run
        bool locked;   // this run defers a deletion
        bool needed;
    } cases[] = {
        {"earlier run, verbose", true, true, false, true},
        {"earlier run, silent", false, true, false, true},
        {"this run, silent", false, false, true, true},
        {"this run, verbose", true, false, true, true},
        {"none, verbose", true, false, false, false},
        {"none, silent", false, false, false, false},
    };
    for (auto& c : cases) {
        Arrange(true, c.dialog);
        if (!c.dialog) RunMode = Silent;
        RestartNeeded = c.earlier;
        fake::SetFileLocked(kLibrary, c.locked);
        EXPECT_EQ(0, Run()) << c.name;
        std::vector<std::string> events = Timeline();
        ASSERT_FALSE(events.empty()) << c.name;
        EXPECT_TRUE(fake::CallsTo("MessageBoxA Restart Windows").empty()) << c.name;
        EXPECT_TRUE(stand_in::ShutdownRequests().empty()) << c.name;
        EXPECT_EQ(c.needed, RestartNeeded) << c.name;
        if (c.dialog) EXPECT_EQ("show 0", events.back()) << c.name;
        if (dialog) CloseProgressWindow(dialog);
        dialog = nullptr;
    }
}

}  // namespace

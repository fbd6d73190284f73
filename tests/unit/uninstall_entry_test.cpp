// The hand-over to the registered uninstall command, its marker, and the
// deletion of the product's uninstall entry.
#include "removal/removal_steps.h"

#include "removal_test_support.h"

namespace {

const char kRegistration[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kEntry[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN Wireless";
const char kMarker[] = "RemovalInProgress";
HWND const kDialog = (HWND)(ULONG_PTR)0x5150;

UninstallData& EntryWorld() {
    UninstallData& data = FreshWorld();
    strcpy(data.uninstall_key, "XLN Wireless");
    fake::RegSeedKey(kRegistration);
    return data;
}

void SeedCommand(const char* name, const std::string& command) {
    fake::RegSeedString(kEntry, name, command);
}

TEST(RunRegisteredUninstaller, PrefersTheCommandThatSuitsTheDialog) {
    const struct {
        const char* name;
        bool dialog;
        const char* interactive;  // null: value missing
        const char* quiet;
        const char* started;
    } cases[] = {
        {"dialog, both", true, "C:\\P\\setup.exe -r", "C:\\P\\setup.exe -r -s", "C:\\P\\setup.exe -r"},
        {"dialog, only quiet", true, nullptr, "C:\\P\\q.exe", "C:\\P\\q.exe"},
        {"no dialog, both", false, "C:\\P\\i.exe", "C:\\P\\q.exe", "C:\\P\\q.exe"},
        {"no dialog, only interactive", false, "C:\\P\\i.exe", nullptr, "C:\\P\\i.exe"},
        {"dialog, interactive empty", true, "", "C:\\P\\q.exe", "C:\\P\\q.exe"},
    };
    for (auto& c : cases) {
        UninstallData& data = EntryWorld();
        if (c.interactive) SeedCommand("UninstallString", c.interactive);
        if (c.quiet) SeedCommand("QuietUninstallString", c.quiet);
        EXPECT_EQ(0, RunRegisteredUninstaller(c.dialog ? kDialog : nullptr, data)) << c.name;
        EXPECT_EQ(std::vector<std::string>{c.started}, stand_in::StartedCommandLines()) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(RunRegisteredUninstaller, TakesTheCommandAsStoredWhateverItsType) {
    const struct {
        const char* name;
        std::string first;  // bytes of the preferred value
        DWORD type;
        const char* started;
    } cases[] = {
        {"binary without terminator", "C:\\P\\u.exe", REG_BINARY, "C:\\P\\u.exe"},
        {"expandable, not expanded", std::string("%ProgramFiles%\\u.exe\0", 21), REG_EXPAND_SZ,
         "%ProgramFiles%\\u.exe"},
        {"512 characters", "C:\\" + std::string(509, 'u'), REG_BINARY, nullptr},
        {"513 characters without terminator: the other value", "C:\\" + std::string(510, 'u'),
         REG_BINARY, "C:\\P\\second.exe"},
        {"600 characters: the other value", std::string("C:\\") + std::string(597, 'u') + '\0',
         REG_SZ, "C:\\P\\second.exe"},
    };
    for (auto& c : cases) {
        UninstallData& data = EntryWorld();
        fake::RegSeedBytes(kEntry, "QuietUninstallString", c.type, c.first);
        SeedCommand("UninstallString", "C:\\P\\second.exe");
        EXPECT_EQ(0, RunRegisteredUninstaller(nullptr, data)) << c.name;
        std::string started = c.started ? c.started : c.first;
        EXPECT_EQ(std::vector<std::string>{started}, stand_in::StartedCommandLines()) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(RunRegisteredUninstaller, ACommandWithoutBackslashIsLookedForInTheWindowsDirectory) {
    const struct {
        const char* name;
        const char* command;
        const char* started;
    } cases[] = {
        {"bare name with arguments", "xlnun.exe /remove all", "C:\\WINDOWS\\xlnun.exe /remove all"},
        {"full path", "D:\\Tools\\xlnun.exe", "D:\\Tools\\xlnun.exe"},
        {"quoted path with arguments", "\"D:\\My Tools\\u.exe\" -x", "\"D:\\My Tools\\u.exe\" -x"},
        {"backslash only in the arguments", "rundll32 a.dll,Run C:\\x", "rundll32 a.dll,Run C:\\x"},
    };
    for (auto& c : cases) {
        UninstallData& data = EntryWorld();
        SeedCommand("UninstallString", c.command);
        EXPECT_EQ(0, RunRegisteredUninstaller(kDialog, data)) << c.name;
        EXPECT_EQ(std::vector<std::string>{c.started}, stand_in::StartedCommandLines()) << c.name;
        ExpectNothingOpen(c.name);
    }
}

// The Windows directory in front must not push the command past 512
// characters: a cut command would start something else.
TEST(RunRegisteredUninstaller, ACommandThatNoLongerFitsIsNotStarted) {
    const std::string windows_dir = "C:\\WINDOWS";  // 10 characters
    const struct {
        const char* name;
        size_t command_length;
        int result;
    } cases[] = {
        {"512 with the directory", 512 - 11, 0},
        {"513 with the directory", 513 - 11, 4},
        {"512 alone", 512, 4},
    };
    for (auto& c : cases) {
        UninstallData& data = EntryWorld();
        std::string command(c.command_length, 'u');
        SeedCommand("UninstallString", command);
        EXPECT_EQ(c.result, RunRegisteredUninstaller(kDialog, data)) << c.name;
        if (c.result == 0) {
            EXPECT_EQ(std::vector<std::string>{windows_dir + "\\" + command},
                      stand_in::StartedCommandLines())
                << c.name;
        } else {
            EXPECT_TRUE(fake::CallsTo("CreateProcessA").empty()) << c.name;
            EXPECT_FALSE(fake::RegValueExists(kEntry, kMarker)) << c.name;
        }
        ExpectNothingOpen(c.name);
    }
}

struct ResultCase {
    const char* name;
    void (*arrange)(UninstallData& data);
    int result;
    bool started;
    bool marker_after;
};

TEST(RunRegisteredUninstaller, ResultForEachOutcome) {
    const ResultCase cases[] = {
        {"started and ended", [](UninstallData&) {}, 0, true, true},
        {"no uninstall registration", [](UninstallData&) { fake::Reset(); }, 2, false, false},
        {"no product entry", [](UninstallData& d) { strcpy(d.uninstall_key, "Other"); }, 1, false,
         false},
        {"empty entry name: the registration key is no entry",
         [](UninstallData& d) {
             d.uninstall_key[0] = 0;
             fake::RegSeedString(kRegistration, "UninstallString", "C:\\x.exe");
         },
         1, false, false},
        {"no command value",
         [](UninstallData& d) {
             strcpy(d.uninstall_key, "Bare");
             fake::RegSeedString(std::string(kRegistration) + "\\Bare", "DisplayName", "x");
         },
         1, false, false},
        {"marker already there",
         [](UninstallData&) { fake::RegSeedBytes(kEntry, kMarker, REG_DWORD, "\1\0\0\0"); }, 1,
         false, true},
        {"marker cannot be written",
         [](UninstallData&) { fake::FailCall("RegSetValueExA", ERROR_ACCESS_DENIED); }, 1, false,
         false},
        {"no Windows directory",
         [](UninstallData&) { fake::FailCall("GetSystemWindowsDirectoryA", ERROR_ACCESS_DENIED); },
         2, false, false},
        {"entry cannot be closed",
         [](UninstallData&) { fake::FailCall("RegCloseKey", ERROR_REGISTRY_IO_FAILED, 1, "XLN Wireless"); },
         2, false, true},
        {"registration cannot be closed",
         [](UninstallData&) { fake::FailCall("RegCloseKey", ERROR_REGISTRY_IO_FAILED, 1, "Uninstall"); },
         2, false, true},
        {"cannot be started",
         [](UninstallData&) { fake::FailCall("CreateProcessA", ERROR_FILE_NOT_FOUND); },
         4, false, true},
        {"wait fails",
         [](UninstallData&) { FailWaitsOn("C:\\P\\u.exe"); },
         4, true, true},
        {"exit code is not looked at",
         [](UninstallData&) {
             stand_in::ProcessScript script;
             script.exit_code = 1603;
             stand_in::ScriptNextProcess(script);
         },
         0, true, true},
    };
    for (const ResultCase& c : cases) {
        UninstallData& data = EntryWorld();
        SeedCommand("UninstallString", "C:\\P\\u.exe");
        c.arrange(data);
        bool had_marker = fake::RegValueExists(kEntry, kMarker);
        std::string marker_before = fake::RegValueBytes(kEntry, kMarker);
        EXPECT_EQ(c.result, RunRegisteredUninstaller(kDialog, data)) << c.name;
        EXPECT_EQ(c.started, !stand_in::StartedCommandLines().empty()) << c.name;
        EXPECT_EQ(c.marker_after && fake::RegKeyExists(kEntry),
                  fake::RegValueExists(kEntry, kMarker))
            << c.name;
        if (had_marker) {
            EXPECT_EQ(marker_before, fake::RegValueBytes(kEntry, kMarker)) << c.name;
        }
        EXPECT_FALSE(fake::RegValueExists(kRegistration, kMarker)) << c.name;
        EXPECT_FALSE(fake::RegValueExists(std::string(kRegistration) + "\\Bare", kMarker)) << c.name;
        EXPECT_TRUE(Reports().empty()) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(RunRegisteredUninstaller, TheMarkerIsWrittenBeforeTheStartAndBlocksASecondRun) {
    UninstallData& data = EntryWorld();
    SeedCommand("UninstallString", "C:\\P\\u.exe");
    std::string marker_at_start = "(none)";
    stand_in::ProcessScript script;
    script.on_run = [&] {
        if (fake::RegValueExists(kEntry, kMarker)) marker_at_start = fake::RegValueBytes(kEntry, kMarker);
        // A second run of this program, started by the registered command.
        EXPECT_EQ(1, RunRegisteredUninstaller(nullptr, data));
    };
    stand_in::ScriptNextProcess(script);
    EXPECT_EQ(0, RunRegisteredUninstaller(kDialog, data));
    EXPECT_EQ(std::string(1, '\0'), marker_at_start);
    EXPECT_EQ(1u, stand_in::StartedCommandLines().size());
    EXPECT_EQ(std::string(1, '\0'), fake::RegValueBytes(kEntry, kMarker));
    EXPECT_EQ(1, RunRegisteredUninstaller(kDialog, data));
    EXPECT_EQ(1u, stand_in::StartedCommandLines().size());
    ExpectNothingOpen("marker");
}

TEST(RunRegisteredUninstaller, TheCommandMayRemoveItsOwnEntry) {
    UninstallData& data = EntryWorld();
    SeedCommand("UninstallString", "C:\\P\\u.exe");
    stand_in::ProcessScript script;
    script.on_run = [&] { EXPECT_EQ(0, RemoveUninstallEntry(data)); };
    stand_in::ScriptNextProcess(script);
    EXPECT_EQ(0, RunRegisteredUninstaller(kDialog, data));
    EXPECT_FALSE(fake::RegKeyExists(kEntry));
    ExpectNothingOpen("entry removed by the command");
}

TEST(RemoveUninstallEntry, DeletesTheEntryAndReportsOnlyAFailedClose) {
    const struct {
        const char* name;
        const char* uninstall_key;
        const char* fail_api;
        const char* fail_subject;
        int result;
        bool entry_kept;
        std::vector<std::string> reports;
        int32_t code;
    } cases[] = {
        {"entry with subkeys and marker", "XLN Wireless", nullptr, "", 0, false, {}, 0},
        {"no entry name", "", nullptr, "", 0, true, {}, 0},
        {"name of one backslash", "\\", nullptr, "", 0, true, {}, 0},
        {"name of backslashes only", "\\\\\\", nullptr, "", 0, true, {}, 0},
        {"entry already gone", "Other", nullptr, "", 0, true, {}, 0},
        {"close fails", "XLN Wireless", "RegCloseKey", "XLN Wireless", 2, true,
         {"RegCloseKey() failed"}, 2381},
        {"a value cannot be deleted", "XLN Wireless", "RegDeleteValueA", "XLN Wireless", 2, true,
         {"RegDeleteValue() failed"}, 2784},
    };
    for (auto& c : cases) {
        UninstallData& data = EntryWorld();
        strcpy(data.uninstall_key, c.uninstall_key);
        SeedCommand("UninstallString", "C:\\P\\u.exe");
        fake::RegSeedString(kEntry, kMarker, "");
        fake::RegSeedString(std::string(kEntry) + "\\Sub", "v", "x");
        fake::RegSeedString(std::string(kRegistration) + "\\Neighbour", "UninstallString", "x");
        if (c.fail_api) fake::FailCall(c.fail_api, ERROR_ACCESS_DENIED, 1, c.fail_subject);
        EXPECT_EQ(c.result, RemoveUninstallEntry(data)) << c.name;
        EXPECT_EQ(c.entry_kept, fake::RegKeyExists(kEntry)) << c.name;
        EXPECT_TRUE(fake::RegKeyExists(std::string(kRegistration) + "\\Neighbour")) << c.name;
        EXPECT_EQ(c.reports, Reports()) << c.name;
        EXPECT_EQ(c.code, ErrorState.code) << c.name;
        ExpectNothingOpen(c.name);
    }
}

// An entry whose DisplayName or Publisher names another product or maker
// is another program's: its command is not started, no marker is written
// and the entry stays. One that names neither is the product's.
TEST(UninstallEntryOwner, AnotherProgramsEntryIsLeftWhole) {
    const struct {
        const char* name;
        const char* display_name;  // null: value missing
        const char* publisher;
        bool products;
    } cases[] = {
        {"neither value, a Windows command", nullptr, nullptr, true},
        {"blank values count as none", " ", "", true},
        {"the record's product name, any case", "xln wireless 2.0", nullptr, true},
        {"the messages' product name", "XLN 802.11g Network Adapter", "Tarnwell Inc.", true},
        {"the short company name inside the publisher", nullptr, "XLN Communications", true},
        {"a publisher that is part of the maker's name", "XLN Wireless", "Tarn", true},
        {"another product", "Other App", nullptr, false},
        {"another maker", "XLN Wireless", "Contoso Ltd.", false},
        {"a double-byte character before the name", "\x83\x40XLN Wireless", nullptr, true},
        {"a trail byte is no letter of the name", "\x83XLN Wireless", nullptr, false},
    };
    for (auto& c : cases) {
        UninstallData& data = EntryWorld();
        fake::SetAnsiCodePage(932);
        strcpy(data.full_product_name, "XLN Wireless");
        strcpy(data.short_company_name, "XLN");
        SeedCommand("QuietUninstallString", "msiexec /x {1234}");
        if (c.display_name) SeedCommand("DisplayName", c.display_name);
        if (c.publisher) SeedCommand("Publisher", c.publisher);
        EXPECT_EQ(c.products ? 0 : 1, RunRegisteredUninstaller(nullptr, data)) << c.name;
        EXPECT_EQ(c.products, fake::RegValueExists(kEntry, kMarker)) << c.name;
        EXPECT_EQ(c.products ? 1u : 0u, stand_in::StartedCommandLines().size()) << c.name;
        EXPECT_EQ(0, RemoveUninstallEntry(data)) << c.name;
        EXPECT_EQ(!c.products, fake::RegKeyExists(kEntry)) << c.name;
        ExpectNothingOpen(c.name);
    }
}

}  // namespace

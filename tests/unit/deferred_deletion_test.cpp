// Deletions left for the restart: a schedule Windows refuses is logged as
// failed and asks for no restart, WININIT.INI is written out before the
// question, and on 64-bit Windows a system file is named where this 32-bit
// program saw it.
#include <string>
#include <vector>

#include "app/run_uninstall.h"
#include "app/win_main.h"
#include "app/removal_sequence.h"
#include "removal/removal_steps.h"
#include "removal/system_changes.h"
#include "removal_fixture.h"
#include "system/run_log.h"
#include "system/windows_family.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const char kLocked[] = "C:\\Program Files\\XLN\\xlnhelper.exe";
const char kWininit[] = "C:\\WINDOWS\\WININIT.INI";
const char kLog[] = "C:\\run.log";

class DeferredDeletion : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        WininitWritten = false;
        NoRestartRun = false;
        data = &ClearedRecord();
    }
    void TearDown() override {
        NoRestartRun = false;
        RemovalTest::TearDown();
    }
    void ListLocked(const char* entry, const char* file) {
        fake::AddFile(file);
        fake::SetFileLocked(file, true);
        strcpy(data->installed_files[data->installed_file_count++], entry);
    }
    // The step's run log.
    std::string RemoveFilesLogged() {
        OpenRunLog(kLog, true);
        RemoveInstalledFiles(*data);
        CloseRunLog();
        return fake::FileContents(kLog);
    }
    UninstallData* data;
};

// A full "rename" section: no room for one more line.
std::string FullSection() {
    std::string text = "[rename]\r\nNUL=C:\\A.DLL\r\n";
    while (text.size() < 9000) text += "C:\\KEEP" + std::to_string(text.size()) + ".DLL=C:\\X.DLL\r\n";
    return text;
}

TEST_F(DeferredDeletion, ARefusedScheduleIsAFailureAndAsksNoRestart) {
    const struct {
        const char* name;
        fake::WindowsVersion version;
        std::string wininit;  // before the run; empty: none
        const char* fail;     // the call Windows refuses, or null
        DWORD error;
        const char* logged;   // the end of the line for the file
    } cases[] = {
        {"XP schedules", fake::kWinXP, "", nullptr, 0, ": scheduled for deletion at the next start of Windows"},
        {"XP refuses", fake::kWinXP, "", "MoveFileExA", ERROR_ACCESS_DENIED, ": failed, error 5"},
        {"98 schedules", fake::kWin98, "", nullptr, 0, ": scheduled for deletion at the next start of Windows"},
        {"98 first line refused", fake::kWin98, "", "WritePrivateProfileStringA", ERROR_ACCESS_DENIED,
         ": failed, error 5"},
        {"98 section rewrite refused", fake::kWin98, "[rename]\r\nNUL=C:\\A.DLL\r\n",
         "WritePrivateProfileSectionA", ERROR_SHARING_VIOLATION, ": failed, error 32"},
        {"98 section full", fake::kWin98, FullSection(), nullptr, 0, ": failed, error 122"},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetWindowsVersion(c.version);
        if (!c.wininit.empty()) fake::AddFile(kWininit, c.wininit);
        if (c.fail) fake::FailCall(c.fail, c.error);
        ListLocked(kLocked, kLocked);
        std::string log = RemoveFilesLogged();
        bool scheduled = std::string(c.logged).find("scheduled") != std::string::npos;
        EXPECT_NE(std::string::npos, log.find(std::string("delete file at restart ") + kLocked + c.logged + "\r\n"))
            << c.name << "\n" << log;
        EXPECT_EQ(scheduled, RestartNeeded) << c.name;
        EXPECT_EQ(scheduled, fake::RestartWindows().empty() && !fake::FileExists(kLocked)) << c.name;
        TearDown();
    }
}

// Windows 9x caches profile writes: WININIT.INI is written out after the
// last line and before the question (or the end, with "/norestart").
TEST_F(DeferredDeletion, WininitIsWrittenOutBeforeTheRestart) {
    const struct {
        const char* name;
        fake::WindowsVersion version;
        bool locked, no_restart;
        bool flushed, asked;
    } cases[] = {
        {"98, a locked file", fake::kWin98, true, false, true, true},
        {"98, /norestart", fake::kWin98, true, true, true, false},
        {"98, nothing locked", fake::kWin98, false, false, false, false},
        {"XP, a locked file", fake::kWinXP, true, false, false, true},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetWindowsVersion(c.version);
        NoRestartRun = c.no_restart;
        stand_in::AnswerMessageBoxes({IDCANCEL});
        fake::AddFile(kLocked);
        if (c.locked) ListLocked(kLocked, kLocked);
        data->force_local_uninstall = 1;
        EXPECT_EQ(0, RunRemovalSequence(nullptr, *data)) << c.name;
        FinishRemoval(0);
        const auto& log = fake::CallLog();
        size_t flush = log.size(), box = log.size(), last_write = 0;
        for (size_t i = 0; i < log.size(); ++i) {
            if (log[i] == std::string("WritePrivateProfileStringA ") + kWininit + " (flush)") flush = i;
            else if (log[i].rfind("WritePrivateProfile", 0) == 0) last_write = i;
            if (log[i] == "MessageBoxA Restart Windows") box = i;
        }
        EXPECT_EQ(c.flushed, flush < log.size()) << c.name;
        EXPECT_EQ(c.asked, box < log.size()) << c.name;
        if (c.flushed) EXPECT_LT(last_write, flush) << c.name;
        if (c.flushed && c.asked) EXPECT_LT(flush, box) << c.name;
        TearDown();
    }
}

// The restart's deletion runs natively: under WOW64 a system file outside
// "drivers" and the folders WOW64 leaves alone is named by its SysWOW64 path.
TEST_F(DeferredDeletion, SystemFilesAreScheduledWhereTheProgramSawThem) {
    const std::string sys = "C:\\WINDOWS\\system32\\", wow = "C:\\WINDOWS\\SysWOW64\\";
    const struct {
        const char* name;
        bool wow64;
        const char* missing;  // a kernel32 function taken away
        std::string path, scheduled;  // scheduled empty: refused
    } cases[] = {
        {"system file", true, nullptr, sys + "xlnw11a.dll", wow + "xlnw11a.dll"},
        {"below the system folder", true, nullptr, sys + "XLN\\a.dll", wow + "XLN\\a.dll"},
        {"driver", true, nullptr, sys + "drivers\\xlnw11.sys", sys + "drivers\\xlnw11.sys"},
        {"spool is not redirected", true, nullptr, sys + "spool\\a.dll", sys + "spool\\a.dll"},
        {"32-bit Windows", false, nullptr, sys + "xlnw11a.dll", sys + "xlnw11a.dll"},
        {"the folder cannot be had", true, "GetSystemWow64DirectoryA", sys + "xlnw11a.dll", ""},
    };
    for (auto& c : cases) {
        SetUp();
        fake::SetWindowsVersion(fake::kWin10);
        fake::SetWow64(c.wow64);
        if (c.missing) stand_in::RemoveExport("kernel32.dll", c.missing);
        ChangeResult result = DeleteFileAtRestart(c.path.c_str(), FamilyWin2000);
        EXPECT_EQ(c.scheduled.empty() ? ChangeFailed : ChangeScheduled, result.outcome) << c.name;
        std::vector<std::string> expected;
        if (!c.scheduled.empty()) expected.push_back(c.scheduled);
        EXPECT_EQ(expected, fake::PendingDeletes()) << c.name;
        TearDown();
    }
}

}  // namespace

// The hand-over to a copy of the program: a description that names the
// running program and its tools has them deleted by a copy started from a
// new folder of its own once the run is over, with the folder they leave
// empty; a file put there meanwhile stays, and neither `install` nor a
// preview hands anything over. The copy deletes only what a run handed to
// it, never what a command line alone names.
#include <algorithm>

#include "app/cleanup_copy.h"
#include "app/cleanup_place.h"
#include "removal/own_files.h"
#include "system/command_tail.h"
#include "removal/emptied_folders.h"
#include "removal/removal_steps.h"
#include "removal_fixture.h"
#include "tests/stand_ins/stand_ins.h"
#include "system/run_log.h"
#include "system/run_summary.h"
#include "system/windows_family.h"

namespace {

const char kProgram[] = "C:\\Program Files\\XLN\\uninst.exe";
const char kTool[] = "C:\\Program Files\\XLN\\XLNWLD2K.exe";
const char kOtherTool[] = "C:\\Program Files\\Other\\bin\\tool.exe";

// The copy's path: the started command line's first, quoted word.
std::string CopyOf(const std::string& command) {
    size_t end = command.find('"', 1);
    return command[0] == '"' && end != std::string::npos ? command.substr(1, end - 1) : "";
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\')); }

void SeedInstallation(const fake::WindowsVersion& version) {
    fake::Reset();
    fake::SetWindowsVersion(version);
    RunMode = Silent;
    fake::SetTempDirectory("C:\\TEMP\\");
    fake::AddDirectory("C:\\TEMP");
    fake::AddDirectory("C:\\WINDOWS\\Temp");
    fake::SetModulePath(kProgram);
    fake::AddFile(kProgram, "program image", 0);
    fake::AddFile(kTool, "tool", 0);
    fake::AddFile("C:\\Program Files\\XLN\\xlnutil.exe");
    fake::AddFile(kOtherTool, "another program's", 0);
}

// The run's files step on the product's programs, and the hand-over.
void RunRemoval() {
    UninstallData& data = ClearedRecord();
    lstrcpynA(data.installed_files[data.installed_file_count++], "C:\\Program Files\\XLN\\*.exe",
              TAVK_MAX_INSTALLED_FILE_NAME_LEN + 1);
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    RemoveEmptiedFolders(GetWindowsFamily());
    HandOverToCleanupCopy("uninst.exe silent");
    ForgetOwnFiles();  // as the driver does once the restart is settled
}

// The copy's run in its own folder, as the started command line gives it.
void RunCopy(const std::string& command) {
    fake::SetModulePath(CopyOf(command));
    std::string line = command;
    EXPECT_EQ(0, RunCleanupCopy(CommandLineTail(&line[0])));
}

TEST(CleanupCopy, DeletesProgramAndToolsAfterTheRunUnlessReplaced) {
    const struct {
        const char* name;
        const fake::WindowsVersion& version;
        bool install, preview, replaced;
        const char* below;  // where the copy's folder is
        bool restricted;  // created with the admin-only descriptor
        bool program_gone, tool_gone, folder_gone;
    } cases[] = {
        {"removal as an administrator on XP", fake::kWinXP, false, false, false, "C:\\WINDOWS\\Temp",
         true, true, true, true},
        {"removal on Windows 98", fake::kWin98, false, false, false, "C:\\TEMP", false, true, true, true},
        {"program replaced meanwhile", fake::kWinXP, false, false, true, "C:\\WINDOWS\\Temp",
         true, false, true, false},
        {"install keeps the program", fake::kWinXP, true, false, false, nullptr, false, false, true, false},
        {"a preview only lists it", fake::kWinXP, false, true, false, nullptr, false, false, false, false},
    };
    for (auto& c : cases) {
        SeedInstallation(c.version);
        InstallMode = c.install;
        PreviewRun = c.preview;
        RunRemoval();
        PreviewRun = false;
        const auto& started = stand_in::StartedCommandLines();
        ASSERT_EQ(c.below ? 1u : 0u, started.size()) << c.name;
        if (c.below) {
            std::string copy = CopyOf(started[0]), folder = FolderOf(copy);
            EXPECT_TRUE(fake::SameName(c.below, FolderOf(folder))) << c.name << ": " << copy;
            EXPECT_EQ(0u, folder.rfind("\\xlnclean-") + 26 - folder.size()) << c.name << ": " << folder;
            EXPECT_EQ("program image", fake::FileContents(copy)) << c.name;
            const void* access = c.restricted ? stand_in::AdminOnlyDescriptor() : nullptr;
            EXPECT_EQ(access, fake::CreatedDescriptor(folder)) << c.name;
            EXPECT_EQ(access, fake::CreatedDescriptor(copy)) << c.name;
            EXPECT_EQ(1, fake::OpenHandleCount()) << c.name << ": only the list the copy inherited";
            if (c.replaced) fake::AddFile(kProgram, "a newer program", 0);
            RunCopy(started[0]);
            if (c.version.platform == VER_PLATFORM_WIN32_NT) {
                EXPECT_EQ(std::vector<std::string>({copy, folder}), fake::PendingDeletes()) << c.name;
            }
            EXPECT_FALSE(fake::FileExists(folder + "\\xlnclean.lst")) << c.name;
            EXPECT_TRUE(fake::RestartWindows().empty()) << c.name;
            EXPECT_FALSE(fake::FileExists(copy)) << c.name << ": gone at the next start";
        }
        EXPECT_EQ(c.program_gone, !fake::FileExists(kProgram)) << c.name;
        EXPECT_EQ(c.tool_gone, !fake::FileExists(kTool)) << c.name;
        for (const std::string& line : fake::FileDump())
            if (!c.below) EXPECT_EQ(std::string::npos, line.find("xlnclean")) << c.name << ": copied to " << line;
        EXPECT_EQ(c.folder_gone, !fake::DirectoryExists("C:\\Program Files\\XLN")) << c.name;
        EXPECT_TRUE(fake::FileExists(kOtherTool)) << c.name;
        EXPECT_EQ(0, fake::OpenHandleCount()) << c.name;
        EXPECT_EQ(0, stand_in::LiveAdminOnlyAccesses()) << c.name;
        ExpectNothingOpen(c.name);
    }
    InstallMode = false;
}

// The copy's lines come after the run's in the log: the one summary of
// the whole run comes last, written by the copy with the run's counts.
TEST(CleanupCopy, TheRunsSummaryIsTheLogsLastLine) {
    SeedInstallation(fake::kWinXP);
    ClearRunSummary();
    ASSERT_TRUE(OpenRunLog("C:\\run.log", false));
    RunRemoval();
    LogRunSummary(0);  // the run's end: the copy was given the summary
    CloseRunLog();
    ASSERT_EQ(1u, stand_in::StartedCommandLines().size());
    ClearRunSummary();  // the copy is a process of its own
    fake::SetCommandLine(stand_in::StartedCommandLines()[0]);
    RunCopy(stand_in::StartedCommandLines()[0]);
    std::string log = fake::FileContents("C:\\run.log");
    std::vector<std::string> lines = fake::TextLines(log);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(log.find(" summary: "), log.rfind(" summary: ")) << log;
    EXPECT_NE(std::string::npos, lines.back().find(" summary: 4 removed, 0 left for the next start of Windows, "
                                                   "0 kept, 0 refused, 0 failed; exit code 0; no restart"))
        << log;
    ClearRunSummary();
}

// A restart accepted at the end may end the copy before it is done: what
// it was given, and its own files and folder, wait for the restart too.
TEST(CleanupCopy, AnAcceptedRestartSchedulesWhatTheCopyWasGiven) {
    SeedInstallation(fake::kWinXP);
    UninstallData& data = ClearedRecord();
    lstrcpynA(data.installed_files[data.installed_file_count++], "C:\\Program Files\\XLN\\*.exe",
              TAVK_MAX_INSTALLED_FILE_NAME_LEN + 1);
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    HandOverToCleanupCopy("uninst.exe silent");
    ASSERT_EQ(1u, stand_in::StartedCommandLines().size());
    std::string copy = CopyOf(stand_in::StartedCommandLines()[0]), folder = FolderOf(copy);
    ScheduleHandedFilesAtRestart();
    ForgetOwnFiles();
    std::vector<std::string> pending = fake::PendingDeletes();
    for (const std::string& path : {std::string(kProgram), std::string(kTool), folder + "\\xlnclean.lst", copy})
        EXPECT_NE(pending.end(), std::find(pending.begin(), pending.end(), path)) << path;
    ASSERT_FALSE(pending.empty());
    EXPECT_EQ(folder, pending.back()) << "the folder goes after its files";
    ScheduleHandedFilesAtRestart();
    EXPECT_EQ(pending.size(), fake::PendingDeletes().size()) << "the copy's place is scheduled once";
}

// Whatever holds the name the run draws first, a folder or a link planted
// there, the copy goes into a new folder of another name; the planted one
// is left as it was.
TEST(CleanupCopy, NameTakenFirstIsPassedOver) {
    SeedInstallation(fake::kWinXP);
    RunRemoval();
    ASSERT_EQ(1u, stand_in::StartedCommandLines().size());
    std::string drawn = FolderOf(CopyOf(stand_in::StartedCommandLines()[0]));
    for (bool link : {false, true}) {
        SeedInstallation(fake::kWinXP);
        fake::AddDirectory("C:\\Attacker");
        if (link) fake::AddLink(drawn, "C:\\Attacker");
        else fake::AddDirectory(drawn);
        RunRemoval();
        ASSERT_EQ(1u, stand_in::StartedCommandLines().size()) << link;
        std::string copy = CopyOf(stand_in::StartedCommandLines()[0]);
        EXPECT_FALSE(fake::SameName(drawn, FolderOf(copy))) << link;
        EXPECT_TRUE(fake::FileExists(copy)) << link;
        EXPECT_FALSE(fake::FileExists(drawn + "\\xlnclean.exe")) << link;
        EXPECT_FALSE(fake::FileExists("C:\\Attacker\\xlnclean.exe")) << link;
        RunCopy(stand_in::StartedCommandLines()[0]);
        EXPECT_FALSE(fake::FileExists(kProgram)) << link;
    }
}

// A copy that cannot be written whole, or a list that cannot, is never
// started, and this run's folder goes with what it wrote; nor is one whose
// folder could not be kept to administrators (never an open folder in the
// shared Windows temporary folder).
TEST(CleanupCopy, CopyNotWrittenWholeIsNotStarted) {
    const struct {
        const char* api;
        const char* failing;
    } cases[] = {
        {"WriteFile", "xlnclean.exe"},
        {"WriteFile", "xlnclean.lst"},
        {"BuildAdminOnlyAccess", ""},
    };
    for (const auto& c : cases) {
        const std::string failing = std::string(c.api) + " " + c.failing;
        SeedInstallation(fake::kWinXP);
        fake::FailCall(c.api, ERROR_DISK_FULL, 1, c.failing);
        RunRemoval();
        EXPECT_TRUE(stand_in::StartedCommandLines().empty()) << failing;
        for (const std::string& line : fake::FileDump())
            EXPECT_EQ(std::string::npos, line.find("xlnclean")) << failing << ": left " << line;
        EXPECT_TRUE(fake::FileExists(kProgram)) << failing;
        EXPECT_EQ(0, fake::OpenHandleCount()) << failing;
    }
}

// A new file is never opened through a file or link already there.
TEST(CleanupCopy, FilesInThePlaceAreCreatedNew) {
    fake::Reset();
    fake::AddFile("C:\\T\\F\\xlnclean.exe", "planted", 0);
    fake::AddFile("C:\\Attacker\\x.exe", "attacker's", 0);
    fake::AddLink("C:\\T\\F\\xlnclean.lst", "C:\\Attacker");
    CleanupPlace place = {};
    lstrcpynA(place.folder, "C:\\T\\F\\", sizeof place.folder);
    char path[PATH_BUFFER_SIZE];
    for (const char* name : {kCleanupCopyName, kHandOverListName})
        EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileInPlace(&place, name, false, path)) << name;
    fake::SetModulePath("C:\\XLN\\uninst.exe");
    fake::AddFile("C:\\XLN\\uninst.exe", "image", 0);
    EXPECT_EQ(INVALID_HANDLE_VALUE, WriteProgramCopy(&place, path));
    EXPECT_EQ("planted", fake::FileContents("C:\\T\\F\\xlnclean.exe"));
    EXPECT_EQ("attacker's", fake::FileContents("C:\\Attacker\\x.exe"));
    EXPECT_EQ(0, fake::OpenHandleCount());
}

// The copy deletes only what a list beside it, reached through the handle
// it inherited, names: a forged command line, a list without that handle,
// or a handle to another file has it delete nothing, its own file and
// folder included.
TEST(CleanupCopy, ForgedHandOverDeletesNothing) {
    const struct {
        const char* name;
        const char* module;
        const char* list_at;  // where the opened list lies; null: none
        bool pass_handle;
        bool deletes;
        DWORD refusal;           // the program's deletion fails so
        bool program_scheduled;  // left for the restart
    } cases[] = {
        {"a command line alone", kProgram, nullptr, false, false, 0, false},
        {"a list, no handle", "C:\\T\\X\\xlnclean.exe", "C:\\T\\X\\xlnclean.lst", false, false, 0, false},
        {"another file's handle", "C:\\T\\X\\xlnclean.exe", "C:\\Other\\xlnclean.lst", true, false, 0, false},
        {"the run's own hand-over", "C:\\T\\X\\xlnclean.exe", "C:\\T\\X\\xlnclean.lst", true, true, 0, false},
        {"a program still held", "C:\\T\\X\\xlnclean.exe", "C:\\T\\X\\xlnclean.lst", true, false,
         ERROR_ACCESS_DENIED, true},
        {"a failure the restart does not mend", "C:\\T\\X\\xlnclean.exe", "C:\\T\\X\\xlnclean.lst", true,
         false, ERROR_WRITE_FAULT, false},
    };
    for (auto& c : cases) {
        SeedInstallation(fake::kWinXP);
        fake::AddFile("C:\\T\\X\\xlnclean.exe", "copy", 0);
        fake::AddFile("C:\\Program Files\\XLN\\notes.txt", "n", 0);
        fake::AddFile("C:\\Program Files\\XLM\\uninst.exe", "same length", 0);  // another folder
        std::string list = "13 0 0 C:\\Program Files\\XLN\\uninst.exe\r\n1 0 0 C:\\Program Files\\XLN\\notes.txt\r\n"
                           "17 0 0 " + std::string(kOtherTool) + "\r\n11 0 0 C:\\Program Files\\XLM\\uninst.exe\r\n";
        if (c.refusal == ERROR_ACCESS_DENIED) fake::SetFileLocked(kProgram, true);
        else if (c.refusal) fake::FailCall("CreateFileA", c.refusal, 0, "XLN\\uninst.exe");
        fake::AddFile("C:\\T\\X\\xlnclean.lst", list, 0);
        fake::AddFile("C:\\Other\\xlnclean.lst", list, 0);
        HANDLE handle = c.list_at ? CreateFileA(c.list_at, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr) : nullptr;
        fake::SetModulePath(c.module);
        fake::AddFile("C:\\LOGS\\run.log");
        fake::SetCommandLine(std::string("x /log=C:\\LOGS\\run.log"));
        std::string tail = "/cleanup-after=0," + std::to_string(c.pass_handle ? (unsigned long)(ULONG_PTR)handle : 0) +
                           " \"" + kOtherTool + "\" 17 0 0 /log=C:\\LOGS\\run.log";
        EXPECT_EQ(0, RunCleanupCopy(&tail[0])) << c.name;
        if (handle && !c.pass_handle) CloseHandle(handle);
        EXPECT_EQ(c.deletes, !fake::FileExists(kProgram)) << c.name;
        EXPECT_TRUE(fake::FileExists("C:\\Program Files\\XLN\\notes.txt")) << c.name;
        EXPECT_TRUE(fake::FileExists(kOtherTool)) << c.name;
        EXPECT_TRUE(fake::FileExists("C:\\Program Files\\XLM\\uninst.exe")) << c.name;
        EXPECT_EQ(c.deletes || c.refusal, !fake::PendingDeletes().empty()) << c.name;
        const std::vector<std::string> pending = fake::PendingDeletes();
        EXPECT_EQ(c.program_scheduled, std::find(pending.begin(), pending.end(), kProgram) != pending.end()) << c.name;
        bool said = fake::FileContents("C:\\LOGS\\run.log").find("nothing is deleted") != std::string::npos;
        EXPECT_EQ(!c.deletes && !c.refusal, said) << c.name;
        EXPECT_EQ(0, fake::OpenHandleCount()) << c.name;
    }
}

}  // namespace

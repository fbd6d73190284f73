// The hand-over to a copy of the program: a description that names the
// running program and its tools has them deleted by a copy started from
// the temporary folder once the run is over, with the folder they leave
// empty; a file put there meanwhile stays, and neither `install` nor a
// preview hands anything over.
#include "app/cleanup_copy.h"
#include "removal/own_files.h"
#include "app/command_tail.h"
#include "removal/emptied_folders.h"
#include "removal/removal_steps.h"
#include "removal_fixture.h"
#include "system/windows_family.h"

namespace {

const char kProgram[] = "C:\\Program Files\\XLN\\uninst.exe";
const char kTool[] = "C:\\Program Files\\XLN\\XLNWLD2K.exe";
const char kCopy[] = "C:\\TEMP\\xlnclean0.exe";

TEST(CleanupCopy, DeletesProgramAndToolsAfterTheRunUnlessReplaced) {
    const struct {
        const char* name;
        bool install, preview, replaced;
        bool handed_over, program_gone, tool_gone, folder_gone;
    } cases[] = {
        {"removal", false, false, false, true, true, true, true},
        {"program replaced meanwhile", false, false, true, true, false, true, false},
        {"install keeps the program", true, false, false, false, false, true, false},
        {"a preview only lists it", false, true, false, false, false, false, false},
    };
    for (auto& c : cases) {
        fake::Reset();
        RunMode = Silent;
        InstallMode = c.install;
        PreviewRun = c.preview;
        fake::SetTempDirectory("C:\\TEMP\\");
        fake::AddDirectory("C:\\TEMP");
        fake::SetModulePath(kProgram);
        fake::AddFile(kProgram, "program", 0);
        fake::AddFile(kTool, "tool", 0);
        fake::AddFile("C:\\Program Files\\XLN\\xlnutil.exe");
        UninstallData& data = ClearedRecord();
        lstrcpynA(data.installed_files[data.installed_file_count++], "C:\\Program Files\\XLN\\*.exe",
                  TAVK_MAX_INSTALLED_FILE_NAME_LEN + 1);
        EXPECT_EQ(0, RemoveInstalledFiles(data)) << c.name;
        RemoveEmptiedFolders(GetWindowsFamily());
        HandOverToCleanupCopy("uninst.exe silent");
        PreviewRun = false;
        const auto& started = fake::StartedCommandLines();
        ASSERT_EQ(c.handed_over ? 1u : 0u, started.size()) << c.name;
        if (c.handed_over) {
            EXPECT_TRUE(fake::FileExists(kCopy)) << c.name;
            if (c.replaced) fake::AddFile(kProgram, "a newer program", 0);
            fake::SetModulePath(kCopy);
            std::string line = started[0];
            EXPECT_EQ(0, RunCleanupCopy(CommandLineTail(&line[0]))) << c.name;
            EXPECT_EQ(std::vector<std::string>{kCopy}, fake::PendingDeletes()) << c.name;
        }
        EXPECT_EQ(c.program_gone, !fake::FileExists(kProgram)) << c.name;
        EXPECT_EQ(c.tool_gone, !fake::FileExists(kTool)) << c.name;
        EXPECT_EQ(c.folder_gone, !fake::DirectoryExists("C:\\Program Files\\XLN")) << c.name;
        EXPECT_EQ(0, fake::OpenHandleCount()) << c.name;
        ExpectNothingOpen(c.name);
        ForgetOwnFiles();
    }
    InstallMode = false;
}

}  // namespace

namespace {

// A command line that claims to be the hand-over deletes nothing but
// programs of the first file's folder.
TEST(CleanupCopy, OnlyProgramsOfOneFolderAreDeleted) {
    fake::Reset();
    fake::AddFile("C:\\XLN\\uninst.exe", "p", 0);
    fake::AddFile("C:\\XLN\\notes.txt", "n", 0);
    fake::AddFile("C:\\Other\\tool.exe", "t", 0);
    fake::SetModulePath("C:\\TEMP\\xlnclean0.exe");
    std::string tail = "/cleanup-after=0 \"C:\\XLN\\uninst.exe\" 1 0 0 \"C:\\XLN\\notes.txt\" 1 0 0 "
                       "\"C:\\Other\\tool.exe\" 1 0 0";
    EXPECT_EQ(0, RunCleanupCopy(&tail[0]));
    EXPECT_FALSE(fake::FileExists("C:\\XLN\\uninst.exe"));
    EXPECT_TRUE(fake::FileExists("C:\\XLN\\notes.txt"));
    EXPECT_TRUE(fake::FileExists("C:\\Other\\tool.exe"));
}

}  // namespace

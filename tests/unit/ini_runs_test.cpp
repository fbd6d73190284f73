// The driver's INI runs: after the registry run, highest section first,
// each removed locally; the count's bounds; never in Verbose.
#include "app/run_uninstall.h"
#include "app/win_main.h"
#include "app/progress_dialog.h"
#include "app/progress_window.h"
#include "removal_fixture.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const char kIni[] = "C:\\Program Files\\XLN\\UNINST.INI";

// Sections 0 to 2 each name their own file; section 0's product has a
// registered uninstall command, which must not stop its local removal.
void SeedThreeSections() {
    std::string ini = "[Main]\nSectionsNumber=3\n";
    for (char n : {'0', '1', '2'}) {
        ini += std::string("[UnistallData") + n + "]\nUninstallKey=X" + n + "\nInstalledFiles=C:\\XLN\\" + n + "\n";
        fake::AddFile(std::string("C:\\XLN\\") + n);
    }
    fake::AddFile(kIni, ini);
    fake::RegSeedString("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\X0",
                        "QuietUninstallString", "C:\\setup.exe");
}

using IniRuns = RemovalTest;

TEST_F(IniRuns, SectionsRunHighestFirstAfterAFailedRegistryLoad) {
    SeedThreeSections();
    fake::SetFileLocked("C:\\XLN\\1", true);
    stand_in::AnswerMessageBoxes({IDCANCEL, IDCANCEL});
    EXPECT_EQ(0, RunUninstall(nullptr));
    const std::vector<std::string> order = {"SetFileInformationByHandle C:\\XLN\\2", "SetFileInformationByHandle C:\\XLN\\1",
                                             "SetFileInformationByHandle C:\\XLN\\0"};
    EXPECT_EQ(order, fake::CallsTo("SetFileInformationByHandle"));
    EXPECT_EQ(std::vector<std::string>{"C:\\setup.exe"}, stand_in::StartedCommandLines());
    // The deferral asks once, after every section has run.
    EXPECT_EQ(1u, fake::CallsTo("MessageBoxA Restart Windows").size());
    EXPECT_EQ("MessageBoxA Restart Windows", fake::CallLog().back());
}

TEST_F(IniRuns, CountAndPath) {
    const struct {
        const char* name;
        const char* count;
        void (*arrange)();
        size_t sections;  // loaded, each searching the INF folder twice: for its
                          // files, and for the services its INF files add
    } cases[] = {
        {"no count", "", [] {}, 0},
        {"negative", "-1", [] {}, 0},
        {"not a number", "two", [] {}, 0},
        {"above the bound", "257", [] {}, 0},
        {"at the bound", "256", [] {}, 256},
        {"module path unknown", "2", [] { fake::FailCall("GetModuleFileNameA", ERROR_ACCESS_DENIED); }, 0},
        {"named after the module", "2", [] { fake::SetModulePath("C:\\Program Files\\XLN\\UNINST.ABC"); }, 2},
        {"module path cut at 520", "2", [] {
             const std::string folder = "C:\\" + std::string(506, 'd');
             fake::SetModulePath(folder + "\\UNINST.EXE");  // 520: read as "...\UNINST.EX"
             fake::AddFile(folder + "\\UNINSTINI", "[main]\nSectionsNumber=2\n");
         }, 0},
        {"module path of two characters", "2", [] { fake::SetModulePath("ab"); }, 0},
    };
    for (auto& c : cases) {
        SetUp();
        fake::AddFile(kIni, std::string("[main]\nSectionsNumber=") + c.count + "\n");
        c.arrange();
        EXPECT_EQ(c.sections ? 0 : 1, RunUninstall(nullptr)) << c.name;
        EXPECT_EQ(2 * c.sections, fake::CallsTo("FindFirstFileA C:\\WINDOWS\\INF\\OEM*.INF").size()) << c.name;
    }
}

TEST_F(IniRuns, VerboseNeverReadsTheIni) {
    SeedThreeSections();
    RunMode = Verbose;
    HWND dialog = CreateProgressDialog(nullptr);
    EXPECT_EQ(1, RunUninstall(dialog));
    EXPECT_EQ(std::vector<std::string>{}, fake::CallsTo("GetPrivateProfileStringA"));
    CloseProgressWindow(dialog);
}

}  // namespace

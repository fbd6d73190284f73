// The driver's INI runs: the sections after the registry run, highest
// first, each removed locally; the count's bounds; never in Verbose.
#include <gtest/gtest.h>

#include <functional>

#include "app/driver.h"
#include "app/progress_dialog.h"
#include "removal_fixture.h"

namespace {

const char kIni[] = "C:\\Program Files\\XLN\\UNINST.INI";
const char kUninstall[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN0";

// Three sections, each naming its own file; section 0's product has a
// registered uninstall command, which must not stop its local removal.
void SeedThreeSections() {
    std::string ini = "[Main]\r\nSectionsNumber=3\r\n";
    for (char n : {'0', '1', '2'}) {
        ini += std::string("[UnistallData") + n + "]\r\nInstalledFiles=C:\\s" + n + ".dat\r\n" +
               "UninstallKey=XLN" + n + "\r\n";
        fake::AddFile(std::string("C:\\s") + n + ".dat");
    }
    fake::AddFile(kIni, ini);
    fake::RegSeedString(kUninstall, "QuietUninstallString", "C:\\xlnsetup.exe -r");
}

class IniRuns : public RemovalTest {};

TEST_F(IniRuns, SectionsRunHighestFirstAfterAFailedRegistryLoad) {
    SeedThreeSections();
    fake::SetFileLocked("C:\\s1.dat", true);
    fake::AnswerMessageBoxes({IDCANCEL, IDCANCEL});
    EXPECT_EQ(0, RunUninstall(nullptr));
    const std::vector<std::string> expected = {"DeleteFileA C:\\s2.dat", "DeleteFileA C:\\s1.dat",
                                               "DeleteFileA C:\\s0.dat"};
    EXPECT_EQ(expected, fake::CallsTo("DeleteFileA"));
    EXPECT_FALSE(fake::FileExists("C:\\s0.dat"));
    EXPECT_EQ(1u, fake::StartedCommandLines().size()) << "the registered command was not run";
    // The locked file's deferral asks after its own run and every later one.
    EXPECT_EQ(2u, fake::CallsTo("MessageBoxA Restart Windows").size());
}

TEST_F(IniRuns, CountAndPath) {
    const struct {
        const char* name;
        const char* main;  // the [Main] section's lines
        std::function<void()> arrange;
        size_t sections;   // how many were loaded
    } cases[] = {
        {"no count", "", [] {}, 0},
        {"negative", "SectionsNumber=-1", [] {}, 0},
        {"not a number", "SectionsNumber=two", [] {}, 0},
        {"above the bound", "SectionsNumber=257", [] {}, 0},
        {"at the bound", "SectionsNumber=256", [] {}, 256},
        {"module path unknown", "SectionsNumber=2",
         [] { fake::FailCall("GetModuleFileNameA", ERROR_ACCESS_DENIED); }, 0},
        {"named after the module", "SectionsNumber=2",
         [] { fake::SetModulePath("C:\\Program Files\\XLN\\UNINST.exe"); }, 2},
    };
    for (auto& c : cases) {
        SetUp();
        fake::AddFile(kIni, std::string("[main]\r\n") + c.main + "\r\n");
        c.arrange();
        EXPECT_EQ(c.sections ? 0 : 1, RunUninstall(nullptr)) << c.name;
        EXPECT_EQ(c.sections, fake::CallsTo("FindFirstFileA C:\\WINDOWS\\INF\\OEM*.INF").size())
            << c.name;
    }
}

TEST_F(IniRuns, VerboseNeverReadsTheIni) {
    SeedThreeSections();
    RunMode = Verbose;
    HWND dialog = CreateProgressDialog(nullptr);
    EXPECT_EQ(1, RunUninstall(dialog));
    EXPECT_EQ(std::vector<std::string>{}, fake::CallsTo("GetPrivateProfileStringA"));
    EXPECT_TRUE(fake::FileExists("C:\\s0.dat"));
    DestroyWindow(dialog);
}

}  // namespace

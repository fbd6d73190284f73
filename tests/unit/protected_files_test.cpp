// Windows' own files, refused however they are named: drive roots, Windows
// File Protection, Microsoft's version resources, the known DLLs and Wine's
// stand-ins.
#include "removal/guardrails/protected_files.h"
#include "removal/guardrails/protected_services.h"
#include "removal/removal_steps.h"
#include "removal/guardrails/service_evidence.h"
#include "system/run_log.h"

#include "removal_fixture.h"

namespace {

const char kNtKnown[] = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs";
const char k9xKnown[] = "HKLM\\System\\CurrentControlSet\\Control\\SessionManager\\KnownDLLs";

class ProtectedFiles : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        for (const char* file : {"C:\\ntldr", "C:\\boot.ini", "C:\\IO.SYS", "C:\\WINDOWS\\explorer.exe",
                                 "C:\\WINDOWS\\system32\\hal.dll", "C:\\WINDOWS\\system32\\wmsft.dll",
                                 "C:\\WINDOWS\\system32\\kernel32.dll", "C:\\WINDOWS\\system32\\msvcrt.dll",
                                 "C:\\WINDOWS\\system32\\sfcfile.dll", "C:\\WINDOWS\\system32\\xlnw11co.dll",
                                 "C:\\WINDOWS\\system32\\xlnplain.dll", "C:\\Program Files\\XLN\\kernel32.dll"})
            fake::AddFile(file);
        const std::string stub = "MZ" + std::string(0x3E, '\0');
        fake::AddFile("C:\\WINDOWS\\system32\\winebase.dll", stub + "Wine builtin DLL");
        fake::AddFile("C:\\WINDOWS\\system32\\wineold.dll", stub + "Wine placeholder DLL");
        fake::AddFile("C:\\WINDOWS\\system32\\xlnimage.dll", stub + "This program cannot be run");
        fake::AddFile("C:\\WINDOWS\\system32\\xlntext.dll", std::string(0x40, ' ') + "Wine builtin DLL");
        fake::SetFileCompany("C:\\WINDOWS\\system32\\hal.dll", "Microsoft Corporation");
        fake::SetFileCompany("C:\\WINDOWS\\explorer.exe", "MICROSOFT CORP.", 0x04E40409);
        fake::SetFileCompany("C:\\WINDOWS\\system32\\wmsft.dll", "Wine for Microsoft", 0);
        fake::SetFileCompany("C:\\WINDOWS\\system32\\xlnw11co.dll", "XLN Technologies");
        fake::SetFileProtected("C:\\WINDOWS\\system32\\sfcfile.dll");
        fake::RegSeedString(kNtKnown, "kernel32", "kernel32.dll");
        fake::RegSeedString(kNtKnown, "DllDirectory", "%SystemRoot%\\system32");
        fake::RegSeedString(k9xKnown, "msvcrt", "msvcrt.dll");
    }
};

const char* const kRoot = "a file in a drive's root: Windows starts from it";
const char* const kSfc = "Windows File Protection keeps it";
const char* const kMicrosoft = "its version resource names Microsoft as its maker";
const char* const kKnown = "one of Windows' known DLLs";
const char* const kWine = "Wine's stand-in for a Windows file";
const char* const kData = "Windows' own data file";
const char* const kWindowsProgram = "a service whose program is Windows' own";

TEST_F(ProtectedFiles, WindowsOwnFilesInEverySpelling) {
    const struct {
        const char* path;
        const char* reason;
    } cases[] = {
        {"C:\\ntldr", kRoot},
        {"c:/BOOT.INI", kRoot},
        {"C:\\WINDOWS\\..\\IO.SYS", kRoot},
        {"\\\\?\\C:\\boot.ini", kRoot},
        {"C:\\WINDOWS\\system32\\hal.dll", kMicrosoft},
        {"C:\\WINDOWS\\explorer.exe", kMicrosoft},
        {"C:\\WINDOWS\\system32\\wmsft.dll", kMicrosoft},
        {"C:\\WINDOWS\\system32\\kernel32.dll", kKnown},
        {"c:\\windows\\SYSTEM32\\.\\KERNEL32.DLL", kKnown},
        {"C:\\WINDOWS\\system32\\msvcrt.dll", kKnown},
        {"C:/WINDOWS/system32//sfcfile.dll", kSfc},
        {"C:\\WINDOWS\\system32\\winebase.dll", kWine},
        {"C:\\WINDOWS\\system32\\wineold.dll", kWine},
        {"C:\\WINDOWS\\system32\\xlnimage.dll", nullptr},
        {"C:\\WINDOWS\\system32\\xlntext.dll", nullptr},
        {"C:\\WINDOWS\\system32\\xlnw11co.dll", nullptr},
        {"C:\\WINDOWS\\system32\\xlnplain.dll", nullptr},
        {"C:\\Program Files\\XLN\\kernel32.dll", nullptr},
        {"C:\\WINDOWS\\system32\\absent.dll", nullptr},
        {"system32\\hal.dll", nullptr},
        {"C:\\", nullptr},
        {"C:\\WINDOWS\\win.ini", kData},
        {"c:/windows/SYSTEM.INI", kData},
        {"C:\\WINDOWS\\user.dat", kData},
        {"C:\\WINDOWS\\system32\\drivers\\etc\\hosts", kData},
        {"C:\\WINDOWS\\system32\\locale.nls", kData},
        {"C:\\WINDOWS\\system32\\config\\SOFTWARE", kData},
        {"C:\\WINDOWS\\system32\\CatRoot\\{F750E6C3}\\xlnw11.cat", kData},
        {"C:\\WINDOWS\\Boot\\PCAT\\bootmgr", kData},
        {"C:\\WINDOWS\\INF\\xlnw11.cat", kData},
        {"C:\\WINDOWS\\xlnw11.ini", nullptr},
        {"C:\\WINDOWS\\system32\\drivers\\xlnw11.nls", nullptr},
        {"C:\\WINDOWS\\system32\\configs\\x.dat", nullptr},
        {"C:\\WINDOWSX\\win.ini", nullptr},
        {"C:\\Program Files\\XLN\\win.ini", nullptr},
    };
    for (auto& c : cases) {
        const char* reason = WindowsFileRefusal(c.path);
        EXPECT_STREQ(c.reason, reason) << c.path;
    }
}

// sfc.dll is there from Windows 2000 on; the other rules hold everywhere.
TEST_F(ProtectedFiles, FileProtectionOnlyWhereWindowsHasIt) {
    const struct {
        const fake::WindowsVersion* version;
        const char* reason;
    } cases[] = {{&fake::kWin98, nullptr}, {&fake::kNT4, nullptr}, {&fake::kWin2000, kSfc}, {&fake::kWin10, kSfc}};
    for (auto& c : cases) {
        fake::SetWindowsVersion(*c.version);
        EXPECT_STREQ(c.reason, WindowsFileRefusal("C:\\WINDOWS\\system32\\sfcfile.dll")) << c.version->major;
        EXPECT_STREQ(kMicrosoft, WindowsFileRefusal("C:\\WINDOWS\\system32\\hal.dll")) << c.version->major;
    }
}

TEST_F(ProtectedFiles, ManyFilesLoadTheLibrariesOnce) {
    {
        WindowsFileRules rules;
        WindowsFileRules inner;
        for (const char* name : {"hal.dll", "xlnw11co.dll", "xlnplain.dll", "kernel32.dll"})
            WindowsFileRefusal((std::string("C:\\WINDOWS\\system32\\") + name).c_str());
        EXPECT_EQ(2, stand_in::LoadedLibraryCount());
    }
    EXPECT_EQ(2u, fake::CallsTo("LoadLibraryA").size());
    EXPECT_EQ(1u, fake::CallsTo("LoadLibraryA C:\\WINDOWS\\system32\\version.dll").size())
        << "loaded by its full path, never from beside the program";
}

TEST_F(ProtectedFiles, UnreadableVersionResourceIsNoMicrosoftFile) {
    fake::FailCall("GetFileVersionInfoA", ERROR_ACCESS_DENIED, 0);
    EXPECT_EQ(nullptr, WindowsFileRefusal("C:\\WINDOWS\\system32\\hal.dll"));
    fake::FailCall("LoadLibraryA", ERROR_MOD_NOT_FOUND, 0);
    EXPECT_EQ(nullptr, WindowsFileRefusal("C:\\WINDOWS\\explorer.exe"));
    EXPECT_STREQ(kRoot, WindowsFileRefusal("C:\\boot.ini"));
}

}  // namespace

namespace {

// Each match is read at most once however many changes ask about it, and
// not at all when the search shows it too small to be a program image
// (on Windows 98, where the deletions open nothing, every open is a read).
TEST_F(ProtectedFiles, AMatchIsReadOnceOrNotAtAll) {
    fake::SetWindowsVersion(fake::kWin98);
    fake::AddFile("C:\\Program Files\\XLN\\empty.tmp");
    fake::AddFile("C:\\Program Files\\XLN\\image.dll", "MZ" + std::string(0x40, 'x'), FILE_ATTRIBUTE_READONLY);
    UninstallData& data = ClearedRecord();
    strcpy(data.installed_files[0], "C:\\Program Files\\XLN\\*.*");
    data.installed_file_count = 1;
    EXPECT_EQ(0, RemoveInstalledFiles(data));
    EXPECT_FALSE(fake::FileExists("C:\\Program Files\\XLN\\image.dll"));
    EXPECT_TRUE(fake::CallsTo("CreateFileA C:\\Program Files\\XLN\\empty.tmp").empty());
    EXPECT_EQ(1u, fake::CallsTo("CreateFileA C:\\Program Files\\XLN\\image.dll").size());
    EXPECT_EQ(1u, fake::CallsTo("GetFileVersionInfoSizeA").size());
}

}  // namespace

namespace {

std::string LineWith(const std::string& log, const std::string& path, const char* text) {
    for (const std::string& line : fake::TextLines(log))
        if (line.find(path + ": ") != std::string::npos && line.find(text) != std::string::npos) return line;
    return "";
}

// Outside the product's own folders a file goes only with evidence, which
// the log gives, as it gives why another's file stays; the preview says
// the same. The product's INF outweighs the kit's Microsoft mark, for the
// driver's service too.
TEST_F(ProtectedFiles, OutsideItsOwnFoldersAFileGoesOnlyWithEvidence) {
    const char kProductInf[] = "[SourceDisksFiles.x86]\r\nxlnw11.sys = 1\r\n\"xlnw11co.dll\"=1,,\r\nsfcfile.dll=1\r\nkernel32.dll=1\r\n"
                               "[Install]\r\nCopyFiles = Files, @xlnw11ui.dll\r\n"
                               "AddService = XLNW11, 2, Service\r\n[Strings]\r\nFullProductName=\"XLN Test\"\r\n";
    fake::AddFile("C:\\WINDOWS\\INF\\oem1.inf", kProductInf);
    fake::AddFile("C:\\WINDOWS\\INF\\oem2.inf", "[SourceDisksFiles]\r\nxlnw11cs.dll=1\r\n");
    const char* const kMaker = "its version resource names the product's maker";
    const char* const kInf = "the product's INF copies it";
    const char* const kPackage = "one of the product's driver packages";
    const char* const kOther = "kept: another vendor's file";
    const struct {
        const char* path;
        const char* company;
        bool stays;
        const char* log;
    } cases[] = {
        {"C:\\WINDOWS\\system32\\drivers\\xlnw11.sys", "Microsoft Corporation", false, kInf},
        {"C:\\WINDOWS\\system32\\xlnw11co.dll", "Microsoft Corporation", false, kInf},
        {"C:\\WINDOWS\\system32\\xlnw11ui.dll", "", false, kInf},
        {"C:\\WINDOWS\\system32\\xlnw11mk.dll", "XLN Technologies", false, kMaker},
        {"C:\\WINDOWS\\system32\\xlnw11pl.dll", "", false, "the description names it"},
        {"C:\\WINDOWS\\system32\\xlnw11ms.dll", "Microsoft Corporation", true, kMicrosoft},
        {"C:\\WINDOWS\\system32\\xlnw11cs.dll", "Contoso Tools", true, kOther},
        {"C:\\WINDOWS\\system32\\sfcfile.dll", nullptr, true, kSfc},
        {"C:\\WINDOWS\\system32\\kernel32.dll", nullptr, true, kKnown},
        {"C:\\WINDOWS\\INF\\oem1.inf", nullptr, false, kPackage},
        {"C:\\WINDOWS\\INF\\oem1.pnf", "", false, kPackage},
        {"C:\\WINDOWS\\INF\\oem2.inf", nullptr, true, "kept: another vendor's package"},
        {"C:\\WINDOWS\\INF\\oem2.pnf", "", true, "kept: another vendor's package"},
        {"C:\\WINDOWS\\system.ini", "", true, kData},
        {"C:\\WINDOWS\\sysxln.ini", "", true, "kept: nothing shows it to be the product's"},
        {"C:\\WINDOWS\\xlnw.ini", "", false, "the description names it"},
        {"C:\\Program Files\\XLN\\xlnp.dll", "", false, nullptr},
        {"C:\\Program Files\\XLN\\other.dll", "Contoso Tools", true, kOther},
    };
    for (auto& c : cases) {
        if (c.company) fake::AddFile(c.path);
        if (c.company && c.company[0]) fake::SetFileCompany(c.path, c.company);
    }
    fake::RegSeedString("HKLM\\SYSTEM\\CurrentControlSet\\Services\\XLNW11", "ImagePath",
                        "System32\\drivers\\xlnw11.sys");
    UninstallData& data = ClearedRecord();
    strcpy(data.full_product_name, "XLN Test");
    strcpy(data.short_company_name, "XLN");
    const char* const entries[] = {"%WIN_SYS_DIR%\\drivers\\xlnw11.sys", "%WIN_SYS_DIR%\\xlnw11*.dll",
                                   "%WIN_DIR%\\INF\\oem*.inf", "%WIN_DIR%\\INF\\oem*.pnf", "%WIN_DIR%\\sys*.ini",
                                   "%WIN_DIR%\\xlnw.ini", "C:\\Program Files\\XLN\\*.dll",
                                   "%WIN_SYS_DIR%\\sfcfile.dll", "%WIN_SYS_DIR%\\kernel32.dll"};
    for (const char* entry : entries) strcpy(data.installed_files[data.installed_file_count++], entry);
    fake::AddDirectory("C:\\LOGS");
    EXPECT_STREQ(kWindowsProgram, ServiceRefusal("XLNW11"));
    for (bool preview : {true, false}) {
        PreviewRun = preview;
        NoteServiceEvidence(data);
        EXPECT_EQ(nullptr, ServiceRefusal("XLNW11")) << "the product's INF installs its driver";
        EXPECT_EQ(nullptr, WindowsFileRefusal("C:\\WINDOWS\\system32\\xlnw11cs.dll"))
            << "outside the installed files, another maker's program is judged by its own step";
        ASSERT_TRUE(OpenRunLog(preview ? "C:\\LOGS\\p.log" : "C:\\LOGS\\r.log", true));
        EXPECT_EQ(0, RemoveInstalledFiles(data));
        CloseRunLog();
        ForgetServiceEvidence();
        std::string log = fake::FileContents(preview ? "C:\\LOGS\\p.log" : "C:\\LOGS\\r.log");
        EXPECT_EQ(std::string::npos, log.find("guardrail: kept")) << "what stays as another's is kept";
        for (auto& c : cases) {
            if (c.log) EXPECT_NE("", LineWith(log, c.path, c.log)) << preview << " " << c.path << "\n" << log;
            else EXPECT_EQ(std::string::npos, log.find("the product's file " + std::string(c.path))) << c.path;
            EXPECT_EQ(preview || c.stays, fake::FileExists(c.path)) << preview << " " << c.path;
        }
    }
    PreviewRun = false;
    EXPECT_TRUE(fake::PendingDeletes().empty());
}

}  // namespace

// Windows' own files, refused however they are named: drive roots, Windows
// File Protection, Microsoft's version resources, the known DLLs and Wine's
// stand-ins.
#include "removal/protected_files.h"
#include "removal/removal_steps.h"

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
        EXPECT_EQ(2, fake::LoadedLibraryCount());
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

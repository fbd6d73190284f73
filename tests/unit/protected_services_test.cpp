// Which services are Windows' own: where a service's program lies, read
// from its ImagePath the way the service manager reads it.
#include "removal/protected_services.h"

#include "removal_test_support.h"

namespace {

TEST(ProtectedServices, ProgramPathAsTheServiceManagerResolvesIt) {
    fake::Reset();
    fake::AddFile("C:\\Program Files\\XLN\\svc.exe", "");
    fake::AddFile("C:\\WINDOWS\\system32\\svc.exe", "");
    const struct {
        const char* image_path;
        const char* program;
    } cases[] = {
        {"%SystemRoot%\\System32\\svchost.exe -k netsvcs",
         "C:\\WINDOWS\\System32\\svchost.exe -k netsvcs"},
        {"%SystemRoot%\\system32\\svc.exe -k netsvcs", "C:\\WINDOWS\\system32\\svc.exe"},
        {"%windir%\\spoolsv.exe", "C:\\WINDOWS\\spoolsv.exe"},
        {"\\SystemRoot\\System32\\drivers\\tcpip.sys", "C:\\WINDOWS\\System32\\drivers\\tcpip.sys"},
        {"system32\\drivers\\xlnw11.sys", "C:\\WINDOWS\\system32\\drivers\\xlnw11.sys"},
        {"\\??\\C:\\Drivers\\x.sys", "C:\\Drivers\\x.sys"},
        {"\"C:\\Program Files\\XLN\\svc.exe\" -service", "C:\\Program Files\\XLN\\svc.exe"},
        {"C:\\Program Files\\XLN\\svc.exe", "C:\\Program Files\\XLN\\svc.exe"},
        {"C:\\Program Files\\Other\\svc.exe -a", "C:\\Program Files\\Other\\svc.exe -a"},
        {"C:\\Program Files\\XLN\\svc -a", "C:\\Program Files\\XLN\\svc.exe"},
    };
    for (auto& c : cases) {
        char program[MAX_PATH];
        ASSERT_TRUE(ServiceProgramPath(c.image_path, program, sizeof program)) << c.image_path;
        EXPECT_STREQ(c.program, program) << c.image_path;
    }
    char small[8];
    EXPECT_FALSE(ServiceProgramPath("%SystemRoot%\\System32\\x.sys", small, sizeof small));
}

TEST(ProtectedServices, SharedProcessesAndSettingsAreRefusedOthersNot) {
    fake::Reset();
    const std::string services = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";
    auto type = [](DWORD value) { return std::string((const char*)&value, 4); };
    fake::RegSeedBytes(services + "Shared", "Type", REG_DWORD, type(0x20));
    fake::RegSeedBytes(services + "Own", "Type", REG_DWORD, type(0x10));
    fake::RegSeedString(services + "Own", "ImagePath", "C:\\Program Files\\XLN\\svc.exe");
    fake::RegSeedString(services + "Hosted", "ImagePath", "C:\\WINDOWS\\system32\\SVCHOST.EXE -k x");
    fake::RegSeedBytes(services + "Driver", "Type", REG_DWORD, type(1));
    fake::RegSeedKey(services + "Settings\\Parameters");
    fake::RegSeedBytes(services + "Spooler", "Type", REG_DWORD, type(0x110));
    fake::RegSeedString(services + "Spooler", "ImagePath", "%SystemRoot%\\system32\\spoolsv.exe");
    fake::RegSeedBytes(services + "Tcpip", "Type", REG_DWORD, type(1));
    for (const char* file : {"C:\\WINDOWS\\system32\\spoolsv.exe", "C:\\WINDOWS\\System32\\drivers\\tcpip.sys"}) {
        fake::AddFile(file);
        fake::SetFileCompany(file, "Microsoft Corporation");
    }
    fake::AddFile("C:\\WINDOWS\\System32\\drivers\\driver.sys");
    EXPECT_STREQ("a service that runs in a shared process", ServiceRefusal("Shared"));
    EXPECT_STREQ("a service that runs in a shared process", ServiceRefusal("Hosted"));
    EXPECT_STREQ("no service: Windows' own settings", ServiceRefusal("Settings"));
    EXPECT_STREQ("a service whose program is Windows' own", ServiceRefusal("Spooler"));
    EXPECT_STREQ("a service whose program is Windows' own", ServiceRefusal("Tcpip"));
    EXPECT_EQ(nullptr, ServiceRefusal("Own"));
    EXPECT_EQ(nullptr, ServiceRefusal("Driver"));
    EXPECT_EQ(nullptr, ServiceRefusal("Missing"));
    EXPECT_EQ(nullptr, ServiceRefusal(""));
    EXPECT_EQ(0, fake::OpenKeyCount());
}

}  // namespace

#include "removal/windows_programs.h"

namespace {

TEST(WindowsPrograms, InterpretersWindowsFilesAndWinesOwn) {
    fake::Reset();
    const std::string wine_mark = std::string(0x40, 'M') + "Wine builtin DLL" + std::string(8, '\0');
    fake::AddFile("C:\\WINDOWS\\system32\\spoolsv.exe", wine_mark);
    fake::AddFile("C:\\WINDOWS\\system32\\short.exe", "MZ");
    fake::AddFile("C:\\WINDOWS\\xlnsvc.exe", std::string(0x40, 'M') + "XLN service program");
    fake::AddFile("C:\\WINDOWS\\system32\\kernel32.dll");
    fake::SetFileCompany("C:\\WINDOWS\\system32\\kernel32.dll", "Microsoft Corporation");
    const struct {
        const char* path;
        bool refused;
    } cases[] = {
        {"C:\\WINDOWS\\system32\\CMD.EXE", true},
        {"D:\\Tools\\wscript.exe", true},
        {"C:\\WINDOWS\\system32\\spoolsv.exe", true},
        {"C:\\WINDOWS\\system32\\kernel32.dll", true},
        {"C:\\WINDOWS\\system32\\short.exe", false},
        {"C:\\WINDOWS\\xlnsvc.exe", false},
        {"C:\\WINDOWS\\missing.exe", false},
        {"", false},
    };
    for (auto& c : cases) EXPECT_EQ(c.refused, WindowsProgramRefusal(c.path) != nullptr) << c.path;
    EXPECT_EQ(0, fake::OpenHandleCount());
}

}  // namespace

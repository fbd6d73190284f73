// Which services are Windows' own: where a service's program lies, read
// from its ImagePath the way the service manager reads it.
#include "removal/guardrails/protected_services.h"

#include "removal_test_support.h"

namespace {

TEST(ProtectedServices, ProgramPathAsTheServiceManagerResolvesIt) {
    const DWORD kSz = REG_SZ, kExpand = REG_EXPAND_SZ;
    const struct {
        const fake::WindowsVersion* version;
        const char* image_path;
        DWORD type;
        const char* program;
    } cases[] = {
        {&fake::kWinXP, "%SystemRoot%\\System32\\svchost.exe -k netsvcs", kExpand,
         "C:\\WINDOWS\\System32\\svchost.exe"},
        {&fake::kWinXP, "%SystemRoot%\\system32\\svc.exe -k netsvcs", kExpand, "C:\\WINDOWS\\system32\\svc.exe"},
        {&fake::kWinXP, "%SYSTEMROOT%\\system32\\svc.exe", kExpand, "C:\\WINDOWS\\system32\\svc.exe"},
        {&fake::kWinXP, "%windir%\\spoolsv.exe", kExpand, "C:\\WINDOWS\\spoolsv.exe"},
        {&fake::kWinXP, "%ProgramFiles%\\XLN\\svc.exe -a", kExpand, "C:\\Program Files\\XLN\\svc.exe"},
        {&fake::kWinXP, "%ProgramFiles%\\XLN\\svc.exe", kSz, "C:\\WINDOWS\\%ProgramFiles%\\XLN\\svc.exe"},
        {&fake::kWinXP, "%Unset%\\x.exe", kExpand, "C:\\WINDOWS\\%Unset%\\x.exe"},
        {&fake::kWin98, "%SystemRoot%\\system32\\svc.exe", kExpand, "C:\\WINDOWS\\system32\\svc.exe"},
        {&fake::kWin98, "%windir%\\spoolsv.exe", kExpand, "C:\\WINDOWS\\spoolsv.exe"},
        {&fake::kWinXP, "\\SystemRoot\\System32\\drivers\\tcpip.sys", kSz, "C:\\WINDOWS\\System32\\drivers\\tcpip.sys"},
        {&fake::kWinXP, "\\systemroot\\\\x.sys", kSz, "C:\\WINDOWS\\x.sys"},
        {&fake::kWinXP, "system32\\drivers\\xlnw11.sys", kSz, "C:\\WINDOWS\\system32\\drivers\\xlnw11.sys"},
        {&fake::kWinXP, "\\??\\C:\\Drivers\\x.sys", kSz, "C:\\Drivers\\x.sys"},
        {&fake::kWinXP, "\"C:\\Program Files\\XLN\\svc.exe\" -service", kSz, "C:\\Program Files\\XLN\\svc.exe"},
        {&fake::kWinXP, "C:\\Program Files\\XLN\\svc.exe", kSz, "C:\\Program Files\\XLN\\svc.exe"},
        {&fake::kWinXP, "C:\\Program Files\\Other\\svc.exe -a", kSz, "C:\\Program Files\\Other\\svc.exe"},
        {&fake::kWinXP, "C:\\Program Files\\Other\\svc.exe.bak -a", kSz, "C:\\Program Files\\Other\\svc.exe.bak -a"},
        {&fake::kWinXP, "C:\\Program Files\\XLN\\svc -a", kSz, "C:\\Program Files\\XLN\\svc.exe"},
    };
    for (auto& c : cases) {
        fake::Reset();
        fake::SetWindowsVersion(*c.version);
        fake::SetEnvironmentValue("ProgramFiles", "C:\\Program Files");
        fake::AddFile("C:\\Program Files\\XLN\\svc.exe", "");
        fake::AddFile("C:\\WINDOWS\\system32\\svc.exe", "");
        char program[MAX_PATH];
        ASSERT_TRUE(ServiceProgramPath(c.image_path, c.type, program, sizeof program)) << c.image_path;
        EXPECT_STREQ(c.program, program) << c.image_path;
    }
    char small[8];
    EXPECT_FALSE(ServiceProgramPath("%SystemRoot%\\System32\\x.sys", REG_SZ, small, sizeof small));
    EXPECT_FALSE(ServiceProgramPath("%SystemRoot%\\System32\\x.sys", REG_EXPAND_SZ, small, sizeof small));
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
    const std::string spooler = "%SystemRoot%\\system32\\spoolsv.exe";
    fake::RegSeedBytes(services + "Spooler", "ImagePath", REG_EXPAND_SZ, spooler + '\0');
    fake::RegSeedBytes(services + "Tcpip", "Type", REG_DWORD, type(1));
    for (const char* file : {"C:\\WINDOWS\\system32\\spoolsv.exe", "C:\\WINDOWS\\System32\\drivers\\tcpip.sys"}) {
        fake::AddFile(file);
        fake::SetFileCompany(file, "Microsoft Corporation");
    }
    fake::AddFile("C:\\WINDOWS\\System32\\drivers\\driver.sys");
    fake::RegSeedBytes(services + "SharedInteractive", "Type", REG_DWORD, type(0x120));
    fake::RegSeedString(services + "SharedInteractive", "ImagePath", "C:\\Program Files\\XLN\\svc.exe");
    fake::RegSeedBytes(services + "Fastfat", "Type", REG_DWORD, type(2));
    fake::AddFile("C:\\WINDOWS\\System32\\drivers\\fastfat.sys");
    fake::SetFileCompany("C:\\WINDOWS\\System32\\drivers\\fastfat.sys", "Microsoft Corporation");
    fake::RegSeedBytes(services + "OwnProcess", "Type", REG_DWORD, type(0x10));
    fake::AddFile("C:\\WINDOWS\\System32\\drivers\\ownprocess.sys");
    fake::SetFileCompany("C:\\WINDOWS\\System32\\drivers\\ownprocess.sys", "Microsoft Corporation");
    EXPECT_STREQ("a service that runs in a shared process", ServiceRefusal("SharedInteractive"));
    EXPECT_STREQ("a service whose program is Windows' own", ServiceRefusal("Fastfat"))
        << "a file-system driver without ImagePath loads from the drivers folder";
    EXPECT_EQ(nullptr, ServiceRefusal("OwnProcess")) << "only drivers load from the drivers folder";
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

#include "removal/guardrails/service_evidence.h"

namespace {

const std::string kServices = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";

void SeedService(const std::string& name, DWORD type, const char* image_path, DWORD text_type = REG_SZ) {
    fake::RegSeedBytes(kServices + name, "Type", REG_DWORD, std::string((const char*)&type, 4));
    if (image_path)
        fake::RegSeedBytes(kServices + name, "ImagePath", text_type, std::string(image_path) + '\0');
}

// The description of an adapter: its driver service, files, a service
// program, its INF and OEM INF, beside another product's OEM INF.
UninstallData& EvidenceWorld() {
    UninstallData& data = FreshWorld();
    strcpy(data.full_product_name, "XLN 802.11g");
    strcpy(data.device_service_name, "XLNW11");
    const char* const files[] = {"%WIN_SYS_DIR%\\drivers\\xlnw2*.sys", "%WIN_SYS_DIR%\\drivers\\*.sys",
                                 "C:\\Program Files\\XLN\\*.hlp", "%WIN_DIR%\\inf\\xlnw*.inf",
                                 "%WIN_DIR%\\inf\\oem*.inf", "%WIN_DIR%\\inf\\*.inf",
                                 "%WIN_DIR%\\Temp\\xln.tmp"};
    for (const char* file : files) strcpy(data.installed_files[data.installed_file_count++], file);
    strcpy(data.installed_services[data.installed_service_count++], "%WIN_DIR%\\xlnsvc.exe,monitor");
    fake::AddFile("C:\\WINDOWS\\inf\\xlnw11.inf",
                  "[XLN.Services]\r\nAddService = " + std::string(TAVK_SERVICE_NAME_LEN, 'L') + ", 2\r\n"
                  "AddService = " + std::string(TAVK_SERVICE_NAME_LEN + 1, 'M') + ",2\r\nAddService = XlnInf, 2, Inst\r\n  addservice=\"Quoted Svc\" ,2\r\n"
                  "AddServiceX = NotThis\r\n; AddService = Commented\r\n");
    fake::AddFile("C:\\WINDOWS\\INF\\oem3.inf", "[Strings]\r\nFullProductName=XLN 802.11g\r\n[S]\r\nAddService=OemAdded,2\r\n");
    fake::AddFile("C:\\WINDOWS\\INF\\oem4.inf", "[Strings]\r\nFullProductName=Other\r\n[S]\r\nAddService=OtherOem,2\r\n");
    fake::AddFile("C:\\WINDOWS\\system32\\drivers\\present.sys", "MZ");
    fake::AddFile("C:\\WINDOWS\\other.exe", "MZ");
    SeedService("XLNW11", 1, "system32\\drivers\\gone.sys");
    SeedService("xlnw22", 1, nullptr);
    SeedService("Missing", 1, "system32\\drivers\\missing.sys");
    SeedService("Present", 1, "\\SystemRoot\\system32\\drivers\\present.sys");
    for (const char* name : {"XlnInf", "Quoted Svc", "OemAdded", "NotThis", "Commented", "OtherOem"})
        SeedService(name, 0x10, "C:\\Other\\x.exe");
    for (char c : {'L', 'M'}) SeedService(std::string(TAVK_SERVICE_NAME_LEN + (c == 'M'), c), 0x10, "C:\\Other\\x.exe");
    SeedService("Monitor", 0x10, "\"C:\\Program Files\\XLN\\Monitor\\mon.exe\" -run");
    SeedService("XlnSvc", 0x10, "%windir%\\xlnsvc.exe -x", REG_EXPAND_SZ);
    SeedService("WinFolder", 0x10, "C:\\WINDOWS\\other.exe");
    fake::AddDirectory("C:\\WINDOWS\\Temp\\sub");
    SeedService("WinTemp", 0x10, "C:\\WINDOWS\\Temp\\sub\\x.exe");
    SeedService("NoImage", 0x10, nullptr);
    return data;
}

TEST(ServiceEvidence, OnlyWhatTiesAServiceToTheProductLetsItGo) {
    const char* const kNotTied = "a service nothing ties to the product";
    const char* const kMissing = "a service whose program is missing and nothing ties to the product";
    UninstallData& data = EvidenceWorld();
    NoteServiceEvidence(data);
    // An INF's service name of the longest length is noted; one longer is passed over.
    const std::string longest(TAVK_SERVICE_NAME_LEN, 'L'), too_long(TAVK_SERVICE_NAME_LEN + 1, 'M');
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"XLNW11", nullptr},     {"xlnw11", nullptr},    {"xlnw22", nullptr},
        {"XlnInf", nullptr},     {"XLNINF", nullptr},    {"Quoted Svc", nullptr},
        {"OemAdded", nullptr},   {"Monitor", nullptr},   {"XlnSvc", nullptr},
        {"NoSuchService", nullptr}, {"Missing", kMissing}, {"Present", kNotTied},
        {"NotThis", kMissing},   {"Commented", kMissing}, {"OtherOem", kMissing},
        {"WinFolder", kNotTied}, {"NoImage", kNotTied},  {"WinTemp", kMissing},
        {longest.c_str(), nullptr}, {too_long.c_str(), kMissing},
    };
    for (auto& c : cases) {
        const char* reason = ServiceEvidenceRefusal("SYSTEM\\CurrentControlSet\\Services", c.name);
        EXPECT_STREQ(c.reason, reason) << c.name;
    }
    ForgetServiceEvidence();
    EXPECT_STREQ(kNotTied, ServiceEvidenceRefusal("SYSTEM\\CurrentControlSet\\Services", "XLNW11"));
    ExpectNothingOpen("service evidence");
    EXPECT_EQ(0, fake::OpenHandleCount());
}

}  // namespace

#include "removal/guardrails/windows_programs.h"

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
    EXPECT_EQ(nullptr, WindowsProgramRefusal(nullptr));
    EXPECT_EQ(0, fake::OpenHandleCount());
}

}  // namespace

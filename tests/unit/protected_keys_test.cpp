// The guardrails on the registry: which keys no description can have
// deleted, however their paths are spelled.
#include "removal/guardrails/protected_keys.h"

#include "removal/guardrails/service_evidence.h"
#include "removal_test_support.h"

namespace {

TEST(ProtectedKeys, RootsFirstLevelAndSystemKeysInAnySpelling) {
    const struct {
        const char* parent;
        const char* name;
        bool is_protected;
    } cases[] = {
        {"", "", true},
        {"", "\\\\", true},
        {"", "SOFTWARE", true},
        {"", "\\HARDWARE\\", true},
        {"", "Victim", true},
        {"", "software\\MICROSOFT", true},
        {"SOFTWARE\\\\", "Microsoft\\\\", true},
        {"SOFTWARE", "Classes", true},
        {"", "SOFTWARE\\Wow6432Node", true},
        {"", "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", true},
        {"", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", true},
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Uninstall", true},
        {"", "SYSTEM\\CurrentControlSet", true},
        {"", "SYSTEM\\ControlSet002\\Hardware Profiles", true},
        {"SYSTEM\\controlset001", "Services", true},
        {"", "SYSTEM\\CurrentControlSet\\Enum", true},
        {"", "SOFTWARE\\Tarnwell", false},
        {"", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN 802.11g", false},
        {"SYSTEM\\CurrentControlSet\\Services", "XLNW11", false},
        {"", "SYSTEM\\ControlSet01\\Services", true},
        {"", "SOFTWARE\\Wow6432Node\\Tarnwell", false},
        {"", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Extra", true},
        {"", "SOFTWARE\\Clients", true},
        {"software\\", "clients\\Mail\\", true},
        {"", "SOFTWARE\\Wow6432Node\\Clients\\StartMenuInternet\\XLN", true},
        {"SOFTWARE\\\\RegisteredApplications", "", true},
        {"", "SOFTWARE\\Registered Applications", true},
        {"", "SOFTWARE\\WOW6432NODE\\registered applications\\XLN", true},
        {"", "SOFTWARE\\ODBC\\ODBC.INI\\\\", true},
        {"", "SOFTWARE\\Description\\Microsoft\\Rpc", true},
        {"", "SOFTWARE\\ClientsX", false},
        {"", "SOFTWARE\\Registered", false},
        {"", "SOFTWARE\\Tarnwell\\Clients", false},
        {"", "SOFTWARE\\Intel", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.is_protected, IsProtectedKey(c.parent, c.name)) << c.parent << " + " << c.name;
}

// A trail byte equal to '\' does not split a name into two.
TEST(ProtectedKeys, DoubleByteNamesAreOneUnit) {
    fake::Reset();
    fake::SetAnsiCodePage(932);
    EXPECT_TRUE(IsProtectedKey("", "A\x83\\B"));
    EXPECT_FALSE(IsProtectedKey("", "SOFTWARE\\A\x83\\B"));
}

}  // namespace

namespace {

const std::string kServices = "HKLM\\SYSTEM\\CurrentControlSet\\Services\\";

void SeedService(const std::string& name, DWORD type, const char* image_path) {
    fake::RegSeedBytes(kServices + name, "Type", REG_DWORD, std::string((const char*)&type, 4));
    if (image_path) fake::RegSeedString(kServices + name, "ImagePath", image_path);
}

// A machine with Windows' own services and settings beside a product's.
void SeedWindowsServices() {
    fake::Reset();
    SeedService("RpcSs", 0x20, "%SystemRoot%\\system32\\svchost.exe -k rpcss");
    SeedService("Dhcp", 0x10, "%SystemRoot%\\System32\\svchost.exe -k netsvcs");
    SeedService("Netlogon", 0x10, "\"C:\\WINDOWS\\system32\\lsass.exe\"");
    fake::RegSeedString(kServices + "Winsock2\\Parameters", "Current", "x");
    SeedService("XLNW11", 1, "system32\\drivers\\xlnw11.sys");
    SeedService("NoFile", 1, "system32\\drivers\\nofile.sys");
    fake::RegSeedString(kServices + "VxD\\XLNW11", "StaticVxD", "xlnw11.vxd");
    fake::RegSeedString(kServices + "VxD\\VNETSUP", "StaticVxD", "*VNETSUP");
    fake::RegSeedKey(kServices + "VxD\\NOFILE");
}

}  // namespace

// Inside Windows' trees only an uninstall entry, a service of the
// product's own, an event-log source and what lies below them may go.
TEST(ProtectedKeys, WindowsTreesOnlyYieldTheProductsPlaces) {
    SeedWindowsServices();
    const DWORD kDriver = 1;
    for (const char* name : {"XLNW11", "Other"})
        fake::RegSeedBytes(std::string("HKLM\\SYSTEM\\ControlSet002\\Services\\") + name, "Type",
                           REG_DWORD, std::string((const char*)&kDriver, 4));
    UninstallData& data = ClearedRecord();
    strcpy(data.device_service_name, "XLNW11");
    NoteServiceEvidence(data);
    const char* const kCcs = "SYSTEM\\CurrentControlSet\\";
    const struct {
        const char* parent;
        const char* name;
        bool is_protected;
    } cases[] = {
        {"", "SYSTEM\\Select", true},
        {"", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", true},
        {"", "SOFTWARE\\Classes\\CLSID", true},
        {"", "SOFTWARE\\Classes\\CLSID\\{00000000-0000-0000-0000-000000000001}", true},
        {kCcs, "Control\\Session Manager", true},
        {"", "SOFTWARE\\Policies\\Vendor", true},
        {"", "HARDWARE\\DESCRIPTION\\System", true},
        {"", "SAM\\SAM\\Domains", true},
        {"", "SECURITY\\Policy", true},
        {"", "Enum\\PCI\\VEN_1B2C&DEV_0011", true},
        {"", "SOFTWARE\\Wine\\Drivers", true},
        {"", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\11", true},
        {"", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN 802.11g\\Extra", false},
        {"", "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN", false},
        {"", "SOFTWARE\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon", true},
        {kCcs, "Services", true},
        {kCcs, "Services\\RpcSs", true},
        {kCcs, "Services\\Dhcp\\Parameters", true},
        {kCcs, "Services\\Netlogon", true},
        {kCcs, "Services\\Winsock2", true},
        {kCcs, "Services\\XLNW11", false},
        {"SYSTEM\\ControlSet002\\", "Services\\xlnw11", false},
        {"SYSTEM\\\\ControlSet002", "Services\\Other\\", true},
        {"SYSTEM\\ControlSetABC", "Services\\XLNW11", true},
        {"SYSTEM\\ControlSet00/", "Services\\XLNW11", true},
        {"SYSTEM\\ControlSet00:", "Services\\XLNW11", true},
        {"SYSTEM\\ControlSet0010", "Services\\XLNW11", true},
        {"SYSTEM\\ControlSet909", "Services\\XLNW11", false},
        {"SYSTEM\\ControlSet000", "Services\\XLNW11", false},
        {kCcs, "Services\\NoFile", true},
        {kCcs, "Services\\XLNW11\\Parameters", false},
        {kCcs, "Services\\NoSuchService", false},
        {kCcs, "Services\\Eventlog", true},
        {kCcs, "Services\\Eventlog\\Application", true},
        {kCcs, "Services\\Eventlog\\Application\\XLN Monitor", false},
        {kCcs, "Services\\Eventlog\\XLN Events\\XLNW11\\Sub", false},
        {kCcs, "Services\\VxD", true},
        {kCcs, "Services\\VxD\\XLNW11", false},
        {kCcs, "Services\\VxD\\VNETSUP", true},
        {kCcs, "Services\\VxD\\NOFILE", true},
        {kCcs, "Services\\Class\\Net\\0001", true},
        {"", "SOFTWARE\\Tarnwell\\802.11", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.is_protected, IsProtectedKey(c.parent, c.name)) << c.parent << " + " << c.name;
    EXPECT_STREQ("a service that runs in a shared process",
                 KeyRefusal(kCcs, "Services\\Dhcp"));
    EXPECT_STREQ("a service whose program is missing and nothing ties to the product",
                 KeyRefusal(kCcs, "Services\\NoFile\\Parameters"));
    ForgetServiceEvidence();
    EXPECT_TRUE(IsProtectedKey(kCcs, "Services\\XLNW11"));
    EXPECT_EQ(0, fake::OpenKeyCount());
}

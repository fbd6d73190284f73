// The device tools' registry parts over the fake world: NT 4's cards and
// their own services, Windows 9x devices with the protocols they bind, the
// tools' lines in the run log, and the pure INF-model and device-tree
// walks of the tool for Windows 2000 and later.
#include <algorithm>
#include <string>
#include <strings.h>
#include <vector>

#include "devtools/device_children.h"
#include "devtools/device_list.h"
#include "devtools/enum_devices_9x.h"
#include "devtools/inf_models.h"
#include "devtools/network_cards.h"
#include "devtools/network_linkage_nt4.h"
#include "devtools/oem_infs.h"
#include "devtools/registry_tree.h"
#include "devtools/service_manager.h"
#include "devtools/service_removal.h"
#include "devtools/tool_log.h"
#include "removal_fixture.h"

namespace {

const std::string kCards = "HKLM\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
const std::string kServices = "HKLM\\System\\CurrentControlSet\\Services";
const std::string kEnum = "HKLM\\Enum";
const std::string kClasses = "HKLM\\System\\CurrentControlSet\\Services\\Class";
const std::string kNetTrans = kClasses + "\\NetTrans";

DeviceRequest* Request(const std::string& text) {
    static DeviceRequest request;
    static RequestParser parser;
    BeginRequest(&parser, &request);
    FeedRequest(&parser, text.data(), text.size());
    EndRequest(&parser);
    return &request;
}

class DeviceToolRegistry : public RemovalTest {
protected:
    void SetUp() override {
        RemovalTest::SetUp();
        UseToolLog("", "");
    }
    void TearDown() override {
        UseToolLog("", "");
        RemovalTest::TearDown();
    }
    void Card(const std::string& number, const std::string& service, const std::string& description) {
        fake::RegSeedString(kCards + "\\" + number, "ServiceName", service);
        fake::RegSeedString(kCards + "\\" + number, "Description", description);
        fake::RegSeedString(kCards + "\\" + number + "\\NetRules", "InfName", "oemnad.inf");
    }
    ToolOutcome outcome = {};
};

TEST_F(DeviceToolRegistry, Nt4CardsGoAndNoteTheServicesTheyName) {
    Card("1", "XLNW111", "XLN 802.11g Network Adapter");
    Card("2", "E100B1", "Other Vendor Ethernet Adapter");
    Card("3", "NDIS1", "Wireless LAN Card");  // named by its description
    Card("4", "XLNW11X", "Other");
    Card("5", "XLNW112", "Locked");
    fake::FailCall("RegDeleteKeyA", ERROR_ACCESS_DENIED, 1, "NetworkCards\\5");
    fake::RegSeedBytes(kCards + "\\6", "ServiceName", REG_BINARY, "XLNW113");  // not text: names nothing
    fake::RegSeedString(kCards + "\\6", "Description", "Other");
    static CardServices services;
    services.count = 0;
    RemoveNamedCards(*Request("Class=Net\nServiceName=XLNW11\nDesc=Wireless LAN Card\n"), &outcome, &services);
    EXPECT_EQ(2, outcome.removed);
    EXPECT_TRUE(outcome.restart) << "NT 4 applies a network change at its next start";
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ((uint32_t)ERROR_ACCESS_DENIED, outcome.error);
    for (const char* gone : {"1", "3"}) EXPECT_FALSE(fake::RegKeyExists(kCards + "\\" + gone)) << gone;
    for (const char* kept : {"2", "4", "5", "6"}) EXPECT_TRUE(fake::RegKeyExists(kCards + "\\" + kept)) << kept;
    ASSERT_EQ(2, services.count) << "only the removed cards' services";
    EXPECT_STREQ("XLNW111", services.names[0]);
    EXPECT_STREQ("NDIS1", services.names[1]);
    NoteService(&services, "xlnw111");
    EXPECT_EQ(2, services.count) << "each service once";

    ToolOutcome none = {};
    RemoveNamedCards(*Request("Class=Ports\nServiceName=E100B\n"), &none, &services);
    EXPECT_EQ(0, none.removed) << "a request for other classes names no card";
}

TEST_F(DeviceToolRegistry, ServiceKeysTheManagerDoesNotKnow) {
    fake::RegSeedString(kServices + "\\XLNW111\\Parameters", "BusNumber", "0");
    fake::RegSeedKey(kServices + "\\Tcpip");
    RemoveServiceKey("XLNW111", &outcome);
    EXPECT_FALSE(fake::RegKeyExists(kServices + "\\XLNW111"));
    EXPECT_TRUE(outcome.restart);
    for (const char* name : {"Absent", "", "..", ".", "...", "Tcpip\\..\\Other"}) RemoveServiceKey(name, &outcome);
    EXPECT_TRUE(fake::RegKeyExists(kServices + "\\Tcpip"));
    EXPECT_TRUE(fake::RegKeyExists(kServices)) << "no name reaches the Services key itself";
    EXPECT_EQ((uint32_t)ERROR_INVALID_NAME, outcome.error) << "a name that names no service is refused";
}

// The manager's answers on each path: gone, gone at the restart, unknown,
// kept, failed; a stop that ends within the bounded wait is the edge.
TEST_F(DeviceToolRegistry, DriverServiceStopsWithinTheWaitOrGoesAtTheRestart) {
    fake::RegSeedBytes(kServices + "\\Shared", "Type", REG_DWORD, std::string("\x20\0\0\0", 4));
    struct Row {
        const char* name;
        bool known, running;
        long stops_after;  // -1: never
        const char* fail_api;
        DWORD error;
        ServiceFate fate;
        bool restart, failed, left;
    } rows[] = {
        {"Stopped", true, false, 0, nullptr, 0, kServiceRemoved, false, false, false},
        {"StopsAtOnce", true, true, 0, nullptr, 0, kServiceRemoved, false, false, false},
        {"StopsAtTheLimit", true, true, 15000, nullptr, 0, kServiceRemoved, false, false, false},
        {"StopsJustAfter", true, true, 15001, nullptr, 0, kServiceRemoved, true, false, true},
        {"NeverStops", true, true, -1, nullptr, 0, kServiceRemoved, true, false, true},
        {"StoppedMeanwhile", true, true, 0, "ControlService", ERROR_SERVICE_NOT_ACTIVE, kServiceRemoved, false, false, true},
        {"RefusesToStop", true, true, 0, "ControlService", ERROR_ACCESS_DENIED, kServiceRemoved, true, false, true},
        {"Marked", true, false, 0, "DeleteService", ERROR_SERVICE_MARKED_FOR_DELETE, kServiceRemoved, true, false, true},
        {"Locked", true, false, 0, "DeleteService", ERROR_ACCESS_DENIED, kServiceFailed, false, true, true},
        {"NoRights", true, false, 0, "OpenServiceA", ERROR_ACCESS_DENIED, kServiceFailed, false, true, true},
        {"Unknown", false, false, 0, nullptr, 0, kServiceUnknown, false, false, false},
        {"", true, false, 0, nullptr, 0, kServiceUnknown, false, false, true},
        {"Shared", true, true, 0, nullptr, 0, kServiceKept, false, false, true},
    };
    for (const Row& r : rows) {
        if (r.known) stand_in::AddService(r.name, r.running, r.stops_after);
        if (r.fail_api) fake::FailCall(r.fail_api, r.error, 1, r.name);
        ToolOutcome got = {};
        SC_HANDLE manager = OpenServiceManager(&got);
        ASSERT_TRUE(manager);
        EXPECT_EQ(r.fate, RemoveDriverService(manager, r.name, &got)) << r.name;
        CloseServiceManagerHandle(manager);
        EXPECT_EQ(r.restart, got.restart) << r.name;
        EXPECT_EQ(r.failed, got.failed) << r.name;
        EXPECT_EQ(r.left, stand_in::ServiceExists(r.name)) << r.name;
    }
    EXPECT_TRUE(stand_in::ServiceRunning("Shared")) << "a refused service is not stopped either";
    fake::FailCall("OpenSCManagerA", ERROR_ACCESS_DENIED);
    EXPECT_FALSE(OpenServiceManager(&outcome));
    EXPECT_EQ((uint32_t)ERROR_ACCESS_DENIED, outcome.error);
}

// The files and folders below `folder` (ending in a backslash), as added.
std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> out;
    for (const std::string& line : fake::FileDump())
        if (line.compare(0, folder.size(), folder) == 0) out.push_back(line.substr(0, line.find(" attr=")));
    return out;
}

// Notes the driver INF of every listed device.
void NoteListedDevices(InfNotes* notes) {
    HDEVINFO set = OpenAllDevices();
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof device;
    for (DWORD i = 0; DeviceAt(set, i, &device); ++i) NoteDriverInf(set, &device, notes);
    CloseDeviceList(set);
}

// An "oem*.inf" of the INF folder whose models name a requested id, or a
// removed device's, is noted once; one no device uses goes with its ".pnf".
TEST_F(DeviceToolRegistry, DriverPackagesNotedAndUninstalledOnlyWhenUnused) {
    const std::string models = "[Manufacturer]\r\n%M% = XLN\r\n[XLN]\r\n%Card% = Install, PCI\\VEN_1B2C&DEV_0011\r\n";
    const std::string inf = "C:\\WINDOWS\\inf\\";
    for (const char* name : {"oem1.inf", "OEM2.INF", "oem4.info", "net1.inf", "oem6.inf"}) fake::AddFile(inf + name, models);
    fake::AddFile(inf + "oem1.pnf", "compiled");
    fake::AddFile(inf + "oem3.inf", "[Manufacturer]\r\n%M% = O\r\n[O]\r\n%C% = I, PCI\\VEN_8086&DEV_1229\r\n");
    fake::AddDirectory(inf + "oem5.inf");
    const char* const driver_infs[] = {"OEM1.inf", "machine.inf", "..\\oem9.inf", "oem8.inf", "oem6.inf", "oe"};
    const std::string net = "System\\CurrentControlSet\\Services\\Class\\Net\\000";
    for (const char* const& name : driver_infs) {
        std::string key = net + std::to_string(&name - driver_infs);
        fake::RegSeedString("HKLM\\" + key, "InfPath", name);
        stand_in::AddDevice("HKLM\\" + key);
    }
    stand_in::AddDevice("");
    static InfNotes notes;
    notes.count = 0;
    NoteMatchingInfs(*Request("HardwareID=pci\\ven_1b2c&dev_0011\n"), &notes);
    NoteListedDevices(&notes);
    for (int removed : {0, 3}) RegDeleteKeyA(HKEY_LOCAL_MACHINE, (net + std::to_string(removed)).c_str());
    std::vector<std::string> noted(notes.names, notes.names + notes.count);
    std::sort(noted.begin(), noted.end(), [](const std::string& a, const std::string& b) { return strcasecmp(a.c_str(), b.c_str()) < 0; });
    EXPECT_EQ((std::vector<std::string>{"oem1.inf", "OEM2.INF", "oem6.inf", "oem8.inf"}), noted);
    UninstallUnusedInfs(notes, &outcome);
    EXPECT_EQ((std::vector<std::string>{"C:\\WINDOWS\\inf\\net1.inf", "C:\\WINDOWS\\inf\\oem3.inf",
                                        "C:\\WINDOWS\\inf\\oem4.info", "C:\\WINDOWS\\inf\\oem5.inf",
                                        "C:\\WINDOWS\\inf\\oem6.inf"}),
              FilesIn(inf)) << "oem6.inf stays: a device uses it";
    EXPECT_TRUE(outcome.failed) << "oem8.inf is not there to uninstall";
    EXPECT_EQ((uint32_t)ERROR_FILE_NOT_FOUND, outcome.error);

    fake::AddFile(inf + "oem1.inf", models);
    InfNotes one = {1, {"oem1.inf"}};
    fake::FailCall("SetupDiGetClassDevsA", ERROR_NOT_ENOUGH_MEMORY);
    UninstallUnusedInfs(one, &outcome);
    EXPECT_TRUE(fake::FileExists(inf + "oem1.inf")) << "devices that cannot be listed may use it";
    stand_in::RemoveExport("setupapi.dll", "SetupUninstallOEMInfA");
    UninstallUnusedInfs(one, &outcome);
    EXPECT_TRUE(fake::FileExists(inf + "oem1.inf")) << "Windows 2000 cannot uninstall a package";
}

// A REG_MULTI_SZ of the entries, each terminated, with the list's end.
std::string Multi(const std::vector<std::string>& entries) {
    std::string out;
    for (const std::string& e : entries) out += e + '\0';
    return out + '\0';
}

void SeedMulti(const std::string& key, const char* name, const std::vector<std::string>& entries) {
    fake::RegSeedBytes(kServices + "\\" + key, name, REG_MULTI_SZ, Multi(entries));
}

// The card XLNW111 went; E100B1 and XLNW1110 stay, and so do their entries.
TEST_F(DeviceToolRegistry, Nt4RemovedCardLeavesEveryLinkageAndItsLanaMapPair) {
    const std::string kept_route = "\"Tcpip\" \"E100B1\"";
    struct Row {
        const char* key;
        const char* value;
        std::vector<std::string> before, after;
    };
    const Row rows[] = {
        {"Tcpip\\Linkage", "Bind", {"\\Device\\XLNW111", "\\Device\\E100B1", "\\Device\\XLNW1110"},
         {"\\Device\\E100B1", "\\Device\\XLNW1110"}},
        {"NetBT\\Linkage", "Export", {"\\Device\\NetBT_xlnw111", "\\Device\\NetBT_E100B1"}, {"\\Device\\NetBT_E100B1"}},
        {"NetBT\\Linkage", "Route", {"\"Tcpip\" \"XLNW111\"", kept_route}, {kept_route}},
        {"Nbf\\Linkage\\Disabled", "Bind", {"\\Device\\XLNW111"}, {}},
        {"NetBIOS\\Linkage", "Bind", {"\\Device\\NetBT_E100B1", "\\Device\\NetBT_XLNW111", "\\Device\\Nbf_XLNW111"},
         {"\\Device\\NetBT_E100B1"}},
        {"XLNW111\\Linkage", "Export", {"\\Device\\XLNW111"}, {"\\Device\\XLNW111"}},  // goes with its card
    };
    for (const Row& r : rows) SeedMulti(r.key, r.value, r.before);
    fake::RegSeedBytes(kServices + "\\NetBIOS\\Linkage", "LanaMap", REG_BINARY, std::string("\1\0\1\1\1\2", 6));
    fake::RegSeedString(kServices + "\\Other\\Linkage", "Bind", "\\Device\\XLNW111");  // not a list
    static CardServices cards;
    cards.count = 0;
    NoteService(&cards, "XLNW111");
    RemoveCardLinkage(cards, &outcome);
    EXPECT_FALSE(outcome.failed);
    for (const Row& r : rows)
        EXPECT_EQ(Multi(r.after), fake::RegValueBytes(kServices + "\\" + r.key, r.value)) << r.key << " " << r.value;
    EXPECT_EQ(std::string("\1\0", 2), fake::RegValueBytes(kServices + "\\NetBIOS\\Linkage", "LanaMap"))
        << "the pair of each removed Bind entry goes";
    EXPECT_EQ("\\Device\\XLNW111", fake::RegValueBytes(kServices + "\\Other\\Linkage", "Bind").substr(0, 15));

    // A LanaMap that does not pair with Bind: NetBIOS's Linkage stays whole.
    SeedMulti("NetBIOS\\Linkage", "Bind", {"\\Device\\NetBT_E100B1", "\\Device\\NetBT_XLNW112"});
    SeedMulti("NetBIOS\\Linkage", "Route", {"\"NetBT\" \"XLNW112\""});
    NoteService(&cards, "XLNW112");
    RemoveCardLinkage(cards, &outcome);
    EXPECT_EQ(Multi({"\\Device\\NetBT_E100B1", "\\Device\\NetBT_XLNW112"}),
              fake::RegValueBytes(kServices + "\\NetBIOS\\Linkage", "Bind"));
    EXPECT_EQ(Multi({"\"NetBT\" \"XLNW112\""}), fake::RegValueBytes(kServices + "\\NetBIOS\\Linkage", "Route"));
    EXPECT_EQ(0, fake::OpenKeyCount());
}

// Windows 98: adapter A (the request's) and B (another vendor's) share
// MSTCP\0000; A alone binds MSTCP\0001 and NETBEUI\0000. MSTCP\0001 alone
// binds the client VREDIR\0000; both MSTCP instances bind the service
// VSERVER\0000; NETBEUI\0000 binds a protocol, which no protocol takes along.
void SeedBindings() {
    struct Device {
        const char* path;
        const char* id;
        const char* driver;
        std::vector<const char*> bindings;
    };
    const Device devices[] = {
        {"PCI\\VEN_1B2C&DEV_0011\\BUS_00", "PCI\\VEN_1B2C&DEV_0011", "Net\\0001",
         {"MSTCP\\0000", "MSTCP\\0001", "NETBEUI\\0000", "..\\0000"}},
        {"PCI\\VEN_8086&DEV_1229\\BUS_01", "PCI\\VEN_8086&DEV_1229", "Net\\0000", {"MSTCP\\0000"}},
    };
    for (const Device& d : devices) {
        std::string key = kEnum + "\\" + d.path;
        fake::RegSeedString(key, "Class", "Net");
        fake::RegSeedString(key, "HardwareID", d.id);
        fake::RegSeedString(key, "Driver", d.driver);
        for (const char* binding : d.bindings) fake::RegSeedString(key + "\\Bindings", binding, "");
    }
    const char* const protocols[][2] = {
        {"MSTCP\\0000", "NetTrans\\0000"}, {"MSTCP\\0001", "NetTrans\\0001"}, {"NETBEUI\\0000", "Net\\0000"}};
    for (auto& p : protocols) {
        fake::RegSeedString(kEnum + "\\Network\\" + p[0], "Class", "NetTrans");
        fake::RegSeedString(kEnum + "\\Network\\" + p[0], "Driver", p[1]);
    }
    for (const char* n : {"0000", "0001"}) fake::RegSeedString(kNetTrans + "\\" + n, "DriverDesc", "TCP/IP");
    const char* const bound[][3] = {{"MSTCP\\0001", "VREDIR\\0000", "NetClient"},
                                    {"MSTCP\\0001", "VSERVER\\0000", "NetService"},
                                    {"MSTCP\\0000", "VSERVER\\0000", "NetService"},
                                    {"NETBEUI\\0000", "IPXODI\\0000", "NetTrans"}};
    for (auto& b : bound) {
        fake::RegSeedString(kEnum + "\\Network\\" + b[0] + "\\Bindings", b[1], "");
        fake::RegSeedString(kEnum + "\\Network\\" + b[1], "Class", b[2]);
        fake::RegSeedString(kEnum + "\\Network\\" + b[1], "Driver", std::string(b[2]) + "\\0000");
        fake::RegSeedString(kClasses + "\\" + b[2] + "\\0000", "DriverDesc", b[1]);
    }
    fake::RegSeedString("HKLM\\System\\CurrentControlSet\\Services\\Class\\Net\\0000", "DriverDesc", "B");
}

TEST_F(DeviceToolRegistry, Win9xProtocolsGoWithTheLastAdapterThatBindsThem) {
    SeedBindings();
    static BindingList bindings;
    bindings.count = 0;
    const DeviceRequest& request = *Request("Class=Net\nHardwareID=PCI\\VEN_1B2C&DEV_0011\n");
    RemoveEnumDevices(request, &outcome, &bindings);
    EXPECT_EQ(3, bindings.count) << "a malformed binding is not noted";
    RemoveUnboundProtocols(bindings, &outcome);
    EXPECT_FALSE(outcome.failed);
    EXPECT_EQ(1, outcome.removed);
    EXPECT_FALSE(fake::RegKeyExists(kEnum + "\\PCI\\VEN_1B2C&DEV_0011")) << "its device id's key, emptied";
    EXPECT_TRUE(fake::RegKeyExists(kEnum + "\\Network\\MSTCP\\0000")) << "the other adapter binds it";
    EXPECT_TRUE(fake::RegKeyExists(kNetTrans + "\\0000"));
    EXPECT_FALSE(fake::RegKeyExists(kEnum + "\\Network\\MSTCP\\0001"));
    EXPECT_FALSE(fake::RegKeyExists(kNetTrans + "\\0001"));
    EXPECT_FALSE(fake::RegKeyExists(kEnum + "\\Network\\NETBEUI")) << "the protocol's key, emptied";
    EXPECT_TRUE(fake::RegKeyExists("HKLM\\System\\CurrentControlSet\\Services\\Class\\Net\\0000"))
        << "a protocol's Driver outside NetTrans is never followed";
    EXPECT_FALSE(fake::RegKeyExists(kEnum + "\\Network\\VREDIR")) << "bound only to a removed protocol";
    EXPECT_FALSE(fake::RegKeyExists(kClasses + "\\NetClient\\0000"));
    EXPECT_TRUE(fake::RegKeyExists(kEnum + "\\Network\\VSERVER\\0000")) << "MSTCP\\0000 still binds it";
    EXPECT_TRUE(fake::RegKeyExists(kClasses + "\\NetService\\0000"));
    EXPECT_TRUE(fake::RegKeyExists(kEnum + "\\Network\\IPXODI\\0000")) << "neither a client nor a service";
}

TEST_F(DeviceToolRegistry, Win9xAdapterThatStaysKeepsItsProtocols) {
    SeedBindings();
    fake::FailCall("RegDeleteKeyA", ERROR_ACCESS_DENIED, 0, "VEN_1B2C&DEV_0011\\BUS_00");
    static BindingList bindings;
    bindings.count = 0;
    RemoveEnumDevices(*Request("HardwareID=PCI\\VEN_1B2C&DEV_0011\n"), &outcome, &bindings);
    RemoveUnboundProtocols(bindings, &outcome);
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(0, outcome.removed);
    for (const char* p : {"MSTCP\\0000", "MSTCP\\0001", "NETBEUI\\0000", "VREDIR\\0000"})
        EXPECT_TRUE(fake::RegKeyExists(kEnum + "\\Network\\" + p)) << p;
}

TEST_F(DeviceToolRegistry, Win9xWalkListsBeforeItDeletes) {
    // More named devices than one pass holds: each pass lists, then deletes.
    for (int i = 0; i < 150; ++i) {
        std::string key = kEnum + "\\ROOT\\NET\\" + std::to_string(1000 + i);
        fake::RegSeedString(key, "Class", "Net");
        fake::RegSeedString(key, "DeviceDesc", i % 3 ? "XLN Adapter" : "Other");
    }
    static BindingList bindings;
    bindings.count = 0;
    RemoveEnumDevices(*Request("Desc=XLN Adapter\n"), &outcome, &bindings);
    EXPECT_EQ(100, outcome.removed);
    EXPECT_TRUE(fake::RegKeyExists(kEnum + "\\ROOT\\NET\\1000"));
    EXPECT_FALSE(fake::RegKeyExists(kEnum + "\\ROOT\\NET\\1001"));
    EXPECT_FALSE(fake::RegKeyExists(kEnum + "\\ROOT\\NET\\1149"));
}

TEST_F(DeviceToolRegistry, ToolLinesAreAppendedToAnExistingLogOnly) {
    fake::AddFile("C:\\run.log", "uninst line\r\n");
    UseToolLog("C:\\run.log", "XLNWLD9X");
    ToolLog("removed device Enum\\%s (%s): error %u", "PCI\\X", "Card", 5u);
    std::vector<std::string> lines = fake::TextLines(fake::FileContents("C:\\run.log"));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ("uninst line", lines[0]);
    ASSERT_GT(lines[1].size(), 20u);
    EXPECT_EQ("XLNWLD9X: removed device Enum\\PCI\\X (Card): error 5", lines[1].substr(27));
    UseToolLog("C:\\missing.log", "XLNWLD9X");
    ToolLog("line");
    EXPECT_FALSE(fake::FileExists("C:\\missing.log")) << "the tool never makes a log of its own";
}

// The INF read `step` bytes at a time, as UTF-16 when `wide`.
bool InfNames(const std::string& text, const std::string& request, bool wide = false, size_t step = 7) {
    std::string bytes = text;
    if (wide) {
        bytes = "\xFF\xFE";
        for (char c : text) bytes += std::string(1, c) + '\0';
    }
    static InfScan scan;
    BeginInfScan(&scan, Request(request));
    for (size_t at = 0; at < bytes.size(); at += step)
        FeedInfScan(&scan, bytes.data() + at, std::min(step, bytes.size() - at));
    return EndInfScan(&scan);
}

TEST(DeviceToolInf, ModelsThatNameARequestedId) {
    const std::string head = "[Version]\r\nSignature=\"$Windows NT$\"\r\n\r\n[Manufacturer]\r\n"
                             "%Mfg% = XLN, NTx86 , NTamd64 ; the models\r\n\r\n";
    struct Case {
        const char* name;
        std::string text;
        bool named;
    };
    const Case cases[] = {
        {"decorated model section", head + "[XLN.NTx86]\r\n%Card% = Install, PCI\\VEN_1B2C&DEV_0011\r\n", true},
        {"undecorated, quoted, other case", head + "[xln]\r\n%Card% = Install, \"pci\\ven_1b2c&dev_0011\"\r\n", true},
        {"the id as another model's compatible id",
         head + "[xln]\r\n%Card% = Install, PCI\\VEN_1B2C&DEV_9999, PCI\\VEN_1B2C&DEV_0011\r\n", false},
        {"models before the Manufacturer section",
         "[XLN.NTamd64]\n%Card%=Install,PCI\\VEN_1B2C&DEV_0011\n[Manufacturer]\n%M%=XLN,NTamd64\n", true},
        {"foreign package", head + "[XLN.NTx86]\r\n%Card% = Install, PCI\\VEN_8086&DEV_1229\r\n", false},
        {"id outside the model sections",
         head + "[ControlFlags]\r\nExcludeFromSelect = X, PCI\\VEN_1B2C&DEV_0011\r\n", false},
        {"id where the install section stands", head + "[XLN.NTx86]\r\n%Card% = PCI\\VEN_1B2C&DEV_0011\r\n", false},
        {"id in a comment", head + "[XLN.NTx86]\r\n%Card% = Install, X ; PCI\\VEN_1B2C&DEV_0011\r\n", false},
        {"over-long line", head + "[XLN.NTx86]\r\n%Card% = Install" + std::string(INF_LINE_SIZE, ' ') +
                               ", PCI\\VEN_1B2C&DEV_0011\r\n", false},
    };
    const std::string request = "HardwareID=PCI\\VEN_1B2C&DEV_0011\n";
    for (const Case& c : cases) {
        EXPECT_EQ(c.named, InfNames(c.text, request)) << c.name;
        EXPECT_EQ(c.named, InfNames(c.text, request, true, 3)) << c.name << ", as UTF-16";
    }
    EXPECT_TRUE(InfNames("\xEF\xBB\xBF" + cases[0].text, request)) << "a UTF-8 byte-order mark is dropped";
    EXPECT_FALSE(InfNames(cases[0].text, "Desc=XLN\n")) << "a request without ids names no package";
}

// A device tree as child and sibling tables; 0 stands for none.
struct Tree {
    uint32_t child[16];
    uint32_t sibling[16];
};

// Node 9 answers like a stub: success, nothing written.
bool Child(void* tree, uint32_t node, uint32_t* out) {
    if (node == 9) return true;
    return (*out = static_cast<Tree*>(tree)->child[node]) != 0;
}
bool Sibling(void* tree, uint32_t node, uint32_t* out) {
    return (*out = static_cast<Tree*>(tree)->sibling[node]) != 0;
}

std::vector<uint32_t> Descendants(Tree tree, uint32_t root, int capacity = 16) {
    uint32_t out[16];
    int count = ListDescendants(root, Child, Sibling, &tree, out, capacity);
    return std::vector<uint32_t>(out, out + count);
}

TEST(DeviceToolChildren, EveryDeviceAfterTheDevicesBelowIt) {
    // 1 has children 2 and 5; 2 has 3 and 4; 5 has 6.
    Tree tree = {};
    tree.child[1] = 2, tree.sibling[2] = 5, tree.child[2] = 3, tree.sibling[3] = 4, tree.child[5] = 6;
    EXPECT_EQ((std::vector<uint32_t>{3, 4, 2, 6, 5}), Descendants(tree, 1));
    EXPECT_EQ((std::vector<uint32_t>{}), Descendants(tree, 4)) << "a device without children";
    EXPECT_EQ((std::vector<uint32_t>{}), Descendants(tree, 9)) << "a success that names no child";
    EXPECT_EQ((std::vector<uint32_t>{3, 4}), Descendants(tree, 1, 2)) << "cut at the room given";
    Tree loop = {};
    loop.child[1] = 2, loop.sibling[2] = 3, loop.sibling[3] = 2;
    EXPECT_EQ(16u, Descendants(loop, 1).size()) << "a broken tree cannot run away";
}

}  // namespace

// Stopping the support applets: their Run values everywhere, their windows
// on Windows Me only, and a window that never closes.
#include "removal/removal_steps.h"

#include "removal_test_support.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

const char kRun[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void AddApplet(UninstallData& data, const char* window_class, const char* name,
               const char* autorun) {
    AppletEntry& applet = data.applets[data.applet_count++];
    strcpy(applet.window_class, window_class);
    strcpy(applet.display_name, name);
    strcpy(applet.autorun_value, autorun);
}

UninstallData& AppletWorld(const fake::WindowsVersion& version) {
    UninstallData& data = FreshWorld();
    fake::SetWindowsVersion(version);
    fake::RegSeedString(kRun, "XlnTray", "C:\\P\\tray.exe");
    fake::RegSeedString(kRun, "XlnMon", "C:\\P\\mon.exe");
    fake::RegSeedString(kRun, "Other", "C:\\other.exe");
    AddApplet(data, "XlnTrayWnd", "Tray", "XlnTray");
    AddApplet(data, "XlnMonWnd", "Monitor", "XlnMon");
    return data;
}

TEST(StopSupportApplets, WindowsAreClosedOnlyOnWindowsMe) {
    const struct {
        const char* name;
        fake::WindowsVersion version;
        bool closed;
    } cases[] = {
        {"95", fake::kWin95, false}, {"98", fake::kWin98, false}, {"Me", fake::kWinMe, true},
        {"NT 4", fake::kNT4, false}, {"2000", fake::kWin2000, false}, {"XP", fake::kWinXP, false},
    };
    for (auto& c : cases) {
        UninstallData& data = AppletWorld(c.version);
        HWND tray = stand_in::AddWindow("XlnTrayWnd");
        HWND tray_second = stand_in::AddWindow("XlnTrayWnd");
        HWND monitor = stand_in::AddWindow("XlnMonWnd", 2);
        HWND stranger = stand_in::AddWindow("Shell_TrayWnd");
        EXPECT_EQ(0, StopSupportApplets(data)) << c.name;
        EXPECT_EQ(!c.closed, stand_in::WindowOpen(tray)) << c.name;
        EXPECT_EQ(!c.closed, stand_in::WindowOpen(tray_second)) << c.name;
        EXPECT_EQ(!c.closed, stand_in::WindowOpen(monitor)) << c.name;
        EXPECT_EQ(c.closed ? 2 : 0, stand_in::CloseMessagesReceived(monitor)) << c.name;
        EXPECT_EQ(0, stand_in::CloseMessagesReceived(stranger)) << c.name;
        EXPECT_FALSE(fake::RegValueExists(kRun, "XlnTray")) << c.name;
        EXPECT_FALSE(fake::RegValueExists(kRun, "XlnMon")) << c.name;
        EXPECT_TRUE(fake::RegValueExists(kRun, "Other")) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(StopSupportApplets, AWindowThatNeverClosesGets101Messages) {
    UninstallData& data = AppletWorld(fake::kWinMe);
    HWND stubborn = stand_in::AddWindow("XlnTrayWnd", 0);
    HWND monitor = stand_in::AddWindow("XlnMonWnd");
    EXPECT_EQ(0, StopSupportApplets(data));
    EXPECT_EQ(101, stand_in::CloseMessagesReceived(stubborn));
    EXPECT_TRUE(stand_in::WindowOpen(stubborn));
    EXPECT_EQ(1, stand_in::CloseMessagesReceived(monitor));
    EXPECT_FALSE(fake::RegValueExists(kRun, "XlnTray"));
    EXPECT_FALSE(fake::RegValueExists(kRun, "XlnMon"));
    ExpectNothingOpen("stubborn window");
}

TEST(StopSupportApplets, EntriesWithoutClassOrNameAreSkippedEntirely) {
    const struct {
        const char* name;
        const char* window_class;
        const char* display_name;
    } cases[] = {{"empty name", "XlnTrayWnd", ""}, {"empty class", "", "Tray"}};
    for (auto& c : cases) {
        UninstallData& data = AppletWorld(fake::kWinMe);
        strcpy(data.applets[0].window_class, c.window_class);
        strcpy(data.applets[0].display_name, c.display_name);
        HWND tray = stand_in::AddWindow("XlnTrayWnd");
        EXPECT_EQ(0, StopSupportApplets(data)) << c.name;
        EXPECT_EQ(0, stand_in::CloseMessagesReceived(tray)) << c.name;
        EXPECT_TRUE(fake::RegValueExists(kRun, "XlnTray")) << c.name;
        EXPECT_FALSE(fake::RegValueExists(kRun, "XlnMon")) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(StopSupportApplets, AnEmptyStartupValueNameLeavesTheRunKeyAlone) {
    UninstallData& data = AppletWorld(fake::kWinMe);
    data.applets[0].autorun_value[0] = 0;
    data.applet_count = 1;
    fake::RegSeedString(kRun, "", "default");
    HWND tray = stand_in::AddWindow("XlnTrayWnd");
    std::vector<std::string> before = fake::RegDump(kRun);
    EXPECT_EQ(0, StopSupportApplets(data));
    EXPECT_FALSE(stand_in::WindowOpen(tray));
    EXPECT_EQ(before, fake::RegDump(kRun));
    ExpectNothingOpen("empty start-up value name");
}

TEST(StopSupportApplets, ResultForEachOutcome) {
    const struct {
        const char* name;
        void (*arrange)(UninstallData& data);
        int result;
        bool tray_value_kept;
        bool monitor_value_kept;
    } cases[] = {
        {"a value already gone", [](UninstallData& d) { strcpy(d.applets[0].autorun_value, "Gone"); },
         0, true, false},
        {"no Run key", [](UninstallData&) { fake::FailCall("RegOpenKeyA", ERROR_FILE_NOT_FOUND, 1, "Run"); },
         2, true, true},
        {"a value cannot be deleted: later applets untouched",
         [](UninstallData&) { fake::FailCall("RegDeleteValueA", ERROR_ACCESS_DENIED); }, 2, true,
         true},
        {"Run key cannot be closed",
         [](UninstallData&) { fake::FailCall("RegCloseKey", ERROR_REGISTRY_IO_FAILED, 1, "Run"); }, 2,
         false, false},
        {"count beyond the list", [](UninstallData& d) { d.applet_count = 1000; }, 0, false, false},
        {"negative count", [](UninstallData& d) { d.applet_count = -1; }, 0, true, true},
    };
    for (auto& c : cases) {
        UninstallData& data = AppletWorld(fake::kWinMe);
        HWND monitor = stand_in::AddWindow("XlnMonWnd");
        c.arrange(data);
        EXPECT_EQ(c.result, StopSupportApplets(data)) << c.name;
        EXPECT_EQ(c.tray_value_kept, fake::RegValueExists(kRun, "XlnTray")) << c.name;
        EXPECT_EQ(c.monitor_value_kept, fake::RegValueExists(kRun, "XlnMon")) << c.name;
        EXPECT_EQ(c.monitor_value_kept, stand_in::WindowOpen(monitor)) << c.name;
        EXPECT_TRUE(Reports().empty()) << c.name;
        ExpectNothingOpen(c.name);
    }
}

// A Run value that starts Windows' own or another maker's program, and a
// class of Windows' own windows, stay whatever the description names; the
// product's value goes, also when its program is gone.
TEST(StopSupportApplets, WhatWindowsOrAnotherMakerStartsStays) {
    const struct {
        const char* name;
        const char* command;
        const char* window_class;
        bool value_kept;
        bool window_closed;
        const char* window_program;  // the image the process list gives
    } cases[] = {
        {"the product's program", "\"C:\\Program Files\\XLN\\tray.exe\" /min", "XlnTrayWnd", false, true, nullptr},
        {"the product's program, gone", "C:\\P\\gone.exe", "XlnTrayWnd", false, true, nullptr},
        {"a program of the maker's", "C:\\P\\xln.exe", "XlnTrayWnd", false, true, nullptr},
        {"Windows' notepad, by bare name", "notepad.exe C:\\x.txt", "XlnTrayWnd", true, true, nullptr},
        {"Windows' program through the environment", "%windir%\\notepad.exe", "XlnTrayWnd", true, true, nullptr},
        {"another maker's program", "C:\\P\\other.exe -s", "XlnTrayWnd", true, true, nullptr},
        {"the shell's desktop window", "C:\\P\\gone.exe", "Progman", false, false, nullptr},
        {"the system's dialog class", "C:\\P\\gone.exe", "#32770", false, false, nullptr},
        {"a window of Explorer's", "C:\\P\\gone.exe", "XlnTrayWnd", false, false, "C:\\WINDOWS\\EXPLORER.EXE"},
        {"a window of another maker's", "C:\\P\\gone.exe", "XlnTrayWnd", false, false, "C:\\P\\other.exe"},
        {"a window of the product's", "C:\\P\\gone.exe", "XlnTrayWnd", false, true, "C:\\P\\tray.exe"},
        {"a bare image name is no evidence", "C:\\P\\gone.exe", "XlnTrayWnd", false, true, "explorer.exe"},
        {"a program of the vendor's", "C:\\P\\vendor.exe", "XlnTrayWnd", false, true, nullptr},
        {"a maker named by part of the short name", "C:\\P\\part.exe", "XlnTrayWnd", false, true, nullptr},
        {"a blank maker names no other", "C:\\P\\blank.exe", "XlnTrayWnd", false, true, nullptr},
        {"another maker's, the short name blank", "C:\\P\\other.exe", "XlnTrayWnd", true, true, nullptr},
    };
    for (auto& c : cases) {
        UninstallData& data = AppletWorld(fake::kWinMe);
        strcpy(data.short_company_name, "XLN");
        data.applet_count = 1;
        strcpy(data.applets[0].window_class, c.window_class);
        fake::RegSeedString(kRun, "XlnTray", c.command);
        fake::AddFile("C:\\Program Files\\XLN\\tray.exe");
        fake::AddFile("C:\\WINDOWS\\notepad.exe");
        fake::SetFileCompany("C:\\WINDOWS\\notepad.exe", "Microsoft Corporation");
        fake::AddFile("C:\\P\\other.exe");
        fake::SetFileCompany("C:\\P\\other.exe", "Contoso Ltd.");
        fake::AddFile("C:\\P\\xln.exe");
        fake::SetFileCompany("C:\\P\\xln.exe", "XLN Communications");
        const char* const companies[][2] = {{"vendor.exe", "TARNWELL Software"}, {"part.exe", "xl"},
                                            {"blank.exe", " \t "}};
        for (auto& company : companies) {
            fake::AddFile(std::string("C:\\P\\") + company[0]);
            fake::SetFileCompany(std::string("C:\\P\\") + company[0], company[1]);
        }
        if (std::string(c.name).find("blank") != std::string::npos) strcpy(data.short_company_name, " ");
        fake::AddFile("C:\\WINDOWS\\EXPLORER.EXE");
        fake::SetFileCompany("C:\\WINDOWS\\EXPLORER.EXE", "Microsoft Corporation");
        HWND window = stand_in::AddWindow(c.window_class);
        if (c.window_program) stand_in::SetWindowImage(window, c.window_program);
        EXPECT_EQ(0, StopSupportApplets(data)) << c.name;
        EXPECT_EQ(c.value_kept, fake::RegValueExists(kRun, "XlnTray")) << c.name;
        EXPECT_EQ(c.window_closed, !stand_in::WindowOpen(window)) << c.name;
        ExpectNothingOpen(c.name);
    }
}

}  // namespace

// The Start-menu shortcut: which Programs folder by Windows family, the
// shortcut's folder removed only when empty, the Programs folder never, and
// a shell without the folder call finds the folder by its item-id list.
#include "removal/removal_steps.h"

#include "removal_test_support.h"

namespace {

const char kUserPrograms[] = "C:\\WINDOWS\\Start Menu\\Programs";
const char kCommonPrograms[] = "C:\\Documents and Settings\\All Users\\Start Menu\\Programs";

std::string In(const std::string& folder, const std::string& rest) { return folder + "\\" + rest; }

UninstallData& ShortcutWorld(const fake::WindowsVersion& version) {
    UninstallData& data = FreshWorld();
    fake::SetWindowsVersion(version);
    strcpy(data.cpl_shortcut_folder_name, "XLN Wireless");
    strcpy(data.cpl_shortcut_item_name, "XLN Control Panel");
    for (const char* programs : {kUserPrograms, kCommonPrograms}) {
        fake::AddFile(In(programs, "XLN Wireless\\XLN Control Panel.lnk"));
        fake::AddFile(In(programs, "Accessories\\Notepad.lnk"));
    }
    return data;
}

TEST(RemoveStartMenuShortcut, AllUsersFolderOnWindows2000AndLaterTheUsersBefore) {
    const struct {
        const char* name;
        fake::WindowsVersion version;
        const char* removed_from;
        const char* kept_in;
    } cases[] = {
        {"95", fake::kWin95, kUserPrograms, kCommonPrograms},
        {"98", fake::kWin98, kUserPrograms, kCommonPrograms},
        {"Me", fake::kWinMe, kUserPrograms, kCommonPrograms},
        {"NT 4", fake::kNT4, kUserPrograms, kCommonPrograms},
        {"2000", fake::kWin2000, kCommonPrograms, kUserPrograms},
        {"XP", fake::kWinXP, kCommonPrograms, kUserPrograms},
        {"10", fake::kWin10, kCommonPrograms, kUserPrograms},
    };
    for (auto& c : cases) {
        UninstallData& data = ShortcutWorld(c.version);
        EXPECT_EQ(0, RemoveStartMenuShortcut(data)) << c.name;
        EXPECT_FALSE(fake::DirectoryExists(In(c.removed_from, "XLN Wireless"))) << c.name;
        EXPECT_TRUE(fake::FileExists(In(c.kept_in, "XLN Wireless\\XLN Control Panel.lnk"))) << c.name;
        EXPECT_TRUE(fake::FileExists(In(c.removed_from, "Accessories\\Notepad.lnk"))) << c.name;
        EXPECT_TRUE(fake::DirectoryExists(c.removed_from)) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(RemoveStartMenuShortcut, AFolderWithAnotherShortcutStays) {
    UninstallData& data = ShortcutWorld(fake::kWinXP);
    fake::AddFile(In(kCommonPrograms, "XLN Wireless\\Readme.lnk"));
    EXPECT_EQ(0, RemoveStartMenuShortcut(data));
    EXPECT_FALSE(fake::FileExists(In(kCommonPrograms, "XLN Wireless\\XLN Control Panel.lnk")));
    EXPECT_TRUE(fake::FileExists(In(kCommonPrograms, "XLN Wireless\\Readme.lnk")));
    ExpectNothingOpen("folder with another shortcut");
}

TEST(RemoveStartMenuShortcut, ProgramsFolderEndingInABackslash) {
    UninstallData& data = ShortcutWorld(fake::kWinXP);
    stand_in::SetSpecialFolder(CSIDL_COMMON_PROGRAMS, std::string(kCommonPrograms) + "\\");
    EXPECT_EQ(0, RemoveStartMenuShortcut(data));
    EXPECT_FALSE(fake::DirectoryExists(In(kCommonPrograms, "XLN Wireless")));
    EXPECT_EQ(1u, fake::CallsTo("SetFileInformationByHandle " + In(kCommonPrograms, "XLN Wireless\\XLN Control Panel.lnk")).size());
}

// A folder name that names the Programs folder itself, or leads out of it,
// never removes the Programs folder or anything above it, even when empty.
TEST(RemoveStartMenuShortcut, TheProgramsFolderItselfIsNeverRemoved) {
    const struct {
        const char* name;
        const char* folder_name;
        bool shortcut_deleted;
    } cases[] = {
        {"empty folder name", "", true},
        {"separator only", "\\", true},
        {"dot", ".", false},
        {"dot dot", "..", false},
        {"back into Programs", "..\\Programs", false},
        {"dots and spaces", ". .", false},
        {"forward slashes", "XLN/../..", false},
    };
    for (auto& c : cases) {
        UninstallData& data = ShortcutWorld(fake::kWinXP);
        fake::Reset();
        fake::AddDirectory(kCommonPrograms);
        fake::AddFile(In(kCommonPrograms, "XLN Control Panel.lnk"));
        strcpy(data.cpl_shortcut_folder_name, c.folder_name);
        EXPECT_EQ(0, RemoveStartMenuShortcut(data)) << c.name;
        EXPECT_TRUE(fake::DirectoryExists(kCommonPrograms)) << c.name;
        EXPECT_TRUE(fake::DirectoryExists("C:\\Documents and Settings\\All Users\\Start Menu")) << c.name;
        EXPECT_EQ(!c.shortcut_deleted, fake::FileExists(In(kCommonPrograms, "XLN Control Panel.lnk")))
            << c.name;
        EXPECT_TRUE(fake::CallsTo("RemoveDirectoryA").empty()) << c.name;
        ExpectNothingOpen(c.name);
    }
}

TEST(RemoveStartMenuShortcut, AShortcutNameLeadingOutOfTheFolderSkipsTheStep) {
    UninstallData& data = ShortcutWorld(fake::kWinXP);
    strcpy(data.cpl_shortcut_item_name, "..\\Accessories\\Notepad");
    EXPECT_EQ(0, RemoveStartMenuShortcut(data));
    EXPECT_TRUE(fake::FileExists(In(kCommonPrograms, "Accessories\\Notepad.lnk")));
    EXPECT_TRUE(fake::FileExists(In(kCommonPrograms, "XLN Wireless\\XLN Control Panel.lnk")));
    ExpectNothingOpen("item leading out");
}

TEST(RemoveStartMenuShortcut, ADescriptionFromTheIniFileTouchesNoFile) {
    UninstallData& data = ShortcutWorld(fake::kWinXP);
    fake::AddFile(In(kCommonPrograms, ".lnk"));
    data.cpl_shortcut_folder_name[0] = 0;
    data.cpl_shortcut_item_name[0] = 0;
    EXPECT_EQ(0, RemoveStartMenuShortcut(data));
    EXPECT_TRUE(fake::FileExists(In(kCommonPrograms, ".lnk")));
    EXPECT_TRUE(fake::CallsTo("SetFileInformationByHandle").empty());
    EXPECT_TRUE(fake::CallsTo("RemoveDirectoryA").empty());
    ExpectNothingOpen("INI description");
}

TEST(RemoveStartMenuShortcut, NothingHappensWithoutTheProgramsFolder) {
    const struct {
        const char* name;
        void (*arrange)();
    } cases[] = {
        {"id list of an old shell not found",
         [] {
             stand_in::RemoveExport("shell32.dll", "SHGetSpecialFolderPathA");
             fake::FailCall("SHGetSpecialFolderLocation", ERROR_FILE_NOT_FOUND);
         }},
        {"id list of an old shell names no path",
         [] {
             stand_in::RemoveExport("shell32.dll", "SHGetSpecialFolderPathA");
             fake::FailCall("SHGetPathFromIDListA", ERROR_INVALID_PARAMETER);
         }},
        {"shell cannot be loaded", [] { fake::FailCall("LoadLibraryA", ERROR_MOD_NOT_FOUND); }},
        {"folder not found", [] { stand_in::ClearSpecialFolder(CSIDL_COMMON_PROGRAMS); }},
        {"folder call fails",
         [] { fake::FailCall("SHGetSpecialFolderPathA", ERROR_ACCESS_DENIED); }},
    };
    for (auto& c : cases) {
        UninstallData& data = ShortcutWorld(fake::kWinXP);
        c.arrange();
        EXPECT_EQ(0, RemoveStartMenuShortcut(data)) << c.name;
        EXPECT_TRUE(fake::FileExists(In(kCommonPrograms, "XLN Wireless\\XLN Control Panel.lnk")))
            << c.name;
        EXPECT_TRUE(fake::CallsTo("SetFileInformationByHandle").empty()) << c.name;
        EXPECT_EQ(0, stand_in::LiveIdListCount()) << c.name << ": id list not freed";
        ExpectNothingOpen(c.name);
    }
}

// The first Windows 95 and NT 4 shell lacks the folder call: the folder's
// item-id list names it, and goes back to the shell's allocator.
TEST(RemoveStartMenuShortcut, AShellWithoutTheFolderCallUsesTheIdList) {
    const struct {
        const char* name;
        fake::WindowsVersion version;
        const char* programs;
    } cases[] = {
        {"95", fake::kWin95, kUserPrograms},
        {"NT 4", fake::kNT4, kUserPrograms},
        {"2000", fake::kWin2000, kCommonPrograms},
    };
    for (auto& c : cases) {
        UninstallData& data = ShortcutWorld(c.version);
        stand_in::RemoveExport("shell32.dll", "SHGetSpecialFolderPathA");
        EXPECT_EQ(0, RemoveStartMenuShortcut(data)) << c.name;
        EXPECT_FALSE(fake::DirectoryExists(In(c.programs, "XLN Wireless"))) << c.name;
        EXPECT_FALSE(fake::CallsTo("IMalloc::Free").empty()) << c.name;
        EXPECT_EQ(0, stand_in::LiveIdListCount()) << c.name << ": id list not freed";
        EXPECT_EQ(0, stand_in::ShellAllocatorReferences()) << c.name << ": allocator not released";
        ExpectNothingOpen(c.name);
    }
}

// Paths of up to 259 characters are used; a longer one would be cut and
// name another file, so the step is skipped.
TEST(RemoveStartMenuShortcut, PathsLongerThan259CharactersSkipTheStep) {
    const std::string programs = "C:\\" + std::string(200, 'p');  // 203 characters
    const struct {
        const char* name;
        size_t folder_length;
        size_t item_length;
        bool removed;
    } cases[] = {
        {"shortcut path of 259", 20, 259 - 203 - 1 - 20 - 1 - 4, true},
        {"shortcut path of 260", 20, 260 - 203 - 1 - 20 - 1 - 4, false},
        {"folder path of 259", 259 - 203 - 1, 1, false},
        {"folder path of 260", 260 - 203 - 1, 1, false},
    };
    for (auto& c : cases) {
        UninstallData& data = ShortcutWorld(fake::kWinXP);
        stand_in::SetSpecialFolder(CSIDL_COMMON_PROGRAMS, programs);
        std::string folder(c.folder_length, 'f');
        std::string item(c.item_length, 'i');
        std::string shortcut = In(In(programs, folder), item + ".lnk");
        fake::AddFile(shortcut);
        strcpy(data.cpl_shortcut_folder_name, folder.c_str());
        strcpy(data.cpl_shortcut_item_name, item.c_str());
        EXPECT_EQ(0, RemoveStartMenuShortcut(data)) << c.name;
        EXPECT_EQ(!c.removed, fake::FileExists(shortcut)) << c.name;
        EXPECT_EQ(!c.removed, fake::DirectoryExists(In(programs, folder))) << c.name;
        ExpectNothingOpen(c.name);
    }
}

// A shell link as the shell writes one: header, then the item-id list
// when one is given, then the link information with the target's local
// base path and common path suffix.
std::string ShellLink(const std::string& target, const std::string& suffix = "", const std::string& ids = "",
                      char info_flags = 0x01) {
    std::string link(0x4C, '\0');
    link[0] = 0x4C;
    link[0x14] = ids.empty() ? 0x02 : 0x03;  // has link information, and an item-id list
    if (!ids.empty()) link += std::string(1, (char)ids.size()) + '\0' + ids;
    std::string info(0x1C, '\0');
    auto put = [&info](size_t at, size_t value) { info[at] = (char)value; };
    put(0, 0x1C + target.size() + suffix.size() + 2);
    put(4, 0x1C);
    put(8, info_flags);  // 0x01: volume and local base path
    put(0x10, 0x1C);
    put(0x18, 0x1C + target.size() + 1);
    return link + info + target + '\0' + suffix + '\0';
}

// A shortcut that starts Windows' own or another maker's program stays;
// when its target cannot be read, Windows' own names decide. Windows' own
// folders stay even when empty.
TEST(RemoveStartMenuShortcut, WhatWindowsOrAnotherMakerStartsStays) {
    const std::string damaged = ShellLink("C:\\P\\util.exe").substr(0, 0x50);
    std::string no_info = ShellLink("C:\\P\\other.exe");
    no_info[0x14] = 0;  // the link information is there but not flagged
    const struct {
        const char* name;
        const char* folder;
        const char* item;
        std::string contents;
        bool shortcut_kept;
        bool folder_kept;
    } cases[] = {
        {"the product's program", "XLN Wireless", "XLN Control Panel", ShellLink("C:\\P\\util.exe"), false, false},
        {"a target that is gone", "XLN Wireless", "XLN Control Panel", ShellLink("C:\\P\\gone.exe"), false, false},
        {"a damaged link: by its names", "XLN Wireless", "XLN Control Panel", damaged, false, false},
        {"Windows' notepad", "XLN Wireless", "XLN Control Panel", ShellLink("C:\\WINDOWS\\notepad.exe"), true, true},
        {"another maker's program", "XLN Wireless", "XLN Control Panel", ShellLink("C:\\P\\other.exe"), true, true},
        {"another maker's, after an item-id list", "XLN Wireless", "XLN Control Panel",
         ShellLink("C:\\P\\other.exe", "", std::string(0x30, 'i')), true, true},
        {"another maker's, base and suffix", "XLN Wireless", "XLN Control Panel", ShellLink("C:\\P\\", "other.exe"),
         true, true},
        {"an unflagged link information: by its names", "XLN Wireless", "XLN Control Panel", no_info, false, false},
        {"a network target: by its names", "XLN Wireless", "XLN Control Panel",
         ShellLink("C:\\P\\other.exe", "", "", 0x02), false, false},
        {"Windows' folder, the target gone", "Accessories", "Notepad", ShellLink("C:\\P\\gone.exe"), false, true},
        {"Windows' folder, no target", "accessories\\System Tools", "Notepad", "text", true, true},
        {"Windows' shortcut, no target", "", "Internet Explorer", "text", true, true},
    };
    for (auto& c : cases) {
        UninstallData& data = ShortcutWorld(fake::kWinXP);
        strcpy(data.short_company_name, "XLN");
        strcpy(data.cpl_shortcut_folder_name, c.folder);
        strcpy(data.cpl_shortcut_item_name, c.item);
        std::string shortcut = In(kCommonPrograms, In(c.folder, c.item) + ".lnk");
        fake::AddFile(shortcut, c.contents);
        fake::AddFile("C:\\P\\util.exe");
        fake::AddFile("C:\\WINDOWS\\notepad.exe");
        fake::SetFileCompany("C:\\WINDOWS\\notepad.exe", "Microsoft Corporation");
        fake::AddFile("C:\\P\\other.exe");
        fake::SetFileCompany("C:\\P\\other.exe", "Contoso Ltd.");
        EXPECT_EQ(0, RemoveStartMenuShortcut(data)) << c.name;
        EXPECT_EQ(c.shortcut_kept, fake::FileExists(shortcut)) << c.name;
        if (c.folder[0]) EXPECT_EQ(c.folder_kept, fake::DirectoryExists(In(kCommonPrograms, c.folder))) << c.name;
        ExpectNothingOpen(c.name);
    }
}

}  // namespace

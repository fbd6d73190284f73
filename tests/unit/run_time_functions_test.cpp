// Functions found at run time: null whenever the library or the function is
// not there, never a stale pointer.
#include <gtest/gtest.h>

#include "platform/host/fake_world.h"
#include "system/run_time_functions.h"

namespace {

typedef decltype(&::GetSystemWindowsDirectoryA) SystemWindowsDirectoryFn;

TEST(RunTimeFunctions, NullWhenTheLibraryOrTheFunctionIsAbsent) {
    const struct {
        const char* name;
        const char* module;
        const char* function;
        bool found;
    } cases[] = {
        {"present", "kernel32.dll", "GetSystemWindowsDirectoryA", true},
        {"function absent", "kernel32.dll", "NoSuchFunction", false},
        {"library not loaded", "shell32.dll", "SHGetSpecialFolderPathA", false},
        {"library unknown", "nosuch.dll", "GetSystemWindowsDirectoryA", false},
    };
    for (auto& c : cases) {
        fake::Reset();
        EXPECT_EQ(c.found, LoadedFunction<SystemWindowsDirectoryFn>(c.module, c.function) != nullptr)
            << c.name;
        SystemWindowsDirectoryFn function = GetSystemWindowsDirectoryA;
        EXPECT_EQ(c.found, FindFunction(LoadedLibrary(c.module), c.function, &function)) << c.name;
        EXPECT_EQ(c.found, function != nullptr) << c.name;
    }
}

// A group from one list of names: each member its own function, in order;
// a member not found is null, never what the record held before.
TEST(RunTimeFunctions, GroupFilledInTheOrderOfItsNames) {
    const FARPROC wow64 = (FARPROC)(void (*)())IsWow64Process;
    const FARPROC directory = (FARPROC)(void (*)())GetSystemWow64DirectoryA;
    const struct {
        const char* name;
        const char* module;
        const char* names;
        bool found;
        FARPROC first, second;
    } cases[] = {
        {"both present", "kernel32.dll", "IsWow64Process\0GetSystemWow64DirectoryA", true, wow64, directory},
        {"the order of the names", "kernel32.dll", "GetSystemWow64DirectoryA\0IsWow64Process", true, directory,
         wow64},
        {"second absent", "kernel32.dll", "IsWow64Process\0NoSuchFunction", false, wow64, nullptr},
        {"first absent", "kernel32.dll", "NoSuchFunction\0IsWow64Process", false, nullptr, nullptr},
        {"library not loaded", "shell32.dll", "SHGetSpecialFolderPathA\0SHGetSpecialFolderPathA", false,
         nullptr, nullptr},
    };
    for (auto& c : cases) {
        fake::Reset();
        struct { FARPROC first, second; } table = {wow64, wow64};  // stale pointers
        EXPECT_EQ(c.found, FindFunctions(LoadedLibrary(c.module), c.names, &table, sizeof table)) << c.name;
        EXPECT_EQ(c.first, table.first) << c.name;
        EXPECT_EQ(c.second, table.second) << c.name;
    }
}

}  // namespace

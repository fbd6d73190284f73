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

}  // namespace

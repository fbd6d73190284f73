// Stand-in for naming a window's program: the image a test gives for a
// window, as the tool help's process list would name it. Logged as
// "CreateToolhelp32Snapshot", the call that fails when the list cannot be
// had.
#include "removal/window_program.h"

#include <map>

#include "platform/mbtext.h"
#include "removal/path_macros.h"
#include "tests/stand_ins/stand_ins.h"

namespace {

std::map<HWND, std::string> images;

fake::ResetHook window_program_reset([] { images.clear(); });

}  // namespace

bool WindowProgramPath(HWND window, char* path) {
    fake::LogCall("CreateToolhelp32Snapshot", "");
    if (DWORD error = fake::InjectedFailure("CreateToolhelp32Snapshot", "")) {
        SetLastError(error);
        return false;
    }
    auto it = images.find(window);
    return it != images.end() && MbCopy(path, PATH_BUFFER_SIZE, it->second.c_str());
}

namespace stand_in {
void SetWindowImage(HWND window, const std::string& image) { images[window] = image; }
}  // namespace stand_in

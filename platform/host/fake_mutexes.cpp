// Named mutexes, as far as the one-run lock uses them: created or opened
// by name, waited for, released. A test makes another process hold one.
#include "fake_world.h"

#include <map>

namespace {

struct Mutex {
    bool held_elsewhere = false;
    bool abandoned = false;  // the other holder ends without releasing it
    int ours = 0;            // how often this process holds it
};

std::map<std::string, Mutex> mutexes;  // by lower-case name
std::map<HANDLE, std::string> handles;

fake::ResetHook mutexes_reset([] {
    mutexes.clear();
    handles.clear();
});

std::string Lower(const std::string& text) {
    std::string lower;
    for (char c : text) lower += (char)tolower((unsigned char)c);
    return lower;
}

HANDLE OpenByName(const char* api, const char* name, bool create) {
    std::string key = Lower(name ? name : "");
    fake::LogCall(api, key);
    DWORD error = fake::InjectedFailure(api, key);
    if (!error && !create && !mutexes.count(key)) error = ERROR_FILE_NOT_FOUND;
    if (error) {
        SetLastError(error);
        return nullptr;
    }
    SetLastError(mutexes.count(key) ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    mutexes[key];
    HANDLE handle = fake::OpenHandle("mutex");
    handles[handle] = key;
    return handle;
}

// The other holder gives the mutex up once nobody limits the wait.
bool Wait(HANDLE handle, DWORD milliseconds, DWORD* result) {
    auto it = handles.find(handle);
    if (it == handles.end()) return false;
    Mutex& mutex = mutexes[it->second];
    if (mutex.held_elsewhere && milliseconds != INFINITE) {
        *result = WAIT_TIMEOUT;
        return true;
    }
    *result = mutex.held_elsewhere && mutex.abandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
    mutex.held_elsewhere = false;
    ++mutex.ours;
    return true;
}

fake::HandleWaiter mutex_waiter(Wait);

fake::HandleCloser mutex_closer([](HANDLE handle) {
    if (!fake::CloseHandleOf(handle, "mutex")) return false;
    handles.erase(handle);
    return true;
});

}  // namespace

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL initial_owner, LPCSTR name) {
    HANDLE handle = OpenByName("CreateMutexA", name, true);
    if (handle && initial_owner && !mutexes[handles[handle]].held_elsewhere) ++mutexes[handles[handle]].ours;
    return handle;
}

HANDLE OpenMutexA(DWORD, BOOL, LPCSTR name) { return OpenByName("OpenMutexA", name, false); }

BOOL ReleaseMutex(HANDLE handle) {
    fake::LogCall("ReleaseMutex", "");
    auto it = handles.find(handle);
    if (it == handles.end() || mutexes[it->second].ours == 0) {
        SetLastError(it == handles.end() ? ERROR_INVALID_HANDLE : 288 /* ERROR_NOT_OWNER */);
        return FALSE;
    }
    --mutexes[it->second].ours;
    return TRUE;
}

namespace fake {

void HoldMutexElsewhere(const std::string& name, bool abandoned) {
    Mutex& mutex = mutexes[Lower(name)];
    mutex.held_elsewhere = true;
    mutex.abandoned = abandoned;
}


bool MutexHeldHere(const std::string& name) {
    auto it = mutexes.find(Lower(name));
    return it != mutexes.end() && it->second.ours > 0;
}

}  // namespace fake

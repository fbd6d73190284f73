// Stand-in for the one-run lock's named mutex: another process may hold
// it (and end without releasing it), and this process counts how often
// it owns it. Handles are counted with the fake's other kernel handles.
// Logged as "OpenNamedMutex name", so that the one failure table fails it.
#include "system/named_mutex.h"

#include <map>

#include "tests/stand_ins/stand_ins.h"

namespace {

struct Mutex {
    bool held_elsewhere = false;
    bool abandoned = false;
    int ours = 0;
};

std::map<std::string, Mutex> mutexes;  // by lower-case name
std::map<HANDLE, std::string> names;

fake::ResetHook mutexes_reset([] {
    mutexes.clear();
    names.clear();
});

std::string Lower(std::string text) {
    for (char& c : text) c = (char)tolower((unsigned char)c);
    return text;
}

}  // namespace

HANDLE OpenNamedMutex(const char* name) {
    fake::LogCall("OpenNamedMutex", name);
    if (DWORD error = fake::InjectedFailure("OpenNamedMutex", name)) {
        SetLastError(error);
        return nullptr;
    }
    HANDLE handle = fake::OpenHandle("mutex");
    names[handle] = Lower(name);
    return handle;
}

// The other holder gives the mutex up once nobody limits the wait.
DWORD WaitForNamedMutex(HANDLE handle, DWORD milliseconds) {
    Mutex& mutex = mutexes[names.at(handle)];
    if (mutex.held_elsewhere && milliseconds != INFINITE) return WAIT_TIMEOUT;
    DWORD result = mutex.held_elsewhere && mutex.abandoned ? WAIT_ABANDONED : WAIT_OBJECT_0;
    mutex.held_elsewhere = false;
    ++mutex.ours;
    return result;
}

void ReleaseNamedMutex(HANDLE handle) {
    Mutex& mutex = mutexes[names.at(handle)];
    if (mutex.ours > 0) --mutex.ours;
}

void CloseNamedMutex(HANDLE handle) {
    if (fake::CloseHandleOf(handle, "mutex")) names.erase(handle);
}

namespace stand_in {

void HoldMutexElsewhere(const std::string& name, bool abandoned) {
    Mutex& mutex = mutexes[Lower(name)];
    mutex.held_elsewhere = true;
    mutex.abandoned = abandoned;
}

bool MutexHeldHere(const std::string& name) {
    auto it = mutexes.find(Lower(name));
    return it != mutexes.end() && it->second.ours > 0;
}

}  // namespace stand_in

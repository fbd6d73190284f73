// The fake world's common machinery: reset, the call log and failure
// injection shared by every fake subsystem.
#include "fake_world.h"

#include <ctype.h>

namespace fake {

namespace {

struct FailRule {
    std::string api;
    std::string subject;
    int remaining;  // calls still to pass before the failing one; -1: every call
    DWORD error;
};

std::vector<std::function<void()>>& ResetHooks() {
    static std::vector<std::function<void()>> hooks;
    return hooks;
}

struct CallHook {
    std::string api;
    std::string subject;
    int remaining;
    std::function<void()> change;
};

std::vector<FailRule> rules;
std::vector<CallHook> call_hooks;
std::vector<std::string> call_log;

ResetHook common_reset([] {
    rules.clear();
    call_hooks.clear();
    call_log.clear();
});

void RunCallHooks(const char* api, const std::string& subject) {
    for (size_t i = 0; i < call_hooks.size(); ++i) {
        CallHook& hook = call_hooks[i];
        if (hook.api != api || !EndsWithPath(subject, hook.subject) || hook.remaining-- > 0) continue;
        std::function<void()> change = hook.change;
        call_hooks.erase(call_hooks.begin() + i);
        change();
        return;
    }
}

}  // namespace

ResetHook::ResetHook(std::function<void()> reset) { ResetHooks().push_back(reset); }

void Reset() {
    for (auto& hook : ResetHooks()) hook();
}

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i])) return false;
    return true;
}

bool EndsWithPath(const std::string& subject, const std::string& suffix) {
    if (suffix.empty()) return true;
    if (suffix.size() > subject.size()) return false;
    size_t start = subject.size() - suffix.size();
    if (!SameName(subject.substr(start), suffix)) return false;
    return start == 0 || subject[start - 1] == '\\' || suffix[0] == '\\';
}

void FailCall(const std::string& api, DWORD error, int nth, const std::string& subject) {
    rules.push_back({api, subject, nth == 0 ? -1 : nth - 1, error});
}

DWORD InjectedFailure(const char* api, const std::string& subject) {
    for (size_t i = 0; i < rules.size(); ++i) {
        FailRule& rule = rules[i];
        if (rule.api != api || !EndsWithPath(subject, rule.subject)) continue;
        if (rule.remaining < 0) return rule.error;
        if (rule.remaining-- > 0) continue;
        DWORD error = rule.error;
        rules.erase(rules.begin() + i);
        return error;
    }
    return 0;
}

WORD LittleWord(const std::string& d, size_t at) {
    return at + 2 <= d.size() ? (WORD)((unsigned char)d[at] | (unsigned char)d[at + 1] << 8) : 0;
}

DWORD LittleDword(const std::string& d, size_t at) {
    return LittleWord(d, at) | (DWORD)LittleWord(d, at + 2) << 16;
}

std::vector<std::string> TextLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

const std::vector<std::string>& CallLog() { return call_log; }

void BeforeCall(const std::string& api, int nth, std::function<void()> change,
                const std::string& subject) {
    call_hooks.push_back({api, subject, nth - 1, change});
}

void LogCall(const char* api, const std::string& subject) {
    call_log.push_back(std::string(api) + " " + subject);
    RunCallHooks(api, subject);
}

std::vector<std::string> CallsTo(const std::string& prefix) {
    std::vector<std::string> found;
    for (auto& line : call_log)
        if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line);
    return found;
}

}  // namespace fake

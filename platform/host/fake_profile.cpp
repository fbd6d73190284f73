// The fake private-profile (INI) functions, reading and writing INI files
// of the fake file system with Windows' rules: case-insensitive section and
// key names, blanks around names and values dropped, quotes around a whole
// value removed, results cut to the buffer, GetPrivateProfileSectionA's
// "key=value\0...\0\0" layout, and a bare file name placed in the Windows
// directory.
#include <string.h>

#include "fake_file_system.h"
#include "fake_world.h"

namespace {

struct Section {
    std::string name;
    std::vector<std::string> lines;  // as in the file, blank lines included
};

struct Profile {
    std::vector<std::string> preamble;  // lines before the first section
    std::vector<Section> sections;
};

std::string Trim(const std::string& text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos) return "";
    size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

std::string KeyOf(const std::string& line) { return Trim(line.substr(0, line.find('='))); }

bool HasValue(const std::string& line) { return line.find('=') != std::string::npos; }

std::string ValueOf(const std::string& line) {
    size_t equals = line.find('=');
    return equals == std::string::npos ? "" : Trim(line.substr(equals + 1));
}

std::string PathOf(LPCSTR file) {
    std::string name = file ? file : "";
    if (name.find('\\') == std::string::npos && name.find(':') == std::string::npos)
        return fake::WindowsDirectory() + "\\" + name;
    return name;
}

// Windows takes each line as a C string: a NUL byte in the file ends the
// line's text, for reading and for the rewritten file alike.
Profile Parse(const std::string& text) {
    Profile profile;
    for (const std::string& whole : fake::TextLines(text)) {
        const std::string line = whole.c_str();
        std::string trimmed = Trim(line);
        size_t close = trimmed.find(']');
        if (!trimmed.empty() && trimmed[0] == '[' && close != std::string::npos)
            profile.sections.push_back({Trim(trimmed.substr(1, close - 1)), {}});
        else if (profile.sections.empty())
            profile.preamble.push_back(line);
        else
            profile.sections.back().lines.push_back(line);
    }
    return profile;
}

std::string Serialise(const Profile& profile) {
    std::string text;
    for (auto& line : profile.preamble) text += line + "\r\n";
    for (auto& section : profile.sections) {
        text += "[" + section.name + "]\r\n";
        for (auto& line : section.lines) text += line + "\r\n";
    }
    return text;
}

Profile Load(const std::string& path) {
    std::string text;
    fake_fs::ReadFile(path, &text);
    return Parse(text);
}

Section* FindSection(Profile& profile, const std::string& name) {
    for (auto& section : profile.sections)
        if (fake::SameName(section.name, name)) return &section;
    return nullptr;
}

std::string* FindLine(Section& section, const std::string& key) {
    for (auto& line : section.lines)
        if (!Trim(line).empty() && fake::SameName(KeyOf(line), key)) return &line;
    return nullptr;
}

std::string Unquote(const std::string& value) {
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

// Copies a text cut to size - 1 characters and terminates it.
DWORD CopyCut(const std::string& text, LPSTR out, DWORD size) {
    if (size == 0) return 0;
    size_t length = text.size() < size - 1 ? text.size() : size - 1;
    memcpy(out, text.data(), length);
    out[length] = 0;
    return (DWORD)length;
}

// Strings each with its terminator and one more at the end; when they do
// not fit, the buffer is cut, ends with two terminators and the answer is
// size - 2, as Windows does.
DWORD CopyList(const std::vector<std::string>& items, LPSTR out, DWORD size) {
    std::string list;
    for (auto& item : items) list += item + std::string(1, '\0');
    if (list.size() + 1 <= size) {
        memcpy(out, list.data(), list.size());
        out[list.size()] = 0;
        return (DWORD)list.size();
    }
    if (size < 2) {
        if (size == 1) out[0] = 0;
        return 0;
    }
    memcpy(out, list.data(), size - 2);
    out[size - 2] = out[size - 1] = 0;
    return size - 2;
}

std::vector<std::string> KeysOf(const Section& section) {
    std::vector<std::string> keys;
    for (auto& line : section.lines)
        if (!Trim(line).empty()) keys.push_back(KeyOf(line));
    return keys;
}

std::vector<std::string> SectionNames(const Profile& profile) {
    std::vector<std::string> names;
    for (auto& section : profile.sections) names.push_back(section.name);
    return names;
}

BOOL Store(const std::string& path, const Profile& profile) {
    if (DWORD error = fake_fs::WriteFile(path, Serialise(profile))) {
        SetLastError(error);
        return FALSE;
    }
    return TRUE;
}

Section& SectionToWrite(Profile& profile, const std::string& name) {
    if (Section* section = FindSection(profile, name)) return *section;
    profile.sections.push_back({name, {}});
    return profile.sections.back();
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR default_text, LPSTR out,
                               DWORD size, LPCSTR file) {
    std::string path = PathOf(file);
    fake::LogCall("GetPrivateProfileStringA", path);
    if (DWORD error = fake::InjectedFailure("GetPrivateProfileStringA", path)) {
        SetLastError(error);
        return CopyCut("", out, size);
    }
    Profile profile = Load(path);
    if (!section) return CopyList(SectionNames(profile), out, size);
    Section* found = FindSection(profile, section);
    if (!key) return found ? CopyList(KeysOf(*found), out, size) : CopyList({}, out, size);
    std::string* line = found ? FindLine(*found, key) : nullptr;
    if (line) return CopyCut(Unquote(ValueOf(*line)), out, size);
    std::string fallback = default_text ? default_text : "";
    return CopyCut(fallback.substr(0, fallback.find_last_not_of(' ') + 1), out, size);
}

// A null text deletes the key, a null key the whole section.
// All three names null: Windows 9x writes its cache of the file out; the
// fake keeps none, and logs the call as "PATH (flush)".
BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR text, LPCSTR file) {
    std::string path = PathOf(file);
    bool flush = !section && !key && !text;
    fake::LogCall("WritePrivateProfileStringA", flush ? path + " (flush)" : path);
    if (DWORD error = fake::InjectedFailure("WritePrivateProfileStringA", path)) {
        SetLastError(error);
        return FALSE;
    }
    if (!section) return TRUE;
    Profile profile = Load(path);
    if (!key) {
        for (size_t i = 0; i < profile.sections.size(); ++i)
            if (fake::SameName(profile.sections[i].name, section))
                profile.sections.erase(profile.sections.begin() + i--);
        return Store(path, profile);
    }
    Section& target = SectionToWrite(profile, section);
    std::string* line = FindLine(target, key);
    if (!text) {
        if (line) target.lines.erase(target.lines.begin() + (line - target.lines.data()));
    } else if (line) {
        *line = std::string(key) + "=" + text;
    } else {
        target.lines.push_back(std::string(key) + "=" + text);
    }
    return Store(path, profile);
}

// Every line of the section but blank ones, as "key=value" (a line without
// an equals sign as it stands).
DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR out, DWORD size, LPCSTR file) {
    std::string path = PathOf(file);
    fake::LogCall("GetPrivateProfileSectionA", path);
    if (DWORD error = fake::InjectedFailure("GetPrivateProfileSectionA", path)) {
        SetLastError(error);
        return CopyList({}, out, size);
    }
    Profile profile = Load(path);
    Section* found = FindSection(profile, section);
    std::vector<std::string> lines;
    if (found)
        for (auto& line : found->lines)
            if (!Trim(line).empty())
                lines.push_back(HasValue(line) ? KeyOf(line) + "=" + ValueOf(line) : Trim(line));
    return CopyList(lines, out, size);
}

// Replaces the section's lines with the given strings; null deletes it.
BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR lines, LPCSTR file) {
    std::string path = PathOf(file);
    fake::LogCall("WritePrivateProfileSectionA", path);
    if (DWORD error = fake::InjectedFailure("WritePrivateProfileSectionA", path)) {
        SetLastError(error);
        return FALSE;
    }
    Profile profile = Load(path);
    if (!lines) return WritePrivateProfileStringA(section, nullptr, nullptr, file);
    Section& target = SectionToWrite(profile, section);
    target.lines.clear();
    for (const char* line = lines; *line; line += strlen(line) + 1) target.lines.push_back(line);
    return Store(path, profile);
}

// The fake file system and INI files behave as Windows does where the
// removal steps rely on it: search wildcards with "." and "..", and the
// private-profile layout and cuts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/fake_world.h"

namespace {

std::vector<std::string> Find(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(data.cFileName);
    while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

struct FindCase {
    const char* pattern;
    std::vector<std::string> names;
};

TEST(FakeFiles, SearchFollowsWindowsWildcards) {
    const FindCase cases[] = {
        {"C:\\D\\*", {".", "..", "A.DLL", "B", "C.TXT.BAK", "SUB"}},
        {"C:\\D\\*.*", {".", "..", "A.DLL", "B", "C.TXT.BAK", "SUB"}},
        {"C:\\D\\*.", {".", "..", "B", "SUB"}},
        {"C:\\D\\*.dll", {"A.DLL"}},
        {"C:\\D\\?.DLL", {"A.DLL"}},
        {"C:\\D\\*.BAK", {"C.TXT.BAK"}},
        {"C:\\D\\b", {"B"}},
        {"C:\\D\\SUB", {"SUB"}},
        {"C:\\D\\Z*", {}},
        {"C:\\*", {"D", "WINDOWS"}},
        {"C:\\MISSING\\*", {}},
    };
    fake::Reset();
    for (const char* name : {"C:\\D\\A.DLL", "C:\\D\\B", "C:\\D\\C.TXT.BAK"}) fake::AddFile(name);
    fake::AddDirectory("C:\\D\\SUB");
    for (const FindCase& c : cases) EXPECT_EQ(c.names, Find(c.pattern)) << c.pattern;
    EXPECT_EQ(0, fake::OpenHandleCount());
}

TEST(FakeFiles, DeletionRefusals) {
    fake::Reset();
    fake::AddFile("C:\\D\\RO.DLL", "", FILE_ATTRIBUTE_READONLY);
    fake::AddFile("C:\\D\\RUN.EXE");
    fake::SetFileLocked("C:\\D\\RUN.EXE", true);
    struct {
        const char* path;
        DWORD error;
    } cases[] = {
        {"C:\\D\\RO.DLL", ERROR_ACCESS_DENIED},
        {"C:\\D\\RUN.EXE", ERROR_ACCESS_DENIED},
        {"C:\\D", ERROR_ACCESS_DENIED},
        {"C:\\D\\.", ERROR_ACCESS_DENIED},
        {"C:\\D\\NONE.DLL", ERROR_FILE_NOT_FOUND},
        {"C:\\NONE\\X.DLL", ERROR_PATH_NOT_FOUND},
    };
    for (auto& c : cases) {
        SetLastError(0);
        EXPECT_FALSE(DeleteFileA(c.path)) << c.path;
        EXPECT_EQ(c.error, GetLastError()) << c.path;
    }
}

std::string Section(const char* file, DWORD size, DWORD* count) {
    std::vector<char> out(size);
    *count = GetPrivateProfileSectionA("rename", out.data(), size, file);
    return std::string(out.data(), size);
}

TEST(FakeProfile, SectionLayoutAndCut) {
    fake::Reset();
    // A NUL byte ends its line's text, as Windows reads a line.
    fake::AddFile("C:\\WINDOWS\\W.INI",
                  std::string("[Rename]\r\n NUL = C:\\A \0 junk\r\n\r\nC:\\N=C:\\O\r\n[x]\r\ny=1\r\n", 53));
    DWORD count;
    EXPECT_EQ(std::string("NUL=C:\\A\0C:\\N=C:\\O\0\0", 20), Section("W.INI", 20, &count));
    EXPECT_EQ(19u, count);
    EXPECT_EQ(std::string("NUL=C:\\A\0C:\\N=\0\0", 16), Section("W.INI", 16, &count));
    EXPECT_EQ(14u, count);
}

TEST(FakeProfile, StringQuotesDefaultAndCut) {
    fake::Reset();
    fake::AddFile("C:\\WINDOWS\\W.INI",
                  "[s]\r\nq=\"quoted\"\r\nlong=abcdef\r\nempty=\r\nsq='a b'\r\nlone=\"x\r\n" +
                      std::string("nul=ab\0cd\r\n", 11));
    struct {
        const char* key;
        DWORD size;
        const char* text;
    } cases[] = {
        {"Q", 32, "quoted"}, {"long", 4, "abc"}, {"missing", 32, "dflt"},
        {"EMPTY", 32, ""},   {"sq", 32, "a b"},  {"lone", 32, "\"x"},
        {"nul", 32, "ab"},
    };
    for (auto& c : cases) {
        char out[32];
        memset(out, '#', sizeof out);
        DWORD length = GetPrivateProfileStringA("S", c.key, "dflt  ", out, c.size, "W.INI");
        EXPECT_STREQ(c.text, out) << c.key;
        EXPECT_EQ(strlen(c.text), length) << c.key;
    }
}

}  // namespace

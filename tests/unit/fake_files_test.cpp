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

// As Wine 8 and Windows resolve them; a name matches by its 8.3 form too;
// shares, subst drives and links reach the folder behind them.
TEST(FakeFiles, PathsResolveAsWindowsResolvesThem) {
    const struct {
        const char* path;
        const char* full;
    } cases[] = {
        {"C:\\windows\\...\\..\\system32\\*.exe", "C:\\windows\\system32\\*.exe"},
        {"C:\\windows\\...\\..\\system32\\", "C:\\windows\\system32\\"},
        {"C:\\windows.\\x", "C:\\windows\\x"},
        {"c:\\windows\\system32\\x. ", "C:\\windows\\system32\\x"},
        {"C:/a//b/../c", "C:\\a\\c"},
        {"C:\\..\\..", "C:\\"},
        {"\\\\localhost\\c$\\windows\\*.*", "\\\\localhost\\c$\\windows\\*.*"},
        {"\\\\?\\C:\\a\\..\\b", "\\\\?\\C:\\a\\..\\b"},
    };
    fake::Reset();
    char full[64];
    for (auto& c : cases) {
        ASSERT_LT(0u, GetFullPathNameA(c.path, sizeof full, full, nullptr)) << c.path;
        EXPECT_EQ(std::string(c.full), full) << c.path;
    }
    fake::AddFile("C:\\D\\Long file name.txt");
    fake::AddFile("C:\\D\\SUB\\X.SYS");
    fake::AddLink("C:\\P\\link", "C:\\D\\SUB");
    fake::AddShare("\\\\localhost\\c$", "C:");
    fake::SetSubstDrive('S', "C:\\D");
    EXPECT_EQ(std::vector<std::string>{"Long file name.txt"}, Find("C:\\D\\LONGFI~1.*"));
    for (const char* way : {"C:\\P\\link\\*.SYS", "S:\\SUB\\*.SYS", "\\\\localhost\\c$\\D\\SUB\\*.SYS",
                            "\\\\?\\UNC\\localhost\\c$\\D\\SUB\\*.SYS", "\\\\.\\C:\\D\\SUB\\*.SYS"})
        EXPECT_EQ(std::vector<std::string>{"X.SYS"}, Find(way)) << way;
    EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT), GetFileAttributesA("C:\\P\\link"));
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
    // By handle: delete-on-close is refused at the open, the disposition
    // call when it is made; a handle without delete sharing keeps the file.
    const DWORD all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    for (const char* path : {"C:\\D\\RO.DLL", "C:\\D\\RUN.EXE"}) {
        EXPECT_EQ(INVALID_HANDLE_VALUE,
                  CreateFileA(path, DELETE, all, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError()) << path;
        HANDLE file = CreateFileA(path, DELETE, all, nullptr, OPEN_EXISTING, 0, nullptr);
        FILE_DISPOSITION_INFO disposition = {TRUE};
        EXPECT_FALSE(SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition));
        EXPECT_EQ((DWORD)ERROR_ACCESS_DENIED, GetLastError()) << path;
        CloseHandle(file);
        EXPECT_TRUE(fake::FileExists(path)) << path;
    }
    fake::AddFile("C:\\D\\HELD.DLL");
    HANDLE held = CreateFileA("C:\\D\\HELD.DLL", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(INVALID_HANDLE_VALUE, CreateFileA("C:\\D\\HELD.DLL", DELETE, all, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ((DWORD)ERROR_SHARING_VIOLATION, GetLastError());
    CloseHandle(held);
    HANDLE gone = CreateFileA("C:\\D\\HELD.DLL", DELETE, all, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE,
                              nullptr);
    EXPECT_TRUE(fake::FileExists("C:\\D\\HELD.DLL"));
    CloseHandle(gone);
    EXPECT_FALSE(fake::FileExists("C:\\D\\HELD.DLL"));
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

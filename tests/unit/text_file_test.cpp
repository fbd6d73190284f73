// Text-mode files: lines read as the C run-time's text mode gives them
// (CR LF across the buffer's edge too, Ctrl-Z as the end, long lines cut),
// LF written as CR LF, and failures reported with every handle closed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host/fake_world.h"
#include "platform/text_file.h"

namespace {

const char kPath[] = "C:\\WINDOWS\\T.TXT";

// Every line TextFileReadLine gives with a buffer of `size`.
std::vector<std::string> ReadLines(const std::string& bytes, int size = 256) {
    fake::Reset();
    fake::AddFile(kPath, bytes);
    std::vector<std::string> lines;
    TextFile file;
    if (!TextFileOpen(&file, kPath)) return {"<not opened>"};
    std::vector<char> line(size + 1, '#');
    while (TextFileReadLine(&file, line.data(), size)) lines.push_back(line.data());
    EXPECT_EQ('#', line[size]) << "written past the buffer";
    EXPECT_TRUE(TextFileClose(&file));
    EXPECT_EQ(0, fake::OpenHandleCount());
    return lines;
}

struct ReadCase {
    const char* name;
    std::string bytes;
    int size;
    std::vector<std::string> lines;
};

TEST(TextFile, ReadsLinesAsTextMode) {
    const std::string edge(511, 'a');  // the CR is the buffer's last byte
    const ReadCase cases[] = {
        {"CR LF and LF end lines", "a\r\nb\nc", 256, {"a\n", "b\n", "c"}},
        {"lone CR kept", "a\rb\r\r\n", 256, {"a\rb\r\n"}},
        {"CR at the end kept", "a\r", 256, {"a\r"}},
        {"CR LF across the buffer's edge", edge + "\r\nz\n", 1024, {edge + "\n", "z\n"}},
        {"Ctrl-Z ends the file", "a\n\x1A" "b\n", 256, {"a\n"}},
        {"long line cut to size less one", "abcdef\n", 4, {"abc", "def", "\n"}},
        {"empty file", "", 256, {}},
    };
    for (const ReadCase& c : cases) EXPECT_EQ(c.lines, ReadLines(c.bytes, c.size)) << c.name;
}

TEST(TextFile, WritesCrLfAcrossBufferFlushes) {
    fake::Reset();
    fake::AddFile(kPath, "old contents that must go");
    const std::string long_text(700, 'x');
    TextFile file;
    ASSERT_TRUE(TextFileCreate(&file, kPath));
    EXPECT_TRUE(TextFileWrite(&file, "a\nb"));
    EXPECT_TRUE(TextFileWrite(&file, (long_text + "\n").c_str()));
    EXPECT_TRUE(TextFileClose(&file));
    EXPECT_EQ("a\r\nb" + long_text + "\r\n", fake::FileContents(kPath));
    EXPECT_EQ(0, fake::OpenHandleCount());
}

TEST(TextFile, FailuresAreReportedAndCloseTheHandle) {
    TextFile file;
    fake::Reset();
    EXPECT_FALSE(TextFileOpen(&file, kPath)) << "missing file";
    fake::AddFile(kPath, "x", FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(TextFileCreate(&file, kPath)) << "read-only file";
    EXPECT_EQ("x", fake::FileContents(kPath));

    fake::Reset();
    fake::FailCall("WriteFile", ERROR_DISK_FULL);
    ASSERT_TRUE(TextFileCreate(&file, kPath));
    TextFileWrite(&file, "lost\n");
    EXPECT_FALSE(TextFileClose(&file)) << "a failed write must show at the close";
    EXPECT_EQ(0, fake::OpenHandleCount());
}

}  // namespace

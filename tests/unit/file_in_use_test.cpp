// The write-open probe that both the preview and the clean-up copy ask.
#include "removal/file_in_use.h"

#include "removal_fixture.h"

namespace {

class FileInUse : public RemovalTest {};

TEST_F(FileInUse, OnlyARefusalForAccessOrSharingIsUse) {
    const struct {
        const char* why;
        bool locked;
        DWORD attributes;
        DWORD injected;  // CreateFileA's failure, 0 for none
        bool in_use;
    } rows[] = {
        {"free: opened and closed again", false, FILE_ATTRIBUTE_ARCHIVE, 0, false},
        {"a running program", true, FILE_ATTRIBUTE_ARCHIVE, 0, true},
        {"read-only refuses writing too: callers look first", false, FILE_ATTRIBUTE_READONLY, 0, true},
        {"held open elsewhere", false, FILE_ATTRIBUTE_ARCHIVE, ERROR_SHARING_VIOLATION, true},
        {"any other failure is not use", false, FILE_ATTRIBUTE_ARCHIVE, ERROR_PATH_NOT_FOUND, false},
    };
    for (const auto& row : rows) {
        fake::Reset();
        fake::AddFile("C:\\XLN\\tray.exe", "x", row.attributes);
        fake::SetFileLocked("C:\\XLN\\tray.exe", row.locked);
        if (row.injected) fake::FailCall("CreateFileA", row.injected, 0);
        for (DWORD share : {(DWORD)0, (DWORD)(FILE_SHARE_READ | FILE_SHARE_WRITE)})
            EXPECT_EQ(row.in_use, WriteOpenRefused("C:\\XLN\\tray.exe", share)) << row.why;
        EXPECT_EQ(0, fake::OpenHandleCount()) << row.why;
    }
    EXPECT_FALSE(WriteOpenRefused("C:\\XLN\\missing.exe", 0));
}

}  // namespace

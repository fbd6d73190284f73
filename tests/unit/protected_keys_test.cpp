// The guardrails on the registry: which keys no description can have
// deleted, however their paths are spelled.
#include "removal/protected_keys.h"

#include "removal_test_support.h"

namespace {

TEST(ProtectedKeys, RootsFirstLevelAndSystemKeysInAnySpelling) {
    const struct {
        const char* parent;
        const char* name;
        bool is_protected;
    } cases[] = {
        {"", "", true},
        {"", "\\\\", true},
        {"", "SOFTWARE", true},
        {"", "\\HARDWARE\\", true},
        {"", "Victim", true},
        {"", "software\\MICROSOFT", true},
        {"SOFTWARE\\\\", "Microsoft\\\\", true},
        {"SOFTWARE", "Classes", true},
        {"", "SOFTWARE\\Wow6432Node", true},
        {"", "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", true},
        {"", "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", true},
        {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "Uninstall", true},
        {"", "SYSTEM\\CurrentControlSet", true},
        {"", "SYSTEM\\ControlSet002\\Hardware Profiles", true},
        {"SYSTEM\\controlset001", "Services", true},
        {"", "SYSTEM\\CurrentControlSet\\Enum", true},
        {"", "SOFTWARE\\Tarnwell", false},
        {"", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\XLN 802.11g", false},
        {"SYSTEM\\CurrentControlSet\\Services", "XLNW11", false},
        {"", "SYSTEM\\ControlSet01\\Services", true},
        {"", "SOFTWARE\\Wow6432Node\\Tarnwell", false},
        {"", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Extra", true},
    };
    for (auto& c : cases)
        EXPECT_EQ(c.is_protected, IsProtectedKey(c.parent, c.name)) << c.parent << " + " << c.name;
}

// A trail byte equal to '\' does not split a name into two.
TEST(ProtectedKeys, DoubleByteNamesAreOneUnit) {
    fake::Reset();
    fake::SetAnsiCodePage(932);
    EXPECT_TRUE(IsProtectedKey("", "A\x83\\B"));
    EXPECT_FALSE(IsProtectedKey("", "SOFTWARE\\A\x83\\B"));
}

}  // namespace

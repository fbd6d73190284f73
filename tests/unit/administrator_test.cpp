// The security arithmetic the administrator check and the admin-only
// descriptor share: an ACL exactly large enough for its allowing entries
// (Windows refuses an entry that does not fit, and the check would then
// answer "no"). The calls themselves run against the real advapi32 in the
// NT-family Wine scenarios; here a stand-in answers for them.
#include <gtest/gtest.h>

#include <vector>

#include "system/acl_size.h"

namespace {

TEST(AllowingAclSize, HeaderThenEachEntryWithItsWholeSid) {
    const struct {
        const char* name;
        std::vector<DWORD> sid_lengths;
        DWORD size;
    } cases[] = {
        {"no entry", {}, 8},
        // Header 8, entry without its SID start 8, SID with two sub-authorities 16.
        {"the Administrators group", {16}, 32},
        {"Administrators and the system account", {16, 12}, 52},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.size, AllowingAclSize(c.sid_lengths.data(), (int)c.sid_lengths.size())) << c.name;
}

}  // namespace

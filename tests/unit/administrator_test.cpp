// The administrator test: decided by an access check of the user's token,
// and nothing is left behind on any path.
#include <gtest/gtest.h>

#include "platform/host/fake_world.h"
#include "system/administrator.h"

namespace {

class AdministratorTest : public ::testing::Test {
protected:
    void SetUp() override { fake::Reset(); }
    // No token, SID, allocation or impersonation survives the call.
    void ExpectNothingLeft(const std::string& label) {
        EXPECT_EQ(0, fake::OpenTokenCount()) << label;
        EXPECT_EQ(0, fake::LiveSidCount()) << label;
        EXPECT_EQ(0, fake::LocalBlockCount()) << label;
        EXPECT_FALSE(fake::ThreadIsImpersonating()) << label;
    }
};

TEST_F(AdministratorTest, MembershipDecides) {
    for (bool member : {true, false}) {
        fake::Reset();
        fake::SetUserIsAdministrator(member);
        EXPECT_EQ(member, IsAdministrator() != 0) << "member " << member;
        ExpectNothingLeft(member ? "member" : "not a member");
    }
}

// Without a thread token the process's token is used, through an
// impersonation copy: AccessCheck refuses a primary token.
TEST_F(AdministratorTest, ProcessTokenWhenTheThreadHasNone) {
    for (bool member : {true, false}) {
        fake::Reset();
        fake::SetUserIsAdministrator(member);
        fake::FailCall("ImpersonateSelf", ERROR_ACCESS_DENIED);
        EXPECT_EQ(member, IsAdministrator() != 0) << "member " << member;
        EXPECT_EQ(1u, fake::CallsTo("OpenProcessToken").size());
        EXPECT_EQ(1u, fake::CallsTo("DuplicateToken").size());
        ExpectNothingLeft("process token");
    }
}

TEST_F(AdministratorTest, PrimaryTokenIsRefusedByTheCheck) {
    HANDLE primary = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &primary));
    PSID sid = nullptr;
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, 32, 544, 0, 0, 0, 0, 0, 0, &sid));
    SECURITY_DESCRIPTOR sd;
    InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&sd, TRUE, nullptr, FALSE);
    SetSecurityDescriptorOwner(&sd, sid, FALSE);
    SetSecurityDescriptorGroup(&sd, sid, FALSE);
    GENERIC_MAPPING mapping = {1, 2, 0, 3};
    PRIVILEGE_SET privileges;
    DWORD length = sizeof privileges, granted = 0;
    BOOL status = FALSE;
    EXPECT_FALSE(AccessCheck(&sd, primary, 1, &mapping, &privileges, &length, &granted, &status));
    EXPECT_EQ((DWORD)ERROR_NO_IMPERSONATION_TOKEN, GetLastError());
    CloseHandle(primary);
    FreeSid(sid);
}

struct FailureCase {
    const char* api;
    int nth;
};

// Every failure answers "not an administrator" and releases what was taken.
TEST_F(AdministratorTest, EachFailureAnswersNoAndReleasesEverything) {
    const FailureCase cases[] = {
        {"OpenThreadToken", 1},
        {"AllocateAndInitializeSid", 1},
        {"LocalAlloc", 1},
        {"LocalAlloc", 2},
        {"InitializeSecurityDescriptor", 1},
        {"InitializeAcl", 1},
        {"AddAccessAllowedAce", 1},
        {"SetSecurityDescriptorDacl", 1},
        {"IsValidSecurityDescriptor", 1},
        {"AccessCheck", 1},
    };
    for (const FailureCase& c : cases) {
        fake::Reset();
        fake::FailCall(c.api, ERROR_ACCESS_DENIED, c.nth);
        std::string label = std::string(c.api) + " #" + std::to_string(c.nth);
        EXPECT_EQ(0, IsAdministrator()) << label;
        ExpectNothingLeft(label);
    }
}

TEST_F(AdministratorTest, MissingDuplicateTokenAnswersNo) {
    fake::FailCall("ImpersonateSelf", ERROR_ACCESS_DENIED);
    fake::RemoveExport("advapi32.dll", "DuplicateToken");
    EXPECT_EQ(0, IsAdministrator());
    ExpectNothingLeft("no DuplicateToken");
}

TEST_F(AdministratorTest, ProcessTokenFailuresAnswerNo) {
    for (const char* api : {"OpenProcessToken", "DuplicateToken"}) {
        fake::Reset();
        fake::FailCall("ImpersonateSelf", ERROR_ACCESS_DENIED);
        fake::FailCall(api, ERROR_ACCESS_DENIED);
        EXPECT_EQ(0, IsAdministrator()) << api;
        ExpectNothingLeft(api);
    }
}

TEST_F(AdministratorTest, OwnerAndGroupResultsAreNotExamined) {
    // A descriptor without an owner still makes AccessCheck fail: the answer
    // is then "no", with nothing left behind.
    fake::FailCall("SetSecurityDescriptorOwner", ERROR_ACCESS_DENIED);
    EXPECT_EQ(0, IsAdministrator());
    EXPECT_EQ(1u, fake::CallsTo("AccessCheck").size());
    ExpectNothingLeft("owner not set");
}

// The descriptor at its minimum length; the ACL exactly large enough for
// its one entry (the fake refuses an entry that does not fit).
TEST_F(AdministratorTest, AllocationSizes) {
    EXPECT_NE(0, IsAdministrator());
    EXPECT_EQ(std::vector<std::string>{"LocalAlloc " + std::to_string(SECURITY_DESCRIPTOR_MIN_LENGTH)},
              fake::CallsTo("LocalAlloc " + std::to_string(SECURITY_DESCRIPTOR_MIN_LENGTH)));
    // ACL header 8, entry without its SID start 8, SID with two sub-authorities 16.
    EXPECT_EQ(1u, fake::CallsTo("LocalAlloc 32").size());
}

TEST(Privileges, AdjustedOnTheProcessToken) {
    fake::Reset();
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES wanted = {1, {{{0, 0}, SE_PRIVILEGE_ENABLED}}};
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &wanted.Privileges[0].Luid));
    EXPECT_FALSE(fake::ProcessPrivilegeEnabled(SE_SHUTDOWN_NAME));
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr));
    EXPECT_EQ((DWORD)ERROR_SUCCESS, GetLastError());
    EXPECT_TRUE(fake::ProcessPrivilegeEnabled(SE_SHUTDOWN_NAME));
    fake::SetUserPrivileges({});
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &wanted, 0, nullptr, nullptr));
    EXPECT_EQ((DWORD)ERROR_NOT_ALL_ASSIGNED, GetLastError());
    EXPECT_TRUE(CloseHandle(token));
    EXPECT_EQ(0, fake::OpenTokenCount());
}

}  // namespace

namespace {

// The security functions are found at run time, so that the program loads
// on a Windows whose advapi32 lacks one: then nobody counts as an
// administrator, and nothing is taken.
TEST_F(AdministratorTest, AnyMissingSecurityFunctionMeansNoRights) {
    const char* const functions[] = {
        "ImpersonateSelf", "RevertToSelf", "OpenThreadToken", "OpenProcessToken",
        "DuplicateToken", "AllocateAndInitializeSid", "FreeSid", "GetLengthSid",
        "InitializeSecurityDescriptor", "InitializeAcl", "AddAccessAllowedAce",
        "SetSecurityDescriptorDacl", "SetSecurityDescriptorGroup", "SetSecurityDescriptorOwner",
        "IsValidSecurityDescriptor", "AccessCheck", "LookupPrivilegeValueA",
        "AdjustTokenPrivileges",
    };
    for (const char* function : functions) {
        fake::Reset();
        fake::SetUserIsAdministrator(true);
        fake::RemoveExport("advapi32.dll", function);
        EXPECT_EQ(0, IsAdministrator()) << function << " missing";
        ExpectNothingLeft(function);
    }
}

}  // namespace

#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Handles.h"
#include "platform/win/kernel/Priority.h"
#include "platform/win/kernel/Security.h"

#include <gtest/gtest.h>

namespace {

class SecurityTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSecurityForTesting(); }
    void TearDown() override { ResetSecurityForTesting(); }

    // The shutdown privilege enabled as a program does it before shutting down.
    static BOOL EnableShutdown(DWORD access = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY)
    {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), access, &token))
            return FALSE;
        TOKEN_PRIVILEGES privileges{};
        privileges.PrivilegeCount = 1;
        LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        const BOOL ok = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        const DWORD error = GetLastError();
        CloseHandle(token);
        SetLastError(error);
        return ok;
    }
};

TEST_F(SecurityTest, ShutdownNeedsThePrivilegeAndIsOnlyRecorded)
{
    EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE, 0));
    EXPECT_EQ(GetLastError(), ERROR_PRIVILEGE_NOT_HELD);
    EXPECT_TRUE(ExitWindowsEx(EWX_LOGOFF, 0)) << "log-off needs no privilege";
    ASSERT_TRUE(EnableShutdown());
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_TRUE(ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0));
    const auto& log = ExitWindowsRequests();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].flags, 5u);
    EXPECT_FALSE(log[0].accepted);
    EXPECT_EQ(log[1].flags, 0u);
    EXPECT_TRUE(log[1].accepted);
    EXPECT_EQ(log[2].flags, 6u);
    EXPECT_TRUE(log[2].accepted);
}

TEST_F(SecurityTest, TokenFailures)
{
    EXPECT_FALSE(EnableShutdown(TOKEN_QUERY)) << "adjusting needs TOKEN_ADJUST_PRIVILEGES";
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    SetTokenCallsFailForTesting(true);
    EXPECT_FALSE(EnableShutdown());
    EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN, 0));

    HANDLE token = nullptr;
    EXPECT_FALSE(OpenProcessToken(reinterpret_cast<HANDLE>(0x1234), TOKEN_QUERY, &token));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(AdjustTokenPrivileges(nullptr, TRUE, nullptr, 0, nullptr, nullptr));
}

TEST_F(SecurityTest, LookupAndPartialAssignment)
{
    LUID luid{};
    ASSERT_TRUE(LookupPrivilegeValueA(nullptr, "seshutdownprivilege", &luid));
    EXPECT_EQ(luid.LowPart, 19u);
    EXPECT_FALSE(LookupPrivilegeValueA(nullptr, "SeMadeUpPrivilege", &luid));
    EXPECT_EQ(GetLastError(), ERROR_NO_SUCH_PRIVILEGE);

    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
    TOKEN_PRIVILEGES unknown{1, {{{999, 0}, SE_PRIVILEGE_ENABLED}}};
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &unknown, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_NOT_ALL_ASSIGNED);

    TOKEN_PRIVILEGES enable{1, {{{19, 0}, SE_PRIVILEGE_ENABLED}}};
    TOKEN_PRIVILEGES previous{};
    DWORD length = 0;
    ASSERT_TRUE(AdjustTokenPrivileges(token, FALSE, &enable, sizeof previous, &previous, &length));
    EXPECT_EQ(length, sizeof previous);
    EXPECT_EQ(previous.PrivilegeCount, 1u);
    EXPECT_EQ(previous.Privileges[0].Attributes, 0u) << "it was disabled before";
    EXPECT_TRUE(AdjustTokenPrivileges(token, TRUE, nullptr, 0, nullptr, nullptr));
    EXPECT_FALSE(ExitWindowsEx(EWX_SHUTDOWN, 0)) << "disabled again";
    EXPECT_TRUE(CloseHandle(token));
}

TEST(PriorityTest, ValuesAreKeptAndAnswered)
{
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), NORMAL_PRIORITY_CLASS);
    ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS));
    ASSERT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL));
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), REALTIME_PRIORITY_CLASS);
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_TIME_CRITICAL);
    EXPECT_FALSE(SetPriorityClass(GetCurrentProcess(), 0x1234));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(SetThreadPriority(GetCurrentThread(), 7));
    EXPECT_FALSE(SetPriorityClass(reinterpret_cast<HANDLE>(0x40), NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetThreadPriority(nullptr), THREAD_PRIORITY_ERROR_RETURN);
    ASSERT_TRUE(SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL));
    ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), NORMAL_PRIORITY_CLASS);
}

} // namespace

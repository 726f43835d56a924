#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Identity.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

class IdentityTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        SetComputerNameForTesting(std::nullopt);
        SetUserNameForTesting(std::nullopt);
        SetNameQueriesFailForTesting(false);
    }
};

TEST_F(IdentityTest, ComputerNameCountsWithoutZeroAndReportsNeededSize)
{
    SetComputerNameForTesting(AnsiString("CASSA01"));
    char buffer[16];
    DWORD size = sizeof buffer;
    ASSERT_TRUE(GetComputerNameA(buffer, &size));
    EXPECT_STREQ(buffer, "CASSA01");
    EXPECT_EQ(size, 7u);

    std::memset(buffer, 'q', sizeof buffer);
    size = 7;
    EXPECT_FALSE(GetComputerNameA(buffer, &size));
    EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
    EXPECT_EQ(size, 8u);
    EXPECT_EQ(buffer[0], 'q');
}

TEST_F(IdentityTest, HostComputerNameIsUpperCaseAndShort)
{
    char buffer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = sizeof buffer;
    ASSERT_TRUE(GetComputerNameA(buffer, &size));
    EXPECT_GT(size, 0u);
    EXPECT_LE(size, MAX_COMPUTERNAME_LENGTH);
    for (DWORD i = 0; i < size; ++i)
        EXPECT_FALSE(buffer[i] >= 'a' && buffer[i] <= 'z') << buffer;
}

TEST_F(IdentityTest, UserNameCountsWithZero)
{
    SetUserNameForTesting(AnsiString("mario"));
    char buffer[64];
    DWORD size = 63;
    ASSERT_TRUE(GetUserNameA(buffer, &size));
    EXPECT_STREQ(buffer, "mario");
    EXPECT_EQ(size, 6u);

    size = 5;
    EXPECT_FALSE(GetUserNameA(buffer, &size));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, 6u);
}

TEST_F(IdentityTest, FailingQueriesReportAccessDenied)
{
    SetNameQueriesFailForTesting(true);
    char buffer[64];
    DWORD size = sizeof buffer;
    EXPECT_FALSE(GetUserNameA(buffer, &size));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(GetComputerNameA(buffer, &size));
    EXPECT_FALSE(GetUserNameA(buffer, nullptr));
}

TEST_F(IdentityTest, EnvironmentBlockHoldsVariablesEndedByDoubleZero)
{
    ::setenv("VENDARO_KERNEL_TEST", "uno=due \xC3\xA0", 1); // "à" in UTF-8
    LPSTR block = GetEnvironmentStringsA();
    ASSERT_NE(block, nullptr);
    bool found = false;
    const char* entry = block;
    while (*entry) {
        found = found || std::string(entry) == "VENDARO_KERNEL_TEST=uno=due \xE0";
        entry += std::strlen(entry) + 1;
    }
    EXPECT_TRUE(found);
    EXPECT_TRUE(FreeEnvironmentStringsA(block));
    ::unsetenv("VENDARO_KERNEL_TEST");
}

} // namespace

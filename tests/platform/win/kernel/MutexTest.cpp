#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Handles.h"
#include "platform/win/kernel/Mutex.h"

#include "KernelTestSupport.h"

#include <gtest/gtest.h>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class MutexTest : public ::testing::Test {
protected:
    void SetUp() override { SetMutexLockFolder(folder.Path()); }
    void TearDown() override { SetMutexLockFolder(""); }

    // Runs CreateMutexA for name in a child process; answers the child's last error.
    static int LastErrorInChild(const char* name)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            HANDLE handle = CreateMutexA(nullptr, FALSE, name);
            const DWORD error = GetLastError();
            ::_exit(handle == nullptr ? 99 : (error == ERROR_ALREADY_EXISTS ? 1 : 0));
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TTempFolder folder;
};

TEST_F(MutexTest, SecondCreationInProcessReportsExisting)
{
    HANDLE first = CreateMutexA(nullptr, FALSE, "IMPORTA.EXE");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    HANDLE second = CreateMutexA(nullptr, FALSE, "IMPORTA.EXE");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_TRUE(CloseHandle(second));
}

TEST_F(MutexTest, ExistsAcrossProcessesUntilLastHandleCloses)
{
    EXPECT_EQ(LastErrorInChild("UPGRADE.EXE"), 0) << "nobody holds it yet";
    HANDLE handle = CreateMutexA(nullptr, FALSE, "UPGRADE.EXE");
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(LastErrorInChild("UPGRADE.EXE"), 1);
    EXPECT_EQ(LastErrorInChild("UPGRADE2.EXE"), 0) << "another file name is another mutex";
    EXPECT_EQ(LastErrorInChild("upgrade.exe"), 0) << "names are case-sensitive";
    ASSERT_TRUE(CloseHandle(handle));
    EXPECT_EQ(LastErrorInChild("UPGRADE.EXE"), 0);
}

TEST_F(MutexTest, NamesWithAnyBytesAndUnnamedMutexes)
{
    HANDLE odd = CreateMutexA(nullptr, FALSE, "Global\\A/B:C %\x80");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(LastErrorInChild("Global\\A/B:C %\x80"), 1);
    HANDLE unnamed1 = CreateMutexA(nullptr, TRUE, nullptr);
    HANDLE unnamed2 = CreateMutexA(nullptr, FALSE, "");
    ASSERT_NE(unnamed1, nullptr);
    ASSERT_NE(unnamed2, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    for (HANDLE h : {odd, unnamed1, unnamed2})
        EXPECT_TRUE(CloseHandle(h));
}

TEST_F(MutexTest, LongNamesAndTooLongNames)
{
    const std::string longName(250, 'x');
    HANDLE handle = CreateMutexA(nullptr, FALSE, longName.c_str());
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(LastErrorInChild(longName.c_str()), 1);
    EXPECT_EQ(LastErrorInChild((longName + "y").c_str()), 0);
    EXPECT_TRUE(CloseHandle(handle));

    EXPECT_EQ(CreateMutexA(nullptr, FALSE, std::string(261, 'x').c_str()), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_FILENAME_EXCED_RANGE);
}

TEST(HandlesTest, ClosingUnknownOrClosedHandleFails)
{
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    HANDLE handle = CreateMutexA(nullptr, FALSE, nullptr);
    EXPECT_TRUE(CloseHandle(handle));
    SetLastError(0);
    EXPECT_FALSE(CloseHandle(handle));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(ErrorsTest, LastErrorIsPerThread)
{
    SetLastError(ERROR_ALREADY_EXISTS);
    DWORD seenByOtherThread = 12345;
    std::thread([&] { seenByOtherThread = GetLastError(); }).join();
    EXPECT_EQ(seenByOtherThread, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
}

} // namespace

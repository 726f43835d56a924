#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/SystemInfo.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(SystemInfoTest, BasicVersionRecordReportsXp)
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwBuildNumber, 2600u);
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_STREQ(info.szCSDVersion, "Service Pack 3");
}

TEST(SystemInfoTest, ExtendedRecordAddsServicePackAndProduct)
{
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)));
    EXPECT_EQ(info.wServicePackMajor, 3);
    EXPECT_EQ(info.wProductType, VER_NT_WORKSTATION);
    EXPECT_EQ(info.wSuiteMask, VER_SUITE_SINGLEUSERTS);
}

TEST(SystemInfoTest, OtherRecordSizesAreRefusedUntouched)
{
    for (DWORD size : {0u, 147u, 149u, 157u}) {
        OSVERSIONINFOEXA info{};
        std::memset(&info, 0x5A, sizeof info);
        info.dwOSVersionInfoSize = size;
        SetLastError(0);
        EXPECT_FALSE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) << size;
        EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
        EXPECT_EQ(info.dwMajorVersion, 0x5A5A5A5Au);
        EXPECT_EQ(info.wProductType, 0x5A);
    }
}

TEST(SystemInfoTest, GetVersionPacksMajorMinorAndBuild)
{
    const DWORD v = GetVersion();
    EXPECT_EQ(LOBYTE(v), 5);
    EXPECT_EQ(HIBYTE(LOWORD(v)), 1);
    EXPECT_EQ(HIWORD(v), 2600);
    EXPECT_EQ(v & 0x80000000u, 0u);
}

struct MemoryCase {
    std::uint64_t total, avail;
    DWORD reportedTotal, reportedAvail, load;
};

TEST(SystemInfoTest, MemoryIsCappedToSigned32Bit)
{
    constexpr std::uint64_t GB = 1024ull * 1024 * 1024;
    const MemoryCase cases[] = {
        {512 * 1024 * 1024, 128 * 1024 * 1024, 512u * 1024 * 1024, 128u * 1024 * 1024, 75},
        {16 * GB, 4 * GB, 0x7FFFFFFF, 0x7FFFFFFF, 75},
        {3 * GB, 1 * GB, 0x7FFFFFFF, 1u << 30, 66},
        {0, 0, 0, 0, 0},
    };
    for (const MemoryCase& c : cases) {
        SetMemoryFiguresForTesting(TMemoryFigures{c.total, c.avail, c.total * 2, c.avail * 2});
        MEMORYSTATUS status{};
        GlobalMemoryStatus(&status);
        EXPECT_EQ(status.dwLength, sizeof status);
        EXPECT_EQ(status.dwTotalPhys, c.reportedTotal);
        EXPECT_EQ(status.dwAvailPhys, c.reportedAvail);
        EXPECT_EQ(status.dwMemoryLoad, c.load);
        EXPECT_LE(status.dwTotalPageFile, 0x7FFFFFFFu);
    }
    SetMemoryFiguresForTesting(std::nullopt);
}

TEST(SystemInfoTest, HostMemoryIsConsistent)
{
    MEMORYSTATUS status{};
    GlobalMemoryStatus(&status);
    EXPECT_GT(status.dwTotalPhys, 0u);
    EXPECT_LE(status.dwAvailPhys, status.dwTotalPhys);
    EXPECT_LE(status.dwMemoryLoad, 100u);
    EXPECT_LE(status.dwAvailVirtual, status.dwTotalVirtual);
}

TEST(SystemInfoTest, ProcessorInformation)
{
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    EXPECT_EQ(info.dwProcessorType, PROCESSOR_INTEL_PENTIUM);
    EXPECT_GE(info.dwNumberOfProcessors, 1u);
    EXPECT_LE(info.dwNumberOfProcessors, 32u);
    EXPECT_EQ(info.dwPageSize, 4096u);
    EXPECT_EQ(info.dwAllocationGranularity, 65536u);
    // One mask bit per processor.
    EXPECT_EQ(static_cast<DWORD>(__builtin_popcountll(info.dwActiveProcessorMask)), info.dwNumberOfProcessors);
}

} // namespace

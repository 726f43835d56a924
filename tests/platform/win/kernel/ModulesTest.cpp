#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/UxTheme.h"

#include <gtest/gtest.h>

namespace {

int Answer() { return 42; }

class ModulesTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterModule("Sample.dll", {{"Answer", ModuleEntry(&Answer)}}); }
    void TearDown() override { UnregisterModule("Sample.dll"); }
};

TEST_F(ModulesTest, NamesMatchWithoutCaseFolderOrExtension)
{
    for (const char* name : {"Sample.dll", "SAMPLE.DLL", "sample", "C:\\WINDOWS\\system32\\sample.dll"}) {
        HMODULE module = LoadLibraryA(name);
        ASSERT_NE(module, nullptr) << name;
        EXPECT_GE(reinterpret_cast<std::uintptr_t>(module), 32u);
        EXPECT_TRUE(FreeLibrary(module));
    }
}

TEST_F(ModulesTest, EntriesAreFoundByExactName)
{
    HMODULE module = LoadLibraryA("sample.dll");
    ASSERT_NE(module, nullptr);
    auto answer = reinterpret_cast<int (*)()>(GetProcAddress(module, "Answer"));
    ASSERT_NE(answer, nullptr);
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(GetProcAddress(module, "answer"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(module, reinterpret_cast<LPCSTR>(std::uintptr_t{1})), nullptr) << "no ordinals";
    EXPECT_EQ(GetModuleHandleA("SAMPLE.DLL"), module);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST_F(ModulesTest, LoadsAreCountedAndTheLastFreeUnloads)
{
    HMODULE first = LoadLibraryA("sample.dll");
    HMODULE second = LoadLibraryA("sample.dll");
    EXPECT_EQ(first, second);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_NE(GetProcAddress(second, "Answer"), nullptr) << "still loaded once";
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_EQ(GetProcAddress(second, "Answer"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FreeLibrary(second));
    EXPECT_EQ(GetModuleHandleA("sample.dll"), nullptr);
}

TEST_F(ModulesTest, UnknownLibrariesAreAbsent)
{
    // A trailing dot asks for a file without extension, which "Sample.dll" is not.
    for (const char* name : {"RSRC32.DLL", "rsrc32", "kernel32.dll", "", "sample."}) {
        SetLastError(0);
        EXPECT_EQ(LoadLibraryA(name), nullptr) << name;
        EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    }
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
}

TEST_F(ModulesTest, AvailabilityIsAskedOnEveryLoad)
{
    bool present = false;
    RegisterModule("Optional.dll", {}, [&] { return present; });
    EXPECT_EQ(LoadLibraryA("optional.dll"), nullptr);
    present = true;
    HMODULE module = LoadLibraryA("optional.dll");
    EXPECT_NE(module, nullptr);
    EXPECT_TRUE(FreeLibrary(module));
    UnregisterModule("Optional.dll");
}

TEST_F(ModulesTest, ModuleFileNames)
{
    SetParams({"C:\\Vendaro\\IMPORTA.EXE"});
    char name[260];
    EXPECT_EQ(GetModuleFileNameA(nullptr, name, sizeof name), 22u);
    EXPECT_STREQ(name, "C:\\Vendaro\\IMPORTA.EXE");
    EXPECT_EQ(GetModuleFileNameA(HInstance, name, 8), 8u) << "a cut name answers the buffer size";
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_STREQ(name, "C:\\Vend") << "and is still terminated";

    HMODULE module = LoadLibraryA("c:\\somewhere\\sample.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_GT(GetModuleFileNameA(module, name, sizeof name), 0u);
    EXPECT_EQ(AnsiString(name), FileSystem::SystemFolder() + "\\Sample.dll");
    FreeLibrary(module);
    EXPECT_EQ(GetModuleFileNameA(module, name, sizeof name), 0u);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    SetParams({});
}

TEST(ProgramModuleTest, NullNameIsTheProgram)
{
    EXPECT_EQ(GetModuleHandleA(nullptr), HInstance);
    EXPECT_GE(reinterpret_cast<std::uintptr_t>(HInstance), 32u);
}

} // namespace

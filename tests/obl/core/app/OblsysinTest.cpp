#include "obl/core/app/Oblsysin.h"

#include "platform/classlib/Classes.h"
#include "platform/classlib/Forms.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileNames.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/User.h"
#include "platform/win/user/UserTesting.h"
#include "platform/win/user/WindowStyles.h"

#include "platform/classlib/Registry.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/win/registry/WinReg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

TEST(OblsysinTest, VersionFlagsOfTheStandInSystem)
{
    OblsysinInitialization();
    EXPECT_TRUE(OBLSIWindowsNT);
    EXPECT_TRUE(OBLSIWindowsXP);
    EXPECT_TRUE(OBLSIWindowsXPProf);
    EXPECT_FALSE(OBLSIWindowsXPHome);
    EXPECT_FALSE(OBLSIWindows95);
    EXPECT_FALSE(OBLSIWindows98);
    EXPECT_FALSE(OBLSIWindowsME);
    EXPECT_FALSE(OBLSIWindows2000);
    EXPECT_FALSE(OBLSIWindows2000AdvancedServer);
    EXPECT_FALSE(OBLSINETServer);
    EXPECT_TRUE(OBLSIWindowsExtension);
    EXPECT_FALSE(OBLSIOLDWindowsNT());
    EXPECT_EQ(OBLSIVersionStr(), "5.1");
    EXPECT_DOUBLE_EQ(OBLSIVersionNr(), 5.1);
    EXPECT_EQ(OBLSIPlatformStr(), "Windows NT");
    EXPECT_EQ(OBLSIVIPlatformID(), 2u);
    EXPECT_EQ(OBLSIProductType(), 1);
}

TEST(OblsysinTest, VersionNumbers)
{
    struct Case {
        WORD major, minor;
        double expected;
    } cases[] = {{4, 90, 4.90}, {4, 10, 4.10}, {5, 1, 5.1}, {5, 0, 5.0}, {6, 100, 6.100}, {4, 9, 4.9}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(OBLSIVersionNrOf(c.major, c.minor), c.expected);
}

TEST(OblsysinTest, NamesOfCodes)
{
    const char* drives[] = {"(Unknown)", "no root directory", "removable", "fixed drive",
                            "remote (network) drive", "CD-ROM", "ramdisk", "(Unknown)"};
    for (UINT t = 0; t < 8; ++t) EXPECT_EQ(OBLSIDriveTypeStr(t), drives[t]);
    const char* platforms[] = {"Win32s", "Windows 95", "Windows NT", "(Unknown)"};
    for (DWORD p = 0; p < 4; ++p) EXPECT_EQ(OBLSIPlatformName(p), platforms[p]);
    struct Cpu {
        DWORD type;
        const char* name;
    } cpus[] = {{386, "Intel 386"},   {486, "Intel 486"},     {586, "Intel Pentium"}, {2000, "Mips R2000"},
                {4000, "Mips R4000"}, {21064, "Alpha 21064"}, {8664, "8664"}};
    for (const Cpu& c : cpus) EXPECT_EQ(OBLSIProcessorTypeName(c.type), c.name);
}

TEST(OblsysinTest, InfoCaptions)
{
    struct Case {
        TOBLInfoType kind;
        const char* caption;
    } cases[] = {{itUser, "Username"},
                 {itCurrentDiskSize32, "Disk size of current Disk"},
                 {itColorDepth, "Colordepth (in bits)"},
                 {itMemVirtTotal32, "Total virtual memory"},
                 {itScroll, "ScrollLock"},
                 {itProgVersion, "Version"},
                 {itFileVersionBuild, "Version"},
                 {itProgTrademark, "LegalTrademark"},
                 {itCPUSpeed, "CPU Speed"}};
    for (const Case& c : cases) EXPECT_EQ(OBLSIInfoToString(c.kind), c.caption);
    EXPECT_EQ(OBLSIInfoToString(static_cast<TOBLInfoType>(45)), "");
}

class MemoryFigures {
public:
    MemoryFigures()
    {
        TMemoryFigures f;
        f.totalPhys = 512ull << 20;
        f.availPhys = 128ull << 20;
        f.totalPageFile = 1ull << 30;
        f.availPageFile = 6ull << 30;
        SetMemoryFiguresForTesting(f);
    }
    ~MemoryFigures() { SetMemoryFiguresForTesting(std::nullopt); }
};

TEST(OblsysinTest, SystemInfoStrings)
{
    MemoryFigures figures;
    struct Case {
        TOBLInfoType kind;
        int divisor;
        const char* expected;
    } cases[] = {
        {itMemSize, 1024, "524288"},
        {itMemSize, 0, "536870912"},
        {itMemSize, 1, "536870912"},
        {itMemFree32, 1 << 20, "128"},
        {itMemPageTotal32, 1 << 20, "1024"},
        // Above 2 GB the system reports its cap, kept positive.
        {itMemPageFree32, 1, "2147483647"},
        {itVersion, 1, "5.1"},
        {itMajorVerNr32, 1, "5"},
        {itBuildNr32, 100, "26"},
        {itPlatformID32, 1, "2"},
        {itPlatform32, 1, "Windows NT"},
        {itDOSVersion, 1, "Win32"},
        {itFreeSysRes, 1, "100"},
        {itFreeGDIRes, 1, "100"},
        {itFreeUserRes, 1, "100"},
    };
    for (const Case& c : cases) EXPECT_EQ(GetSystemInfoString(c.kind, c.divisor, ""), c.expected) << int(c.kind);
    EXPECT_EQ(OBLSIMemTotal(), 512ull << 20);
    EXPECT_EQ(GetSystemInfoString(itNumLock, 1, ""), OBLSINumLock() ? "On" : "Off");
    EXPECT_EQ(GetSystemInfoString(itWinDir, 1, ""), OBLSIWindowsDirectory());
}

TEST(OblsysinTest, NamesFallBackWhenTheQueriesFail)
{
    SetUserNameForTesting(AnsiString("rossi"));
    SetComputerNameForTesting(AnsiString("CASSA1"));
    EXPECT_EQ(OBLSIUserName(), "rossi");
    EXPECT_EQ(OBLSIComputerName(), "CASSA1");
    SetNameQueriesFailForTesting(true);
    EXPECT_EQ(OBLSIUserName(), "(Unknown)");
    EXPECT_EQ(OBLSIComputerName(), "(Unknown)");
    SetNameQueriesFailForTesting(false);
    SetUserNameForTesting(std::nullopt);
    SetComputerNameForTesting(std::nullopt);
}

TEST(OblsysinTest, DriveInfo)
{
    for (const char* drive : {"", "\\\\server\\share", "1:\\"}) {
        const TOBLDriveInfo info = OBLSIDriveInfo(drive);
        EXPECT_EQ(info.DriveType, 1u) << drive;
        EXPECT_EQ(info.TotalSize, 0);
        EXPECT_EQ(info.FreeSize, 0);
        EXPECT_EQ(info.SectorsPerCluster, 0u);
    }
    const TOBLDriveInfo c = OBLSIDriveInfo("c:\\windows");
    EXPECT_EQ(c.DriveType, GetDriveTypeA("C:\\"));
    if (c.DriveType == DRIVE_FIXED) {
        EXPECT_GT(c.TotalSize, 0);
        EXPECT_LE(c.FreeSize, c.TotalSize);
        EXPECT_GT(c.BytesPerSector, 0u);
    }
    TStringList list;
    list.Add("stale");
    OBLSIDriveList(&list);
    EXPECT_EQ(list.IndexOf("stale"), -1);
    for (int i = 0; i < list.Count(); ++i) EXPECT_EQ(Copy(list[i], 2, 2), ":\\");
    OBLSIDriveList(nullptr);
}

TEST(OblsysinTest, EnvironmentAndTemporaryFiles)
{
    TStringList env;
    OBLSIEnvironment(&env);
    EXPECT_GT(env.Count(), 0);
    const AnsiString temp = OBLSITempPath();
    ASSERT_FALSE(temp.IsEmpty());
    EXPECT_EQ(temp[temp.Length()], '\\');
    const AnsiString file = OBLSITempFile();
    ASSERT_FALSE(file.IsEmpty());
    EXPECT_EQ(Copy(ExtractFileName(file), 1, 3).str(), "tmp");
    EXPECT_TRUE(FileExists(file));
    DeleteFile(file);
}

class VersionResource : public ::testing::Test {
protected:
    void SetUp() override { program = ExtractFileName(ParamStr(0)); }
    void TearDown() override { UnregisterVersionInfo(program); }
    AnsiString program;
};

TEST_F(VersionResource, TextsOfTheProgramsVersionResource)
{
    EXPECT_EQ(OBLSIVersionInfo(viCompany), "");
    TVersionInfo info;
    info.fileVersion = {2, 5, 7, 311};
    info.translations = {{0x0410, 0x04E4}};
    info.strings = {{0x0410, 0x04E4, "CompanyName", "Vendaro Srl"},
                    {0x0410, 0x04E4, "ProductName", "Importa"},
                    {0x0410, 0x04E4, "ProductVersion", "2.5"},
                    {0x0410, 0x04E4, "LegalCopyright", "(c) Vendaro"},
                    {0x0410, 0x04E4, "LegalTrademark", "Vendaro(R)"},
                    {0x0409, 0x04E4, "Comments", "wrong language"}};
    RegisterVersionInfo(program, info);
    struct Case {
        TOBLVersionInfoType kind;
        const char* expected;
    } cases[] = {{viCompany, "Vendaro Srl"},   {viName, "Importa"},           {viVersion, "2.5"},
                 {viCopyright, "(c) Vendaro"}, {viTrademark, "Vendaro(R)"},  {viDescription, ""},
                 {viComments, ""},             {viFileVersion, "2.5"},        {viFileVersionFull, "2.5.7.311"},
                 {viFileVersionBuild, "2.5 (Build 7.311)"}};
    for (const Case& c : cases) EXPECT_EQ(OBLSIVersionInfo(c.kind), c.expected) << int(c.kind);
    EXPECT_EQ(GetSystemInfoString(itProgName, 1, ""), "Importa");
    EXPECT_EQ(GetSystemInfoString(itFileVersionFull, 1, ""), "2.5.7.311");
}

TEST_F(VersionResource, WithoutTranslationTheUsEnglishTableIsRead)
{
    TVersionInfo info;
    info.strings = {{0x0409, 0x04E4, "Comments", "note"}, {0x0410, 0x04E4, "CompanyName", "other"}};
    RegisterVersionInfo(program, info);
    EXPECT_EQ(OBLSIVersionInfo(viComments), "note");
    EXPECT_EQ(OBLSIVersionInfo(viCompany), "");
}

TEST(OblsysinTest, LocaleTexts)
{
    char buffer[64] = {};
    GetLocaleInfoA(GetThreadLocale(), 0x0E, buffer, sizeof buffer);
    EXPECT_EQ(OBLGetLocalInfo(15), buffer);
    GetLocaleInfoA(GetThreadLocale(), 0x1003, buffer, sizeof buffer);
    EXPECT_EQ(OBLGetLocalInfo(27), buffer);
    EXPECT_FALSE(OBLGetLocalInfo(0).IsEmpty());
}

// Title-bar geometry against the stand-in's metrics: border 1, frame 4, dialog frame 3,
// caption 19 (small 16), caption button 18 (small 12), small icon 16.
class NonClientArea : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        WNDCLASSA cls{};
        cls.lpfnWndProc = DefWindowProcA;
        cls.lpszClassName = "OblNcProbe";
        RegisterClassA(&cls);
    }
    void TearDown() override { UserResetWindowSystem(); }
    static HWND Make(DWORD style, DWORD exStyle)
    {
        return CreateWindowExA(exStyle, "OblNcProbe", "", style, 10, 10, 200, 100, nullptr, nullptr, nullptr,
                               nullptr);
    }
};

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(NonClientArea, CaptionAndTextRectangles)
{
    struct Case {
        const char* name;
        DWORD style, exStyle;
        WORD flagsIn;
        RECT caption, text;
        WORD flagsOut;
    } cases[] = {
        {"sizeable", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, {4, 4, 196, 22}, {25, 4, 139, 22}, 0x08},
        {"sizeable, caption fitted to the text", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0x03, {25, 4, 139, 22},
         {27, 4, 139, 22}, 0x0B},
        {"dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_DLGMODALFRAME, 0, {3, 3, 197, 21},
         {5, 3, 176, 21}, 0},
        {"dialog with help", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE,
         WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP, 0, {3, 3, 197, 21}, {5, 3, 157, 21}, 0},
        {"tool window", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, WS_EX_TOOLWINDOW, 0, {3, 3, 197, 18},
         {4, 3, 183, 18}, 0x04},
        {"no system menu", WS_CAPTION | WS_THICKFRAME | WS_VISIBLE, 0, 0, {4, 4, 196, 22}, {6, 4, 196, 22}, 0},
        {"hidden, stale output flags", WS_OVERLAPPEDWINDOW, 0, 0x1F, {4, 4, 200, 22}, {0, 0, 200, 22}, 0x03},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = Make(c.style, c.exStyle);
        ASSERT_NE(window, nullptr);
        RECT caption{}, text{};
        WORD flags = c.flagsIn;
        OBLNCCalcDrawingArea(window, caption, text, flags);
        EXPECT_TRUE(Same(caption, c.caption)) << caption.left << "," << caption.top << "," << caption.right << ","
                                              << caption.bottom;
        EXPECT_TRUE(Same(text, c.text)) << text.left << "," << text.top << "," << text.right << "," << text.bottom;
        EXPECT_EQ(flags, c.flagsOut);
        DestroyWindow(window);
    }
}

TEST_F(NonClientArea, Metrics)
{
    EXPECT_EQ(OBLNCBORDERWIDTH(), 4);
    EXPECT_EQ(OBLNCBORDERHEIGHT(), 4);
    EXPECT_EQ(OBLNCCAPTIONHEIGHT(), 19);
    EXPECT_EQ(OBLNCSMALLCAPTIONHEIGHT(), 16);
    EXPECT_EQ(OBLNCCAPTIONICONWIDTH(), 16);
    const bool saved = NewStyleControls;
    NewStyleControls = false;
    EXPECT_EQ(OBLNCSMALLCAPTIONHEIGHT(), 19);
    EXPECT_EQ(OBLNCSMALLBITMAPWIDTH(), 18);
    EXPECT_EQ(OBLNCCAPTIONICONWIDTH(), 18);
    NewStyleControls = saved;
}

TEST(OblsysinTest, DisplayQueries)
{
    const BYTE depth = OBLSIColorDepth();
    EXPECT_TRUE(depth == 8 || depth == 16 || depth == 24 || depth == 32) << int(depth);
    EXPECT_EQ(GetSystemInfoString(itColorDepth, 1, ""), IntToStr(depth));
    EXPECT_TRUE(OBLSIStretchBltPossible());
}

TEST(OblsysinTest, CpuSpeedIsMeasured)
{
#if defined(__x86_64__) || defined(__i386__)
    EXPECT_GT(OBLSIGetCPUSpeed(), 10.0);
#else
    EXPECT_EQ(OBLSIGetCPUSpeed(), 0.0);
#endif
}

} // namespace

namespace {

// A registry of its own in a temporary file for one test.
class TemporaryRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = RegistryFileName();
        file = (std::filesystem::temp_directory_path() / ("oblsysin-registry-" + std::to_string(getpid()))).string();
        std::filesystem::remove(file);
        SetRegistryFileName(file);
        OblsysinInitialization();
    }
    void TearDown() override
    {
        SetRegistryFileName(saved);
        std::filesystem::remove(file);
    }
    std::string saved, file;
};

TEST_F(TemporaryRegistry, RegisteredOwnerAndCompany)
{
    EXPECT_EQ(OBLSIRegisteredOwner(), "(Unknown)");
    EXPECT_EQ(OBLSIRegisteredCompany(), "(Unknown)");
    {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(registry.OpenKey("\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", true));
        registry.WriteString("RegisteredOwner", "Mario Rossi");
        registry.WriteString("RegisteredOrganization", "Negozio Rossi");
    }
    EXPECT_EQ(OBLSIRegisteredOwner(), "Mario Rossi");
    EXPECT_EQ(OBLSIRegisteredCompany(), "Negozio Rossi");
    EXPECT_EQ(GetSystemInfoString(itReg_Owner32, 1, ""), "Mario Rossi");
}

TEST(OblsysinClockTest, DateAndTimeUseTheFormat)
{
    TFakeClock clock(EncodeDate(2026, 12, 10) + 0.5);
    TClockOverride use(clock);
    EXPECT_EQ(GetSystemInfoString(itCurrentDateTime, 1, "yyyy-mm-dd hh:nn"), "2026-12-10 12:00");
}

} // namespace

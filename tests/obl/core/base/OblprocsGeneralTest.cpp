#include "obl/core/base/Oblprocs.h"

#include "platform/classlib/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/kernel/Kernel.h"
#include "platform/win/user/Menus.h"
#include "platform/win/user/User.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

::testing::AssertionResult RectIs(const RECT& actual, RECT expected)
{
    if (SameRect(actual, expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.left << "," << actual.top << "," << actual.right << ","
                                         << actual.bottom << ")";
}

TEST(OblprocsGeneralTest, RectangleArithmetic)
{
    EXPECT_TRUE(RectIs(OBLExpandRect(RECT{10, 20, 30, 40}, 2), RECT{8, 18, 32, 42}));
    EXPECT_TRUE(RectIs(OBLExpandRect(RECT{10, 20, 30, 40}, -3), RECT{13, 23, 27, 37}));
    RECT r{1, 2, 3, 4};
    OBLAdjustRect(r, 5, -1);
    EXPECT_TRUE(RectIs(r, RECT{1, 2, 8, 3}));
    OBLAdjustRectExt(r, 1, 2, 3, 4);
    EXPECT_TRUE(RectIs(r, RECT{2, 4, 11, 7}));
    int w = 0, h = 0;
    OBLGetRectWH(RECT{5, 6, 25, 16}, w, h);
    EXPECT_EQ(w, 20);
    EXPECT_EQ(h, 10);
}

TEST(OblprocsGeneralTest, AffineRectKeepsTheSourceProportions)
{
    struct Case {
        RECT source, target, expected;
    } cases[] = {
        {{0, 0, 200, 100}, {10, 10, 60, 60}, {10, 10, 60, 35}},
        {{0, 0, 100, 200}, {10, 10, 60, 60}, {10, 10, 35, 60}},
        {{0, 0, 4, 4}, {0, 0, 10, 20}, {0, 0, 10, 10}},
        {{0, 0, 0, 100}, {7, 8, 60, 60}, {7, 8, 7, 8}},
        {{5, 5, 50, 5}, {7, 8, 60, 60}, {7, 8, 7, 8}},
    };
    for (const Case& c : cases) EXPECT_TRUE(RectIs(OBLAffineRect(c.source, c.target), c.expected));
}

TEST(OblprocsGeneralTest, RectInRectExcludesTheRightAndBottomEdges)
{
    const RECT outer{0, 0, 10, 10};
    EXPECT_TRUE(OBLRectinRect(RECT{1, 1, 9, 9}, outer));
    EXPECT_FALSE(OBLRectinRect(outer, outer));
    EXPECT_FALSE(OBLRectinRect(RECT{-1, 1, 5, 5}, outer));
}

TEST(OblprocsGeneralTest, RotatedBoundingBox)
{
    struct Case {
        RECT in;
        int angle;
        RECT expected;
    } cases[] = {
        {{10, 20, 110, 70}, 0, {10, 20, 110, 70}},
        {{10, 20, 110, 70}, 90, {0, 0, 50, 100}},
        {{10, 20, 110, 70}, 180, {0, 0, 100, 50}},
        {{0, 0, 100, 100}, 45, {0, 0, 142, 142}},
    };
    for (const Case& c : cases) {
        RECT r = c.in;
        OBLCalcRotRect(r, c.angle);
        EXPECT_TRUE(RectIs(r, c.expected)) << c.angle;
    }
}

TEST(OblprocsGeneralTest, RotatedTextPositions)
{
    struct Case {
        int angle, h, w, x, y;
    } cases[] = {
        {0, 10, 100, 0, 100},
        {90, 10, 100, 100, 100},
        {180, 10, 100, 10, 0},
        {270, 10, 100, -90, 0},
        {360, 10, 100, 0, 100},
        {-90, 10, 100, -100, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OBLRotatedXPos(c.angle, c.h, c.w), c.x) << c.angle;
        EXPECT_EQ(OBLRotatedYPos(c.angle, c.h, c.w), c.y) << c.angle;
    }
}

TEST(OblprocsGeneralTest, PointArrays)
{
    POINT pts[] = {{0, 0}, {3, 3}};
    POINT mid{-9, -9};
    OBLMidpoint(pts, 1, mid);
    EXPECT_EQ(mid.x, 1);
    EXPECT_EQ(mid.y, 1);
    POINT neg[] = {{-3, 0}, {0, 0}};
    OBLMidpoint(neg, 1, mid);
    EXPECT_EQ(mid.x, -1);
    POINT big[] = {{INT_MAX, INT_MAX}, {INT_MAX, INT_MAX}};
    OBLMidpoint(big, 1, mid);
    EXPECT_EQ(mid.x, INT_MAX);
    mid = POINT{5, 6};
    OBLMidpoint(pts, -1, mid);
    EXPECT_EQ(mid.x, 5);
    EXPECT_EQ(mid.y, 6);
    OBLOffsetPoints(pts, 1, 2, -1);
    EXPECT_EQ(pts[1].x, 5);
    EXPECT_EQ(pts[0].y, -1);
    OBLNullPoints(pts, 1);
    EXPECT_EQ(pts[1].x, 0);
    EXPECT_EQ(pts[1].y, 0);
}

TEST(OblprocsGeneralTest, MinimumAndMaximum)
{
    const int ints[] = {3, -7, 9, 9, 0};
    EXPECT_EQ(OBLMax(ints, 4), 9);
    EXPECT_EQ(OBLMin(ints, 4), -7);
    EXPECT_EQ(OBLMax(ints, 0), 3);
    EXPECT_EQ(OBLMax(ints, -1), 0);
    EXPECT_EQ(OBLMin(ints, -1), 0);
    const long double reals[] = {1.5L, -2.25L, 0.75L};
    EXPECT_EQ(OBLMaxR(reals, 2), 1.5L);
    EXPECT_EQ(OBLMinR(reals, 2), -2.25L);
    EXPECT_EQ(OBLMinR(reals, -1), 0.0L);
}

TEST(OblprocsGeneralTest, SmallNumberHelpers)
{
    EXPECT_EQ(OBLMidI(3, 4), 3);
    EXPECT_EQ(OBLMidI(-3, -4), -3);
    EXPECT_EQ(OBLMidI(INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(OBLExp(2, 31), INT_MIN);
    EXPECT_EQ(OBLExp(5, 0), 1);
    EXPECT_EQ(OBLExp(5, -2), 1);
    EXPECT_EQ(OBLExp(-3, 3), -27);
    int a = 1, b = 2;
    OBLSwapInt(a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1);
    AnsiString s = "x", t = "y";
    OBLSwapString(s, t);
    EXPECT_EQ(s, "y");
    EXPECT_EQ(OBLInc(a), 3);
    EXPECT_EQ(a, 3);
    EXPECT_EQ(OBLDec(a), 2);
    int top = INT_MAX;
    EXPECT_EQ(OBLInc(top), INT_MIN);
}

TEST(OblprocsGeneralTest, BitsOfAByte)
{
    struct Case {
        BYTE in;
        int bit;
        bool on;
        BYTE out;
    } cases[] = {
        {0x00, 0, true, 0x01}, {0x01, 0, true, 0x01}, {0x80, 7, false, 0x00},
        {0x00, 3, false, 0x00}, {0xFF, 3, false, 0xF7}, {0x00, 8, true, 0x00},
        {0x10, 9, false, 0x10}, {0x00, -1, true, 0x00},
    };
    for (const Case& c : cases) {
        BYTE b = c.in;
        OBLSetBit(b, c.bit, c.on);
        EXPECT_EQ(b, c.out) << int(c.in) << " bit " << c.bit;
    }
    BYTE b = 0x80;
    OBLSetBitUpTo(b, 2);
    EXPECT_EQ(b, 0x87);
    b = 0;
    OBLSetBitUpTo(b, 12);
    EXPECT_EQ(b, 0xFF);
    EXPECT_TRUE(OBLGetBit(0x04, 2));
    EXPECT_FALSE(OBLGetBit(0x04, 1));
    EXPECT_FALSE(OBLGetBit(0xFF, 8));
}

TEST(OblprocsGeneralTest, ShrunkFileNameDropsFoldersOneByOne)
{
    struct Case {
        const char* path;
        int max;
        const char* expected;
    } cases[] = {
        {"C:\\aaaaaa\\b\\c\\n", 100, "C:\\aaaaaa\\b\\c\\n"},
        {"C:\\aaaaaa\\b\\c\\n", 12, "C:\\...\\b\\c\\n"},
        {"C:\\aaaaaa\\b\\c\\n", 11, "C:\\...\\c\\n"},
        {"C:\\a\\b\\c\\n", 10, "C:\\a\\b\\c\\n"},
        {"C:\\a\\b\\c\\n", 9, "C:\\...\\n"},
        {"C:\\a\\b\\c\\n", 7, "...\\n"},
        {"C:\\a\\b\\c\\n", 4, "n"},
        {"C:\\a\\b\\c\\n", 1, "n"},
        {"\\a\\n", 1, "n"},
        {"aaa\\b\\name", 9, "...\\name"},
        {"longname", 2, "longname"},
        {"C:n", 2, "n"},
    };
    for (const Case& c : cases) EXPECT_EQ(OBLShrunkFileName(c.path, c.max), c.expected) << c.path << " " << c.max;
}

TEST(OblprocsGeneralTest, NamesFromTheProgramFile)
{
    EXPECT_EQ(OBLExtractFileName("C:\\dir\\Importa.exe"), "Importa");
    EXPECT_EQ(OBLExtractFileName("plain"), "plain");
    const AnsiString appPath = OBLAppPath();
    ASSERT_FALSE(appPath.IsEmpty());
    EXPECT_EQ(appPath[appPath.Length()], '\\');
    EXPECT_EQ(Copy(OBLAppIniName(), 1, 9), "SOFTWARE\\");
    EXPECT_EQ(OBLCreatePathPrefix(ppProgram, true), appPath);
    EXPECT_EQ(OBLCreatePathPrefix(ppProgram, false), Copy(appPath, 1, appPath.Length() - 1));
    EXPECT_EQ(OBLCreatePathPrefix(ppFixed, true), "");
}

TEST(OblprocsGeneralTest, WindowsAndSystemFolders)
{
    const AnsiString savedWindows = FileSystem::WindowsFolder(), savedSystem = FileSystem::SystemFolder();
    FileSystem::SetWindowsFolder("C:\\WINDOWS");
    FileSystem::SetSystemFolder("C:\\WINDOWS\\SYSTEM32\\");
    EXPECT_EQ(OBLWindowsDirectory(), "C:\\WINDOWS");
    EXPECT_EQ(OBLCreatePathPrefix(ppWindows, true), "C:\\WINDOWS\\");
    EXPECT_EQ(OBLCreatePathPrefix(ppWindows, false), "C:\\WINDOWS");
    EXPECT_EQ(OBLCreatePathPrefix(ppSystem, false), "C:\\WINDOWS\\SYSTEM32");
    EXPECT_EQ(OBLCreatePathPrefix(ppSystem, true), "C:\\WINDOWS\\SYSTEM32\\");
    // A folder that does not fit the buffer is no answer, never a cut-off text.
    FileSystem::SetWindowsFolder("C:\\" + AnsiString(std::string(300, 'w')));
    EXPECT_EQ(OBLWindowsDirectory(), "");
    FileSystem::SetWindowsFolder(savedWindows);
    FileSystem::SetSystemFolder(savedSystem);
}

// A clock whose tick moves on by one millisecond at every reading.
class TickingClock : public TFakeClock {
public:
    std::uint32_t TickCount() const override { return ++tick; }
    mutable std::uint32_t tick = 0xFFFFFFF0u;
};

TEST(OblprocsGeneralTest, DelayWaitsAcrossTheTickWrapAround)
{
    TickingClock clock;
    TClockOverride use(clock);
    OBLDelay(40);
    // The start reading, then readings until more than 40 ms have passed.
    EXPECT_EQ(static_cast<std::uint32_t>(clock.tick - 0xFFFFFFF1u), 41u);
    const std::uint32_t before = clock.tick;
    OBLDelay(0);
    EXPECT_EQ(clock.tick, before);
}

TEST(OblprocsGeneralTest, MailAndWebAddressesGetALeadingScheme)
{
    struct Case {
        bool mail;
        const char* address;
        const char* subject;
        bool asIs;
        const char* expected;
    } cases[] = {
        {true, "a@b.it", "", false, "mailto:a@b.it"},
        {true, "MAILTO:a@b.it", "Hi", false, "MAILTO:a@b.it?subject=Hi"},
        {true, "x mailto:a@b.it", "", false, "mailto:x mailto:a@b.it"},
        {false, "www.b.it", "", false, "http://www.b.it"},
        {false, "HTTPS://www.b.it", "", false, "HTTPS://www.b.it"},
        {false, "file.exe?http://x", "", false, "http://file.exe?http://x"},
        {false, "ftp://b.it", "", true, "ftp://b.it"},
    };
    for (const Case& c : cases) {
        ClearShellExecuteLog();
        SetShellOpener([](const AnsiString&) { return true; });
        if (c.mail) OBLMailTo(c.address, c.subject);
        else OBLJumpTo(c.address, c.asIs);
        SetShellOpener(nullptr);
        ASSERT_EQ(ShellExecuteLog().size(), 1u);
        EXPECT_EQ(ShellExecuteLog()[0].file, c.expected);
        EXPECT_EQ(ShellExecuteLog()[0].operation, "");
        EXPECT_EQ(ShellExecuteLog()[0].show, SW_SHOWNORMAL);
    }
}

// The entries of a menu, from the top.
std::vector<UINT> MenuIds(HMENU menu)
{
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) ids.push_back(GetMenuItemID(menu, i));
    return ids;
}

HMENU MakeMenu(int entries)
{
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < entries; ++i) AppendMenuA(menu, MF_STRING, 100 + i, "x");
    return menu;
}

TEST(OblprocsGeneralTest, SystemMenuEntriesAreRemovedByPosition)
{
    struct Case {
        TOBLSysMenuEntries entries;
        bool reduced;
        bool newStyle;
        std::vector<UINT> kept;
    } cases[] = {
        {{smRestore, smMove, smSize, smMinimize, smMaximize, smClose, smSwitch}, false, false,
         {100, 101, 102, 103, 104, 105, 106, 107, 108}},
        {{smClose}, false, true, {106, 107, 108}},
        {{smClose}, false, false, {106}},
        {{smMove, smClose}, false, true, {101, 105, 106, 107, 108}},
        {{}, false, true, {107, 108}},
        {{smClose}, true, true, {103, 104, 105, 106}},
        {{smRestore, smMinimize}, true, false, {100, 102}},
        {{smRestore, smMove, smMinimize, smClose, smSwitch}, true, false, {100, 101, 102, 103, 104, 105, 106}},
    };
    const bool savedStyle = NewStyleControls;
    for (const Case& c : cases) {
        NewStyleControls = c.newStyle;
        HMENU menu = MakeMenu(c.reduced ? 7 : 9);
        OBLCheckSystemMenu(c.entries, menu, c.reduced);
        EXPECT_EQ(MenuIds(menu), c.kept) << c.entries.Mask() << (c.reduced ? " reduced" : "");
        DestroyMenu(menu);
    }
    NewStyleControls = savedStyle;
    OBLCheckSystemMenu({}, nullptr, false);
}

} // namespace

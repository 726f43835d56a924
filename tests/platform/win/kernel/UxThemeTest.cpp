#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/Com.h"
#include "platform/win/kernel/Errors.h"
#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/UxTheme.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const char* const kEntries[] = {
    "DrawThemeEdge", "DrawThemeBackground", "DrawThemeParentBackground", "DrawThemeText", "DrawThemeIcon",
    "OpenThemeData", "CloseThemeData", "IsThemeBackgroundPartiallyTransparent", "GetThemeBackgroundContentRect",
    "SetWindowTheme", "SetThemeAppProperties", "IsThemePartDefined", "GetThemeColor", "GetThemeMetric",
    "GetThemeString", "GetThemeBool", "GetThemeInt", "GetThemeEnumValue", "GetThemePosition", "GetThemeFont",
    "GetThemeRect", "GetThemeFilename", "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysBool",
    "IsThemeActive", "IsAppThemed", "GetWindowTheme", "EnableThemeDialogTexture", "IsThemeDialogTextureEnabled",
    "EnableTheming",
};

HWND FakeWindow(std::uintptr_t n) { return reinterpret_cast<HWND>(n); }

// The library loaded and bound, as a program binds it.
class UxThemeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetThemeModuleForTesting();
        SetThemeModuleState(TThemeModuleState::Active);
        module = LoadLibraryA(kThemeModuleName);
        ASSERT_NE(module, nullptr);
        Bind(open, "OpenThemeData");
        Bind(close, "CloseThemeData");
        Bind(background, "DrawThemeBackground");
        Bind(content, "GetThemeBackgroundContentRect");
        Bind(isActive, "IsThemeActive");
        Bind(isAppThemed, "IsAppThemed");
        Bind(appProperties, "SetThemeAppProperties");
        Bind(parentBackground, "DrawThemeParentBackground");
        ClearThemeCallLog();
    }
    void TearDown() override
    {
        FreeLibrary(module);
        ResetThemeModuleForTesting();
    }

    template <typename F>
    void Bind(F& target, const char* name)
    {
        target = reinterpret_cast<F>(GetProcAddress(module, name));
        ASSERT_NE(target, nullptr) << name;
    }

    HMODULE module = nullptr;
    PFNOpenThemeData open = nullptr;
    PFNCloseThemeData close = nullptr;
    PFNDrawThemeBackground background = nullptr;
    PFNGetThemeBackgroundContentRect content = nullptr;
    PFNIsThemeActive isActive = nullptr;
    PFNIsAppThemed isAppThemed = nullptr;
    PFNSetThemeAppProperties appProperties = nullptr;
    PFNDrawThemeParentBackground parentBackground = nullptr;
};

// A 32-bit bitmap selected into a memory DC, filled with one colour.
class TCanvasFixture {
public:
    TCanvasFixture(int width, int height, COLORREF fill)
    {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateBitmap(width, height, 1, 32, nullptr);
        old = SelectObject(dc, bitmap);
        const RECT all{0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    ~TCanvasFixture()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    HDC dc;

private:
    HBITMAP bitmap;
    HGDIOBJ old;
};

constexpr COLORREF kMagenta = RGB(255, 0, 255);

TEST(UxThemeModuleTest, PresenceFollowsTheModuleState)
{
    ResetThemeModuleForTesting();
    EXPECT_EQ(ThemeModuleState(), TThemeModuleState::Inactive) << "classic look by default";
    SetThemeModuleState(TThemeModuleState::Absent);
    SetLastError(0);
    EXPECT_EQ(LoadLibraryA("UxTheme.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);

    for (TThemeModuleState state : {TThemeModuleState::Inactive, TThemeModuleState::Active}) {
        SetThemeModuleState(state);
        HMODULE module = LoadLibraryA("uxtheme.dll");
        ASSERT_NE(module, nullptr);
        for (const char* entry : kEntries)
            EXPECT_NE(GetProcAddress(module, entry), nullptr) << entry;
        auto isActive = reinterpret_cast<PFNIsThemeActive>(GetProcAddress(module, "IsThemeActive"));
        auto open = reinterpret_cast<PFNOpenThemeData>(GetProcAddress(module, "OpenThemeData"));
        const bool active = state == TThemeModuleState::Active;
        EXPECT_EQ(isActive(), active ? TRUE : FALSE);
        HTHEME theme = open(FakeWindow(0x100), u"BUTTON");
        EXPECT_EQ(theme != nullptr, active);
        if (theme)
            reinterpret_cast<PFNCloseThemeData>(GetProcAddress(module, "CloseThemeData"))(theme);
        EXPECT_TRUE(FreeLibrary(module));
    }
    ResetThemeModuleForTesting();
}

TEST_F(UxThemeTest, ClassListsOpenTheKnownClasses)
{
    const struct { const char16_t* list; const char* className; } cases[] = {
        {u"BUTTON", "BUTTON"}, {u"Edit", "EDIT"}, {u"COMBOBOX", "COMBOBOX"}, {u"toolbar", "TOOLBAR"},
        {u"WINDOW", "WINDOW"}, {u"LISTVIEW;EDIT", "EDIT"}, {u"Explorer::Toolbar", "TOOLBAR"}, {u"LISTVIEW", nullptr},
        {u"", nullptr},
    };
    for (const auto& c : cases) {
        ClearThemeCallLog();
        HTHEME theme = open(FakeWindow(0x200), c.list);
        EXPECT_EQ(theme != nullptr, c.className != nullptr);
        ASSERT_EQ(ThemeCallLog().size(), 1u);
        EXPECT_EQ(ThemeCallLog()[0].function, "OpenThemeData");
        EXPECT_EQ(ThemeCallLog()[0].className, c.className ? c.className : "");
        EXPECT_EQ(ThemeCallLog()[0].window, FakeWindow(0x200));
        if (theme) {
            EXPECT_EQ(close(theme), S_OK);
        }
    }
    EXPECT_EQ(open(FakeWindow(1), nullptr), nullptr);
}

TEST_F(UxThemeTest, ApplicationPropertiesAndWindowSettingsGateTheming)
{
    EXPECT_TRUE(isAppThemed());
    appProperties(0);
    ASSERT_FALSE(ThemeCallLog().empty());
    EXPECT_EQ(ThemeCallLog().back().function, "SetThemeAppProperties");
    EXPECT_EQ(ThemeCallLog().back().part, 0);
    EXPECT_FALSE(isAppThemed());
    EXPECT_TRUE(isActive()) << "the system's theme is still active";
    EXPECT_EQ(open(FakeWindow(1), u"BUTTON"), nullptr);
    appProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
    EXPECT_EQ(ThemeCallLog().back().part, 3);

    auto setWindowTheme = reinterpret_cast<PFNSetWindowTheme>(GetProcAddress(module, "SetWindowTheme"));
    EXPECT_EQ(setWindowTheme(FakeWindow(7), u" ", u""), S_OK);
    EXPECT_EQ(open(FakeWindow(7), u"BUTTON"), nullptr);
    HTHEME other = open(FakeWindow(8), u"BUTTON");
    EXPECT_NE(other, nullptr);
    EXPECT_EQ(setWindowTheme(FakeWindow(7), nullptr, nullptr), S_OK);
    HTHEME again = open(FakeWindow(7), u"BUTTON");
    EXPECT_NE(again, nullptr);
    auto windowTheme = reinterpret_cast<PFNGetWindowTheme>(GetProcAddress(module, "GetWindowTheme"));
    EXPECT_EQ(windowTheme(FakeWindow(7)), again);
    close(again);
    close(other);
    EXPECT_EQ(windowTheme(FakeWindow(7)), nullptr);

    EXPECT_EQ(setWindowTheme(FakeWindow(9), u"", u""), S_OK);
    EXPECT_EQ(open(FakeWindow(9), u"EDIT"), nullptr);
    ThemeWindowDestroyed(FakeWindow(9));
    HTHEME reused = open(FakeWindow(9), u"EDIT");
    EXPECT_NE(reused, nullptr) << "a new window with the old handle starts clean";
    close(reused);

    auto enableTheming = reinterpret_cast<PFNEnableTheming>(GetProcAddress(module, "EnableTheming"));
    enableTheming(FALSE);
    EXPECT_FALSE(isActive());
    enableTheming(TRUE);
    EXPECT_TRUE(isActive());
}

TEST_F(UxThemeTest, PushButtonFaceIsRoundedAndShaded)
{
    TCanvasFixture canvas(20, 10, kMagenta);
    HTHEME theme = open(FakeWindow(1), u"BUTTON");
    const RECT r{0, 0, 20, 10};
    ASSERT_EQ(background(theme, canvas.dc, BP_PUSHBUTTON, PBS_NORMAL, &r, nullptr), S_OK);
    const COLORREF border = RGB(0, 60, 116);
    EXPECT_EQ(canvas.At(0, 0), kMagenta) << "outer corners stay transparent";
    EXPECT_EQ(canvas.At(1, 0), kMagenta);
    EXPECT_EQ(canvas.At(0, 1), kMagenta);
    EXPECT_EQ(canvas.At(19, 9), kMagenta);
    EXPECT_EQ(canvas.At(2, 0), border);
    EXPECT_EQ(canvas.At(1, 1), border) << "rounded corner pixel";
    EXPECT_EQ(canvas.At(0, 5), border);
    EXPECT_EQ(canvas.At(19, 5), border);
    EXPECT_EQ(canvas.At(10, 9), border);
    EXPECT_EQ(canvas.At(10, 1), RGB(255, 255, 255)) << "light at the top";
    EXPECT_EQ(canvas.At(10, 8), RGB(214, 208, 197)) << "darker at the bottom";
    EXPECT_GT(GetRValue(canvas.At(10, 3)), GetRValue(canvas.At(10, 6)));
    close(theme);
}

TEST_F(UxThemeTest, StatesDrawDifferentFacesAndClipIsHonoured)
{
    HTHEME theme = open(FakeWindow(1), u"BUTTON");
    const RECT r{0, 0, 16, 12};
    std::vector<COLORREF> borders;
    for (int state = PBS_NORMAL; state <= PBS_DEFAULTED; ++state) {
        TCanvasFixture canvas(16, 12, kMagenta);
        ASSERT_EQ(background(theme, canvas.dc, BP_PUSHBUTTON, state, &r, nullptr), S_OK);
        borders.push_back(canvas.At(0, 6));
    }
    EXPECT_NE(borders[PBS_HOT - 1], borders[PBS_NORMAL - 1]);
    EXPECT_NE(borders[PBS_DISABLED - 1], borders[PBS_NORMAL - 1]);
    EXPECT_NE(borders[PBS_DEFAULTED - 1], borders[PBS_NORMAL - 1]);

    TCanvasFixture clipped(16, 12, kMagenta);
    const RECT clip{0, 0, 8, 12};
    ASSERT_EQ(background(theme, clipped.dc, BP_PUSHBUTTON, PBS_NORMAL, &r, &clip), S_OK);
    EXPECT_NE(clipped.At(4, 6), kMagenta);
    EXPECT_EQ(clipped.At(12, 6), kMagenta);
    EXPECT_EQ(clipped.At(15, 6), kMagenta);
    // The clip ends with the call.
    const RECT all{0, 0, 16, 12};
    HBRUSH black = CreateSolidBrush(0);
    FillRect(clipped.dc, &all, black);
    DeleteObject(black);
    EXPECT_EQ(clipped.At(15, 6), 0u);
    close(theme);
}

TEST_F(UxThemeTest, BadArgumentsAreRefused)
{
    TCanvasFixture canvas(8, 8, kMagenta);
    const RECT r{0, 0, 8, 8};
    HTHEME theme = open(FakeWindow(1), u"EDIT");
    EXPECT_EQ(background(nullptr, canvas.dc, 1, 1, &r, nullptr), E_HANDLE);
    EXPECT_EQ(background(theme, canvas.dc, 9, 1, &r, nullptr), E_INVALIDARG);
    EXPECT_EQ(background(theme, canvas.dc, EP_EDITTEXT, 8, &r, nullptr), E_INVALIDARG);
    EXPECT_EQ(background(theme, canvas.dc, EP_EDITTEXT, 1, nullptr, nullptr), E_POINTER);
    EXPECT_EQ(canvas.At(4, 4), kMagenta);
    EXPECT_EQ(close(theme), S_OK);
    EXPECT_EQ(close(theme), E_HANDLE);
}

TEST_F(UxThemeTest, ContentRectangles)
{
    const struct { const char16_t* cls; int part; RECT expected; } cases[] = {
        {u"BUTTON", BP_PUSHBUTTON, {13, 23, 72, 47}}, {u"EDIT", EP_EDITTEXT, {11, 21, 74, 49}},
        {u"COMBOBOX", CP_DROPDOWNBUTTON, {11, 21, 74, 49}}, {u"TOOLBAR", TP_BUTTON, {12, 22, 73, 48}},
        {u"WINDOW", WP_CAPTION, {10, 20, 75, 50}}, {u"BUTTON", BP_CHECKBOX, {10, 20, 75, 50}},
    };
    const RECT bounds{10, 20, 75, 50};
    for (const auto& c : cases) {
        HTHEME theme = open(FakeWindow(1), c.cls);
        RECT out{};
        ASSERT_EQ(content(theme, nullptr, c.part, 1, &bounds, &out), S_OK);
        EXPECT_EQ(out.left, c.expected.left);
        EXPECT_EQ(out.top, c.expected.top);
        EXPECT_EQ(out.right, c.expected.right);
        EXPECT_EQ(out.bottom, c.expected.bottom);
        close(theme);
    }
}

HWND paintedChild = nullptr;
HDC paintedDC = nullptr;
bool painterAnswer = true;

bool FakeParentPainter(HWND child, HDC dc, const RECT*)
{
    paintedChild = child;
    paintedDC = dc;
    return painterAnswer;
}

TEST_F(UxThemeTest, ParentBackgroundGoesThroughTheWindowSystemsPainter)
{
    EXPECT_EQ(parentBackground(FakeWindow(5), reinterpret_cast<HDC>(9), nullptr), E_FAIL) << "no painter installed";
    SetThemeParentBackgroundPainter(&FakeParentPainter);
    painterAnswer = true;
    EXPECT_EQ(parentBackground(FakeWindow(5), reinterpret_cast<HDC>(9), nullptr), 0);
    EXPECT_EQ(paintedChild, FakeWindow(5));
    EXPECT_EQ(paintedDC, reinterpret_cast<HDC>(9));
    painterAnswer = false;
    EXPECT_EQ(parentBackground(FakeWindow(6), reinterpret_cast<HDC>(9), nullptr), E_FAIL);
    SetThemeParentBackgroundPainter(nullptr);
}

TEST_F(UxThemeTest, CallLogRecordsTheSequence)
{
    TCanvasFixture canvas(30, 20, kMagenta);
    const RECT r{1, 2, 29, 19};
    HTHEME theme = open(FakeWindow(3), u"TOOLBAR");
    background(theme, canvas.dc, TP_SPLITBUTTON, TS_HOT, &r, nullptr);
    RECT out{};
    content(theme, canvas.dc, TP_SPLITBUTTON, TS_HOT, &r, &out);
    close(theme);
    isActive();
    const std::vector<std::string> expected = {"OpenThemeData", "DrawThemeBackground", "GetThemeBackgroundContentRect",
                                               "CloseThemeData", "IsThemeActive"};
    ASSERT_EQ(ThemeCallLog().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(ThemeCallLog()[i].function, expected[i]);
    const TThemeCall& draw = ThemeCallLog()[1];
    EXPECT_EQ(draw.className, "TOOLBAR");
    EXPECT_EQ(draw.part, TP_SPLITBUTTON);
    EXPECT_EQ(draw.state, TS_HOT);
    EXPECT_EQ(draw.rect.left, 1);
    EXPECT_EQ(draw.rect.bottom, 19);
    EXPECT_EQ(draw.window, FakeWindow(3));
}

TEST_F(UxThemeTest, ColoursTransparencyAndDialogTexture)
{
    HTHEME button = open(FakeWindow(1), u"BUTTON");
    HTHEME edit = open(FakeWindow(1), u"EDIT");
    auto color = reinterpret_cast<PFNGetThemeColor>(GetProcAddress(module, "GetThemeColor"));
    auto transparent = reinterpret_cast<PFNIsThemeBackgroundPartiallyTransparent>(
        GetProcAddress(module, "IsThemeBackgroundPartiallyTransparent"));
    auto metric = reinterpret_cast<PFNGetThemeMetric>(GetProcAddress(module, "GetThemeMetric"));
    COLORREF c = 0;
    EXPECT_EQ(color(button, BP_PUSHBUTTON, PBS_NORMAL, TMT_BORDERCOLOR, &c), S_OK);
    EXPECT_EQ(c, RGB(0, 60, 116));
    EXPECT_EQ(color(edit, EP_EDITTEXT, ETS_NORMAL, TMT_FILLCOLOR, &c), S_OK);
    EXPECT_EQ(c, RGB(255, 255, 255));
    EXPECT_EQ(color(edit, EP_EDITTEXT, ETS_NORMAL, 1234, &c), E_PROP_ID_UNSUPPORTED);
    int value = 0;
    EXPECT_EQ(metric(edit, nullptr, EP_EDITTEXT, ETS_NORMAL, 2402, &value), E_PROP_ID_UNSUPPORTED);
    EXPECT_TRUE(transparent(button, BP_PUSHBUTTON, PBS_NORMAL));
    EXPECT_FALSE(transparent(edit, EP_EDITTEXT, ETS_NORMAL));

    auto enableTexture = reinterpret_cast<PFNEnableThemeDialogTexture>(GetProcAddress(module, "EnableThemeDialogTexture"));
    auto textureEnabled = reinterpret_cast<PFNIsThemeDialogTextureEnabled>(GetProcAddress(module, "IsThemeDialogTextureEnabled"));
    EXPECT_FALSE(textureEnabled(FakeWindow(4)));
    EXPECT_EQ(enableTexture(FakeWindow(4), ETDT_ENABLETAB), S_OK);
    EXPECT_TRUE(textureEnabled(FakeWindow(4)));
    close(button);
    close(edit);
}

TEST_F(UxThemeTest, EdgesUseTheStyleColoursAndReportContent)
{
    auto edge = reinterpret_cast<PFNDrawThemeEdge>(GetProcAddress(module, "DrawThemeEdge"));
    HTHEME theme = open(FakeWindow(1), u"BUTTON");
    const RECT r{0, 0, 10, 10};
    {
        TCanvasFixture canvas(10, 10, kMagenta);
        RECT inner{};
        ASSERT_EQ(edge(theme, canvas.dc, BP_PUSHBUTTON, PBS_NORMAL, &r, EDGE_SUNKEN, BF_RECT, &inner), S_OK);
        EXPECT_EQ(inner.left, 2);
        EXPECT_EQ(inner.top, 2);
        EXPECT_EQ(inner.right, 8);
        EXPECT_EQ(inner.bottom, 8);
        EXPECT_EQ(canvas.At(0, 5), RGB(172, 168, 153)) << "outer shadow above and left";
        EXPECT_EQ(canvas.At(1, 5), RGB(113, 111, 100)) << "inner dark shadow";
        EXPECT_EQ(canvas.At(9, 5), RGB(255, 255, 255)) << "outer light below and right";
        EXPECT_EQ(canvas.At(8, 5), RGB(241, 239, 226));
        EXPECT_EQ(canvas.At(5, 5), kMagenta) << "no middle asked";
    }
    {
        TCanvasFixture canvas(10, 10, kMagenta);
        RECT inner{};
        ASSERT_EQ(edge(theme, canvas.dc, BP_PUSHBUTTON, PBS_NORMAL, &r, BDR_RAISEDINNER, BF_LEFT | BF_TOP | BF_MIDDLE, &inner), S_OK);
        EXPECT_EQ(inner.left, 1);
        EXPECT_EQ(inner.top, 1);
        EXPECT_EQ(inner.right, 10) << "only the flagged sides move in";
        EXPECT_EQ(inner.bottom, 10);
        EXPECT_EQ(canvas.At(0, 5), RGB(255, 255, 255));
        EXPECT_NE(canvas.At(5, 5), kMagenta) << "middle filled";
        EXPECT_NE(canvas.At(9, 5), RGB(172, 168, 153)) << "no right side";
    }
    EXPECT_EQ(edge(nullptr, nullptr, 1, 1, &r, EDGE_SUNKEN, BF_RECT, nullptr), E_HANDLE);
    close(theme);
}

TEST_F(UxThemeTest, TextIsDrawnInThePartsTextColour)
{
    auto text = reinterpret_cast<PFNDrawThemeText>(GetProcAddress(module, "DrawThemeText"));
    HTHEME theme = open(FakeWindow(1), u"WINDOW");
    const RECT r{0, 0, 60, 20};
    const auto countColour = [](const TCanvasFixture& canvas, COLORREF colour) {
        int n = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 60; ++x)
                n += canvas.At(x, y) == colour ? 1 : 0;
        return n;
    };
    {
        TCanvasFixture canvas(60, 20, RGB(0, 0, 0));
        ASSERT_EQ(text(theme, canvas.dc, WP_CAPTION, CS_ACTIVE, u"Importa", -1, DT_LEFT | DT_SINGLELINE, 0, &r), S_OK);
        EXPECT_GT(countColour(canvas, RGB(255, 255, 255)), 10) << "caption text is white";
    }
    {
        TCanvasFixture canvas(60, 20, RGB(0, 0, 0));
        ASSERT_EQ(text(theme, canvas.dc, WP_CAPTION, CS_ACTIVE, u"Importa", 0, DT_LEFT | DT_SINGLELINE, 0, &r), S_OK);
        EXPECT_EQ(countColour(canvas, RGB(255, 255, 255)), 0) << "no characters, nothing drawn";
    }
    EXPECT_EQ(text(theme, nullptr, WP_CAPTION, CS_ACTIVE, nullptr, -1, 0, 0, &r), E_POINTER);
    close(theme);
}

TEST_F(UxThemeTest, PartsAndSystemValues)
{
    auto defined = reinterpret_cast<PFNIsThemePartDefined>(GetProcAddress(module, "IsThemePartDefined"));
    auto sysColor = reinterpret_cast<PFNGetThemeSysColor>(GetProcAddress(module, "GetThemeSysColor"));
    auto sysBool = reinterpret_cast<PFNGetThemeSysBool>(GetProcAddress(module, "GetThemeSysBool"));
    HTHEME button = open(FakeWindow(1), u"BUTTON");
    HTHEME toolbar = open(FakeWindow(1), u"TOOLBAR");
    const struct { HTHEME theme; int part; int state; BOOL expected; } cases[] = {
        {button, BP_PUSHBUTTON, PBS_DEFAULTED, TRUE}, {button, BP_PUSHBUTTON, 6, FALSE}, {button, BP_CHECKBOX, 12, TRUE},
        {button, BP_GROUPBOX, 0, TRUE}, {button, 6, 1, FALSE}, {toolbar, TP_SPLITBUTTONDROPDOWN, TS_HOTCHECKED, TRUE},
        {toolbar, 7, 1, FALSE}, {nullptr, 1, 1, FALSE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defined(c.theme, c.part, c.state), c.expected) << c.part << "/" << c.state;
    EXPECT_EQ(sysColor(button, COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(sysBool(button, TMT_FLATMENUS));
    close(button);
    close(toolbar);
}

} // namespace

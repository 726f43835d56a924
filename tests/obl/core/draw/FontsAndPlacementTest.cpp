#include "obl/core/base/Oblconst.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/kernel/Time.h"
#include "platform/win/user/User.h"
#include "platform/rtl/Clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const TStrings& s)
{
    std::vector<std::string> lines;
    for (int i = 0; i < s.Count(); ++i) lines.push_back(s[i].str());
    return lines;
}

std::string RectText(const TRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

TEST(TextForms, RectanglesAndPoints)
{
    EXPECT_EQ(RectText(OBLStringToRect("1,2,3,4")), "1,2,3,4");
    EXPECT_EQ(RectText(OBLStringToRect("1,2,3")), "0,0,0,0");
    EXPECT_EQ(RectText(OBLStringToRect("1,x,3,-4")), "1,0,3,-4");
    EXPECT_EQ(OBLRectToString(Rect(-5, 6, 70, 80)).str(), "-5,6,70,80");
    EXPECT_EQ(RectText(OBLStringToRect(OBLRectToString(Rect(-5, 6, 70, 80)))), "-5,6,70,80");

    const std::pair<const char*, TPoint> points[] = {
        {"3,4", {3, 4}}, {" 7 , -2 ", {7, -2}}, {"5,", {0, 0}}, {",9", {0, 9}}, {"none", {0, 0}}, {"", {0, 0}},
    };
    for (auto [text, expected] : points) {
        SCOPED_TRACE(text);
        const TPoint p = OBLStringToPoint(text);
        EXPECT_EQ(p.x, expected.x);
        EXPECT_EQ(p.y, expected.y);
    }
    EXPECT_EQ(OBLPointToString(TPoint{-3, 12}).str(), "-3,12");
}

TEST(TextForms, ParseToStrList)
{
    TStringList list;
    OBLParseToStrList("a,,b,", ',', &list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "", "b"}));
    OBLParseToStrList(",x", ',', &list);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"", "x"}));
    // An empty text leaves no stale lines behind.
    OBLParseToStrList("", ',', &list);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_NO_THROW(OBLParseToStrList("a", ',', nullptr));
}

TEST(TextForms, Divisors)
{
    TStringList list;
    OBLGetDivider(&list, 12);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"1", "2", "3", "4", "6", "12"}));
    OBLGetDivider(&list, 16);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"1", "2", "4", "8", "16"}));
    OBLGetDivider(&list, 1);
    EXPECT_EQ(list.Count(), 0);
    // Ascending as numbers also past six digits.
    OBLGetDivider(&list, 20000000);
    std::vector<long long> values;
    for (const std::string& line : Lines(list)) values.push_back(std::stoll(line));
    EXPECT_EQ(values.size(), 72u);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(values.front(), 1);
    EXPECT_EQ(values.back(), 20000000);
    OBLGetDivider(&list, 2 * 1000003);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"1", "2", "1000003", "2000006"}));
}

TEST(TextForms, FontRoundTrip)
{
    TFont font;
    font.SetName("Courier New");
    font.SetSize(14);
    font.SetColor(clRed);
    font.SetStyle(TFontStyles{fsBold, fsStrikeOut});
    const AnsiString text = OBLFontToString(&font);
    EXPECT_EQ(text.str(), "Courier New,14,clRed,1,0,0,1");

    TFont back;
    OBLStringToFont(text, &back);
    EXPECT_EQ(back.Name(), "Courier New");
    EXPECT_EQ(back.Size(), 14);
    EXPECT_EQ(back.Color(), clRed);
    EXPECT_TRUE(back.Style() == (TFontStyles{fsBold, fsStrikeOut}));

    OBLStringToFont("Arial,x,$00FF00,0,256,0,0", &back);
    EXPECT_EQ(back.Size(), 10) << "a size that is no number counts 10";
    EXPECT_EQ(back.Color(), static_cast<TColor>(0x00FF00));
    EXPECT_TRUE(back.Style().Empty()) << "only the low byte of a style counts";
}

TEST(TextForms, MalformedFontTextLeavesTheFontAlone)
{
    const char* bad[] = {
        "Arial,12,clRed,1,0,0",           // six parts
        "Arial,12,clRed,1,0,0,1,1",       // eight parts
        "Arial,12,clRed,1,0,x,1",         // a style that is no number
        "Arial,12,clNoSuchColour,1,0,0,1", // a colour without a name or number
    };
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        TFont font;
        font.SetName("Times New Roman");
        font.SetSize(9);
        font.SetColor(clBlue);
        try {
            OBLStringToFont(text, &font);
        } catch (const EConvertError&) {
        }
        EXPECT_EQ(font.Name(), "Times New Roman");
        EXPECT_EQ(font.Size(), 9);
        EXPECT_EQ(font.Color(), clBlue);
        EXPECT_TRUE(font.Style().Empty());
    }
    TFont font;
    EXPECT_THROW(OBLStringToFont("Arial,12,clRed,1,0,x,1", &font), EConvertError);
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window_ = CreateWindowExA(0, "STATIC", "w", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
        sw_ = GetSystemMetrics(SM_CXSCREEN);
        sh_ = GetSystemMetrics(SM_CYSCREEN);
    }
    void TearDown() override { DestroyWindow(window_); }
    TPoint Where()
    {
        RECT r{};
        GetWindowRect(window_, &r);
        return TPoint{r.left, r.top};
    }

    HWND window_ = nullptr;
    int sw_ = 0, sh_ = 0;
};

TEST_F(WindowTest, PositionWindowInTargets)
{
    struct Case {
        TRect target;
        TOBLDlgPosition position;
        TPoint expected;
    };
    const TRect t = Rect(100, 100, 300, 200);
    std::vector<Case> cases = {
        {t, bpCustom, {100, 100}},       {t, bpTopLeft, {100, 100}},      {t, bpTopCenter, {150, 100}},
        {t, bpTopRight, {200, 100}},     {t, bpCenterLeft, {100, 125}},   {t, bpCenter, {150, 125}},
        {t, bpCenterRight, {200, 125}},  {t, bpBottomLeft, {100, 150}},   {t, bpBottomCenter, {150, 150}},
        {t, bpBottomRight, {200, 150}},
        // A target at the screen's bottom-right edge keeps the window on the screen.
        {Rect(sw_ - 50, sh_ - 20, sw_ + 50, sh_ + 40), bpTopLeft, {sw_ - 50, sh_ - 10}},
        // Off the top-left, it is held at 0.
        {Rect(-80, -60, 10, 10), bpTopLeft, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.position));
        OBLPositionWindow(window_, c.target, c.position, false);
        EXPECT_EQ(Where().x, c.expected.x);
        EXPECT_EQ(Where().y, c.expected.y);
    }
}

TEST_F(WindowTest, CenterWindowAndChildWindow)
{
    OBLCenterWindow(window_, 0);
    EXPECT_EQ(Where().x, (sw_ - 100) / 2);
    EXPECT_EQ(Where().y, (sh_ - 50) / 2);
    OBLCenterWindow(window_, 2);
    EXPECT_EQ(Where().y, (sh_ - 50) / 4);

    HWND owner = CreateWindowExA(0, "STATIC", "o", WS_POPUP, 40, 60, 300, 250, nullptr, nullptr, nullptr, nullptr);
    OBLCenterChildWindow(owner, window_, false);
    EXPECT_EQ(Where().x, 40 + (300 - 100) / 2);
    EXPECT_EQ(Where().y, 60 + (250 - 50) / 2);
    EXPECT_NO_THROW(OBLCenterChildWindow(owner, nullptr, false));
    DestroyWindow(owner);
}

TEST(FormPlacement, NilFormsAreIgnored)
{
    EXPECT_EQ(OBLCenterChild(nullptr, nullptr, true), 0);
    EXPECT_NO_THROW(OBLCenterForm(nullptr));
    EXPECT_NO_THROW(OBLExplodeForm(nullptr));
    EXPECT_NO_THROW(OBLExplodeForm2(nullptr));
    EXPECT_NO_THROW(OBLCheckFormSysMenu(nullptr, TOBLSysMenuEntries{smClose}));
}

TEST(Wait, ZeroReturnsAtOnce)
{
    const DWORD start = GetTickCount();
    OBLWait(0);
    EXPECT_LT(GetTickCount() - start, 5u);
}

TEST(Wait, WaitsOnTheClock)
{
    const DWORD start = GetTickCount();
    OBLWait(30);
    EXPECT_GE(GetTickCount() - start, 30u);
}

TEST(CustomColors, ResourceStringAndDuplicateNames)
{
    EXPECT_EQ(LoadResString(_IDS_CUSTOMCOLORS).str(), "Custom Colors");

    char pattern[] = "/tmp/vendaro-colors-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const AnsiString file = AnsiString(pattern) + "/colors.ini";
    TStringList lines;
    lines.Add("ColorA=FFFFFF");
    lines.Add("no equals sign");
    lines.Add("ColorB=00FF00");
    lines.Add("ColorA=123456");
    OBLSaveCustomColorToIniFile(file, "Custom Colors", &lines);

    TStringList back;
    back.Add("stale");
    OBLLoadCustomColorFromIniFile(file, "Custom Colors", &back);
    // The first line with a name gives its value.
    EXPECT_EQ(Lines(back), (std::vector<std::string>{"ColorA=FFFFFF", "ColorB=00FF00"}));
    std::filesystem::remove_all(pattern);
}

} // namespace

namespace {

TEST(Explode, StepsWaitOnTheClock)
{
    TFakeClock clock;
    TClockOverride use(clock);
    TForm form(nullptr);
    form.SetBounds(100, 80, 200, 150);
    // Two rounds (draw, then erase) of ten steps, each after five milliseconds.
    OBLExplodeFormExt(&form, 0, 0, 10, 5);
    EXPECT_EQ(clock.TickCount(), 100u);
    // Few steps become 40 and a delay below 1 becomes 1; the first leg doubles each round.
    OBLExplodeFormExt2(&form, 0, 0, 2, 20, 10, 0, true);
    EXPECT_EQ(clock.TickCount(), 100u + 2 * 80);
}

} // namespace

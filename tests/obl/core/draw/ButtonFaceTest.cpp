#include "obl/core/draw/Oblutils.h"
#include "obl/core/base/Oblxpstyles.h"
#include "obl/core/app/oblclass.h"
#include "platform/classlib/Forms.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/UxTheme.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 40;
constexpr int kHeight = 24;
constexpr TColor kFace = static_cast<TColor>(RGB(200, 170, 120));
// Background before drawing, unlike any system colour.
constexpr TColor kBack = static_cast<TColor>(RGB(1, 130, 7));

// A 32-bit bitmap filled with the background colour.
class Surface {
public:
    Surface()
    {
        bitmap_.SetPixelFormat(pf32bit);
        bitmap_.SetSize(kWidth, kHeight);
        bitmap_.Canvas()->Brush()->SetColor(kBack);
        bitmap_.Canvas()->FillRect(Rect(0, 0, kWidth, kHeight));
    }
    TCanvas* canvas() { return bitmap_.Canvas(); }
    COLORREF at(int x, int y) { return ColorToRGB(bitmap_.Canvas()->Pixels(x, y)); }
    std::vector<COLORREF> pixels()
    {
        std::vector<COLORREF> all;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) all.push_back(at(x, y));
        return all;
    }

private:
    TBitmap bitmap_;
};

std::string RectText(const TRect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

// The drawing calls of the face, "Function args", and the content rectangle.
struct Drawn {
    std::vector<std::string> calls;
    std::string content;
};

template <class Draw>
Drawn Record(Surface& s, Draw draw)
{
    static const std::set<std::string> kept = {"FillRect", "DrawEdge",  "Rectangle", "LineTo",
                                               "Polyline", "SetPixel", "DrawFocusRect"};
    HDC dc = s.canvas()->Handle();
    GdiStartRecording(dc);
    TRect rect = Rect(0, 0, kWidth, kHeight);
    EXPECT_TRUE(draw(rect));
    GdiStopRecording(dc);
    Drawn drawn;
    for (const GdiRecordedCall& call : GdiRecordedCalls(dc))
        if (kept.count(call.function)) {
            std::string args = call.arguments;
            // Rectangle logs its (zero) corner sizes as well.
            if (call.function == "Rectangle") args = args.substr(0, args.size() - 4);
            drawn.calls.push_back(call.function + " " + args);
        }
    drawn.content = RectText(rect);
    return drawn;
}

Drawn Classic(TOBLUserButtonStyle style, TOBLButtonState state, WORD flags, bool hot = false)
{
    Surface s;
    return Record(s, [&](TRect& r) { return OBLDrawBtnFace(s.canvas(), hot, r, style, state, flags, kFace); });
}

std::vector<COLORREF> ExtPixels(TOBLUserButtonStyle style, TOBLButtonState state, WORD flags, bool hot = false)
{
    Surface s;
    TRect r = Rect(0, 0, kWidth, kHeight);
    EXPECT_TRUE(OBLDrawBtnFaceExt(nullptr, s.canvas(), hot, r, style, state, flags, kFace));
    return s.pixels();
}

std::vector<COLORREF> ClassicPixels(TOBLUserButtonStyle style, TOBLButtonState state, WORD flags, bool hot = false)
{
    Surface s;
    TRect r = Rect(0, 0, kWidth, kHeight);
    EXPECT_TRUE(OBLDrawBtnFace(s.canvas(), hot, r, style, state, flags, kFace));
    return s.pixels();
}

// The theme calls other than the active-style query the theme switch makes.
std::vector<TThemeCall> PaintCalls()
{
    std::vector<TThemeCall> calls;
    for (const TThemeCall& call : ThemeCallLog())
        if (call.function != "IsThemeActive") calls.push_back(call);
    return calls;
}

std::string Corner(int x, int y)
{
    return "SetPixel " + std::to_string(x) + "," + std::to_string(y) + "," +
           std::to_string(ColorToRGB(clBtnFace));
}

class ButtonFaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        FormsInitialization();
    }
    void TearDown() override
    {
        oblclassFinalization();
        OblxpstylesFinalization();
        ResetThemeModuleForTesting();
        NewStyleControls = savedNewStyle_;
        FormsFinalization();
        UserResetWindowSystem();
    }
    static void Themes(TThemeModuleState state)
    {
        SetThemeModuleState(state);
        OblxpstylesInitialization();
        oblclassInitialization();
        ClearThemeCallLog();
    }

    bool savedNewStyle_ = NewStyleControls;
};

// ---- Classic faces ----------------------------------------------------------------------

TEST_F(ButtonFaceTest, FlatStylesAreTheSixFlatLooks)
{
    const std::set<TOBLUserButtonStyle> flat = {ubsDelphiFlat, ubsFlat,     ubsFlatUnColored,
                                                ubsNavigator,  ubsExplorer, ubsExplorerColored};
    for (int i = 0; i <= static_cast<int>(ubsWinXPTool); ++i) {
        const auto style = static_cast<TOBLUserButtonStyle>(i);
        EXPECT_EQ(OBLDrawBtnIsFlat(style), flat.count(style) == 1) << i;
    }
}

TEST_F(ButtonFaceTest, ClassicFacesDrawTheirFramesAndHandBackTheContent)
{
    Themes(TThemeModuleState::Inactive);
    struct Case {
        const char* name;
        TOBLUserButtonStyle style;
        TOBLButtonState state;
        WORD flags;
        bool hot;
        std::vector<std::string> calls;
        const char* content;
    };
    const std::string fill = "FillRect 0,0,40,24";
    const Case cases[] = {
        {"win40 up", ubsWin40, bsUp, 0x01, false,
         {fill, "DrawEdge 0,0,40,24,1,12303", "DrawEdge 1,1,39,23,4,8204"}, "3,3,37,21"},
        {"win40 active", ubsWin40, bsUp, 0x03, false,
         {fill, "DrawEdge 0,0,40,24,2,4099", "DrawEdge 0,0,40,24,1,12", "DrawEdge 1,1,39,23,1,12303",
          "DrawEdge 2,2,38,22,4,8204", "DrawFocusRect 4,4,36,20"},
         "4,4,36,20"},
        {"win40 focused, frame filled", ubsWin40, bsUp, 0x31, false,
         // The first edge fills its middle itself.
         {fill, "DrawEdge 0,0,40,24,2,6147", "FillRect 1,1,40,24", "DrawEdge 0,0,40,24,1,12",
          "DrawEdge 1,1,39,23,1,12303",
          "DrawEdge 2,2,38,22,4,8204"},
         "4,4,36,20"},
        {"win40 down active", ubsWin40, bsDown, 0x03, false,
         {fill, "Rectangle 0,0,40,24", "Rectangle 1,1,39,23", "DrawFocusRect 4,4,36,20"}, "4,4,38,22"},
        {"win40 spaced up", ubsWin40, bsUp, 0x05, false,
         {fill, "DrawEdge 0,0,40,24,1,12303", "DrawEdge 1,1,39,23,4,8204"}, "3,3,37,21"},
        {"win40 spaced down sunken", ubsWin40, bsDown, 0x0D, false, {fill, "DrawEdge 0,0,40,24,10,15"},
         "4,4,38,22"},
        {"win40 spaced down lowered", ubsWin40, bsDropDownOpen, 0x05, false, {fill, "DrawEdge 0,0,40,24,10,12303"},
         "4,4,38,22"},
        {"win31 up", ubsWin31, bsUp, 0x01, false,
         {fill, "DrawEdge 0,0,40,24,2,4099", "DrawEdge 0,0,40,24,1,12", Corner(0, 0), Corner(39, 0), Corner(0, 23),
          Corner(39, 23), "DrawEdge 1,1,39,23,4,8207", "DrawEdge 2,2,38,22,4,8207"},
         "4,4,36,20"},
        {"win31 active focused", ubsWin31, bsUp, 0x23, false,
         {fill, "DrawEdge 0,0,40,24,2,4099", "DrawEdge 0,0,40,24,1,12", Corner(0, 0), Corner(39, 0), Corner(0, 23),
          Corner(39, 23), "DrawEdge 1,1,39,23,2,4099", "DrawEdge 1,1,39,23,1,12", "DrawEdge 2,2,38,22,4,8207",
          "DrawEdge 3,3,37,21,4,8207", "DrawFocusRect 5,5,35,19"},
         "5,5,35,19"},
        {"win31 down", ubsWin31, bsDown, 0x00, false,
         {fill, "DrawEdge 0,0,40,24,2,4099", "DrawEdge 0,0,40,24,1,12", "DrawEdge 1,1,39,23,8,3"}, "5,5,37,21"},
        {"delphi up", ubsDelphi, bsUp, 0x01, false, {fill, "Rectangle 0,0,40,24", "DrawEdge 1,1,39,23,4,8207"},
         "3,3,37,21"},
        {"delphi down", ubsDelphi, bsDown, 0x01, false,
         {fill, "Rectangle 0,0,40,24", "LineTo 1,1,39,1", "LineTo 1,1,1,23"}, "4,4,38,22"},
        {"integrated up", ubsIntegrated, bsUp, 0x01, false,
         {fill, "Rectangle 0,0,40,24", "Polyline 38,0;0,0;0,23", "Rectangle 1,1,39,23", "Polyline 38,1;38,22;0,22"},
         "3,3,37,21"},
        {"integrated down", ubsIntegrated, bsDown, 0x01, false, {fill, "Rectangle 0,0,40,24"}, "4,4,38,22"},
        {"flat up", ubsFlat, bsUp, 0x01, false, {fill, fill}, "3,3,37,21"},
        {"flat hot", ubsFlat, bsUp, 0x01, true, {fill, "DrawEdge 0,0,40,24,4,8207"}, "3,3,37,21"},
        {"flat down", ubsFlatUnColored, bsDown, 0x01, false, {fill, "DrawEdge 0,0,40,24,2,8207"}, "4,4,38,22"},
        {"delphi flat up", ubsDelphiFlat, bsUp, 0x01, false, {fill, fill}, "3,3,37,21"},
        {"delphi flat hot", ubsDelphiFlat, bsUp, 0x01, true,
         {fill, "Rectangle 0,0,40,24", "DrawEdge 1,1,39,23,4,8207"}, "3,3,37,21"},
        {"navigator down", ubsNavigator, bsDisabledDown, 0x01, false,
         {fill, "Rectangle 0,0,40,24", "DrawEdge 1,1,39,23,2,8207"}, "4,4,38,22"},
        {"explorer up", ubsExplorer, bsUp, 0x01, false, {}, "3,3,37,21"},
        {"explorer hot", ubsExplorer, bsMouseOver, 0x01, true, {"DrawEdge 0,0,40,24,4,8207"}, "3,3,37,21"},
        {"explorer coloured down", ubsExplorerColored, bsDown, 0x01, false, {"DrawEdge 0,0,40,24,2,8207"},
         "4,4,38,22"},
        {"themed style, classic", ubsWinXP, bsUp, 0x01, false, {fill}, "3,3,37,21"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Drawn drawn = Classic(c.style, c.state, c.flags, c.hot);
        EXPECT_EQ(drawn.calls, c.calls);
        EXPECT_EQ(drawn.content, c.content);
    }
}

TEST_F(ButtonFaceTest, PressedContentIsOnePixelRightAndDownOfTheUnpressed)
{
    Themes(TThemeModuleState::Inactive);
    for (TOBLUserButtonStyle style : {ubsWin31, ubsWin40, ubsDelphi, ubsFlat, ubsNavigator, ubsIntegrated}) {
        SCOPED_TRACE(static_cast<int>(style));
        TRect up = Rect(0, 0, kWidth, kHeight);
        TRect down = up;
        Surface s;
        OBLDrawBtnFace(s.canvas(), false, up, style, bsUp, 0x01, kFace);
        OBLDrawBtnFace(s.canvas(), false, down, style, bsDown, 0x01, kFace);
        OffsetRect(&up, 1, 1);
        EXPECT_EQ(RectText(down), RectText(up));
    }
}

TEST_F(ButtonFaceTest, ExplorerLeavesTheCanvasApartFromFrameAndFocus)
{
    Themes(TThemeModuleState::Inactive);
    for (WORD flags : {WORD{0x01}, WORD{0x03}}) {
        SCOPED_TRACE(flags);
        Surface s;
        TRect r = Rect(0, 0, kWidth, kHeight);
        OBLDrawBtnFace(s.canvas(), false, r, ubsExplorer, bsUp, flags, kFace);
        const bool active = flags & 0x02;
        int changed = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const bool frame = x == 0 || y == 0 || x == kWidth - 1 || y == kHeight - 1;
                const bool focus = (x == 4 || x == 35 || y == 4 || y == 19) && x >= 4 && x <= 35 && y >= 4 && y <= 19;
                if (s.at(x, y) == ColorToRGB(kBack)) continue;
                ++changed;
                EXPECT_TRUE(active && (frame || focus)) << x << "," << y;
            }
        EXPECT_EQ(changed > 0, active);
    }
}

TEST_F(ButtonFaceTest, OptionSetFillsWithTheCheckerboardUnlessFlatAndHot)
{
    Themes(TThemeModuleState::Inactive);
    const COLORREF face = ColorToRGB(kFace);
    const COLORREF white = RGB(255, 255, 255);
    struct Case {
        TOBLUserButtonStyle style;
        bool hot;
        bool checked;
    };
    for (const Case c : {Case{ubsWin40, false, true}, Case{ubsFlat, false, true}, Case{ubsFlat, true, false},
                         Case{ubsDelphi, true, true}}) {
        SCOPED_TRACE(static_cast<int>(c.style));
        Surface s;
        TRect r = Rect(0, 0, kWidth, kHeight);
        OBLDrawBtnFace(s.canvas(), c.hot, r, c.style, bsOptionSet, 0x01, kFace);
        EXPECT_EQ(s.at(10, 10), c.checked ? white : face);
        EXPECT_EQ(s.at(11, 10), face);
        EXPECT_EQ(s.at(10, 11), face);
        EXPECT_EQ(s.at(11, 11), c.checked ? white : face);
        EXPECT_EQ(s.canvas()->Brush()->Bitmap(), nullptr);
        EXPECT_EQ(RectText(r), "4,4,38,22");
    }
}

TEST_F(ButtonFaceTest, Win31CornersTakeTheFaceColourOnlyWhenAsked)
{
    Themes(TThemeModuleState::Inactive);
    const COLORREF btnFace = ColorToRGB(clBtnFace);
    for (WORD flags : {WORD{0x00}, WORD{0x01}, WORD{0x21}}) {
        SCOPED_TRACE(flags);
        Surface s;
        TRect r = Rect(0, 0, kWidth, kHeight);
        OBLDrawBtnFace(s.canvas(), false, r, ubsWin31, bsUp, flags, kFace);
        for (auto [x, y] : {std::pair{0, 0}, {kWidth - 1, 0}, {0, kHeight - 1}, {kWidth - 1, kHeight - 1}})
            EXPECT_EQ(s.at(x, y) == btnFace, (flags & 0x01) != 0) << x << "," << y;
        // The inner frame's corners keep their edge colours: the flag is used once.
        EXPECT_NE(s.at(1, 1), btnFace);
    }
}

TEST_F(ButtonFaceTest, AutoDetectFollowsTheNewStyleSwitch)
{
    Themes(TThemeModuleState::Inactive);
    for (bool newStyle : {true, false}) {
        SCOPED_TRACE(newStyle);
        NewStyleControls = newStyle;
        const TOBLUserButtonStyle expected = newStyle ? ubsWin40 : ubsWin31;
        EXPECT_EQ(ClassicPixels(ubsAutoDetect, bsUp, 0x03), ClassicPixels(expected, bsUp, 0x03));
        EXPECT_EQ(ExtPixels(ubsAutoDetect, bsDown, 0x01), ClassicPixels(expected, bsDown, 0x01));
    }
}

// ---- Themed faces -----------------------------------------------------------------------

TEST_F(ButtonFaceTest, WithoutThemesThemedStylesDrawTheirClassicCounterparts)
{
    struct Setting {
        TThemeModuleState module;
        bool switchOff;
    };
    for (const Setting setting : {Setting{TThemeModuleState::Inactive, false}, Setting{TThemeModuleState::Absent, false},
                                  Setting{TThemeModuleState::Active, true}}) {
        SCOPED_TRACE(static_cast<int>(setting.module));
        Themes(setting.module);
        if (setting.switchOff) OBLApplication->SetXPThemeSupport(false);
        ClearThemeCallLog();
        const std::pair<TOBLUserButtonStyle, TOBLUserButtonStyle> pairs[] = {
            {ubsWinXP, ubsWin40}, {ubsWinXPCombo, ubsIntegrated}, {ubsWinXPTool, ubsExplorer}};
        for (auto [themed, classic] : pairs)
            for (TOBLButtonState state : {bsUp, bsDown, bsOptionSet})
                for (WORD flags : {WORD{0x01}, WORD{0x23}}) {
                    SCOPED_TRACE(static_cast<int>(themed) * 100 + static_cast<int>(state) * 10 + flags);
                    EXPECT_EQ(ExtPixels(themed, state, flags, true), ClassicPixels(classic, state, flags, true));
                }
        for (const TThemeCall& call : ThemeCallLog()) EXPECT_NE(call.function, "OpenThemeData");
        oblclassFinalization();
        OblxpstylesFinalization();
    }
}

TEST_F(ButtonFaceTest, ThemedStylesPaintTheirPartAndState)
{
    Themes(TThemeModuleState::Active);
    ASSERT_TRUE(OBLApplication->UseXPThemes());
    struct Case {
        TOBLUserButtonStyle style;
        TOBLButtonState state;
        WORD flags;
        bool hot;
        const char* themeClass;
        int part;
        int state_;
    };
    const Case cases[] = {
        {ubsAutoDetect, bsUp, 0x01, false, "BUTTON", 1, 1},
        {ubsWinXP, bsUp, 0x21, false, "BUTTON", 1, 5},
        {ubsWinXP, bsUp, 0x21, true, "BUTTON", 1, 2},
        {ubsWinXP, bsUp, 0x41, false, "BUTTON", 1, 2},
        {ubsWinXP, bsDown, 0x21, true, "BUTTON", 1, 3},
        {ubsWinXP, bsOptionSet, 0x01, false, "BUTTON", 1, 3},
        {ubsWinXP, bsDisabledDown, 0x01, false, "BUTTON", 1, 4},
        {ubsWinXP, bsDisabledUp, 0x61, true, "BUTTON", 1, 4},
        {ubsWinXPCombo, bsUp, 0x21, false, "COMBOBOX", 1, 1},
        {ubsWinXPCombo, bsDropDownOpen, 0x01, true, "COMBOBOX", 1, 3},
        {ubsWinXPTool, bsUp, 0x21, false, "TOOLBAR", 1, 1},
        {ubsWinXPTool, bsUp, 0x101, false, "TOOLBAR", 1, 1},
        {ubsWinXPTool, bsUp, 0x81, true, "TOOLBAR", 3, 2},
        {ubsWinXPTool, bsDown, 0x181, false, "TOOLBAR", 4, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.themeClass) + " " + std::to_string(static_cast<int>(c.state)) + " " +
                     std::to_string(c.flags));
        ClearThemeCallLog();
        Surface s;
        TRect r = Rect(0, 0, kWidth, kHeight);
        EXPECT_TRUE(OBLDrawBtnFaceExt(nullptr, s.canvas(), c.hot, r, c.style, c.state, c.flags, kFace));
        const std::vector<TThemeCall> log = PaintCalls();
        ASSERT_EQ(log.size(), 3u);
        EXPECT_EQ(log[0].function, "OpenThemeData");
        EXPECT_EQ(log[0].className, c.themeClass);
        EXPECT_EQ(log[1].function, "DrawThemeBackground");
        EXPECT_EQ(log[1].part, c.part);
        EXPECT_EQ(log[1].state, c.state_);
        EXPECT_EQ(log[2].function, "CloseThemeData");
        const bool button = std::string(c.themeClass) == "BUTTON";
        EXPECT_EQ(RectText(log[1].rect), button ? "-1,-1,41,25" : "0,0,40,24");
        EXPECT_EQ(RectText(r), button ? "2,2,38,22" : "3,3,37,21");
        // A normal tool-bar button is see-through; every other face covers the background.
        const bool seeThrough = std::string(c.themeClass) == "TOOLBAR" && c.state_ == 1;
        EXPECT_EQ(s.at(kWidth / 2, kHeight / 2) == ColorToRGB(kBack), seeThrough);
    }
}

TEST_F(ButtonFaceTest, ActiveThemedFaceDrawsTheFocusOnTheContent)
{
    Themes(TThemeModuleState::Active);
    for (WORD flags : {WORD{0x01}, WORD{0x03}}) {
        SCOPED_TRACE(flags);
        Surface s;
        const Drawn drawn = Record(s, [&](TRect& r) {
            return OBLDrawBtnFaceExt(nullptr, s.canvas(), false, r, ubsWinXP, bsUp, flags, kFace);
        });
        const std::vector<std::string> focus = {"DrawFocusRect 2,2,38,22"};
        std::vector<std::string> focusCalls;
        for (const std::string& call : drawn.calls)
            if (call.rfind("DrawFocusRect", 0) == 0) focusCalls.push_back(call);
        EXPECT_EQ(focusCalls, (flags & 0x02) ? focus : std::vector<std::string>{});
        EXPECT_EQ(drawn.content, "2,2,38,22");
    }
}

TEST_F(ButtonFaceTest, ThemeDataRefusedForTheWindowFallsBackToTheClassicFace)
{
    Themes(TThemeModuleState::Active);
    // Controls may no longer be themed, though a visual style is active.
    SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
    ASSERT_TRUE(OBLApplication->UseXPThemes());
    ClearThemeCallLog();
    EXPECT_EQ(ExtPixels(ubsWinXP, bsDown, 0x23), ClassicPixels(ubsWin40, bsDown, 0x23));
    ASSERT_EQ(PaintCalls().size(), 1u);
    EXPECT_EQ(PaintCalls()[0].function, "OpenThemeData");
    Surface s;
    TRect r = Rect(0, 0, kWidth, kHeight);
    OBLDrawBtnFaceExt(nullptr, s.canvas(), false, r, ubsWinXPCombo, bsUp, 0x01, kFace);
    EXPECT_EQ(RectText(r), "3,3,37,21");
    EXPECT_EQ(s.pixels(), ClassicPixels(ubsIntegrated, bsUp, 0x01));
}

TEST_F(ButtonFaceTest, TheControlsWindowChoosesTheThemeData)
{
    Themes(TThemeModuleState::Active);
    auto* form = new TForm(Application);
    auto* control = new TWinControl(form);
    control->SetParent(form);
    const HWND window = control->Handle();
    for (bool themingOff : {false, true}) {
        SCOPED_TRACE(themingOff);
        if (themingOff) SetWindowTheme(window, u" ", u" ");
        ClearThemeCallLog();
        Surface s;
        TRect r = Rect(0, 0, kWidth, kHeight);
        EXPECT_TRUE(OBLDrawBtnFaceExt(control, s.canvas(), false, r, ubsWinXP, bsUp, 0x01, kFace));
        const std::vector<TThemeCall> log = PaintCalls();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log[0].function, "OpenThemeData");
        EXPECT_EQ(log[0].window, window);
        EXPECT_EQ(log.size(), themingOff ? 1u : 3u);
        EXPECT_EQ(RectText(r), themingOff ? "3,3,37,21" : "2,2,38,22");
        if (themingOff) {
            EXPECT_EQ(s.pixels(), ClassicPixels(ubsWin40, bsUp, 0x01));
        }
    }
}

} // namespace

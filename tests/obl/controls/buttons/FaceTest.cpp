// The painted button against the face and caption routines it draws with: every style in
// every state, with the visual style off and on; and the hot state following the mouse.
#include "tests/obl/controls/buttons/ButtonFixture.h"

#include "obl/core/draw/Oblutils.h"

namespace {

// Never drawn by a face: shows which pixels a paint left alone.
constexpr TColor kUntouched = static_cast<TColor>(RGB(3, 201, 77));

struct Picture {
    explicit Picture(TControl* control)
    {
        bitmap.SetPixelFormat(pf32bit);
        bitmap.SetSize(control->Width(), control->Height());
        bitmap.Canvas()->Brush()->SetColor(kUntouched);
        bitmap.Canvas()->FillRect(Rect(0, 0, control->Width(), control->Height()));
    }
    std::vector<TColor> Pixels()
    {
        std::vector<TColor> all;
        for (int y = 0; y < bitmap.Height(); ++y)
            for (int x = 0; x < bitmap.Width(); ++x) all.push_back(bitmap.Canvas()->Pixels(x, y));
        return all;
    }
    TBitmap bitmap;
};

// What the button's window paints now (the system asks the button to draw itself).
std::vector<TColor> Painted(TOBLButton* b)
{
    Picture p(b);
    SendMessageA(b->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(p.bitmap.Canvas()->Handle()), PRF_CLIENT);
    return p.Pixels();
}

bool FillsBackground(TOBLUserButtonStyle s)
{
    return s == ubsExplorer || s == ubsExplorerColored || s == ubsWinXP || s == ubsWinXPCombo || s == ubsWinXPTool;
}

// The face routine with the state and flags given, then the caption in the content rectangle.
std::vector<TColor> Expected(TOBLButton* b, TOBLUserButtonStyle style, TOBLButtonState state, WORD flags, bool hot,
                             bool enabled)
{
    Picture p(b);
    TCanvas* canvas = p.bitmap.Canvas();
    TRect r = Rect(0, 0, b->Width(), b->Height());
    canvas->Pen()->SetColor(clBlack);
    canvas->Brush()->SetColor(b->Color());
    if (FillsBackground(style)) {
        canvas->Brush()->SetColor(b->Color());
        canvas->FillRect(r);
    }
    OBLDrawBtnFaceExt(b, canvas, hot, r, style, state, flags, b->Color());
    if (style == ubsWinXPCombo && OBLApplication->UseXPThemes()) return p.Pixels();
    canvas->SetFont(b->Font());
    TOBLGlyph noGlyph;
    TOBLFxCaption effect;
    TOBLButtonLayout layout;
    noGlyph.DrawButtonGlyphAndText(canvas, b->Caption(), &effect, r, state, &layout,
                                   TOBLDrawTextStyles{enabled ? dtEnabled : dtDisabled, dt3DDisabled}, false, 0);
    return p.Pixels();
}

class FaceTable : public ButtonFixture, public ::testing::WithParamInterface<bool> {
protected:
    FaceTable() : ButtonFixture(GetParam() ? TThemeModuleState::Active : TThemeModuleState::Inactive) {}
};

struct StateCase {
    const char* name;
    TOBLButtonState state;
    WORD flags;
    bool hot;
};

TEST_P(FaceTable, EveryStyleInEveryStatePaintsTheFaceRoutinesPicture)
{
    ASSERT_EQ(OBLApplication->UseXPThemes(), GetParam());
    const StateCase states[] = {
        {"up", bsUp, 0x01, false},
        {"hot", bsMouseOver, 0x41, true},
        {"focused", bsUp, 0x23, false},
        {"pressed", bsDown, 0x63, true},
        {"disabled", bsDisabledUp, 0x01, false},
    };
    for (int s = 0; s <= static_cast<int>(ubsWinXPTool); ++s) {
        const auto style = static_cast<TOBLUserButtonStyle>(s);
        button->SetExtStyle(style);
        for (const StateCase& c : states) {
            const std::string name = std::string(GetEnumName(TypeInfo<TOBLUserButtonStyle>(), s).c_str()) + " " + c.name;
            other->SetFocus();
            MoveTo(Away());
            const bool pressed = c.state == bsDown;
            if (c.state == bsDisabledUp) button->SetEnabled(false);
            if (c.name == std::string("focused")) button->SetFocus();
            if (c.hot && !pressed) MoveTo(Middle(button));
            if (pressed) Press(Middle(button));
            Pump();
            EXPECT_EQ(button->MouseAbove(), c.hot) << name;
            const std::vector<TColor> painted = Painted(button);
            EXPECT_EQ(button->GetState(), c.state) << name;
            EXPECT_TRUE(painted == Expected(button, style, c.state, c.flags, c.hot, c.state != bsDisabledUp)) << name;
            if (pressed) Release(Away());
            button->SetEnabled(true);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Themes, FaceTable, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Themed" : "Classic"; });

class HotState : public ButtonFixture {};

TEST_F(HotState, FollowsTheInjectedMouseInAndOut)
{
    TClickCounter enter, exit;
    enter.name = "enter";
    exit.name = "exit";
    button->SetOnMouseEnter(TNotifyEvent(&enter, &TClickCounter::Event));
    button->SetOnMouseExit(TNotifyEvent(&exit, &TClickCounter::Event));
    button->SetExtStyle(ubsFlat);
    other->SetFocus();
    MoveTo(Away());
    const std::vector<TColor> up = Painted(button);

    MoveTo(Middle(button));
    EXPECT_TRUE(button->MouseAbove());
    EXPECT_EQ(enter.events.size(), 1u);
    EXPECT_FALSE(Painted(button) == up) << "the flat face is raised under the mouse";
    EXPECT_EQ(button->GetState(), bsMouseOver);
    MoveTo(At(button, 5, 5));
    EXPECT_EQ(enter.events.size(), 1u) << "moving inside enters nothing";

    MoveTo(Away());
    EXPECT_FALSE(button->MouseAbove());
    EXPECT_EQ(exit.events.size(), 1u);
    EXPECT_EQ(button->GetState(), bsUp);
    EXPECT_TRUE(Painted(button) == up);
}

TEST_F(HotState, EnterIsNotReportedWhilePressedOrDisabledButExitAlwaysIs)
{
    TClickCounter enter, exit;
    button->SetOnMouseEnter(TNotifyEvent(&enter, &TClickCounter::Event));
    button->SetOnMouseExit(TNotifyEvent(&exit, &TClickCounter::Event));
    MoveTo(Away());
    // Pushed by the program: the next paint shows it pressed.
    SendMessageA(button->Handle(), BM_SETSTATE, 1, 0);
    ASSERT_EQ(button->GetState(), bsDown);
    MoveTo(Middle(button));
    EXPECT_TRUE(enter.events.empty());
    EXPECT_TRUE(button->MouseAbove());
    MoveTo(Away());
    EXPECT_EQ(exit.events.size(), 1u);
    SendMessageA(button->Handle(), BM_SETSTATE, 0, 0);

    // A disabled window is not entered by the mouse; told so all the same, the button
    // keeps quiet about it, but not about the leave.
    button->SetEnabled(false);
    Painted(button);
    ASSERT_EQ(button->GetState(), bsDisabledUp);
    MoveTo(Middle(button));
    button->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(button));
    EXPECT_TRUE(enter.events.empty());
    EXPECT_TRUE(button->MouseAbove());
    button->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(button));
    EXPECT_EQ(exit.events.size(), 2u);
    EXPECT_FALSE(button->MouseAbove());
}

TEST_F(HotState, LeavingWhilePressedPaintsItUpAndComingBackPressesItAgain)
{
    Press(Middle(button));
    ASSERT_EQ(button->GetState(), bsDown);
    MoveTo(Away());
    EXPECT_FALSE(button->MouseAbove()) << "the captured button hears that the mouse left";
    EXPECT_EQ(button->GetState(), bsUp);
    MoveTo(Middle(button));
    EXPECT_TRUE(button->MouseAbove());
    EXPECT_EQ(button->GetState(), bsDown);
    Release(Middle(button));
    EXPECT_EQ(counter.clicks, 1);
}

} // namespace

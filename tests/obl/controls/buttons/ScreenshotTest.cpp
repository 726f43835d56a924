// One picture of the button: every style in its five states, classic and themed, and a row
// of captions with glyphs, arrows and effects; saved as a PNG under the build folder.
#include "tests/obl/controls/buttons/ButtonFixture.h"

#include "obl/core/base/Oblxpstyles.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Surface.h"
#include "tests/support/Screenshot.h"
#include "tests/support/RestartThemes.h"

namespace {

constexpr int kCellWidth = 100, kCellHeight = 38, kLeft = 130, kTop = 24;
constexpr int kStates = 5;
const char* const kStateNames[kStates] = {"up", "hot", "focused", "pressed", "disabled"};

class Screenshot : public ButtonFixture {
protected:
    // Draws what the button's window paints now at (x, y) of the picture.
    void Shoot(TOBLButton* b, HDC into, int x, int y)
    {
        TBitmap cell;
        cell.SetPixelFormat(pf32bit);
        cell.SetSize(b->Width(), b->Height());
        cell.Canvas()->Brush()->SetColor(clBtnFace);
        cell.Canvas()->FillRect(Rect(0, 0, b->Width(), b->Height()));
        SendMessageA(b->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(cell.Canvas()->Handle()), PRF_CLIENT);
        BitBlt(into, x, y, b->Width(), b->Height(), cell.Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    // Puts the button in one of the five states, shoots it, and lets it go again.
    void ShootState(int state, HDC into, int x, int y)
    {
        other->SetFocus();
        MoveTo(Away());
        if (state == 4) button->SetEnabled(false);
        if (state == 2) button->SetFocus();
        if (state == 1) MoveTo(Middle(button));
        if (state == 3) Press(Middle(button));
        Pump();
        Shoot(button, into, x, y);
        if (state == 3) Release(Away());
        button->SetEnabled(true);
    }
};

TEST_F(Screenshot, ButtonStylesStatesAndCaptions)
{
    const int styles = static_cast<int>(ubsWinXPTool) + 1;
    Surface surface(kLeft + kStates * kCellWidth + 10, kTop + (2 * styles + 2) * kCellHeight + 10,
                    ColorToRGB(clBtnFace));
    ScreenshotCanvas labels(surface);
    HDC dc = labels.Handle();
    ASSERT_NE(dc, nullptr);
    for (int s = 0; s < kStates; ++s) labels->TextOut(kLeft + s * kCellWidth, 6, kStateNames[s]);
    for (int themed = 0; themed < 2; ++themed) {
        RestartThemes(themed ? TThemeModuleState::Active : TThemeModuleState::Inactive);
        for (int style = 0; style < styles; ++style) {
            const int y = kTop + (themed * styles + style) * kCellHeight;
            const AnsiString name = GetEnumName(TypeInfo<TOBLUserButtonStyle>(), style);
            labels->TextOut(6, y + 8, (themed ? "themed " : "") + name);
            button->SetExtStyle(static_cast<TOBLUserButtonStyle>(style));
            for (int state = 0; state < kStates; ++state) ShootState(state, dc, kLeft + state * kCellWidth, y);
        }
    }
    // Captions with a glyph, a drop-down arrow, a 3D effect and a rotated text.
    RestartThemes(TThemeModuleState::Inactive);
    button->SetExtStyle(ubsAutoDetect);
    other->SetFocus();
    MoveTo(Away());
    const int y = kTop + 2 * styles * kCellHeight + 6;
    labels->TextOut(6, y + 8, "captions");
    button->SetGlyphKind(gkFolder);
    Pump();
    Shoot(button, dc, kLeft, y);
    button->SetGlyphKind(gkCustom);
    button->ButtonLayout()->SetArrow(true);
    Shoot(button, dc, kLeft + kCellWidth, y);
    button->ButtonLayout()->SetArrow(false);
    button->FontFX()->SetStyle(tdRaised);
    button->FontFX()->SetColor(0, clRed);
    Shoot(button, dc, kLeft + 2 * kCellWidth, y);
    button->FontFX()->SetStyle(tdNone);
    button->SetBounds(button->Left(), button->Top(), 90, 60);
    button->FontFX()->SetAngle(30);
    Shoot(button, dc, kLeft + 3 * kCellWidth, y);
    button->FontFX()->SetAngle(0);
    button->SetEnabled(false);
    button->SetGlyphKind(gkSearch);
    Pump();
    Shoot(button, dc, kLeft + 4 * kCellWidth, y);
    EXPECT_TRUE(TestDisplay::SavePng(surface, "obl-buttons.png"));
}

} // namespace

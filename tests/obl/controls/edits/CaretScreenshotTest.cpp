// One picture of every caret shape, each drawn on a white control and magnified four
// times, saved as a PNG under the build folder.
#include "obl/controls/edits/OBLCaret.h"

#include "platform/classlib/Forms.h"
#include "platform/win/user/UserTesting.h"
#include "tests/support/TestDisplay.h"

#include <gtest/gtest.h>

namespace {

constexpr int kCell = 24, kZoom = 4, kGap = 4;

class TWhiteHost : public TCustomControl {
public:
    explicit TWhiteHost(TComponent* owner) : TCustomControl(owner) {}

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }
};

TEST(CaretScreenshot, EveryShapeInOnePicture)
{
    UserResetWindowSystem();
    FormsInitialization();
    {
        TForm form(nullptr);
        form.SetBounds(0, 0, 200, 100);
        auto* host = new TWhiteHost(&form);
        host->SetParent(&form);
        host->SetBounds(0, 0, kCell, kCell);
        form.Show();
        TBitmap pattern;
        pattern.SetPixelFormat(pf24bit);
        pattern.SetSize(4, 4);
        pattern.Canvas()->Brush()->SetColor(clBlack);
        pattern.Canvas()->FillRect(Rect(0, 0, 4, 4));
        pattern.Canvas()->Brush()->SetColor(clWhite);
        pattern.Canvas()->FillRect(Rect(0, 0, 2, 2));
        pattern.Canvas()->FillRect(Rect(2, 2, 4, 4));
        const struct {
            TOBLCaretStyles style;
            TOBLCaretBitmap mode;
        } shapes[] = {{csDefault, cbBmpSize}, {csBlock, cbBmpSize}, {csUnder, cbBmpSize}, {csOver, cbBmpSize},
                      {csUnderBlock, cbBmpSize}, {csBitmap, cbBmpSize}, {csBitmap, cbTile}, {csBitmap, cbStretch}};
        const int count = static_cast<int>(std::size(shapes));
        Surface picture(count * (kCell * kZoom + kGap) + kGap, kCell * kZoom + 2 * kGap, 0x808080);
        for (int i = 0; i < count; ++i) {
            TOBLCaret caret(host);
            caret.SetStyle(shapes[i].style);
            caret.SetCaretBmpMode(shapes[i].mode);
            caret.SetBitmap(&pattern);
            caret.SetWord(0, 8);
            caret.SetWord(1, 12);
            caret.SetWord(4, 16);
            UserPumpMessages();
            caret.BuildCaret();
            caret.Enable();
            SetCaretPos(4, 4);
            const Surface* shown = UserWindowSurface(form.Handle());
            ASSERT_NE(shown, nullptr);
            POINT origin{0, 0};
            MapWindowPoints(host->Handle(), form.Handle(), &origin, 1);
            RECT frame{};
            GetWindowRect(form.Handle(), &frame);
            POINT client{0, 0};
            ClientToScreen(form.Handle(), &client);
            const int left = origin.x + client.x - frame.left, top = origin.y + client.y - frame.top;
            for (int y = 0; y < kCell * kZoom; ++y)
                for (int x = 0; x < kCell * kZoom; ++x)
                    picture.SetPixel(kGap + i * (kCell * kZoom + kGap) + x, kGap + y,
                                     shown->Pixel(left + x / kZoom, top + y / kZoom));
            caret.DestroyCaret();
        }
        EXPECT_TRUE(TestDisplay::SavePng(picture, "carets.png"));
    }
    FormsFinalization();
    UserResetWindowSystem();
}

}  // namespace

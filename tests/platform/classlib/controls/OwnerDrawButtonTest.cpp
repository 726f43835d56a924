// What an owner-drawn push button relies on: its paints reflected as CN_DRAWITEM with the
// item state, the mouse entering and leaving while the pressed button holds the capture,
// the font taken from the parent with ParentFont set back afterwards, and controls freed
// by their own handlers.
#include "tests/platform/classlib/controls/ControlsFixture.h"

namespace {

// An owner-drawn BUTTON that records how it is asked to paint and what it hears.
class TOwnerDrawn : public TButton {
    VENDARO_CLASS(TOwnerDrawn, TButton)
public:
    explicit TOwnerDrawn(TComponent* owner) : TButton(owner) {}

    struct Draw {
        UINT state;
        HDC dc;
        RECT rect;
    };
    std::vector<Draw> draws;
    std::vector<std::string> seen;
    std::vector<bool> parentFontWhileChanging;
    bool freeOnEnter = false;

    void WndProc(TMessage& message) override
    {
        switch (message.Msg) {
        case CN_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
            draws.push_back({item->itemState, item->hDC, item->rcItem});
            return;
        }
        case CM_MOUSEENTER:
            if (freeOnEnter) {
                delete this;
                return;
            }
            seen.push_back("enter");
            break;
        case CM_MOUSELEAVE: seen.push_back("leave"); break;
        case CM_FONTCHANGED: parentFontWhileChanging.push_back(ParentFont()); break;
        default: break;
        }
        TButton::WndProc(message);
    }

protected:
    void CreateParams(TCreateParams& params) override
    {
        TButton::CreateParams(params);
        params.Style |= BS_OWNERDRAW;
    }
    // The default-button look would come through BM_SETSTYLE, which makes the window an
    // ordinary push button again.
    void SetButtonStyle(bool) override {}
};

// Frees a control from one of its handlers.
class TFreer : public TObject {
    VENDARO_CLASS(TFreer, TObject)
public:
    void Free(TObject* sender)
    {
        ++calls;
        delete static_cast<TControl*>(sender);
    }
    void FreeOnMouse(TObject* sender, TMouseButton, TShiftState, int, int) { Free(sender); }
    int calls = 0;
};

class OwnerDrawButton : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        form = new TForm(Application);
        form->SetBounds(50, 50, 300, 200);
        button = new TOwnerDrawn(form);
        button->SetParent(form);
        button->SetBounds(20, 20, 90, 30);
        form->Show();
        Application->ProcessMessages();
    }
    void MoveTo(TControl* control, int x, int y)
    {
        const TPoint p = control->ClientToScreen(Point(x, y));
        UserInjectMouseMove(p.x, p.y);
        Application->ProcessMessages();
    }
    void Mouse(TControl* control, bool down)
    {
        const TPoint p = control->ClientToScreen(Point(10, 10));
        UserInjectMouseButton(MouseButton::Left, down, p.x, p.y);
        Application->ProcessMessages();
    }
    std::vector<UINT> States()
    {
        std::vector<UINT> states;
        for (const auto& d : button->draws) states.push_back(d.state & (ODS_SELECTED | ODS_FOCUS | ODS_DISABLED));
        button->draws.clear();
        return states;
    }

    TForm* form = nullptr;
    TOwnerDrawn* button = nullptr;
};

TEST_F(OwnerDrawButton, PaintsReachTheButtonAsDrawItemWithTheItemState)
{
    ASSERT_FALSE(button->draws.empty()) << "the first paint";
    EXPECT_NE(button->draws.back().dc, nullptr);
    EXPECT_EQ(button->draws.back().rect.right, 90);
    EXPECT_EQ(button->draws.back().rect.bottom, 30);
    button->draws.clear();
    MoveTo(button, 10, 10);
    Mouse(button, true);
    EXPECT_EQ(States().back(), static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
    Mouse(button, false);
    EXPECT_EQ(States().back(), static_cast<UINT>(ODS_FOCUS));
    button->SetEnabled(false);
    Application->ProcessMessages();
    EXPECT_EQ(States().back(), static_cast<UINT>(ODS_DISABLED));
}

TEST_F(OwnerDrawButton, ThePressedButtonHearsTheMouseLeaveAndComeBackWhileItHoldsTheCapture)
{
    MoveTo(button, 10, 10);
    Mouse(button, true);
    ASSERT_EQ(GetCapture(), button->Handle());
    button->seen.clear();
    MoveTo(form, 250, 150);
    MoveTo(button, 10, 10);
    EXPECT_EQ(button->seen, (std::vector<std::string>{"leave", "enter"}));
    Mouse(button, false);
}

TEST_F(OwnerDrawButton, TakingTheParentsFontClearsParentFontOnlyWhileTheChangeIsAnnounced)
{
    button->parentFontWhileChanging.clear();
    form->Font()->SetHeight(-17);
    EXPECT_EQ(button->Font()->Height(), -17);
    EXPECT_EQ(button->parentFontWhileChanging, std::vector<bool>{false});
    EXPECT_TRUE(button->ParentFont()) << "set back once the font is taken";
}

TEST_F(OwnerDrawButton, AControlFreedByItsOwnHandlersIsNotTouchedAgain)
{
    TFreer freer;
    button->SetOnClick(TNotifyEvent(&freer, &TFreer::Free));
    MoveTo(button, 10, 10);
    Mouse(button, true);
    Mouse(button, false);
    EXPECT_EQ(freer.calls, 1);
    EXPECT_EQ(form->ControlCount(), 0);

    auto* second = new TButton(form);
    second->SetParent(form);
    second->SetBounds(20, 20, 90, 30);
    second->SetOnMouseDown(TMouseEvent(&freer, &TFreer::FreeOnMouse));
    Application->ProcessMessages();
    Mouse(second, true);
    Mouse(form, false);
    EXPECT_EQ(freer.calls, 2);
    EXPECT_EQ(form->ControlCount(), 0);

    auto* third = new TOwnerDrawn(form);
    third->SetParent(form);
    third->SetBounds(20, 20, 90, 30);
    third->freeOnEnter = true;
    Application->ProcessMessages();
    MoveTo(form, 250, 150);
    MoveTo(form, 30, 30);
    EXPECT_EQ(form->ControlCount(), 0) << "freed as the mouse entered it";
    EXPECT_TRUE(MouseControl() == nullptr || MouseControl() == form) << "the freed control is forgotten";
}

} // namespace

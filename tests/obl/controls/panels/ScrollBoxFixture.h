// Scroll boxes for the tests: a probe that counts its OnScroll and can be put in the loading
// state an inherited description leaves it in, a transparent child that takes its
// background from its container the way the panels do (mapping its origin through the
// container), and a shown form whose form shape fills it with a vertical gradient.
#pragma once

#include "obl/controls/panels/OBLCustomScrollBox.h"
#include "obl/controls/shapes/OBLFormShape.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/Input.h"
#include "tests/obl/controls/windowed/WindowedFixture.h"

class TProbeScrollBox : public TOBLCustomScrollBox {
    VENDARO_CLASS(TProbeScrollBox, TOBLCustomScrollBox)
public:
    explicit TProbeScrollBox(TComponent* owner) : TOBLCustomScrollBox(owner)
    {
        SetOnScroll(TNotifyEvent(this, &TProbeScrollBox::Scrolled));
    }
    void Scrolled(TObject*) { ++scrolls; }
    void SetLoading(bool loading)
    {
        if (loading)
            IncludeState(csLoading);
        else
            ExcludeState(csLoading);
    }
    using TOBLCustomScrollBox::Canvas;

    int scrolls = 0;
};

// Copies its piece of the background its container lends, at the place the container maps
// its origin to.
class TBackChild : public TOBLCustomControl {
    VENDARO_CLASS(TBackChild, TOBLCustomControl)
public:
    explicit TBackChild(TComponent* owner) : TOBLCustomControl(owner) { SetTransparent(true); }

    bool BackBitmapCheck() override
    {
        TOBLBackProvider* provider = Lender();
        return Transparent() && provider && provider->BackBitmapCheck();
    }
    TBitmap* BackBitmap() override { return BackBitmapCheck() ? Lender()->BackBitmap() : nullptr; }
    bool BackDrawArea(TCanvas* canvas, const TRect& rect, const TPoint& point, WORD flags) override
    {
        TBitmap* back = BackBitmap();
        if (!back) return false;
        const TPoint origin = Lender()->BackMapPoint(Point(Left(), Top()));
        TRect source = rect;
        OffsetRect(&source, origin.x + point.x, origin.y + point.y);
        canvas->CopyRect(rect, back->Canvas(), source);
        return true;
    }

private:
    TOBLBackProvider* Lender() { return Parent() ? dynamic_cast<TOBLBackProvider*>(Parent()) : nullptr; }
};

class ScrollBoxFixture : public WindowedFixture {
protected:
    // The form is filled by a form shape with a vertical gradient from red to blue.
    void GradientForm()
    {
        if (shape_) return;
        form_->SetBounds(20, 20, 320, 240);
        shape_ = new TOBLFormShape(form_);
        shape_->Region()->SetShape(rsRect);
        shape_->Region()->Border()->SetStyle(rbNone);
        shape_->FillObject()->Gradient()->SetColor(clRed);
        shape_->FillObject()->Gradient()->SetEndColor(clBlue);
        shape_->FillObject()->Gradient()->SetStyle(gstVertical);
        shape_->FillObject()->SetFillStyle(sfGradient);
        shape_->Loaded();
        Redraw();
    }
    void Redraw()
    {
        RedrawWindow(form_->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }
    // A transparent scroll box on the gradient form (made once) with `rows` transparent children, 140 x 40
    // each, one under the other from (10, 10) every 60 pixels: taller than the box.
    TProbeScrollBox* TransparentBox(int rows = 5)
    {
        GradientForm();
        auto* box = Add<TProbeScrollBox>(20, 20);
        box->SetBounds(20, 20, 200, 120);
        box->SetTransparent(true);
        for (int i = 0; i < rows; ++i) {
            auto* child = Add<TBackChild>(10, 10 + 60 * i, box);
            child->SetBounds(10, 10 + 60 * i, 140, 40);
        }
        // The ranges follow the children once the box lays them out.
        box->Realign();
        Redraw();
        return box;
    }
    // The form shape's background under a client point of a control on the form.
    std::uint32_t BackUnder(TControl* control, int x, int y)
    {
        const TPoint p = form_->ScreenToClient(ScreenPoint(control, x, y));
        return Rgb(shape_->BackBitmap()->Canvas()->Pixels(p.x, p.y));
    }
    // The rows of the column x of the control's client area whose pixels are not the
    // background under them.
    std::vector<int> WrongRows(TControl* control, int x, int height)
    {
        std::vector<int> wrong;
        for (int y = 0; y < height; y += 7)
            if (PixelOf(control, x, y) != BackUnder(control, x, y)) wrong.push_back(y);
        return wrong;
    }
    // A click on the down arrow of the vertical scroll bar.
    void ClickDownArrow(TWinControl* box)
    {
        RECT client{};
        GetClientRect(box->Handle(), &client);
        POINT corner{client.right, client.bottom};
        ClientToScreen(box->Handle(), &corner);
        UserInjectClick(corner.x + GetSystemMetrics(SM_CXVSCROLL) / 2, corner.y - 4);
        Pump();
    }
    // One notch of the wheel towards the user, with the focus in the box.
    void WheelDown(TWinControl* box)
    {
        ::SetFocus(box->Handle());
        const TPoint p = ScreenPoint(box, 5, 5);
        UserInjectMouseWheel(-WHEEL_DELTA, p.x, p.y);
        Pump();
    }

    TOBLFormShape* shape_ = nullptr;
};

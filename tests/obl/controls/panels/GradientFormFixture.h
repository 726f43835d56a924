// A shown form whose form shape fills it with a vertical gradient from red to blue: the
// background the transparent panels and scroll boxes on it take.
#pragma once

#include "obl/controls/shapes/OBLFormShape.h"
#include "platform/win/user/User.h"
#include "tests/obl/controls/windowed/WindowedFixture.h"

#include <cstdint>

class GradientFormFixture : public WindowedFixture {
protected:
    // The form is filled by the shape; made once, a later call gives the same shape.
    TOBLFormShape* GradientForm()
    {
        if (shape_) return shape_;
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
        return shape_;
    }
    // The whole form paints again, its child windows too.
    void Redraw()
    {
        RedrawWindow(form_->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump();
    }
    // The form shape's background at a form client point.
    std::uint32_t FormBack(int x, int y) { return Rgb(shape_->BackBitmap()->Canvas()->Pixels(x, y)); }
    // The background under a client point of a control on the form, however deep.
    std::uint32_t FormBackUnder(TControl* control, int x, int y)
    {
        const TPoint p = form_->ScreenToClient(ScreenPoint(control, x, y));
        return FormBack(p.x, p.y);
    }

    TOBLFormShape* shape_ = nullptr;
};

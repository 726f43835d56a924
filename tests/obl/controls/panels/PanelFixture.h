// Panels for the tests: probes that publish what the panels' descendants publish, and a
// shown form whose form shape fills it with a gradient, the background the transparent
// panels on it take.
#pragma once

#include "obl/controls/panels/OBLCustomBevelPanel.h"
#include "obl/controls/shapes/OBLFormShape.h"
#include "platform/win/user/User.h"
#include "tests/obl/controls/windowed/WindowedFixture.h"

template <class Base>
class TPanelProbe : public Base {
public:
    explicit TPanelProbe(TComponent* owner) : Base(owner) {}

    bool themed = false;
    int windowsMade = 0;

    using Base::RestoreBorderBack;
    using Base::RestoreBorderFront;

protected:
    bool ControlSupportsXP() override { return themed; }
    void CreateWnd() override
    {
        ++windowsMade;
        Base::CreateWnd();
    }
};

class TProbePanel : public TPanelProbe<TOBLCustomPanel> {
    VENDARO_CLASS(TProbePanel, TOBLCustomPanel)
public:
    explicit TProbePanel(TComponent* owner) : TPanelProbe(owner) {}
    static void Publish(TClassBuilder<TProbePanel>& c) { PublishControl(c); }
};

class TProbeBevelPanel : public TPanelProbe<TOBLCustomBevelPanel> {
    VENDARO_CLASS(TProbeBevelPanel, TOBLCustomBevelPanel)
public:
    explicit TProbeBevelPanel(TComponent* owner) : TPanelProbe(owner) {}
    static void Publish(TClassBuilder<TProbeBevelPanel>& c)
    {
        PublishControl(c);
        c.Property("Bevel", &TProbeBevelPanel::Bevel, &TProbeBevelPanel::SetBevel);
    }
};

class PanelFixture : public WindowedFixture {
protected:
    // The form is filled by a form shape with a vertical gradient from red to blue.
    TOBLFormShape* GradientForm()
    {
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

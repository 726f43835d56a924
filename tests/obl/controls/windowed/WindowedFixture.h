// Windowed controls for the tests of their base and of the bevel: a probe that publishes the
// base's properties, a child that takes its background from its container the way the
// panels do, and a control that paints a bevel; on a shown form of a clean window system.
#pragma once

#include "obl/controls/windowed/OBLBevel.h"
#include "obl/controls/windowed/OBLCustomControl.h"
#include "obl/controls/windowed/OBLResWinControl.h"
#include "obl/core/base/Oblxpstyles.h"
#include "tests/obl/controls/graphic/GraphicFixture.h"
#include "tests/support/RestartThemes.h"

#include <string>
#include <vector>

class TProbeWindowed : public TOBLCustomControl {
    VENDARO_CLASS(TProbeWindowed, TOBLCustomControl)
public:
    explicit TProbeWindowed(TComponent* owner) : TOBLCustomControl(owner) {}

    static void Publish(TClassBuilder<TProbeWindowed>& c) { PublishControl(c); }

    bool themed = false;
    bool readOnly = false;
    int windowsMade = 0;
    int paints = 0;
    // What ErasedByTheme said while the last paint filled the control.
    bool erasedAtPaint = false;
    std::vector<std::string> events;

    void Event(TObject*) { events.push_back(current); }
    std::string current;
    bool GetReadOnly() override { return readOnly; }
    using TOBLCustomControl::GetXPBevelParams;
    using TOBLCustomControl::RestoreBorderBack;
    using TOBLCustomControl::RestoreBorderFront;

protected:
    bool ControlSupportsXP() override { return themed; }
    void CreateWnd() override
    {
        ++windowsMade;
        inherited::CreateWnd();
    }
    void Paint() override
    {
        ++paints;
        erasedAtPaint = ErasedByTheme();
        inherited::Paint();
    }
};

// A windowed control with a sunken window edge, filled and then bevelled.
class TBevelledWindowed : public TProbeWindowed {
    VENDARO_CLASS(TBevelledWindowed, TProbeWindowed)
public:
    explicit TBevelledWindowed(TComponent* owner) : TProbeWindowed(owner)
    {
        bevel_->SetOnChange(TNotifyEvent(static_cast<TOBLCustomControl*>(this), &TOBLCustomControl::GetChange));
    }
    ~TBevelledWindowed() override { bevel_->SetOnChange(TNotifyEvent()); }

    TOBLBevel* Bevel() const { return bevel_.get(); }
    void SetBevel(TOBLBevel* value) { bevel_->Assign(value); }
    bool clientEdge = false;

    static void Publish(TClassBuilder<TBevelledWindowed>& c)
    {
        c.Property("Bevel", &TBevelledWindowed::Bevel, &TBevelledWindowed::SetBevel);
    }

protected:
    void CreateParams(TCreateParams& params) override
    {
        inherited::CreateParams(params);
        if (clientEdge) params.ExStyle |= WS_EX_CLIENTEDGE;
    }
    void Paint() override
    {
        inherited::Paint();
        bevel_->PaintBevel(Canvas(), ClientRect(), Transparent());
    }

private:
    TOwned<TOBLBevel> bevel_{new TOBLBevel};
};

// Lends nothing itself, as a panel: copies what its container lends, at its own place in it.
class TLendingChild : public TBevelledWindowed {
    VENDARO_CLASS(TLendingChild, TBevelledWindowed)
public:
    explicit TLendingChild(TComponent* owner) : TBevelledWindowed(owner) {}

    bool BackBitmapCheck() override
    {
        TOBLBackProvider* provider = OBLFindBackProvider(this);
        return provider && provider->BackBitmapCheck();
    }
    bool BackDrawArea(TCanvas* canvas, const TRect& rect, const TPoint& point, WORD flags) override
    {
        TOBLBackProvider* provider = OBLFindBackProvider(this);
        return provider && provider->BackDrawArea(canvas, rect, Point(point.x + Left(), point.y + Top()), flags);
    }
};

class WindowedFixture : public GraphicFixture {
protected:
    template <class T>
    T* AddWindowed(int left, int top, TWinControl* parent = nullptr)
    {
        auto* control = Add<T>(left, top, parent);
        control->HandleNeeded();
        Pump();
        return control;
    }
};

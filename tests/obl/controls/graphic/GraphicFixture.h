// A clean window system, the library's units, a fake clock and a shown form for each test
// of the windowless buttons; input goes in through the window system as a user's would.
#pragma once

#include "obl/controls/graphic/OBLBackProvider.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/startup/OBLUnits.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Menus.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/kernel/Mutex.h"
#include "platform/win/kernel/UxTheme.h"
#include "platform/win/user/UserTesting.h"

#include "tests/obl/core/app/AppFixture.h"
#include "tests/obl/core/app/TempSystem.h"
#include "tests/support/CheckoutTempFolder.h"

#include <memory>
#include <string>
#include <vector>

// Rectangles and points as lists, for comparisons.
inline std::vector<int> V(const TRect& r) { return {r.left, r.top, r.right, r.bottom}; }
inline std::vector<int> V(const TPoint& p) { return {p.x, p.y}; }

// A colour as the surfaces hold it (0xRRGGBB).
inline std::uint32_t Rgb(TColor color)
{
    const COLORREF v = ColorToRGB(color);
    return (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
}

// Records the events of the buttons under test.
class TEventLog : public TObject {
    VENDARO_CLASS(TEventLog, TObject)
public:
    void Click(TObject* sender) { events.push_back("click"); }
    void Enter(TObject* sender) { events.push_back("enter"); }
    void Exit(TObject* sender) { events.push_back("exit"); }
    void DropDown(TObject* sender) { events.push_back("dropdown"); }
    int Count(const std::string& event) const
    {
        int n = 0;
        for (const std::string& e : events)
            n += e == event;
        return n;
    }
    std::vector<std::string> events;
};

// A container that keeps its background as a cached bitmap, a vertical gradient from red
// to blue, and lends it to the transparent controls inside it.
class TGradientPanel : public TCustomControl, public TOBLBackProvider {
    VENDARO_CLASS(TGradientPanel, TCustomControl)
public:
    explicit TGradientPanel(TComponent* owner) : TCustomControl(owner) {}

    static TColor ColorAtRow(int y, int height)
    {
        const int blue = height > 1 ? 255 * y / (height - 1) : 0;
        return static_cast<TColor>(RGB(255 - blue, 0, blue));
    }

    bool BackBitmapCheck() override { return lends; }
    TBitmap* BackBitmap() override
    {
        if (back_.Width() != Width() || back_.Height() != Height()) {
            back_.SetPixelFormat(pf24bit);
            back_.SetSize(Width(), Height());
            for (int y = 0; y < Height(); ++y) {
                back_.Canvas()->Brush()->SetColor(ColorAtRow(y, Height()));
                back_.Canvas()->FillRect(Rect(0, y, Width(), y + 1));
            }
        }
        return &back_;
    }
    bool BackDrawArea(TCanvas* canvas, const TRect& rect, const TPoint& point, WORD flags) override
    {
        ++areaRequests;
        if (!draws)
            return false;
        TBitmap* back = BackBitmap();
        canvas->CopyRect(rect, back->Canvas(),
                         Rect(point.x + rect.left, point.y + rect.top, point.x + rect.right, point.y + rect.bottom));
        return true;
    }
    TPoint BackMapPoint(const TPoint& point) override { return point; }

    int areaRequests = 0;
    // Whether it offers its cached background to the controls inside.
    bool lends = true;
    // Whether a request for the background draws it.
    bool draws = true;

protected:
    void Paint() override { Canvas()->Draw(0, 0, BackBitmap()); }

private:
    TBitmap back_;
};

class GraphicFixture : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        UserSetScreenSize(800, 600);
        ResetControlsState();
        SetThemeModuleState(TThemeModuleState::Inactive);
        SetMutexLockFolder(CheckoutTempFolder("oblgraphic-units"));
        OBLInitializeUnits();
        form_ = new TForm(nullptr);
        form_->SetBorderStyle(bsNone);
        form_->SetBounds(20, 20, 300, 200);
        form_->Show();
        Pump();
    }
    void TearDown() override
    {
        UserSetPopupMenuResponder(nullptr);
        FreeObject(form_);
        OBLFinalizeUnits();
        ResetControlsState();
        SetThemeModuleState(TThemeModuleState::Inactive);
        AppFixture::TearDown();
    }

    template <class T>
    T* Add(int left, int top, TWinControl* parent = nullptr)
    {
        auto* control = new T(form_);
        control->SetParent(parent ? parent : form_);
        control->SetLeft(left);
        control->SetTop(top);
        Pump();
        return control;
    }

    static TPoint ScreenPoint(TControl* control, int x, int y) { return control->ClientToScreen(Point(x, y)); }
    void MoveTo(TControl* control, int x, int y)
    {
        const TPoint p = ScreenPoint(control, x, y);
        UserInjectMouseMove(p.x, p.y);
        Pump();
    }
    void Press(TControl* control, int x, int y)
    {
        const TPoint p = ScreenPoint(control, x, y);
        UserInjectMouseButton(MouseButton::Left, true, p.x, p.y);
        Pump();
    }
    void Release(TControl* control, int x, int y)
    {
        const TPoint p = ScreenPoint(control, x, y);
        UserInjectMouseButton(MouseButton::Left, false, p.x, p.y);
        Pump();
    }
    void ClickAt(TControl* control, int x, int y)
    {
        MoveTo(control, x, y);
        Press(control, x, y);
        Release(control, x, y);
    }
    // Moves the mouse off every control (the form's far corner is outside them).
    void MoveAway() { MoveTo(form_, 295, 195); }

    // The form's pixel at a client point of the control, as painted.
    std::uint32_t PixelOf(TControl* control, int x, int y)
    {
        form_->Update();
        const TPoint p = form_->ScreenToClient(ScreenPoint(control, x, y));
        return UserWindowSurface(form_->Handle())->Pixel(p.x, p.y) & 0xFFFFFF;
    }

    TForm* form_ = nullptr;
    TempSystem system_;
    TEventLog log_;
};

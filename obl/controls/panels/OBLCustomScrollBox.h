// Unit OBLCustomScrollBox: the class library's scroll box with the library's bevel drawn in
// the non-client area, theme-aware borders, and a transparent mode in which the client area
// and the children take their background from the scroll box's parent (answered through
// the back-bitmap operations, as the panels answer them). While a transparent scroll box
// scrolls, its background is repainted only every Delta-th scroll message and when the
// scrolling ends; with SaveResources the children scrolled out of view give up their
// windows.
#pragma once

#include "obl/controls/graphic/OBLBackProvider.h"
#include "obl/controls/windowed/OBLBevel.h"
#include "obl/core/base/Oblbase.h"
#include "platform/classlib/Forms.h"

// The scroll box's bevel: the window's own edge (bmWindows) unless told otherwise.
class TOBLScrollBoxBevel : public TOBLBevel {
    VENDARO_CLASS(TOBLScrollBoxBevel, TOBLBevel)
public:
    TOBLScrollBoxBevel();

    static void Publish(TClassBuilder<TOBLScrollBoxBevel>& c);
};

class TOBLCustomScrollBox : public TScrollBox, public TOBLBackProvider {
    VENDARO_CLASS(TOBLCustomScrollBox, TScrollBox)
public:
    explicit TOBLCustomScrollBox(TComponent* AOwner);
    ~TOBLCustomScrollBox() override;

    const TOBLAboutVar& About() const { return about_; }
    void SetAbout(const TOBLAboutVar& Value) { about_ = Value; }
    TOBLScrollBoxBevel* Bevel() const { return bevel_.get(); }
    // Takes the other bevel's settings and tells itself with CM_OBLBEVELCHANGED.
    void SetBevel(TOBLBevel* Value);
    bool CtlXP() const { return ctlXP_; }
    void SetCtlXP(bool Value);
    bool Transparent() const { return transparent_; }
    // The window is made again: an opaque window erases what lies behind it.
    void SetTransparent(bool Value);
    bool ScrollRefresh() const { return scrollRefresh_; }
    void SetScrollRefresh(bool Value) { scrollRefresh_ = Value; }
    BYTE Delta() const { return delta_; }
    // 0 is ignored; another value restarts the count of scroll messages.
    void SetDelta(BYTE Value);
    bool SaveResources() const { return saveResources_; }
    void SetSaveResources(bool Value);
    TNotifyEvent OnPaint() const { return onPaint_; }
    void SetOnPaint(TNotifyEvent Value) { onPaint_ = Value; }
    TNotifyEvent OnScroll() const { return onScroll_; }
    void SetOnScroll(TNotifyEvent Value) { onScroll_ = Value; }

    bool VertScrollBarVisible();
    bool HorzScrollBarVisible();
    bool ScrollBarsVisible() { return VertScrollBarVisible() && HorzScrollBarVisible(); }
    // The bevel is the window's edge, drawn by the theme.
    bool UseXP();
    // Windowed children in view get their windows, those out of view lose them; the one
    // that holds the focus keeps its window wherever it is.
    void DestroyHandleForInvisibleControls();

    // A bevel change makes the window again (the frame is the bevel's); any other change
    // repaints frame and client.
    virtual void GetChange(TObject* Sender);
    // The background comes from the parent's cached picture.
    bool BackBitmapCheck() override;
    TBitmap* BackBitmap() override;
    // Copies the background under R of a child at P (client coordinates) onto Canvas.
    bool BackDrawArea(TCanvas* Canvas, const TRect& R, const TPoint& P, WORD Flags) override;
    // A client point in the coordinates of the parent's background.
    TPoint BackMapPoint(const TPoint& P) override;

    void WndProc(TMessage& Message) override;

    static void Publish(TClassBuilder<TOBLCustomScrollBox>& c);

protected:
    virtual void DoThemeChanged();
    virtual bool IsXPPartiallyTransparent() { return true; }
    virtual bool ControlSupportsXP() { return true; }
    virtual bool XPSupportsTransparency();
    virtual void GetXPBevelParams(AnsiString& ClassName, int& Part, int& State);
    bool CheckOptimized() { return transparent_ && BackBitmapCheck(); }
    TCanvas* Canvas() const { return canvas_.get(); }

    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    void PaintBevel();

    bool Loading() const { return ComponentState().Contains(csLoading); }
    bool Designing() const { return ComponentState().Contains(csDesigning); }

private:
    // Who lends the background: a parent that lends its own, or the form shape of a form
    // parent; nil without one, and while the parent has no window.
    TOBLBackProvider* ParentBackProvider();
    // The client area in the background's coordinates.
    TRect ClientInBack(TOBLBackProvider* Provider);
    // Where the client area starts within the window: half of what the frame takes, the
    // scroll bars (on the right and at the bottom) left out.
    TPoint ClientOffset();
    void BevelXP();
    void CalcSize(TMessage& Message);
    void EraseBackground(TMessage& Message);
    void NonClientPaint(TMessage& Message);
    void ClientPaint(TMessage& Message);
    void Scroll(TMessage& Message, TControlScrollBar* Bar);
    // Whether a scroll message lets the background be painted now (and paints it).
    bool ScrollRefreshDue(WORD Code);
    // Whether the windowed child holds the focus, itself or in one of its children.
    static bool HoldsFocus(TWinControl* Control);

    TOBLAboutVar about_;
    TOwned<TOBLScrollBoxBevel> bevel_;
    TOwned<TControlCanvas> canvas_;
    bool ctlXP_ = true;
    bool transparent_ = false;
    bool scrollRefresh_ = true;
    BYTE delta_ = 1;
    BYTE scrollCounter_ = 0;
    // A scroll message moved a bar since OnScroll last ran.
    bool scrollMoved_ = false;
    bool saveResources_ = false;
    bool paintedOnce_ = false;
    TNotifyEvent onPaint_, onScroll_;
};

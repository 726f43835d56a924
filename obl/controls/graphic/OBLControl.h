// Unit OBLControl: the base of the library's windowless controls, painted on their
// parent's canvas: mouse enter and exit events, a theme switch, a notification of bounds
// changes and the change handler of the settings objects a control owns.
#pragma once

#include "obl/core/base/Oblbase.h"
#include "platform/classlib/Controls.h"

// Sender, what changed.
using TOBLBoundsChangeEvent = TEvent<TObject*, TOBLBoundsChangeStates>;

class TOBLControl : public TGraphicControl {
    VENDARO_CLASS(TOBLControl, TGraphicControl)
public:
    explicit TOBLControl(TComponent* AOwner);
    ~TOBLControl() override;

    // Tells BoundsChange what moved or resized; nothing when nothing did or while loading.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    const TOBLAboutVar& About() const { return about_; }
    void SetAbout(const TOBLAboutVar& Value) { about_ = Value; }
    bool CtlXP() const { return ctlXP_; }
    void SetCtlXP(bool Value);
    // Themed painting: the control can, the application uses themes and CtlXP is set.
    bool UseXP();

    TNotifyEvent OnMouseEnter() const { return onMouseEnter_; }
    void SetOnMouseEnter(TNotifyEvent Value) { onMouseEnter_ = Value; }
    TNotifyEvent OnMouseExit() const { return onMouseExit_; }
    void SetOnMouseExit(TNotifyEvent Value) { onMouseExit_ = Value; }
    TOBLBoundsChangeEvent OnBoundsChange() const { return onBoundsChange_; }
    void SetOnBoundsChange(TOBLBoundsChangeEvent Value) { onBoundsChange_ = Value; }

    // The change handler hung on the owned settings objects: repaints unless loading.
    virtual void GetChange(TObject* Sender);
    // Nothing to show (descendants with a picture say otherwise).
    virtual bool GetEmpty() { return true; }

    void WndProc(TMessage& Message) override;

protected:
    virtual void DoThemeChanged();
    virtual bool ControlSupportsXP() { return false; }
    virtual void BoundsChange(TOBLBoundsChangeStates Changes);
    virtual void MouseEnter();
    virtual void MouseExit();

    bool Loading() const { return ComponentState().Contains(csLoading); }
    bool Designing() const { return ComponentState().Contains(csDesigning); }
    // The client rectangle in Color, solid brush, no pen.
    void FillControl();
    // The design-time outline of an empty control.
    void DrawDashedFrame();

private:
    TOBLAboutVar about_;
    TNotifyEvent onMouseEnter_, onMouseExit_;
    TOBLBoundsChangeEvent onBoundsChange_;
    bool ctlXP_ = false;
};

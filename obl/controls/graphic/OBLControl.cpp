#include "obl/controls/graphic/OBLControl.h"

#include "obl/core/app/oblclass.h"

TOBLControl::TOBLControl(TComponent* AOwner) : TGraphicControl(AOwner) {}

TOBLControl::~TOBLControl() = default;

void TOBLControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const TRect old = BoundsRect();
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (Loading())
        return;
    TOBLBoundsChangeStates changes;
    if (Left() != old.left || Top() != old.top)
        changes.Include(bcPos);
    if (Width() != old.right - old.left || Height() != old.bottom - old.top)
        changes.Include(bcSize);
    if (!changes.Empty())
        BoundsChange(changes);
}

void TOBLControl::BoundsChange(TOBLBoundsChangeStates Changes) { onBoundsChange_(this, Changes); }

void TOBLControl::SetCtlXP(bool Value)
{
    if (Value == ctlXP_)
        return;
    ctlXP_ = Value;
    DoThemeChanged();
}

void TOBLControl::DoThemeChanged()
{
    if (ControlSupportsXP())
        Repaint();
}

bool TOBLControl::UseXP() { return ControlSupportsXP() && OBLApplication && OBLApplication->UseXPThemes() && ctlXP_; }

void TOBLControl::MouseEnter()
{
    if (Enabled())
        onMouseEnter_(this);
}

void TOBLControl::MouseExit()
{
    if (Enabled())
        onMouseExit_(this);
}

void TOBLControl::GetChange(TObject* Sender)
{
    if (!Loading())
        Repaint();
}

void TOBLControl::FillControl()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->Pen()->SetStyle(psClear);
    canvas->FillRect(ClientRect());
}

void TOBLControl::DrawDashedFrame()
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(clBlack);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psDash);
    canvas->Pen()->SetMode(pmCopy);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(0, 0, Width(), Height());
}

void TOBLControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_MOUSEENTER:
        inherited::WndProc(Message);
        MouseEnter();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(Message);
        MouseExit();
        return;
    case CM_OBLTHEMECHANGED: DoThemeChanged(); return;
    default: inherited::WndProc(Message);
    }
}

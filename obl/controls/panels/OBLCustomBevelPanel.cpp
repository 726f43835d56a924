#include "obl/controls/panels/OBLCustomBevelPanel.h"

#include "platform/classlib/Forms.h"
#include "platform/win/user/User.h"

TOBLCustomBevelPanel::TOBLCustomBevelPanel(TComponent* AOwner) : TOBLCustomPanel(AOwner), bevel_(new TOBLBevel)
{
    bevel_->SetWindowsSupport(true);
    bevel_->SetOnChange(TNotifyEvent(static_cast<TOBLCustomControl*>(this), &TOBLCustomControl::GetChange));
}

TOBLCustomBevelPanel::~TOBLCustomBevelPanel()
{
    bevel_->SetOnChange(TNotifyEvent());
}

void TOBLCustomBevelPanel::SetBevel(TOBLBevel* Value)
{
    bevel_->Assign(Value);
    Perform(CM_OBLBEVELCHANGED, 0, 0);
}

TRect TOBLCustomBevelPanel::BeveledRect()
{
    return bevel_->ClientRect(ClientRect());
}

void TOBLCustomBevelPanel::AlignControls(TControl* AControl, TRect& Rect)
{
    Rect = bevel_->ClientRect(Rect);
    inherited::AlignControls(AControl, Rect);
}

void TOBLCustomBevelPanel::CreateParams(TCreateParams& Params)
{
    inherited::CreateParams(Params);
    if (WindowsBevel()) {
        if (NewStyleControls && Ctl3D())
            Params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            Params.Style |= WS_BORDER;
    }
    // The theme draws the border itself.
    if (UseXP()) {
        Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
        Params.Style &= ~static_cast<DWORD>(WS_BORDER);
    }
}

void TOBLCustomBevelPanel::GetChange(TObject* Sender)
{
    if (Loading()) return;
    if (Sender == bevel_.get()) BevelChanged();
    inherited::GetChange(nullptr);
}

void TOBLCustomBevelPanel::BevelChanged()
{
    bevel_->SetWindowsSupport(true);
    if (bevel_->GetRecreateWnd()) RecreateWnd();
    Realign();
}

bool TOBLCustomBevelPanel::GetEmpty()
{
    return bevel_->Ext() == 0 && !WindowsBevel();
}

void TOBLCustomBevelPanel::Paint()
{
    FillControl();
    if (Designing() && GetEmpty()) {
        DrawDashedFrame();
        return;
    }
    // Under the mouse a flat panel shows its bevel as well: a repaint keeps it.
    if (Focused() || !Flat() || Designing() || MouseAbove())
        bevel_->PaintBevel(Canvas(), ClientRect(), Transparent());
    else
        RestoreBorderBack();
}

void TOBLCustomBevelPanel::DoEnter()
{
    if (!Focused() && Flat()) RestoreBorderFront();
    inherited::DoEnter();
}

void TOBLCustomBevelPanel::MouseEnter()
{
    if (!Focused() && Flat() && !Entered()) RestoreBorderFront();
    inherited::MouseEnter();
}

void TOBLCustomBevelPanel::RestoreBorderFront()
{
    if (WindowsBevel()) {
        inherited::RestoreBorderFront();
        return;
    }
    // Only the 3D lines: the flat border areas keep what lies under them.
    bevel_->PaintBevel(Canvas(), ClientRect(), true);
}

void TOBLCustomBevelPanel::RestoreBorderBack()
{
    if (Focused() || !Flat() || MouseAbove()) return;
    if (WindowsBevel()) {
        inherited::RestoreBorderBack();
        return;
    }
    const int e = bevel_->Ext(), f = bevel_->ExtRightBottom(), w = Width(), h = Height();
    RepBack(Rect(0, 0, w, e));
    RepBack(Rect(0, e, e, h));
    RepBack(Rect(e, h - f - 1, w, h));
    RepBack(Rect(w - f, e, w, h - f));
}

void TOBLCustomBevelPanel::WndProc(TMessage& Message)
{
    // Ctl3D decides between client edge and border: the window is made again.
    if (Message.Msg == CM_CTL3DCHANGED && NewStyleControls && WindowsBevel() && !UseXP()) RecreateWnd();
    inherited::WndProc(Message);
}

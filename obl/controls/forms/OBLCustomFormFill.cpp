#include "obl/controls/forms/OBLCustomFormFill.h"

#include "platform/win/user/Messages.h"
#include "platform/win/user/User.h"

// The link tells of changes through the virtual reaction, so a descendant's override hears them.
TOBLCustomFormFill::TOBLCustomFormFill(TComponent* AOwner)
    : TOBLWndProcComponent(AOwner), picture_(this, TNotifyEvent(this, &TOBLCustomFormFill::ListChange))
{
}

// The hook goes before the picture link, so no message reaches a half-destroyed painter.
TOBLCustomFormFill::~TOBLCustomFormFill() { RestoreWndProc(); }

void TOBLCustomFormFill::SetDefaultFill(bool Value)
{
    if (Value == defaultFill_)
        return;
    defaultFill_ = Value;
    GetChange(nullptr);
}

void TOBLCustomFormFill::SetPaintMode(TOBLPaintMode Value)
{
    if (Value == paintMode_)
        return;
    paintMode_ = Value;
    GetChange(nullptr);
}

void TOBLCustomFormFill::GetChange(TObject* Sender)
{
    if (Enabled() && !ComponentState().Contains(csDesigning))
        Invalidate();
}

// Only a window that exists is invalidated: asking for the handle would create the
// form's window before its time.
void TOBLCustomFormFill::Invalidate()
{
    const auto* control = dynamic_cast<const TWinControl*>(Owner());
    if (control == nullptr || !control->HandleAllocated())
        return;
    if (HWND window = GetOwnerHandle())
        InvalidateRect(window, nullptr, TRUE);
}

void TOBLCustomFormFill::InvalidateWithoutErasing()
{
    if (HWND window = GetOwnerHandle())
        InvalidateRect(window, nullptr, FALSE);
}

TRect TOBLCustomFormFill::FormClientRect() const
{
    TCustomForm* form = GetOwnerForm();
    return form ? Rect(0, 0, form->ClientWidth(), form->ClientHeight()) : TRect{};
}

bool TOBLCustomFormFill::PaintClientArea(HDC DC)
{
    TCustomForm* form = GetOwnerForm();
    if (ComponentState().Contains(csLoading) || paintMode_ != pcOwnerDraw || !onPaint_ || form == nullptr)
        return false;
    // The canvas lets the DC go as it is freed, also when the handler raises.
    TCanvas canvas;
    canvas.SetHandle(DC);
    const TRect area = FormClientRect();
    if (defaultFill_) {
        canvas.Brush()->SetColor(form->Color());
        canvas.FillRect(area);
    }
    onPaint_(this, &canvas, area);
    return true;
}

void TOBLCustomFormFill::Init()
{
    inherited::Init();
    if (Enabled() && !ComponentState().Contains(csLoading))
        Invalidate();
}

void TOBLCustomFormFill::RestoreState()
{
    inherited::RestoreState();
    if (!ComponentState().Contains(csDestroying))
        Invalidate();
}

void TOBLCustomFormFill::WndProc(TMessage& Message)
{
    if (!Enabled()) {
        inherited::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_ERASEBKGND:
        if (PaintClientArea(reinterpret_cast<HDC>(Message.WParam))) {
            Message.Result = 1;
            return;
        }
        break;
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL: InvalidateWithoutErasing(); break;
    case WM_PALETTECHANGED: Invalidate(); break;
    default: break;
    }
    inherited::WndProc(Message);
}

void TOBLCustomFormFill::DefineProperties(TFiler* Filer)
{
    inherited::DefineProperties(Filer);
    picture_.DefineProperties(Filer);
}

void TOBLCustomFormFill::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    picture_.Notification(AComponent, Operation);
}

void TOBLCustomFormFill::Publish(TClassBuilder<TOBLCustomFormFill>& c)
{
    c.Property("About", &TOBLCustomFormFill::About, &TOBLCustomFormFill::SetAbout);
    c.Property("DefaultFill", &TOBLCustomFormFill::DefaultFill, &TOBLCustomFormFill::SetDefaultFill).Default(true);
    c.Property("Enabled", &TOBLCustomFormFill::Enabled, &TOBLCustomFormFill::SetEnabled).Default(true);
    c.Property("ImageList", &TOBLCustomFormFill::ImageList, &TOBLCustomFormFill::SetImageList)
        .Stored(&TOBLCustomFormFill::HasControl);
    c.Property("ImageIndex", &TOBLCustomFormFill::ImageIndex, &TOBLCustomFormFill::SetImageIndex).Default(0).ReadRange(0);
    c.Property("ListIndex", &TOBLCustomFormFill::ListIndex, &TOBLCustomFormFill::SetListIndex).Default(0).ReadRange(0);
    c.Property("PaintMode", &TOBLCustomFormFill::PaintMode, &TOBLCustomFormFill::SetPaintMode).Default(pcControl);
    c.Property("OnPaint", &TOBLCustomFormFill::OnPaint, &TOBLCustomFormFill::SetOnPaint);
}

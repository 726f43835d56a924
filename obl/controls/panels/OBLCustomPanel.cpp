#include "obl/controls/panels/OBLCustomPanel.h"

#include "obl/controls/shapes/OBLFormShape.h"
#include "platform/win/gdi/Gdi.h"

TOBLCustomPanel::TOBLCustomPanel(TComponent* AOwner) : TOBLCustomControl(AOwner)
{
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks,
                                  csReplicatable});
    // Made with a colour of its own: a description stores ParentColor only when it is set.
    SetColor(clBtnFace);
    SetDefaultParentColor(false);
}

void TOBLCustomPanel::Publish(TClassBuilder<TOBLCustomPanel>& c) { c.Redeclare("Color").Default(clBtnFace); }

TOBLBackProvider* TOBLCustomPanel::ParentBackProvider()
{
    TWinControl* parent = Parent();
    if (!parent || !parent->HandleAllocated()) return nullptr;
    if (auto* lender = dynamic_cast<TOBLBackProvider*>(parent)) return lender;
    const int shape = OBLCheckForFormComponent(parent, TOBLFormShape::StaticClass());
    return shape < 0 ? nullptr : dynamic_cast<TOBLBackProvider*>(parent->Components(shape));
}

bool TOBLCustomPanel::BackBitmapCheck()
{
    if (!Transparent()) return false;
    TOBLBackProvider* provider = ParentBackProvider();
    return provider && provider->BackBitmapCheck();
}

TBitmap* TOBLCustomPanel::BackBitmap()
{
    if (!BackBitmapCheck()) return nullptr;
    TBitmap* back = ParentBackProvider()->BackBitmap();
    // The effects work on 24-bit pixels.
    if (back && BackFX()->Enabled()) back->SetPixelFormat(pf24bit);
    return back;
}

TRect TOBLCustomPanel::ClientInBack(TOBLBackProvider* Provider)
{
    // A form shape's background is in the form's client coordinates already: it maps
    // points onto themselves.
    const TPoint origin = Provider->BackMapPoint(Point(Left(), Top()));
    TRect b = Rect(origin.x, origin.y, origin.x + ClientWidth(), origin.y + ClientHeight());
    OffsetRect(&b, (Width() - ClientWidth()) / 2, (Height() - ClientHeight()) / 2);
    return b;
}

TPoint TOBLCustomPanel::BackMapPoint(const TPoint& P)
{
    if (!BackBitmapCheck()) return P;
    const TRect b = ClientInBack(ParentBackProvider());
    return Point(b.left + P.x, b.top + P.y);
}

bool TOBLCustomPanel::BackDrawArea(TCanvas* Canvas, const TRect& R, const TPoint& P, WORD Flags)
{
    if (Loading() || ComponentState().Contains(csDestroying)) return false;
    TBitmap* back = BackBitmap();
    if (!back) return false;
    const TRect b = ClientInBack(ParentBackProvider());
    TRect s = R;
    OffsetRect(&s, b.left + P.x, b.top + P.y);
    if (BackFX()->Enabled() && !PassBackFX()) {
        // The processed picture covers the client area only: its own origin is B's.
        OffsetRect(&s, -b.left, -b.top);
        DrawThroughEffects(Canvas, R, s, b);
    } else {
        Canvas->CopyRect(R, back->Canvas(), s);
    }
    return true;
}

void TOBLCustomPanel::DrawThroughEffects(TCanvas* Canvas, const TRect& R, const TRect& S, const TRect& B)
{
    if (TBitmap* buffer = BackFX()->ValidBuffer()) {
        Canvas->CopyRect(R, buffer->Canvas(), S);
        return;
    }
    TBitmap processed;
    processed.SetPixelFormat(pf24bit);
    processed.SetSize(B.right - B.left + 2, B.bottom - B.top + 2);
    BackFX()->DrawCutRect2(BackBitmap(), B, processed.Canvas()->ClipRect(), &processed);
    Canvas->CopyRect(R, processed.Canvas(), S);
}

void TOBLCustomPanel::WndProc(TMessage& Message)
{
    inherited::WndProc(Message);
    // A new size leaves the processed background of the old one behind.
    if (Message.Msg == WM_SIZE) BackFX()->DestroyBuffer();
}

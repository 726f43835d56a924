#include "obl/controls/forms/OBLFormStyler.h"

#include "obl/core/app/Oblsysin.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/base/Oblxpstyles.h"
#include "obl/core/draw/Oblutils.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/User.h"

#include <algorithm>

namespace {

// The system paints gradient captions itself: Windows 98 and 2000, or a themed
// application. A theme library without the IsAppThemed entry counts as not themed.
bool SystemDrawsGradients()
{
    return OBLSIWindows98 || OBLSIWindows2000 || (XPThemesAvailable && IsAppThemed.Assigned() && IsAppThemed());
}

// The canvas is clipped to the rectangle while the handler paints, also when it raises.
void PaintClipped(TCanvas* canvas, const TRect& rect, const TOBLPaintEvent& handler, TObject* sender)
{
    HDC dc = canvas->Handle();
    HRGN clip = CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    SelectClipRgn(dc, clip);
    struct Unclip {
        HDC dc;
        HRGN clip;
        ~Unclip()
        {
            SelectClipRgn(dc, nullptr);
            DeleteObject(clip);
        }
    } unclip{dc, clip};
    handler(sender, canvas, rect);
}

UINT AlignmentFormat(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

// A pixel of a 24-bit row that differs from the same column of the top row.
bool DiffersFromTop(const BYTE* row, const BYTE* top, int x)
{
    return !std::equal(row + 3 * x, row + 3 * x + 3, top + 3 * x);
}

// The first column of the copied bar in which a pixel differs from the bar's top row: the
// icon's left edge; the width when there is none.
int FirstDrawnColumn(TBitmap* copy)
{
    const auto* top = static_cast<const BYTE*>(copy->ScanLine(0));
    int first = copy->Width();
    for (int y = 1; y < copy->Height(); ++y) {
        const auto* row = static_cast<const BYTE*>(copy->ScanLine(y));
        for (int x = 0; x < first; ++x)
            if (DiffersFromTop(row, top, x)) {
                first = x;
                break;
            }
    }
    return first;
}

} // namespace

TOBLFormStyler::TOBLFormStyler(TComponent* AOwner)
    : TOBLWndProcComponent(AOwner), font_(new TFont), font3D_(new TOBL3DCaption), iconBitmap_(new TBitmap),
      canvas_(new TCanvas)
{
    // One per form, at run time too: a second would take the first one's blank for the
    // form's caption and give that back. At design time the owner must be a form as well.
    const bool checked =
        ComponentState().Contains(csDesigning) || (AOwner && AOwner->InheritsFrom(TForm::StaticClass()));
    if (checked && OBLCheckForSameClass(AOwner, StaticClass(), false))
        throw OBLEOneInstError(ClassName(), 0);
    SetHookFormWindow(true);
    systemGradient_ = SystemDrawsGradients();
    font_->SetOnChange(TNotifyEvent(this, &TOBLFormStyler::GetChange));
    font3D_->SetOnChange(TNotifyEvent(this, &TOBLFormStyler::GetChange));
}

TOBLFormStyler::~TOBLFormStyler()
{
    RestoreWndProc();
    font_->SetOnChange(TNotifyEvent());
    font3D_->SetOnChange(TNotifyEvent());
}

// While the styler still knows its form: the form gets its caption and its own title bar
// back, unless the form itself goes.
void TOBLFormStyler::BeforeDestruction()
{
    TCustomForm* form = GetOwnerForm();
    if (form != nullptr && !form->ComponentState().Contains(csDestroying)) {
        RestoreWndProc();
        GiveFormCaption();
        RepaintFrame();
    }
    inherited::BeforeDestruction();
}

void TOBLFormStyler::Init()
{
    if (!Enabled())
        return;
    inherited::Init();
    if (!Hooked())
        return;
    HWND window = GetOwnerHandle();
    active_ = window != nullptr && GetActiveWindow() == window;
    HoldCaptionAsSet();
    if (!ComponentState().Contains(csLoading))
        PaintTitleBar(true);
}

void TOBLFormStyler::RestoreState()
{
    iconBitmap_->SetSize(0, 0);
    inherited::RestoreState();
    GiveFormCaption();
    if (!ComponentState().Contains(csDestroying))
        NCPaint();
}

// The real caption is read before the styler answers for it.
void TOBLFormStyler::TakeFormCaption()
{
    TCustomForm* form = GetOwnerForm();
    if (holdsCaption_ || form == nullptr)
        return;
    caption_ = form->Caption();
    form->SetCaption(" ");
    holdsCaption_ = true;
}

void TOBLFormStyler::GiveFormCaption()
{
    TCustomForm* form = GetOwnerForm();
    if (!holdsCaption_ || form == nullptr)
        return;
    holdsCaption_ = false;
    form->SetCaption(caption_);
}

void TOBLFormStyler::HoldCaptionAsSet()
{
    if (!Hooked())
        return;
    if (Has(fsUseFormCaption) || paintMode_ == pcNone)
        GiveFormCaption();
    else
        TakeFormCaption();
}

void TOBLFormStyler::GetChange(TObject* Sender)
{
    if (paintMode_ != pcNone && !Has(fsUseDefaultFont))
        PaintTitleBar(false);
}

// WM_NCACTIVATE in the form's present state: an inactive form keeps its inactive frame.
void TOBLFormStyler::RepaintFrame()
{
    TCustomForm* form = GetOwnerForm();
    if (form == nullptr || !form->HandleAllocated())
        return;
    HWND window = form->Handle();
    SendMessageA(window, WM_NCACTIVATE, GetActiveWindow() == window ? 1 : 0, 0);
}

void TOBLFormStyler::NCPaint()
{
    if (ValidOwner())
        RepaintFrame();
}

void TOBLFormStyler::ForceNCPaint()
{
    if (ValidOwner())
        PaintTitleBar(false);
}

void TOBLFormStyler::Repaint(bool Full)
{
    if (paintMode_ == pcNone)
        NCPaint();
    else
        PaintTitleBar(Full);
}

void TOBLFormStyler::SetAlignment(TAlignment Value)
{
    if (Value == alignment_)
        return;
    alignment_ = Value;
    if (paintMode_ != pcNone)
        PaintTitleBar(false);
}

void TOBLFormStyler::SetCaption(const AnsiString& Value)
{
    if (Value == caption_)
        return;
    caption_ = Value;
    if (paintMode_ != pcNone)
        PaintTitleBar(false);
}

void TOBLFormStyler::SetColors(TOBLColorCount Value)
{
    Value = std::clamp<TOBLColorCount>(Value, 2, 236);
    if (Value == colors_)
        return;
    colors_ = Value;
    if (paintMode_ == pcControl)
        PaintTitleBar(false);
}

// Switching fsUseFormCaption or pcNone while hooked hands the caption over, so it is
// never lost.
void TOBLFormStyler::SetOptions(TOBLFormStyleOptions Value)
{
    if (Value == options_)
        return;
    options_ = Value;
    HoldCaptionAsSet();
    Repaint(true);
}

void TOBLFormStyler::SetPaintMode(TOBLPaintMode Value)
{
    if (Value == paintMode_)
        return;
    paintMode_ = Value;
    HoldCaptionAsSet();
    Repaint(true);
}

void TOBLFormStyler::WndProc(TMessage& Message)
{
    if (!Enabled() || paintMode_ == pcNone || OwnerDestroying()) {
        inherited::WndProc(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        if (!holdsCaption_)
            break;
        AnswerText(Message);
        return;
    case WM_NCPAINT:
        CallSavedProc(Message);
        if (PaintsAfterFrame())
            PaintAfterFrame(true);
        Message.Result = 0;
        return;
    case WM_NCACTIVATE:
        active_ = Message.WParam != 0;
        CallSavedProc(Message);
        if (PaintsAfterFrame())
            PaintAfterFrame(false);
        Message.Result = 1;
        return;
    default: break;
    }
    inherited::WndProc(Message);
}

// The window's caption is one blank. WM_GETTEXT copies no more than the buffer holds,
// the terminating NUL included, and answers the characters copied.
void TOBLFormStyler::AnswerText(TMessage& Message)
{
    if (Message.Msg == WM_GETTEXTLENGTH) {
        Message.Result = 1;
        return;
    }
    char* buffer = reinterpret_cast<char*>(Message.LParam);
    const WPARAM size = buffer ? Message.WParam : 0;
    Message.Result = size >= 2 ? 1 : 0;
    if (size >= 2)
        buffer[0] = ' ';
    if (size >= 1)
        buffer[Message.Result] = '\0';
}

bool TOBLFormStyler::CanPaint()
{
    TCustomForm* form = GetOwnerForm();
    if (form == nullptr || ComponentState().Contains(csDesigning) || !Enabled() || paintMode_ == pcNone || painting_)
        return false;
    if (!form->HandleAllocated())
        return false;
    HWND window = form->Handle();
    if (!IsWindow(window) || !IsWindowVisible(window) || (IsIconic(window) && !NewStyleControls))
        return false;
    return !(systemGradient_ && Has(fsCheckSystemGradient) && OBLSIColorDepth() > 8);
}

void TOBLFormStyler::PaintAfterFrame(bool Full)
{
    afterFrame_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{afterFrame_};
    PaintTitleBar(Full);
}

void TOBLFormStyler::PaintTitleBar(bool Full)
{
    if (!CanPaint())
        return;
    // Over the window's own inactive bar only the held caption is drawn, and only on a
    // fresh one: the window paints its frame again first, then the caption comes.
    if (!PaintsNow() && !afterFrame_) {
        if (holdsCaption_)
            RepaintFrame();
        return;
    }
    TCustomForm* form = GetOwnerForm();
    if (Has(fsUseFormCaption))
        caption_ = form->Caption();
    HWND window = form->Handle();
    HDC dc = GetWindowDC(window);
    if (dc == nullptr)
        return;
    painting_ = true;
    canvas_->SetHandle(dc);
    struct Release {
        TOBLFormStyler* styler;
        HWND window;
        HDC dc;
        ~Release()
        {
            styler->canvas_->SetHandle(nullptr);
            ReleaseDC(window, dc);
            styler->painting_ = false;
        }
    } release{this, window, dc};

    WORD flags = OBLNC_CAPTIONTOTEXTEND;
    if (paintMode_ == pcOwnerDraw && Has(fsAdjustRect))
        flags |= OBLNC_CAPTIONTOTEXTSTART;
    if (form->BorderStyle() == bsSingle)
        flags |= OBLNC_FORCEICON;
    RECT bar{}, text{};
    OBLNCCalcDrawingArea(window, bar, text, flags);
    PaintArea(bar, text, flags, Full);
    PaintText(text, (flags & OBLNC_SMALLCAPTION) != 0);
}

void TOBLFormStyler::PaintArea(const TRect& Bar, const TRect& Text, WORD AreaFlags, bool Full)
{
    // An inactive bar without the inactive gradient stays the window's own.
    if (!PaintsNow())
        return;
    if (paintMode_ == pcOwnerDraw) {
        if (onPaint_)
            PaintClipped(canvas_.get(), Bar, onPaint_, this);
        return;
    }
    const bool icon = (AreaFlags & OBLNC_CAPTIONICON) != 0;
    const int iconWidth = Text.left - Bar.left, iconHeight = Bar.bottom - Bar.top;
    if (icon && Full && iconWidth > 0 && iconHeight > 0) {
        iconBitmap_->SetPixelFormat(pf24bit);
        iconBitmap_->SetSize(iconWidth, iconHeight);
        iconBitmap_->Canvas()->CopyRect(Rect(0, 0, iconWidth, iconHeight), canvas_.get(),
                                        Rect(Bar.left, Bar.top, Text.left, Bar.bottom));
    }
    OBLGradientPaint(canvas_.get(), Bar, clBlack, active_ ? clActiveCaption : clInactiveCaption, colors_,
                     gstHorizontal, 0, 0);
    if (icon && NewStyleControls && !iconBitmap_->Empty())
        DrawIconBack(Rect(Bar.left, Bar.top, Bar.left + iconBitmap_->Width(), Bar.top + iconBitmap_->Height()));
}

// The copy holds the icon on the window's own bar, which may be a gradient of its own, so
// one transparent colour (its corner pixel) would bring a box of that bar back over the
// styled one. The icon leaves the top row of the bar free: each column's top pixel is the
// window's bar in that column, and the pixels that differ from it are put back, within the
// icon's width from its left edge. The window's own caption text (the form's caption with
// fsUseFormCaption) may begin inside the copy and so stays out.
void TOBLFormStyler::DrawIconBack(const TRect& Place)
{
    const int width = iconBitmap_->Width(), height = iconBitmap_->Height();
    TBitmap styled;
    styled.SetPixelFormat(pf24bit);
    styled.SetSize(width, height);
    styled.Canvas()->CopyRect(Rect(0, 0, width, height), canvas_.get(), Place);
    const int first = FirstDrawnColumn(iconBitmap_.get());
    const int end = std::min(width, first + OBLNCCAPTIONICONWIDTH());
    const auto* top = static_cast<const BYTE*>(iconBitmap_->ScanLine(0));
    for (int y = 0; y < height; ++y) {
        const auto* from = static_cast<const BYTE*>(iconBitmap_->ScanLine(y));
        auto* to = static_cast<BYTE*>(styled.ScanLine(y));
        for (int x = first; x < end; ++x)
            if (DiffersFromTop(from, top, x))
                std::copy(from + 3 * x, from + 3 * x + 3, to + 3 * x);
    }
    canvas_->CopyRect(Place, styled.Canvas(), Rect(0, 0, width, height));
}

// The system's caption font, bold, or the stock system font on old-style shells.
void TOBLFormStyler::SelectCaptionFont(bool SmallCaption)
{
    TFont* font = canvas_->Font();
    if (!NewStyleControls) {
        font->SetHandle(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
        return;
    }
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        font->Assign(font_.get());
        return;
    }
    const LOGFONTA& caption = SmallCaption ? metrics.lfSmCaptionFont : metrics.lfCaptionFont;
    font->SetName(caption.lfFaceName);
    font->SetHeight(caption.lfHeight);
    font->SetStyle(TFontStyles{fsBold});
}

void TOBLFormStyler::PaintText(const TRect& Text, bool SmallCaption)
{
    const bool defaultFont = Has(fsUseDefaultFont);
    if (defaultFont) {
        SelectCaptionFont(SmallCaption);
        if (!NewStyleControls)
            canvas_->Font()->SetHeight(Text.bottom - Text.top);
    } else {
        canvas_->Font()->Assign(font_.get());
    }
    canvas_->Brush()->SetStyle(bsClear);
    if (!active_)
        canvas_->Font()->SetColor(clInactiveCaptionText);
    else if (defaultFont || !Has(fsUseFontColor))
        canvas_->Font()->SetColor(ColorToRGB(clCaptionText) == 0 ? clWhite : clCaptionText);

    if (Has(fsDrawCaptionEvent) || paintMode_ == pcOwnerDraw) {
        if (onCaptionPaint_)
            PaintClipped(canvas_.get(), Text, onCaptionPaint_, this);
        return;
    }
    // The window draws its own inactive caption.
    if (!active_ && Has(fsUseFormCaption) && !Has(fsInactiveGradient))
        return;
    const UINT format = AlignmentFormat(alignment_) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    if (defaultFont) {
        RECT r = Text;
        DrawTextA(canvas_->Handle(), caption_.c_str(), caption_.Length(), &r, format);
    } else {
        OBLDrawTextExt(canvas_.get(), caption_, font3D_.get(), Text, static_cast<int>(format),
                       TOBLDrawTextStyles{dtEnabled, dtClip}, nullptr);
    }
}

void TOBLFormStyler::Publish(TClassBuilder<TOBLFormStyler>& c)
{
    c.Property("About", &TOBLFormStyler::About, &TOBLFormStyler::SetAbout);
    c.Property("Alignment", &TOBLFormStyler::Alignment, &TOBLFormStyler::SetAlignment).Default(taLeftJustify);
    c.Property("Colors", &TOBLFormStyler::Colors, &TOBLFormStyler::SetColors).Default(32);
    c.Property("Enabled", &TOBLFormStyler::Enabled, &TOBLFormStyler::SetEnabled).Default(true);
    c.Property("Font", &TOBLFormStyler::Font, &TOBLFormStyler::SetFont);
    c.Property("Font3D", &TOBLFormStyler::Font3D, &TOBLFormStyler::SetFont3D);
    c.Property("PaintMode", &TOBLFormStyler::PaintMode, &TOBLFormStyler::SetPaintMode).Default(pcControl);
    c.Property("Options", &TOBLFormStyler::Options, &TOBLFormStyler::SetOptions).Default(OBLDefaultFormStyleOptions);
    c.Property("OnPaint", &TOBLFormStyler::OnPaint, &TOBLFormStyler::SetOnPaint);
    c.Property("OnCaptionPaint", &TOBLFormStyler::OnCaptionPaint, &TOBLFormStyler::SetOnCaptionPaint);
}

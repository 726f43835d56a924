// TCanvas: drawing through a device context with the canvas's pen, brush and font, each
// realised into the context only when a call needs it.
#include "platform/classlib/Graphics.h"

TCanvas::TCanvas()
    : font_(new TFont), pen_(new TPen), brush_(new TBrush)
{
    font_->SetOnChange(TNotifyEvent(this, &TCanvas::FontChanged));
    pen_->SetOnChange(TNotifyEvent(this, &TCanvas::PenChanged));
    brush_->SetOnChange(TNotifyEvent(this, &TCanvas::BrushChanged));
}

TCanvas::~TCanvas()
{
    SetHandle(nullptr);
}

void TCanvas::Publish(TClassBuilder<TCanvas>& c)
{
    c.Property("Brush", &TCanvas::Brush, &TCanvas::SetBrush);
    c.Property("CopyMode", &TCanvas::CopyMode, &TCanvas::SetCopyMode).Default(cmSrcCopy);
    c.Property("Font", &TCanvas::Font, &TCanvas::SetFont);
    c.Property("Pen", &TCanvas::Pen, &TCanvas::SetPen);
}

HDC TCanvas::Handle()
{
    Changing();
    RequiredState(csAllValid);
    return handle_;
}

void TCanvas::SetHandle(HDC value)
{
    if (handle_ == value)
        return;
    if (handle_) {
        DeselectHandles();
        penPos_ = PenPos();
        handle_ = nullptr;
        state_.Exclude(csHandleValid);
    }
    if (value) {
        handle_ = value;
        state_.Include(csHandleValid);
        MoveToEx(handle_, penPos_.x, penPos_.y, nullptr);
    }
}

void TCanvas::RequiredState(TCanvasState required)
{
    TCanvasState needed = required - state_;
    if (needed.Empty())
        return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!handle_)
            throw EInvalidOperation(SNoCanvasHandle);
        state_.Include(csHandleValid);
    }
    if (needed.Contains(csFontValid))
        RealiseFont();
    if (needed.Contains(csPenValid))
        RealisePen();
    if (needed.Contains(csBrushValid))
        RealiseBrush();
}

void TCanvas::RealiseFont()
{
    originalFont_ = SelectObject(handle_, font_->Handle());
    SetTextColor(handle_, ColorToRGB(font_->Color()));
    state_.Include(csFontValid);
}

void TCanvas::RealisePen()
{
    originalPen_ = SelectObject(handle_, pen_->Handle());
    SetROP2(handle_, PenModeToRop2(pen_->Mode()));
    state_.Include(csPenValid);
}

void TCanvas::RealiseBrush()
{
    originalBrush_ = SelectObject(handle_, brush_->Handle());
    COLORREF color = ColorToRGB(brush_->Color()) & 0xFFFFFF;
    if (brush_->Style() == bsSolid) {
        SetBkColor(handle_, color);
        SetBkMode(handle_, OPAQUE);
    } else {
        // Hatch gaps and text cells stay untouched.
        SetBkColor(handle_, ~color & 0xFFFFFF);
        SetBkMode(handle_, TRANSPARENT);
    }
    state_.Include(csBrushValid);
}

void TCanvas::Deselect(TCanvasStates which, HGDIOBJ& original)
{
    if (!state_.Contains(which))
        return;
    if (handle_ && original)
        SelectObject(handle_, original);
    original = nullptr;
    state_.Exclude(which);
}

void TCanvas::DeselectHandles()
{
    Deselect(csFontValid, originalFont_);
    Deselect(csPenValid, originalPen_);
    Deselect(csBrushValid, originalBrush_);
}

void TCanvas::FontChanged(TObject*)
{
    Deselect(csFontValid, originalFont_);
}

void TCanvas::PenChanged(TObject*)
{
    Deselect(csPenValid, originalPen_);
}

void TCanvas::BrushChanged(TObject*)
{
    Deselect(csBrushValid, originalBrush_);
}

void TCanvas::Changing()
{
    onChanging_(this);
}

void TCanvas::Changed()
{
    onChange_(this);
}

void TCanvas::Lock()
{
    lock_.lock();
    ++lockCount_;
}

void TCanvas::Unlock()
{
    --lockCount_;
    lock_.unlock();
}

bool TCanvas::TryLock()
{
    if (!lock_.try_lock())
        return false;
    ++lockCount_;
    return true;
}

TPoint TCanvas::PenPos()
{
    if (!handle_)
        return penPos_;
    POINT p{0, 0};
    GetCurrentPositionEx(handle_, &p);
    return p;
}

TColor TCanvas::Pixels(int x, int y)
{
    RequiredState({csHandleValid});
    return static_cast<TColor>(GetPixel(handle_, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor value)
{
    Changing();
    RequiredState({csHandleValid, csPenValid});
    SetPixel(handle_, x, y, ColorToRGB(value));
    Changed();
}

TRect TCanvas::ClipRect()
{
    RequiredState({csHandleValid});
    TRect r{0, 0, 0, 0};
    GetClipBox(handle_, &r);
    return r;
}

void TCanvas::MoveTo(int x, int y)
{
    RequiredState({csHandleValid});
    MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::LineTo(handle_, x, y);
    Changed();
}

void TCanvas::Polyline(const TPoint* points, int count)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Polyline(handle_, points, count);
    Changed();
}

void TCanvas::Polygon(const TPoint* points, int count)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Polygon(handle_, points, count);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Rectangle(handle_, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::RoundRect(handle_, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Ellipse(handle_, x1, y1, x2, y2);
    Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Arc(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Pie(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Chord(handle_, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::FillRect(const TRect& r)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FillRect(handle_, &r, brush_->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FrameRect(handle_, &r, brush_->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r)
{
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::DrawFocusRect(handle_, &r);
    Changed();
}

void TCanvas::TextOut(int x, int y, const AnsiString& text)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    ExtTextOutA(handle_, x, y, static_cast<UINT>(textFlags_), nullptr, text.c_str(), static_cast<UINT>(text.Length()), nullptr);
    MoveTo(x + TextWidth(text), y);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const AnsiString& text)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    UINT options = ETO_CLIPPED | static_cast<UINT>(textFlags_);
    if (brush_->Style() != bsClear)
        options |= ETO_OPAQUE;
    ExtTextOutA(handle_, x, y, options, &r, text.c_str(), static_cast<UINT>(text.Length()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(const AnsiString& text)
{
    RequiredState({csHandleValid, csFontValid});
    SIZE size{0, 0};
    GetTextExtentPoint32A(handle_, text.c_str(), text.Length(), &size);
    return size;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    StretchDraw(Rect(x, y, x + graphic->Width(), y + graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    Changing();
    RequiredState({csHandleValid});
    // Monochrome images draw in the brush and font colours.
    SetBkColor(handle_, ColorToRGB(brush_->Color()) & 0xFFFFFF);
    SetTextColor(handle_, ColorToRGB(font_->Color()) & 0xFFFFFF);
    graphic->Draw(this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source)
{
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    canvas->RequiredState({csHandleValid, csBrushValid});
    StretchBlt(handle_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, canvas->handle_,
               source.left, source.top, source.right - source.left, source.bottom - source.top,
               static_cast<DWORD>(copyMode_));
    Changed();
}

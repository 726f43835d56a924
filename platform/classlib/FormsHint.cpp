// The hint window and the application's hint timing.
#include "platform/classlib/Forms.h"

#include "platform/win/kernel/SystemMetrics.h"

#include <algorithm>

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner)
{
    SetColor(clInfoBk);
    Font()->SetColor(clInfoText);
    SetDefaultVisible(false);
}

void THintWindow::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.WndParent = nullptr;
    params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const AnsiString& hint)
{
    TRect r = Rect(0, 0, maxWidth, 0);
    Canvas()->SetFont(Font());
    HDC dc = Canvas()->Handle();
    DrawTextA(dc, hint.c_str(), hint.Length(), &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    r.right += 6;
    r.bottom += 2;
    return r;
}

void THintWindow::ActivateHint(TRect rect, const AnsiString& hint)
{
    SetCaption(hint);
    int sw = GetSystemMetrics(SM_CXSCREEN);
    if (rect.right > sw)
        OffsetRect(&rect, sw - rect.right, 0);
    SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, width_, height_, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::Paint()
{
    TRect r = ClientRect();
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
    r.left += 2;
    r.top += 1;
    Canvas()->SetFont(Font());
    HDC dc = Canvas()->Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    AnsiString text = Caption();
    DrawTextA(dc, text.c_str(), text.Length(), &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

// ---------------------------------------------------------------------------------------
// TApplication's hints

void TApplication::SetShowHint(bool v)
{
    showHint_ = v;
    if (!v)
        HideHint();
}

void TApplication::HideHint()
{
    if (handle_)
        KillTimer(handle_, kHintTimer);
    if (hintWindow_ && hintWindow_->HandleAllocated())
        ShowWindow(hintWindow_->Handle(), SW_HIDE);
}

void TApplication::MouseControlChanged(TControl* control)
{
    HideHint();
    hintControl_ = control;
    hint_ = control ? control->Hint() : AnsiString();
    if (showHint_ && control && control->ShowHint() && !control->Hint().IsEmpty())
        SetTimer(Handle(), kHintTimer, static_cast<UINT>(hintPause_), nullptr);
}

void TApplication::ShowHintFor(TControl* control)
{
    if (!control || control != MouseControl())
        return;
    if (!hintWindow_)
        hintWindow_ = new THintWindow(this);
    TPoint cursor{};
    GetCursorPos(&cursor);
    TRect r = hintWindow_->CalcHintRect(300, control->Hint());
    OffsetRect(&r, cursor.x, cursor.y + 20);
    hintWindow_->ActivateHint(r, control->Hint());
}

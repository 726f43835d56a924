// Classic frames, caption bar and scroll-bar areas: sizes, hit testing and painting.
#include "platform/win/user/NonClient.h"

#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/WindowObject.h"

#include <algorithm>
#include <vector>

namespace {

bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }
bool IsToolWindow(DWORD exStyle) { return (exStyle & WS_EX_TOOLWINDOW) != 0; }
// A dialog frame shows no icon in its title bar (its window menu still opens on Alt+Space).
bool ShowsIcon(const WindowObject& w) {
    return (w.style & WS_SYSMENU) && !IsToolWindow(w.exStyle) && !(w.exStyle & WS_EX_DLGMODALFRAME);
}

int FrameWidth(DWORD style, DWORD exStyle) {
    if (style & WS_THICKFRAME)
        return SizingFrameWidth();
    if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        return DialogFrameWidth();
    return (style & WS_BORDER) ? BorderWidth() : 0;
}

int EdgeWidth(DWORD exStyle) {
    return ((exStyle & WS_EX_CLIENTEDGE) ? ClientEdgeWidth() : 0) + ((exStyle & WS_EX_STATICEDGE) ? StaticEdgeWidth() : 0);
}

int CaptionBarHeight(DWORD exStyle) { return IsToolWindow(exStyle) ? SmallCaptionHeight() : CaptionHeight(); }

// Caption bar (window coordinates), without the separating line below it.
RECT CaptionRect(const WindowObject& w) {
    const int frame = FrameWidth(w.style, w.exStyle);
    return {frame, frame, w.Width() - frame, frame + CaptionBarHeight(w.exStyle) - 1};
}

bool Inside(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

LRESULT SizingBorderHit(const WindowObject& w, POINT p) {
    const int corner = CaptionHeight();
    const bool left = p.x < SizingFrameWidth(), right = p.x >= w.Width() - SizingFrameWidth();
    const bool top = p.y < SizingFrameWidth(), bottom = p.y >= w.Height() - SizingFrameWidth();
    const bool nearLeft = p.x < corner, nearRight = p.x >= w.Width() - corner;
    const bool nearTop = p.y < corner, nearBottom = p.y >= w.Height() - corner;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
    return HTNOWHERE;
}

LRESULT CaptionHit(HWND window, const WindowObject& w, POINT p) {
    for (LRESULT button : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON})
        if (Inside(UserCaptionButtonRect(window, button), p))
            return button;
    if (ShowsIcon(w)) {
        const RECT caption = CaptionRect(w);
        if (p.x < caption.left + CaptionButtonWidth() + 2)
            return HTSYSMENU;
    }
    return HTCAPTION;
}

COLORREF Mix(COLORREF a, COLORREF b, int step, int steps) {
    auto channel = [&](BYTE x, BYTE y) { return static_cast<BYTE>(x + (static_cast<int>(y) - x) * step / std::max(steps, 1)); };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)), channel(GetBValue(a), GetBValue(b)));
}

void FillColour(HDC dc, const RECT& r, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void PaintFrame(HDC dc, const WindowObject& w) {
    RECT r{0, 0, w.Width(), w.Height()};
    const int frame = FrameWidth(w.style, w.exStyle);
    if (frame == BorderWidth()) {
        HBRUSH brush = GetSysColorBrush(COLOR_WINDOWFRAME);
        FrameRect(dc, &r, brush);
        return;
    }
    if (frame == 0)
        return;
    DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST);
    const int colour = (w.style & WS_THICKFRAME) ? COLOR_ACTIVEBORDER : COLOR_BTNFACE;
    for (int i = 2; i < frame; ++i) {
        FrameRect(dc, &r, GetSysColorBrush(i == frame - 1 ? COLOR_BTNFACE : colour));
        InflateRect(&r, -1, -1);
    }
}

// The window icon drawn as a small generic application glyph when the class has none.
void PaintIcon(HDC dc, const WindowObject& w, const RECT& caption) {
    const int size = 16;
    const int top = caption.top + (caption.bottom - caption.top - size) / 2;
    const int left = caption.left + 2;
    if (w.cls && w.cls->icon) {
        DrawIconEx(dc, left, top, w.cls->icon, size, size, 0, nullptr, DI_NORMAL);
        return;
    }
    RECT outer{left + 1, top + 2, left + size - 1, top + size - 2};
    FillColour(dc, outer, RGB(255, 255, 255));
    FrameRect(dc, &outer, GetSysColorBrush(COLOR_WINDOWTEXT));
    RECT bar{outer.left + 1, outer.top + 1, outer.right - 1, outer.top + 4};
    FillColour(dc, bar, RGB(0, 0, 128));
}

HFONT CreateTitleFont(DWORD exStyle) {
    return CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH, IsToolWindow(exStyle) ? "Small Fonts" : "MS Sans Serif");
}

void PaintTitle(HDC dc, const WindowObject& w, const RECT& caption, bool active, int textLeft, int textRight) {
    if (w.text.IsEmpty() || textRight <= textLeft)
        return;
    HFONT font = CreateTitleFont(w.exStyle);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT text{textLeft, caption.top, textRight, caption.bottom};
    DrawTextA(dc, w.text.c_str(), w.text.Length(), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

void PaintCaption(HDC dc, HWND window, const WindowObject& w, bool active) {
    const RECT caption = CaptionRect(w);
    const COLORREF from = GetSysColor(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    const COLORREF to = GetSysColor(active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
    std::vector<COLORREF> columns;
    for (int x = 0, width = caption.right - caption.left; x < width; ++x)
        columns.push_back(Mix(from, to, x, width - 1));
    GdiFillColumns(dc, &caption, columns.data());
    RECT line{caption.left, caption.bottom, caption.right, caption.bottom + 1};
    FillColour(dc, line, GetSysColor(COLOR_BTNFACE));
    int textLeft = caption.left + 2;
    if (ShowsIcon(w)) {
        PaintIcon(dc, w, caption);
        textLeft = caption.left + CaptionButtonWidth() + 4;
    }
    int textRight = caption.right - 2;
    struct Button { LRESULT hit; UINT kind; };
    for (Button b : {Button{HTCLOSE, DFCS_CAPTIONCLOSE}, Button{HTMAXBUTTON, DFCS_CAPTIONMAX}, Button{HTMINBUTTON, DFCS_CAPTIONMIN}}) {
        RECT r = UserCaptionButtonRect(window, b.hit);
        if (r.right <= r.left)
            continue;
        const UINT kind = (b.hit == HTMAXBUTTON && (w.style & WS_MAXIMIZE)) ? DFCS_CAPTIONRESTORE : b.kind;
        DrawFrameControl(dc, &r, DFC_CAPTION, kind | (UserCaptionButtonEnabled(window, b.hit) ? 0 : DFCS_INACTIVE));
        textRight = std::min<int>(textRight, r.left - 2);
    }
    PaintTitle(dc, w, caption, active, textLeft, textRight);
}

void PaintScrollBar(HDC dc, HWND window, const RECT& bar, bool vertical) {
    WindowObject* w = UserFindWindow(window);
    const bool disabled = w->scroll[vertical ? SB_VERT : SB_HORZ].disabled;
    FillRect(dc, &bar, GetSysColorBrush(COLOR_SCROLLBAR));
    const int size = ScrollArrowSize(vertical);
    RECT first = vertical ? RECT{bar.left, bar.top, bar.right, bar.top + size} : RECT{bar.left, bar.top, bar.left + size, bar.bottom};
    RECT last = vertical ? RECT{bar.left, bar.bottom - size, bar.right, bar.bottom} : RECT{bar.right - size, bar.top, bar.right, bar.bottom};
    const UINT inactive = disabled ? DFCS_INACTIVE : 0;
    DrawFrameControl(dc, &first, DFC_SCROLL, (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive);
    DrawFrameControl(dc, &last, DFC_SCROLL, (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive);
    RECT thumb = UserScrollThumbRect(window, vertical ? SB_VERT : SB_HORZ);
    if (thumb.right > thumb.left && thumb.bottom > thumb.top)
        DrawFrameControl(dc, &thumb, DFC_BUTTON, DFCS_BUTTONPUSH);
}

void PaintScrollBars(HDC dc, HWND window, const WindowObject& w) {
    const RECT c = w.client;
    const int width = ScrollBarSize(true), height = ScrollBarSize(false);
    if (w.style & WS_VSCROLL)
        PaintScrollBar(dc, window, RECT{c.right, c.top, c.right + width, c.bottom}, true);
    if (w.style & WS_HSCROLL)
        PaintScrollBar(dc, window, RECT{c.left, c.bottom, c.right, c.bottom + height}, false);
    if ((w.style & WS_VSCROLL) && (w.style & WS_HSCROLL)) {
        RECT corner{c.right, c.bottom, c.right + width, c.bottom + height};
        FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
    }
}

}  // namespace

int BorderWidth() { return GetSystemMetrics(SM_CXBORDER); }
int DialogFrameWidth() { return GetSystemMetrics(SM_CXDLGFRAME); }
int SizingFrameWidth() { return GetSystemMetrics(SM_CXFRAME); }
int ClientEdgeWidth() { return GetSystemMetrics(SM_CXEDGE); }
int StaticEdgeWidth() { return GetSystemMetrics(SM_CXBORDER); }
int CaptionHeight() { return GetSystemMetrics(SM_CYCAPTION); }
int SmallCaptionHeight() { return GetSystemMetrics(SM_CYSMCAPTION); }
int CaptionButtonWidth() { return GetSystemMetrics(SM_CXSIZE) - 2; }
int CaptionButtonHeight() { return GetSystemMetrics(SM_CYSIZE) - 4; }
int SmallCaptionButtonSize() { return GetSystemMetrics(SM_CXSMSIZE); }
int ScrollBarSize(bool vertical) { return GetSystemMetrics(vertical ? SM_CXVSCROLL : SM_CYHSCROLL); }
int ScrollArrowSize(bool vertical) { return GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL); }

RECT UserDefaultClientRect(DWORD style, DWORD exStyle, const RECT& window) {
    RECT r = window;
    const int inset = FrameWidth(style, exStyle) + EdgeWidth(exStyle);
    r.left += inset;
    r.top += inset;
    r.right -= inset;
    r.bottom -= inset;
    if (HasCaption(style))
        r.top += CaptionBarHeight(exStyle);
    if (style & WS_VSCROLL)
        r.right -= ScrollBarSize(true);
    if (style & WS_HSCROLL)
        r.bottom -= ScrollBarSize(false);
    r.right = std::max(r.right, r.left);
    r.bottom = std::max(r.bottom, r.top);
    return r;
}

bool UserCaptionButtonEnabled(HWND window, LRESULT hit) {
    const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    if (hit == HTMINBUTTON)
        return (style & WS_MINIMIZEBOX) != 0;
    if (hit == HTMAXBUTTON)
        return (style & WS_MAXIMIZEBOX) != 0;
    return hit == HTCLOSE;
}

int UserCaptionMinimumWidth(DWORD style, DWORD exStyle, const AnsiString& text) {
    if (!HasCaption(style))
        return 0;
    HDC dc = GetDC(nullptr);
    HFONT font = CreateTitleFont(exStyle);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), text.Length(), &extent);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    WindowObject probe;
    probe.style = style;
    probe.exStyle = exStyle;
    const int left = ShowsIcon(probe) ? CaptionButtonWidth() + 4 : 2;
    const bool tool = IsToolWindow(exStyle);
    const int bw = tool ? SmallCaptionButtonSize() : CaptionButtonWidth();
    int buttons = 0;
    if (style & WS_SYSMENU) {
        buttons = 2 + bw + 2;
        if (!tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
            buttons += 2 * bw + 2;
    } else {
        buttons = 2;
    }
    // One pixel more than the text: the title is cut with an ellipsis only when it does not fit.
    return 2 * FrameWidth(style, exStyle) + left + extent.cx + 1 + buttons;
}

RECT UserCaptionButtonRect(HWND window, LRESULT hit) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !HasCaption(w->style) || !(w->style & WS_SYSMENU))
        return {};
    const RECT caption = CaptionRect(*w);
    const bool tool = IsToolWindow(w->exStyle);
    const int bw = tool ? SmallCaptionButtonSize() : CaptionButtonWidth();
    const int bh = tool ? SmallCaptionButtonSize() - 2 : CaptionButtonHeight();
    const int top = caption.top + (caption.bottom - caption.top - bh) / 2;
    RECT close{caption.right - 2 - bw, top, caption.right - 2, top + bh};
    if (hit == HTCLOSE)
        return close;
    if (tool || !(w->style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
        return {};
    RECT max{close.left - 2 - bw, top, close.left - 2, top + bh};
    if (hit == HTMAXBUTTON)
        return max;
    if (hit == HTMINBUTTON)
        return RECT{max.left - bw, top, max.left, top + bh};
    return {};
}

LRESULT UserDefaultHitTest(HWND window, POINT screen) {
    WindowObject* w = UserFindWindow(window);
    if (!w)
        return HTNOWHERE;
    const RECT wr = UserScreenWindowRect(window);
    const POINT p{screen.x - wr.left, screen.y - wr.top};
    if (!Inside(RECT{0, 0, w->Width(), w->Height()}, p) || (w->shape && !w->shape->Contains(p.x, p.y)))
        return HTNOWHERE;
    if (Inside(w->client, p))
        return HTCLIENT;
    if ((w->style & WS_THICKFRAME) && !(w->style & (WS_MAXIMIZE | WS_MINIMIZE))) {
        if (LRESULT hit = SizingBorderHit(*w, p))
            return hit;
    }
    if (HasCaption(w->style) && Inside(CaptionRect(*w), p))
        return CaptionHit(window, *w, p);
    const RECT c = w->client;
    const bool inVertical = (w->style & WS_VSCROLL) && p.x >= c.right && p.x < c.right + ScrollBarSize(true);
    const bool inHorizontal = (w->style & WS_HSCROLL) && p.y >= c.bottom && p.y < c.bottom + ScrollBarSize(false);
    if (inVertical && inHorizontal)
        return HTGROWBOX;
    if (inVertical && p.y >= c.top && p.y < c.bottom)
        return HTVSCROLL;
    if (inHorizontal && p.x >= c.left && p.x < c.right)
        return HTHSCROLL;
    return FrameWidth(w->style, w->exStyle) || EdgeWidth(w->exStyle) ? HTBORDER : HTNOWHERE;
}

void UserPaintNonClientOn(HDC dc, HWND window, bool active) {
    WindowObject* w = UserFindWindow(window);
    if (!w || !dc)
        return;
    PaintFrame(dc, *w);
    if (HasCaption(w->style))
        PaintCaption(dc, window, *w, active);
    if (w->exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)) {
        const int frame = FrameWidth(w->style, w->exStyle);
        RECT edge{frame, frame + (HasCaption(w->style) ? CaptionBarHeight(w->exStyle) : 0), w->Width() - frame, w->Height() - frame};
        if (w->exStyle & WS_EX_CLIENTEDGE)
            DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        if (w->exStyle & WS_EX_STATICEDGE)
            DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    }
    PaintScrollBars(dc, window, *w);
}

void UserPaintNonClient(HWND window, bool active) {
    HDC dc = GetWindowDC(window);
    if (!dc)
        return;
    UserPaintNonClientOn(dc, window, active);
    ReleaseDC(window, dc);
}

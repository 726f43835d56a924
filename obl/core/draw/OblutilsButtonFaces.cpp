// Button faces of unit Oblutils: the classic drawing of every push-button style and the
// themed drawing of the three visual-style ones.
#include "obl/core/draw/Oblutils.h"

#include "obl/core/base/Oblxpstyles.h"
#include "obl/core/app/oblclass.h"
#include "platform/classlib/Forms.h"
#include "platform/win/gdi/Gdi.h"

namespace {

constexpr WORD kFlagRoundCorners = 0x01;
constexpr WORD kFlagActive = 0x02;
constexpr WORD kFlagSpacedFrame = 0x04;
constexpr WORD kFlagSunkenPressed = 0x08;
constexpr WORD kFlagFillFrame = 0x10;
constexpr WORD kFlagFocused = 0x20;
constexpr WORD kFlagHot = 0x40;
constexpr WORD kFlagSplit = 0x80;
constexpr WORD kFlagSplitDropDown = 0x100;

constexpr TColor kGrey = static_cast<TColor>(0x808080);

// How a classic face is framed; several styles share one.
enum class TFaceKind { None, Win31, Win40, Win40Spaced, Flat, Delphi, Integrated };

bool IsThemedStyle(TOBLUserButtonStyle style)
{
    return style == ubsWinXP || style == ubsWinXPCombo || style == ubsWinXPTool;
}

bool ThemesInUse() { return OBLApplication != nullptr && OBLApplication->UseXPThemes(); }

// The style as drawn with themes on or off.
TOBLUserButtonStyle ResolveStyle(TOBLUserButtonStyle style, bool themed)
{
    if (themed) return style == ubsAutoDetect ? ubsWinXP : style;
    switch (style) {
    case ubsWinXP: return ubsWin40;
    case ubsWinXPCombo: return ubsIntegrated;
    case ubsWinXPTool: return ubsExplorer;
    default: return style;
    }
}

TFaceKind KindOf(TOBLUserButtonStyle style, WORD flags)
{
    if (OBLDrawBtnIsFlat(style)) return TFaceKind::Flat;
    switch (style) {
    case ubsWin31: return TFaceKind::Win31;
    case ubsWin40: return (flags & kFlagSpacedFrame) ? TFaceKind::Win40Spaced : TFaceKind::Win40;
    case ubsDelphi: return TFaceKind::Delphi;
    case ubsIntegrated: return TFaceKind::Integrated;
    default: return TFaceKind::None;
    }
}

bool IsExplorer(TOBLUserButtonStyle style) { return style == ubsExplorer || style == ubsExplorerColored; }

bool IsPressedState(TOBLButtonState state)
{
    return state == bsOptionSet || state == bsDown || state == bsDropDownOpen || state == bsDisabledDown;
}

void Edge(TCanvas* canvas, TRect& rect, UINT edge, UINT flags) { DrawEdge(canvas->Handle(), &rect, edge, flags); }

void UsePen(TCanvas* canvas, TColor color)
{
    canvas->Pen()->SetStyle(psSolid);
    canvas->Pen()->SetColor(color);
}

void UseBrush(TCanvas* canvas, TColor color)
{
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
}

void FillSolid(TCanvas* canvas, const TRect& rect, TColor color)
{
    UseBrush(canvas, color);
    canvas->FillRect(rect);
}

// The set-option look: a checkerboard of the colour, which stays on the brush while the
// frame is drawn (a frame that fills keeps the look).
void FillChecked(TCanvas* canvas, const TRect& rect, TColor color)
{
    UseBrush(canvas, color);
    if (TBitmap* pattern = OBLApplication ? OBLApplication->GetBrushBitmap(color) : nullptr)
        canvas->Brush()->SetBitmap(pattern);
    canvas->FillRect(rect);
}

struct TBackground {
    bool pushed;
    bool checked;
};

TBackground FillBackground(TCanvas* canvas, const TRect& rect, TOBLUserButtonStyle style, TFaceKind kind,
                           TOBLButtonState state, bool hot, TColor color)
{
    const bool pushed = IsPressedState(state);
    if (IsExplorer(style)) return {pushed, false};
    const bool checked = state == bsOptionSet && !(kind == TFaceKind::Flat && hot);
    if (checked)
        FillChecked(canvas, rect, color);
    else
        FillSolid(canvas, rect, color);
    return {pushed, checked};
}

void PaintCorners(TCanvas* canvas, const TRect& r)
{
    canvas->SetPixels(r.left, r.top, clBtnFace);
    canvas->SetPixels(r.right - 1, r.top, clBtnFace);
    canvas->SetPixels(r.left, r.bottom - 1, clBtnFace);
    canvas->SetPixels(r.right - 1, r.bottom - 1, clBtnFace);
}

// The one-pixel frame of the Windows 3.1 look and of the active button, with the rounded
// corners once when asked (the flag is used up).
void DrawOuterFrame(TCanvas* canvas, TRect& r, UINT topLeftFlags, bool win31, WORD& flags)
{
    Edge(canvas, r, BDR_SUNKENOUTER, topLeftFlags);
    Edge(canvas, r, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
    if (win31 && (flags & kFlagRoundCorners)) {
        PaintCorners(canvas, r);
        flags &= ~kFlagRoundCorners;
    }
    InflateRect(&r, -1, -1);
}

void DrawWin31Frame(TCanvas* canvas, TRect& r, TRect& face, bool pushed, WORD& flags)
{
    DrawOuterFrame(canvas, r, BF_SOFT | BF_LEFT | BF_TOP, true, flags);
    if (pushed) {
        Edge(canvas, r, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
    } else {
        Edge(canvas, r, BDR_RAISEDINNER, BF_ADJUST | BF_RECT);
        Edge(canvas, r, BDR_RAISEDINNER, BF_ADJUST | BF_RECT);
    }
    InflateRect(&face, -1, -1);
}

void DrawWin40SpacedFrame(TCanvas* canvas, TRect& r, bool pushed, WORD flags)
{
    if (!pushed)
        OBLDrawStdFrame(canvas, r, lsRaisedspb, BF_RECT);
    else if (flags & kFlagSunkenPressed)
        Edge(canvas, r, EDGE_SUNKEN, BF_RECT);
    else
        OBLDrawStdFrame(canvas, r, lsLowered, BF_RECT);
}

void DrawWin40Frame(TCanvas* canvas, TRect& r, bool pushed, WORD flags)
{
    if (pushed) {
        UsePen(canvas, clBlack);
        canvas->Rectangle(r);
        InflateRect(&r, -1, -1);
        canvas->Pen()->SetColor(kGrey);
        canvas->Rectangle(r);
        InflateRect(&r, 1, 1);
        canvas->Pen()->SetColor(clBlack);
    } else if (flags & kFlagActive) {
        Edge(canvas, r, BDR_RAISEDOUTER, BF_SOFT | BF_ADJUST | BF_RECT);
        Edge(canvas, r, BDR_RAISEDINNER, BF_ADJUST | BF_RIGHT | BF_BOTTOM);
    } else {
        OBLDrawStdFrame(canvas, r, lsRaisedspb, BF_RECT);
    }
}

void DrawFlatFrame(TCanvas* canvas, TRect& r, TOBLUserButtonStyle style, bool pushed, bool hot, TColor color)
{
    if ((style == ubsDelphiFlat || style == ubsNavigator) && (pushed || hot)) {
        ::Rectangle(canvas->Handle(), r.left, r.top, r.right, r.bottom);
        InflateRect(&r, -1, -1);
    }
    if (pushed)
        Edge(canvas, r, BDR_SUNKENOUTER, BF_ADJUST | BF_RECT);
    else if (hot)
        Edge(canvas, r, BDR_RAISEDINNER, BF_ADJUST | BF_RECT);
    else if (!IsExplorer(style))
        FillSolid(canvas, r, color);
}

void DrawDelphiFrame(TCanvas* canvas, TRect& r, bool pushed)
{
    UsePen(canvas, clBlack);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(r);
    if (pushed) {
        canvas->Pen()->SetColor(kGrey);
        canvas->MoveTo(r.left + 1, r.top + 1);
        canvas->LineTo(r.right - 1, r.top + 1);
        canvas->MoveTo(r.left + 1, r.top + 1);
        canvas->LineTo(r.left + 1, r.bottom - 1);
        return;
    }
    InflateRect(&r, -1, -1);
    Edge(canvas, r, BDR_RAISEDINNER, BF_ADJUST | BF_RECT);
    InflateRect(&r, 1, 1);
}

void DrawIntegratedFrame(TCanvas* canvas, const TRect& r, bool pushed)
{
    if (pushed) {
        UsePen(canvas, kGrey);
        canvas->Rectangle(r);
        return;
    }
    UsePen(canvas, clBlack);
    canvas->Rectangle(r);
    canvas->Pen()->SetColor(clBtnFace);
    canvas->Polyline({{r.right - 2, r.top}, {r.left, r.top}, {r.left, r.bottom - 1}});
    canvas->Pen()->SetColor(clWhite);
    canvas->Rectangle(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
    canvas->Pen()->SetColor(kGrey);
    canvas->Polyline({{r.right - 2, r.top + 1}, {r.right - 2, r.bottom - 2}, {r.left, r.bottom - 2}});
}

void DrawFrame(TCanvas* canvas, TRect& r, TRect& face, TOBLUserButtonStyle style, TFaceKind kind, bool pushed,
               bool hot, WORD& flags, TColor color)
{
    switch (kind) {
    case TFaceKind::Win31: DrawWin31Frame(canvas, r, face, pushed, flags); break;
    case TFaceKind::Win40Spaced: DrawWin40SpacedFrame(canvas, r, pushed, flags); break;
    case TFaceKind::Win40: DrawWin40Frame(canvas, r, pushed, flags); break;
    case TFaceKind::Flat: DrawFlatFrame(canvas, r, style, pushed, hot, color); break;
    case TFaceKind::Delphi: DrawDelphiFrame(canvas, r, pushed); break;
    case TFaceKind::Integrated: DrawIntegratedFrame(canvas, r, pushed); break;
    case TFaceKind::None: break;
    }
}

void DrawClassicFocus(TCanvas* canvas, TRect& rect, const TRect& face, bool pushed)
{
    rect = face;
    const int inset = pushed ? 4 : 3;
    InflateRect(&rect, -inset, -inset);
    UseBrush(canvas, clBlack);
    UsePen(canvas, kGrey);
    canvas->DrawFocusRect(rect);
}

// ---- Themed faces -------------------------------------------------------------------

struct TThemedFace {
    LPCWSTR themeClass;
    int part;
    int state;
};

TThemedFace ThemedFaceOf(TOBLUserButtonStyle style, bool hot, TOBLButtonState state, WORD flags)
{
    TThemedFace face{u"BUTTON", BP_PUSHBUTTON, PBS_NORMAL};
    if (style == ubsWinXPCombo) {
        face = {u"COMBOBOX", CP_DROPDOWNBUTTON, CBXS_NORMAL};
    } else if (style == ubsWinXPTool) {
        face = {u"TOOLBAR", TP_BUTTON, TS_NORMAL};
        if (flags & kFlagSplit) face.part = (flags & kFlagSplitDropDown) ? TP_SPLITBUTTONDROPDOWN : TP_SPLITBUTTON;
    } else if (flags & kFlagFocused) {
        face.state = PBS_DEFAULTED;
    }
    if (hot || (flags & kFlagHot)) face.state = PBS_HOT;
    if (IsPressedState(state)) face.state = PBS_PRESSED;
    if (state == bsDisabledUp || state == bsDisabledDown) face.state = PBS_DISABLED;
    return face;
}

// Closes the theme data however the painting ends.
class TThemeDataGuard {
public:
    explicit TThemeDataGuard(HTHEME theme) : theme_(theme) {}
    ~TThemeDataGuard() { CloseThemeData(theme_); }
    TThemeDataGuard(const TThemeDataGuard&) = delete;
    TThemeDataGuard& operator=(const TThemeDataGuard&) = delete;

private:
    HTHEME theme_;
};

// False, with nothing drawn, when the theme data cannot be had for the control.
bool DrawThemedFace(TWinControl* control, TCanvas* canvas, bool hot, TRect& rect, TOBLUserButtonStyle style,
                    TOBLButtonState state, WORD flags)
{
    const TThemedFace face = ThemedFaceOf(style, hot, state, flags);
    const HTHEME theme = OpenThemeData(control ? control->Handle() : nullptr, face.themeClass);
    if (!theme) return false;
    TThemeDataGuard guard(theme);
    TRect r = rect;
    if (style == ubsWinXP) InflateRect(&r, 1, 1);
    DrawThemeBackground(theme, canvas->Handle(), face.part, face.state, &r, &r);
    InflateRect(&r, -3, -3);
    if (flags & kFlagActive) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->DrawFocusRect(r);
    }
    rect = r;
    return true;
}

} // namespace

bool OBLDrawBtnIsFlat(TOBLUserButtonStyle style)
{
    switch (style) {
    case ubsDelphiFlat:
    case ubsFlat:
    case ubsFlatUnColored:
    case ubsNavigator:
    case ubsExplorer:
    case ubsExplorerColored: return true;
    default: return false;
    }
}

bool OBLDrawBtnFace(TCanvas* canvas, bool hot, TRect& rect, TOBLUserButtonStyle style, TOBLButtonState state,
                    WORD flags, TColor color)
{
    if (style == ubsAutoDetect) style = NewStyleControls ? ubsWin40 : ubsWin31;
    const TFaceKind kind = KindOf(style, flags);
    TRect r = rect;
    const TBackground background = FillBackground(canvas, r, style, kind, state, hot, color);
    const bool pushed = background.pushed;
    if (!pushed && (flags & (kFlagActive | kFlagFocused))) {
        const UINT topLeft = BF_SOFT | BF_LEFT | BF_TOP | ((flags & kFlagFillFrame) ? BF_MIDDLE : 0);
        DrawOuterFrame(canvas, r, topLeft, style == ubsWin31, flags);
    }
    TRect face = r;
    DrawFrame(canvas, r, face, style, kind, pushed, hot, flags, color);
    if (flags & kFlagActive) DrawClassicFocus(canvas, rect, face, pushed);
    // The caller draws caption and glyph next, with a plain brush.
    if (background.checked) canvas->Brush()->SetBitmap(nullptr);
    rect = face;
    InflateRect(&rect, -3, -3);
    if (pushed) OffsetRect(&rect, 1, 1);
    return true;
}

bool OBLDrawBtnFaceExt(TWinControl* control, TCanvas* canvas, bool hot, TRect& rect, TOBLUserButtonStyle style,
                       TOBLButtonState state, WORD flags, TColor color)
{
    const bool themed = ThemesInUse();
    const TOBLUserButtonStyle resolved = ResolveStyle(style, themed);
    if (IsThemedStyle(resolved) && DrawThemedFace(control, canvas, hot, rect, resolved, state, flags)) return true;
    // Without theme data for this window (theming switched off for it, say) the face is
    // drawn as the classic style would be, rather than left unpainted.
    const TOBLUserButtonStyle classic = IsThemedStyle(resolved) ? ResolveStyle(resolved, false) : resolved;
    return OBLDrawBtnFace(canvas, hot, rect, classic, state, flags, color);
}

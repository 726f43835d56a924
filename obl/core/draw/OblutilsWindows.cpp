#include "obl/core/draw/Oblutils.h"

#include "obl/core/base/Oblconst.h"
#include "platform/classlib/ResourceStrings.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/kernel/SystemMetrics.h"
#include "platform/win/kernel/Time.h"
#include "platform/win/user/Menus.h"
#include "platform/win/user/User.h"

#include <algorithm>
#include <memory>

namespace {

bool TrueTypeOn(HDC dc)
{
    TEXTMETRICA metrics{};
    return GetTextMetricsA(dc, &metrics) && (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

void MoveWindowTo(HWND window, int x, int y)
{
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Each step of the animation waits on the clock for the delay in milliseconds, rather
// than counting through a loop the compiler may drop or that keeps the processor busy.
void StepWait(int delay) { Sleep(static_cast<DWORD>(delay)); }

struct ScreenDC {
    HDC dc = GetDC(nullptr);
    ~ScreenDC() { ReleaseDC(nullptr, dc); }
    ScreenDC() = default;
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
};

POINT StartPoint(int startX, int startY)
{
    POINT p{startX, startY};
    if (startX < 0) GetCursorPos(&p);
    return p;
}

int ExplodeDelay() { return OBLApplication ? static_cast<BYTE>(OBLApplication->ExplodeDelay()) : 3; }

template <class Ini>
void SaveColorLines(Ini* ini, const AnsiString& section, TStrings* strings)
{
    for (int i = 0; i < strings->Count(); ++i) {
        const AnsiString line = strings->Strings(i);
        const int at = Pos("=", line);
        if (at == 0) continue;
        // The value the list holds for the name: of two lines naming one colour the first
        // one is kept, as colour lists stored by other programs expect.
        const AnsiString name = Copy(line, 1, at - 1);
        ini->WriteString(section, name, strings->Values(name));
    }
}

} // namespace

bool OBLIsTrueTypeFont(TFont* font)
{
    if (!font) return false;
    ScreenDC screen;
    HGDIOBJ old = SelectObject(screen.dc, font->Handle());
    const bool result = TrueTypeOn(screen.dc);
    SelectObject(screen.dc, old);
    return result;
}

bool OBLIsTrueTypeFontCheck(TCanvas* canvas) { return canvas && TrueTypeOn(canvas->Handle()); }

bool OBLIsChild(TControl* control, TControl* ancestor)
{
    for (TControl* c = control; c; c = c->Parent())
        if (c == ancestor) return true;
    return false;
}

void OBLActivatePrevInstance()
{
    if (!OBLApplication || !OBLApplication->InstanceRunning() || !Application) return;
    const AnsiString title = Application->Title();
    SetWindowTextA(Application->Handle(), "");
    HWND other = FindWindowA("TApplication", title.c_str());
    if (!other) return;
    if (IsIconic(other))
        ShowWindow(other, SW_RESTORE);
    else
        SetForegroundWindow(other);
}

void OBLWait(unsigned milliseconds)
{
    if (milliseconds == 0) return;
    const DWORD start = GetTickCount();
    while (TicksBetween(start, GetTickCount()) <= milliseconds) {
        if (Application) {
            Application->ProcessMessages();
            if (Application->Terminated()) return;
        }
        Sleep(1);
    }
}

int OBLCenterChild(TCustomForm* owner, TCustomForm* child, bool showModal)
{
    if (!owner || !child) return 0;
    child->SetPosition(poDefault);
    int x = owner->Left() + (owner->Width() - child->Width()) / 2;
    if (x + child->Width() > Screen->Width()) x = Screen->Width() - child->Width();
    int y = owner->Top() + (owner->Height() - child->Height()) / 2;
    if (y + child->Height() > Screen->Height()) y = Screen->Height() - child->Height();
    child->SetBounds(std::max(x, 0), std::max(y, 0), child->Width(), child->Height());
    return showModal ? child->ShowModal() : 0;
}

void OBLCenterForm(TCustomForm* form)
{
    if (!form) return;
    form->SetBounds((Screen->Width() - form->Width()) / 2, (Screen->Height() - form->Height()) / 2, form->Width(),
                    form->Height());
}

void OBLCenterChildWindow(HWND owner, HWND child, bool)
{
    if (!child) return;
    RECT o{}, c{};
    GetWindowRect(owner, &o);
    GetWindowRect(child, &c);
    const int w = c.right - c.left, h = c.bottom - c.top;
    const int sw = Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
    const int sh = Screen ? Screen->Height() : GetSystemMetrics(SM_CYSCREEN);
    int x = o.left + (o.right - o.left - w) / 2;
    if (x + w > sw) x = sw - w;
    int y = o.top + (o.bottom - o.top - h) / 2;
    if (y + h > sh) y = sh - h;
    MoveWindowTo(child, std::max(x, 0), std::max(y, 0));
}

void OBLCenterWindow(HWND window, BYTE offset)
{
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    const int x = std::max(0, std::min((sw - w) / 2, sw - w));
    const int y = std::max(0, std::min((sh - h) / (offset + 2), sh - h));
    MoveWindowTo(window, x, y);
}

void OBLPositionWindow(HWND window, const TRect& target, TOBLDlgPosition position, bool)
{
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int tw = target.right - target.left, th = target.bottom - target.top;
    const int left = target.left, centreX = target.left + (tw - w) / 2, right = target.right - w;
    const int top = target.top, centreY = target.top + (th - h) / 2, bottom = target.bottom - h;
    int x = left, y = top;
    switch (position) {
    case bpTopCenter: x = centreX; break;
    case bpTopRight: x = right; break;
    case bpCenterLeft: y = centreY; break;
    case bpCenter: x = centreX; y = centreY; break;
    case bpCenterRight: x = right; y = centreY; break;
    case bpBottomLeft: y = bottom; break;
    case bpBottomCenter: x = centreX; y = bottom; break;
    case bpBottomRight: x = right; y = bottom; break;
    default: break;
    }
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (y + h > sh) y = target.bottom - h;
    if (x + w > sw) x = target.right - w;
    MoveWindowTo(window, std::max(x, 0), std::max(y, 0));
}

TRect OBLDlgGetTargetRect(TOBLDlgPosRel relation)
{
    const TRect screen = Rect(0, 0, Screen->Width(), Screen->Height());
    switch (relation) {
    case brScreenWorkArea: {
        RECT work{};
        if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) return work;
        return screen;
    }
    case brMainForm: {
        TCustomForm* form = Application ? Application->MainForm() : nullptr;
        return form ? form->BoundsRect() : screen;
    }
    case brActiveWindow: {
        TCustomForm* form = Screen->ActiveForm();
        return form ? form->BoundsRect() : screen;
    }
    default: return screen;
    }
}

int OBLShowModal(TClass formClass, TComponent* owner)
{
    if (!formClass) return 0;
    std::unique_ptr<TObject> object(formClass->Create(owner));
    auto* form = dynamic_cast<TCustomForm*>(object.get());
    if (!form) return 0;
    struct Free {
        std::unique_ptr<TObject>& object;
        ~Free()
        {
            if (auto* form = dynamic_cast<TCustomForm*>(object.get())) {
                object.release();
                form->Free();
            }
        }
    } free{object};
    return form->ShowModal();
}

void OBLCheckFormSysMenu(TCustomForm* form, TOBLSysMenuEntries entries)
{
    if (!form) return;
    OBLCheckSystemMenu(entries, GetSystemMenu(form->Handle(), FALSE), false);
}

void OBLCheckApplicationSysMenu(TOBLSysMenuEntries entries)
{
    if (!Application) return;
    OBLCheckSystemMenu(entries, GetSystemMenu(Application->Handle(), FALSE), false);
}

void OBLExplodeForm(TCustomForm* form) { OBLExplodeFormExt(form, -1, 0, 40, ExplodeDelay()); }

void OBLExplodeFormExt(TCustomForm* form, int startX, int startY, int steps, int delay)
{
    if (!form) return;
    const POINT start = StartPoint(startX, startY);
    if (steps <= 3) steps = 40;
    if (delay < 1) delay = 1;
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    const double dl = static_cast<double>(r.left - start.x) / steps, dt = static_cast<double>(r.top - start.y) / steps;
    const double dw = static_cast<double>(r.right - r.left) / steps, dh = static_cast<double>(r.bottom - r.top) / steps;
    ScreenDC screen;
    for (int round = 0; round < 2; ++round) {
        for (int i = 1; i <= steps; ++i) {
            StepWait(delay);
            const int x = start.x + static_cast<int>(i * dl), y = start.y + static_cast<int>(i * dt);
            RECT f{x, y, x + static_cast<int>(i * dw), y + static_cast<int>(i * dh)};
            DrawFocusRect(screen.dc, &f);
        }
    }
}

void OBLExplodeForm2(TCustomForm* form) { OBLExplodeFormExt2(form, -1, 0, 40, 20, 10, ExplodeDelay(), true); }

void OBLExplodeFormExt2(TCustomForm* form, int startX, int startY, int steps, int width, int height, int delay,
                        bool firstLeg)
{
    if (!form) return;
    const POINT start = StartPoint(startX, startY);
    if (steps <= 3) steps = 40;
    if (delay < 1) delay = 1;
    RECT r{};
    GetWindowRect(form->Handle(), &r);
    const POINT m{start.x + (r.left - start.x) / 2, r.bottom};
    const int rw = r.right - r.left, rh = r.bottom - r.top;
    ScreenDC screen;
    for (int round = 0; round < 2; ++round) {
        if (firstLeg) {
            for (int i = 1; i <= steps; ++i) {
                StepWait(delay);
                const int x = start.x + static_cast<int>(static_cast<double>(i) * (m.x - start.x) / steps);
                const int y = start.y + static_cast<int>(static_cast<double>(i) * (m.y - start.y) / steps);
                RECT f{x, y, x + width, y + height};
                DrawFocusRect(screen.dc, &f);
            }
        }
        for (int i = 1; i <= steps; ++i) {
            StepWait(delay);
            const int x = m.x + static_cast<int>(static_cast<double>(i) * (r.left - m.x) / steps);
            const int y = m.y + static_cast<int>(static_cast<double>(i) * (r.top - m.y) / steps);
            const int w = width + static_cast<int>(static_cast<double>(i) * (rw - width) / steps);
            const int h = height + static_cast<int>(static_cast<double>(i) * (rh - height) / steps);
            RECT f{x, y, x + w, y + h};
            DrawFocusRect(screen.dc, &f);
        }
    }
}

void OBLLoadCustomColorList(TObject* iniFile, const AnsiString& section, TStrings* strings)
{
    if (!strings) return;
    if (auto* ini = dynamic_cast<TIniFile*>(iniFile)) {
        strings->Clear();
        ini->ReadSectionValues(section, strings);
    } else if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile)) {
        strings->Clear();
        reg->ReadSectionValues(section, strings);
    }
}

void OBLSaveCustomColorList(TObject* iniFile, const AnsiString& section, TStrings* strings)
{
    if (!strings) return;
    if (auto* ini = dynamic_cast<TIniFile*>(iniFile))
        SaveColorLines(ini, section, strings);
    else if (auto* reg = dynamic_cast<TRegIniFile*>(iniFile))
        SaveColorLines(reg, section, strings);
}

void OBLLoadCustomColorFromIniFile(const AnsiString& fileName, const AnsiString& section, TStrings* strings)
{
    TIniFile ini(fileName);
    OBLLoadCustomColorList(&ini, section, strings);
}

void OBLSaveCustomColorToIniFile(const AnsiString& fileName, const AnsiString& section, TStrings* strings)
{
    TIniFile ini(fileName);
    OBLSaveCustomColorList(&ini, section, strings);
}

void OBLLoadDelphiCustomColor(TStrings* strings)
{
    OBLLoadCustomColorFromIniFile("DELPHI32.INI", LoadResString(_IDS_CUSTOMCOLORS), strings);
}

void OBLSaveDelphiCustomColor(TStrings* strings)
{
    OBLSaveCustomColorToIniFile("DELPHI32.INI", LoadResString(_IDS_CUSTOMCOLORS), strings);
}

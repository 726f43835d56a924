// Handles the windowed controls borrow while they draw their frames, each given back however
// the drawing ends.
#pragma once

#include "obl/core/base/Oblxpstyles.h"
#include "platform/classlib/Graphics.h"
#include "platform/rtl/AnsiString.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/User.h"

#include <string>

// A brush of a system colour.
class TSysBrush {
public:
    explicit TSysBrush(int index) : brush_(CreateSolidBrush(GetSysColor(index))) {}
    ~TSysBrush() { DeleteObject(brush_); }
    TSysBrush(const TSysBrush&) = delete;
    TSysBrush& operator=(const TSysBrush&) = delete;
    HBRUSH Handle() const { return brush_; }

private:
    HBRUSH brush_;
};

// The window's whole device context.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~TWindowDC() { ReleaseDC(window_, dc_); }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Handle() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A canvas lent a device context for one drawing, locked meanwhile.
class TCanvasOnDC {
public:
    TCanvasOnDC(TCanvas* canvas, HDC dc) : canvas_(canvas)
    {
        canvas_->Lock();
        canvas_->SetHandle(dc);
    }
    ~TCanvasOnDC()
    {
        canvas_->SetHandle(nullptr);
        canvas_->Unlock();
    }
    TCanvasOnDC(const TCanvasOnDC&) = delete;
    TCanvasOnDC& operator=(const TCanvasOnDC&) = delete;

private:
    TCanvas* canvas_;
};

// The theme data of a window class, for the themed frame.
class TThemeData {
public:
    TThemeData(HWND window, const AnsiString& className)
    {
        const std::u16string wide(className.c_str(), className.c_str() + className.Length());
        theme_ = OpenThemeData(window, wide.c_str());
    }
    ~TThemeData() { CloseThemeData(theme_); }
    TThemeData(const TThemeData&) = delete;
    TThemeData& operator=(const TThemeData&) = delete;
    HTHEME Handle() const { return theme_; }

private:
    HTHEME theme_ = nullptr;
};

// A clean window system with the library's units started for each test, forms shown on
// the headless display, and the pixels they show read back from their surfaces.
#pragma once

#include "obl/core/containers/oblcont.h"
#include "obl/core/startup/OBLUnits.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Graphics.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/kernel/Mutex.h"
#include "platform/win/kernel/UxTheme.h"
#include "platform/win/user/UserTesting.h"
#include "tests/support/CheckoutTempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// The colour as a surface pixel (0xRRGGBB).
inline std::uint32_t PixelOf(TColor color)
{
    const COLORREF c = ColorToRGB(color);
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// The four edges, for comparing rectangles.
inline std::vector<LONG> Edges(const TRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// A bitmap of four solid quarters, w x h.
inline TBitmap* Quarters(int w, int h, TColor a, TColor b, TColor c, TColor d)
{
    auto* bitmap = new TBitmap;
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(w, h);
    TCanvas* canvas = bitmap->Canvas();
    const TColor colors[4] = {a, b, c, d};
    for (int i = 0; i < 4; ++i) {
        canvas->Brush()->SetColor(colors[i]);
        const int x = (i % 2) * w / 2, y = (i / 2) * h / 2;
        canvas->FillRect(Rect(x, y, x + w / 2, y + h / 2));
    }
    return bitmap;
}

// A new entry of the bitmap list holding a copy of the picture.
inline void AddPicture(TOBLBitmapList* list, TBitmap* picture) { list->Items(list->Add(nullptr))->SetBitmap(picture); }

class FormsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        ResetControlsState();
        FormsInitialization();
        SetThemeModuleState(TThemeModuleState::Absent);
        SetMutexLockFolder(CheckoutTempFolder("oblforms"));
        OBLInitializeUnits();
    }
    void TearDown() override
    {
        OBLFinalizeUnits();
        ResetThemeModuleForTesting();
        FormsFinalization();
        ResetControlsState();
        UserResetWindowSystem();
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }

    // A shown form with a client area of that size and colour, placed at (x, y).
    static TForm* MakeForm(int clientWidth, int clientHeight, TColor color, int x = 40, int y = 40,
                           TFormBorderStyle border = bsSizeable)
    {
        auto* form = new TForm(Application);
        form->SetBorderStyle(border);
        form->SetColor(color);
        form->SetCaption("Anagrafica");
        form->SetBounds(x, y, 200, 150);
        form->SetFormClientWidth(clientWidth);
        form->SetFormClientHeight(clientHeight);
        return form;
    }
    static void ShowAndPaint(TForm* form)
    {
        form->Show();
        form->Update();
        Pump();
    }

    // A pixel of the form's client area, as its window shows it.
    static std::uint32_t ClientPixel(TCustomForm* form, int x, int y)
    {
        RECT window{};
        GetWindowRect(form->Handle(), &window);
        const TPoint origin = form->ClientToScreen(Point(0, 0));
        return UserWindowSurface(form->Handle())->Pixel(origin.x - window.left + x, origin.y - window.top + y);
    }
    // A pixel of the whole window (window coordinates).
    static std::uint32_t WindowPixel(TCustomForm* form, int x, int y)
    {
        return UserWindowSurface(form->Handle())->Pixel(x, y);
    }
};

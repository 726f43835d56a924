// A 32-bit memory device context for canvas tests.
#pragma once

#include "platform/classlib/Graphics.h"

class MemoryDC {
public:
    MemoryDC(int width, int height, COLORREF fill = RGB(255, 255, 255))
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        oldBitmap_ = SelectObject(dc_, bitmap_);
        RECT r{0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        ::FillRect(dc_, &r, brush);
        DeleteObject(brush);
    }
    ~MemoryDC()
    {
        SelectObject(dc_, oldBitmap_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ oldBitmap_;
};

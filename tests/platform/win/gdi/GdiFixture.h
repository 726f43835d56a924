// Small drawing fixtures shared by the GDI tests: a memory DC holding a
// 32-bit bitmap, and a character picture of its pixels.
#pragma once

#include "platform/win/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class Canvas {
public:
    Canvas(int width, int height, int bpp = 32) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateBitmap(width, height, 1, static_cast<UINT>(bpp), nullptr);
        old_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return dc_; }
    HBITMAP bitmap() const { return bitmap_; }

    // '.' white, '#' black, 'R' red, 'B' blue, '?' anything else.
    std::vector<std::string> Picture() const {
        std::vector<std::string> rows;
        for (int y = 0; y < height_; ++y) {
            std::string row;
            for (int x = 0; x < width_; ++x) {
                const COLORREF c = GetPixel(dc_, x, y);
                row += c == kWhite ? '.' : c == kBlack ? '#' : c == kRed ? 'R' : c == kBlue ? 'B' : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
};

// Selects an object for the lifetime of the guard and deletes it afterwards.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
    ~Selected() {
        SelectObject(dc_, old_);
        DeleteObject(object_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ object_;
    HGDIOBJ old_;
};

inline std::string Joined(const std::vector<std::string>& rows) {
    std::string out;
    for (const std::string& r : rows)
        out += r + "\n";
    return out;
}

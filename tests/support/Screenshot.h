// Screenshots of the controls' states: labels written onto a picture in the forms' font, the
// picture saved as a PNG that must hold a real image, and the two together on a copy of what
// a window shows.
#pragma once

#include "platform/classlib/Graphics.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/user/UserTesting.h"
#include "tests/support/TestDisplay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

// A canvas on a picture, for its labels and what else is drawn into it: in the forms' font
// unless told otherwise, its text over what is there. The device context is given back
// however the test ends; Handle() is null where none could be made.
class ScreenshotCanvas {
public:
    explicit ScreenshotCanvas(Surface& picture, const char* fontName = "MS Sans Serif", int fontHeight = -11)
        : dc_(GdiCreateSurfaceDC(&picture, POINT{0, 0}, nullptr))
    {
        if (!dc_) return;
        canvas_.SetHandle(dc_);
        canvas_.Font()->SetName(fontName);
        canvas_.Font()->SetHeight(fontHeight);
        canvas_.Brush()->SetStyle(bsClear);
    }
    ~ScreenshotCanvas()
    {
        if (!dc_) return;
        canvas_.SetHandle(nullptr);
        GdiDeleteSurfaceDC(dc_);
    }
    ScreenshotCanvas(const ScreenshotCanvas&) = delete;
    ScreenshotCanvas& operator=(const ScreenshotCanvas&) = delete;

    HDC Handle() const { return dc_; }
    TCanvas& Canvas() { return canvas_; }
    TCanvas* operator->() { return &canvas_; }

private:
    HDC dc_;
    TCanvas canvas_;
};

// Saves the picture under the screenshots folder; a file of no more than `minimumBytes`
// would be a blank or broken image.
inline void SaveScreenshot(const Surface& picture, const std::string& fileName, std::uintmax_t minimumBytes)
{
    ASSERT_TRUE(TestDisplay::SavePng(picture, fileName));
    EXPECT_GT(std::filesystem::file_size(TestDisplay::ScreenshotPath(fileName)), minimumBytes);
}

// A copy of what the window shows, the labels `write` puts on it, saved as a screenshot; the
// window itself is left as it is.
inline void SaveLabelledWindow(HWND window, const std::string& fileName, std::uintmax_t minimumBytes,
                               const std::function<void(TCanvas& labels)>& write)
{
    const Surface* shown = UserWindowSurface(window);
    ASSERT_NE(shown, nullptr);
    Surface picture = *shown;
    {
        ScreenshotCanvas labels(picture);
        ASSERT_NE(labels.Handle(), nullptr);
        write(labels.Canvas());
    }
    SaveScreenshot(picture, fileName, minimumBytes);
}

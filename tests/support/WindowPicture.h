// Pictures of what windows show, for the screenshot tests: the screen area of the first
// window with every window's surface over it at its screen place, in the order given (a
// drop-down or another top-level window over its form), saved as a PNG under the
// screenshots folder.
#pragma once

#include "platform/win/gdi/Surface.h"
#include "platform/win/user/UserTesting.h"
#include "tests/support/TestDisplay.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

// `picture` receives the picture, whose point (0, 0) is `origin`, the first window's
// top-left corner on the screen.
inline void SaveWindowsPicture(const std::string& fileName, std::initializer_list<HWND> windows, Surface& picture,
                               RECT& origin)
{
    ASSERT_GT(windows.size(), 0u);
    GetWindowRect(*windows.begin(), &origin);
    picture = Surface(origin.right - origin.left, origin.bottom - origin.top);
    for (HWND window : windows) {
        const Surface* shown = UserWindowSurface(window);
        ASSERT_NE(shown, nullptr);
        RECT r{};
        GetWindowRect(window, &r);
        for (int y = 0; y < shown->Height(); ++y)
            for (int x = 0; x < shown->Width(); ++x)
                picture.SetPixel(r.left - origin.left + x, r.top - origin.top + y, shown->Pixel(x, y));
    }
    ASSERT_TRUE(TestDisplay::SavePng(picture, fileName));
}

inline void SaveWindowsPicture(const std::string& fileName, std::initializer_list<HWND> windows)
{
    Surface picture;
    RECT origin{};
    SaveWindowsPicture(fileName, windows, picture, origin);
}

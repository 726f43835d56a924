// A white surface with a canvas on it, read back pixel by pixel, and where the shape
// screenshots go.
#pragma once

#include "platform/classlib/Graphics.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/gdi/Surface.h"

#include <cstdint>
#include <filesystem>
#include <string>

class Paper {
public:
    Paper(int width, int height, POINT origin = POINT{0, 0})
        : surface_(width, height, 0xFFFFFF), dc_(GdiCreateSurfaceDC(&surface_, origin, nullptr))
    {
        canvas_.SetHandle(dc_);
    }
    ~Paper()
    {
        canvas_.SetHandle(nullptr);
        GdiDeleteSurfaceDC(dc_);
    }
    Paper(const Paper&) = delete;
    Paper& operator=(const Paper&) = delete;

    TCanvas* Canvas() { return &canvas_; }
    HDC DC() const { return dc_; }
    Surface& Pixels() { return surface_; }
    // The pixel as a TColor (0x00BBGGRR), to compare with the colours drawn.
    TColor At(int x, int y) const
    {
        const std::uint32_t rgb = surface_.Pixel(x, y);
        return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }

private:
    Surface surface_;
    HDC dc_;
    TCanvas canvas_;
};

// Beside the test executable.
inline std::string ScreenshotPath(const std::string& name)
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::temp_directory_path() : exe.parent_path()).string() + "/" + name;
}

// The pixel surface every device context finally draws into: 32-bit BGRX
// pixels (one uint32_t 0x00RRGGBB per pixel, so bytes are B, G, R, X in memory),
// rows top-down, each row `Stride()` bytes long. Windows paint into the surface of
// their top-level window; the X11 backend shows it; tests read it back or save it.
// The pixels are made when they are first used: a window that is sized again
// before it is drawn on never pays for its first size. They are kept in the surface's
// own memory, or in memory a source hands out (the X11 display's shared images).
#pragma once

#include "platform/win/gdi/SurfaceMemory.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, std::uint32_t fill = 0);
    // A copy keeps its pixels in memory of its own.
    Surface(const Surface& other);
    Surface& operator=(const Surface& other);
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Stride() const { return width_ * 4; }
    std::uint8_t* Bits() { return reinterpret_cast<std::uint8_t*>(Pixels()); }
    const std::uint8_t* Bits() const { return reinterpret_cast<const std::uint8_t*>(Pixels()); }
    std::uint32_t* Row(int y) { return Pixels() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* Row(int y) const { return Pixels() + static_cast<std::size_t>(y) * width_; }

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    // 0x00RRGGBB; 0 outside the surface.
    std::uint32_t Pixel(int x, int y) const { return !Contains(x, y) ? 0 : made_ ? Row(y)[x] : fill_; }
    void SetPixel(int x, int y, std::uint32_t rgb) { if (Contains(x, y)) Row(y)[x] = rgb & 0xFFFFFF; }

    // Changes the size; the kept area stays, new pixels take `fill`.
    void Resize(int width, int height, std::uint32_t fill = 0);
    void Fill(std::uint32_t rgb);

    // From now on the pixels live in memory from `source` (pixels already made move
    // there); where it answers null they stay in the surface's own.
    void SetMemorySource(SurfaceMemorySource source);
    // The memory from the source the pixels are in; null while they are in the surface's own.
    const SurfaceMemory* Memory() const { return memory_.get(); }

private:
    std::uint32_t* Pixels() const;
    void Make() const;

    int width_ = 0;
    int height_ = 0;
    std::uint32_t fill_ = 0;  // every pixel, until they are made
    SurfaceMemorySource source_;
    mutable bool made_ = false;
    mutable std::uint32_t* pixels_ = nullptr;  // in own_ or in memory_, once made
    mutable std::vector<std::uint32_t> own_;
    mutable std::shared_ptr<SurfaceMemory> memory_;
};

// PNG image (8-bit RGB, no interlace) of the surface, written with stored deflate blocks.
std::vector<std::uint8_t> EncodeSurfacePng(const Surface& surface);
// Writes the PNG to `path`; false when the file cannot be written.
bool SaveSurfacePng(const Surface& surface, const std::string& path);

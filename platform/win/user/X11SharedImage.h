// A shared-memory image (MIT-SHM) that is also the memory of a window's surface: the
// program draws into the segment the server reads, so a frame is pushed without a copy.
#pragma once

#include "platform/win/gdi/SurfaceMemory.h"

#define Region XlibRegion
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#undef Region

#include <memory>

class X11SharedImage final : public SurfaceMemory {
public:
    // Null where the server refuses the segment or the image would not have the
    // surface's layout (32 bits a pixel, rows of exactly `width` pixels).
    static std::shared_ptr<X11SharedImage> Create(Display* display, int width, int height);
    ~X11SharedImage() override;
    X11SharedImage(const X11SharedImage&) = delete;
    X11SharedImage& operator=(const X11SharedImage&) = delete;

    std::uint32_t* Pixels() override;
    // True while the server has the segment: the image can be put from it.
    bool Connected() const { return attached_; }
    Display* Connection() const { return display_; }
    // Has the server take `width` x `height` pixels at (x, y) of the image to the same place of `window`.
    void Put(Window window, GC gc, int x, int y, int width, int height) const;
    // The server lets go of the segment (its connection is about to end); the pixels stay.
    void Disconnect();

private:
    explicit X11SharedImage(Display* display) : display_(display) {}
    bool Attach(int width, int height);

    Display* display_;
    bool attached_ = false;
    XShmSegmentInfo segment_{};
    XImage* image_ = nullptr;
};

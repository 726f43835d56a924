// Shows window surfaces on X windows. The areas drawn on a surface are collected and
// pushed together once the program has handled what it had to (a frame), so a dialog
// that paints forty controls sends each pixel once, not the whole window forty times.
// When the server runs on this machine and accepts shared memory (MIT-SHM), surfaces
// keep their pixels in shared images the presenter hands out and the server takes them
// from there; other surfaces' pixels go in ordinary XPutImage requests.
#pragma once

#include "platform/win/WinTypes.h"
#include "platform/win/gdi/SurfaceMemory.h"

#define Region XlibRegion
#include <X11/Xlib.h>
#undef Region

#include <functional>
#include <map>
#include <memory>
#include <vector>

class Surface;
class X11SharedImage;

class X11Presenter {
public:
    // `sharedMemory` false keeps to XPutImage even where shared memory would work.
    X11Presenter(Display* display, bool sharedMemory);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // `area` of the surface shown in `window` (surface coordinates) was drawn on.
    void Changed(Window window, const RECT& area);
    // True when changes wait that are older than a frame's time: long work that draws
    // without asking for messages still shows its progress.
    bool Overdue() const;
    // Pushes every window's changed areas; `surfaceOf` answers the surface a window
    // shows (null for one not shown any more, whose changes are dropped).
    void Present(const std::function<const Surface*(Window)>& surfaceOf);
    // The window is gone: its changes go with it.
    void Forget(Window window);
    bool SharesMemory() const { return sharedMemory_; }
    // Memory for a surface's pixels that the server reads itself; null when it cannot.
    std::shared_ptr<SurfaceMemory> SharedMemory(int width, int height);

private:
    struct Pending {
        std::vector<RECT> areas;
        DWORD since = 0;
    };

    // True when the areas went through shared memory.
    bool Push(Window window, const Surface& surface, const std::vector<RECT>& areas);
    void PutPlain(Window window, const Surface& surface, const std::vector<RECT>& areas);

    Display* display_;
    bool sharedMemory_;
    GC gc_;
    std::map<Window, Pending> pending_;
    // Every shared image handed out: the server lets go of them before the connection ends.
    std::vector<std::weak_ptr<X11SharedImage>> images_;
};

// A source of shared memory for the surfaces of windows `presenter` shows; once the
// presenter is gone the source answers null (the surfaces keep their own pixels).
SurfaceMemorySource X11SharedMemorySource(const std::weak_ptr<X11Presenter>& presenter);

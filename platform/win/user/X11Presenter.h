// Shows window surfaces on X windows. The areas drawn on a surface are collected and
// pushed together once the program has handled what it had to (a frame), so a dialog
// that paints forty controls sends each pixel once, not the whole window forty times.
// Pixels go through a shared-memory image (MIT-SHM) when the server runs on this
// machine and accepts it, else through ordinary XPutImage requests.
#pragma once

#include "platform/win/WinTypes.h"

#define Region XlibRegion
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#undef Region

#include <functional>
#include <map>
#include <vector>

class Surface;

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
    // The window is gone: its changes and its shared image go with it.
    void Forget(Window window);
    bool SharesMemory() const { return sharedMemory_; }

private:
    struct Shared {
        XShmSegmentInfo segment{};
        XImage* image = nullptr;
        bool attached = false;  // the server knows the segment
        bool inUse = false;  // the server may still be reading it
    };
    struct Pending {
        std::vector<RECT> areas;
        DWORD since = 0;
    };

    void Push(Window window, const Surface& surface, const std::vector<RECT>& areas);
    void PutShared(Window window, const Surface& surface, const std::vector<RECT>& areas);
    void PutPlain(Window window, const Surface& surface, const std::vector<RECT>& areas);
    Shared* SharedFor(Window window, int width, int height);
    bool Attach(Shared& shared, int width, int height);
    void Release(Shared& shared);

    Display* display_;
    bool sharedMemory_;
    GC gc_;
    std::map<Window, Pending> pending_;
    std::map<Window, Shared> shared_;
};

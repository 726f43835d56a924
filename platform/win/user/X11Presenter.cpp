#include "platform/win/user/X11Presenter.h"

#include "platform/win/gdi/Surface.h"
#include "platform/win/kernel/Time.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

#include <algorithm>
#include <cstring>

namespace {

// Changes older than this are pushed even while the program is still busy.
constexpr DWORD kFrameTicks = 20;
// Beyond this many separate areas a frame pushes their bounding rectangle instead.
constexpr std::size_t kMaxAreas = 8;

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom;
}

bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Bounds(const std::vector<RECT>& areas) {
    RECT all = areas.front();
    for (const RECT& r : areas)
        all = {std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right), std::max(all.bottom, r.bottom)};
    return all;
}

void AddArea(std::vector<RECT>& areas, const RECT& area) {
    for (const RECT& r : areas)
        if (Contains(r, area))
            return;
    std::erase_if(areas, [&](const RECT& r) { return Contains(area, r); });
    areas.push_back(area);
    if (areas.size() > kMaxAreas)
        areas = {Bounds(areas)};
}

// Shared memory only helps when client and server share the machine: a display
// reached over the network ("host:0") never gets it.
bool IsLocal(Display* display) {
    const char* name = DisplayString(display);
    return name && (name[0] == ':' || std::strncmp(name, "unix:", 5) == 0);
}

bool gRequestRefused = false;
int NoteRefusal(Display*, XErrorEvent*) {
    gRequestRefused = true;
    return 0;
}

} // namespace

X11Presenter::X11Presenter(Display* display, bool sharedMemory)
    : display_(display), sharedMemory_(sharedMemory && IsLocal(display) && XShmQueryExtension(display)),
      gc_(XCreateGC(display, DefaultRootWindow(display), 0, nullptr)) {}

X11Presenter::~X11Presenter() {
    for (auto& [window, shared] : shared_)
        Release(shared);
    XFreeGC(display_, gc_);
}

void X11Presenter::Changed(Window window, const RECT& area) {
    if (IsEmpty(area))
        return;
    auto [it, added] = pending_.try_emplace(window);
    if (added)
        it->second.since = GetTickCount();
    AddArea(it->second.areas, area);
}

bool X11Presenter::Overdue() const {
    const DWORD now = GetTickCount();
    return std::any_of(pending_.begin(), pending_.end(), [&](const auto& p) { return now - p.second.since >= kFrameTicks; });
}

void X11Presenter::Present(const std::function<const Surface*(Window)>& surfaceOf) {
    if (pending_.empty())
        return;
    std::map<Window, Pending> frame;
    frame.swap(pending_);
    for (const auto& [window, changes] : frame)
        if (const Surface* surface = surfaceOf(window))
            Push(window, *surface, changes.areas);
    XFlush(display_);
}

void X11Presenter::Forget(Window window) {
    pending_.erase(window);
    if (auto it = shared_.find(window); it != shared_.end()) {
        Release(it->second);
        shared_.erase(it);
    }
}

void X11Presenter::Push(Window window, const Surface& surface, const std::vector<RECT>& areas) {
    const RECT whole{0, 0, surface.Width(), surface.Height()};
    std::vector<RECT> clipped;
    for (const RECT& r : areas) {
        const RECT c{std::max(r.left, whole.left), std::max(r.top, whole.top), std::min(r.right, whole.right),
                     std::min(r.bottom, whole.bottom)};
        if (!IsEmpty(c))
            clipped.push_back(c);
    }
    if (clipped.empty())
        return;
    if (sharedMemory_)
        PutShared(window, surface, clipped);
    else
        PutPlain(window, surface, clipped);
}

// Copies the areas into the window's shared image and has the server take them from there.
void X11Presenter::PutShared(Window window, const Surface& surface, const std::vector<RECT>& areas) {
    Shared* shared = SharedFor(window, surface.Width(), surface.Height());
    if (!shared) {
        PutPlain(window, surface, areas);
        return;
    }
    if (shared->inUse)
        XSync(display_, False);  // the server has read the previous frame once it answered
    XImage* image = shared->image;
    for (const RECT& r : areas)
        for (int y = r.top; y < r.bottom; ++y)
            std::memcpy(image->data + static_cast<std::size_t>(y) * image->bytes_per_line + static_cast<std::size_t>(r.left) * 4,
                        surface.Row(y) + r.left, static_cast<std::size_t>(r.right - r.left) * 4);
    for (const RECT& r : areas)
        XShmPutImage(display_, window, gc_, image, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.right - r.left),
                     static_cast<unsigned>(r.bottom - r.top), False);
    shared->inUse = true;
}

// Sends the areas' pixels in the requests themselves, straight from the surface.
void X11Presenter::PutPlain(Window window, const Surface& surface, const std::vector<RECT>& areas) {
    const int screen = DefaultScreen(display_);
    XImage* image = XCreateImage(display_, DefaultVisual(display_, screen), static_cast<unsigned>(DefaultDepth(display_, screen)),
                                 ZPixmap, 0, reinterpret_cast<char*>(const_cast<std::uint8_t*>(surface.Bits())),
                                 static_cast<unsigned>(surface.Width()), static_cast<unsigned>(surface.Height()), 32,
                                 surface.Stride());
    if (!image)
        return;
    for (const RECT& r : areas)
        XPutImage(display_, window, gc_, image, r.left, r.top, r.left, r.top, static_cast<unsigned>(r.right - r.left),
                  static_cast<unsigned>(r.bottom - r.top));
    image->data = nullptr;  // the surface keeps its pixels
    XDestroyImage(image);
}

X11Presenter::Shared* X11Presenter::SharedFor(Window window, int width, int height) {
    Shared& shared = shared_[window];
    if (shared.image && shared.image->width == width && shared.image->height == height)
        return &shared;
    Release(shared);
    if (Attach(shared, width, height))
        return &shared;
    // A server that refuses one segment refuses them all: keep to plain requests.
    shared_.erase(window);
    sharedMemory_ = false;
    return nullptr;
}

bool X11Presenter::Attach(Shared& shared, int width, int height) {
    const int screen = DefaultScreen(display_);
    shared.image = XShmCreateImage(display_, DefaultVisual(display_, screen), static_cast<unsigned>(DefaultDepth(display_, screen)),
                                   ZPixmap, nullptr, &shared.segment, static_cast<unsigned>(width), static_cast<unsigned>(height));
    // The surface's pixels are copied as they are, so the image must use the same 32-bit layout.
    if (!shared.image || shared.image->bits_per_pixel != 32) {
        Release(shared);
        return false;
    }
    shared.segment.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(shared.image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (shared.segment.shmid < 0) {
        Release(shared);
        return false;
    }
    void* address = shmat(shared.segment.shmid, nullptr, 0);
    // Marked for removal at once: the segment lives while this process or the server has it attached.
    shmctl(shared.segment.shmid, IPC_RMID, nullptr);
    if (address == reinterpret_cast<void*>(-1)) {
        Release(shared);
        return false;
    }
    // Every page is written by the first push: mapping them all in one call costs less
    // than a fault per page (kernels without the advice simply fault them in).
    madvise(address, static_cast<std::size_t>(shared.image->bytes_per_line) * height, MADV_POPULATE_WRITE);
    shared.segment.shmaddr = shared.image->data = static_cast<char*>(address);
    shared.segment.readOnly = True;
    // A refused attach comes back as an error event, not as a status.
    XSync(display_, False);
    gRequestRefused = false;
    XErrorHandler previous = XSetErrorHandler(NoteRefusal);
    const bool sent = XShmAttach(display_, &shared.segment);
    XSync(display_, False);
    XSetErrorHandler(previous);
    shared.attached = sent && !gRequestRefused;
    if (!shared.attached)
        Release(shared);
    return shared.attached;
}

void X11Presenter::Release(Shared& shared) {
    if (!shared.image)
        return;
    if (shared.segment.shmaddr) {
        if (shared.attached) {
            XShmDetach(display_, &shared.segment);
            XSync(display_, False);
        }
        shmdt(shared.segment.shmaddr);
    }
    shared.image->data = nullptr;
    XDestroyImage(shared.image);
    shared = Shared{};
}

#include "platform/win/user/X11Presenter.h"

#include "platform/win/gdi/Surface.h"
#include "platform/win/kernel/Time.h"
#include "platform/win/user/X11SharedImage.h"

#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

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

} // namespace

X11Presenter::X11Presenter(Display* display, bool sharedMemory)
    : display_(display), sharedMemory_(sharedMemory && IsLocal(display) && XShmQueryExtension(display)),
      gc_(XCreateGC(display, DefaultRootWindow(display), 0, nullptr)) {}

X11Presenter::~X11Presenter() {
    for (const std::weak_ptr<X11SharedImage>& handed : images_)
        if (const std::shared_ptr<X11SharedImage> image = handed.lock())
            image->Disconnect();
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
    bool shared = false;
    for (const auto& [window, changes] : frame)
        if (const Surface* surface = surfaceOf(window))
            shared |= Push(window, *surface, changes.areas);
    // The server reads shared pixels when it gets to the request: drawing goes on once it
    // has answered, so it never shows a frame half drawn.
    if (shared)
        XSync(display_, False);
    else
        XFlush(display_);
}

void X11Presenter::Forget(Window window) { pending_.erase(window); }

std::shared_ptr<SurfaceMemory> X11Presenter::SharedMemory(int width, int height) {
    if (!sharedMemory_)
        return nullptr;
    std::shared_ptr<X11SharedImage> image = X11SharedImage::Create(display_, width, height);
    if (!image) {
        // A server that refuses one segment refuses them all: keep to plain requests.
        sharedMemory_ = false;
        return nullptr;
    }
    std::erase_if(images_, [](const std::weak_ptr<X11SharedImage>& handed) { return handed.expired(); });
    images_.push_back(image);
    return image;
}

bool X11Presenter::Push(Window window, const Surface& surface, const std::vector<RECT>& areas) {
    const RECT whole{0, 0, surface.Width(), surface.Height()};
    std::vector<RECT> clipped;
    for (const RECT& r : areas) {
        const RECT c{std::max(r.left, whole.left), std::max(r.top, whole.top), std::min(r.right, whole.right),
                     std::min(r.bottom, whole.bottom)};
        if (!IsEmpty(c))
            clipped.push_back(c);
    }
    if (clipped.empty())
        return false;
    const auto* image = dynamic_cast<const X11SharedImage*>(surface.Memory());
    if (!image || !image->Connected() || image->Connection() != display_) {
        PutPlain(window, surface, clipped);
        return false;
    }
    for (const RECT& r : clipped)
        image->Put(window, gc_, r.left, r.top, r.right - r.left, r.bottom - r.top);
    return true;
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

SurfaceMemorySource X11SharedMemorySource(const std::weak_ptr<X11Presenter>& presenter) {
    return [presenter](int width, int height) -> std::shared_ptr<SurfaceMemory> {
        const std::shared_ptr<X11Presenter> alive = presenter.lock();
        return alive ? alive->SharedMemory(width, height) : nullptr;
    };
}

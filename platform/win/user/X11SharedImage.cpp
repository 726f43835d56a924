#include "platform/win/user/X11SharedImage.h"

#include <X11/Xutil.h>
#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>

namespace {

// The attach request's number: only an error about it says the segment was refused.
unsigned long gAttachRequest = 0;
bool gAttachRefused = false;
int NoteRefusal(Display*, XErrorEvent* error) {
    if (error->serial == gAttachRequest)
        gAttachRefused = true;
    return 0;
}

} // namespace

std::shared_ptr<X11SharedImage> X11SharedImage::Create(Display* display, int width, int height) {
    std::shared_ptr<X11SharedImage> image(new X11SharedImage(display));
    if (!image->Attach(width, height))
        return nullptr;
    return image;
}

bool X11SharedImage::Attach(int width, int height) {
    const int screen = DefaultScreen(display_);
    image_ = XShmCreateImage(display_, DefaultVisual(display_, screen), static_cast<unsigned>(DefaultDepth(display_, screen)),
                             ZPixmap, nullptr, &segment_, static_cast<unsigned>(width), static_cast<unsigned>(height));
    // The surface draws its own layout into the segment, so the image must have it.
    if (!image_ || image_->bits_per_pixel != 32 || image_->bytes_per_line != width * 4)
        return false;
    segment_.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(image_->bytes_per_line) * height, IPC_CREAT | 0600);
    if (segment_.shmid < 0)
        return false;
    void* address = shmat(segment_.shmid, nullptr, 0);
    // Marked for removal at once: the segment lives while this process or the server has it attached.
    shmctl(segment_.shmid, IPC_RMID, nullptr);
    if (address == reinterpret_cast<void*>(-1))
        return false;
    // The surface's first paint writes every page: mapping them all in one call costs less
    // than a fault per page (kernels without the advice simply fault them in).
    madvise(address, static_cast<std::size_t>(image_->bytes_per_line) * height, MADV_POPULATE_WRITE);
    segment_.shmaddr = image_->data = static_cast<char*>(address);
    segment_.readOnly = True;
    // A refused attach comes back as an error event, not as a status.
    gAttachRefused = false;
    XErrorHandler previous = XSetErrorHandler(NoteRefusal);
    gAttachRequest = NextRequest(display_);
    const bool sent = XShmAttach(display_, &segment_);
    XSync(display_, False);
    XSetErrorHandler(previous);
    attached_ = sent && !gAttachRefused;
    return attached_;
}

X11SharedImage::~X11SharedImage() {
    Disconnect();
    if (segment_.shmaddr)
        shmdt(segment_.shmaddr);
    if (image_) {
        image_->data = nullptr;
        XDestroyImage(image_);
    }
}

std::uint32_t* X11SharedImage::Pixels() { return reinterpret_cast<std::uint32_t*>(image_->data); }

void X11SharedImage::Put(Window window, GC gc, int x, int y, int width, int height) const {
    XShmPutImage(display_, window, gc, image_, x, y, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), False);
}

void X11SharedImage::Disconnect() {
    if (!attached_)
        return;
    XShmDetach(display_, &segment_);
    XSync(display_, False);
    attached_ = false;
}

// Another X client for the tests of the shared clipboard under Xvfb: a second, plain Xlib
// connection of the test, as any other program on the display would be. It pastes by
// asking the owner of CLIPBOARD, and copies by taking CLIPBOARD and answering requests on
// a thread of its own.
#pragma once

// Xlib's names that the window system and the class library use as well.
#define Region XlibRegion
#define Screen XlibScreen
#define Time XlibTime
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#undef Time
#undef Screen
#undef Region

#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
#include <utility>

class X11ClipboardPeer {
public:
    explicit X11ClipboardPeer(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
        if (!display_)
            return;
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        clipboard_ = XInternAtom(display_, "CLIPBOARD", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        targets_ = XInternAtom(display_, "TARGETS", False);
        property_ = XInternAtom(display_, "PEER_PASTE", False);
    }
    ~X11ClipboardPeer() {
        Stop();
        if (display_) {
            XDestroyWindow(display_, window_);
            XCloseDisplay(display_);
        }
    }
    bool Connected() const { return display_ != nullptr; }
    Atom Utf8() const { return utf8_; }
    Atom Targets() const { return targets_; }
    Atom Intern(const char* name) { return XInternAtom(display_, name, False); }

    // Pastes: asks the owner of CLIPBOARD for the target while `pump` runs the window
    // system; the bytes and type of the answer, none when refused or not answered.
    std::optional<std::pair<Atom, std::string>> Request(Atom target, const std::function<void()>& pump) {
        XConvertSelection(display_, clipboard_, target, property_, window_, CurrentTime);
        XFlush(display_);
        XEvent reply;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!XCheckTypedWindowEvent(display_, window_, SelectionNotify, &reply)) {
            if (std::chrono::steady_clock::now() > deadline)
                return std::nullopt;
            pump();
            usleep(2000);
        }
        if (reply.xselection.property == None)
            return std::nullopt;
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        XGetWindowProperty(display_, window_, property_, 0, 1 << 20, True, AnyPropertyType, &type, &format, &count,
                           &after, &data);
        const size_t bytes = format == 32 ? count * sizeof(long) : count;
        std::pair<Atom, std::string> answer{type, std::string(reinterpret_cast<char*>(data), bytes)};
        XFree(data);
        return answer;
    }

    // Copies: takes CLIPBOARD with the UTF-8 text and answers requests on a thread of its own.
    void Serve(const std::string& utf8) {
        XSetSelectionOwner(display_, clipboard_, window_, CurrentTime);
        XSync(display_, False);  // the server has taken it before the test goes on
        serving_ = true;
        thread_ = std::thread([this, utf8] {
            while (serving_) {
                while (XPending(display_)) {
                    XEvent event;
                    XNextEvent(display_, &event);
                    if (event.type == SelectionRequest)
                        Answer(event.xselectionrequest, utf8);
                }
                usleep(2000);
            }
        });
    }
    // Stops answering; the selection is given up with the window.
    void Stop() {
        serving_ = false;
        if (thread_.joinable())
            thread_.join();
    }
    void GiveUp() {
        Stop();
        XSetSelectionOwner(display_, clipboard_, None, CurrentTime);
        XSync(display_, False);
    }

private:
    void Answer(const XSelectionRequestEvent& request, const std::string& utf8) {
        XEvent notify{};
        notify.xselection.type = SelectionNotify;
        notify.xselection.requestor = request.requestor;
        notify.xselection.selection = request.selection;
        notify.xselection.target = request.target;
        notify.xselection.time = request.time;
        notify.xselection.property = None;
        if (request.target == utf8_) {
            XChangeProperty(display_, request.requestor, request.property, utf8_, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
            notify.xselection.property = request.property;
        }
        XSendEvent(display_, request.requestor, False, NoEventMask, &notify);
        XFlush(display_);
    }

    Display* display_;
    Window window_ = 0;
    Atom clipboard_ = None, utf8_ = None, targets_ = None, property_ = None;
    std::atomic<bool> serving_{false};
    std::thread thread_;
};

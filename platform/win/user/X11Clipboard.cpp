#include "platform/win/user/X11Clipboard.h"

#include "platform/rtl/CodePage.h"
#include "platform/win/user/Clipboard.h"

#define Region XlibRegion
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#undef Region

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

// How long another program may take to hand over its text.
constexpr auto kFetchTimeout = std::chrono::milliseconds(2000);
// The largest text taken from another program, in 32-bit units of the property.
constexpr long kFetchLimit = 4 * 1024 * 1024;

std::string WindowsToUnix(const AnsiString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.Length()));
    const std::string& bytes = text.str();
    for (size_t i = 0; i < bytes.size(); ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n'))
            out.push_back(bytes[i]);
    return out;
}

AnsiString UnixToWindows(const AnsiString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.Length()) + 16);
    const std::string& bytes = text.str();
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
            out.push_back('\r');
        out.push_back(bytes[i]);
    }
    return AnsiString(out);
}

// Latin-1 bytes of a Windows-1252 text; characters Latin-1 lacks become '?'.
std::string AnsiToLatin1(const std::string& text) {
    std::string out(text);
    for (char& c : out) {
        const char32_t code = AnsiCharToUnicode(static_cast<unsigned char>(c));
        c = code <= 0xFF ? static_cast<char>(code) : '?';
    }
    return out;
}

AnsiString Latin1ToAnsi(const std::string& text) {
    std::string out(text);
    for (char& c : out) {
        char mapped = '?';
        c = UnicodeToAnsiChar(static_cast<unsigned char>(c), mapped) ? mapped : '?';
    }
    return AnsiString(out);
}

class X11Clipboard : public ClipboardBridge {
public:
    explicit X11Clipboard(Display* display) : display_(display) {
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), -10, -10, 1, 1, 0, 0, 0);
        // Its own property changes tell it the server's time (below).
        XSelectInput(display_, window_, PropertyChangeMask);
        // One request for all the names: each would otherwise wait for its own answer.
        char* names[] = {const_cast<char*>("CLIPBOARD"),   const_cast<char*>("UTF8_STRING"),
                         const_cast<char*>("TARGETS"),     const_cast<char*>("VENDARO_CLIPBOARD"),
                         const_cast<char*>("TIMESTAMP"),   const_cast<char*>("text/plain;charset=utf-8"),
                         const_cast<char*>("VENDARO_TIME")};
        Atom atoms[7] = {};
        XInternAtoms(display_, names, 7, False, atoms);
        clipboard_ = atoms[0];
        utf8_ = atoms[1];
        targets_ = atoms[2];
        property_ = atoms[3];
        timestamp_ = atoms[4];
        textPlainUtf8_ = atoms[5];
        timeProperty_ = atoms[6];
    }
    ~X11Clipboard() override { XDestroyWindow(display_, window_); }

    Display* display() const { return display_; }

    bool Owns() override { return XGetSelectionOwner(display_, clipboard_) == window_; }

    void Own(const AnsiString& text) override {
        offered_ = WindowsToUnix(text);
        // The selection is taken at a real time, which TIMESTAMP answers: the X selection
        // convention asks that of every owner, and CurrentTime is no time to answer.
        ownedSince_ = ServerTime();
        // Synced: once the text is set, every other program finds this one the owner.
        XSetSelectionOwner(display_, clipboard_, window_, ownedSince_);
        XSync(display_, False);
    }

    void Release() override {
        if (!Owns())
            return;
        offered_.clear();
        XSetSelectionOwner(display_, clipboard_, None, CurrentTime);
        XSync(display_, False);
    }

    std::optional<AnsiString> Fetch() override {
        if (XGetSelectionOwner(display_, clipboard_) == None)
            return std::nullopt;
        if (std::optional<std::string> utf8 = Convert(utf8_))
            return UnixToWindows(Utf8ToAnsi(*utf8));
        if (std::optional<std::string> latin1 = Convert(XA_STRING))
            return UnixToWindows(Latin1ToAnsi(*latin1));
        return std::nullopt;
    }

    bool HandleEvent(XEvent& event) {
        if (event.xany.window != window_)
            return false;
        if (event.type == SelectionRequest)
            Answer(event.xselectionrequest);
        return true;
    }

private:
    // The server's time now: that of the notice of an empty append to a property of the
    // clipboard's own window. CurrentTime when no notice comes.
    ::Time ServerTime() {
        XChangeProperty(display_, window_, timeProperty_, XA_STRING, 8, PropModeAppend, nullptr, 0);
        XFlush(display_);
        const auto deadline = std::chrono::steady_clock::now() + kFetchTimeout;
        XEvent event;
        for (;;) {
            while (XCheckTypedWindowEvent(display_, window_, PropertyNotify, &event))
                if (event.xproperty.atom == timeProperty_)
                    return event.xproperty.time;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return CurrentTime;
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
        }
    }

    // Asks the owner for its text in the target and waits for the answer.
    std::optional<std::string> Convert(Atom target) {
        XDeleteProperty(display_, window_, property_);
        XConvertSelection(display_, clipboard_, target, property_, window_, CurrentTime);
        XFlush(display_);
        XEvent reply;
        if (!WaitForNotify(reply) || reply.xselection.property == None)
            return std::nullopt;
        return TakeProperty(target);
    }

    bool WaitForNotify(XEvent& reply) {
        const auto deadline = std::chrono::steady_clock::now() + kFetchTimeout;
        while (!XCheckTypedWindowEvent(display_, window_, SelectionNotify, &reply)) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return false;
            pollfd fd{ConnectionNumber(display_), POLLIN, 0};
            poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
        }
        return true;
    }

    std::optional<std::string> TakeProperty(Atom target) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const int status = XGetWindowProperty(display_, window_, property_, 0, kFetchLimit, True, AnyPropertyType,
                                              &type, &format, &count, &after, &data);
        std::unique_ptr<unsigned char, int (*)(void*)> owned(data, XFree);
        // Transfers in pieces (INCR) and texts beyond the limit are not taken.
        if (status != Success || !data || type != target || format != 8 || after != 0)
            return std::nullopt;
        return std::string(reinterpret_cast<const char*>(data), count);
    }

    void Answer(const XSelectionRequestEvent& request) {
        // Old clients name no property: the answer goes into one named after the target.
        const Atom property = request.property != None ? request.property : request.target;
        bool answered = request.selection == clipboard_ && Owns();
        if (answered && request.target == targets_) {
            const Atom list[] = {targets_, timestamp_, utf8_, textPlainUtf8_, XA_STRING};
            XChangeProperty(display_, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(list), 5);
        } else if (answered && request.target == timestamp_) {
            // Format 32 items are longs to Xlib, whatever their size on the wire.
            const long since = static_cast<long>(ownedSince_);
            XChangeProperty(display_, request.requestor, property, XA_INTEGER, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&since), 1);
        } else if (answered && (request.target == utf8_ || request.target == textPlainUtf8_ || request.target == XA_STRING)) {
            const std::string text = request.target == XA_STRING ? AnsiToLatin1(offered_) : AnsiToUtf8(AnsiString(offered_));
            XChangeProperty(display_, request.requestor, property, request.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
        } else {
            answered = false;
        }
        XEvent notify{};
        notify.xselection.type = SelectionNotify;
        notify.xselection.display = display_;
        notify.xselection.requestor = request.requestor;
        notify.xselection.selection = request.selection;
        notify.xselection.target = request.target;
        notify.xselection.property = answered ? property : None;
        notify.xselection.time = request.time;
        XSendEvent(display_, request.requestor, False, NoEventMask, &notify);
        XFlush(display_);
    }

    Display* display_;
    Window window_;
    Atom clipboard_, utf8_, targets_, property_, timestamp_, textPlainUtf8_, timeProperty_;
    ::Time ownedSince_ = CurrentTime;  // when the selection was taken
    std::string offered_;  // Windows-1252 text with LF line ends
};

std::unique_ptr<X11Clipboard>& Attached() {
    static std::unique_ptr<X11Clipboard> clipboard;
    return clipboard;
}

}  // namespace

void X11ClipboardAttach(_XDisplay* display) {
    X11ClipboardDetach(Attached() ? Attached()->display() : nullptr);
    Attached() = std::make_unique<X11Clipboard>(display);
    UserSetClipboardBridge(Attached().get());
}

void X11ClipboardDetach(_XDisplay* display) {
    if (!Attached() || Attached()->display() != display)
        return;
    UserSetClipboardBridge(nullptr);
    Attached().reset();
}

bool X11ClipboardHandleEvent(_XEvent& event) { return Attached() && Attached()->HandleEvent(event); }

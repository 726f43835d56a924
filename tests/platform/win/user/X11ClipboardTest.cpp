// The clipboard shared with another X client under Xvfb: that client is a second,
// plain Xlib connection of the test, as any other program on the display would be.
#include "UserFixture.h"

#include "platform/win/user/Clipboard.h"
#include "tests/support/TestDisplay.h"

#define Region XlibRegion
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#undef Region

#include <atomic>
#include <functional>
#include <memory>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

class Peer {
public:
    explicit Peer(const std::string& name) : display_(XOpenDisplay(name.c_str())) {
        if (!display_)
            return;
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
        clipboard_ = XInternAtom(display_, "CLIPBOARD", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        targets_ = XInternAtom(display_, "TARGETS", False);
        property_ = XInternAtom(display_, "PEER_PASTE", False);
    }
    ~Peer() {
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

void Copy(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_TEXT, const_cast<char*>(text));
    CloseClipboard();
}

std::optional<std::string> Paste() {
    EXPECT_TRUE(OpenClipboard(nullptr));
    const char* data = static_cast<const char*>(GetClipboardData(CF_TEXT));
    std::optional<std::string> text = data ? std::optional<std::string>(data) : std::nullopt;
    CloseClipboard();
    return text;
}

class X11ClipboardTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        if (!TestDisplay::Installed())
            GTEST_SKIP() << "Xvfb is not installed";
        ASSERT_TRUE(display_.Install());
        ASSERT_NE(UserClipboardBridge(), nullptr);
        peer_ = std::make_unique<Peer>(display_.Name());
        ASSERT_TRUE(peer_->Connected());
    }
    void TearDown() override {
        peer_.reset();
        display_.Stop();
        EXPECT_EQ(UserClipboardBridge(), nullptr) << "headless keeps its own store";
        UserTest::TearDown();
    }

    TestDisplay display_{300};
    std::unique_ptr<Peer> peer_;
};

TEST_F(X11ClipboardTest, CopiedTextIsPastedByAnotherClient) {
    Copy("caff\xe8 \x80" "5\r\nriga due");
    const auto pump = [this] { Pump(); };
    const struct {
        Atom target;
        std::string bytes;
    } cases[] = {
        {peer_->Utf8(), "caff\xc3\xa8 \xe2\x82\xac" "5\nriga due"},
        {XA_STRING, "caff\xe8 ?5\nriga due"},  // Latin-1 has no euro sign
    };
    for (const auto& c : cases) {
        const auto answer = peer_->Request(c.target, pump);
        ASSERT_TRUE(answer.has_value());
        EXPECT_EQ(answer->first, c.target);
        EXPECT_EQ(answer->second, c.bytes);
    }
    const auto targets = peer_->Request(peer_->Targets(), pump);
    ASSERT_TRUE(targets.has_value());
    EXPECT_EQ(targets->first, XA_ATOM);
    const auto* atoms = reinterpret_cast<const long*>(targets->second.data());
    const std::vector<long> offered(atoms, atoms + targets->second.size() / sizeof(long));
    EXPECT_EQ(offered, (std::vector<long>{static_cast<long>(peer_->Targets()), static_cast<long>(peer_->Utf8()),
                                          static_cast<long>(XA_STRING)}));
    // Other formats are refused.
    EXPECT_FALSE(peer_->Request(peer_->Intern("image/png"), pump));
    // Emptied here, the clipboard has nothing for the others.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(peer_->Request(peer_->Utf8(), pump));
}

TEST_F(X11ClipboardTest, TextCopiedByAnotherClientIsPastedHere) {
    Copy("nostro");
    EXPECT_EQ(Paste(), "nostro");
    peer_->Serve("gi\xc3\xa0 fatto \xe2\x82\xac\nriga \xe2\x98\x83");
    EXPECT_EQ(Paste(), "gi\xe0 fatto \x80\r\nriga ?");  // no snowman in Windows-1252
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(UserClipboardText(), "gi\xe0 fatto \x80\r\nriga ?");
    // Once nobody holds the clipboard, it is empty.
    peer_->GiveUp();
    EXPECT_EQ(Paste(), std::nullopt);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    // Copying again takes it back.
    Copy("di nuovo");
    EXPECT_EQ(Paste(), "di nuovo");
}

}  // namespace

// The clipboard shared with another X client under Xvfb: that client is a second,
// plain Xlib connection of the test, as any other program on the display would be.
#include "UserFixture.h"

#include "platform/win/user/Clipboard.h"
#include "tests/support/TestDisplay.h"
#include "tests/support/X11ClipboardPeer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

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
        peer_ = std::make_unique<X11ClipboardPeer>(display_.Name());
        ASSERT_TRUE(peer_->Connected());
    }
    void TearDown() override {
        peer_.reset();
        display_.Stop();
        EXPECT_EQ(UserClipboardBridge(), nullptr) << "headless keeps its own store";
        UserTest::TearDown();
    }

    TestDisplay display_{300};
    std::unique_ptr<X11ClipboardPeer> peer_;
};

TEST_F(X11ClipboardTest, CopiedTextIsPastedByAnotherClient) {
    Copy("caff\xe8 \x80" "5\r\nriga due");
    const auto pump = [this] { Pump(); };
    const struct {
        Atom target;
        std::string bytes;
    } cases[] = {
        {peer_->Utf8(), "caff\xc3\xa8 \xe2\x82\xac" "5\nriga due"},
        {peer_->Intern("text/plain;charset=utf-8"), "caff\xc3\xa8 \xe2\x82\xac" "5\nriga due"},
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
    EXPECT_EQ(offered, (std::vector<long>{static_cast<long>(peer_->Targets()), static_cast<long>(peer_->Intern("TIMESTAMP")),
                                          static_cast<long>(peer_->Utf8()),
                                          static_cast<long>(peer_->Intern("text/plain;charset=utf-8")),
                                          static_cast<long>(XA_STRING)}));
    // Other formats are refused.
    EXPECT_FALSE(peer_->Request(peer_->Intern("image/png"), pump));
    // Emptied here, the clipboard has nothing for the others.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_FALSE(peer_->Request(peer_->Utf8(), pump));
}

TEST_F(X11ClipboardTest, TheOwnerTellsWhenItTookTheClipboard) {
    const auto pump = [this] { Pump(); };
    Copy("uno");
    const auto first = peer_->Request(peer_->Intern("TIMESTAMP"), pump);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->first, XA_INTEGER);
    ASSERT_EQ(first->second.size(), sizeof(long));
    const long taken = *reinterpret_cast<const long*>(first->second.data());
    EXPECT_NE(taken, static_cast<long>(CurrentTime));
    // Asked again, the same time; copying again takes it anew, not earlier.
    const auto again = peer_->Request(peer_->Intern("TIMESTAMP"), pump);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(*reinterpret_cast<const long*>(again->second.data()), taken);
    usleep(20000);
    Copy("due");
    const auto later = peer_->Request(peer_->Intern("TIMESTAMP"), pump);
    ASSERT_TRUE(later.has_value());
    EXPECT_GT(*reinterpret_cast<const long*>(later->second.data()), taken);
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

// The edit in a real X window under Xvfb: what it copies another X client pastes, and what
// that client copies the edit pastes; the window as the server shows it is saved as a PNG.
#include "EditInputFixture.h"

#include "tests/support/TestDisplay.h"
#include "tests/support/X11ClipboardPeer.h"

#include <memory>

namespace {

class EditInputX11Test : public EditInputFixture {};

TEST_F(EditInputX11Test, TheClipboardIsSharedWithOtherPrograms)
{
    if (!TestDisplay::Installed())
        GTEST_SKIP() << "Xvfb is not installed";
    TestDisplay display(340, 400, 200);
    ASSERT_TRUE(display.Install());
    X11ClipboardPeer peer(display.Name());
    ASSERT_TRUE(peer.Connected());
    auto* form = new TForm(form_);
    form->SetBorderStyle(bsNone);
    form->SetBounds(40, 40, 220, 41);
    form->Show();
    edit_ = new TTestEdit(form);
    edit_->SetParent(form);
    edit_->SetBounds(10, 10, 200, 21);
    Pump();
    Focus();

    Type("caff");
    UserInjectKey(VK_OEM_7, true, '\xE8');
    UserInjectKey(VK_OEM_7, false);
    PumpKeys();
    Key('A', false, true);
    Key('C', false, true);
    const auto pump = [] { PumpKeys(); };
    const auto pasted = peer.Request(peer.Utf8(), pump);
    ASSERT_TRUE(pasted.has_value());
    EXPECT_EQ(pasted->second, "caff\xC3\xA8");

    peer.Serve("gi\xC3\xA0 fatto");
    Key('V', false, true);
    EXPECT_EQ(Text(), "gi\xE0 fatto");
    peer.GiveUp();
    Key(VK_LEFT);
    Keys(VK_LEFT, 5, true);

    Surface shown;
    EXPECT_EQ(TestDisplay::ReadBackWhenShown(form->Handle(), shown, pump), 0);
    EXPECT_TRUE(TestDisplay::SavePng(shown, "edit-input-x11.png"));
    FreeObject(form);
}

}

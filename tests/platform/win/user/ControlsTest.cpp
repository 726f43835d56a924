#include "UserFixture.h"

namespace {

struct DrawRecord {
    UINT state;
    UINT action;
    RECT rect;
};

class ControlsTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        form_ = Create(WS_POPUP | WS_VISIBLE, 0, 0, 300, 200);
        Answer(form_, WM_DRAWITEM, [this](WPARAM, LPARAM l) {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
            EXPECT_EQ(item->CtlType, ODT_BUTTON);
            EXPECT_EQ(item->hwndItem, button_);
            EXPECT_NE(item->hDC, nullptr);
            draws_.push_back({item->itemState, item->itemAction, item->rcItem});
            return TRUE;
        });
        Answer(form_, WM_COMMAND, [this](WPARAM w, LPARAM l) {
            commands_.push_back({LOWORD(w), HIWORD(w), reinterpret_cast<HWND>(l)});
            return 0;
        });
        button_ = CreateWindowExA(0, "BUTTON", "&Inizia", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, 10, 10, 80,
                                  25, form_, reinterpret_cast<HMENU>(42), nullptr, nullptr);
        Pump();
        draws_.clear();
    }
    struct Command { WORD id; WORD code; HWND from; };
    std::vector<UINT> States() {
        std::vector<UINT> out;
        for (const DrawRecord& d : draws_)
            out.push_back(d.state & (ODS_SELECTED | ODS_FOCUS));
        draws_.clear();
        return out;
    }
    POINT At(int x, int y) { return ScreenOf(button_, x, y); }

    HWND form_{}, button_{};
    std::vector<DrawRecord> draws_;
    std::vector<Command> commands_;
};

TEST_F(ControlsTest, OwnerDrawButtonPressTakesFocusAndCaptureAndReleaseClicks) {
    const POINT p = At(5, 5);
    UserInjectMouseMove(p.x, p.y);
    UserInjectMouseButton(MouseButton::Left, true, p.x, p.y);
    Pump();
    EXPECT_EQ(GetFocus(), button_);
    EXPECT_EQ(GetCapture(), button_);
    EXPECT_EQ(States(), (std::vector<UINT>{ODS_FOCUS, ODS_FOCUS | ODS_SELECTED}));
    EXPECT_EQ(SendMessageA(button_, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    UserInjectMouseButton(MouseButton::Left, false, p.x, p.y);
    Pump();
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(States(), std::vector<UINT>{ODS_FOCUS});
    ASSERT_EQ(commands_.size(), 1u);
    EXPECT_EQ(commands_[0].id, 42);
    EXPECT_EQ(commands_[0].code, BN_CLICKED);
    EXPECT_EQ(commands_[0].from, button_);
}

TEST_F(ControlsTest, PushedLookFollowsThePointerWhileCaptured) {
    const POINT in = At(5, 5), out = At(200, 100);
    struct Step { POINT to; bool press; bool release; UINT selected; };
    UserInjectMouseButton(MouseButton::Left, true, in.x, in.y);
    UserInjectMouseMove(out.x, out.y);
    UserInjectMouseMove(in.x, in.y);
    UserInjectMouseMove(out.x, out.y);
    UserInjectMouseButton(MouseButton::Left, false, out.x, out.y);
    Pump();
    EXPECT_EQ(States(), (std::vector<UINT>{ODS_FOCUS, ODS_FOCUS | ODS_SELECTED, ODS_FOCUS, ODS_FOCUS | ODS_SELECTED, ODS_FOCUS}));
    // Released outside: no click.
    EXPECT_TRUE(commands_.empty());
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlsTest, CancelModeAndLostCaptureResetThePushedButton) {
    const POINT p = At(5, 5);
    for (UINT reset : {WM_CANCELMODE, WM_CAPTURECHANGED}) {
        UserInjectMouseButton(MouseButton::Left, true, p.x, p.y);
        Pump();
        ASSERT_EQ(GetCapture(), button_);
        draws_.clear();
        if (reset == WM_CANCELMODE)
            SendMessageA(button_, WM_CANCELMODE, 0, 0);
        else
            SetCapture(form_);
        EXPECT_EQ(States(), std::vector<UINT>{ODS_FOCUS}) << reset;
        ReleaseCapture();
        UserInjectMouseButton(MouseButton::Left, false, p.x, p.y);
        Pump();
        EXPECT_TRUE(commands_.empty()) << reset;
        clock_.Advance(2000);
    }
}

TEST_F(ControlsTest, SpacePushesAndClicks) {
    SetFocus(button_);
    draws_.clear();
    UserInjectKey(VK_SPACE, true);
    Pump();
    EXPECT_EQ(States(), std::vector<UINT>{ODS_FOCUS | ODS_SELECTED});
    UserInjectKey(VK_SPACE, false);
    Pump();
    EXPECT_EQ(States(), std::vector<UINT>{ODS_FOCUS});
    ASSERT_EQ(commands_.size(), 1u);
    EXPECT_EQ(commands_[0].code, BN_CLICKED);
}

TEST_F(ControlsTest, SetStateDrawsPushedWithTheClientRectangle) {
    SendMessageA(button_, BM_SETSTATE, 1, 0);
    SendMessageA(button_, BM_SETSTATE, 0, 0);
    ASSERT_EQ(draws_.size(), 2u);
    EXPECT_EQ(draws_[0].state & ODS_SELECTED, ODS_SELECTED);
    EXPECT_EQ(draws_[0].action, ODA_SELECT);
    EXPECT_EQ(draws_[0].rect.right, 80);
    EXPECT_EQ(draws_[0].rect.bottom, 25);
    EXPECT_EQ(draws_[1].state & ODS_SELECTED, 0u);
}

TEST_F(ControlsTest, AutoCheckBoxTogglesOnClick) {
    HWND box = CreateWindowExA(0, "BUTTON", "Anagrafica Clienti", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 10, 50, 150, 17,
                               form_, reinterpret_cast<HMENU>(5), nullptr, nullptr);
    Pump();
    const POINT p = ScreenOf(box, 3, 8);
    for (WPARAM expected : {BST_CHECKED, BST_UNCHECKED}) {
        UserInjectClick(p.x, p.y);
        Pump();
        EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), static_cast<LRESULT>(expected));
        clock_.Advance(1000);
    }
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), static_cast<LRESULT>(BST_CHECKED));
    ASSERT_EQ(commands_.size(), 2u);
    EXPECT_EQ(commands_[1].id, 5);
}

TEST_F(ControlsTest, GroupBoxIsTransparentToTheMouse) {
    HWND group = CreateWindowExA(0, "BUTTON", "Gruppo", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 100, 100, 150, 80, form_,
                                 nullptr, nullptr, nullptr);
    const POINT p = ScreenOf(group, 50, 40);
    EXPECT_EQ(WindowFromPoint(p), form_);
}

TEST_F(ControlsTest, EditTakesTypedTextSelectionAndClipboard) {
    HWND edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 100, 200, 21,
                                form_, reinterpret_cast<HMENU>(9), nullptr, nullptr);
    SetFocus(edit);
    UserInjectText("C:\\dati\\db.mdb");
    Pump();
    char text[64];
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "C:\\dati\\db.mdb");
    int changes = 0;
    for (const Command& c : commands_)
        changes += c.id == 9 && c.code == EN_CHANGE;
    EXPECT_EQ(changes, 14);
    UserInjectKeyStroke(VK_HOME);
    UserInjectKeyStroke(VK_RIGHT, true);
    UserInjectKeyStroke(VK_RIGHT, true);
    UserInjectKeyStroke('C', false, true);
    Pump();
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 2u);
    EXPECT_EQ(UserClipboardText(), "C:");
    SendMessageA(edit, EM_SETSEL, 0, -1);
    UserInjectKeyStroke(VK_BACK);
    Pump();
    EXPECT_EQ(GetWindowTextLengthA(edit), 0);
    SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(GetWindowTextLengthA(edit), 2);
    EXPECT_TRUE(SendMessageA(edit, EM_CANUNDO, 0, 0));
    CaretState caret{};
    ASSERT_TRUE(UserGetCaretState(&caret));
    EXPECT_EQ(caret.owner, edit);
    EXPECT_EQ(caret.hideCount, 0);
}

TEST_F(ControlsTest, EditLimitAndReadOnly) {
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 100, 200, 21, form_, nullptr, nullptr, nullptr);
    SetFocus(edit);
    SendMessageA(edit, EM_LIMITTEXT, 3, 0);
    UserInjectText("abcdef");
    Pump();
    EXPECT_EQ(GetWindowTextLengthA(edit), 3);
    SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
    UserInjectKeyStroke(VK_BACK);
    Pump();
    EXPECT_EQ(GetWindowTextLengthA(edit), 3);
}

TEST_F(ControlsTest, ListBoxKeepsItemsSelectionAndShowsAScrollBarWhenFull) {
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 10, 50, 150, 60,
                                form_, reinterpret_cast<HMENU>(3), nullptr, nullptr);
    SendMessageA(list, LB_SETITEMHEIGHT, 0, 13);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Importazione clienti")), 0);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Importazione articoli")), 1);
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
    for (int i = 0; i < 4; ++i)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Terminato"));
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 6);
    EXPECT_TRUE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    char text[64];
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text)), 21);
    EXPECT_STREQ(text, "Importazione articoli");
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 5);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 99, 0), LB_ERR);
    const POINT p = ScreenOf(list, 5, 13 + 5);
    UserInjectClick(p.x, p.y);
    Pump();
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(commands_.back().code, LBN_SELCHANGE);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & WS_VSCROLL);
}

}  // namespace

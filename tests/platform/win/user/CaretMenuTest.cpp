#include "UserFixture.h"

namespace {

TEST_F(UserTest, CaretStartsHiddenAndShowHideCountOnlyForTheOwner) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND a = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
    HWND b = Create(WS_CHILD | WS_VISIBLE, 50, 0, 50, 50, top);
    UserPumpMessages();
    ASSERT_TRUE(CreateCaret(a, nullptr, 2, 12));
    CaretState s{};
    ASSERT_TRUE(UserGetCaretState(&s));
    EXPECT_EQ(s.owner, a);
    EXPECT_EQ(s.hideCount, 1);
    EXPECT_FALSE(ShowCaret(b));
    EXPECT_TRUE(ShowCaret(a));
    EXPECT_TRUE(HideCaret(a));
    EXPECT_TRUE(HideCaret(nullptr));
    EXPECT_TRUE(ShowCaret(a));
    UserGetCaretState(&s);
    EXPECT_EQ(s.hideCount, 1);
    EXPECT_TRUE(ShowCaret(a));
    UserGetCaretState(&s);
    EXPECT_EQ(s.hideCount, 0);
    EXPECT_TRUE(s.blinkOn);
    EXPECT_FALSE(ShowCaret(a));
    SetCaretPos(7, 3);
    POINT p{};
    GetCaretPos(&p);
    EXPECT_EQ(p.x, 7);
    EXPECT_EQ(p.y, 3);
    // The caret blinks with the caret blink time.
    clock_.Advance(GetCaretBlinkTime());
    UserPumpMessages();
    UserGetCaretState(&s);
    EXPECT_FALSE(s.blinkOn);
    // A new caret replaces the old one, wherever it was.
    ASSERT_TRUE(CreateCaret(b, reinterpret_cast<HBITMAP>(1), 1, 10));
    UserGetCaretState(&s);
    EXPECT_EQ(s.owner, b);
    EXPECT_TRUE(s.grey);
    DestroyWindow(b);
    EXPECT_FALSE(UserGetCaretState(&s));
    EXPECT_FALSE(DestroyCaret());
}

TEST_F(UserTest, BitmapCaretTakesTheBitmapSize) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HBITMAP bitmap = CreateBitmap(3, 9, 1, 1, nullptr);
    ASSERT_TRUE(CreateCaret(top, bitmap, 20, 20));
    DeleteObject(bitmap);
    CaretState s{};
    ASSERT_TRUE(UserGetCaretState(&s));
    EXPECT_TRUE(s.fromBitmap);
    EXPECT_EQ(s.width, 3);
    EXPECT_EQ(s.height, 9);
    EXPECT_TRUE(DestroyCaret());
}

TEST_F(UserTest, ThreadInfoNamesTheCaretOwnerAndItsRectangle) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND a = Create(WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
    GUITHREADINFO info{};
    EXPECT_FALSE(GetGUIThreadInfo(0, &info));  // cbSize unset
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetGUIThreadInfo(0, &info));
    EXPECT_EQ(info.hwndCaret, nullptr);
    SetFocus(a);
    ASSERT_TRUE(CreateCaret(a, nullptr, 2, 12));
    SetCaretPos(5, 4);
    ASSERT_TRUE(GetGUIThreadInfo(0, &info));
    EXPECT_EQ(info.hwndCaret, a);
    EXPECT_EQ(info.hwndFocus, a);
    EXPECT_EQ(info.rcCaret.left, 5);
    EXPECT_EQ(info.rcCaret.bottom, 16);
    EXPECT_EQ(info.flags & GUI_CARETBLINKING, 0u);
    ShowCaret(a);
    ASSERT_TRUE(GetGUIThreadInfo(0, &info));
    EXPECT_EQ(info.flags & GUI_CARETBLINKING, GUI_CARETBLINKING);
    EXPECT_FALSE(GetGUIThreadInfo(1234, &info));
}

TEST_F(UserTest, CaretBlinkTimeIsOneSettingThatTheShownCaretFollows) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    UserPumpMessages();
    const UINT original = GetCaretBlinkTime();
    ASSERT_TRUE(SetCaretBlinkTime(200));
    EXPECT_EQ(GetCaretBlinkTime(), 200u);
    ASSERT_TRUE(CreateCaret(top, nullptr, 2, 10));
    ShowCaret(top);
    CaretState s{};
    UserGetCaretState(&s);
    ASSERT_TRUE(s.blinkOn);
    clock_.Advance(200);
    UserPumpMessages();
    UserGetCaretState(&s);
    EXPECT_FALSE(s.blinkOn);
    SetCaretBlinkTime(original);
    DestroyCaret();
}

TEST_F(UserTest, PopupMenuChoicePostsACommandToTheOwner) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 101, "&Taglia");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | MF_GRAYED, 102, "&Incolla");
    HMENU seen = nullptr;
    POINT at{};
    UserSetPopupMenuResponder([&](HMENU m, POINT p) { seen = m; at = p; return 101u; });
    ClearLog();
    EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, 30, 40, 0, top, nullptr));
    EXPECT_EQ(seen, menu);
    EXPECT_EQ(at.x, 30);
    UserPumpMessages();
    const std::vector<LoggedMessage> got = TakeAll({WM_INITMENUPOPUP, WM_COMMAND});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_INITMENUPOPUP));
    EXPECT_EQ(got[1].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(got[1].wParam, 101u);
    UserSetPopupMenuResponder([](HMENU, POINT) { return 102u; });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, top, nullptr), 102);
    EXPECT_EQ(EnableMenuItem(menu, 102, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
    DestroyMenu(menu);
}

TEST_F(UserTest, RealPopupMenuRunsOnInjectedInput) {
    HWND top = Create(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 201, "Uno");
    AppendMenuA(menu, MF_STRING, 202, "Due");
    UserSetPopupMenuResponder(nullptr);
    UserInjectKeyStroke(VK_DOWN);
    UserInjectKeyStroke(VK_DOWN);
    UserInjectKeyStroke(VK_RETURN);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, top, nullptr), 202);
    // No input left: the menu is dismissed.
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, top, nullptr), 0);
    DestroyMenu(menu);
}

TEST_F(UserTest, SystemMenuHasTheStandardEntriesAndDeleteByPositionShiftsThem) {
    HWND sizable = Create(WS_OVERLAPPEDWINDOW, 0, 0, 100, 100);
    HWND dialog = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 100, 100);
    HMENU full = GetSystemMenu(sizable, FALSE);
    const std::vector<UINT> fullIds = {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE};
    ASSERT_EQ(GetMenuItemCount(full), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(GetMenuItemID(full, i), fullIds[static_cast<size_t>(i)]) << i;
    HMENU reduced = GetSystemMenu(dialog, FALSE);
    const std::vector<UINT> reducedIds = {SC_RESTORE, SC_MOVE, SC_MINIMIZE, 0, SC_CLOSE};
    ASSERT_EQ(GetMenuItemCount(reduced), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(GetMenuItemID(reduced, i), reducedIds[static_cast<size_t>(i)]) << i;
    EXPECT_TRUE(DeleteMenu(full, 4, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemID(full, 4), 0u);
    EXPECT_EQ(GetMenuItemID(full, 5), static_cast<UINT>(SC_CLOSE));
    EXPECT_FALSE(DeleteMenu(full, 9, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(full), 6);
    EXPECT_EQ(GetSystemMenu(sizable, FALSE), full);
}

TEST_F(UserTest, ClipboardHoldsText) {
    HWND top = Create(WS_POPUP, 0, 0, 10, 10);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(OpenClipboard(top));
    EXPECT_FALSE(OpenClipboard(top));
    EmptyClipboard();
    char text[] = "Procedura completa";
    EXPECT_NE(SetClipboardData(CF_TEXT, text), nullptr);
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    OpenClipboard(nullptr);
    EXPECT_STREQ(static_cast<const char*>(GetClipboardData(CF_TEXT)), "Procedura completa");
    EXPECT_EQ(GetClipboardOwner(), top);
    CloseClipboard();
}

}  // namespace

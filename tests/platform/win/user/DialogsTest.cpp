#include "UserFixture.h"

#include "platform/win/user/Dialogs.h"

namespace {

TEST_F(UserTest, MessageBoxGoesToTheResponderWithTextCaptionAndType) {
    HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
    std::vector<MessageBoxRequest> asked;
    UserSetMessageBoxResponder([&](const MessageBoxRequest& r) { asked.push_back(r); return IDYES; });
    EXPECT_EQ(MessageBoxA(form, "Procedura completa", "ProceduraImportazione", MB_OK), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Trovato. Sostituire?", "Search", MB_YESNO), IDYES);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].owner, form);
    EXPECT_EQ(asked[0].text, "Procedura completa");
    EXPECT_EQ(asked[0].caption, "ProceduraImportazione");
    EXPECT_EQ(asked[1].type, MB_YESNO);
}

TEST_F(UserTest, RealMessageBoxRunsModallyOnInjectedKeys) {
    HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
    UserPumpMessages();
    struct Case { UINT type; std::vector<BYTE> keys; int expected; };
    const std::vector<Case> cases = {
        {MB_OK, {VK_RETURN}, IDOK},
        {MB_YESNO, {VK_RETURN}, IDYES},
        {MB_YESNO, {VK_TAB, VK_RETURN}, IDNO},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
        {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        // Nothing typed and no more input can come: the box is dismissed.
        {MB_YESNO, {}, IDNO},
        {MB_OK, {}, IDOK},
    };
    for (const Case& c : cases) {
        for (BYTE key : c.keys)
            UserInjectKeyStroke(key);
        EXPECT_EQ(MessageBoxA(form, "Il database impostato non \xE8 il database di Progetto Vendaro 4", "Attenzione", c.type),
                  c.expected) << c.type;
        EXPECT_TRUE(IsWindowEnabled(form));
        EXPECT_EQ(FindWindowA("VendaroMessageBox", nullptr), nullptr);
    }
}

TEST_F(UserTest, RealMessageBoxDisablesItsOwnerWhileOpen) {
    HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
    // A timer of the owner's thread looks at the state while the box runs, then presses Enter.
    static HWND owner = nullptr;
    static BOOL enabledDuringBox = TRUE;
    static HWND box = nullptr;
    owner = form;
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        enabledDuringBox = IsWindowEnabled(owner);
        box = FindWindowA("VendaroMessageBox", "Attenzione");
        KillTimer(nullptr, id);
        UserInjectKeyStroke(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxA(form, "Impossibile collegarsi alla base dati", "Attenzione", MB_OK), IDOK);
    EXPECT_FALSE(enabledDuringBox);
    EXPECT_NE(box, nullptr);
    EXPECT_TRUE(IsWindowEnabled(form));
}

}  // namespace

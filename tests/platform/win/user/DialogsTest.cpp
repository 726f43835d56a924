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

#include "platform/rtl/FileSystem.h"
#include "platform/win/user/CommonDialogs.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

class OpenFileTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        char pattern[] = "/tmp/vendaro-openfile-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::create_directories(root_ + "/Dati");
        for (const char* name : {"dbVendaroBase4.mdb", "note.txt", "Dati/clienti.db"})
            std::ofstream(root_ + "/" + name) << "x";
        FileSystem::SetDriveRoot('C', root_);
        savedDirectory_ = FileSystem::CurrentDirectory();
        FileSystem::ChangeDirectory("C:\\");
        form_ = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200);
        UserPumpMessages();
    }
    void TearDown() override {
        FileSystem::ChangeDirectory(savedDirectory_);
        FileSystem::Reset();
        std::filesystem::remove_all(root_);
        UserTest::TearDown();
    }
    OPENFILENAMEA Request(char* buffer, DWORD size, DWORD flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY) {
        OPENFILENAMEA ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = form_;
        ofn.lpstrFilter = "Database Access (*.mdb)\0*.mdb\0Tutti i file (*.*)\0*.*\0";
        ofn.nFilterIndex = 1;
        ofn.lpstrFile = buffer;
        ofn.nMaxFile = size;
        ofn.Flags = flags;
        return ofn;
    }
    std::string root_;
    AnsiString savedDirectory_;
    HWND form_{};
};

TEST_F(OpenFileTest, ResponderChoiceFillsTheBuffersAndMovesTheCurrentDirectory) {
    UserSetOpenFileResponder([](const OPENFILENAMEA&) { return std::optional<AnsiString>("C:\\Dati\\clienti.db"); });
    char file[260] = "";
    char title[64] = "";
    OPENFILENAMEA ofn = Request(file, sizeof file);
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = sizeof title;
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, "C:\\Dati\\clienti.db");
    EXPECT_STREQ(title, "clienti.db");
    EXPECT_EQ(ofn.nFileOffset, 8);
    EXPECT_EQ(ofn.nFileExtension, 16);
    EXPECT_EQ(FileSystem::CurrentDirectory(), "C:\\Dati");
}

TEST_F(OpenFileTest, RulesOfTheFlagsAndTheBuffer) {
    struct Case { const char* chosen; DWORD flags; DWORD size; BOOL ok; DWORD error; };
    const std::vector<Case> cases = {
        {"C:\\manca.mdb", OFN_FILEMUSTEXIST, 260, FALSE, 0},
        {"C:\\manca.mdb", OFN_PATHMUSTEXIST, 260, TRUE, 0},
        {"C:\\NoFolder\\a.mdb", OFN_PATHMUSTEXIST, 260, FALSE, 0},
        {"C:\\dbVendaroBase4.mdb", OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, 10, FALSE, FNERR_BUFFERTOOSMALL},
        {"dbVendaroBase4.mdb", OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR, 260, TRUE, 0},
    };
    for (const Case& c : cases) {
        UserSetOpenFileResponder([&](const OPENFILENAMEA&) { return std::optional<AnsiString>(c.chosen); });
        char file[260] = "";
        OPENFILENAMEA ofn = Request(file, c.size, c.flags);
        EXPECT_EQ(GetOpenFileNameA(&ofn), c.ok) << c.chosen;
        EXPECT_EQ(CommDlgExtendedError(), c.error) << c.chosen;
    }
    UserSetOpenFileResponder([](const OPENFILENAMEA&) { return std::optional<AnsiString>(); });
    char file[260] = "";
    OPENFILENAMEA ofn = Request(file, sizeof file);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
}

TEST_F(OpenFileTest, RealDialogListsThroughTheFilterAndTakesTheTypedName) {
    // Down selects the first entry after "[..]"; with the *.mdb filter the listing is
    // "[..]", "[Dati]", "dbVendaroBase4.mdb".
    UserInjectKeyStroke(VK_TAB);
    UserInjectKeyStroke(VK_TAB);
    UserInjectText("dbVendaroBase4.mdb\r");
    char file[260] = "";
    OPENFILENAMEA ofn = Request(file, sizeof file);
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file, "C:\\dbVendaroBase4.mdb");
    EXPECT_TRUE(IsWindowEnabled(form_));
    // Cancelled when nothing is typed and no input is left.
    char none[260] = "";
    OPENFILENAMEA cancelled = Request(none, sizeof none);
    EXPECT_FALSE(GetOpenFileNameA(&cancelled));
}

TEST(FilterTest, PatternListsMatchIgnoringCase) {
    struct Case { const char* name; const char* patterns; bool match; };
    for (Case c : {Case{"DB.MDB", "*.mdb", true}, Case{"a.db", "*.mdb;*.db", true}, Case{"a.dbx", "*.db", false},
                   Case{"LEGGIMI", "*.*", true}, Case{"a1.txt", "a?.txt", true}, Case{"ab1.txt", "a?.txt", false}})
        EXPECT_EQ(UserMatchesFilter(c.name, c.patterns), c.match) << c.name << " " << c.patterns;
}

}  // namespace

#include "platform/win/user/ShellBrowse.h"

namespace {

struct CallbackLog {
    std::vector<UINT> messages;
    std::vector<AnsiString> texts;
    int validateAnswer = 0;
    bool disableOkAtStart = true;
};

int BrowseCallback(HWND browser, UINT message, LPARAM lParam, LPARAM data) {
    auto* log = reinterpret_cast<CallbackLog*>(data);
    log->messages.push_back(message);
    char path[MAX_PATH];
    switch (message) {
    case BFFM_INITIALIZED:
        SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>("Scegli la cartella"));
        if (log->disableOkAtStart)
            SendMessageA(browser, BFFM_ENABLEOK, 0, 0);
        return 0;
    case BFFM_SELCHANGED:
        log->texts.push_back(SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path) ? path : "");
        SendMessageA(browser, BFFM_ENABLEOK, 0, 1);
        return 0;
    case BFFM_VALIDATEFAILEDA:
        log->texts.push_back(reinterpret_cast<LPCSTR>(lParam));
        return log->validateAnswer;
    default: return 0;
    }
}

class FolderBrowseTest : public OpenFileTest {};

TEST_F(FolderBrowseTest, CallbackProtocolAndTheChosenFolder) {
    CallbackLog log;
    char name[MAX_PATH] = "";
    LPITEMIDLIST root = ILCreateFromPathA("C:\\");
    BROWSEINFOA info{form_, root, name, "Cartella dei dati", BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT, BrowseCallback,
                     reinterpret_cast<LPARAM>(&log), 0};
    AnsiString statusSeen;
    bool okSeen = true;
    UserSetFolderBrowseResponder([&](HWND browser) {
        statusSeen = UserFolderBrowseStatus(browser);
        EXPECT_EQ(UserFolderBrowseSelection(browser), "C:\\");
        okSeen = UserFolderBrowseOkEnabled(browser);
        return std::optional<AnsiString>("C:\\Dati");
    });
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    ASSERT_NE(chosen, nullptr);
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(chosen, path));
    EXPECT_STREQ(path, "C:\\Dati");
    EXPECT_STREQ(name, "Dati");
    EXPECT_EQ(statusSeen, "Scegli la cartella");
    EXPECT_FALSE(okSeen);
    EXPECT_EQ(log.messages, (std::vector<UINT>{BFFM_INITIALIZED, BFFM_SELCHANGED}));
    EXPECT_EQ(log.texts, std::vector<AnsiString>{"C:\\Dati"});
    CoTaskMemFree(chosen);
    CoTaskMemFree(root);
}

TEST_F(FolderBrowseTest, TypedNameThatIsNoFolderAsksTheCallback) {
    for (int answer : {0, 1}) {
        CallbackLog log;
        log.validateAnswer = answer;
        log.disableOkAtStart = false;
        BROWSEINFOA info{form_, nullptr, nullptr, "", BIF_EDITBOX | BIF_VALIDATE, BrowseCallback, reinterpret_cast<LPARAM>(&log), 0};
        UserSetFolderBrowseResponder([](HWND) { return std::optional<AnsiString>("C:\\Inesistente"); });
        EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
        EXPECT_EQ(log.messages, (std::vector<UINT>{BFFM_INITIALIZED, BFFM_VALIDATEFAILEDA})) << answer;
        ASSERT_EQ(log.texts.size(), 1u);
        EXPECT_EQ(log.texts[0], "C:\\Inesistente");
    }
}

TEST_F(FolderBrowseTest, RealBrowserTakesTheSelectionOnEnterAndCancelsOnEscape) {
    LPITEMIDLIST root = ILCreateFromPathA("C:\\Dati");
    BROWSEINFOA info{form_, root, nullptr, "", 0, nullptr, 0, 0};
    UserInjectKeyStroke(VK_RETURN);
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    char path[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(chosen, path));
    EXPECT_STREQ(path, "C:\\Dati");
    CoTaskMemFree(chosen);
    UserInjectKeyStroke(VK_ESCAPE);
    EXPECT_EQ(SHBrowseForFolderA(&info), nullptr);
    EXPECT_TRUE(IsWindowEnabled(form_));
    CoTaskMemFree(root);
}

}  // namespace


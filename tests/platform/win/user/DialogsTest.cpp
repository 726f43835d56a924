#include "UserFixture.h"

#include "platform/win/user/Dialogs.h"
#include "platform/win/user/WindowObject.h"

#include <cstring>

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

// Boxes one after the other over the same owner: while each is up it is the active window,
// drawn active with the focus on OK, and the owner is drawn inactive. A probe window posted
// a message before each box looks at that state from inside the box's loop.
TEST_F(UserTest, BoxesInASequenceAreEachTheActiveWindow) {
    HWND form = Create(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 300, 200, nullptr, 0, "Procedura di importazione");
    HWND probe = Create(WS_POPUP, 0, 0, 10, 10);
    SetActiveWindow(form);
    UserPumpMessages();
    struct Look { bool boxActive, boxDrawnActive, ownerDrawnInactive, okFocused; };
    std::vector<Look> looks;
    Answer(probe, WM_APP, [&](WPARAM, LPARAM) {
        const HWND box = FindWindowA("VendaroMessageBox", nullptr);
        char focused[8] = "";
        GetWindowTextA(GetFocus(), focused, sizeof focused);
        looks.push_back({box && GetActiveWindow() == box, box && UserFindWindow(box)->ncActive,
                         !UserFindWindow(form)->ncActive, std::strcmp(focused, "OK") == 0 && GetParent(GetFocus()) == box});
        return LRESULT{0};
    });
    for (const char* caption : {"Procedura di importazione clienti", "Procedura di importazione fornitori",
                                "Procedura di importazione"}) {
        PostMessageA(probe, WM_APP, 0, 0);
        UserInjectKeyStroke(VK_RETURN);
        EXPECT_EQ(MessageBoxA(form, "Gi\xE0 presenti in archivio", caption, MB_OK), IDOK);
    }
    ASSERT_EQ(looks.size(), 3u);
    for (size_t n = 0; n < looks.size(); ++n) {
        EXPECT_TRUE(looks[n].boxActive) << n;
        EXPECT_TRUE(looks[n].boxDrawnActive) << n;
        EXPECT_TRUE(looks[n].ownerDrawnInactive) << n;
        EXPECT_TRUE(looks[n].okFocused) << n;
    }
    EXPECT_EQ(GetActiveWindow(), form);
    EXPECT_TRUE(UserFindWindow(form)->ncActive);
}

}  // namespace

#include "platform/rtl/FileSystem.h"
#include "platform/win/user/CommonDialogs.h"

#include <algorithm>
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
    // Tab goes once round the six controls (look in, list, name, type, open, cancel)
    // back to the name field, which takes the typed name.
    for (int i = 0; i < 6; ++i)
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


#include "platform/win/gdi/Surface.h"
#include "platform/win/user/NonClient.h"

#include <cstring>
#include "platform/win/user/WindowObject.h"

namespace {

// Steps run one by one while a modal window runs, each from a timer tick once the input
// of the step before has been handled; each step sees the window and may inject input.
struct ModalScript {
    static std::vector<std::function<void()>>& Steps() {
        static std::vector<std::function<void()>> steps;
        return steps;
    }
    static size_t& Next() {
        static size_t next = 0;
        return next;
    }
    static void Start(std::vector<std::function<void()>> steps) {
        Steps() = std::move(steps);
        Next() = 0;
        SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
            if (UserHasPendingInput())
                return;
            if (Next() >= Steps().size()) {
                KillTimer(nullptr, id);
                return;
            }
            Steps()[Next()++]();
        });
    }
    static bool Finished() { return Next() == Steps().size(); }
};

AnsiString Text(HWND window) {
    char buffer[512] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::vector<AnsiString> ComboItems(HWND combo) {
    std::vector<AnsiString> items;
    for (int i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
        char buffer[512] = "";
        SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        items.emplace_back(buffer);
    }
    return items;
}

std::vector<AnsiString> ListItems(HWND list) {
    std::vector<AnsiString> items;
    for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
        char buffer[512] = "";
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        items.emplace_back(buffer);
    }
    return items;
}

HWND OpenDialog() { return FindWindowA("VendaroOpenFile", nullptr); }
HWND LookIn() { return GetDlgItem(OpenDialog(), 102); }
HWND FileType() { return GetDlgItem(OpenDialog(), 103); }
HWND FileList() { return GetDlgItem(OpenDialog(), 101); }
HWND NameField() { return GetDlgItem(OpenDialog(), 100); }

void ClickMiddle(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    UserInjectClick((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// Clicks the item of a combo box's dropped list.
void ClickDroppedItem(HWND combo, int index) {
    RECT dropped{};
    ASSERT_EQ(SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0), TRUE);
    SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    HWND list = WindowFromPoint(POINT{dropped.left + 4, dropped.top + 4});
    ASSERT_NE(list, combo);
    RECT item{};
    SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    POINT p{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &p);
    UserInjectMouseMove(p.x, p.y);
    UserInjectClick(p.x, p.y);
}

class OpenFileDropDownTest : public OpenFileTest {
protected:
    void SetUp() override {
        OpenFileTest::SetUp();
        std::filesystem::create_directories(root_ + "/Dati/Vecchi");
    }
};

TEST_F(OpenFileDropDownTest, LookInListsTheParentsAndMovesThereByKeyboard) {
    std::vector<AnsiString> lookInItems, listingAfter;
    AnsiString chosenFolder;
    ModalScript::Start({
        [&] {
            lookInItems = ComboItems(LookIn());
            // From the name field back to the look-in box, then up one folder.
            UserInjectKeyStroke(VK_TAB, true);
            UserInjectKeyStroke(VK_TAB, true);
            UserInjectKeyStroke(VK_UP);
        },
        [&] {
            chosenFolder = Text(LookIn());
            listingAfter = ListItems(FileList());
            // F4 drops the list, Up marks the root, Enter takes it.
            UserInjectKeyStroke(VK_F4);
            UserInjectKeyStroke(VK_UP);
            UserInjectKeyStroke(VK_RETURN);
        },
        [&] {
            EXPECT_EQ(SendMessageA(LookIn(), CB_GETDROPPEDSTATE, 0, 0), FALSE);
            EXPECT_EQ(Text(LookIn()), "C:\\");
            for (int i = 0; i < 2; ++i)
                UserInjectKeyStroke(VK_TAB);
            UserInjectText("dbVendaroBase4.mdb\r");
        },
    });
    char file[260] = "";
    OPENFILENAMEA ofn = Request(file, sizeof file);
    ofn.lpstrInitialDir = "C:\\Dati\\Vecchi";
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_TRUE(ModalScript::Finished());
    EXPECT_EQ(lookInItems, (std::vector<AnsiString>{"C:\\", "C:\\Dati", "C:\\Dati\\Vecchi"}));
    EXPECT_EQ(chosenFolder, "C:\\Dati");
    EXPECT_EQ(listingAfter, (std::vector<AnsiString>{"[..]", "[Vecchi]"})) << "clienti.db is not an .mdb";
    EXPECT_STREQ(file, "C:\\dbVendaroBase4.mdb");
}

TEST_F(OpenFileDropDownTest, FileTypeAndLookInByMouse) {
    std::vector<AnsiString> types, mdbFiles, allFiles;
    DWORD shownType = 0;
    ModalScript::Start({
        [&] {
            types = ComboItems(FileType());
            shownType = static_cast<DWORD>(SendMessageA(FileType(), CB_GETCURSEL, 0, 0));
            mdbFiles = ListItems(FileList());
            ClickMiddle(FileType());
        },
        [&] { ClickDroppedItem(FileType(), 1); },
        [&] {
            allFiles = ListItems(FileList());
            ClickMiddle(LookIn());
        },
        [&] { ClickDroppedItem(LookIn(), 0); },
        [&] {
            EXPECT_EQ(Text(LookIn()), "C:\\");
            EXPECT_EQ(ListItems(FileList()), (std::vector<AnsiString>{"[..]", "[Dati]", "dbVendaroBase4.mdb", "note.txt"}));
            // A click beside a dropped list closes it and changes nothing.
            ClickMiddle(LookIn());
        },
        [&] {
            EXPECT_EQ(SendMessageA(LookIn(), CB_GETDROPPEDSTATE, 0, 0), TRUE);
            RECT r{};
            GetWindowRect(OpenDialog(), &r);
            UserInjectClick(r.left + 20, r.bottom - 20);
        },
        [&] {
            EXPECT_EQ(SendMessageA(LookIn(), CB_GETDROPPEDSTATE, 0, 0), FALSE);
            EXPECT_EQ(Text(LookIn()), "C:\\");
            // A click on a file puts its name in the field; "Apri" opens it.
            RECT item{};
            SendMessageA(FileList(), LB_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&item));
            POINT p{item.left + 10, (item.top + item.bottom) / 2};
            ClientToScreen(FileList(), &p);
            UserInjectClick(p.x, p.y);
        },
        [&] {
            EXPECT_EQ(Text(NameField()), "note.txt");
            UpdateWindow(OpenDialog());
            EXPECT_TRUE(SaveSurfacePng(*UserWindowSurface(OpenDialog()), "/tmp/vendaro-open-file-dialog.png"));
            ClickMiddle(GetDlgItem(OpenDialog(), IDOK));
        },
    });
    char file[260] = "";
    OPENFILENAMEA ofn = Request(file, sizeof file);
    ofn.lpstrInitialDir = "C:\\Dati";
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_TRUE(ModalScript::Finished());
    EXPECT_EQ(types, (std::vector<AnsiString>{"Database Access (*.mdb)", "Tutti i file (*.*)"}));
    EXPECT_EQ(shownType, 0u);
    EXPECT_EQ(mdbFiles, (std::vector<AnsiString>{"[..]", "[Vecchi]"}));
    EXPECT_EQ(allFiles, (std::vector<AnsiString>{"[..]", "[Vecchi]", "clienti.db"}));
    EXPECT_STREQ(file, "C:\\note.txt");
    EXPECT_EQ(ofn.nFilterIndex, 2u) << "the type last chosen is reported";
}

TEST_F(OpenFileDropDownTest, NameFieldKeepsTheTypedTextWhenAFolderIsEntered) {
    AnsiString nameInDati, nameAfterTypedFolder;
    DWORD selStart = 99, selEnd = 99;
    POINT caretAtStart{}, caretAtEnd{};
    ModalScript::Start({
        [&] {
            // The name the program gave comes selected, the caret after its last character.
            SendMessageA(NameField(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
            GetCaretPos(&caretAtEnd);
            UserInjectKeyStroke(VK_HOME);
        },
        [&] {
            GetCaretPos(&caretAtStart);
            UserInjectKeyStroke(VK_END);
            UserInjectKeyStroke(VK_BACK);
            UserInjectKeyStroke(VK_BACK);
            UserInjectKeyStroke(VK_BACK);
            UserInjectText("txt");
            // Double click on "[Dati]" (the second entry).
            RECT item{};
            SendMessageA(FileList(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
            POINT p{item.left + 10, (item.top + item.bottom) / 2};
            ClientToScreen(FileList(), &p);
            UserInjectClick(p.x, p.y);
            UserInjectClick(p.x, p.y);
        },
        [&] {
            nameInDati = Text(NameField());
            // A folder typed into the field is used up by entering it.
            SetFocus(NameField());
            SendMessageA(NameField(), EM_SETSEL, 0, -1);
            UserInjectText("Vecchi\r");
        },
        [&] {
            nameAfterTypedFolder = Text(NameField());
            UserInjectKeyStroke(VK_ESCAPE);
        },
    });
    char file[260] = "*.mdb";
    OPENFILENAMEA ofn = Request(file, sizeof file);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_TRUE(ModalScript::Finished());
    EXPECT_EQ(selStart, 0u);
    EXPECT_EQ(selEnd, 5u);
    EXPECT_GT(caretAtEnd.x, caretAtStart.x + 15) << "the caret stands after \"*.mdb\", not over its first character";
    EXPECT_EQ(nameInDati, "*.txt");
    EXPECT_EQ(nameAfterTypedFolder, "");
}

// ------------------------------------------------------------------ message box and caption

std::uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

int TitleTextWidth(const char* text) {
    HDC dc = GetDC(nullptr);
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH, "MS Sans Serif");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

// Pixels of a top-level window as painted; `client` chooses client coordinates.
struct Painted {
    HWND window;
    std::uint32_t At(int x, int y, bool client) const {
        RECT r{};
        GetWindowRect(window, &r);
        POINT p{x, y};
        if (client)
            ClientToScreen(window, &p);
        else
            p = POINT{x + r.left, y + r.top};
        return UserWindowSurface(window)->Pixel(p.x - r.left, p.y - r.top);
    }
};

TEST_F(UserTest, MessageBoxShowsItsWholeCaption) {
    HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400);
    Pump();
    struct Case { const char* text; const char* caption; };
    const Case cases[] = {
        {"Procedura completa", "Procedura di importazione"},
        {"Errore o duplicazione dati, importazione interrotta", "Importazione dati"},
        {"OK", "Un titolo molto lungo per una finestra di messaggio con un testo brevissimo"},
    };
    for (const Case& c : cases) {
        int textRight = -1, textLeft = -1;
        ModalScript::Start({[&] {
            HWND box = FindWindowA("VendaroMessageBox", c.caption);
            ASSERT_NE(box, nullptr);
            UpdateWindow(box);
            const Painted painted{box};
            const RECT close = UserCaptionButtonRect(box, HTCLOSE);
            const int y0 = close.top, y1 = close.bottom;
            const std::uint32_t colours[] = {Rgb(GetSysColor(COLOR_CAPTIONTEXT)),
                                             Rgb(GetSysColor(COLOR_INACTIVECAPTIONTEXT))};
            for (int x = 0; x < close.left - 1; ++x)
                for (int y = y0; y < y1; ++y)
                    for (std::uint32_t colour : colours)
                        if (painted.At(x, y, false) == colour) {
                            textRight = x;
                            if (textLeft < 0)
                                textLeft = x;
                        }
            UserInjectKeyStroke(VK_RETURN);
        }});
        EXPECT_EQ(MessageBoxA(form, c.text, c.caption, MB_OK), IDOK);
        EXPECT_TRUE(ModalScript::Finished());
        // The title is drawn whole: its ink spans the measured width of the whole text.
        EXPECT_GE(textRight - textLeft + 3, TitleTextWidth(c.caption)) << c.caption;
    }
}

TEST_F(UserTest, StopIconIsARedDiscWithAWhiteCross) {
    HWND form = Create(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400);
    Pump();
    for (UINT icon : {MB_ICONHAND, MB_ICONSTOP, MB_ICONERROR}) {
        std::vector<std::uint32_t> cross, disc;
        ModalScript::Start({[&] {
            HWND box = FindWindowA("VendaroMessageBox", nullptr);
            ASSERT_NE(box, nullptr);
            UpdateWindow(box);
            const Painted painted{box};
            const int centre = 12 + 16;  // the icon's square: 32 pixels after a 12-pixel margin
            for (int d : {-6, -3, 0, 3, 6}) {
                cross.push_back(painted.At(centre + d, centre + d, true));
                cross.push_back(painted.At(centre - d, centre + d, true));
            }
            // On the disc, off the cross: where an exclamation mark or a letter would stand.
            for (auto [dx, dy] : {std::pair{0, -9}, {0, 9}, {9, 0}, {-9, 0}, {0, -5}})
                disc.push_back(painted.At(centre + dx, centre + dy, true));
            SaveSurfacePng(*UserWindowSurface(box), "/tmp/vendaro-message-box-stop.png");
            UserInjectKeyStroke(VK_RETURN);
        }});
        MessageBoxA(form, "Impossibile collegarsi alla base dati", "Errore", MB_OK | icon);
        EXPECT_TRUE(ModalScript::Finished());
        EXPECT_EQ(cross, std::vector<std::uint32_t>(cross.size(), 0xFFFFFF));
        EXPECT_EQ(disc, std::vector<std::uint32_t>(disc.size(), 0xFF0000));
    }
}

TEST_F(UserTest, DialogFrameHasNoTitleBarIcon) {
    HWND dialog = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10, 10, 300, 120, nullptr,
                         WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE, "");
    HWND plain = Create(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 10, 200, 300, 120, nullptr, 0, "");
    Pump();
    // The zone where the icon stands: after the frame, as high as the caption buttons.
    auto iconInk = [](HWND window) {
        const RECT close = UserCaptionButtonRect(window, HTCLOSE);
        const Painted painted{window};
        int ink = 0;
        for (int x = DialogFrameWidth() + 1; x < DialogFrameWidth() + 18; ++x)
            for (int y = close.top; y < close.bottom; ++y) {
                const std::uint32_t p = painted.At(x, y, false);
                ink += p == 0xFFFFFF || p == 0x000000;
            }
        return ink;
    };
    EXPECT_EQ(iconInk(dialog), 0);
    EXPECT_GT(iconInk(plain), 20) << "a window without the dialog frame keeps its icon";
    // A click where the icon would be is a click on the caption, not on the window menu.
    RECT r{};
    GetWindowRect(dialog, &r);
    EXPECT_EQ(UserDefaultHitTest(dialog, POINT{r.left + DialogFrameWidth() + 6, r.top + DialogFrameWidth() + 6}),
              HTCAPTION);
}

}  // namespace

namespace {

// The open-file dialog stands over its owner window wherever the owner is, inside the screen.
TEST_F(OpenFileDropDownTest, DialogStandsOverItsOwnerInsideTheScreen) {
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    const struct { RECT owner; const char* where; } cases[] = {
        {{300, 200, 800, 650}, "in the middle of the screen"},
        {{40, 30, 480, 500}, "near the top left corner"},
        {{screen.right - 200, screen.bottom - 150, screen.right + 100, screen.bottom + 100}, "half off the screen"},
    };
    for (const auto& c : cases) {
        MoveWindow(form_, c.owner.left, c.owner.top, c.owner.right - c.owner.left, c.owner.bottom - c.owner.top, TRUE);
        RECT dialog{};
        ModalScript::Start({[&] {
            GetWindowRect(OpenDialog(), &dialog);
            UserInjectKeyStroke(VK_ESCAPE);
        }});
        char file[260] = "";
        OPENFILENAMEA ofn = Request(file, sizeof file);
        EXPECT_FALSE(GetOpenFileNameA(&ofn)) << c.where;
        ASSERT_TRUE(ModalScript::Finished()) << c.where;
        const LONG width = dialog.right - dialog.left, height = dialog.bottom - dialog.top;
        const LONG centredX = (c.owner.left + c.owner.right - width) / 2;
        const LONG centredY = (c.owner.top + c.owner.bottom - height) / 2;
        EXPECT_EQ(dialog.left, std::clamp(centredX, screen.left, screen.right - width)) << c.where;
        EXPECT_EQ(dialog.top, std::clamp(centredY, screen.top, screen.bottom - height)) << c.where;
        EXPECT_GE(dialog.left, screen.left) << c.where;
        EXPECT_LE(dialog.bottom, screen.bottom) << c.where;
    }
}

// A name the 8-bit code page cannot write would turn into another path ("??"): such names
// are left out of the listing; names the code page holds are listed as they are.
TEST_F(OpenFileDropDownTest, NamesTheCodePageCannotWriteAreLeftOut) {
    for (const char* folder : {"/\xD0\x94\xD0\xBE\xD0\xBA", "/Citt\xC3\xA0", "/\xE6\x97\xA5\xE6\x9C\xAC"})
        std::filesystem::create_directories(root_ + folder);
    for (const char* file : {"/\xD1\x84\xD0\xB0\xD0\xB9\xD0\xBB.mdb", "/caff\xC3\xA8.mdb", "/bad\xFF.mdb"})
        std::ofstream(root_ + file) << "x";
    std::vector<AnsiString> listing;
    ModalScript::Start({[&] {
        listing = ListItems(FileList());
        UserInjectKeyStroke(VK_ESCAPE);
    }});
    char file[260] = "";
    OPENFILENAMEA ofn = Request(file, sizeof file);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    ASSERT_TRUE(ModalScript::Finished());
    EXPECT_EQ(listing, (std::vector<AnsiString>{"[..]", "[Citt\xE0]", "[Dati]", "caff\xE8.mdb", "dbVendaroBase4.mdb"}));
}

}  // namespace

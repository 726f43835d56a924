#include "obl/core/dialogs/OBLBrowseDlg.h"

#include "obl/core/base/Oblprocs.h"
#include "platform/rtl/FileSystem.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// Records what the dialog's events report and answers validation as told.
class TListener : public TObject {
public:
    void Init(TObject*) { ++inits; }
    void Validate(TObject*, AnsiString path, bool& cancel)
    {
        validated.push_back(path);
        cancel = cancelValidation;
    }
    void Selection(TObject* sender, HWND dialog, AnsiString path, LPITEMIDLIST item)
    {
        selections.push_back(path);
        statusAtSelection = UserFolderBrowseStatus(dialog);
        itemGiven = item != nullptr;
        publishedAtSelection = static_cast<TOBLBrowseDlg*>(sender)->StatusText();
    }

    int inits = 0;
    bool cancelValidation = false;
    std::vector<AnsiString> validated;
    std::vector<AnsiString> selections;
    AnsiString statusAtSelection;
    AnsiString publishedAtSelection;
    bool itemGiven = false;
};

class BrowseDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        FormsInitialization();
        char pattern[] = "/tmp/vendaro-browsedlg-XXXXXX";
        root_ = mkdtemp(pattern);
        std::filesystem::create_directories(root_ + "/Dati/Archivio");
        FileSystem::SetDriveRoot('C', root_);
        dialog_.SetOnInit(TNotifyEvent(&listener_, &TListener::Init));
    }
    void TearDown() override
    {
        UserSetFolderBrowseResponder(nullptr);
        FileSystem::Reset();
        std::filesystem::remove_all(root_);
        FormsFinalization();
        UserResetWindowSystem();
    }
    // The responder picks the folder (none: Cancel) after running the check on the browser.
    void Answer(std::optional<AnsiString> choice, std::function<void(HWND)> check = nullptr)
    {
        UserSetFolderBrowseResponder([choice, check](HWND browser) {
            if (check)
                check(browser);
            return choice;
        });
    }

    std::string root_;
    TListener listener_;
    TOBLBrowseDlg dialog_{nullptr};
};

TEST_F(BrowseDlgTest, DefaultsAndTheFlagsOfEachOption)
{
    EXPECT_EQ(dialog_.StartFolder(), bfoDesktopExpanded);
    EXPECT_EQ(dialog_.Options().Mask(), 272u);
    EXPECT_EQ(dialog_.Position(), bpCenter);
    EXPECT_EQ(dialog_.RelatePos(), brActiveWindow);
    const struct {
        TOBLBrowseDlgOption option;
        UINT flags;
    } options[] = {{doBrowseForComputer, BIF_BROWSEFORCOMPUTER}, {doBrowseForPrinter, BIF_BROWSEFORPRINTER},
                   {doDontGoBelowDomain, BIF_DONTGOBELOWDOMAIN}, {doReturnFileSysAncestors, BIF_RETURNFSANCESTORS},
                   {doReturnFileSysDirs, BIF_RETURNONLYFSDIRS},   {doStatusText, BIF_STATUSTEXT},
                   {doShowFiles, BIF_BROWSEINCLUDEFILES},         {doAllowEdit, BIF_EDITBOX | BIF_VALIDATE},
                   {doShowPath, BIF_STATUSTEXT},                  {doEnableOK, 0}};
    for (const auto& o : options)
        EXPECT_EQ(OBLBrowseDlgFlags(TOBLBrowseDlgOptions{o.option}), o.flags) << static_cast<int>(o.option);
    EXPECT_EQ(OBLBrowseDlgFlags(dialog_.Options()), BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT);
}

TEST_F(BrowseDlgTest, RootFoldersFollowTheListsOrder)
{
    const struct {
        TOBLSystemFolders folder;
        int csidl;
    } roots[] = {{bfoDesktop, 0x00},       {bfoDesktopExpanded, 0xFEFE}, {bfoPrograms, 0x02},
                 {bfoRecycleBin, 0x0A},    {bfoStartMenu, 0x0B},         {bfoDesktopDirectory, 0x10},
                 {bfoMyComputer, 0x11},    {bfoNetwork, 0x12},           {bfoNetworkNeighborhood, 0x13},
                 {bfoInternet, 0x01},      {bfoFonts, 0x14},             {bfoPrintHood, 0x1B},
                 {bfoAltStartup, 0x1D},    {bfoInternetChache, 0x20},    {bfoHistory, 0x22}};
    for (const auto& r : roots)
        EXPECT_EQ(OBLSystemFolderCSIDL(r.folder), r.csidl) << static_cast<int>(r.folder);
}

TEST_F(BrowseDlgTest, ChoiceReturnsThePathAndShowsItInTheStatusLineOnly)
{
    dialog_.SetStatusText("Scegli la cartella");
    dialog_.SetCaptionTitle("Cartella dei dati");
    dialog_.SetOnSelectionChanged(TOBLBrowseDlgSelectionChangeEvent(&listener_, &TListener::Selection));
    AnsiString statusAtStart, captionAtStart;
    bool okAtStart = true;
    Answer(AnsiString("C:\\Dati\\Archivio"), [&](HWND browser) {
        statusAtStart = UserFolderBrowseStatus(browser);
        char caption[64] = "";
        GetWindowTextA(browser, caption, sizeof caption);
        captionAtStart = caption;
        okAtStart = UserFolderBrowseOkEnabled(browser);
        EXPECT_EQ(dialog_.DialogHandle(), browser);
    });
    ASSERT_TRUE(dialog_.Execute());
    EXPECT_EQ(dialog_.SelectedFolder(), "C:\\Dati\\Archivio");
    EXPECT_EQ(dialog_.DisplayName(), "Archivio");
    EXPECT_EQ(dialog_.DialogHandle(), nullptr);
    EXPECT_EQ(listener_.inits, 1);
    EXPECT_EQ(statusAtStart, "Scegli la cartella");
    EXPECT_EQ(captionAtStart, "Cartella dei dati");
    EXPECT_FALSE(okAtStart);  // without doEnableOK
    ASSERT_FALSE(listener_.selections.empty());
    EXPECT_EQ(listener_.selections.back(), "C:\\Dati\\Archivio");
    EXPECT_TRUE(listener_.itemGiven);
    EXPECT_EQ(listener_.statusAtSelection, "C:\\Dati\\Archivio");
    EXPECT_EQ(listener_.publishedAtSelection, "Scegli la cartella");
    EXPECT_EQ(dialog_.StatusText(), "Scegli la cartella");
}

TEST_F(BrowseDlgTest, LongPathsAreShortenedInTheStatusLine)
{
    const std::string deep = "/Dati/Una cartella dal nome lungo/Seconda cartella/Ultima";
    std::filesystem::create_directories(root_ + deep);
    dialog_.SetOnSelectionChanged(TOBLBrowseDlgSelectionChangeEvent(&listener_, &TListener::Selection));
    const AnsiString chosen = "C:\\Dati\\Una cartella dal nome lungo\\Seconda cartella\\Ultima";
    Answer(chosen);
    ASSERT_TRUE(dialog_.Execute());
    EXPECT_EQ(dialog_.SelectedFolder(), chosen);
    EXPECT_EQ(listener_.statusAtSelection, OBLShrunkFileName(chosen, 40));
    EXPECT_LE(listener_.statusAtSelection.Length(), 40);
}

TEST_F(BrowseDlgTest, CancelKeepsThePreviousChoice)
{
    dialog_.SetPath("C:\\Dati");
    AnsiString selectionAtStart;
    Answer(std::nullopt, [&](HWND browser) { selectionAtStart = UserFolderBrowseSelection(browser); });
    EXPECT_FALSE(dialog_.Execute());
    EXPECT_EQ(selectionAtStart, "C:\\Dati");
    EXPECT_EQ(dialog_.SelectedFolder(), "C:\\Dati");
    EXPECT_EQ(dialog_.DisplayName(), "");
    EXPECT_EQ(dialog_.DialogHandle(), nullptr);
}

TEST_F(BrowseDlgTest, RejectedTypedPathAsksOnValidate)
{
    dialog_.SetOptions(TOBLBrowseDlgOptions{doReturnFileSysDirs, doAllowEdit, doEnableOK});
    dialog_.SetOnValidate(TOBLBrowseDlgEditValidateEvent(&listener_, &TListener::Validate));
    for (bool cancel : {false, true}) {
        listener_.cancelValidation = cancel;
        listener_.validated.clear();
        bool okAtStart = false;
        Answer(AnsiString("C:\\Inesistente"), [&](HWND browser) { okAtStart = UserFolderBrowseOkEnabled(browser); });
        EXPECT_FALSE(dialog_.Execute()) << cancel;
        EXPECT_TRUE(okAtStart);
        EXPECT_EQ(listener_.validated, std::vector<AnsiString>{"C:\\Inesistente"}) << cancel;
        EXPECT_EQ(dialog_.SelectedFolder(), "");
    }
    // Without a handler the dialog closes.
    dialog_.SetOnValidate(nullptr);
    Answer(AnsiString("C:\\Inesistente"));
    EXPECT_FALSE(dialog_.Execute());
}

TEST_F(BrowseDlgTest, StatusTextSetWhileClosedOnlyStoresAndShowsAtTheNextRun)
{
    dialog_.SetOptions(TOBLBrowseDlgOptions{doStatusText});
    dialog_.SetStatusText("Prima");
    EXPECT_EQ(dialog_.StatusText(), "Prima");
    AnsiString shown;
    Answer(std::nullopt, [&](HWND browser) {
        shown = UserFolderBrowseStatus(browser);
        dialog_.SetStatusText("Durante");
        EXPECT_EQ(UserFolderBrowseStatus(browser), "Durante");
    });
    dialog_.Execute();
    EXPECT_EQ(shown, "Prima");
}

TEST_F(BrowseDlgTest, OpensCentredOnTheActiveWindow)
{
    TForm form(nullptr);
    form.SetBounds(100, 60, 500, 400);
    form.Show();
    UserPumpMessages();
    ASSERT_EQ(Screen->ActiveForm(), &form);
    auto* dialog = new TOBLBrowseDlg(&form);
    RECT browserRect{};
    HWND owner = nullptr;
    Answer(std::nullopt, [&](HWND browser) {
        GetWindowRect(browser, &browserRect);
        owner = GetWindow(browser, GW_OWNER);
    });
    dialog->Execute();
    EXPECT_EQ(owner, form.Handle());
    EXPECT_NEAR((browserRect.left + browserRect.right) / 2, 350, 1);
    EXPECT_NEAR((browserRect.top + browserRect.bottom) / 2, 260, 1);
}

TEST_F(BrowseDlgTest, OwnerThatIsNoFormIsNotTakenForOne)
{
    TComponent owner(nullptr);
    auto* dialog = new TOBLBrowseDlg(&owner);
    Answer(AnsiString("C:\\Dati"));
    EXPECT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->SelectedFolder(), "C:\\Dati");
}

TEST_F(BrowseDlgTest, ConvertingAPathNeedsAnExistingFolder)
{
    LPITEMIDLIST item = nullptr;
    ASSERT_TRUE(dialog_.ConvertPathToItemIDList("C:\\Dati", item));
    ASSERT_NE(item, nullptr);
    char path[MAX_PATH + 1] = "";
    ASSERT_TRUE(SHGetPathFromIDListA(item, path));
    EXPECT_STREQ(path, "C:\\Dati");
    ILFree(item);
    for (const char* missing : {"C:\\Inesistente", "", "C:\\Dati\\Archivio\\niente"}) {
        item = reinterpret_cast<LPITEMIDLIST>(&path);
        EXPECT_FALSE(dialog_.ConvertPathToItemIDList(missing, item)) << missing;
        EXPECT_EQ(item, nullptr) << missing;
    }
}

}  // namespace

#include "BrowseEditFixture.h"

#include "platform/rtl/Exceptions.h"
#include "platform/win/user/Clipboard.h"
#include "tests/support/ContextMenu.h"
#include "tests/support/NotifyCounter.h"

#include <gmock/gmock.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

using ::testing::ElementsAre;

class BrowseEditTest : public BrowseEditFixture {};

TEST_F(BrowseEditTest, OneFolderButtonAtTheRightEdge)
{
    ASSERT_EQ(edit_->CustomButtons()->Count(), 1);
    EXPECT_EQ(edit_->CustomButtonWidth(), 18);
    TOBLSpeedButton* button = edit_->CustomButtons()->GetItem(0)->Btn();
    EXPECT_EQ(button->Width(), 18);
    EXPECT_EQ(button->Left(), edit_->PaintRect().right + 1);
    EXPECT_FALSE(button->Glyph()->Empty());
    EXPECT_EQ(edit_->Options(), (TOBLBrowseDlgOptions{doReturnFileSysDirs, doShowPath}));
    EXPECT_EQ(edit_->StartFolder(), bfoDesktopExpanded);
    EXPECT_FALSE(edit_->MinimizeName());
    EXPECT_FALSE(edit_->StartWithLast());
}

TEST_F(BrowseEditTest, TheButtonBrowsesAndTheChoiceBecomesTheText)
{
    log_.onExecute = [](TOBLBrowseDlg* dialog) {
        EXPECT_EQ(dialog->StartFolder(), bfoDesktopExpanded);
        EXPECT_EQ(dialog->Options(), (TOBLBrowseDlgOptions{doReturnFileSysDirs, doShowPath}));
    };
    const int components = form_->ComponentCount();
    Answer(AnsiString("C:\\Dati"));
    ClickButton();
    EXPECT_EQ(edit_->Text().str(), "C:\\Dati");
    EXPECT_THAT(log_.events, ElementsAre("before", "execute", "browse:C:\\Dati"));
    EXPECT_TRUE(edit_->Focused());
    // No dialog is left behind on the form.
    EXPECT_EQ(form_->ComponentCount(), components);
}

TEST_F(BrowseEditTest, CancelKeepsTheTextAndStillTellsTheBrowse)
{
    edit_->SetPath("C:\\Dati");
    Answer(std::nullopt);
    ClickButton();
    EXPECT_EQ(edit_->Text().str(), "C:\\Dati");
    EXPECT_THAT(log_.events, ElementsAre("before", "execute", "browse:C:\\Dati"));
}

TEST_F(BrowseEditTest, StartWithLastOpensOnTheCurrentPath)
{
    edit_->SetStartWithLast(true);
    Answer(std::nullopt);
    ClickButton();
    edit_->SetPath(kLongPath);
    ClickButton();
    edit_->SetStartWithLast(false);
    ClickButton();
    EXPECT_THAT(opened_, ElementsAre("", kLongPath, ""));
}

TEST_F(BrowseEditTest, TheExecuteHandlerSetsUpTheDialog)
{
    log_.onExecute = [](TOBLBrowseDlg* dialog) { dialog->SetPath("C:\\Dati"); };
    Answer(std::nullopt);
    ClickButton();
    EXPECT_THAT(opened_, ElementsAre("C:\\Dati"));
}

TEST_F(BrowseEditTest, TheDialogGoesWhenTheHandlerRaises)
{
    log_.onExecute = [](TOBLBrowseDlg*) { throw Exception("handler failed"); };
    const int components = form_->ComponentCount();
    EXPECT_THROW(edit_->DoOnBrowseClick(nullptr, 0), Exception);
    EXPECT_EQ(form_->ComponentCount(), components);
}

TEST_F(BrowseEditTest, AnEditThatCannotTakeTheFocusBrowsesAllTheSame)
{
    edit_->SetVisible(false);
    Pump();
    Answer(AnsiString("C:\\Dati"));
    EXPECT_NO_THROW(edit_->BtnClick(0));
    EXPECT_EQ(edit_->Path().str(), "C:\\Dati");
}

// ---- The shortened display ---------------------------------------------------------------

class MinimizeNameTest : public BrowseEditFixture {
protected:
    void SetUp() override
    {
        BrowseEditFixture::SetUp();
        FitTo(kMiddle);
        edit_->SetMinimizeName(true);
        edit_->SetPath(kLongPath);
    }
    static constexpr const char* kMiddle = "C:\\...\\Clienti\\2026";
    // The edit's text rectangle made exactly as wide as Text.
    void FitTo(const AnsiString& text)
    {
        const int frame = edit_->Width() - (edit_->TextRect().right - edit_->TextRect().left);
        edit_->SetWidth(frame + TextWidth(edit_, text));
        Pump();
    }
    // Typed at the end of the path, then the edit left: the history holds the typing; answers
    // the shortened form shown.
    AnsiString TypeAtTheEndAndLeave(const char* typed)
    {
        Focus(edit_);
        Key(VK_END);
        Type(typed);
        Focus(other_);
        return edit_->DisplayText();
    }
    // The full path must not fit the edit for these tests to mean anything.
    bool Fits(const AnsiString& text)
    {
        return TextWidth(edit_, text) <= edit_->TextRect().right - edit_->TextRect().left;
    }
};

TEST_F(MinimizeNameTest, SettingThePathUnfocusedShowsItShortenedAtOnce)
{
    ASSERT_FALSE(Fits(kLongPath));
    EXPECT_EQ(edit_->DisplayText().str(), "C:\\...\\Clienti\\2026");
    EXPECT_TRUE(Fits(edit_->DisplayText()));
    // Path is the full path, not the display.
    EXPECT_EQ(edit_->Path().str(), kLongPath);
}

TEST_F(MinimizeNameTest, FullOnEntryShortenedOnExit)
{
    Focus(edit_);
    EXPECT_EQ(edit_->DisplayText().str(), kLongPath);
    EXPECT_EQ(edit_->Path().str(), kLongPath);
    Focus(other_);
    EXPECT_EQ(edit_->DisplayText().str(), "C:\\...\\Clienti\\2026");
    EXPECT_EQ(edit_->ScrollOffset(), 0);
    EXPECT_EQ(edit_->CursorPos(), 1);
}

TEST_F(MinimizeNameTest, WhatIsTypedIsThePathAfterLeaving)
{
    Focus(edit_);
    edit_->SelectAll();
    edit_->SetSelText("C:\\Dati\\Nuova\\Cartella\\Molto\\Lunga\\Davvero");
    Focus(other_);
    EXPECT_EQ(edit_->Path().str(), "C:\\Dati\\Nuova\\Cartella\\Molto\\Lunga\\Davvero");
    EXPECT_NE(edit_->DisplayText(), edit_->Path());
}

TEST_F(MinimizeNameTest, TheShorteningIsForTheEyeOnly)
{
    NotifyCounter changes, modified;
    edit_->SetOnChange(TNotifyEvent(&changes, &NotifyCounter::Changed));
    edit_->SetOnModified(TNotifyEvent(&modified, &NotifyCounter::Changed));
    Focus(edit_);
    Key(VK_END);
    Type("\\A");
    ASSERT_EQ(changes.count, 2);
    edit_->SetModified(false);
    const int modifiedNotices = modified.count;
    // Leaving shortens, entering restores: neither is a change of the path.
    Focus(other_);
    ASSERT_EQ(::Copy(edit_->DisplayText(), 1, 7).str(), "C:\\...\\");
    Focus(edit_);
    EXPECT_EQ(edit_->DisplayText().str(), std::string(kLongPath) + "\\A");
    EXPECT_EQ(changes.count, 2);
    EXPECT_FALSE(edit_->Modified());
    EXPECT_EQ(modified.count, modifiedNotices);
    // The history survived the round trip.
    ASSERT_TRUE(edit_->CanUndo());
    edit_->Undo();
    edit_->Undo();
    EXPECT_EQ(edit_->DisplayText().str(), kLongPath);
}

TEST_F(MinimizeNameTest, TheShortenedFormTakesNoChange)
{
    const AnsiString shown = TypeAtTheEndAndLeave("x");
    ASSERT_NE(shown, edit_->Path());
    // Undoing or replacing on the display would garble the path.
    edit_->Undo();
    edit_->SelectAll();
    edit_->SetSelText("Z");
    EXPECT_EQ(edit_->DisplayText(), shown);
    EXPECT_EQ(edit_->Path().str(), std::string(kLongPath) + "x");
    Focus(edit_);
    edit_->Undo();
    EXPECT_EQ(edit_->DisplayText().str(), kLongPath);
}

// The shortened form is only drawn: whatever reads the text gets the full path.
TEST_F(MinimizeNameTest, EveryRoadThatReadsTheTextGivesTheFullPath)
{
    ASSERT_NE(edit_->DisplayText().str(), kLongPath);
    const std::string length = std::to_string(std::strlen(kLongPath));
    const auto copied = [](const std::function<void()>& copy) {
        UserResetClipboard();
        copy();
        return UserClipboardText().str();
    };
    struct Case {
        const char* name;
        std::function<std::string()> read;
        std::string expected;
    };
    const Case cases[] = {
        {"WM_GETTEXT",
         [&] {
             char buffer[256] = {};
             edit_->Perform(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
             return std::string(buffer);
         },
         kLongPath},
        {"WM_GETTEXTLENGTH", [&] { return std::to_string(edit_->Perform(WM_GETTEXTLENGTH, 0, 0)); }, length},
        {"EM_LINELENGTH", [&] { return std::to_string(edit_->Perform(EM_LINELENGTH, 0, 0)); }, length},
        {"EM_GETLINE",
         [&] {
             char buffer[256] = {};
             const WORD room = sizeof buffer;
             std::memcpy(buffer, &room, sizeof room);
             const auto n = edit_->Perform(EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer));
             return std::string(buffer, static_cast<std::size_t>(n));
         },
         kLongPath},
        {"GetText of the browse edit", [&] { return edit_->GetText().str(); }, kLongPath},
        {"Caption", [&] { return edit_->Caption().str(); }, kLongPath},
        {"select all, then WM_COPY",
         [&] { return copied([&] { edit_->SelectAll(); edit_->Perform(WM_COPY, 0, 0); }); }, kLongPath},
        {"Select all, then Copy from the menu",
         [&] {
             const POINT at = edit_->ClientToScreen(Point(20, 5));
             return copied([&] { RightClickMenu(at, "Select all"); RightClickMenu(at, "&Copy"); });
         },
         kLongPath},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.read(), c.expected);
        EXPECT_NE(edit_->DisplayText().str(), kLongPath);
    }
}

TEST_F(MinimizeNameTest, SettingThePathItHoldsIsNoChange)
{
    const AnsiString shown = TypeAtTheEndAndLeave("x");
    ASSERT_NE(shown, edit_->Path());
    NotifyCounter changes;
    edit_->SetOnChange(TNotifyEvent(&changes, &NotifyCounter::Changed));
    edit_->SetPath(edit_->Path());
    EXPECT_EQ(changes.count, 0);
    EXPECT_EQ(edit_->DisplayText(), shown);
    // The history is kept: the typing can still be undone.
    ASSERT_TRUE(edit_->CanUndo());
    Focus(edit_);
    edit_->Undo();
    EXPECT_EQ(edit_->Path().str(), kLongPath);
}

TEST_F(MinimizeNameTest, AResizeShortensAgainFromTheFullPath)
{
    FitTo(kLongPath);
    EXPECT_EQ(edit_->DisplayText().str(), kLongPath);
    FitTo("C:\\...\\2026");
    EXPECT_EQ(edit_->DisplayText().str(), "C:\\...\\2026");
    FitTo(kMiddle);
    EXPECT_EQ(edit_->DisplayText().str(), kMiddle);
    EXPECT_EQ(edit_->Path().str(), kLongPath);
}

TEST_F(MinimizeNameTest, SwitchedOffTheFullPathIsShownAgain)
{
    edit_->SetMinimizeName(false);
    EXPECT_EQ(edit_->DisplayText().str(), kLongPath);
    edit_->SetMinimizeName(true);
    EXPECT_EQ(edit_->DisplayText().str(), "C:\\...\\Clienti\\2026");
}

TEST_F(MinimizeNameTest, ABrowsedFolderIsShownShortenedWhenTheFocusCannotBeTaken)
{
    edit_->SetStartWithLast(true);
    edit_->SetEnabled(false);
    Answer(AnsiString("C:\\Vendaro\\Archivio\\Anagrafiche\\Clienti"));
    edit_->BtnClick(0);
    // The dialog opened on the full path, not on the display.
    EXPECT_THAT(opened_, ElementsAre(kLongPath));
    EXPECT_EQ(edit_->Path().str(), "C:\\Vendaro\\Archivio\\Anagrafiche\\Clienti");
    EXPECT_EQ(edit_->DisplayText().str(), "C:\\...\\Clienti");
}

// ---- Form descriptions -------------------------------------------------------------------

class BrowseEditStreamingTest : public BrowseEditFixture {
protected:
    void SetUp() override
    {
        BrowseEditFixture::SetUp();
        RegisterClass(TForm::StaticClass());
        RegisterClass(TOBLBrowseEdit::StaticClass());
        form_->SetName("Host");
        edit_->SetName("Browse");
        other_->SetName("Other");
    }
    void TearDown() override
    {
        UnRegisterClass(TOBLBrowseEdit::StaticClass());
        BrowseEditFixture::TearDown();
    }
    static std::string Write(TComponent* root)
    {
        TStringStream s;
        s.WriteComponent(root);
        return s.DataString().c_str();
    }
    static std::string Section(const std::string& all, const std::string& name)
    {
        const auto from = all.find("object " + name);
        return all.substr(from, all.find("\n  end", from) - from);
    }
};

TEST_F(BrowseEditStreamingTest, DefaultsStayOutAndSettingsComeBack)
{
    const std::string plain = Section(Write(form_), "Browse");
    for (const char* name : {"Options", "StartFolder", "StartWithLast", "MinimizeName", "ReadOnly", "Path"})
        EXPECT_EQ(plain.find(name), std::string::npos) << name << "\n" << plain;
    edit_->SetOptions({doAllowEdit, doStatusText});
    edit_->SetStartFolder(bfoPersonal);
    edit_->SetStartWithLast(true);
    edit_->SetReadOnly(true);
    edit_->SetMinimizeName(true);
    edit_->SetPath(kLongPath);
    ASSERT_NE(edit_->DisplayText().str(), kLongPath);
    const std::string text = Write(form_);
    // The description keeps the full path, never the display.
    EXPECT_NE(text.find("Path = 'C:\\Vendaro\\Archivio\\Anagrafiche\\Clienti\\2026'"), std::string::npos) << text;
    EXPECT_EQ(text.find("..."), std::string::npos) << text;
    TStringStream in{AnsiString(text.c_str())};
    form_->SetName("Old");
    edit_->SetName("");
    other_->SetName("");
    TOwned<TComponent> copy(in.ReadComponent(nullptr));
    auto* back = dynamic_cast<TOBLBrowseEdit*>(copy->FindComponent("Browse"));
    ASSERT_NE(back, nullptr) << text;
    EXPECT_EQ(back->Options(), (TOBLBrowseDlgOptions{doAllowEdit, doStatusText}));
    EXPECT_EQ(back->StartFolder(), bfoPersonal);
    EXPECT_TRUE(back->StartWithLast());
    EXPECT_TRUE(back->ReadOnly());
    EXPECT_TRUE(back->MinimizeName());
    EXPECT_EQ(back->Path().str(), kLongPath);
    EXPECT_EQ(back->CustomButtons()->Count(), 1);
}

} // namespace

#include "AutoCompleteFixture.h"

#include "platform/classlib/Clipbrd.h"

#include <gmock/gmock.h>

#include <functional>
#include <iterator>
#include <random>

namespace {

using ::testing::ElementsAre;

class AutoCompleteTest : public AutoCompleteFixture {
protected:
    void SetUp() override
    {
        AutoCompleteFixture::SetUp();
        SetWords({"Roma", "Rovigo", "Bologna", "Bolzano"});
        Focus(edit_);
    }
};

TEST_F(AutoCompleteTest, CreatedWithItsDefaults)
{
    TOBLEditAutoComplete fresh(nullptr);
    EXPECT_TRUE(fresh.Enabled());
    EXPECT_EQ(fresh.MaxPopupRows(), 8);
    EXPECT_EQ(fresh.StringListIndex(), 0);
    EXPECT_EQ(fresh.Sources(), TOBLAutoCompleteSources{asStringList});
    EXPECT_TRUE(fresh.Mode().Empty());
    EXPECT_TRUE(fresh.AddUnknownOn().Empty());
    EXPECT_EQ(fresh.StringList(), nullptr);
}

// ---- In place ----------------------------------------------------------------------------

TEST_F(AutoCompleteTest, TheTypedPrefixIsCompletedWithTheTailSelected)
{
    completion_->SetMode({amText});
    // Typed with Shift held for the capital: the selection is the tail all the same.
    Type("Ro");
    EXPECT_EQ(Text(), "Roma");
    EXPECT_EQ(edit_->SelStart(), 3);
    EXPECT_EQ(Selected(), "ma");
    EXPECT_EQ(completion_->TypedText().str(), "Ro");
    // The next character replaces the tail: the second word now.
    Type("v");
    EXPECT_EQ(Text(), "Rovigo");
    EXPECT_EQ(Selected(), "igo");
    Type("x");
    EXPECT_EQ(Text(), "Rovx");
    EXPECT_EQ(edit_->SelLength(), 0);
}

TEST_F(AutoCompleteTest, ACapitalTypedAloneSelectsOnlyTheTail)
{
    completion_->SetMode({amText});
    Type("B");
    EXPECT_EQ(Text(), "Bologna");
    EXPECT_EQ(edit_->SelStart(), 2);
    EXPECT_EQ(Selected(), "ologna");
    EXPECT_EQ(edit_->CursorPos(), 2);
}

TEST_F(AutoCompleteTest, BackspaceTakesTheTailAndTheLastTypedCharacter)
{
    completion_->SetMode({amText});
    Type("Rov");
    EXPECT_EQ(Text(), "Rovigo");
    Key(VK_BACK);
    // "Ro" is left, which completes again.
    EXPECT_EQ(completion_->TypedText().str(), "Ro");
    EXPECT_EQ(Text(), "Roma");
    EXPECT_EQ(Selected(), "ma");
}

TEST_F(AutoCompleteTest, BackspaceTakesTheSelectionAndOneMoreWhereverTheCursorStands)
{
    completion_->SetMode({amText});
    struct Case {
        const char* name;
        std::function<void()> select; // "abc" of "xabcdef"
    };
    const Case cases[] = {
        {"selected rightwards", [&] { Key(VK_HOME); Key(VK_RIGHT); for (int i = 0; i < 3; ++i) Key(VK_RIGHT, true); }},
        {"selected leftwards", [&] { Key(VK_HOME); for (int i = 0; i < 4; ++i) Key(VK_RIGHT); for (int i = 0; i < 3; ++i) Key(VK_LEFT, true); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        edit_->SetText("xabcdef");
        c.select();
        ASSERT_EQ(Selected(), "abc");
        Key(VK_BACK);
        EXPECT_EQ(Text(), "def");
        EXPECT_EQ(edit_->CursorPos(), 1);
    }
}

TEST_F(AutoCompleteTest, ATextDraggedWithinTheEditIsNotCompleted)
{
    completion_->SetMode({amText});
    edit_->SetText("Roxy");
    Key(VK_END);
    Keys(VK_LEFT, 2, true);
    ASSERT_EQ(Selected(), "xy");
    // Pressed between "x" and "y", dropped before "R": the removal leaves "Ro", which the
    // completion must not turn into "Roma" before the drop puts "xy" back.
    const auto gapBefore = [&](int position) { return edit_->PosFromChar(position - 1); };
    const int y = edit_->TextRect().top + 3;
    MoveTo(edit_, gapBefore(4), y);
    Press(edit_, gapBefore(4), y);
    MoveTo(edit_, gapBefore(1), y);
    Release(edit_, gapBefore(1), y);
    Pump();
    EXPECT_EQ(Text(), "xyRo");
    edit_->Undo();
    edit_->Undo();
    EXPECT_EQ(Text(), "Roxy");
    EXPECT_FALSE(edit_->CanUndo());
}

// What the completion puts into the edit is one change like the typing: undone step by step
// back to the empty edit, and redone to where it was.
TEST_F(AutoCompleteTest, ACompletionIsUndoneLikeTheTypingBeforeIt)
{
    struct Case {
        const char* name;
        TOBLAutoCompleteModes mode;
        std::function<void()> script;
        std::vector<std::string> texts; // after the script, then after each undo
    };
    const Case cases[] = {
        {"in place", {amText}, [&] { Type("Bo"); }, {"Bologna", "Bo", "Bologna", "B", ""}},
        {"an arrow key", {amPopup}, [&] { Type("Bo"); Key(VK_DOWN); }, {"Bologna", "Bo", "B", ""}},
        {"Enter", {amPopup}, [&] { Type("Bo"); Key(VK_DOWN); Key(VK_DOWN); Key(VK_RETURN); },
         {"Bolzano", "Bologna", "Bo", "B", ""}},
        {"Escape", {amText, amPopup}, [&] { Type("Bo"); Key(VK_ESCAPE); },
         {"Bo", "Bologna", "Bo", "Bologna", "B", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        completion_->SetMode(c.mode);
        c.script();
        std::vector<std::string> seen{Text()};
        while (edit_->CanUndo()) {
            edit_->Perform(EM_UNDO, 0, 0);
            seen.push_back(Text());
        }
        EXPECT_EQ(seen, c.texts);
        while (edit_->CanRedo()) edit_->Redo();
        EXPECT_EQ(Text(), c.texts.front());
    }
}

TEST_F(AutoCompleteTest, UndoingACompletionLeavesTheCursorAfterTheTyping)
{
    completion_->SetMode({amText});
    Type("Bo");
    ASSERT_EQ(Selected(), "logna");
    edit_->Undo();
    EXPECT_EQ(Text(), "Bo");
    EXPECT_EQ(edit_->CursorPos(), 3);
    EXPECT_EQ(edit_->SelLength(), 0);
    EXPECT_TRUE(edit_->Modified());
}

// A seeded run of typing, deleting, moving, selecting, the clipboard, undo and redo, with
// completion in place and the drop-down on (words and pastes with line breaks included):
// the history undoes all of it to the empty edit and redoes it to where it was.
TEST_F(AutoCompleteTest, ARandomRunUndoesToTheStartAndRedoesToTheEnd)
{
    completion_->SetMode({amText, amPopup});
    SetWords({"Roma", "Rovigo", "Bologna", "Bolzano", "Rox\r\nA", "o"});
    std::mt19937 random(39);
    const auto coin = [&] { return random() % 2 == 0; };
    const std::function<void()> steps[] = {
        [&] { const char typed[] = {"RoBlgxa "[random() % 8], '\0'}; Type(typed); },
        [&] { Type(coin() ? "Ro" : "Bo"); },
        // Everything removed, so that the next typing begins a word again.
        [&] { Key('A', false, true); Key(VK_BACK); },
        [&] { Key(VK_BACK); },
        [&] { Key(VK_DELETE); },
        [&] { Key(VK_LEFT, coin()); },
        [&] { Key(VK_RIGHT, coin()); },
        [&] { Key(coin() ? VK_HOME : VK_END, coin()); },
        [&] { Key(coin() ? 'X' : 'C', false, true); },
        [&] { Key('V', false, true); },
        [&] { Clipboard()->SetAsText("Bo\r\n"); Key('V', false, true); },
        [&] { edit_->Undo(); },
        [&] { edit_->Redo(); },
        [&] { Key(coin() ? VK_DOWN : VK_UP); },
        [&] { Key(coin() ? VK_RETURN : VK_ESCAPE); },
        [&] { Key(VK_INSERT); },
    };
    // Nothing is ever dropped from the history: only the empty edit it began with has
    // nothing to undo.
    int lost = 0;
    for (int i = 0; i < 3000; ++i) {
        steps[random() % std::size(steps)]();
        lost += !edit_->CanUndo() && !Text().empty();
    }
    EXPECT_EQ(lost, 0);
    // A last word, so that the end is never the empty start.
    Type("Ro");
    const std::string end = Text();
    while (edit_->CanUndo()) edit_->Undo();
    EXPECT_EQ(Text(), "");
    while (edit_->CanRedo()) edit_->Redo();
    EXPECT_EQ(Text(), end);
}

TEST_F(AutoCompleteTest, NothingWhenDisabledOrWithoutAMatch)
{
    completion_->SetMode({amText});
    Type("Na");
    EXPECT_EQ(Text(), "Na");
    edit_->SetText("");
    completion_->SetEnabled(false);
    Type("Ro");
    EXPECT_EQ(Text(), "Ro");
}

TEST_F(AutoCompleteTest, AnIndexOutsideTheContainerCompletesNothing)
{
    completion_->SetMode({amText, amPopup});
    completion_->SetStrListIndex(0);
    lists_->Delete(0);
    Type("Ro");
    EXPECT_EQ(Text(), "Ro");
    // An empty container lowers the index below every item.
    completion_->SetStrListIndex(3);
    EXPECT_EQ(completion_->StringListIndex(), -1);
    Type("m");
    EXPECT_EQ(Text(), "Rom");
    EXPECT_EQ(completion_->ListBox(), nullptr);
}

TEST_F(AutoCompleteTest, TheIndexIsLoweredToTheLastItem)
{
    lists_->Add(nullptr);
    completion_->SetStrListIndex(5);
    EXPECT_EQ(completion_->StringListIndex(), 1);
}

TEST_F(AutoCompleteTest, AFreedStringListIsForgotten)
{
    completion_->SetMode({amText});
    lists_->Free();
    lists_ = nullptr;
    EXPECT_EQ(completion_->StringList(), nullptr);
    Type("Ro");
    EXPECT_EQ(Text(), "Ro");
}

// ---- The drop-down -----------------------------------------------------------------------

TEST_F(AutoCompleteTest, TheDropDownListsTheMatchesUnderTheEdit)
{
    completion_->SetMode({amPopup});
    const LONG_PTR own = WindowProcedure(edit_);
    Type("Bo");
    EXPECT_EQ(Text(), "Bo");
    EXPECT_THAT(Shown(), ElementsAre("Bologna", "Bolzano"));
    TListBox* box = completion_->ListBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(completion_->Control(), edit_);
    EXPECT_NE(WindowProcedure(edit_), own);
    RECT under{}, list{};
    GetWindowRect(edit_->Handle(), &under);
    GetWindowRect(box->Handle(), &list);
    EXPECT_EQ(V(Rect(list.left, list.top, list.right, list.bottom)),
              V(Rect(under.left, under.bottom, under.right, under.bottom + 2 * box->ItemHeight() + 5)));
    EXPECT_TRUE(IsWindowVisible(box->Handle()));
    EXPECT_EQ(GetParent(box->Handle()), nullptr);
    EXPECT_TRUE(GetWindowLongA(box->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    // The edit keeps the focus.
    EXPECT_TRUE(edit_->Focused());
}

// Text put in from code completes in place, but only the edit the user types into gets a
// drop-down: none on the desktop for an edit out of sight, and nothing raised.
TEST_F(AutoCompleteTest, NoDropDownForAnEditTheUserIsNotTypingInto)
{
    completion_->SetMode({amText, amPopup});
    TOwned<TForm> hidden(new TForm(nullptr));
    auto* onHidden = new TOBLCustomEdit(hidden.get());
    onHidden->SetParent(hidden.get());
    onHidden->HandleNeeded();
    TOwned<TOBLCustomEdit> alone(new TOBLCustomEdit(nullptr));
    struct Case {
        const char* name;
        TOBLCustomEdit* edit;
    };
    const Case cases[] = {{"without a parent", alone.get()}, {"on a hidden form", onHidden}, {"unfocused", other_}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.edit->SetAutoComplete(completion_);
        EXPECT_NO_THROW(c.edit->SetSelText("Bo"));
        EXPECT_EQ(Text(c.edit), "Bologna");
        EXPECT_EQ(completion_->ListBox(), nullptr);
        EXPECT_EQ(completion_->Control(), nullptr);
        c.edit->SetAutoComplete(nullptr);
    }
    // The focused edit still gets its drop-down.
    Type("Bo");
    EXPECT_THAT(Shown(), ElementsAre("Bologna", "Bolzano"));
}

TEST_F(AutoCompleteTest, AtMostEightRowsHigh)
{
    completion_->SetMode({amPopup});
    SetWords({"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8", "A9", "A10", "B"});
    Type("A");
    EXPECT_EQ(Shown().size(), 10u);
    TListBox* box = completion_->ListBox();
    ASSERT_NE(box, nullptr);
    RECT list{};
    GetWindowRect(box->Handle(), &list);
    EXPECT_EQ(list.bottom - list.top, 8 * box->ItemHeight() + 5);
}

TEST_F(AutoCompleteTest, EveryMatchIsListedWhateverTheCaseOfTheOthers)
{
    completion_->SetMode({amPopup});
    // Sorted without regard to case, "Abd" stands between the two matches.
    SetWords({"abe", "Abd", "abc", "b"});
    Type("ab");
    EXPECT_THAT(Shown(), ElementsAre("abc", "abe"));
}

TEST_F(AutoCompleteTest, ArrowKeysWalkTheListAndPutTheItemIntoTheEdit)
{
    completion_->SetMode({amPopup});
    Type("Bo");
    Key(VK_DOWN);
    EXPECT_EQ(Text(), "Bologna");
    EXPECT_EQ(Selected(), "Bologna");
    Key(VK_DOWN);
    EXPECT_EQ(Text(), "Bolzano");
    EXPECT_EQ(completion_->ListBox()->ItemIndex(), 1);
    // No item below the last, none above the first.
    Key(VK_DOWN);
    EXPECT_EQ(Text(), "Bolzano");
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(Text(), "Bologna");
    EXPECT_EQ(completion_->ListBox()->ItemIndex(), 0);
}

TEST_F(AutoCompleteTest, EnterTakesTheItemAndClosesTheDropDown)
{
    completion_->SetMode({amPopup});
    const LONG_PTR own = WindowProcedure(edit_);
    Type("Bo");
    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_EQ(Text(), "Bolzano");
    EXPECT_EQ(completion_->ListBox(), nullptr);
    EXPECT_EQ(completion_->Control(), nullptr);
    EXPECT_EQ(WindowProcedure(edit_), own);
}

TEST_F(AutoCompleteTest, EnterWithoutAnItemKeepsTheText)
{
    completion_->SetMode({amPopup});
    Type("Bo");
    Key(VK_RETURN);
    EXPECT_EQ(Text(), "Bo");
    EXPECT_EQ(completion_->ListBox(), nullptr);
}

TEST_F(AutoCompleteTest, EscapeRestoresTheTypedTextAndCloses)
{
    completion_->SetMode({amText, amPopup});
    Type("Bo");
    EXPECT_EQ(Text(), "Bologna");
    EXPECT_THAT(Shown(), ElementsAre("Bologna", "Bolzano"));
    Key(VK_ESCAPE);
    EXPECT_EQ(Text(), "Bo");
    EXPECT_EQ(Selected(), "Bo");
    EXPECT_EQ(completion_->ListBox(), nullptr);
}

TEST_F(AutoCompleteTest, CompletingInPlaceTheDropDownListsWhatMatchesTheTypedText)
{
    SetWords({"alpha", "alps", "beta"});
    completion_->SetMode({amText, amPopup});
    Type("al");
    EXPECT_EQ(Text(), "alpha");
    EXPECT_EQ(Selected(), "pha");
    EXPECT_THAT(Shown(), ElementsAre("alpha", "alps"));
}

TEST_F(AutoCompleteTest, WhenNothingMatchesAnyMoreTheDropDownCloses)
{
    completion_->SetMode({amPopup});
    const LONG_PTR own = WindowProcedure(edit_);
    Type("Bo");
    ASSERT_THAT(Shown(), ElementsAre("Bologna", "Bolzano"));
    Type("x");
    EXPECT_EQ(completion_->ListBox(), nullptr);
    EXPECT_EQ(completion_->Control(), nullptr);
    EXPECT_EQ(WindowProcedure(edit_), own);
    // No key puts a word that no longer matches into the edit.
    Key(VK_DOWN);
    Key(VK_UP);
    Key(VK_RETURN);
    EXPECT_EQ(Text(), "Box");
    // Matching again opens it again.
    Key(VK_BACK);
    EXPECT_THAT(Shown(), ElementsAre("Bologna", "Bolzano"));
}

TEST_F(AutoCompleteTest, TypingTheOnlyMatchClosesTheDropDown)
{
    completion_->SetMode({amPopup});
    Type("Rom");
    EXPECT_THAT(Shown(), ElementsAre("Roma"));
    Type("a");
    EXPECT_EQ(completion_->ListBox(), nullptr);
    EXPECT_EQ(Text(), "Roma");
}

TEST_F(AutoCompleteTest, LeavingRestoresTheTypedTextAndCloses)
{
    completion_->SetMode({amPopup});
    const LONG_PTR own = WindowProcedure(edit_);
    Type("Bo");
    Key(VK_DOWN);
    Focus(other_);
    EXPECT_EQ(Text(), "Bo");
    EXPECT_EQ(completion_->ListBox(), nullptr);
    EXPECT_EQ(WindowProcedure(edit_), own);
}

TEST_F(AutoCompleteTest, AClickOnTheDropDownClosesItSafely)
{
    completion_->SetMode({amPopup});
    Type("Bo");
    TListBox* box = completion_->ListBox();
    ASSERT_NE(box, nullptr);
    RECT list{};
    GetWindowRect(box->Handle(), &list);
    UserInjectClick(list.left + 10, list.top + 4);
    Pump();
    EXPECT_EQ(completion_->ListBox(), nullptr);
    EXPECT_EQ(Text(), "Bo");
    EXPECT_EQ(GetFocus(), box->Handle());
    // The next drop-down comes up again (typing replaces the text left selected).
    Focus(edit_);
    Type("Bol");
    EXPECT_THAT(Shown(), ElementsAre("Bologna", "Bolzano"));
}

// ---- Two edits, one completion -------------------------------------------------------------

TEST_F(AutoCompleteTest, TwoEditsShareOneCompletion)
{
    completion_->SetMode({amText, amPopup});
    const LONG_PTR first = WindowProcedure(edit_), second = WindowProcedure(other_);
    Type("Bo");
    EXPECT_EQ(completion_->Control(), edit_);
    Focus(other_);
    Type("Ro");
    EXPECT_EQ(Text(other_), "Roma");
    EXPECT_EQ(completion_->Control(), other_);
    EXPECT_EQ(WindowProcedure(edit_), first);
    // The drop-down asked from code for the edit without the focus: it opens nothing, and
    // the focused edit keeps its own; each edit keeps its own window procedure.
    completion_->Popup(edit_, "Bo");
    EXPECT_EQ(completion_->Control(), other_);
    EXPECT_EQ(WindowProcedure(edit_), first);
    EXPECT_NE(WindowProcedure(other_), second);
    completion_->CancelPopup();
    EXPECT_EQ(WindowProcedure(edit_), first);
    EXPECT_EQ(WindowProcedure(other_), second);
    // Both still type.
    Focus(edit_);
    Type("x");
    Focus(other_);
    Type("y");
    // Left with its drop-down open, the edit went back to what was typed.
    EXPECT_EQ(Text(other_), "Roy");
}

// Freed or deleted, the edit closes its drop-down while it is whole: the focus it loses
// as its window goes no longer reaches the completion.
TEST_F(AutoCompleteTest, AnEditEndedWithItsDropDownOpen)
{
    for (const bool freed : {true, false}) {
        SCOPED_TRACE(freed ? "Free" : "delete");
        TOBLCustomEdit* edit = freed ? edit_ : other_;
        completion_->SetMode({amPopup});
        Focus(edit);
        Type("Bo");
        ASSERT_NE(completion_->ListBox(), nullptr);
        if (freed)
            edit->Free();
        else
            delete edit;
        EXPECT_EQ(completion_->Control(), nullptr);
    }
    edit_ = other_ = nullptr;
}

TEST_F(AutoCompleteTest, AnEditFreedWithItsDropDownOpen)
{
    completion_->SetMode({amPopup});
    Type("Bo");
    ASSERT_NE(completion_->ListBox(), nullptr);
    edit_->Free();
    edit_ = nullptr;
    EXPECT_EQ(completion_->Control(), nullptr);
    Focus(other_);
    Type("Ro");
    EXPECT_THAT(Shown(), ElementsAre("Roma", "Rovigo"));
}

// ---- Adding ----------------------------------------------------------------------------------

// The other edit only takes the focus.
class AutoCompleteAddTest : public AutoCompleteTest {
protected:
    void SetUp() override
    {
        AutoCompleteTest::SetUp();
        other_->SetAutoComplete(nullptr);
    }
};

TEST_F(AutoCompleteAddTest, LeavingAddsTheTextOnce)
{
    completion_->SetAddUnknownOn({aaControlExit});
    completion_->SetOnAdd(TOBLAutoCompleteAddEvent(&adds_, &TAddLog::Asked));
    Type("Torino");
    Focus(other_);
    Focus(edit_);
    Focus(other_);
    EXPECT_THAT(Lines(Words()), ElementsAre("Roma", "Rovigo", "Bologna", "Bolzano", "Torino"));
    EXPECT_THAT(adds_.asked, ElementsAre("Torino"));
}

TEST_F(AutoCompleteAddTest, EnterAddsTheText)
{
    completion_->SetAddUnknownOn({aaControlReturn});
    Type("Pisa");
    Key(VK_RETURN);
    Focus(other_);
    EXPECT_THAT(Lines(Words()), ElementsAre("Roma", "Rovigo", "Bologna", "Bolzano", "Pisa"));
}

TEST_F(AutoCompleteAddTest, TheHandlerVetoesOrRedirectsTheAddition)
{
    completion_->SetAddUnknownOn({aaControlExit});
    completion_->SetOnAdd(TOBLAutoCompleteAddEvent(&adds_, &TAddLog::Asked));
    adds_.accept = false;
    Type("Torino");
    Focus(other_);
    EXPECT_EQ(Words()->Count(), 4);
    adds_.accept = true;
    adds_.rename = "TORINO";
    Focus(edit_);
    Focus(other_);
    EXPECT_THAT(adds_.asked, ElementsAre("Torino", "Torino"));
    EXPECT_EQ(Words()->Strings(4).str(), "TORINO");
}

TEST_F(AutoCompleteAddTest, AnEmptyEditOffersNothing)
{
    completion_->SetAddUnknownOn({aaControlExit, aaControlReturn});
    completion_->SetOnAdd(TOBLAutoCompleteAddEvent(&adds_, &TAddLog::Asked));
    Key(VK_RETURN);
    Focus(other_);
    Focus(edit_);
    Type("x");
    Key(VK_BACK);
    Focus(other_);
    EXPECT_TRUE(adds_.asked.empty());
    EXPECT_THAT(Lines(Words()), ElementsAre("Roma", "Rovigo", "Bologna", "Bolzano"));
}

TEST_F(AutoCompleteAddTest, NothingIsAddedWhenDisabledOrNotAsked)
{
    Type("Torino");
    Focus(other_);
    completion_->SetAddUnknownOn({aaControlExit});
    completion_->SetEnabled(false);
    Focus(edit_);
    Focus(other_);
    EXPECT_EQ(Words()->Count(), 4);
}

// ---- Form descriptions ---------------------------------------------------------------------

class AutoCompleteStreamingTest : public AutoCompleteFixture {
protected:
    void SetUp() override
    {
        AutoCompleteFixture::SetUp();
        RegisterClass(TForm::StaticClass());
        RegisterClass(TOBLStringList::StaticClass());
        RegisterClass(TOBLEditAutoComplete::StaticClass());
        RegisterClass(TOBLCustomEdit::StaticClass());
    }
    void TearDown() override
    {
        UnRegisterClass(TOBLCustomEdit::StaticClass());
        UnRegisterClass(TOBLEditAutoComplete::StaticClass());
        UnRegisterClass(TOBLStringList::StaticClass());
        AutoCompleteFixture::TearDown();
    }
};

TEST_F(AutoCompleteStreamingTest, SettingsAndTheIndexComeBack)
{
    form_->SetName("Host");
    lists_->SetName("Lists");
    completion_->SetName("Completion");
    edit_->SetName("");
    other_->SetName("");
    lists_->Add(nullptr);
    lists_->Items(1)->GetList()->Add("Venezia");
    completion_->SetStrListIndex(1);
    completion_->SetMode({amText, amPopup});
    completion_->SetAddUnknownOn({aaControlReturn});
    completion_->SetEnabled(false);
    TStringStream out;
    out.WriteComponent(form_);
    const std::string text = out.DataString().c_str();
    EXPECT_NE(text.find("StringList = Lists"), std::string::npos) << text;
    TStringStream in{AnsiString(text.c_str())};
    form_->SetName("Old");
    lists_->SetName("");
    completion_->SetName("");
    TOwned<TComponent> copy(in.ReadComponent(nullptr));
    auto* back = dynamic_cast<TOBLEditAutoComplete*>(copy->FindComponent("Completion"));
    ASSERT_NE(back, nullptr) << text;
    EXPECT_EQ(back->StringList(), copy->FindComponent("Lists"));
    // Read before the container reference was fixed, the index stays.
    EXPECT_EQ(back->StringListIndex(), 1);
    EXPECT_EQ(back->Mode(), (TOBLAutoCompleteModes{amText, amPopup}));
    EXPECT_EQ(back->AddUnknownOn(), TOBLAutoCompleteAddOns{aaControlReturn});
    EXPECT_FALSE(back->Enabled());
}

TEST_F(AutoCompleteStreamingTest, EnabledIsStoredOnlyWhenOff)
{
    form_->SetName("Host");
    completion_->SetName("Completion");
    TStringStream out;
    out.WriteComponent(completion_);
    const std::string text = out.DataString().c_str();
    EXPECT_EQ(text.find("Enabled"), std::string::npos) << text;
    EXPECT_NE(text.find("StringListIndex = 0"), std::string::npos) << text;
}

} // namespace

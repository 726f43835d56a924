// The edit engine under a user's keyboard and mouse, its clipboard commands, its context
// menu and the standard edit control's messages.
#include "EditInputFixture.h"

#include "obl/controls/edits/OBLCustomEdit.h"
#include "obl/core/app/oblclass.h"
#include "tests/support/NotifyCounter.h"
#include "platform/win/user/Messages.h"

namespace {

class EditInputTest : public EditInputFixture {
public:
    // Text, SelStart, SelLength, CursorPos and clipboard after a script.
    struct Outcome {
        std::string text;
        int selStart, selLength, cursorPos;
        std::string clipboard;
        bool operator==(const Outcome&) const = default;
    };
    Outcome Now() const
    {
        return {Text(), edit_->SelStart(), edit_->SelLength(), edit_->CursorPos(), ClipboardText()};
    }

    // One user's script on a fresh edit holding `text`, and what it must leave.
    struct Script {
        const char* name;
        const char* text;
        std::function<void()> script;
        Outcome expected;
    };

protected:
    void Start(const char* text)
    {
        edit_->SetText(text);
        edit_->ClearUndo();
        Focus();
    }
    // Each script on a fresh form.
    void RunScripts(const std::vector<Script>& scripts)
    {
        for (const Script& c : scripts) {
            SCOPED_TRACE(c.name);
            TearDown();
            SetUp();
            Start(c.text);
            c.script();
            EXPECT_EQ(Now(), c.expected);
        }
    }
};

std::ostream& operator<<(std::ostream& out, const EditInputTest::Outcome& o)
{
    return out << '"' << o.text << "\" sel " << o.selStart << "+" << o.selLength << " cursor " << o.cursorPos
               << " clipboard \"" << o.clipboard << '"';
}

TEST_F(EditInputTest, KeyboardAndMouseScripts)
{
    RunScripts({
        {"typing inserts at the cursor", "", [&] { Type("abc"); }, {"abc", 4, 0, 4, ""}},
        {"left moves one character", "", [&] { Type("abcd"); Keys(VK_LEFT, 2); Type("X"); }, {"abXcd", 4, 0, 4, ""}},
        {"right at the CR jumps over the line break", "ab\r\ncd",
         [&] { Key(VK_HOME, false, true); Keys(VK_RIGHT, 3); }, {"ab\r\ncd", 5, 0, 5, ""}},
        {"left after the line break jumps back over it", "ab\r\ncd",
         [&] { Key(VK_HOME, false, true); Keys(VK_RIGHT, 3); Key(VK_LEFT); }, {"ab\r\ncd", 3, 0, 3, ""}},
        {"shift and right select, typing replaces", "hello world",
         [&] { Key(VK_HOME); Keys(VK_RIGHT, 5, true); Type("X"); }, {"X world", 2, 0, 2, ""}},
        {"shift and left select backwards", "hello",
         [&] { Key(VK_END); Keys(VK_LEFT, 2, true); }, {"hello", 4, 2, 4, ""}},
        {"ctrl A and ctrl C copy everything", "hello",
         [&] { Key('A', false, true); Key('C', false, true); }, {"hello", 1, 5, 1, "hello"}},
        {"ctrl X cuts the selection", "hello world",
         [&] { Key(VK_HOME); Keys(VK_RIGHT, 6, true); Key('X', false, true); }, {"world", 1, 0, 1, "hello "}},
        {"ctrl V pastes at the cursor", "ab",
         [&] { UserSetClipboardText("ZZ"); Key(VK_END); Key('V', false, true); }, {"abZZ", 5, 0, 5, "ZZ"}},
        {"ctrl Insert copies, shift Insert pastes", "ab",
         [&] { Key(VK_HOME); Key(VK_RIGHT, true); Key(VK_INSERT, false, true); Key(VK_END); Key(VK_INSERT, true); },
         {"aba", 4, 0, 4, "a"}},
        {"shift Delete cuts", "abc", [&] { Key(VK_HOME); Key(VK_RIGHT, true); Key(VK_DELETE, true); },
         {"bc", 1, 0, 1, "a"}},
        {"delete removes the character at the cursor", "abc", [&] { Key(VK_HOME); Key(VK_DELETE); },
         {"bc", 1, 0, 1, ""}},
        {"backspace removes the character before the cursor", "abc", [&] { Key(VK_END); Key(VK_BACK); },
         {"ab", 3, 0, 3, ""}},
        {"backspace at the start changes nothing", "abc", [&] { Key(VK_HOME); Key(VK_BACK); }, {"abc", 1, 0, 1, ""}},
        {"backspace after a line break removes both characters", "ab\r\ncd",
         [&] { Key(VK_HOME, false, true); Keys(VK_RIGHT, 3); Key(VK_BACK); }, {"abcd", 3, 0, 3, ""}},
        {"ctrl backspace inserts no DEL", "abc", [&] { Key(VK_END); Key(VK_BACK, false, true); }, {"ab", 3, 0, 3, ""}},
        {"escape removes the selection", "abc", [&] { Key('A', false, true); Key(VK_ESCAPE); }, {"abc", 1, 0, 1, ""}},
        {"insert toggles overwrite", "abc", [&] { Key(VK_HOME); Key(VK_INSERT); Type("XY"); }, {"XYc", 3, 0, 3, ""}},
        {"a click places the cursor", "hello", [&] { ClickAt(3); }, {"hello", 3, 0, 3, ""}},
        {"dragging the mouse selects", "hello world",
         [&] { MoveToPos(2); PressAt(2); MoveToPos(5); ReleaseAt(5); }, {"hello world", 2, 3, 5, ""}},
        {"shift and click extend the selection", "hello world", [&] { ClickAt(2); ShiftClickAt(7); },
         {"hello world", 2, 5, 7, ""}},
        {"a double click selects the word", "one two three", [&] { DoubleClickAt(6); }, {"one two three", 5, 3, 6, ""}},
        {"dropping the selection after it moves the text", "abcdef",
         [&] {
             ClickAt(2); ShiftClickAt(4);
             MoveToPos(3); PressAt(3); MoveToPos(6); ReleaseAt(6);
         },
         {"adebcf", 4, 0, 4, ""}},
        {"dropping the selection before it moves the text", "abcdef",
         [&] { ClickAt(4); ShiftClickAt(6); MoveToPos(5); PressAt(5); MoveToPos(2); ReleaseAt(2); },
         {"adebcf", 2, 0, 2, ""}},
        {"dropping inside the selection only collapses it", "abcdef",
         [&] { ClickAt(2); ShiftClickAt(5); MoveToPos(3); PressAt(3); ReleaseAt(3); }, {"abcdef", 3, 0, 3, ""}},
        {"undo from the menu takes the last typing back", "", [&] { Type("ab"); ContextMenu("&Undo"); },
         {"a", 2, 0, 2, ""}},
        {"redo puts it back", "", [&] { Type("ab"); ContextMenu("&Undo"); edit_->Redo(); }, {"ab", 2, 1, 3, ""}},
    });
}

TEST_F(EditInputTest, ALineBreakIsCutMovedAndDeletedWhole)
{
    // Selections that end on the CR of a pair or start on its LF; the clipboard gets, and a
    // drag moves, exactly what leaves the text.
    const auto select = [&](WPARAM from, LPARAM to) { edit_->Perform(EM_SETSEL, from, to); };
    RunScripts({
        {"cut ending on the CR", "ab\r\ncd", [&] { select(0, 3); Key('X', false, true); }, {"cd", 1, 0, 1, "ab\r\n"}},
        {"cut ending on the CR, pasted back", "ab\r\ncd",
         [&] { select(0, 3); Key('X', false, true); Key('V', false, true); }, {"ab\r\ncd", 5, 0, 5, "ab\r\n"}},
        {"cut starting on the LF", "ab\r\ncd", [&] { select(3, 6); Key('X', false, true); }, {"ab", 3, 0, 3, "\r\ncd"}},
        {"cut from the menu", "ab\r\ncd", [&] { select(0, 3); ContextMenu("&Cut"); }, {"cd", 1, 0, 1, "ab\r\n"}},
        {"dragged to the end", "xab\r\ncdef",
         [&] { select(1, 4); MoveToPos(3); PressAt(3); MoveToPos(10); ReleaseAt(10); }, {"xcdefab\r\n", 6, 0, 6, ""}},
        {"deleted ending on the CR", "ab\r\ncd", [&] { select(0, 3); Key(VK_DELETE); }, {"cd", 1, 0, 1, ""}},
        {"deleted starting on the LF", "ab\r\ncd", [&] { select(3, 6); Key(VK_DELETE); }, {"ab", 3, 0, 3, ""}},
    });
}

TEST_F(EditInputTest, DeleteAtTheEndIsNoChange)
{
    NotifyCounter changes;
    edit_->SetOnChange(TNotifyEvent(&changes, &NotifyCounter::Changed));
    Start("abc");
    Key(VK_END);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "abc");
    EXPECT_FALSE(edit_->Modified());
    EXPECT_EQ(changes.count, 0);
    EXPECT_FALSE(edit_->CanUndo());
    // One character before the end still goes.
    Key(VK_LEFT);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "ab");
    EXPECT_EQ(changes.count, 1);
}

// With nothing selected, copying and cutting leave what the clipboard holds, and nothing
// that changes no character counts as a change: no Modified, no OnChange, nothing to undo.
TEST_F(EditInputTest, WhatChangesNothingLeavesClipboardAndEditAsTheyWere)
{
    struct Case {
        const char* name;
        EditStep step;
    };
    const Case cases[] = {
        {"ctrl C", [&] { Key('C', false, true); }},
        {"ctrl Insert", [&] { Key(VK_INSERT, false, true); }},
        {"WM_COPY", [&] { edit_->Perform(WM_COPY, 0, 0); }},
        {"ctrl X", [&] { Key('X', false, true); }},
        {"shift Delete", [&] { Key(VK_DELETE, true); }},
        {"WM_CUT", [&] { edit_->Perform(WM_CUT, 0, 0); }},
        {"WM_CLEAR", [&] { edit_->Perform(WM_CLEAR, 0, 0); }},
        {"EM_REPLACESEL of nothing", [&] { edit_->Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>("")); }},
        {"WM_SETTEXT of the same text", [&] { edit_->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("hello")); }},
        {"the same letters in the same case", [&] { edit_->Lower(1, 5); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        NotifyCounter changes;
        edit_->SetOnChange(TNotifyEvent(&changes, &NotifyCounter::Changed));
        Start("hello");
        Key(VK_HOME);
        Key(VK_RIGHT);
        Clipboard()->SetAsText("kept");
        c.step();
        EXPECT_EQ(Text(), "hello");
        EXPECT_EQ(ClipboardText(), "kept");
        EXPECT_FALSE(edit_->Modified());
        EXPECT_EQ(changes.count, 0);
        EXPECT_FALSE(edit_->CanUndo());
    }
}

TEST_F(EditInputTest, PastingAnEmptyClipboardLeavesTextAndSelection)
{
    Start("hello");
    Key(VK_HOME);
    Keys(VK_RIGHT, 3, true);
    ASSERT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    Key('V', false, true);
    Key(VK_INSERT, true);
    edit_->Perform(WM_PASTE, 0, 0);
    ContextMenu("&Insert");
    EXPECT_EQ(Now(), (Outcome{"hello", 1, 3, 4, ""}));
    EXPECT_FALSE(edit_->Modified());
}

TEST_F(EditInputTest, NewHighlightColoursAreShownAtOnce)
{
    Start("hello");
    int draws = edit_->draws;
    edit_->SetHighlightBack(clGreen);
    EXPECT_EQ(edit_->draws, ++draws);
    edit_->SetHighlightText(clRed);
    EXPECT_EQ(edit_->draws, ++draws);
    // The same colour again is no change.
    edit_->SetHighlightBack(clGreen);
    edit_->SetHighlightText(clRed);
    EXPECT_EQ(edit_->draws, draws);
}

TEST_F(EditInputTest, APasswordEditOffersNoCutCopyOrInsert)
{
    auto* secret = Add<TOBLCustomEdit>(10, 100);
    secret->SetBounds(10, 100, 200, 21);
    secret->HandleNeeded();
    secret->SetText("secret");
    secret->SetPasswordChar('*');
    Pump();
    secret->SetFocus();
    Pump();
    UserSetClipboardText("x");
    Key('A', false, true);
    EXPECT_EQ(ContextMenu({}, secret),
              (std::vector<MenuEntry>{{"&Undo", false}, {"-", true}, {"&Cut", false}, {"&Copy", false},
                                      {"&Insert", false}, {"&Delete", true}, {"-", true}, {"Select all", true}}));
    // Without the password character the three are there again.
    secret->SetPasswordChar('\0');
    const std::vector<MenuEntry> plain = ContextMenu({}, secret);
    ASSERT_EQ(plain.size(), 8u);
    EXPECT_EQ(plain[2], (MenuEntry{"&Cut", true}));
    EXPECT_EQ(plain[3], (MenuEntry{"&Copy", true}));
    EXPECT_EQ(plain[4], (MenuEntry{"&Insert", true}));
}

TEST_F(EditInputTest, TheContextMenuOffersWhatCanBeDone)
{
    using M = std::vector<MenuEntry>;
    struct Case {
        const char* name;
        std::function<void()> setup;
        M expected;
    };
    const Case cases[] = {
        {"a fresh empty edit", [] {},
         {{"&Undo", false}, {"-", true}, {"&Cut", false}, {"&Copy", false}, {"&Insert", false}, {"&Delete", false},
          {"-", true}, {"Select all", false}}},
        {"text typed and selected, text on the clipboard",
         [&] { UserSetClipboardText("x"); Type("abc"); Key(VK_LEFT, true); },
         {{"&Undo", true}, {"-", true}, {"&Cut", true}, {"&Copy", true}, {"&Insert", true}, {"&Delete", true},
          {"-", true}, {"Select all", true}}},
        {"read-only with a selection",
         [&] { UserSetClipboardText("x"); Type("abc"); Key(VK_LEFT, true); edit_->SetBoolean(1, true); },
         {{"&Undo", true}, {"-", true}, {"&Cut", false}, {"&Copy", true}, {"&Insert", false}, {"&Delete", true},
          {"-", true}, {"Select all", true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        Focus();
        c.setup();
        EXPECT_EQ(ContextMenu(), c.expected);
    }
}

TEST_F(EditInputTest, TheMenuCommandsAct)
{
    Start("hello world");
    Key(VK_HOME);
    Keys(VK_RIGHT, 6, true);
    ContextMenu("&Copy");
    EXPECT_EQ(ClipboardText(), "hello ");
    ContextMenu("&Cut");
    EXPECT_EQ(Text(), "world");
    ContextMenu("&Insert");
    EXPECT_EQ(Text(), "hello world");
    ContextMenu("Select all");
    EXPECT_EQ(edit_->SelLength(), 11);
    ContextMenu("&Delete");
    EXPECT_EQ(Text(), "");
    // The menu lives only while it is shown.
    EXPECT_EQ(edit_->ComponentCount(), 0);
}

TEST_F(EditInputTest, ReadOnlyCopiesOnCutAndDeletesNothing)
{
    Start("hello");
    Key('A', false, true);
    edit_->SetBoolean(1, true);
    Key('X', false, true);
    EXPECT_EQ(ClipboardText(), "hello");
    ContextMenu("&Delete");
    Type("z");
    Key(VK_BACK);
    Key(VK_DELETE);
    EXPECT_EQ(Text(), "hello");
}

TEST_F(EditInputTest, AnEditPopupMenuReplacesTheOwnOne)
{
    auto* menu = new TPopupMenu(form_);
    auto* item = new TMenuItem(menu);
    item->SetCaption("Mine");
    menu->Items()->Add(item);
    edit_->SetPopupMenu(menu);
    EXPECT_EQ(ContextMenu(), (std::vector<MenuEntry>{{"Mine", true}}));
}

TEST_F(EditInputTest, SetSelFollowsTheStandardEdit)
{
    struct Case {
        WPARAM start;
        LPARAM end;
        int selStart, selLength;
    } cases[] = {
        {1, 4, 2, 3},                        // characters 1 to 3 (0-based)
        {0, -1, 1, 11},                      // everything
        {static_cast<WPARAM>(-1), 5, 3, 0},  // no selection, the cursor where it was
        {6, -1, 7, 5},                       // to the end
        {4, 1, 2, 3},                        // the smaller position starts it
        {3, 99, 4, 8},                       // cut at the end
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<LONG>(c.start) << ", " << c.end);
        Start("hello world");
        ClickAt(4);
        edit_->Perform(EM_SETSEL, 2, 5);
        edit_->Perform(EM_SETSEL, c.start, c.end);
        EXPECT_EQ(edit_->SelStart(), c.selStart);
        EXPECT_EQ(edit_->SelLength(), c.selLength);
        DWORD from = 0, to = 0;
        const auto packed = static_cast<DWORD>(edit_->Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                                                              reinterpret_cast<LPARAM>(&to)));
        EXPECT_EQ(from, static_cast<DWORD>(c.selStart - 1));
        EXPECT_EQ(to, static_cast<DWORD>(c.selStart + c.selLength - 1));
        EXPECT_EQ(packed, MAKELONG(static_cast<WORD>(from), static_cast<WORD>(to)));
    }
}

TEST_F(EditInputTest, CharFromPosAnswersTheCharacterUnderThePoint)
{
    Start("hello");
    for (int position = 1; position <= 6; ++position) {
        const LPARAM point = MAKELPARAM(static_cast<WORD>(edit_->XOf(position) + 1), static_cast<WORD>(Y()));
        EXPECT_EQ(edit_->Perform(EM_CHARFROMPOS, 0, point), position - 1) << position;
    }
}

TEST_F(EditInputTest, WindowTextIsTheEditsText)
{
    int changes = 0;
    struct Counter : TObject {
        int* n;
        void Changed(TObject*) { ++*n; }
    } counter;
    counter.n = &changes;
    edit_->SetOnChange(TNotifyEvent(&counter, &Counter::Changed));
    SetWindowTextA(edit_->Handle(), "from the window");
    EXPECT_EQ(Text(), "from the window");
    EXPECT_EQ(changes, 1);
    edit_->SetText("from the engine");
    char buffer[8] = {};
    EXPECT_EQ(GetWindowTextA(edit_->Handle(), buffer, sizeof buffer), 7);
    EXPECT_STREQ(buffer, "from th");
    EXPECT_EQ(GetWindowTextLengthA(edit_->Handle()), 15);
}

TEST_F(EditInputTest, EditMessagesReadAndChangeTheEngine)
{
    Start("hello world");
    EXPECT_EQ(edit_->Perform(EM_CANUNDO, 0, 0), edit_->CanUndo());
    edit_->Perform(EM_SETSEL, 0, 5);
    edit_->Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>("howdy"));
    EXPECT_EQ(Text(), "howdy world");
    EXPECT_EQ(edit_->Perform(EM_CANUNDO, 0, 0), 1);
    EXPECT_EQ(edit_->Perform(EM_GETMODIFY, 0, 0), 1);
    EXPECT_EQ(edit_->Perform(EM_UNDO, 0, 0), 0);
    EXPECT_EQ(Text(), "hello world");
    edit_->Perform(EM_SETMODIFY, 0, 0);
    EXPECT_FALSE(edit_->Modified());
    edit_->Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>("x"));
    edit_->Perform(EM_EMPTYUNDOBUFFER, 0, 0);
    EXPECT_EQ(edit_->Perform(EM_CANUNDO, 0, 0), 0);
    edit_->Perform(EM_LIMITTEXT, 12, 0);
    EXPECT_EQ(edit_->Perform(EM_GETLIMITTEXT, 0, 0), 12);
    EXPECT_EQ(edit_->Perform(EM_LINELENGTH, 7, 0), Text().size());
    EXPECT_EQ(edit_->Perform(EM_GETLINECOUNT, 0, 0), 1);
    EXPECT_EQ(edit_->Perform(EM_SETREADONLY, 1, 0), 1);
    EXPECT_TRUE(edit_->ReadOnly());
    char line[16] = {3, 0};
    EXPECT_EQ(edit_->Perform(EM_GETLINE, 0, reinterpret_cast<LPARAM>(line)), 3);
    EXPECT_EQ(std::string(line, 4), std::string("x w") + '\0');
    RECT r{};
    edit_->Perform(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(V(TRect(r)), V(edit_->TextRect()));
    EXPECT_EQ(edit_->Perform(EM_GETPASSWORDCHAR, 0, 0), 0);
    EXPECT_EQ(edit_->Perform(WM_GETDLGCODE, 0, 0) & (DLGC_WANTARROWS | DLGC_WANTCHARS), DLGC_WANTARROWS | DLGC_WANTCHARS);
}

TEST_F(EditInputTest, AClickUsesThePressPointNotTheLastMove)
{
    Start("hello world");
    MoveToPos(2);
    PressAt(8);
    ReleaseAt(8);
    EXPECT_EQ(edit_->CursorPos(), 8);
}

TEST_F(EditInputTest, AStaleShiftDoesNotExtendAClick)
{
    Start("hello world");
    ClickAt(2);
    // Shift was released while another window had the keyboard.
    TOBLEditModes mode = OBLApplication->EditMode();
    mode.Include(emShift);
    OBLApplication->SetEditMode(mode);
    ClickAt(6);
    EXPECT_EQ(edit_->SelLength(), 0);
    EXPECT_EQ(edit_->SelStart(), 6);
}

TEST_F(EditInputTest, HoldingTheButtonPastTheEdgeScrollsTheCursorOn)
{
    Start("hello world");
    PressAt(1);
    EXPECT_EQ(OBLApplication->TimerPool()->GetCount(), 1);
    // Past the right edge: each tick of the held button moves the cursor to the mouse.
    const TPoint p = ScreenPoint(edit_, edit_->Width() + 30, Y());
    UserInjectMouseMove(p.x, p.y);
    edit_->SetText("hello world, and more");
    Run(250);
    EXPECT_EQ(edit_->CursorPos(), 22);
    Release(edit_, edit_->Width() + 30, Y());
    EXPECT_EQ(OBLApplication->TimerPool()->GetCount(), 0);
}

TEST_F(EditInputTest, ALostReleaseStopsTheAutoScrollAndTheDrag)
{
    Start("abcdef");
    ClickAt(2);
    ShiftClickAt(5);
    PressAt(3);
    EXPECT_EQ(Screen->Cursor(), crDrag);
    // Another window takes the mouse; the release goes there.
    auto* other = Add<TTestEdit>(10, 100);
    SetCapture(other->Handle());
    Release(other, 5, 5);
    Run(400);
    EXPECT_EQ(OBLApplication->TimerPool()->GetCount(), 0);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(Text(), "abcdef");
}

TEST_F(EditInputTest, WithoutAFreeTimerAPressStillWorksAndTouchesNoOtherTimer)
{
    Start("hello");
    // A timer of the pool with identifier 0, and every application timer taken.
    TEventLog other;
    OBLApplication->TimerPool()->AddTimer(0, 50, TNotifyEvent(&other, &TEventLog::Click));
    for (int i = 0; i < OBLMaxApplicationTimers; ++i)
        OBLApplication->AddTimer(50, TNotifyEvent());
    PressAt(3);
    EXPECT_EQ(edit_->CursorPos(), 3);
    ReleaseAt(3);
    TOBLTimerItem* item = OBLApplication->TimerPool()->GetTimer(0);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->Enabled());
    EXPECT_TRUE(item->OnTimer().Assigned());
    EXPECT_EQ(OBLApplication->TimerPool()->GetCount(), OBLMaxApplicationTimers + 1);
}

TEST_F(EditInputTest, BackspaceAtTheStartDoesNotRedraw)
{
    Start("abc");
    Key(VK_HOME);
    const int draws = edit_->draws;
    Key(VK_BACK);
    EXPECT_EQ(edit_->draws, draws);
    EXPECT_EQ(Text(), "abc");
}

TEST_F(EditInputTest, DraggingInAReadOnlyEditMovesOnlyTheCursor)
{
    Start("abcdef");
    edit_->SetBoolean(1, true);
    ClickAt(2);
    ShiftClickAt(4);
    MoveToPos(3);
    PressAt(3);
    MoveToPos(6);
    ReleaseAt(6);
    EXPECT_EQ(Text(), "abcdef");
    EXPECT_EQ(edit_->CursorPos(), 6);
    EXPECT_EQ(edit_->SelStart(), 6);
    EXPECT_EQ(edit_->SelLength(), 0);
    EXPECT_EQ(Screen->Cursor(), crDefault);
}

TEST_F(EditInputTest, PosFromCharAnswersTheLeftOfTheCharacter)
{
    Start("hello");
    for (int count = 0; count <= 5; ++count) {
        POINT p{-1, -1};
        const auto packed = static_cast<DWORD>(edit_->Perform(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), count));
        const int x = edit_->TextRect().left + edit_->RowWidth(::Copy(edit_->Text(), 1, count));
        EXPECT_EQ(p.x, x) << count;
        EXPECT_EQ(p.y, 0);
        EXPECT_EQ(static_cast<SHORT>(LOWORD(packed)), x);
    }
    // Without a place for the point only the answer carries it.
    EXPECT_EQ(static_cast<SHORT>(LOWORD(edit_->Perform(EM_POSFROMCHAR, 0, 0))), edit_->TextRect().left);
}

TEST_F(EditInputTest, AnUnfocusedEditShowsItsSelectionExactlyWhenItDoesNotHideIt)
{
    // Before it ever had the focus: a selection set by code is shown once HideSelection is off.
    auto* other = NewEdit(10, 100);
    Focus(other);
    edit_->SetText("hello");
    edit_->SetSelStart(2);
    edit_->SetSelLength(2);
    EXPECT_TRUE(edit_->SelectionHidden());
    edit_->SetBoolean(0, false);
    EXPECT_FALSE(edit_->SelectionHidden());
    edit_->SetBoolean(0, true);
    EXPECT_TRUE(edit_->SelectionHidden());
    // While focused the selection shows whatever the setting says.
    Focus(edit_);
    edit_->SetBoolean(0, true);
    EXPECT_FALSE(edit_->SelectionHidden());
}

TEST_F(EditInputTest, TheSelectionShowsWhileFocusedWhenNeitherHideNorAutoSelect)
{
    edit_->SetBoolean(0, false);
    Start("hello");
    Key('A', false, true);
    EXPECT_FALSE(edit_->SelectionHidden());
    auto* other = NewEdit(10, 100);
    Focus(other);
    EXPECT_FALSE(edit_->SelectionHidden());
    Focus(edit_);
    EXPECT_FALSE(edit_->SelectionHidden());
}

TEST_F(EditInputTest, AFontChangeLeavesAnotherEditsCaret)
{
    auto* other = NewEdit(10, 100);
    Focus(other);
    CaretState before{};
    ASSERT_TRUE(UserGetCaretState(&before));
    edit_->Font()->SetSize(20);
    CaretState after{};
    ASSERT_TRUE(UserGetCaretState(&after));
    EXPECT_EQ(after.owner, other->Handle());
    EXPECT_EQ(after.height, before.height);
    // The focused edit's caret takes the new height and stays shown.
    other->Font()->SetSize(20);
    ASSERT_TRUE(UserGetCaretState(&after));
    EXPECT_EQ(after.owner, other->Handle());
    EXPECT_GT(after.height, before.height);
    EXPECT_EQ(after.hideCount, 0);
}

TEST_F(EditInputTest, AnInvisibleEditTakesNoFocusFromMouseOrPress)
{
    edit_->SetBoolean(6, true);
    edit_->SetVisible(false);
    edit_->Perform(CM_MOUSEENTER, 0, 0);
    edit_->Perform(WM_LBUTTONDOWN, MK_LBUTTON, 0);
    edit_->Perform(WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(edit_->Focused());
    edit_->SetVisible(true);
    Pump();
    MoveToPos(1);
    EXPECT_TRUE(edit_->Focused());
}

TEST_F(EditInputTest, OnKeyPressMayChangeOrDropACharacterBeforeCharCase)
{
    struct Filter : TObject {
        void KeyPress(TObject*, char& key)
        {
            if (key == 'a') key = 'b';
            if (key == 'x') key = 0;
        }
    } filter;
    edit_->SetOnKeyPress(TKeyPressEvent(&filter, &Filter::KeyPress));
    edit_->SetCharCase(ecUpperCase);
    Start("");
    Type("axc");
    EXPECT_EQ(Text(), "BC");
}

TEST_F(EditInputTest, AutoSelectSelectsEverythingOnFocus)
{
    edit_->SetBoolean(4, true);
    edit_->SetText("hello");
    Focus();
    EXPECT_EQ(edit_->SelStart(), 1);
    EXPECT_EQ(edit_->SelLength(), 5);
    EXPECT_FALSE(edit_->SelectionHidden());
    // Leaving hides it (HideSelection).
    Focus(NewEdit(10, 100));
    EXPECT_TRUE(edit_->SelectionHidden());
}

TEST_F(EditInputTest, TheInsertKeySwitchesEveryEditToOverwrite)
{
    auto* other = NewEdit(10, 100);
    Start("abc");
    Key(VK_INSERT);
    Focus(other);
    other->SetText("xyz");
    Key(VK_HOME);
    Type("Q");
    EXPECT_EQ(other->Text().str(), "Qyz");
}

}

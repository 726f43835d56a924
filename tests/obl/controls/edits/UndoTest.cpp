// Undo and redo: every record holds what a change really removed and inserted, so undoing
// everything gives back the original text and redoing everything the final one, whatever
// the line-break rule, overwrite typing or the length limit did to the change.
#include "EngineFixture.h"

#include <random>

namespace {

class UndoTest : public EngineFixture {};

TEST_F(UndoTest, AFreshControlCannotUndo)
{
    TEngineEdit* edit = NewEdit("abc");
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_FALSE(edit->CanRedo());
    edit->Undo();
    edit->Redo();
    EXPECT_EQ(edit->Str(), "abc");
}

TEST_F(UndoTest, TwoTypedThenUndoTwiceAndRedoOnce)
{
    TEngineEdit* edit = NewEdit();
    edit->Type("ab");
    edit->Undo();
    edit->Undo();
    EXPECT_EQ(edit->Str(), "");
    EXPECT_FALSE(edit->CanUndo());
    edit->Redo();
    EXPECT_EQ(edit->Str(), "a");
    EXPECT_TRUE(edit->CanRedo());
    // The redone text is selected.
    EXPECT_EQ(edit->SelStart(), 1);
    EXPECT_EQ(edit->SelLength(), 1);
    // A new edit drops what could be redone.
    edit->SetCursorPos(2);
    edit->Type("x");
    EXPECT_FALSE(edit->CanRedo());
    edit->Redo();
    EXPECT_EQ(edit->Str(), "ax");
}

TEST_F(UndoTest, UndoShowsTheOldSelectionAgain)
{
    TEngineEdit* edit = NewEdit("abcdef");
    edit->Select(2, 3);
    edit->Type("Z");
    edit->Undo();
    EXPECT_EQ(edit->Str(), "abcdef");
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 3);
}

// Each change below removes or inserts something other than the selection and text it was
// given; its undo must put back exactly what was there.
struct ChangeCase {
    const char* name;
    std::string text;
    bool overwrite;
    std::function<void(TEngineEdit&)> change;
    std::string changed;
};

std::ostream& operator<<(std::ostream& os, const ChangeCase& c) { return os << c.name; }

class UndoExactTest : public EngineFixture, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(UndoExactTest, UndoPutsBackWhatTheChangeReallyDid)
{
    const ChangeCase& c = GetParam();
    TEngineEdit* edit = NewEdit(c.text);
    if (c.overwrite) Overwrite();
    c.change(*edit);
    ASSERT_EQ(edit->Str(), c.changed);
    while (edit->CanUndo()) edit->Undo();
    EXPECT_EQ(edit->Str(), c.text);
    while (edit->CanRedo()) edit->Redo();
    EXPECT_EQ(edit->Str(), c.changed);
}

const ChangeCase kChanges[] = {
    {"SelectionWidenedToTheLf", "ab\r\ncd", false, [](TEngineEdit& e) { e.Select(2, 2); e.ClearSelection(); },
     "acd"},
    {"SelectionWidenedToTheCr", "ab\r\ncd", false, [](TEngineEdit& e) { e.Select(4, 1); e.SetSelText("X"); },
     "abXcd"},
    {"InsertMovedBeforeTheCr", "ab\r\ncd", false, [](TEngineEdit& e) { e.Insert(4, "X"); }, "abX\r\ncd"},
    {"OverwrittenCharacter", "abcd", true, [](TEngineEdit& e) { e.SetCursorPos(2); e.Type("XY"); }, "aXYd"},
    {"OverwrittenLineBreak", "ab\r\ncd", true, [](TEngineEdit& e) { e.SetCursorPos(3); e.Type("X"); }, "abXcd"},
    {"RefusedByMaxLength", "abcde", false,
     [](TEngineEdit& e) { e.SetMaxLength(5); e.Select(2, 1); e.SetSelText("1234"); }, "acde"},
    // Undo puts back a text the limit would refuse now.
    {"LimitLoweredAfterwards", "abcdef", false,
     [](TEngineEdit& e) { e.Select(1, 3); e.ClearSelection(); e.SetMaxLength(2); }, "def"},
};

INSTANTIATE_TEST_SUITE_P(Engine, UndoExactTest, ::testing::ValuesIn(kChanges),
                         [](const ::testing::TestParamInfo<ChangeCase>& info) { return info.param.name; });

// A descendant that rewrites what is inserted.
class TDoublingEdit : public TEngineEdit {
    VENDARO_CLASS(TDoublingEdit, TEngineEdit)
public:
    explicit TDoublingEdit(TComponent* owner) : TEngineEdit(owner) {}

protected:
    void HandleInsertText(int, AnsiString& S) override { S = S + S; }
};

TEST_F(UndoTest, UndoRemovesWhatTheDescendantInserted)
{
    auto* edit = Add<TDoublingEdit>(10, 40);
    edit->Type("ab");
    ASSERT_EQ(edit->Str(), "aabb");
    edit->Undo();
    EXPECT_EQ(edit->Str(), "aa");
    edit->Undo();
    EXPECT_EQ(edit->Str(), "");
}

TEST_F(UndoTest, SetTextDropsTheHistory)
{
    TEngineEdit* edit = NewEdit();
    edit->Type("ab");
    edit->Undo();
    edit->SetText("xyz");
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_FALSE(edit->CanRedo());
    edit->Undo();
    edit->Redo();
    EXPECT_EQ(edit->Str(), "xyz");
}

TEST_F(UndoTest, ClearUndoLeavesNothingToUndoOrRedo)
{
    TEngineEdit* edit = NewEdit();
    edit->Type("abc");
    edit->Undo();
    edit->ClearUndo();
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_FALSE(edit->CanRedo());
    edit->Undo();
    EXPECT_EQ(edit->Str(), "ab");
}

TEST_F(UndoTest, EmptyingTheUndoStackKeepsRedo)
{
    TEngineEdit* edit = NewEdit();
    edit->Type("ab");
    edit->Undo();
    edit->EmptyUndoStack();
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_TRUE(edit->CanRedo());
    edit->Redo();
    EXPECT_EQ(edit->Str(), "ab");
}

TEST_F(UndoTest, AReadOnlyEditKeepsItsHistory)
{
    TEngineEdit* edit = NewEdit();
    edit->Type("ab");
    edit->SetReadOnly(true);
    edit->Undo();
    EXPECT_EQ(edit->Str(), "ab");
    EXPECT_TRUE(edit->CanUndo());
    edit->SetReadOnly(false);
    edit->Undo();
    EXPECT_EQ(edit->Str(), "a");
    edit->SetReadOnly(true);
    edit->Redo();
    EXPECT_TRUE(edit->CanRedo());
    edit->SetReadOnly(false);
    edit->Redo();
    EXPECT_EQ(edit->Str(), "ab");
}

// Raises from OnChange while armed.
class TThrowingHandler : public TObject {
    VENDARO_CLASS(TThrowingHandler, TObject)
public:
    void Change(TObject*)
    {
        if (armed) throw Exception("handler failed");
    }
    bool armed = false;
};

TEST_F(UndoTest, AnUndoThatRaisesLeavesNoReplayFlagSet)
{
    TEngineEdit* edit = NewEdit();
    edit->Type("ab");
    TThrowingHandler handler;
    edit->SetOnChange(TNotifyEvent(&handler, &TThrowingHandler::Change));
    handler.armed = true;
    EXPECT_THROW(edit->Undo(), Exception);
    EXPECT_THROW(edit->Redo(), Exception);
    handler.armed = false;
    ASSERT_EQ(edit->Str(), "ab");
    // A later edit is an ordinary one: it goes on the undo stack and drops the redo stack.
    edit->Type("c");
    EXPECT_FALSE(edit->CanRedo());
    edit->Undo();
    EXPECT_EQ(edit->Str(), "ab");
    edit->Undo();
    edit->Undo();
    EXPECT_EQ(edit->Str(), "");
}

// Random edits of every kind, in insert and overwrite mode, with line breaks and limits;
// then undoing everything gives the original text back and redoing everything the final one.
class UndoPropertyTest : public EngineFixture, public ::testing::WithParamInterface<unsigned> {};

TEST_P(UndoPropertyTest, FullUndoAndFullRedoRestoreBothEnds)
{
    std::mt19937 random(GetParam());
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto piece = [&] {
        static const char* const pieces[] = {"a", "b", " ", "\r\n", "\r", "\n", "xy", "Q\r\nR"};
        std::string s;
        for (int n = pick(0, 3); n > 0; --n) s += pieces[pick(0, 7)];
        return AnsiString(s.c_str(), static_cast<int>(s.size()));
    };
    const AnsiString original = piece() + piece() + piece();
    TEngineEdit* edit = NewEdit(original.str());
    for (int step = 0, steps = pick(1, 40); step < steps; ++step) {
        const int length = edit->GetLength();
        SetMode(pick(0, 3) == 0 ? TOBLEditModes{} : TOBLEditModes{emInsert});
        edit->SetMaxLength(pick(0, 4) == 0 ? length + pick(-2, 2) : 0);
        switch (pick(0, 6)) {
        case 0: edit->SetCursorPos(pick(1, length + 1)); edit->Type(piece().str()); break;
        case 1: edit->Insert(pick(1, length + 1), piece()); break;
        case 2: edit->Select(pick(1, length + 1), pick(0, 4)); edit->ClearSelection(); break;
        case 3: edit->Select(pick(1, length + 1), pick(0, 4)); edit->SetSelText(piece()); break;
        case 4: edit->Upper(pick(1, length + 1), pick(0, 3)); break;
        case 5: edit->Undo(); break;
        case 6: edit->Redo(); break;
        }
        ASSERT_LE(edit->SelStart() + edit->SelLength(), edit->GetLength() + 1);
    }
    // A last edit that always changes the text leaves nothing to redo before the checks.
    edit->SetMaxLength(0);
    SetMode(TOBLEditModes{emInsert});
    edit->Insert(pick(1, edit->GetLength() + 1), "Z");
    const AnsiString final = edit->Text();
    for (int guard = 0; edit->CanUndo() && guard < 1000; ++guard) edit->Undo();
    EXPECT_FALSE(edit->CanUndo());
    EXPECT_EQ(edit->Str(), original.str());
    for (int guard = 0; edit->CanRedo() && guard < 1000; ++guard) edit->Redo();
    EXPECT_FALSE(edit->CanRedo());
    EXPECT_EQ(edit->Str(), final.str());
}

INSTANTIATE_TEST_SUITE_P(Engine, UndoPropertyTest, ::testing::Range(1u, 301u));

} // namespace

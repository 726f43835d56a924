// The engine's edit operations, each with the text, selection and cursor it leaves: line
// breaks kept whole, overwrite only for typing, the length limit, the word and paragraph
// moves and the clamped positions.
#include "EngineFixture.h"

#include <functional>

namespace {

struct OperationCase {
    const char* name;
    std::string text;
    bool overwrite;
    std::function<void(TEngineEdit&)> act;
    std::string expected;
    int selStart, selLength, cursor;
};

std::ostream& operator<<(std::ostream& os, const OperationCase& c) { return os << c.name; }

class EditOperationsTest : public EngineFixture, public ::testing::WithParamInterface<OperationCase> {};

TEST_P(EditOperationsTest, LeavesTextSelectionAndCursor)
{
    const OperationCase& c = GetParam();
    TEngineEdit* edit = NewEdit(c.text);
    if (c.overwrite) Overwrite();
    c.act(*edit);
    EXPECT_EQ(edit->Str(), c.expected);
    EXPECT_EQ(edit->SelStart(), c.selStart);
    EXPECT_EQ(edit->SelLength(), c.selLength);
    EXPECT_EQ(edit->CursorPos(), c.cursor);
}

using E = TEngineEdit;

const OperationCase kCases[] = {
    {"InsertAtPosition", "abcd", false, [](E& e) { e.Insert(3, "XY"); }, "abXYcd", 5, 0, 5},
    {"TypingReplacesTheSelection", "abcdef", false, [](E& e) { e.Select(2, 3); e.Type("Z"); }, "aZef", 3, 0, 3},
    {"SelectionEndingOnCrTakesItsLf", "ab\r\ncd", false, [](E& e) { e.Select(2, 2); e.ClearSelection(); }, "acd",
     2, 0, 2},
    {"SelectionStartingOnLfTakesItsCr", "ab\r\ncd", false, [](E& e) { e.Select(4, 2); e.ClearSelection(); },
     "abd", 3, 0, 3},
    {"InsertBetweenCrAndLfGoesBeforeThePair", "ab\r\ncd", false, [](E& e) { e.Insert(4, "X"); }, "abX\r\ncd", 4,
     0, 4},
    {"LoneLfAtTheStartIsNoPair", "\ncd", false, [](E& e) { e.Insert(1, "X"); }, "X\ncd", 2, 0, 2},
    {"LoneCrTakesNothingMore", "ab\rcd", false, [](E& e) { e.Select(2, 2); e.ClearSelection(); }, "acd", 2, 0, 2},
    {"LoneLfIsRemovedAlone", "ab\ncd", false, [](E& e) { e.Select(3, 1); e.ClearSelection(); }, "abcd",
     3, 0, 3},
    {"OverwriteTypingReplacesOneCharacter", "abcd", true, [](E& e) { e.SetCursorPos(2); e.Type("X"); }, "aXcd", 3,
     0, 3},
    {"OverwriteTypingAtCrReplacesThePair", "ab\r\ncd", true, [](E& e) { e.SetCursorPos(3); e.Type("X"); }, "abXcd",
     4, 0, 4},
    {"OverwriteTypingAtTheEndAppends", "ab", true, [](E& e) { e.SetCursorPos(3); e.Type("X"); }, "abX", 4, 0, 4},
    {"OverwriteLeavesInsertAlone", "abcd", true, [](E& e) { e.Insert(2, "X"); }, "aXbcd", 3, 0, 3},
    {"OverwriteLeavesAnEmptyClearAlone", "abcd", true, [](E& e) { e.SetCursorPos(2); e.ClearSelection(); },
     "abcd", 2, 0, 2},
    {"MaxLengthAllowsReplacingAFullText", "abcde", false,
     [](E& e) { e.SetMaxLength(5); e.SelectAll(); e.Type("xyz"); }, "xyz", 4, 0, 4},
    {"MaxLengthRefusesTypingAtTheEnd", "abcde", false,
     [](E& e) { e.SetMaxLength(5); e.SetCursorPos(6); e.Type("x"); }, "abcde", 6, 0, 6},
    {"MaxLengthRemovesTheSelectionAndInsertsNothing", "abcde", false,
     [](E& e) { e.SetMaxLength(5); e.Select(2, 1); e.SetSelText("1234"); }, "acde", 2, 0, 2},
    {"NegativeMaxLengthIsNoLimit", "abcde", false,
     [](E& e) { e.SetMaxLength(-1); e.SetCursorPos(6); e.Type("xy"); }, "abcdexy", 8, 0, 8},
    {"ReplacePutsTheSelectionBack", "hello world", false,
     [](E& e) { e.Select(1, 5); e.Replace(7, 5, "there"); }, "hello there", 1, 5, 12},
    {"UpperCasesARange", "abc def", false, [](E& e) { e.Upper(5, 3); }, "abc DEF", 1, 0, 8},
    {"LowerCasesARange", "ABC", false, [](E& e) { e.Lower(1, 2); }, "abC", 1, 0, 3},
    {"CutReturnsWhatItRemoves", "abcdef", false,
     [](E& e) {
         AnsiString cut;
         e.Cut(2, 3, cut);
         EXPECT_EQ(cut.str(), "bcd");
     },
     "aef", 2, 0, 2},
    {"ClearEmptiesTheText", "abc", false, [](E& e) { e.Clear(); }, "", 1, 0, 1},
    {"AddAppendsWithTheCursorAtTheStart", "ab", false, [](E& e) { e.Add("cd"); }, "abcd", 1, 0, 1},
    {"SelectCurrentWord", "foo bar baz", false, [](E& e) { e.SetCursorPos(6); e.SelectCurrentWord(); },
     "foo bar baz", 5, 3, 6},
    {"SelectCurrentWordOnADelimiterTakesTheWordBefore", "foo bar", false,
     [](E& e) { e.SetCursorPos(4); e.SelectCurrentWord(); }, "foo bar", 1, 3, 4},
    {"SelectCurrentWordLeavesALeadingDelimiterOut", " ab", false,
     [](E& e) { e.SetCursorPos(2); e.SelectCurrentWord(); }, " ab", 2, 2, 2},
    {"SelectRightWordToTheEnd", "foo bar", false, [](E& e) { e.SetCursorPos(5); e.SelectRightWord(); },
     "foo bar", 5, 3, 5},
    {"SelectRightWordStopsBeforeADelimiter", "foo bar", false, [](E& e) { e.SelectRightWord(); }, "foo bar", 1, 3,
     1},
    {"SelectLeftWord", "foo bar", false, [](E& e) { e.SetCursorPos(7); e.SelectLeftWord(); }, "foo bar", 5, 2, 7},
    {"GotoNextWordStopsAtTheDelimiter", "foo bar", false, [](E& e) { e.GotoNextWord(); }, "foo bar", 4, 0, 4},
    {"GotoNextWordFromADelimiterToTheEnd", "foo bar", false,
     [](E& e) { e.SetCursorPos(4); e.GotoNextWord(); }, "foo bar", 8, 0, 8},
    {"GotoPrevWord", "foo bar", false, [](E& e) { e.SetCursorPos(8); e.GotoPrevWord(); }, "foo bar", 4, 0, 4},
    {"GotoParaStartStopsAfterTheLf", "ab\r\ncd", false, [](E& e) { e.SetCursorPos(6); e.GotoParaStart(); },
     "ab\r\ncd", 5, 0, 5},
    {"GotoParaEndStopsAtTheCr", "ab\r\ncd", false, [](E& e) { e.GotoParaEnd(); }, "ab\r\ncd", 3, 0, 3},
    {"ShiftExtendsTheSelectionOfAMove", "ab\r\ncd", false,
     [](E& e) {
         OBLApplication->SetEditMode(TOBLEditModes{emInsert, emShift});
         e.GotoParaEnd();
     },
     "ab\r\ncd", 1, 2, 3},
    {"SelStartAndSelLengthStayInsideTheText", "abc", false,
     [](E& e) {
         e.SetSelStart(0);
         e.SetSelLength(10);
     },
     "abc", 1, 3, 1},
    {"SelStartPastTheEndStopsAfterTheLastCharacter", "abc", false, [](E& e) { e.Select(99, 5); }, "abc", 4, 0, 1},
    {"NegativeSelLengthIsNoSelection", "abc", false, [](E& e) { e.Select(2, -4); }, "abc", 2, 0, 1},
    {"CursorPosIsClamped", "abc", false, [](E& e) { e.SetCursorPos(99); }, "abc", 4, 0, 4},
    {"CursorPosBelowOneIsOne", "abc", false, [](E& e) { e.SetCursorPos(3); e.SetCursorPos(-2); }, "abc", 1, 0, 1},
};

INSTANTIATE_TEST_SUITE_P(Engine, EditOperationsTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<OperationCase>& info) { return info.param.name; });

// With Shift held the moves extend the selection by the selection rule.
struct RuleCase {
    const char* name;
    std::vector<int> moves; // cursor positions, the first one without Shift
    int selStart, selLength;
};

class SelectionRuleTest : public EngineFixture, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(SelectionRuleTest, ShiftMovesExtendTheSelection)
{
    const RuleCase& c = GetParam();
    TEngineEdit* edit = NewEdit("0123456789ABC");
    edit->SetCursorPos(c.moves.front());
    SetMode(TOBLEditModes{emInsert, emShift});
    // A negative entry puts SelStart there instead of moving the cursor.
    for (std::size_t i = 1; i < c.moves.size(); ++i)
        c.moves[i] < 0 ? edit->SetSelStart(-c.moves[i]) : edit->SetCursorPos(c.moves[i]);
    EXPECT_EQ(edit->SelStart(), c.selStart);
    EXPECT_EQ(edit->SelLength(), c.selLength);
}

const RuleCase kRules[] = {
    {"RightFromFiveToEight", {5, 8}, 5, 3},
    {"BackInsideTheSelection", {5, 8, 6}, 5, 1},
    {"LeftOfTheAnchor", {5, 2}, 2, 3},
    {"AcrossTheAnchorToTheRight", {5, 2, 9}, 5, 4},
    {"AcrossTheAnchorToTheLeft", {5, 8, 3}, 3, 2},
    {"FurtherLeft", {5, 3, 1}, 1, 4},
    // An anchor past the end (SelStart put there) extends no further than the text.
    {"AnchorPastTheEnd", {1, -14, 4}, 14, 0},
    {"InsideFromTheLeftEdge", {5, 2, 4}, 4, 1},
};

INSTANTIATE_TEST_SUITE_P(Engine, SelectionRuleTest, ::testing::ValuesIn(kRules),
                         [](const ::testing::TestParamInfo<RuleCase>& info) { return info.param.name; });

TEST_F(EngineFixture, MovingWithoutShiftCollapsesTheSelection)
{
    TEngineEdit* edit = NewEdit("abcdef");
    edit->Select(2, 3);
    edit->SetCursorPos(5);
    EXPECT_EQ(edit->SelStart(), 5);
    EXPECT_EQ(edit->SelLength(), 0);
}

TEST_F(EngineFixture, OemConvertReplacesWhatTheOemPageLacks)
{
    TEngineEdit* edit = NewEdit();
    edit->SetBoolean(5, true);
    edit->Type("a\xE9\x8A");
    // e-acute is in the OEM page; S-caron is not and comes back as another character.
    EXPECT_EQ(edit->CharAt(1), 'a');
    EXPECT_EQ(edit->CharAt(2), '\xE9');
    EXPECT_NE(edit->CharAt(3), '\x8A');
    EXPECT_EQ(edit->GetLength(), 3);
}

} // namespace

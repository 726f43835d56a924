// Search and replace over the engine's text, up and down, with the wrap question and the
// replace confirmation answered by script.
#include "EngineFixture.h"

#include "platform/classlib/Dialogs.h"

#include <deque>

namespace {

class SearchTest : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        UserSetMessageBoxResponder([this](const MessageBoxRequest& request) {
            questions_.push_back(request.caption.str() + ": " + request.text.str());
            EXPECT_EQ(request.type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
            return Next(wrapAnswers_, IDNO);
        });
        SetMessageResponder(
            [this](const AnsiString& text, const AnsiString& caption, const std::vector<int>& results) {
                std::string asked = caption.str() + ": " + text.str() + " [";
                for (int r : results) asked += std::to_string(r) + " ";
                questions_.push_back(asked + "]");
                return Next(replaceAnswers_, mrCancel);
            });
    }
    void TearDown() override
    {
        SetMessageResponder(nullptr);
        EngineFixture::TearDown();
    }
    static int Next(std::deque<int>& answers, int otherwise)
    {
        if (answers.empty()) return otherwise;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ExpectSelection(TEngineEdit* edit, int start, int length, int cursor)
    {
        EXPECT_EQ(edit->SelStart(), start);
        EXPECT_EQ(edit->SelLength(), length);
        EXPECT_EQ(edit->CursorPos(), cursor);
    }

    std::deque<int> wrapAnswers_, replaceAnswers_;
    std::vector<std::string> questions_;
};

const std::string kAtBottom = "Search: At bottom ... restart from top?";
const std::string kAtTop = "Search: At top ... restart from bottom?";
// The confirmation's buttons as modal results: Yes, No, Cancel and, the first time, All.
const std::string kAskAll = "Confirm: Replace? [6 7 2 8 ]";
const std::string kAskThree = "Confirm: Replace? [6 7 2 ]";

TEST_F(SearchTest, DownFromTheTopFindsTheLastCharacterBeforeAsking)
{
    TEngineEdit* edit = NewEdit("abc");
    EXPECT_TRUE(edit->Search("c", stTop, true, false, sdDown));
    ExpectSelection(edit, 3, 1, 4);
    EXPECT_TRUE(questions_.empty());
}

TEST_F(SearchTest, UpFromTheBottomLeavesTheCursorBeforeTheMatch)
{
    TEngineEdit* edit = NewEdit("xab ab");
    EXPECT_TRUE(edit->Search("ab", stBottom, true, false, sdUp));
    ExpectSelection(edit, 5, 2, 4);
    // From the cursor the next one up is the first.
    EXPECT_TRUE(edit->Search("ab", stCursor, true, false, sdUp));
    ExpectSelection(edit, 2, 2, 1);
    EXPECT_TRUE(questions_.empty());
}

TEST_F(SearchTest, DownFromTheCursorGoesOnPastTheMatch)
{
    TEngineEdit* edit = NewEdit("ab ab ab");
    ASSERT_TRUE(edit->Search("ab", stTop, true, false, sdDown));
    EXPECT_TRUE(edit->Search("ab", stCursor, true, false, sdDown));
    ExpectSelection(edit, 4, 2, 6);
}

TEST_F(SearchTest, WithoutCaseSensitivityLettersOfEitherCaseMatch)
{
    TEngineEdit* edit = NewEdit("one TWO three");
    EXPECT_TRUE(edit->Search("Two", stTop, false, false, sdDown));
    ExpectSelection(edit, 5, 3, 8);
    EXPECT_FALSE(edit->Search("Two", stTop, true, false, sdDown));
    EXPECT_EQ(questions_, std::vector<std::string>{kAtBottom});
}

struct WordCase {
    const char* name;
    std::string text;
    int start; // 0: no whole-word match
};

std::ostream& operator<<(std::ostream& os, const WordCase& c) { return os << c.name; }

class WholeWordTest : public SearchTest, public ::testing::WithParamInterface<WordCase> {};

TEST_P(WholeWordTest, AWholeWordStandsBetweenDelimitersOrTheEnds)
{
    const WordCase& c = GetParam();
    TEngineEdit* edit = NewEdit(c.text);
    EXPECT_EQ(edit->Search("cat", stTop, true, true, sdDown), c.start != 0);
    EXPECT_EQ(edit->SelStart(), c.start != 0 ? c.start : 1);
}

const WordCase kWords[] = {
    {"BetweenSpaces", "a cat b", 3},    {"AtTheStart", "cat b", 1},       {"AtTheEnd", "a cat", 3},
    {"AllOfTheText", "cat", 1},         {"LetterBefore", "a scat b", 0},  {"LetterAfter", "a cats b", 0},
    {"SecondOneIsWhole", "cats cat", 6}, {"PunctuationIsNoDelimiter", "cat.", 0},
};

INSTANTIATE_TEST_SUITE_P(Engine, WholeWordTest, ::testing::ValuesIn(kWords),
                         [](const ::testing::TestParamInfo<WordCase>& info) { return info.param.name; });

TEST_F(SearchTest, NoToTheWrapQuestionChangesNothing)
{
    TEngineEdit* edit = NewEdit("abc abc");
    edit->SetCursorPos(6);
    edit->Select(2, 2);
    EXPECT_FALSE(edit->Search("ab", stCursor, true, false, sdDown));
    EXPECT_EQ(questions_, std::vector<std::string>{kAtBottom});
    ExpectSelection(edit, 2, 2, 6);
}

TEST_F(SearchTest, YesToTheWrapQuestionSearchesFromTheOtherEnd)
{
    TEngineEdit* edit = NewEdit("ab cd");
    edit->SetCursorPos(3);
    wrapAnswers_ = {IDYES};
    EXPECT_TRUE(edit->Search("ab", stCursor, true, false, sdDown));
    ExpectSelection(edit, 1, 2, 3);
    wrapAnswers_ = {IDYES};
    EXPECT_TRUE(edit->Search("cd", stTop, true, false, sdUp));
    ExpectSelection(edit, 4, 2, 3);
    EXPECT_EQ(questions_, (std::vector<std::string>{kAtBottom, kAtTop}));
}

TEST_F(SearchTest, NoMatchAnywhereAsksAtEachEndUntilNo)
{
    TEngineEdit* edit = NewEdit("abc");
    wrapAnswers_ = {IDYES, IDYES};
    EXPECT_FALSE(edit->Search("x", stTop, true, false, sdDown));
    EXPECT_EQ(questions_, (std::vector<std::string>{kAtBottom, kAtBottom, kAtBottom}));
}

TEST_F(SearchTest, FromACursorAfterTheLastCharacter)
{
    TEngineEdit* edit = NewEdit("abc");
    edit->SetCursorPos(4);
    // Downwards nothing is left before the end: the question comes at once.
    EXPECT_FALSE(edit->Search("c", stCursor, true, false, sdDown));
    EXPECT_EQ(questions_, std::vector<std::string>{kAtBottom});
    // Upwards the last character is the first one examined.
    EXPECT_TRUE(edit->Search("c", stCursor, true, false, sdUp));
    ExpectSelection(edit, 3, 1, 2);
}

TEST_F(SearchTest, UpFromTheCursorPastAMatchAtTheStartAsksTheWrapQuestion)
{
    TEngineEdit* edit = NewEdit("a a a");
    edit->SetCursorPos(6);
    wrapAnswers_ = {IDYES};
    // Searched until a search fails, as a caller loops; bounded, so a search that keeps
    // finding the same match fails the test instead of running for ever.
    std::vector<int> found;
    while (found.size() < 10 && edit->Search("a", stCursor, true, false, sdUp)) found.push_back(edit->SelStart());
    EXPECT_EQ(found, (std::vector<int>{5, 3, 1, 5, 3, 1}));
    EXPECT_EQ(questions_, (std::vector<std::string>{kAtTop, kAtTop}));
    ExpectSelection(edit, 1, 1, 1);
}

TEST_F(SearchTest, AnEmptySearchTextFindsNothingWithoutAsking)
{
    TEngineEdit* edit = NewEdit("abc");
    wrapAnswers_ = {IDYES, IDYES, IDYES};
    EXPECT_FALSE(edit->Search("", stTop, true, false, sdDown));
    EXPECT_FALSE(edit->SearchAndReplace("", "x", stTop, true, false, sdUp, false, true));
    EXPECT_TRUE(questions_.empty());
    EXPECT_EQ(edit->Str(), "abc");
}

TEST_F(SearchTest, AnEmptyTextFindsNothing)
{
    TEngineEdit* edit = NewEdit();
    EXPECT_FALSE(edit->Search("a", stTop, true, false, sdDown));
    EXPECT_TRUE(questions_.empty());
}

TEST_F(SearchTest, ReplaceWithoutConfirmOrAllReplacesTheFirstMatchOnly)
{
    TEngineEdit* edit = NewEdit("a-a-a");
    EXPECT_TRUE(edit->SearchAndReplace("a", "bb", stTop, true, false, sdDown, false, false));
    EXPECT_EQ(edit->Str(), "bb-a-a");
    EXPECT_TRUE(questions_.empty());
}

struct ReplaceAllCase {
    const char* name;
    std::string text, search, replace;
    bool caseSensitive;
    TOBLSearchStart start;
    TOBLSearchDirection direction;
    std::string expected;
};

std::ostream& operator<<(std::ostream& os, const ReplaceAllCase& c) { return os << c.name; }

class ReplaceAllTest : public SearchTest, public ::testing::WithParamInterface<ReplaceAllCase> {};

// The run ends at the text's end with the wrap question, answered No.
TEST_P(ReplaceAllTest, ReplacesEveryMatchOnceAndEnds)
{
    const ReplaceAllCase& c = GetParam();
    TEngineEdit* edit = NewEdit(c.text);
    EXPECT_TRUE(edit->SearchAndReplace(c.search, c.replace, c.start, c.caseSensitive, false, c.direction, false,
                                       true));
    EXPECT_EQ(edit->Str(), c.expected);
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_EQ(questions_[0], c.direction == sdDown ? kAtBottom : kAtTop);
}

const ReplaceAllCase kReplaceAll[] = {
    {"Down", "a-a-a", "a", "x", true, stTop, sdDown, "x-x-x"},
    {"Up", "a-a-a", "a", "x", true, stBottom, sdUp, "x-x-x"},
    {"DownGrowing", "ab ab", "ab", "abab", true, stTop, sdDown, "abab abab"},
    {"UpGrowing", "ab ab", "ab", "abab", true, stBottom, sdUp, "abab abab"},
    {"UpWithTheSameLettersInAnotherCase", "aAa", "a", "A", false, stBottom, sdUp, "AAA"},
    {"UpShrinking", "xaax-aa", "aa", "", true, stBottom, sdUp, "xx-"},
};

INSTANTIATE_TEST_SUITE_P(Engine, ReplaceAllTest, ::testing::ValuesIn(kReplaceAll),
                         [](const ::testing::TestParamInfo<ReplaceAllCase>& info) { return info.param.name; });

TEST_F(SearchTest, ConfirmAsksForEachMatch)
{
    TEngineEdit* edit = NewEdit("a a a a");
    replaceAnswers_ = {mrYes, mrNo, mrYes, mrNo};
    EXPECT_TRUE(edit->SearchAndReplace("a", "b", stTop, true, false, sdDown, true, true));
    EXPECT_EQ(edit->Str(), "b a b a");
    EXPECT_EQ(questions_, (std::vector<std::string>{kAskThree, kAskThree, kAskThree, kAskThree, kAtBottom}));
}

TEST_F(SearchTest, ConfirmUpwardsAsksForEachMatch)
{
    TEngineEdit* edit = NewEdit("a a a");
    replaceAnswers_ = {mrYes, mrNo, mrYes};
    EXPECT_TRUE(edit->SearchAndReplace("a", "aa", stBottom, true, false, sdUp, true, true));
    EXPECT_EQ(edit->Str(), "aa a aa");
    EXPECT_EQ(questions_, (std::vector<std::string>{kAskThree, kAskThree, kAskThree, kAtTop}));
}

TEST_F(SearchTest, OneConfirmedReplacementEndsARunThatIsNotReplacingAll)
{
    TEngineEdit* edit = NewEdit("a a a");
    replaceAnswers_ = {mrNo};
    EXPECT_FALSE(edit->SearchAndReplace("a", "b", stTop, true, false, sdDown, true, false));
    EXPECT_EQ(edit->Str(), "a a a");
    replaceAnswers_ = {mrYes};
    EXPECT_TRUE(edit->SearchAndReplace("a", "b", stTop, true, false, sdDown, true, false));
    EXPECT_EQ(edit->Str(), "b a a");
    EXPECT_EQ(questions_, (std::vector<std::string>{kAskAll, kAskAll}));
}

TEST_F(SearchTest, AllReplacesThisAndEveryFollowingMatchWithoutAsking)
{
    TEngineEdit* edit = NewEdit("a a a");
    replaceAnswers_ = {mrAll};
    EXPECT_TRUE(edit->SearchAndReplace("a", "b", stTop, true, false, sdDown, true, false));
    EXPECT_EQ(edit->Str(), "b b b");
    EXPECT_EQ(questions_, (std::vector<std::string>{kAskAll, kAtBottom}));
}

TEST_F(SearchTest, CancelStopsAndAnswersFalse)
{
    TEngineEdit* edit = NewEdit("a a a");
    replaceAnswers_ = {mrYes, mrCancel};
    EXPECT_FALSE(edit->SearchAndReplace("a", "b", stTop, true, false, sdDown, true, true));
    EXPECT_EQ(edit->Str(), "b a a");
    EXPECT_EQ(questions_.size(), 2u);
}

TEST_F(SearchTest, ReplacingInAReadOnlyEditReportsNothingReplaced)
{
    TEngineEdit* edit = NewEdit("a a");
    edit->SetReadOnly(true);
    EXPECT_FALSE(edit->SearchAndReplace("a", "b", stTop, true, false, sdDown, false, true));
    EXPECT_EQ(edit->Str(), "a a");
}

} // namespace

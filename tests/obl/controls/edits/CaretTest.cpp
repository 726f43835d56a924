#include "obl/controls/edits/OBLCaret.h"

#include "platform/classlib/Forms.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Caret.h"
#include "platform/win/user/UserTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class TCaretHost : public TCustomControl {
public:
    explicit TCaretHost(TComponent* owner) : TCustomControl(owner) {}
    using TComponent::SetDesigning;
};

class CaretTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UserResetWindowSystem();
        FormsInitialization();
        form_ = new TForm(nullptr);
        form_->SetBounds(0, 0, 200, 100);
        a_ = Host(0);
        b_ = Host(100);
    }
    void TearDown() override
    {
        form_->Free();
        FormsFinalization();
        UserResetWindowSystem();
    }
    TCaretHost* Host(int left)
    {
        auto* host = new TCaretHost(form_);
        host->SetParent(form_);
        host->SetBounds(left, 0, 100, 100);
        return host;
    }
    static CaretState State()
    {
        CaretState s{};
        EXPECT_TRUE(UserGetCaretState(&s));
        return s;
    }
    // Focus moves to an edit: it builds and shows its caret.
    static void Focus(TOBLCaret& caret)
    {
        caret.BuildCaret();
        caret.Enable();
    }

    TForm* form_ = nullptr;
    TCaretHost* a_ = nullptr;
    TCaretHost* b_ = nullptr;
};

TEST_F(CaretTest, FreshCaretIsALineOfTheTextHeight)
{
    TOBLCaret caret(a_);
    EXPECT_EQ(caret.Width(), 2);
    EXPECT_EQ(caret.Height(), 10);
    EXPECT_EQ(caret.Style(), csDefault);
    EXPECT_EQ(caret.BlinkRate(), static_cast<int>(GetCaretBlinkTime()));
    caret.SetWord(4, 16);
    caret.Enable();
    const CaretState s = State();
    EXPECT_EQ(s.owner, a_->Handle());
    EXPECT_EQ(s.width, 1);
    EXPECT_EQ(s.height, 16);
    EXPECT_EQ(s.hideCount, 0);
    EXPECT_TRUE(caret.Built());
    EXPECT_TRUE(caret.Shown());
}

TEST_F(CaretTest, EachStyleBuildsItsShape)
{
    struct Case {
        TOBLCaretStyles style;
        int width, height;
    } cases[] = {{csDefault, 1, 14}, {csBlock, 6, 9}, {csUnder, 6, 1}, {csOver, 6, 1}, {csUnderBlock, 6, 9}};
    for (const Case& c : cases) {
        TOBLCaret caret(a_);
        caret.SetWord(0, 6);
        caret.SetWord(1, 9);
        caret.SetWord(4, 14);
        caret.SetStyle(c.style);
        caret.BuildCaret();
        const CaretState s = State();
        EXPECT_EQ(s.width, c.width) << static_cast<int>(c.style);
        EXPECT_EQ(s.height, c.height) << static_cast<int>(c.style);
        EXPECT_FALSE(s.fromBitmap);
    }
}

TEST_F(CaretTest, TiledBitmapCaretRepeatsThePattern)
{
    // A 4 x 4 pattern with a black pixel off the diagonal, so that tiling shows.
    TBitmap pattern;
    pattern.SetPixelFormat(pf24bit);
    pattern.SetSize(4, 4);
    pattern.Canvas()->Brush()->SetColor(clWhite);
    pattern.Canvas()->FillRect(Rect(0, 0, 4, 4));
    pattern.Canvas()->SetPixels(1, 2, clBlack);
    pattern.Canvas()->SetPixels(3, 0, clBlack);
    TOBLCaret caret(a_);
    caret.SetBitmap(&pattern);
    caret.SetStyle(csBitmap);
    caret.SetCaretBmpMode(cbTile);
    caret.SetWord(0, 8);
    caret.SetWord(1, 16);
    form_->Show();
    HWND window = a_->Handle();
    UserPumpMessages();
    HDC dc = GetDC(window);
    COLORREF before[16][8];
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            before[y][x] = GetPixel(dc, x, y);
    Focus(caret);
    const CaretState s = State();
    EXPECT_TRUE(s.fromBitmap);
    EXPECT_EQ(s.width, 8);
    EXPECT_EQ(s.height, 16);
    // The caret inverts with its image: white pixels of the pattern flip the window's.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool flipped = GetPixel(dc, x, y) != before[y][x];
            const bool white = pattern.Canvas()->Pixels(x % 4, y % 4) == clWhite;
            EXPECT_EQ(flipped, white) << x << "," << y;
        }
    ReleaseDC(window, dc);
}

TEST_F(CaretTest, EnableAtDesignTimeOrWhenNotAllowedDoesNothing)
{
    {
        TOBLCaret caret(a_);
        caret.SetAllowed(false);
        caret.Enable();
        EXPECT_FALSE(caret.Built());
    }
    a_->SetDesigning(true);
    TOBLCaret caret(a_);
    caret.Enable();
    EXPECT_FALSE(caret.Built());
    EXPECT_FALSE(caret.Shown());
    CaretState s{};
    EXPECT_FALSE(UserGetCaretState(&s));
}

TEST_F(CaretTest, AssignCopiesShapeAndRateOnly)
{
    TOBLCaret source(b_), caret(a_);
    source.SetStyle(csBlock);
    source.SetWord(0, 5);
    source.SetWord(1, 12);
    source.SetBlinkRate(300);
    source.SetWord(2, 7);
    caret.Assign(&source);
    EXPECT_EQ(caret.Style(), csBlock);
    EXPECT_EQ(caret.Width(), 5);
    EXPECT_EQ(caret.Height(), 12);
    EXPECT_EQ(caret.BlinkRate(), 300);
    EXPECT_EQ(caret.ImageIndex(), 0);
    caret.BuildCaret();
    EXPECT_EQ(State().width, 5);
    EXPECT_EQ(State().height, 12);
}

TEST_F(CaretTest, StoredPositionsAndWordIndexesOutsideTheTableDoNothing)
{
    TOBLCaret caret(a_);
    caret.SetPos(1, 1);
    caret.SetPos(0, -4);
    caret.SetPos(2, 9);
    EXPECT_EQ(caret.GetPos(0), -4);
    EXPECT_EQ(caret.GetPos(1), 1);
    EXPECT_EQ(caret.GetPos(2), 0);
    caret.SetWord(5, 3);
    caret.SetWord(0, -1);
    caret.SetWord(3, 4);
    EXPECT_EQ(caret.Width(), 2);
    EXPECT_EQ(caret.ListIndex(), 4);
}

TEST_F(CaretTest, DestroyingOneEditsCaretLeavesTheFocusedEditsCaret)
{
    auto first = std::make_unique<TOBLCaret>(a_);
    TOBLCaret second(b_);
    Focus(*first);
    Focus(second);  // the new caret replaces the first one's
    first->DestroyCaret();
    EXPECT_EQ(State().owner, b_->Handle());
    first.reset();  // freeing the other edit's caret object
    EXPECT_EQ(State().owner, b_->Handle());
    EXPECT_EQ(State().hideCount, 0);
    second.DestroyCaret();
    CaretState s{};
    EXPECT_FALSE(UserGetCaretState(&s));
}

TEST_F(CaretTest, ShowsAndHidesStayPairedAcrossTwoEdits)
{
    TOBLCaret first(a_), second(b_);
    // Each step, then who holds the caret and its hide count (0: shown).
    struct Step {
        const char* what;
        std::function<void()> act;
        TCaretHost* owner;
        int hideCount;
    } steps[] = {
        {"focus first", [&] { Focus(first); }, a_, 0},
        {"enable again", [&] { first.Enable(); }, a_, 0},
        {"disable", [&] { first.Disable(); }, a_, 1},
        {"disable again", [&] { first.Disable(); }, a_, 1},
        {"enable after two disables", [&] { first.Enable(); }, a_, 0},
        {"focus second", [&] { Focus(second); }, b_, 0},
        {"first disables", [&] { first.Disable(); }, b_, 0},
        {"first enables", [&] { first.Enable(); }, b_, 0},
        {"second draws", [&] { second.Disable(); }, b_, 1},
        {"second drawn", [&] { second.Enable(); }, b_, 0},
        {"focus first again", [&] { Focus(first); }, a_, 0},
        {"second enables", [&] { second.Enable(); }, a_, 0},
        {"first disables", [&] { first.Disable(); }, a_, 1},
    };
    for (const Step& step : steps) {
        step.act();
        const CaretState s = State();
        EXPECT_EQ(s.owner, step.owner->Handle()) << step.what;
        EXPECT_EQ(s.hideCount, step.hideCount) << step.what;
    }
}

TEST_F(CaretTest, TheSystemBlinkTimeIsLeftAsFound)
{
    const UINT system = GetCaretBlinkTime();
    {
        // A caret at the system's rate never touches the setting.
        TOBLCaret caret(a_);
        Focus(caret);
        caret.Disable();
        caret.DestroyCaret();
        EXPECT_EQ(GetCaretBlinkTime(), system);
    }
    TOBLCaret caret(a_), other(b_);
    caret.SetBlinkRate(250);
    other.SetBlinkRate(150);
    // The user changes the setting after the caret was made: that choice comes back.
    SetCaretBlinkTime(400);
    Focus(caret);
    EXPECT_EQ(GetCaretBlinkTime(), 250u);
    caret.Disable();
    EXPECT_EQ(GetCaretBlinkTime(), 400u);
    caret.Enable();
    EXPECT_EQ(GetCaretBlinkTime(), 250u);
    // The other edit takes the caret before this one gave it up.
    Focus(other);
    EXPECT_EQ(GetCaretBlinkTime(), 150u);
    caret.Disable();
    caret.DestroyCaret();
    EXPECT_EQ(GetCaretBlinkTime(), 150u);
    other.Disable();
    EXPECT_EQ(GetCaretBlinkTime(), 400u);
    other.Enable();
    EXPECT_EQ(GetCaretBlinkTime(), 150u);
    other.DestroyCaret();
    EXPECT_EQ(GetCaretBlinkTime(), 400u);
    SetCaretBlinkTime(system);
}

TEST_F(CaretTest, FreeingTheImageListClearsTheProperty)
{
    TOBLCaret caret(a_);
    auto* list = new TOBLBitmapList(nullptr);
    caret.SetImageList(list);
    EXPECT_EQ(caret.ImageList(), list);
    EXPECT_TRUE(caret.HasControl());
    list->Free();
    EXPECT_EQ(caret.ImageList(), nullptr);
    caret.GetIMLChange(nullptr);  // nothing to read from
    EXPECT_TRUE(caret.Bitmap()->Empty());
    // A caret freed first leaves the list nothing to notify.
    list = new TOBLBitmapList(nullptr);
    auto early = std::make_unique<TOBLCaret>(a_);
    early->SetImageList(list);
    early.reset();
    list->Free();
}

TEST_F(CaretTest, HidingAndDestroyingDoNotCreateTheWindow)
{
    {
        TOBLCaret caret(a_);
        caret.Disable();
        caret.DestroyCaret();
    }
    EXPECT_FALSE(a_->HandleAllocated());
    EXPECT_FALSE(form_->HandleAllocated());
    TOBLCaret orphan(nullptr);
    orphan.BuildCaret();
    orphan.Enable();
    orphan.DestroyCaret();
    EXPECT_FALSE(orphan.Built());
}

}  // namespace

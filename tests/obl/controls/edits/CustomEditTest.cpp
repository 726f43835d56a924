// The single-line edit: the line and its selection where the alignment and the scroll put
// them, the caret kept inside the text rectangle while typing, mouse points to positions,
// the password character, the custom buttons, automatic height and the bevel's layout.
#include "CustomEditFixture.h"

#include "platform/win/gdi/Gdi.h"

#include <functional>
#include <vector>

namespace {

class CustomEditTest : public CustomEditFixture {
protected:
    // Where the edit's line begins before scrolling, for its alignment.
    static int BaseX(TOBLCustomEdit* e)
    {
        const TRect r = e->TextRect();
        const int w = WidthOf(e, e->DisplayText().c_str());
        switch (e->Alignment()) {
        case taRightJustify: return r.right - w;
        case taCenter: return r.left + (r.right - r.left - w) / 2;
        default: return r.left;
        }
    }
    // The client X of the gap before display position P.
    static int XOf(TOBLCustomEdit* e, int P)
    {
        return BaseX(e) - e->ScrollOffset() + WidthOf(e, ::Copy(e->DisplayText(), 1, P - 1).c_str());
    }
};

struct LineCase {
    const char* name;
    TAlignment alignment;
    const char* typed; // typed, then the last three characters selected with Shift+Left
    const char* set;   // or set, with characters 3..5 selected
    bool scrolled;
};

TEST_F(CustomEditTest, TheSelectionIsDrawnWhereTheLineLies)
{
    const std::vector<LineCase> cases = {
        {"left", taLeftJustify, nullptr, "Vendaro", false},
        {"right", taRightJustify, nullptr, "Vendaro", false},
        {"centre", taCenter, nullptr, "Vendaro", false},
        {"left, scrolled", taLeftJustify, "the quick brown fox jumps over", nullptr, true},
        {"centre, scrolled", taCenter, "the quick brown fox jumps over", nullptr, true},
    };
    int top = 4;
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLCustomEdit* e = NewEdit(10, top);
        top += 24;
        e->SetAlignment(c.alignment);
        Focus(e);
        if (c.typed) {
            Type(c.typed);
            for (int i = 0; i < 3; ++i) Key(VK_LEFT, true);
        } else {
            e->SetText(c.set);
            e->SetSelStart(3);
            e->SetSelLength(3);
        }
        ASSERT_EQ(e->SelLength(), 3);
        EXPECT_EQ(e->ScrollOffset() > 0, c.scrolled);
        // The caret stands at the gap before the cursor, inside the text rectangle.
        const int caret = CaretPos().x;
        EXPECT_EQ(caret, XOf(e, e->CursorPos()));
        EXPECT_GE(caret, e->TextRect().left);
        EXPECT_LE(caret, e->TextRect().right);
        // The caret inverts what lies under it: the pixels are read without it.
        e->Caret()->Disable();
        const int x1 = XOf(e, e->SelStart());
        const int x2 = std::min(XOf(e, e->SelStart() + 3), static_cast<int>(e->TextRect().right));
        EXPECT_EQ(HighlightSpan(e, e->TextRect().top), std::make_pair(x1, x2));
        // The selected characters are written in the highlight text colour over it.
        bool yellow = false;
        for (int y = e->TextRect().top; y < e->TextRect().bottom; ++y)
            for (int x = x1; x < x2; ++x) yellow = yellow || PixelOf(e, x, y) == Rgb(clYellow);
        EXPECT_TRUE(yellow);
    }
}

TEST_F(CustomEditTest, TypingPastTheRightEdgeScrollsAndHomeScrollsBack)
{
    TOBLCustomEdit* e = NewEdit(10, 10);
    Focus(e);
    const std::string text = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string typed;
    for (char ch : text) {
        typed += ch;
        Type(std::string(1, ch).c_str());
        SCOPED_TRACE(typed);
        const int x = CaretPos().x;
        EXPECT_EQ(x, e->TextRect().left + WidthOf(e, typed.c_str()) - e->ScrollOffset());
        EXPECT_GE(x, e->TextRect().left);
        // At most in the gap after the last character, which may be the rectangle's edge.
        EXPECT_LE(x, e->TextRect().right + 1);
    }
    EXPECT_GT(e->ScrollOffset(), WidthOf(e, text.c_str()) - (e->TextRect().right - e->TextRect().left));
    Key(VK_HOME);
    EXPECT_EQ(e->CursorPos(), 1);
    EXPECT_EQ(e->ScrollOffset(), 0);
    EXPECT_EQ(CaretPos().x, e->TextRect().left);
    // A scrolled line is cut at the text rectangle: its gap to the border stays background.
    Key(VK_END);
    ASSERT_GT(e->ScrollOffset(), 0);
    for (int y = e->PaintRect().top; y < e->PaintRect().bottom; ++y)
        EXPECT_EQ(PixelOf(e, e->PaintRect().left, y), Rgb(clWhite)) << y;
}

TEST_F(CustomEditTest, AWideRightOrCentredLineScrollsBackToItsStart)
{
    const char* text = "the quick brown fox jumps over the lazy dog";
    int top = 4;
    for (TAlignment alignment : {taRightJustify, taCenter}) {
        SCOPED_TRACE(static_cast<int>(alignment));
        TOBLCustomEdit* e = NewEdit(10, top, text);
        top += 30;
        e->SetAlignment(alignment);
        ASSERT_LT(BaseX(e), e->TextRect().left) << "wider than the rectangle";
        // Unfocused and unscrolled, the line is still cut at the text rectangle.
        for (int y = e->PaintRect().top; y < e->PaintRect().bottom; ++y)
            ASSERT_EQ(PixelOf(e, e->PaintRect().left, y), Rgb(clWhite)) << y;
        Focus(e);
        Key(VK_HOME);
        EXPECT_EQ(e->CursorPos(), 1);
        EXPECT_EQ(XOf(e, 1), e->TextRect().left) << "the line's start meets the left edge";
        EXPECT_EQ(CaretPos().x, e->TextRect().left);
        EXPECT_EQ(e->CalcMousePos(MAKELONG(e->TextRect().left + 1, 5)), 1);
        Key(VK_END);
        EXPECT_GE(CaretPos().x, e->TextRect().left);
        EXPECT_LE(CaretPos().x, e->TextRect().right + 1);
        for (int y = e->PaintRect().top; y < e->PaintRect().bottom; ++y)
            ASSERT_EQ(PixelOf(e, e->PaintRect().left, y), Rgb(clWhite)) << y;
    }
}

TEST_F(CustomEditTest, AScrolledLineLeavesNoClippingBehind)
{
    TOBLCustomEdit* e = NewEdit(10, 10);
    TOBLCustomEdit* other = NewEdit(10, 40);
    Focus(e);
    Type("the quick brown fox jumps over the lazy dog");
    Focus(other);
    ASSERT_GT(e->ScrollOffset(), 0);
    HDC dc = e->Canvas()->Handle();
    HRGN before = CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(GetClipRgn(dc, before), 0) << "the control's canvas starts unclipped";
    e->DrawText(-1);
    EXPECT_EQ(GetClipRgn(dc, before), 0);
    DeleteObject(before);
    // And a clip region of the caller survives an unscrolled line.
    other->Canvas()->Handle();
    HDC odc = other->Canvas()->Handle();
    HRGN callers = CreateRectRgn(0, 0, 5, 5);
    SelectClipRgn(odc, callers);
    other->DrawText(-1);
    HRGN after = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(odc, after), 1);
    EXPECT_TRUE(EqualRgn(after, callers));
    SelectClipRgn(odc, nullptr);
    DeleteObject(after);
    DeleteObject(callers);
}

struct MouseCase {
    const char* name;
    TAlignment alignment;
    std::function<int(TOBLCustomEdit*)> x;
    int expected;
};

TEST_F(CustomEditTest, MousePointsBecomePositions)
{
    const auto half = [](TOBLCustomEdit* e, const char* s) { return WidthOf(e, s) / 2; };
    const std::vector<MouseCase> cases = {
        {"far left", taLeftJustify, [](TOBLCustomEdit*) { return -20; }, 1},
        {"left edge", taLeftJustify, [](TOBLCustomEdit* e) { return e->TextRect().left; }, 1},
        {"V's right half, last point of 1", taLeftJustify,
         [&](TOBLCustomEdit* e) { return e->TextRect().left + WidthOf(e, "V") - half(e, "V"); }, 1},
        {"one further", taLeftJustify,
         [&](TOBLCustomEdit* e) { return e->TextRect().left + WidthOf(e, "V") - half(e, "V") + 1; }, 2},
        {"middle of d", taLeftJustify,
         [&](TOBLCustomEdit* e) { return e->TextRect().left + WidthOf(e, "Vend") - half(e, "d") + 1; }, 5},
        {"right of the text", taLeftJustify, [](TOBLCustomEdit* e) { return e->TextRect().left + 80; }, 8},
        {"right: left of the text", taRightJustify, [](TOBLCustomEdit* e) { return e->TextRect().left + 10; }, 1},
        {"right: middle of d", taRightJustify,
         [&](TOBLCustomEdit* e) { return BaseX(e) + WidthOf(e, "Vend") - half(e, "d"); }, 4},
        {"right: after d's middle", taRightJustify,
         [&](TOBLCustomEdit* e) { return BaseX(e) + WidthOf(e, "Vend") - half(e, "d") + 1; }, 5},
        {"right: right edge", taRightJustify, [](TOBLCustomEdit* e) { return e->TextRect().right; }, 8},
        {"centre: first half of V", taCenter, [](TOBLCustomEdit* e) { return BaseX(e) + 1; }, 1},
        {"centre: after the text", taCenter, [](TOBLCustomEdit* e) { return BaseX(e) + WidthOf(e, "Vendaro"); }, 8},
    };
    TOBLCustomEdit* e = NewEdit(10, 10, "Vendaro");
    for (const MouseCase& c : cases) {
        SCOPED_TRACE(c.name);
        e->SetAlignment(c.alignment);
        // Whatever font other drawing left on the canvas, the edit measures with its own.
        e->Canvas()->Font()->SetHeight(-30);
        const int x = c.x(e);
        EXPECT_EQ(e->CalcMousePos(MAKELONG(static_cast<WORD>(static_cast<short>(x)), 5)), c.expected) << x;
    }
}

TEST_F(CustomEditTest, PosFromCharAnswersWhereTheCharacterIsDrawn)
{
    struct Case {
        const char* name;
        TAlignment alignment;
        const char* text;
        bool typed; // typed into the focused edit, which scrolls a long line
    };
    const Case cases[] = {
        {"left", taLeftJustify, "Vendaro", false},
        {"right", taRightJustify, "Vendaro", false},
        {"centre", taCenter, "Vendaro", false},
        {"scrolled", taLeftJustify, "the quick brown fox jumps over", true},
    };
    int top = 4;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLCustomEdit* e = NewEdit(10, top, c.typed ? "" : c.text);
        top += 30;
        e->SetAlignment(c.alignment);
        if (c.typed) {
            Focus(e);
            Type(c.text);
            ASSERT_GT(e->ScrollOffset(), 0);
        }
        for (int n = 0; n <= e->GetLength(); ++n) {
            SCOPED_TRACE(n);
            POINT p{-1, -1};
            e->Perform(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), n);
            EXPECT_EQ(p.x, XOf(e, n + 1));
            EXPECT_EQ(p.y, 0);
            const LPARAM right = MAKELPARAM(static_cast<WORD>(static_cast<short>(p.x + 1)), 5);
            EXPECT_EQ(LOWORD(e->Perform(EM_CHARFROMPOS, 0, right)), n);
        }
    }
}

TEST_F(CustomEditTest, NewHighlightColoursAreDrawnAtOnce)
{
    TOBLCustomEdit* e = NewEdit(10, 10, "WWWWWW");
    Focus(e);
    Key('A', false, true);
    const int y = e->TextRect().top + 2;
    const auto [first, last] = HighlightSpan(e, y);
    ASSERT_GE(first, 0);
    // The new colours are on the screen without any other repaint.
    const auto count = [&](TColor colour) {
        int n = 0;
        for (int row = e->TextRect().top; row < e->TextRect().bottom; ++row)
            for (int x = first; x < last; ++x) n += PixelOf(e, x, row) == Rgb(colour);
        return n;
    };
    e->SetHighlightBack(clNavy);
    EXPECT_EQ(count(clMaroon), 0);
    EXPECT_GT(count(clNavy), 0);
    const int yellow = count(clYellow);
    ASSERT_GT(yellow, 0);
    e->SetHighlightText(clLime);
    EXPECT_EQ(count(clYellow), 0);
    EXPECT_EQ(count(clLime), yellow);
}

TEST_F(CustomEditTest, MousePointsOfAScrolledLineLieBeyondTheVisiblePart)
{
    TOBLCustomEdit* e = NewEdit(10, 10);
    Focus(e);
    Type("the quick brown fox jumps over");
    ASSERT_GT(e->ScrollOffset(), 0);
    const int hiddenLeft = e->CalcMousePos(MAKELONG(e->TextRect().left, 5));
    EXPECT_GT(hiddenLeft, 1);
    EXPECT_LE(XOf(e, hiddenLeft - 1), e->TextRect().left);
    EXPECT_EQ(e->CalcMousePos(MAKELONG(e->TextRect().right + 40, 5)), e->GetLength() + 1);
    // A click in the visible part lands where it shows.
    GraphicFixture::ClickAt(e, XOf(e, e->GetLength() - 3), e->TextRect().top + 3);
    EXPECT_EQ(e->CursorPos(), e->GetLength() - 3);
}

TEST_F(CustomEditTest, APasswordIsShownAsItsCharacterAndNeverCopied)
{
    TOBLCustomEdit* e = NewEdit(10, 10, "abcde");
    TOBLCustomEdit* shown = NewEdit(10, 40, "*****");
    e->SetPasswordChar('*');
    EXPECT_EQ(e->DisplayText(), "*****");
    EXPECT_EQ(e->Text(), "abcde");
    e->Invalidate();
    shown->Invalidate();
    for (int y = e->TextRect().top; y < e->TextRect().bottom; ++y)
        for (int x = e->TextRect().left; x < e->TextRect().right; ++x)
            ASSERT_EQ(PixelOf(e, x, y), PixelOf(shown, x, y)) << x << "," << y;

    UserSetClipboardText("before");
    Focus(e);
    Key('A', false, true);
    Key('C', false, true);
    Key('X', false, true);
    EXPECT_EQ(ClipboardText(), "before");
    EXPECT_EQ(e->Text(), "abcde");
    Key('V', false, true);
    EXPECT_EQ(e->Text(), "abcde");
    // The caret moves by the asterisks' widths.
    Key(VK_END);
    Type("f");
    EXPECT_EQ(e->DisplayText(), "******");
    EXPECT_EQ(CaretPos().x, e->TextRect().left + WidthOf(e, "******"));

    EXPECT_EQ(e->Perform(EM_GETPASSWORDCHAR, 0, 0), '*');
    e->Perform(EM_SETPASSWORDCHAR, 0x123, 0);
    EXPECT_EQ(e->PasswordChar(), '#') << "the low byte";
    EXPECT_EQ(e->DisplayText(), "######");
    e->Perform(EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(e->DisplayText(), "abcdef");
    Key('A', false, true);
    Key('C', false, true);
    EXPECT_EQ(ClipboardText(), "abcdef");
}

// Records the clicks of the custom buttons, items first.
class TButtonLog : public TObject {
    VENDARO_CLASS(TButtonLog, TObject)
public:
    void Item(TObject* sender, int index) { events.push_back("item " + std::to_string(index)); }
    void Edit(TObject* sender, TObject* btn, int index)
    {
        events.push_back("edit " + std::to_string(index));
        senders.push_back(sender);
        buttons.push_back(btn);
    }
    std::vector<std::string> events;
    std::vector<TObject*> senders;
    std::vector<TObject*> buttons;
};

TEST_F(CustomEditTest, CustomButtonsSitAtTheRightEdgeAndClick)
{
    TOBLCustomEdit* e = NewEdit(10, 10, "Vendaro", 140);
    TButtonLog log;
    e->SetOnCustomButtonClick(TOBLOnBtnClick(&log, &TButtonLog::Edit));
    for (int i = 0; i < 2; ++i) {
        TOBLSpecialButton* item = e->CustomButtons()->Add();
        item->SetCaption(i == 0 ? "a" : "b");
        item->SetOnClick(TOBLOnCustomBtnClick(&log, &TButtonLog::Item));
    }
    // The collection posts WM_SIZE: the buttons are laid out once it is handled.
    Pump();
    EXPECT_EQ(e->PaintRect().right, e->ClientWidth() - e->BevelExt() - (2 * 16 + 1));
    for (int i = 0; i < 2; ++i) {
        TOBLSpeedButton* btn = e->CustomButtons()->GetItem(i)->Btn();
        SCOPED_TRACE(i);
        EXPECT_EQ(btn->Parent(), e);
        EXPECT_EQ(V(btn->BoundsRect()), V(Bounds(e->PaintRect().right + 1 + i * 16, 0, 16,
                                                   e->PaintRect().bottom - e->PaintRect().top)));
        EXPECT_EQ(btn->Style(), ubsIntegrated);
    }
    EXPECT_LT(e->TextRect().right, e->CustomButtons()->GetItem(0)->Btn()->Left());

    TOBLSpeedButton* second = e->CustomButtons()->GetItem(1)->Btn();
    GraphicFixture::ClickAt(second, 8, 8);
    EXPECT_EQ(log.events, (std::vector<std::string>{"item 1", "edit 1"}));
    EXPECT_EQ(log.senders, std::vector<TObject*>{e});
    EXPECT_EQ(log.buttons, std::vector<TObject*>{second});

    log.events.clear();
    e->BtnClick(2);
    e->BtnClick(-1);
    EXPECT_TRUE(log.events.empty());
    e->BtnClick(0);
    EXPECT_EQ(log.events, (std::vector<std::string>{"item 0", "edit 0"}));

    // A new width and style reach the buttons at once.
    e->SetCustomButtonWidth(20);
    EXPECT_EQ(e->PaintRect().right, e->ClientWidth() - e->BevelExt() - (2 * 20 + 1));
    EXPECT_EQ(second->Left(), e->PaintRect().right + 1 + 20);
    EXPECT_EQ(second->Width(), 20);
    e->SetCustomButtonStyle(ubsFlat);
    EXPECT_EQ(second->Style(), ubsFlat);
    // Removing a button gives the text its room back.
    e->CustomButtons()->Delete(1);
    Pump();
    EXPECT_EQ(e->PaintRect().right, e->ClientWidth() - e->BevelExt() - (20 + 1));
}

TEST_F(CustomEditTest, AutoSizeFitsTheHeightToTheFontAndTheWidthToTheButtons)
{
    TOBLCustomEdit* e = NewEdit(10, 10, "Qp");
    for (int i = 0; i < 3; ++i) e->CustomButtons()->Add();
    e->SetWidth(20);
    const auto rowHeight = [&] {
        TBitmap scratch;
        scratch.Canvas()->Font()->Assign(e->Font());
        return scratch.Canvas()->TextHeight("Qp");
    };
    e->SetAutoSize(true);
    EXPECT_EQ(e->Height(), rowHeight() * 5 / 4 + 5);
    EXPECT_EQ(e->Width(), 3 * 16 + 30);
    const int small = e->Height();
    e->Font()->SetHeight(-24);
    EXPECT_EQ(e->Height(), rowHeight() * 5 / 4 + 5);
    EXPECT_GT(e->Height(), small);
    // A drawn bevel counts twice its width; a change of its width alone resizes.
    e->Bevel()->SetMode(bmCustom);
    e->Bevel()->SetBevelStyleOuter(bvRaised);
    e->Bevel()->SetBevelWidthOuter(2);
    EXPECT_EQ(e->Height(), rowHeight() * 5 / 4 + 2 * e->BevelExt());
    e->Bevel()->SetBevelWidthOuter(4);
    EXPECT_EQ(e->Height(), rowHeight() * 5 / 4 + 2 * e->BevelExt());
    TOBLBevel bevel;
    bevel.Assign(e->Bevel());
    bevel.SetBevelWidthOuter(1);
    e->SetBevel(&bevel);
    EXPECT_EQ(e->BevelExt(), 1);
    EXPECT_EQ(e->Height(), rowHeight() * 5 / 4 + 2);
    // Without AutoSize the bounds stay.
    e->SetAutoSize(false);
    e->SetBounds(10, 10, 20, 50);
    e->Font()->SetHeight(-11);
    EXPECT_EQ(V(e->BoundsRect()), V(Bounds(10, 10, 20, 50)));
}

TEST_F(CustomEditTest, ABevelWidthChangeLaysTheLineOutInsideTheNewBevel)
{
    TOBLCustomEdit* e = NewEdit(10, 10, "Vendaro");
    e->SetHeight(30);
    e->Bevel()->SetMode(bmCustom);
    e->Bevel()->SetBevelStyleOuter(bvLowered);
    e->Bevel()->SetBevelWidthOuter(1);
    Focus(e);
    e->SelectAll();
    Pump();
    const int before = e->TextRect().left;
    e->Bevel()->SetBevelWidthOuter(4);
    Pump();
    e->Caret()->Disable();
    EXPECT_EQ(e->TextRect().left, e->BevelExt() + 1);
    EXPECT_GT(e->TextRect().left, before);
    EXPECT_EQ(HighlightSpan(e, e->TextRect().top).first, e->TextRect().left);
    EXPECT_FALSE(Highlighted(e, before, e->TextRect().top)) << "the bevel is painted where the text was";
}

TEST_F(CustomEditTest, ChangingTheTextRebuildsTheDisplayAndTellsTheOwner)
{
    TOBLCustomEdit* e = NewEdit(10, 10);
    e->SetPasswordChar('*');
    e->SetOnChange(TNotifyEvent(&log_, &TEventLog::Click));
    e->SetText("abc");
    EXPECT_EQ(e->DisplayText(), "***");
    EXPECT_EQ(e->SelLength(), 0);
    EXPECT_EQ(log_.Count("click"), 1) << "the new text is a change of the edit's";
    e->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("wxyz"));
    EXPECT_EQ(e->DisplayText(), "****");
    e->SetSelStart(2);
    e->SetSelLength(2);
    e->SetSelText("Q");
    EXPECT_EQ(e->Text(), "wQz");
    EXPECT_EQ(e->DisplayText(), "***");
    e->Undo();
    EXPECT_EQ(e->DisplayText(), "****");
}

// An auto-completion that completes "Ve" to "Vendaro" in place (amText), as the completion component
// does, and records what the edit offers it.
class TCompletion : public TComponent, public TOBLEditAutoCompleteLink {
    VENDARO_CLASS(TCompletion, TComponent)
public:
    explicit TCompletion(TComponent* owner) : TComponent(owner) {}

    bool CompletesInPlace() override { return inPlace; }
    void AutoCompleteText(TOBLBaseEdit* edit, const AnsiString& text) override
    {
        completed.push_back(text.str());
        if (!inPlace || text != "Ve") return;
        edit->SetText("Vendaro");
        edit->SetCursorPos(3);
        edit->SetSelStart(3);
        edit->SetSelLength(5);
    }
    bool AddsOnReturn() override { return onReturn; }
    bool AddsOnExit() override { return onExit; }
    void Add(TOBLBaseEdit* edit, const AnsiString& text) override { added.push_back(text.str()); }

    bool inPlace = true, onReturn = false, onExit = false;
    std::vector<std::string> completed, added;
};

TEST_F(CustomEditTest, TheAutoCompletionCompletesEachChangeAndIsOfferedTheText)
{
    TOBLCustomEdit* e = NewEdit(10, 10);
    TOBLCustomEdit* other = NewEdit(10, 40);
    auto* completion = new TCompletion(form_);
    e->SetAutoComplete(completion);
    Focus(e);
    Type("Ve");
    EXPECT_EQ(completion->completed, (std::vector<std::string>{"V", "Ve"}));
    EXPECT_EQ(e->Text(), "Vendaro");
    EXPECT_EQ(e->GetSelText(), "ndaro");
    // Backspace takes the completed tail and the typed character before it.
    Key(VK_BACK);
    EXPECT_EQ(e->Text(), "V");
    Type("e");
    completion->inPlace = false;
    Key(VK_BACK);
    EXPECT_EQ(e->Text(), "Ve") << "without in-place completion only the tail goes";

    Key(VK_RETURN);
    EXPECT_TRUE(completion->added.empty());
    completion->onReturn = true;
    Key(VK_RETURN);
    EXPECT_EQ(completion->added, std::vector<std::string>{"Ve"});
    Focus(other);
    EXPECT_EQ(completion->added.size(), 1u);
    completion->onExit = true;
    Focus(e);
    Focus(other);
    EXPECT_EQ(completion->added, (std::vector<std::string>{"Ve", "Ve"}));

    delete completion;
    EXPECT_EQ(e->AutoComplete(), nullptr);
    Focus(e);
    Type("x");
    EXPECT_EQ(e->Text(), "Vex");
}

} // namespace

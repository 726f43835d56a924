// The drop-down menu: where it opens, what a click does with it, the guard against opening
// it twice, and what is left once it closes.
#include "tests/obl/controls/buttons/ButtonFixture.h"

#include "platform/win/user/Menus.h"

namespace {

class DropDown : public ButtonFixture {
protected:
    void SetUp() override
    {
        ButtonFixture::SetUp();
        menu = new TPopupMenu(form);
        item = new TMenuItem(form);
        item->SetCaption("Voce");
        item->SetOnClick(TNotifyEvent(&chosen, &TClickCounter::Click));
        menu->Items()->Add(item);
        button->SetDropDownMenu(menu);
        UserSetPopupMenuResponder([this](HMENU, POINT at) {
            shownAt.push_back(at);
            if (whileOpen) whileOpen();
            return choice;
        });
    }

    TPopupMenu* menu = nullptr;
    TMenuItem* item = nullptr;
    TClickCounter chosen;
    std::vector<POINT> shownAt;
    std::function<void()> whileOpen;
    UINT choice = 0;
};

TEST_F(DropDown, OpensBelowOrAtTheRightEdgeMovedByTheIndent)
{
    struct Case {
        bool right;
        int indent;
        TPoint expected;
    };
    const Case cases[] = {
        {false, 0, At(button, 0, 30)},
        {false, 7, At(button, 7, 30)},
        {true, 0, At(button, 90, 0)},
        {true, 7, At(button, 90, 7)},
    };
    for (const Case& c : cases) {
        shownAt.clear();
        button->SetDropDownRight(c.right);
        button->SetDropDownIndent(c.indent);
        button->DropDown();
        ASSERT_EQ(shownAt.size(), 1u);
        EXPECT_EQ(shownAt[0].x, c.expected.x) << c.right << " " << c.indent;
        EXPECT_EQ(shownAt[0].y, c.expected.y) << c.right << " " << c.indent;
    }
}

TEST_F(DropDown, AClickFiresOnClickOpensTheMenuAndLeavesTheModalResult)
{
    button->SetModalResult(mrOk);
    choice = item->Command();
    const TPoint p = Middle(button);
    UserInjectClick(p.x, p.y);
    Pump();
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_EQ(shownAt.size(), 1u);
    EXPECT_EQ(chosen.clicks, 1) << "the chosen item runs";
    EXPECT_EQ(form->ModalResult(), mrNone);
}

TEST_F(DropDown, WhileOpenTheButtonIsPushedAndASecondDropDownDoesNothing)
{
    TClickCounter dropped;
    button->SetOnDropDown(TNotifyEvent(&dropped, &TClickCounter::Click));
    bool pushed = false, guarded = false;
    whileOpen = [&] {
        pushed = (SendMessageA(button->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0 && button->GetState() == bsDown;
        guarded = button->Dropped();
        button->DropDown();
    };
    button->DropDown();
    EXPECT_EQ(shownAt.size(), 1u) << "the nested call opened nothing";
    EXPECT_EQ(dropped.clicks, 1);
    EXPECT_TRUE(pushed);
    EXPECT_TRUE(guarded);
    EXPECT_FALSE(button->Dropped());
    EXPECT_EQ(button->GetState(), bsUp);
    EXPECT_EQ(SendMessageA(button->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
    EXPECT_TRUE(button->Focused()) << "the button took the focus";
}

TEST_F(DropDown, TheClickThatClosedTheMenuDoesNotPressTheButtonAgain)
{
    whileOpen = [this] {
        const LPARAM middle = MAKELPARAM(45, 15);
        PostMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, middle);
        PostMessageA(button->Handle(), WM_LBUTTONUP, 0, middle);
        SetCapture(other->Handle());
    };
    button->DropDown();
    Pump();
    EXPECT_EQ(counter.clicks, 0);
    EXPECT_EQ(GetCapture(), nullptr) << "the window holding the capture was told to cancel";
}

TEST_F(DropDown, HandlersThatFreeTheButtonOrTheMenuEndItQuietly)
{
    choice = item->Command();
    chosen.onClick = [this](TObject*) {
        delete button;
        button = nullptr;
    };
    const TPoint p = Middle(other);
    button->DropDown();
    EXPECT_EQ(button, nullptr);
    EXPECT_EQ(chosen.clicks, 1);

    auto* second = new TPopupMenu(form);
    other->SetDropDownMenu(second);
    TClickCounter dropped;
    dropped.onClick = [second](TObject*) { delete second; };
    other->SetOnDropDown(TNotifyEvent(&dropped, &TClickCounter::Click));
    other->DropDown();
    EXPECT_EQ(other->DropDownMenu(), nullptr) << "the freed menu is let go";
    EXPECT_EQ(shownAt.size(), 1u) << "and not shown";
    EXPECT_FALSE(other->Dropped());
    UserInjectClick(p.x, p.y);
    Pump();
    EXPECT_EQ(counter.clicks, 1) << "without a menu the button clicks as any button";
}

TEST_F(DropDown, WithoutAMenuNothingOpens)
{
    button->SetDropDownMenu(nullptr);
    button->DropDown();
    EXPECT_TRUE(shownAt.empty());
}

} // namespace

// The button's glyph sources (bitmap, image list, action, built-in kind), its font rules,
// the default-button look as the focus moves, and handlers that free it.
#include "tests/obl/controls/buttons/ButtonFixture.h"

#include "obl/core/draw/Oblutils.h"
#include "platform/classlib/ActnList.h"
#include "platform/win/kernel/Resources.h"

namespace {

TBitmap* Filled(TBitmap& b, int width, int height, TColor color)
{
    b.SetSize(width, height);
    b.Canvas()->Brush()->SetColor(color);
    b.Canvas()->FillRect(Rect(0, 0, width, height));
    return &b;
}

// Records the bounds changes it hears of.
class TBoundsButton : public TOBLButton {
    VENDARO_CLASS(TBoundsButton, TOBLButton)
public:
    explicit TBoundsButton(TComponent* owner) : TOBLButton(owner) {}
    std::vector<TOBLBoundsChangeStates> changes;

protected:
    void BoundsChange(TOBLBoundsChangeStates Changes) override { changes.push_back(Changes); }
};

class Behaviour : public ButtonFixture {
protected:
    // Handles what is waiting, at most `limit` messages; answers how many there were.
    int HandleAtMost(int limit)
    {
        MSG msg;
        int handled = 0;
        while (handled < limit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            ++handled;
        }
        return handled;
    }
    DWORD WindowType(TOBLButton* b) { return static_cast<DWORD>(GetWindowLongA(b->Handle(), GWL_STYLE)) & BS_TYPEMASK; }
};

TEST_F(Behaviour, TheWindowIsOwnerDrawnAndFollowsTheFocusWithoutChangingItsStyle)
{
    button->SetDefault(true);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetBounds(150, 20, 100, 21);
    Pump();
    struct Case {
        TWinControl* focus;
        bool buttonActive;
        bool otherActive;
    };
    const Case cases[] = {{edit, true, false}, {other, false, true}, {button, true, false}, {edit, true, false}};
    for (const Case& c : cases) {
        c.focus->SetFocus();
        Pump();
        EXPECT_EQ(button->Active(), c.buttonActive) << c.focus->Name().c_str();
        EXPECT_EQ(other->Active(), c.otherActive) << c.focus->Name().c_str();
        EXPECT_EQ(WindowType(button), static_cast<DWORD>(BS_OWNERDRAW));
        EXPECT_EQ(WindowType(other), static_cast<DWORD>(BS_OWNERDRAW));
    }
    MEASUREITEMSTRUCT item{ODT_BUTTON, 0, 0, 0, 0, 0};
    button->Perform(CN_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.itemWidth, 90u);
    EXPECT_EQ(item.itemHeight, 30u);
}

TEST_F(Behaviour, TheFontFollowsTheFormUntilTheButtonGetsItsOwn)
{
    form->Font()->SetHeight(-15);
    EXPECT_EQ(button->Font()->Height(), -15);
    EXPECT_TRUE(button->ParentFont());
    button->Font()->SetHeight(-9);
    EXPECT_FALSE(button->ParentFont());
    form->Font()->SetHeight(-20);
    EXPECT_EQ(button->Font()->Height(), -9);
    button->SetParentFont(true);
    EXPECT_EQ(button->Font()->Height(), -20);
    EXPECT_TRUE(button->ParentFont());
}

TEST_F(Behaviour, ARotatedCaptionNeedsATrueTypeFont)
{
    ASSERT_FALSE(OBLIsTrueTypeFont(button->Font())) << "the dialogs' font is a bitmap face";
    button->FontFX()->SetAngle(90);
    EXPECT_EQ(button->Font()->Name(), "Arial");
    EXPECT_TRUE(OBLIsTrueTypeFont(button->Font()));
    EXPECT_EQ(button->FontFX()->Angle(), 90);
    EXPECT_FALSE(button->ParentFont());
    button->Font()->SetName("MS Sans Serif");
    EXPECT_EQ(button->FontFX()->Angle(), 0);
}

TEST_F(Behaviour, TheGlyphFollowsTheImageListAndItsIndexes)
{
    auto* list = new TOBLBitmapList(form);
    TBitmap red, green;
    list->Items(list->Add(nullptr))->SetBitmap(Filled(red, 16, 16, clRed));
    list->Items(list->Add(nullptr))->SetBitmap(Filled(green, 20, 16, clLime));
    button->SetImageList(list);
    EXPECT_EQ(button->Glyph()->Width(), 16);
    button->SetListIndex(1);
    EXPECT_EQ(button->Glyph()->Width(), 20);
    button->SetListIndex(-1);
    EXPECT_EQ(button->ListIndex(), 1) << "a negative index is ignored";
    button->SetListIndex(5);
    EXPECT_TRUE(button->Glyph()->Empty()) << "no picture there: no glyph";
    button->SetListIndex(0);
    ASSERT_FALSE(button->Glyph()->Empty());

    TBitmap own;
    button->SetGlyph(Filled(own, 8, 8, clBlue));
    EXPECT_EQ(button->ImageList(), nullptr) << "a glyph of its own lets the list go";
    EXPECT_EQ(button->Glyph()->Width(), 8);

    button->SetImageList(list);
    delete list;
    EXPECT_EQ(button->ImageList(), nullptr);
    EXPECT_TRUE(button->Glyph()->Empty());
}

TEST_F(Behaviour, AnActionGivesItsPictureAndOneWithoutAPictureLeavesTheGlyph)
{
    auto* images = new TImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    TBitmap picture;
    images->Add(Filled(picture, 16, 16, clRed), nullptr);
    images->Add(Filled(picture, 16, 16, clLime), nullptr);
    auto* actions = new TActionList(form);
    actions->SetImages(images);
    auto* action = new TAction(form);
    action->SetActionList(actions);
    action->SetCaption("Azione");

    TBitmap own;
    button->SetGlyph(Filled(own, 10, 10, clBlue));
    button->SetAction(action);
    EXPECT_EQ(button->Caption(), "Azione");
    EXPECT_EQ(button->Glyph()->Width(), 10) << "an action without a picture leaves the glyph";
    action->SetCaption("Ancora");
    action->SetHint("Suggerimento");
    EXPECT_EQ(button->Glyph()->Width(), 10) << "however often the action changes";

    action->SetImageIndex(1);
    ASSERT_EQ(button->Glyph()->Width(), 16);
    EXPECT_EQ(button->Glyph()->Canvas()->Pixels(5, 5), clLime);
    action->SetImageIndex(0);
    EXPECT_EQ(button->Glyph()->Canvas()->Pixels(5, 5), clRed) << "the glyph follows the action's picture";
    action->SetCaption("Di nuovo");
    EXPECT_EQ(button->Glyph()->Canvas()->Pixels(5, 5), clRed);
}

TEST_F(Behaviour, AnActionsPictureGoesIntoTheGlyphAndTheImageListStays)
{
    auto* list = new TOBLBitmapList(form);
    TBitmap red;
    list->Items(list->Add(nullptr))->SetBitmap(Filled(red, 16, 16, clRed));
    button->SetImageList(list);
    auto* images = new TImageList(form);
    images->SetWidth(12);
    images->SetHeight(12);
    TBitmap picture;
    images->Add(Filled(picture, 12, 12, clLime), nullptr);
    auto* actions = new TActionList(form);
    actions->SetImages(images);
    auto* action = new TAction(form);
    action->SetActionList(actions);
    action->SetImageIndex(0);

    button->SetAction(action);
    ASSERT_EQ(button->Glyph()->Width(), 12);
    EXPECT_EQ(button->Glyph()->Canvas()->Pixels(5, 5), clLime);
    EXPECT_EQ(button->ImageList(), list) << "the list, and so its stored property, went";
    list->Change();
    EXPECT_EQ(button->Glyph()->Canvas()->Pixels(5, 5), clRed) << "the list's link went";
}

TEST_F(Behaviour, ABuiltInKindIsFetchedAtThePaintAndAMissingOneIsDrawnWithout)
{
    button->SetGlyphKind(gkFolder);
    Pump();
    EXPECT_EQ(button->Glyph()->Width(), OBLGlyphCellWidth);
    EXPECT_EQ(button->Glyph()->Height(), OBLGlyphCellHeight);
    button->SetGlyphKind(gkCustom);
    EXPECT_TRUE(button->Glyph()->Empty());

    // A strip that cannot be loaded.
    RegisterResource(nullptr, RT_BITMAP, MAKEINTRESOURCEA(OBLGlyphStripResource), {});
    button->SetGlyphKind(gkFile);
    const int handled = HandleAtMost(200);
    RegisterBitmapFileResource(nullptr, MAKEINTRESOURCEA(OBLGlyphStripResource), OBLGlyphStripBitmapFile());
    EXPECT_GT(handled, 0);
    EXPECT_LT(handled, 200) << "the paints come to an end";
    EXPECT_TRUE(button->Glyph()->Empty());
}

TEST_F(Behaviour, BoundsChangesAreReportedOnlyWhenSomethingChanged)
{
    auto* b = new TBoundsButton(form);
    b->SetParent(form);
    b->SetBounds(10, 10, 75, 25);
    b->changes.clear();
    b->SetBounds(10, 10, 75, 25);
    b->SetBounds(12, 10, 75, 25);
    b->SetBounds(12, 10, 80, 25);
    b->SetBounds(0, 0, 10, 10);
    EXPECT_EQ(b->changes, (std::vector<TOBLBoundsChangeStates>{{bcPos}, {bcSize}, {bcPos, bcSize}}));
}

TEST_F(Behaviour, HidingTheButtonForgetsTheMouse)
{
    MoveTo(Middle(button));
    ASSERT_TRUE(button->MouseAbove());
    button->Hide();
    EXPECT_FALSE(button->MouseAbove());
}

TEST_F(Behaviour, AnEnterHandlerThatFreesTheButtonTouchesNothingOfIt)
{
    TClickCounter enter;
    enter.onClick = [this](TObject*) {
        delete button;
        button = nullptr;
    };
    button->SetOnMouseEnter(TNotifyEvent(&enter, &TClickCounter::Click));
    MoveTo(Middle(button));
    EXPECT_EQ(enter.clicks, 1);
    EXPECT_EQ(button, nullptr);
    MoveTo(Away());
}

} // namespace

namespace {

class ThemedBehaviour : public ButtonFixture {
protected:
    ThemedBehaviour() : ButtonFixture(TThemeModuleState::Active) {}
};

TEST_F(ThemedBehaviour, SwitchingThemesOffRepaintsTheButtonClassic)
{
    ASSERT_TRUE(OBLApplication->UseXPThemes());
    Pump();
    ValidateRect(button->Handle(), nullptr);
    button->Perform(CM_OBLTHEMECHANGED, 0, 0);
    EXPECT_TRUE(GetUpdateRect(button->Handle(), nullptr, FALSE)) << "the library's theme message repaints";
    Pump();
    ValidateRect(button->Handle(), nullptr);
    OBLApplication->SetXPThemeSupport(false);
    EXPECT_TRUE(GetUpdateRect(button->Handle(), nullptr, FALSE)) << "the switch repaints the button";
    ClearThemeCallLog();
    Pump();
    EXPECT_FALSE(GetUpdateRect(button->Handle(), nullptr, FALSE));
    for (const TThemeCall& call : ThemeCallLog())
        EXPECT_NE(call.function, "DrawThemeBackground") << "painted classic";
}

} // namespace

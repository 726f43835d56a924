// One picture of the edit engine after a user's input, one edit a row: typed text, a
// selection made with Shift in the focused edit (with the caret), selections of unfocused
// edits with HideSelection (hidden) and without it (shown), "bc" of "abcdef" dragged after
// the "e", typing refused by a read-only edit and typing in overwrite mode; saved as a PNG
// under the build folder.
#include "EditInputFixture.h"

#include "tests/support/WindowPicture.h"

namespace {

class EditInputScreenshot : public EditInputFixture {};

TEST_F(EditInputScreenshot, EditStatesInOnePicture)
{
    form_->SetBounds(20, 20, 220, 200);
    edit_->SetBounds(10, 5, 200, 21);
    TTestEdit* rows[7] = {edit_};
    for (int i = 1; i < 7; ++i) rows[i] = NewEdit(10, 5 + 27 * i);
    const auto script = [&](TTestEdit* edit, const char* text) {
        edit_ = edit;
        Focus(edit);
        Type(text);
    };
    script(rows[1], "Selected with Shift");
    Keys(VK_LEFT, 10, true);
    script(rows[2], "Hidden when unfocused");
    Keys(VK_LEFT, 8, true);
    rows[3]->SetBoolean(0, false);
    script(rows[3], "Shown when unfocused");
    Keys(VK_LEFT, 10, true);
    script(rows[4], "abcdef");
    ClickAt(2);
    ShiftClickAt(4);
    MoveToPos(3);
    PressAt(3);
    MoveToPos(6);
    ReleaseAt(6);
    script(rows[5], "Read-only");
    rows[5]->SetBoolean(1, true);
    Type(" ignored");
    script(rows[6], "Overwrite");
    Key(VK_HOME);
    Key(VK_INSERT);
    Type("Ins");
    Key(VK_INSERT);
    script(rows[0], "Typed");
    script(rows[1], "");
    Pump();
    form_->Update();

    EXPECT_EQ(rows[4]->Text().str(), "adebcf");
    EXPECT_EQ(rows[5]->Text().str(), "Read-only");
    EXPECT_EQ(rows[6]->Text().str(), "Insrwrite");
    EXPECT_TRUE(rows[2]->SelectionHidden());
    EXPECT_FALSE(rows[3]->SelectionHidden());
    // The selection of the unfocused edit without HideSelection is painted in the
    // highlight colour; the hidden one is not.
    const auto selectionPixel = [&](TTestEdit* edit) {
        return PixelOf(edit, edit->XOf(edit->SelStart()) + 2, edit->TextRect().top + 1);
    };
    EXPECT_EQ(selectionPixel(rows[3]), Rgb(clHighlight));
    EXPECT_EQ(selectionPixel(rows[2]), Rgb(clWhite));
    EXPECT_EQ(selectionPixel(rows[1]), Rgb(clHighlight));
    ASSERT_NO_FATAL_FAILURE(SaveWindowsPicture("edit-input.png", {form_->Handle()}));
}

}

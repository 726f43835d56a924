// One picture of an edit with its drop-down open: "Bo" typed with in-place completion and
// the drop-down, the second match chosen with the arrow keys. The drop-down is a window of
// its own, so the picture is the screen area of the form with the drop-down over it; saved
// as a PNG under the build folder.
#include "AutoCompleteFixture.h"

#include "tests/support/WindowPicture.h"

namespace {

class AutoCompleteScreenshot : public AutoCompleteFixture {};

TEST_F(AutoCompleteScreenshot, EditWithItsDropDownOpen)
{
    form_->SetBounds(20, 20, 190, 150);
    SetWords({"Bologna", "Bolzano", "Bormio", "Brescia", "Roma"});
    completion_->SetMode({amPopup});
    Focus(edit_);
    Type("Bo");
    Key(VK_DOWN);
    Key(VK_DOWN);
    Pump();
    form_->Update();
    TListBox* box = completion_->ListBox();
    ASSERT_NE(box, nullptr);
    UpdateWindow(box->Handle());

    EXPECT_EQ(Text(), "Bolzano");
    EXPECT_EQ(box->ItemIndex(), 1);
    Surface picture;
    RECT origin{};
    ASSERT_NO_FATAL_FAILURE(SaveWindowsPicture("edit-autocomplete.png", {form_->Handle(), box->Handle()}, picture, origin));
    RECT list{};
    GetWindowRect(box->Handle(), &list);
    // The drop-down's selected row is in the highlight colour (right of its text), the
    // others are not.
    const int x = list.right - origin.left - 10;
    EXPECT_EQ(picture.Pixel(x, list.top - origin.top + 4), Rgb(clWindow));
    EXPECT_EQ(picture.Pixel(x, list.top - origin.top + box->ItemHeight() + 4),
              Rgb(clHighlight));
}

} // namespace

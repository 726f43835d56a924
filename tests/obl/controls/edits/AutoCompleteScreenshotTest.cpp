// One picture of an edit with its drop-down open: "Bo" typed with in-place completion and
// the drop-down, the second match chosen with the arrow keys. The drop-down is a window of
// its own, so the picture is the screen area of the form with the drop-down over it; saved
// as a PNG under the build folder.
#include "AutoCompleteFixture.h"

#include "tests/support/TestDisplay.h"

namespace {

class AutoCompleteScreenshot : public AutoCompleteFixture {
protected:
    // Copies a top-level window's surface into the picture at its screen place.
    static void Place(Surface& picture, HWND window, const RECT& origin)
    {
        RECT r{};
        GetWindowRect(window, &r);
        const Surface* shown = UserWindowSurface(window);
        ASSERT_NE(shown, nullptr);
        for (int y = 0; y < shown->Height(); ++y)
            for (int x = 0; x < shown->Width(); ++x)
                picture.SetPixel(r.left - origin.left + x, r.top - origin.top + y, shown->Pixel(x, y));
    }
};

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
    RECT origin{};
    GetWindowRect(form_->Handle(), &origin);
    Surface picture(origin.right - origin.left, origin.bottom - origin.top);
    Place(picture, form_->Handle(), origin);
    Place(picture, box->Handle(), origin);
    RECT list{};
    GetWindowRect(box->Handle(), &list);
    ASSERT_TRUE(TestDisplay::SavePng(picture, "edit-autocomplete.png"));
    // The drop-down's selected row is in the highlight colour (right of its text), the
    // others are not.
    const int x = list.right - origin.left - 10;
    EXPECT_EQ(picture.Pixel(x, list.top - origin.top + 4), Rgb(clWindow));
    EXPECT_EQ(picture.Pixel(x, list.top - origin.top + box->ItemHeight() + 4),
              Rgb(clHighlight));
}

} // namespace

// One picture of browse edits: a long path in full, the same path shortened to the edit's
// width, and the shortened edit shown in full again while it has the focus; saved as a PNG
// under the build folder.
#include "BrowseEditFixture.h"

#include "tests/support/WindowPicture.h"

namespace {

class BrowseEditScreenshot : public BrowseEditFixture {};

TEST_F(BrowseEditScreenshot, FullAndShortenedPaths)
{
    form_->SetBounds(20, 20, 240, 100);
    edit_->SetPath(kLongPath);
    other_->SetMinimizeName(true);
    other_->SetPath(kLongPath);
    TOBLBrowseEdit* focused = NewEdit(10, 70, 200);
    focused->SetMinimizeName(true);
    focused->SetPath(kLongPath);
    const AnsiString shortened = focused->DisplayText();
    Focus(focused);
    form_->Update();

    EXPECT_EQ(edit_->DisplayText().str(), kLongPath);
    EXPECT_EQ(::Copy(other_->DisplayText(), 1, 7).str(), "C:\\...\\");
    EXPECT_EQ(other_->Path().str(), kLongPath);
    EXPECT_EQ(shortened.str(), other_->DisplayText().str());
    EXPECT_EQ(focused->DisplayText().str(), kLongPath);
    ASSERT_NO_FATAL_FAILURE(SaveWindowsPicture("browse-edit.png", {form_->Handle()}));
}

} // namespace

// Panels through a form description and back: what differs from the defaults is written
// and read back, the bevel's kind always; reading a Windows bevel makes no window early,
// on a hidden form or a visible one.
#include "PanelFixture.h"

#include "tests/support/FormText.h"

#include <algorithm>
#include <string>

namespace {

class StreamingTest : public FormRoundTrip<PanelFixture> {
protected:
    void SetUp() override
    {
        FormRoundTrip::SetUp();
        RegisterClass(TProbeBevelPanel::StaticClass());
        RegisterClass(TProbeParentPanel::StaticClass());
        RegisterClass(TOBLImageList::StaticClass());
    }
    void TearDown() override
    {
        UnRegisterClass(TOBLImageList::StaticClass());
        UnRegisterClass(TProbeParentPanel::StaticClass());
        UnRegisterClass(TProbeBevelPanel::StaticClass());
        FormRoundTrip::TearDown();
    }

    // The form written with one parent panel "Pictured" showing picture 1 of entry 0 of the
    // image list "Tiles"; the list is given back through `list` when asked for.
    std::string WritePicturedPanel(TOBLImageList** list = nullptr)
    {
        TOBLImageList* tiles = TileList();
        tiles->SetName("Tiles");
        auto* p = AddWindowed<TProbeParentPanel>(8, 9);
        p->SetName("Pictured");
        p->SetImageList(tiles);
        p->SetIndex(0, 1);
        if (list)
            *list = tiles;
        return WriteFormText(form_);
    }
};

TEST_F(StreamingTest, APlainPanelWritesOnlyItsPlaceAndTheBevelKind)
{
    auto* p = AddWindowed<TProbeBevelPanel>(8, 9);
    p->SetName("Plain");
    const std::string text = ObjectText(WriteFormText(form_), "Plain");
    ASSERT_FALSE(text.empty());
    for (const char* name : {"Transparent", "Flat", "CtlXP", "StyleOuter", "BorderSides", "TabStop"})
        EXPECT_EQ(text.find(name), std::string::npos) << name << "\n" << text;
    EXPECT_NE(text.find("Bevel.Mode = bmCustom"), std::string::npos) << text;
}

TEST_F(StreamingTest, ABevelledPanelComesBack)
{
    auto* p = AddWindowed<TProbeBevelPanel>(8, 9);
    p->SetName("Framed");
    p->SetTransparent(true);
    p->SetFlat(true);
    p->BackFX()->SetBool(2, true);
    p->Bevel()->SetBevelStyleOuter(bvFrameRaised);
    p->Bevel()->SetBevelWidthOuter(2);
    p->Bevel()->SetBorderSpace(1);
    p->Bevel()->SetColor(0, clNavy);
    const std::string text = WriteFormText(form_);
    auto* read = ReadBack<TProbeBevelPanel>(text, "Framed");
    ASSERT_NE(read, nullptr) << text;
    EXPECT_TRUE(read->Transparent());
    EXPECT_TRUE(read->Flat());
    EXPECT_TRUE(read->BackFX()->GrayScale());
    EXPECT_EQ(read->Bevel()->StyleOuter(), bvFrameRaised);
    EXPECT_EQ(read->Bevel()->BorderColor(), clNavy);
    EXPECT_EQ(read->BevelExt(), 4);
    EXPECT_TRUE(read->Bevel()->WindowsSupport());
}

TEST_F(StreamingTest, AWindowsBevelIsReadIntoTheWindowStyles)
{
    auto* p = AddWindowed<TProbeBevelPanel>(8, 9);
    p->SetName("Edged");
    p->Bevel()->SetMode(bmWindows);
    // A hidden form, as a program's form is read: its windows come once it is read.
    form_->Hide();
    const std::string text = WriteFormText(form_);
    auto* read = ReadBack<TProbeBevelPanel>(text, "Edged");
    ASSERT_NE(read, nullptr) << text;
    EXPECT_EQ(read->windowsMade, 0) << "nothing is made while the form is read";
    EXPECT_EQ(read->Bevel()->Mode(), bmWindows);
    EXPECT_EQ(read->BevelExt(), 0);
    EXPECT_NE(GetWindowLongA(read->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

// A form read visible shows once read: the panel's window comes with the bevel it was read with.
TEST_F(StreamingTest, AWindowsBevelOnAVisibleFormIsReadIntoTheWindowStyles)
{
    auto* p = AddWindowed<TProbeBevelPanel>(8, 9);
    p->SetName("Edged");
    p->Bevel()->SetMode(bmWindows);
    const std::string text = WriteFormText(form_);
    ASSERT_NE(text.find("Visible = True"), std::string::npos) << text;
    auto* read = ReadBack<TProbeBevelPanel>(text, "Edged");
    ASSERT_NE(read, nullptr) << text;
    auto* form = dynamic_cast<TForm*>(copy_.get());
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->HandleAllocated()) << "the form is shown once read";
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    ASSERT_TRUE(read->HandleAllocated());
    EXPECT_EQ(read->windowsMade, 1) << "one window, made once the form is read";
    EXPECT_TRUE(IsWindowVisible(read->Handle()));
    EXPECT_NE(GetWindowLongA(read->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

// The picture's list and indexes come back, and the cache is built once the form is read.
TEST_F(StreamingTest, AParentPanelBuildsItsCacheOnceRead)
{
    TOBLImageList* list = nullptr;
    const std::string text = WritePicturedPanel(&list);
    EXPECT_NE(ObjectText(text, "Pictured").find("ImageList = Tiles"), std::string::npos) << text;
    auto* read = ReadBack<TProbeParentPanel>(text, "Pictured");
    ASSERT_NE(read, nullptr) << text;
    ASSERT_NE(read->ImageList(), nullptr);
    EXPECT_EQ(read->ImageList()->Name(), "Tiles");
    EXPECT_NE(read->ImageList(), list);
    EXPECT_EQ(read->ImageIndex(), 1);
    ASSERT_NE(read->Back(), nullptr);
    EXPECT_EQ(read->Back()->Width(), 100);
    EXPECT_EQ(read->Back()->Canvas()->Pixels(3, 4), TileColor(1, 3, 4));
}

TEST_F(StreamingTest, ANegativeIndexOfTheImageListIsRefusedNotDropped)
{
    // The panel ignores a negative index; a description giving one is refused instead of
    // reading as a panel with index 0.
    const std::string text = WritePicturedPanel();
    for (const char* index : {"ImageIndex", "ListIndex"}) {
        std::string bad = text;
        const std::size_t at = bad.find("ImageList = Tiles");
        ASSERT_NE(at, std::string::npos) << text;
        bad.insert(at, std::string(index) + " = -7\n    ");
        const int line = static_cast<int>(std::count(bad.begin(), bad.begin() + static_cast<long>(at), '\n')) + 1;
        try {
            copy_.reset(ReadFormText(bad));
            ADD_FAILURE() << index << " read:\n" << bad;
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message().str(), "Error reading form description at line " + std::to_string(line) +
                                             ": Invalid property value -7 for " + index);
        }
    }
}

} // namespace

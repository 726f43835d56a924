// Speed buttons through a form description and back: what differs from the defaults is
// written, nothing else, and a menu of the form is found again by name.
#include "ButtonScene.h"
#include "GraphicFixture.h"

#include "tests/support/FormText.h"

namespace {

class StreamingTest : public GraphicFixture {
protected:
    void SetUp() override
    {
        GraphicFixture::SetUp();
        RegisterMenuClasses();
        RegisterClass(TForm::StaticClass());
        RegisterClass(TOBLSpeedButton::StaticClass());
        form_->SetName("Host");
    }
    void TearDown() override
    {
        UnRegisterClass(TOBLSpeedButton::StaticClass());
        GraphicFixture::TearDown();
    }
};

TEST_F(StreamingTest, ADefaultSpeedButtonWritesOnlyItsBounds)
{
    auto* b = Add<TOBLSpeedButton>(8, 9);
    b->SetName("Plain");
    const std::string text = ObjectText(WriteFormText(form_), "Plain");
    ASSERT_FALSE(text.empty());
    const std::vector<std::string> lines = {"object Plain: TOBLSpeedButton", "Left = 8", "Top = 9", "Width = 23",
                                            "Height = 22"};
    std::size_t count = 0;
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        ++count;
    EXPECT_EQ(count + 1, lines.size()) << text;
    for (const std::string& line : lines)
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST_F(StreamingTest, SettingsAndTheMenuComeBack)
{
    auto* menu = new TPopupMenu(form_);
    menu->SetName("Menu1");
    auto* b = Add<TOBLSpeedButton>(8, 9);
    b->SetName("Tool");
    b->SetStyle(ubsFlat);
    b->SetGroupIndex(4);
    b->SetAllowAllUp(true);
    b->SetPressed(true);
    b->SetDropDown(menu);
    b->SetDropDownCombo(true);
    b->SetDropDownIndent(3);
    b->SetRepeatedClick(true);
    b->SetEnterColor(clRed);
    b->SetCaption("Vai");
    TBitmap glyph;
    SmallGlyph(&glyph);
    b->SetGlyph(&glyph);
    b->FontFX()->SetAngle(90);
    const std::string text = WriteFormText(form_);
    EXPECT_NE(ObjectText(text, "Tool").find("Style = ubsFlat"), std::string::npos) << text;
    EXPECT_NE(ObjectText(text, "Tool").find("DropDownMenu = Menu1"), std::string::npos) << text;

    form_->SetName("Old");
    TOwned<TComponent> copy(ReadFormText(text));
    auto* read = dynamic_cast<TOBLSpeedButton*>(copy->FindComponent("Tool"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Style(), ubsFlat);
    EXPECT_EQ(read->GroupIndex(), 4);
    EXPECT_TRUE(read->AllowAllUp());
    EXPECT_TRUE(read->Pressed());
    EXPECT_EQ(read->DropDownMenu(), copy->FindComponent("Menu1"));
    EXPECT_TRUE(read->DropDownCombo());
    EXPECT_TRUE(read->ComboArrow()) << "worked out again once loaded";
    EXPECT_EQ(read->Width(), b->Width()) << "loading does not widen it twice";
    EXPECT_EQ(read->DropDownIndent(), 3);
    EXPECT_TRUE(read->RepeatedClick());
    EXPECT_EQ(read->EnterColor(), clRed);
    EXPECT_EQ(read->Caption(), "Vai");
    EXPECT_EQ(read->Glyph()->Width(), 10);
    EXPECT_EQ(read->FontFX()->Angle(), 90);
}

} // namespace

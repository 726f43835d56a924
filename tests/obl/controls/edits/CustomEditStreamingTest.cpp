// The single-line edit through a form description and back: its published settings return,
// and an edit at its defaults writes none of them.
#include "CustomEditFixture.h"

#include <vector>

namespace {

class CustomEditStreamingTest : public CustomEditFixture {
protected:
    void SetUp() override
    {
        CustomEditFixture::SetUp();
        RegisterClass(TForm::StaticClass());
        RegisterClass(TOBLCustomEdit::StaticClass());
        form_->SetName("Host");
    }
    void TearDown() override
    {
        UnRegisterClass(TOBLCustomEdit::StaticClass());
        CustomEditFixture::TearDown();
    }
    static std::string Write(TComponent* root)
    {
        TStringStream s;
        s.WriteComponent(root);
        return s.DataString().c_str();
    }
};

TEST_F(CustomEditStreamingTest, ADefaultEditWritesNoneOfItsSettings)
{
    auto* e = Add<TOBLCustomEdit>(8, 9);
    e->SetName("Plain");
    const std::string text = Write(form_);
    for (const char* name : {"CharCase", "MaxLength", "HideSelection", "AutoSelect", "OEMConvert", "ParentFont",
                             "Font.Height"})
        EXPECT_EQ(text.find(name), std::string::npos) << name << "\n" << text;
}

TEST_F(CustomEditStreamingTest, ThePublishedSettingsComeBack)
{
    auto* e = Add<TOBLCustomEdit>(8, 9);
    e->SetName("Edit1");
    e->SetCharCase(ecUpperCase);
    e->Font3D()->SetStyle(tdRaised);
    e->Font3D()->SetTracing(2);
    e->SetMaxLength(12);
    e->SetBoolean(0, false);
    e->SetBoolean(4, true);
    e->SetBoolean(5, true);
    e->Font()->SetHeight(-17);
    e->SetHighlightBack(clGreen);
    const std::string text = Write(form_);
    EXPECT_NE(text.find("ParentFont = False"), std::string::npos) << text;

    TStringStream in{AnsiString(text.c_str())};
    form_->SetName("Old");
    TOwned<TComponent> copy(in.ReadComponent(nullptr));
    auto* read = dynamic_cast<TOBLCustomEdit*>(copy->FindComponent("Edit1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->CharCase(), ecUpperCase);
    EXPECT_EQ(read->Font3D()->Style(), tdRaised);
    EXPECT_EQ(read->Font3D()->Tracing(), 2);
    EXPECT_EQ(read->MaxLength(), 12);
    EXPECT_FALSE(read->HideSelection());
    EXPECT_TRUE(read->AutoSelect());
    EXPECT_TRUE(read->OEMConvert());
    EXPECT_FALSE(read->ParentFont());
    EXPECT_EQ(read->Font()->Height(), -17);
    EXPECT_EQ(read->HighlightBack(), clGreen);
    EXPECT_EQ(V(read->BoundsRect()), V(e->BoundsRect()));
}

} // namespace

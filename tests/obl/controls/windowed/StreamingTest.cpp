// Windowed controls and their bevels through a form description and back: what differs
// from the defaults is written, nothing else; the bevel's kind is always written.
#include "WindowedFixture.h"

#include "tests/support/FormText.h"

namespace {

class StreamingTest : public FormRoundTrip<WindowedFixture> {
protected:
    void SetUp() override
    {
        FormRoundTrip::SetUp();
        RegisterClass(TProbeWindowed::StaticClass());
        RegisterClass(TBevelledWindowed::StaticClass());
    }
    void TearDown() override
    {
        UnRegisterClass(TBevelledWindowed::StaticClass());
        UnRegisterClass(TProbeWindowed::StaticClass());
        FormRoundTrip::TearDown();
    }
};

TEST_F(StreamingTest, DefaultsAreNotWritten)
{
    auto* c = AddWindowed<TBevelledWindowed>(8, 9);
    c->SetName("Plain");
    const std::string text = ObjectText(WriteFormText(form_), "Plain");
    ASSERT_FALSE(text.empty());
    for (const char* name : {"Transparent", "Flat", "CtlXP", "ImageIndex", "ListIndex", "About", "ImageList",
                             "StyleInner", "WidthOuter", "BorderColor", "BorderSides", "EdgeStyle",
                             "StandardStyle", "TabStop"})
        EXPECT_EQ(text.find(name), std::string::npos) << name << "\n" << text;
    EXPECT_NE(text.find("Width = 100"), std::string::npos) << text;
    EXPECT_NE(text.find("Bevel.Mode = bmCustom"), std::string::npos) << "the kind is always written\n" << text;
}

TEST_F(StreamingTest, ChangedSettingsComeBack)
{
    auto* c = AddWindowed<TBevelledWindowed>(8, 9);
    c->SetName("Framed");
    c->SetTransparent(true);
    c->SetFlat(true);
    c->SetCtlXP(false);
    c->SetIndex(0, 3);
    c->SetIndex(1, 2);
    c->BackFX()->SetBool(2, true);
    TOBLBevel* bevel = c->Bevel();
    bevel->SetMode(bmEdge);
    bevel->SetEdgeStyle(etBump);
    bevel->SetBorderSides(TOBLFrameSides{fsLeft, fsTop});
    bevel->SetBevelStyleOuter(bvShadow);
    bevel->SetBevelWidthOuter(5);
    bevel->SetBorderSpace(4);
    bevel->SetColor(2, clNavy);
    bevel->SetStyle(lsDoubleRaised);
    const std::string text = WriteFormText(form_);
    auto* read = ReadBack<TBevelledWindowed>(text, "Framed");
    ASSERT_NE(read, nullptr) << text;
    EXPECT_TRUE(read->Transparent());
    EXPECT_TRUE(read->Flat());
    EXPECT_FALSE(read->CtlXP());
    EXPECT_EQ(read->ImageIndex(), 3);
    EXPECT_EQ(read->ListIndex(), 2);
    EXPECT_TRUE(read->BackFX()->GrayScale());
    TOBLBevel* b = read->Bevel();
    EXPECT_EQ(b->Mode(), bmEdge);
    EXPECT_EQ(b->EdgeStyle(), etBump);
    EXPECT_TRUE(b->BorderSides() == (TOBLFrameSides{fsLeft, fsTop}));
    EXPECT_EQ(b->StyleOuter(), bvShadow);
    EXPECT_EQ(b->StyleInner(), bvShadow);
    EXPECT_EQ(b->WidthOuter(), 5);
    EXPECT_EQ(b->BorderInnerWidth(), 4);
    EXPECT_EQ(b->ShadowColor(), clNavy);
    EXPECT_EQ(b->StandardStyle(), lsDoubleRaised);
    EXPECT_EQ(b->Ext(), bevel->Ext());
}

} // namespace

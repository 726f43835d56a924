// The scroll box through a form description and back: what it publishes and differs from
// the defaults is written, its children with it, and reading gives the same box again.
#include "ScrollBoxFixture.h"

#include "platform/classlib/Classes.h"

namespace {

class TScrollHost : public TForm {
    VENDARO_CLASS(TScrollHost, TForm)
public:
    explicit TScrollHost(TComponent* owner) : TForm(owner) {}
    void BoxScroll(TObject*) {}
    static void Publish(TClassBuilder<TScrollHost>& c) { c.Method("BoxScroll", &TScrollHost::BoxScroll); }
};

class ScrollBoxStreaming : public ScrollBoxFixture {
protected:
    void SetUp() override
    {
        ScrollBoxFixture::SetUp();
        RegisterClass(TScrollHost::StaticClass());
        RegisterClass(TOBLCustomScrollBox::StaticClass());
        if (!GetClass("TEdit")) RegisterClass(TEdit::StaticClass());
    }
    void TearDown() override
    {
        copy_.reset();
        host_.reset();
        UnRegisterClass(TOBLCustomScrollBox::StaticClass());
        UnRegisterClass(TScrollHost::StaticClass());
        ScrollBoxFixture::TearDown();
    }
    static std::string Write(TComponent* root)
    {
        TStringStream s;
        s.WriteComponent(root);
        return s.DataString().c_str();
    }
    TOBLCustomScrollBox* NewBox(const char* name)
    {
        auto* box = new TOBLCustomScrollBox(host_.get());
        box->SetName(name);
        box->SetParent(host_.get());
        box->SetBounds(8, 8, 200, 100);
        return box;
    }

    TOwned<TScrollHost> host_{new TScrollHost(nullptr)};
    TOwned<TComponent> copy_;
};

TEST_F(ScrollBoxStreaming, OnlyWhatDiffersIsWrittenAndReadsBackTheSame)
{
    host_->SetName("Host");
    TOBLCustomScrollBox* plain = NewBox("Plain");
    TOBLCustomScrollBox* box = NewBox("Box1");
    box->SetSaveResources(true);
    box->SetCtl3D(false);
    box->SetOnScroll(TNotifyEvent(host_.get(), &TScrollHost::BoxScroll));
    auto* edit = new TEdit(host_.get());
    edit->SetName("Edit1");
    edit->SetParent(box);
    edit->SetTop(150);
    const std::string text = Write(host_.get());

    const std::size_t at = text.find("object Box1: TOBLCustomScrollBox");
    ASSERT_NE(at, std::string::npos) << text;
    const std::string boxText = text.substr(at);
    for (const char* expected : {"SaveResources = True", "Ctl3D = False", "OnScroll = BoxScroll", "object Edit1: TEdit"})
        EXPECT_NE(boxText.find(expected), std::string::npos) << expected << "\n" << text;
    const std::string plainText = text.substr(text.find("object Plain:"), at - text.find("object Plain:"));
    for (const char* absent : {"BorderStyle", "About", "Ctl3D", "ParentCtl3D", "SaveResources", "OnScroll", "Bevel"})
        EXPECT_EQ(plainText.find(absent), std::string::npos) << absent << "\n" << plainText;

    host_->SetName("Old");
    TStringStream in{AnsiString(text.c_str())};
    copy_.reset(in.ReadComponent(nullptr));
    auto* read = dynamic_cast<TOBLCustomScrollBox*>(copy_->FindComponent("Box1"));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->SaveResources());
    EXPECT_FALSE(read->Ctl3D());
    EXPECT_FALSE(read->ParentCtl3D());
    EXPECT_EQ(read->OnScroll().Data(), copy_.get());
    EXPECT_EQ(read->BorderStyle(), bsNone);
    EXPECT_EQ(read->Bevel()->Mode(), bmWindows);
    auto* readEdit = dynamic_cast<TEdit*>(copy_->FindComponent("Edit1"));
    ASSERT_NE(readEdit, nullptr);
    EXPECT_EQ(readEdit->Parent(), read);
    // Read while loading, the box made no window for its children.
    EXPECT_FALSE(readEdit->HandleAllocated());
    EXPECT_FALSE(plain->SaveResources());
    copy_->SetName("Host");
    EXPECT_EQ(Write(copy_.get()), text);
}

TEST_F(ScrollBoxStreaming, TheBevelKeepsTheWindowsKindUnlessToldOtherwise)
{
    TOBLScrollBoxBevel bevel;
    EXPECT_EQ(bevel.Mode(), bmWindows);
    EXPECT_TRUE(bevel.WindowsSupport());
    EXPECT_EQ(bevel.Ext(), 0);
    PPropInfo mode = GetPropInfo(TOBLScrollBoxBevel::StaticClass(), "Mode");
    ASSERT_NE(mode, nullptr);
    EXPECT_TRUE(mode->HasDefault);
    EXPECT_EQ(mode->Default, static_cast<std::int64_t>(bmWindows));
    // The plain bevel stores its kind always.
    EXPECT_FALSE(GetPropInfo(TOBLBevel::StaticClass(), "Mode")->HasDefault);
}

} // namespace

// Gradient, fill, alpha and effect settings through a form description and back.
#include "obl/controls/effects/OBLBitmapEffectObject.h"
#include "obl/controls/effects/OBLFillObject.h"
#include "obl/controls/effects/OBLGradient.h"
#include "obl/core/draw/Oblutils.h"
#include "PixelFixture.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include "platform/rtl/FormatSettings.h"
#include "tests/support/FormText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class TFillHost : public TComponent {
    VENDARO_CLASS(TFillHost, TComponent)
public:
    explicit TFillHost(TComponent* owner)
        : TComponent(owner), gradient_(new TOBLGradient), fill_(new TOBLFillObject), effects_(new TOBLBitmapEffectObject)
    {
    }

    TOBLGradient* Gradient() const { return gradient_.get(); }
    void SetGradient(TOBLGradient* v) { gradient_->Assign(v); }
    TOBLFillObject* Fill() const { return fill_.get(); }
    void SetFill(TOBLFillObject* v) { fill_->Assign(v); }
    TOBLBitmapEffectObject* Effects() const { return effects_.get(); }
    void SetEffects(TOBLBitmapEffectObject* v) { effects_->Assign(v); }
    TOBLAlphaObject* Alpha() const { return effects_->AlphaBlend(); }

    // As a form does: it stores the components it owns.
    void GetChildren(TGetChildProc Proc, TComponent* Root) override
    {
        for (int i = 0; i < ComponentCount(); ++i)
            Proc(Components(i));
    }

    static void Publish(TClassBuilder<TFillHost>& c)
    {
        c.Property("Gradient", &TFillHost::Gradient, &TFillHost::SetGradient);
        c.Property("Fill", &TFillHost::Fill, &TFillHost::SetFill);
        c.Property("Effects", &TFillHost::Effects, &TFillHost::SetEffects);
    }

private:
    TOwned<TOBLGradient> gradient_;
    TOwned<TOBLFillObject> fill_;
    TOwned<TOBLBitmapEffectObject> effects_;
};

std::vector<TColor> Colors(TList* list)
{
    std::vector<TColor> result;
    for (int i = 0; i < list->Count(); ++i)
        result.push_back(OBLGradientColorAt(list, i));
    return result;
}

void AddColor(TList* list, TColor c) { list->Add(reinterpret_cast<void*>(static_cast<std::intptr_t>(c))); }

TOwned<TFillHost> Read(const std::string& text)
{
    return TOwned<TFillHost>(static_cast<TFillHost*>(ReadFormText(text)));
}

class Streaming : public testing::Test {
protected:
    void SetUp() override
    {
        oblcontInitialization();
        RegisterClasses({TFillHost::StaticClass(), TOBLBitmapList::StaticClass()});
    }
    void TearDown() override
    {
        UnRegisterClass(TFillHost::StaticClass());
        UnRegisterClass(TOBLBitmapList::StaticClass());
        oblcontFinalization();
    }
};

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(Streaming, DefaultsWriteNothing)
{
    TFillHost host(nullptr);
    host.SetName("Host");
    std::string text = WriteFormText(&host);
    EXPECT_EQ(text.find("Gradient."), std::string::npos) << text;
    EXPECT_EQ(text.find("ColorList"), std::string::npos) << text;
    EXPECT_EQ(text.find("Fill."), std::string::npos) << text;
    EXPECT_EQ(text.find("Strength"), std::string::npos) << text;
}

TEST_F(Streaming, AlphaStrengthIsWrittenUnlessItIsTheDefault)
{
    // 0 is a setting of its own here: the default is 0.6.
    struct Case {
        float strength;
        const char* line;  // nullptr: not written
    };
    for (const Case& c : {Case{0.6f, nullptr}, Case{0.0f, "Effects.AlphaBlend.Strength = 0.0\r\n"},
                          Case{1.0f, "Effects.AlphaBlend.Strength = 1.0\r\n"}}) {
        SCOPED_TRACE(c.strength);
        TFillHost host(nullptr);
        host.SetName("Host");
        host.Alpha()->SetStrength(c.strength);
        std::string text = WriteFormText(&host);
        if (c.line)
            EXPECT_TRUE(Has(text, c.line)) << text;
        else
            EXPECT_FALSE(Has(text, "Strength")) << text;
        TOwned<TFillHost> back = Read(text);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->Alpha()->Strength(), c.strength);
    }
}

TEST_F(Streaming, SettingsComeBackAsTheyWere)
{
    TFillHost host(nullptr);
    host.SetName("Host");
    TOBLGradient* g = host.Gradient();
    g->SetStyle(gstElliptic);
    g->SetColorCount(24);
    g->SetColor(clRed);
    g->SetEndColor(static_cast<TColor>(RGB(1, 2, 3)));
    g->SetTwoColors(false);
    TList colors;
    AddColor(&colors, clRed);
    AddColor(&colors, static_cast<TColor>(RGB(10, 20, 30)));
    AddColor(&colors, clWhite);
    g->SetColors(&colors);
    TOBLFillObject* f = host.Fill();
    f->SetFillStyle(sfGradient);
    f->SetTileMode(tmCenter);
    f->SetAlignment(agBottomCenter);
    f->SetInteger(1, -4);
    f->SetOptions({foQuickDraw});
    f->Brush()->SetStyle(bsDiagCross);
    f->Gradient()->SetStyle(gstTopRight);
    TOBLBitmapEffectObject* e = host.Effects();
    e->SetBool(0, true);
    e->SetBool(3, true);
    e->SetBrightness(-40);
    e->AlphaBlend()->SetStrength(0.25f);
    e->AlphaBlend()->FillObject()->SetFillStyle(sfBrush);

    std::string text = WriteFormText(&host);
    EXPECT_NE(text.find("Gradient.ColorList = ("), std::string::npos) << text;
    TOwned<TFillHost> back = Read(text);
    ASSERT_TRUE(back);
    TOBLGradient* g2 = back->Gradient();
    EXPECT_EQ(g2->Style(), gstElliptic);
    EXPECT_EQ(g2->ColorCount(), 24);
    EXPECT_EQ(g2->Color(), clRed);
    EXPECT_EQ(g2->EndColor(), static_cast<TColor>(RGB(1, 2, 3)));
    EXPECT_FALSE(g2->TwoColors());
    EXPECT_EQ(Colors(g2->Colors()), Colors(g->Colors()));
    EXPECT_EQ(Colors(g2->ColorList()), Colors(g->ColorList()));
    TOBLFillObject* f2 = back->Fill();
    EXPECT_EQ(f2->Style(), sfGradient);
    EXPECT_EQ(f2->TileMode(), tmCenter);
    EXPECT_EQ(f2->Alignment(), agBottomCenter);
    EXPECT_EQ(f2->OffsetY(), -4);
    EXPECT_EQ(f2->Options(), TOBLFillOptions{foQuickDraw});
    EXPECT_EQ(f2->Brush()->Style(), bsDiagCross);
    EXPECT_EQ(f2->Gradient()->Style(), gstTopRight);
    TOBLBitmapEffectObject* e2 = back->Effects();
    EXPECT_TRUE(e2->FlipVertical());
    EXPECT_TRUE(e2->Invert());
    EXPECT_FALSE(e2->GrayScale());
    EXPECT_EQ(e2->Brightness(), -40);
    EXPECT_FLOAT_EQ(e2->AlphaBlend()->Strength(), 0.25f);
    EXPECT_EQ(e2->AlphaBlend()->FillObject()->Style(), sfBrush);
    EXPECT_EQ(WriteFormText(back.get()), text) << "written again, the same text";
}

TEST_F(Streaming, FillObjectWritesItsStyleAgainstItsOwnDefault)
{
    TFillHost host(nullptr);
    host.SetName("Host");
    host.Fill()->SetFillStyle(sfBrush);
    std::string text = WriteFormText(&host);
    EXPECT_NE(text.find("Fill.Style = sfBrush"), std::string::npos) << text;
    EXPECT_EQ(Read(text)->Fill()->Style(), sfBrush);
}

TEST_F(Streaming, ReadingColorListReplacesTheColoursWithOneChange)
{
    TFillHost host(nullptr);
    TList start;
    AddColor(&start, 1);
    AddColor(&start, 2);
    AddColor(&start, 3);
    host.Gradient()->SetColors(&start);
    ChangeCounter counter(*host.Gradient());
    TStringStream s("object Host: TFillHost\n  Gradient.ColorList = (\n    255\n    65280)\nend\n");
    TReader reader(&s);
    reader.ReadRootComponent(&host);
    EXPECT_EQ(Colors(host.Gradient()->Colors()), (std::vector<TColor>{255, 65280}));
    EXPECT_EQ(counter.count, 1);
}

TEST_F(Streaming, DamagedColorListIsAReadErrorAndKeepsTheColours)
{
    for (const char* text : {"object Host: TFillHost\n  Gradient.ColorList = (\n    255\n    'red')\nend\n",
                             "object Host: TFillHost\n  Gradient.ColorList = (\n    255\n",
                             "object Host: TFillHost\n  Gradient.ColorList = 12\nend\n"}) {
        SCOPED_TRACE(text);
        TFillHost host(nullptr);
        TList start;
        AddColor(&start, 7);
        AddColor(&start, 8);
        host.Gradient()->SetColors(&start);
        TStringStream s(text);
        TReader reader(&s);
        EXPECT_THROW(reader.ReadRootComponent(&host), EReadError);
        EXPECT_EQ(Colors(host.Gradient()->Colors()), (std::vector<TColor>{7, 8}));
    }
}

TEST_F(Streaming, AlphaImageListOnTheFormIsAReference)
{
    TFillHost host(nullptr);
    host.SetName("Host");
    auto* pictures = new TOBLBitmapList(&host);
    pictures->SetName("Pictures");
    pictures->Add(nullptr);
    pictures->Items(0)->SetBitmap(Solid24(2, 2, 1, 2, 3).get());
    host.Alpha()->SetImageList(pictures);
    host.Alpha()->SetStrength(0.25f);
    // The form text is the same whatever the decimal separator of the settings.
    TFormatSettings comma;
    comma.DecimalSeparator = ',';
    TFormatSettingsOverride local(comma);

    std::string text = WriteFormText(&host);
    EXPECT_TRUE(Has(text, "Effects.AlphaBlend.ImageList = Pictures\r\n")) << text;
    EXPECT_TRUE(Has(text, "Effects.AlphaBlend.Strength = 0.25\r\n")) << text;
    EXPECT_FALSE(Has(text, "AlphaBlend.Internal")) << text;
    TOwned<TFillHost> back = Read(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Alpha()->ImageList(), back->FindComponent("Pictures"));
    EXPECT_FLOAT_EQ(back->Alpha()->Strength(), 0.25f);
    EXPECT_EQ(Bytes(back->Alpha()->FillObject()->ListBitmap()), Bytes(pictures->Items(0)->GetBitmap()))
        << "the picture is taken once the reference is resolved";
    EXPECT_EQ(WriteFormText(back.get()), text);
}

TEST_F(Streaming, AlphaImageListOfTheGlobalContainerIsInternal)
{
    struct Case {
        TOBLCustomImageList* list;
        const char* ident;
    };
    for (const Case& c : {Case{OBLContainer->BitmapList(), "OBLBML30"}, Case{OBLContainer->ImageList(), "OBLIML30"}}) {
        SCOPED_TRACE(c.ident);
        TFillHost host(nullptr);
        host.SetName("Host");
        host.Alpha()->SetImageList(c.list);
        EXPECT_FALSE(host.Alpha()->HasControl());
        std::string text = WriteFormText(&host);
        EXPECT_TRUE(Has(text, std::string("Effects.AlphaBlend.Internal = '") + c.ident + "'")) << text;
        EXPECT_FALSE(Has(text, "ImageList")) << text;
        TOwned<TFillHost> back = Read(text);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->Alpha()->ImageList(), c.list);
        EXPECT_EQ(c.list->LinkCount(), 2);
    }
    EXPECT_EQ(OBLContainer->BitmapList()->LinkCount(), 0);
    EXPECT_EQ(OBLContainer->ImageList()->LinkCount(), 0);
}

} // namespace

#include "obl/controls/shapes/OBLShape.h"
#include "obl/controls/shapes/OBLTeeth.h"
#include "tests/obl/core/draw/ChangeCounter.h"
#include "tests/support/FormText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ShapeSettings, ShadowSummaries)
{
    TOBLShadow shadow;
    EXPECT_EQ(shadow.GetSetStr(), "{solid, 6}");
    shadow.SetStyle(hssTracing);
    shadow.SetDepth(12);
    EXPECT_EQ(shadow.GetSetStr(), "{tracing, 12}");
    shadow.SetStyle(hssNone);
    EXPECT_EQ(shadow.GetSetStr(), "{Disabled}");
    shadow.SetDepth(99);
    EXPECT_EQ(shadow.Depth(), 40);
}

TEST(ShapeSettings, BevelIndexedColoursAndSummary)
{
    TOBLSimpleBevel bevel;
    ChangeCounter changes(bevel);
    bevel.SetColor(2, clRed);
    EXPECT_EQ(bevel.Color(), clRed);
    EXPECT_EQ(bevel.LightColor(), clBtnHighlight);
    bevel.SetColor(0, clBlue);
    bevel.SetColor(1, clGreen);
    EXPECT_EQ(bevel.LightColor(), clBlue);
    EXPECT_EQ(bevel.ShadowColor(), clGreen);
    EXPECT_EQ(changes.count, 3);
    bevel.SetColor(1, clGreen); // unchanged: no notification
    EXPECT_EQ(changes.count, 3);
    bevel.SetColor(7, clGreen); // unknown index only notifies
    EXPECT_EQ(changes.count, 4);
    EXPECT_EQ(bevel.GetSetStr(), "{Normal}");
    bevel.SetStyle(sbOffset);
    EXPECT_EQ(bevel.GetSetStr(), "{Offset}");
}

TEST(ShapeSettings, TeethIndexedSetters)
{
    TOBLTeeth teeth;
    ChangeCounter changes(teeth);
    teeth.SetBoolean(0, false);
    teeth.SetBoolean(1, false);
    teeth.SetInteger(0, 7);
    teeth.SetInteger(1, 9);
    EXPECT_FALSE(teeth.Offset());
    EXPECT_FALSE(teeth.SetPerCount());
    EXPECT_EQ(teeth.Width(), 7);
    EXPECT_EQ(teeth.Height(), 9);
    EXPECT_EQ(changes.count, 4);
    teeth.SetInteger(0, 7);
    EXPECT_EQ(changes.count, 4);
}

TEST(ShapeSettings, AssignCopiesOnceAndSelfIsNoOp)
{
    TOBLTeeth source;
    source.SetCount(3);
    source.SetDirection(tdUp);
    source.SetInteger(1, 5);
    TOBLTeeth teeth;
    ChangeCounter changes(teeth);
    teeth.Assign(&source);
    EXPECT_EQ(teeth.Count(), 3);
    EXPECT_EQ(teeth.Direction(), tdUp);
    EXPECT_EQ(teeth.Height(), 5);
    EXPECT_EQ(changes.count, 1);
    teeth.Assign(&teeth);
    EXPECT_EQ(changes.count, 1);

    TOBLShadow shadow;
    EXPECT_NO_THROW(shadow.Assign(&shadow));
    TOBLSimpleBevel bevel;
    EXPECT_NO_THROW(bevel.Assign(&bevel));
    EXPECT_THROW(shadow.Assign(&bevel), EConvertError);
}

TEST(ShapeSettings, ShapeKeepsItsOwnObjectsAndPassesChangesOn)
{
    TOBLShape shape;
    ChangeCounter changes(shape);
    TOBLShadow* own = shape.Shadow();
    TOBLShadow given;
    given.SetDepth(20);
    given.SetColor(clNavy);
    shape.SetShadow(&given);
    EXPECT_EQ(shape.Shadow(), own);
    EXPECT_EQ(own->Depth(), 20);
    EXPECT_EQ(own->Color(), clNavy);
    EXPECT_EQ(changes.count, 1);
    shape.Bevel()->SetWidth(4);
    shape.Brush()->SetColor(clRed);
    EXPECT_EQ(changes.count, 3);
    EXPECT_EQ(shape.RoundPercent(), 33);
    EXPECT_EQ(shape.Shape(), stRectangle);
}

TEST(ShapeSettings, ShapeHasNoAssignOfItsOwn)
{
    TOBLShape a, b;
    EXPECT_THROW(a.Assign(&b), EConvertError);
}

// A component that publishes a shape and a toothed edge, as a shape control does.
class TShapeHost : public TComponent {
    VENDARO_CLASS(TShapeHost, TComponent)
public:
    explicit TShapeHost(TComponent* owner) : TComponent(owner) {}

    TOBLShape* Shape() const { return shape_.get(); }
    void SetShape(TOBLShape* v) { shape_->Assign(v); }
    TOBLTeeth* Teeth() const { return teeth_.get(); }
    void SetTeeth(TOBLTeeth* v) { teeth_->Assign(v); }

    static void Publish(TClassBuilder<TShapeHost>& c)
    {
        c.Property("Shape", &TShapeHost::Shape, &TShapeHost::SetShape);
        c.Property("Teeth", &TShapeHost::Teeth, &TShapeHost::SetTeeth);
    }

private:
    TOwned<TOBLShape> shape_{new TOBLShape};
    TOwned<TOBLTeeth> teeth_{new TOBLTeeth};
};

TEST(ShapeSettings, EverySettingTravelsThroughAFormDescription)
{
    RegisterClass(TShapeHost::StaticClass());
    TShapeHost host(nullptr);
    host.SetName("Host");
    EXPECT_EQ(WriteFormText(&host), "object Host: TShapeHost\r\nend\r\n") << "the defaults write nothing";

    TOBLShape* shape = host.Shape();
    shape->SetShape(stStar);
    shape->SetRoundPercent(50);
    shape->SetSquare(true);
    shape->Brush()->SetColor(clYellow);
    shape->Shadow()->SetDepth(9);
    shape->Bevel()->SetColor(2, clMaroon);
    shape->Bevel()->SetColor(0, clAqua);
    shape->Bevel()->SetColor(1, clNavy);
    shape->Bevel()->SetWidth(5);
    shape->Bevel()->SetStyle(sbInset);
    TOBLTeeth* teeth = host.Teeth();
    teeth->SetCount(7);
    teeth->SetDirection(tdUp);
    teeth->SetInteger(0, 12);
    teeth->SetInteger(1, 4);
    teeth->SetBoolean(0, false);
    teeth->SetBoolean(1, false);
    const std::string text = WriteFormText(&host);
    for (const char* line : {"Shape.Bevel.Color = ", "Shape.Bevel.Width = 5", "Shape.Bevel.Style = sbInset",
                             "Shape.Bevel.LightColor = ", "Shape.Bevel.ShadowColor = ",
                             "Shape.Brush.Color = ", "Shape.RoundPercent = 50", "Shape.Shadow.Depth = 9",
                             "Shape.Shape = stStar", "Shape.Square = True", "Teeth.Count = 7", "Teeth.Direction = tdUp",
                             "Teeth.Height = 4", "Teeth.Offset = False", "Teeth.SetPerCount = False",
                             "Teeth.Width = 12"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;

    TOwned<TComponent> read(ReadFormText(text));
    auto* back = dynamic_cast<TShapeHost*>(read.get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Shape()->Shape(), stStar);
    EXPECT_EQ(back->Shape()->RoundPercent(), 50);
    EXPECT_TRUE(back->Shape()->Square());
    EXPECT_EQ(back->Shape()->Brush()->Color(), clYellow);
    EXPECT_EQ(back->Shape()->Shadow()->Depth(), 9);
    EXPECT_EQ(back->Shape()->Bevel()->Color(), clMaroon);
    EXPECT_EQ(back->Shape()->Bevel()->LightColor(), clAqua);
    EXPECT_EQ(back->Shape()->Bevel()->ShadowColor(), clNavy);
    EXPECT_EQ(back->Shape()->Bevel()->Width(), 5);
    EXPECT_EQ(back->Shape()->Bevel()->Style(), sbInset);
    EXPECT_EQ(back->Teeth()->Count(), 7);
    EXPECT_EQ(back->Teeth()->Direction(), tdUp);
    EXPECT_EQ(back->Teeth()->Width(), 12);
    EXPECT_EQ(back->Teeth()->Height(), 4);
    EXPECT_FALSE(back->Teeth()->Offset());
    EXPECT_FALSE(back->Teeth()->SetPerCount());
    EXPECT_EQ(WriteFormText(back), text);
    read.reset();
    UnRegisterClass(TShapeHost::StaticClass());
}

} // namespace

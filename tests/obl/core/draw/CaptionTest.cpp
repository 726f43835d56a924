#include "obl/core/draw/OBL3DCaption.h"
#include "obl/core/draw/OBLFXCaption.h"
#include "platform/rtl/Exceptions.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

TEST(ThreeDCaption, StartsWithTheDefaults)
{
    TOBL3DCaption c;
    EXPECT_EQ(c.DisabledStyle(), dsAuto);
    EXPECT_EQ(c.LightDepth(), 1);
    EXPECT_EQ(c.ShadowDepth(), 1);
    EXPECT_EQ(c.LightColor(), static_cast<TColor>(0x80000014));
    EXPECT_EQ(c.ShadowColor(), static_cast<TColor>(0x80000010));
    EXPECT_EQ(c.Style(), tdNone);
    EXPECT_EQ(c.Orientation(), toTopLeft);
    EXPECT_EQ(c.Tracing(), 0);
}

struct SetterCase {
    const char* name;
    std::function<void(TOBL3DCaption&)> set;
    std::function<bool(const TOBL3DCaption&)> holds;
};

TEST(ThreeDCaption, SettersStoreAndNotifyOnlyOnAChange)
{
    const std::vector<SetterCase> cases = {
        {"DisabledStyle", [](auto& c) { c.SetDisabledStyle(ds3d); }, [](auto& c) { return c.DisabledStyle() == ds3d; }},
        {"LightDepth", [](auto& c) { c.SetDepth(0, 4); }, [](auto& c) { return c.LightDepth() == 4 && c.ShadowDepth() == 1; }},
        {"ShadowDepth", [](auto& c) { c.SetDepth(1, 5); }, [](auto& c) { return c.ShadowDepth() == 5 && c.LightDepth() == 1; }},
        {"LightColor", [](auto& c) { c.SetColor(0, clRed); }, [](auto& c) { return c.LightColor() == clRed; }},
        {"ShadowColor", [](auto& c) { c.SetColor(1, clBlue); }, [](auto& c) { return c.ShadowColor() == clBlue; }},
        {"Style", [](auto& c) { c.SetStyle(tdOutline); }, [](auto& c) { return c.Style() == tdOutline; }},
        {"Orientation", [](auto& c) { c.SetOrientation(toBottomRight); }, [](auto& c) { return c.Orientation() == toBottomRight; }},
        {"Tracing", [](auto& c) { c.SetTracing(-3); }, [](auto& c) { return c.Tracing() == -3; }},
    };
    for (const SetterCase& k : cases) {
        SCOPED_TRACE(k.name);
        TOBL3DCaption c;
        ChangeCounter changes(c);
        k.set(c);
        EXPECT_TRUE(k.holds(c));
        EXPECT_EQ(changes.count, 1);
        EXPECT_EQ(changes.lastSender, &c);
        k.set(c);  // the same value again
        EXPECT_EQ(changes.count, 1);
    }
}

TEST(ThreeDCaption, EqualDefaultValueDoesNotNotify)
{
    TOBL3DCaption c;
    ChangeCounter changes(c);
    c.SetDepth(0, 1);
    c.SetColor(1, clBtnShadow);
    c.SetStyle(tdNone);
    EXPECT_EQ(changes.count, 0);
}

TEST(ThreeDCaption, AssignCopiesTheEffectButNotTheOrientation)
{
    TOBL3DCaption source;
    source.SetDisabledStyle(dsNone);
    source.SetDepth(0, 3);
    source.SetDepth(1, 7);
    source.SetColor(0, clYellow);
    source.SetColor(1, clGreen);
    source.SetStyle(tdExtrudeEnh);
    source.SetOrientation(toBottomLeft);
    source.SetTracing(2);

    TOBL3DCaption target;
    target.SetOrientation(toTopRight);
    ChangeCounter changes(target);
    target.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(target.DisabledStyle(), dsNone);
    EXPECT_EQ(target.LightDepth(), 3);
    EXPECT_EQ(target.ShadowDepth(), 7);
    EXPECT_EQ(target.LightColor(), clYellow);
    EXPECT_EQ(target.ShadowColor(), clGreen);
    EXPECT_EQ(target.Style(), tdExtrudeEnh);
    EXPECT_EQ(target.Tracing(), 2);
    EXPECT_EQ(target.Orientation(), toTopRight);
}

TEST(ThreeDCaption, AssignToItselfDoesNothingAndForeignSourcesRaise)
{
    TOBL3DCaption c;
    ChangeCounter changes(c);
    c.Assign(&c);
    EXPECT_EQ(changes.count, 0);
    TOBLObject other;
    EXPECT_THROW(c.Assign(&other), EConvertError);
    EXPECT_EQ(changes.count, 0);
}

TEST(ThreeDCaption, SummaryNamesTheEffect)
{
    const std::pair<TOBLThreeDStyle, const char*> cases[] = {
        {tdNone, "{Disabled}"}, {tdSunken, "{sunken}"}, {tdRaised, "{raised}"},
        {tdSunkenShadow, "{sunken shadow}"}, {tdRaisedShadow, "{raised shadow}"},
        {tdPColorSunken, "{PColor sunken}"}, {tdPColorRaised, "{}"}, {tdShadow, "{shadow}"},
        {tdOutline, "{outline}"}, {tdExtrude, "{extrude}"}, {tdExtrudeEnh, "{extrude enh}"},
    };
    for (auto [style, summary] : cases) {
        TOBL3DCaption c;
        c.SetStyle(style);
        EXPECT_EQ(c.GetSetStr(), summary);
    }
}

TEST(ThreeDCaption, PublishesInStreamingOrderWithDefaults)
{
    const TPropList props = GetPropList(TOBL3DCaption::StaticClass());
    const std::pair<const char*, std::int64_t> expected[] = {
        {"DisabledStyle", 0}, {"LightDepth", 1}, {"ShadowDepth", 1}, {"LightColor", clBtnHighlight},
        {"Orientation", 2}, {"ShadowColor", clBtnShadow}, {"Style", 0}, {"Tracing", 0},
    };
    ASSERT_EQ(props.size(), std::size(expected));
    for (size_t i = 0; i < props.size(); ++i) {
        EXPECT_EQ(props[i]->Name, expected[i].first);
        EXPECT_TRUE(props[i]->HasDefault);
        EXPECT_EQ(props[i]->Default, expected[i].second);
    }
}

TEST(ThreeDCaption, PropertyTableReachesTheIndexedSetters)
{
    TOBL3DCaption c;
    SetOrdProp(&c, GetPropInfo(&c, "ShadowDepth"), 9);
    SetOrdProp(&c, GetPropInfo(&c, "LightColor"), clAqua);
    SetEnumProp(&c, GetPropInfo(&c, "Style"), "tdExtrude");
    EXPECT_EQ(c.ShadowDepth(), 9);
    EXPECT_EQ(c.LightDepth(), 1);
    EXPECT_EQ(c.LightColor(), clAqua);
    EXPECT_EQ(c.Style(), tdExtrude);
    EXPECT_EQ(GetEnumProp(&c, GetPropInfo(&c, "Orientation")), "toTopLeft");
}

TEST(FxCaption, AngleOf360IsStoredAsZero)
{
    TOBLFxCaption c;
    ChangeCounter changes(c);
    c.SetAngle(360);
    EXPECT_EQ(c.Angle(), 0);
    EXPECT_EQ(changes.count, 1);
    c.SetAngle(90);
    c.SetAngle(90);
    EXPECT_EQ(c.Angle(), 90);
    EXPECT_EQ(changes.count, 2);
    c.SetAngle(360);
    EXPECT_EQ(c.Angle(), 0);
    EXPECT_EQ(changes.count, 3);
}

TEST(FxCaption, OriginThroughSetPosXYNotifiesNobody)
{
    TOBLFxCaption c;
    ChangeCounter changes(c);
    c.SetPosXY(12, 34);
    EXPECT_EQ(c.PosX(), 12);
    EXPECT_EQ(c.PosY(), 34);
    EXPECT_EQ(changes.count, 0);
    c.SetPos(0, 5);
    EXPECT_EQ(c.PosX(), 5);
    EXPECT_EQ(c.PosY(), 34);
    EXPECT_EQ(changes.count, 1);
    c.SetPos(1, 6);
    EXPECT_EQ(c.PosY(), 6);
    EXPECT_EQ(changes.count, 2);
}

TEST(FxCaption, AssignFromAnFxCaptionCopiesRotationAndOrigin)
{
    TOBLFxCaption source;
    source.SetStyle(tdShadow);
    source.SetAngle(45);
    source.SetPosXY(7, 8);
    source.SetOrientation(toBottomRight);
    TOBLFxCaption target;
    ChangeCounter changes(target);
    target.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(target.Style(), tdShadow);
    EXPECT_EQ(target.Angle(), 45);
    EXPECT_EQ(target.PosX(), 7);
    EXPECT_EQ(target.PosY(), 8);
    EXPECT_EQ(target.Orientation(), toTopLeft);
}

TEST(FxCaption, AssignFromAPlain3DCaptionKeepsRotationAndOrigin)
{
    TOBL3DCaption source;
    source.SetStyle(tdRaised);
    source.SetTracing(4);
    TOBLFxCaption target;
    target.SetAngle(30);
    target.SetPosXY(3, 4);
    ChangeCounter changes(target);
    target.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(target.Style(), tdRaised);
    EXPECT_EQ(target.Tracing(), 4);
    EXPECT_EQ(target.Angle(), 30);
    EXPECT_EQ(target.PosX(), 3);
    EXPECT_EQ(target.PosY(), 4);
}

TEST(FxCaption, AssignToItselfDoesNothing)
{
    TOBLFxCaption c;
    ChangeCounter changes(c);
    c.Assign(&c);
    EXPECT_EQ(changes.count, 0);
}

TEST(FxCaption, SummaryAddsTheRotation)
{
    struct Case {
        TOBLThreeDStyle style;
        TOBLAngle angle;
        const char* summary;
    };
    const Case cases[] = {
        {tdNone, 0, "{Disabled}"},
        {tdSunken, 0, "{sunken}"},
        {tdNone, 90, "{ rot: 90\xB0}"},
        {tdSunken, 45, "{sunken, rot: 45\xB0}"},
        {tdPColorRaised, 180, "{, rot: 180\xB0}"},
        {tdExtrudeEnh, 359, "{extrude enh, rot: 359\xB0}"},
    };
    for (const Case& k : cases) {
        TOBLFxCaption c;
        c.SetStyle(k.style);
        c.SetAngle(k.angle);
        EXPECT_EQ(c.GetSetStr(), k.summary);
    }
}

TEST(FxCaption, PublishesRotationAfterTheEffect)
{
    const TPropList props = GetPropList(TOBLFxCaption::StaticClass());
    ASSERT_EQ(props.size(), 11u);
    EXPECT_EQ(props[7]->Name, "Tracing");
    EXPECT_EQ(props[8]->Name, "Angle");
    EXPECT_EQ(props[9]->Name, "PosX");
    EXPECT_EQ(props[10]->Name, "PosY");
    TOBLFxCaption c;
    SetOrdProp(&c, props[10], 77);
    EXPECT_EQ(c.PosY(), 77);
    EXPECT_EQ(c.PosX(), 0);
}

} // namespace

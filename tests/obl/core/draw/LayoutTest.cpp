#include "obl/core/draw/OBLButtonLayout.h"
#include "obl/core/draw/OBLGlyphTextLayout.h"
#include "platform/rtl/Exceptions.h"
#include "tests/obl/core/draw/ChangeCounter.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

TEST(GlyphTextLayout, StartsTopLeftWithTextRightOfTheGlyph)
{
    TOBLGlyphTextLayout l;
    EXPECT_EQ(l.Alignment(), agTopLeft);
    EXPECT_EQ(l.AlignText2Glyph(), taRight);
    EXPECT_EQ(l.OffsetX(), 0);
    EXPECT_EQ(l.OffsetY(), 0);
    EXPECT_EQ(l.Spacing(), 2);
    EXPECT_EQ(l.GetSetStr(), "");
}

TEST(ButtonLayout, StartsCentredWithTheArrowOff)
{
    TOBLButtonLayout l;
    EXPECT_EQ(l.Alignment(), agCenter);
    EXPECT_EQ(l.AlignText2Glyph(), taRight);
    EXPECT_EQ(l.Spacing(), 2);
    EXPECT_FALSE(l.Arrow());
    EXPECT_EQ(l.ArrowColor(), clBlack);
    EXPECT_EQ(l.ArrowIndent(), 3);
    EXPECT_EQ(l.ArrowPosition(), apRightText);
    EXPECT_EQ(l.ArrowSize(), 3);
}

struct SetterCase {
    const char* name;
    std::function<void(TOBLButtonLayout&)> set;
    std::function<bool(const TOBLButtonLayout&)> holds;
};

TEST(ButtonLayout, SettersStoreAndNotifyOnlyOnAChange)
{
    const std::vector<SetterCase> cases = {
        {"Alignment", [](auto& l) { l.SetAlignment(agBottomRight); }, [](auto& l) { return l.Alignment() == agBottomRight; }},
        {"AlignText2Glyph", [](auto& l) { l.SetAlignText2Glyph(taBottom); }, [](auto& l) { return l.AlignText2Glyph() == taBottom; }},
        {"OffsetX", [](auto& l) { l.SetOffset(0, -4); }, [](auto& l) { return l.OffsetX() == -4 && l.OffsetY() == 0; }},
        {"OffsetY", [](auto& l) { l.SetOffset(1, 6); }, [](auto& l) { return l.OffsetY() == 6 && l.OffsetX() == 0; }},
        {"Spacing", [](auto& l) { l.SetSpacing(0); }, [](auto& l) { return l.Spacing() == 0; }},
        {"Arrow", [](auto& l) { l.SetArrow(true); }, [](auto& l) { return l.Arrow(); }},
        {"ArrowColor", [](auto& l) { l.SetArrowColor(clRed); }, [](auto& l) { return l.ArrowColor() == clRed; }},
        {"ArrowIndent", [](auto& l) { l.SetArrowIndent(8); }, [](auto& l) { return l.ArrowIndent() == 8; }},
        {"ArrowPosition", [](auto& l) { l.SetArrowPosition(apLeftGlyph); }, [](auto& l) { return l.ArrowPosition() == apLeftGlyph; }},
        {"ArrowSize", [](auto& l) { l.SetArrowSize(10); }, [](auto& l) { return l.ArrowSize() == 10; }},
    };
    for (const SetterCase& k : cases) {
        SCOPED_TRACE(k.name);
        TOBLButtonLayout l;
        ChangeCounter changes(l);
        k.set(l);
        EXPECT_TRUE(k.holds(l));
        EXPECT_EQ(changes.count, 1);
        k.set(l);
        EXPECT_EQ(changes.count, 1);
    }
}

TEST(GlyphTextLayout, AssignCopiesTheFiveValuesWithOneChange)
{
    TOBLGlyphTextLayout source;
    source.SetAlignment(agCenterRight);
    source.SetAlignText2Glyph(taTopLeft);
    source.SetOffset(0, 3);
    source.SetOffset(1, -2);
    source.SetSpacing(9);
    TOBLGlyphTextLayout target;
    ChangeCounter changes(target);
    target.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(target.Alignment(), agCenterRight);
    EXPECT_EQ(target.AlignText2Glyph(), taTopLeft);
    EXPECT_EQ(target.OffsetX(), 3);
    EXPECT_EQ(target.OffsetY(), -2);
    EXPECT_EQ(target.Spacing(), 9);
}

TEST(GlyphTextLayout, AssignToItselfDoesNothingAndForeignSourcesRaise)
{
    TOBLGlyphTextLayout l;
    ChangeCounter changes(l);
    l.Assign(&l);
    EXPECT_EQ(changes.count, 0);
    TOBLObject other;
    EXPECT_THROW(l.Assign(&other), EConvertError);
}

TEST(ButtonLayout, AssignFromAButtonLayoutFiresExactlyOnce)
{
    TOBLButtonLayout source;
    source.SetAlignment(agTopRight);
    source.SetAlignText2Glyph(taLeftTop);
    source.SetOffset(0, 1);
    source.SetOffset(1, 2);
    source.SetSpacing(5);
    source.SetArrow(true);
    source.SetArrowColor(clNavy);
    source.SetArrowIndent(7);
    source.SetArrowPosition(apLeftText);
    source.SetArrowSize(6);
    TOBLButtonLayout target;
    ChangeCounter changes(target);
    target.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(target.Alignment(), agTopRight);
    EXPECT_EQ(target.AlignText2Glyph(), taLeftTop);
    EXPECT_EQ(target.OffsetX(), 1);
    EXPECT_EQ(target.OffsetY(), 2);
    EXPECT_EQ(target.Spacing(), 5);
    EXPECT_TRUE(target.Arrow());
    EXPECT_EQ(target.ArrowColor(), clNavy);
    EXPECT_EQ(target.ArrowIndent(), 7);
    EXPECT_EQ(target.ArrowPosition(), apLeftText);
    EXPECT_EQ(target.ArrowSize(), 6);
}

TEST(ButtonLayout, AssignFromAPlainLayoutKeepsTheArrow)
{
    TOBLGlyphTextLayout source;
    source.SetAlignText2Glyph(taTop);
    source.SetSpacing(4);
    TOBLButtonLayout target;
    target.SetArrow(true);
    target.SetArrowSize(8);
    target.SetArrowPosition(apRightGlyph);
    ChangeCounter changes(target);
    target.Assign(&source);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(target.Alignment(), agTopLeft);
    EXPECT_EQ(target.AlignText2Glyph(), taTop);
    EXPECT_EQ(target.Spacing(), 4);
    EXPECT_TRUE(target.Arrow());
    EXPECT_EQ(target.ArrowSize(), 8);
    EXPECT_EQ(target.ArrowPosition(), apRightGlyph);
}

TEST(ButtonLayout, PlainLayoutTakesTheLayoutHalfOfAButtonLayout)
{
    TOBLButtonLayout source;
    source.SetSpacing(11);
    TOBLGlyphTextLayout target;
    target.Assign(&source);
    EXPECT_EQ(target.Alignment(), agCenter);
    EXPECT_EQ(target.Spacing(), 11);
}

TEST(ButtonLayout, PublishesInStreamingOrder)
{
    const TPropList props = GetPropList(TOBLButtonLayout::StaticClass());
    const char* names[] = {"Alignment", "AlignText2Glyph", "OffsetX", "OffsetY", "Spacing",
                           "Arrow", "ArrowColor", "ArrowIndent", "ArrowPosition", "ArrowSize"};
    ASSERT_EQ(props.size(), std::size(names));
    for (size_t i = 0; i < props.size(); ++i) EXPECT_EQ(props[i]->Name, names[i]);
    EXPECT_TRUE(props[0]->HasDefault);
    EXPECT_EQ(props[0]->Default, static_cast<int>(agCenter));
    EXPECT_FALSE(GetPropList(TOBLGlyphTextLayout::StaticClass())[0]->HasDefault);
    EXPECT_EQ(props[1]->Default, static_cast<int>(taRight));
    EXPECT_EQ(props[4]->Default, 2);
    EXPECT_EQ(props[7]->Default, 3);

    TOBLButtonLayout l;
    SetOrdProp(&l, GetPropInfo(&l, "OffsetY"), -5);
    SetEnumProp(&l, GetPropInfo(&l, "ArrowPosition"), "apLeftGlyph");
    EXPECT_EQ(l.OffsetY(), -5);
    EXPECT_EQ(l.OffsetX(), 0);
    EXPECT_EQ(l.ArrowPosition(), apLeftGlyph);
    EXPECT_EQ(GetEnumProp(&l, GetPropInfo(&l, "Alignment")), "agCenter");
}

AnsiString WrittenProperties(TPersistent* object)
{
    TStringStream stream;
    {
        TWriter writer(&stream);
        writer.WriteProperties(object);
    }
    return stream.DataString();
}

TEST(ButtonLayout, CentredLayoutWritesNoAlignment)
{
    TOBLButtonLayout centred;
    EXPECT_EQ(Pos("Alignment", WrittenProperties(&centred)), 0);

    TOBLButtonLayout moved;
    moved.SetAlignment(agTopLeft);
    EXPECT_NE(Pos("Alignment = agTopLeft", WrittenProperties(&moved)), 0);

    // The plain layout has no default for it and always writes it.
    TOBLGlyphTextLayout plain;
    EXPECT_NE(Pos("Alignment = agTopLeft", WrittenProperties(&plain)), 0);
}

} // namespace

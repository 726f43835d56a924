#include "platform/classlib/Classes.h"

#include <gtest/gtest.h>

VENDARO_ENUM(TTestAlign, taTestLeft, taTestRight, taTestCenter)

namespace {

class TSettings : public TPersistent {
    VENDARO_CLASS(TSettings, TPersistent)
public:
    TSettings() = default;
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    TTestAlign Align() const { return align_; }
    void SetAlign(TTestAlign v) { align_ = v; }
    TSet<TTestAlign> Sides() const { return sides_; }
    void SetSides(TSet<TTestAlign> v) { sides_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    int Version() const { return 7; }
    bool IsRatioStored() const { return ratio_ != 1.5; }
    TNotifyEvent OnChange() const { return onChange_; }
    void SetOnChange(TNotifyEvent v) { onChange_ = v; }
    void Changed(TObject*) { ++changes; }
    int changes = 0;
    int height = 0;
    float scale = 1.0f;

    static void Publish(TClassBuilder<TSettings>& c)
    {
        c.Property("Width", &TSettings::Width, &TSettings::SetWidth).Default(16);
        c.Property("Align", &TSettings::Align, &TSettings::SetAlign).Default(taTestLeft);
        c.Property("Sides", &TSettings::Sides, &TSettings::SetSides);
        c.Property("Visible", &TSettings::Visible, &TSettings::SetVisible).Default(true);
        c.Property("Ratio", &TSettings::Ratio, &TSettings::SetRatio).Stored(&TSettings::IsRatioStored);
        c.Property("Caption", &TSettings::Caption, &TSettings::SetCaption);
        c.Property("Version", &TSettings::Version).Stored(false);
        c.Property("Height", [](const TSettings& s) { return s.height; }, &TSettings::height);
        c.Property("Scale", [](const TSettings& s) { return s.scale; }, &TSettings::scale);
        c.Property("OnChange", &TSettings::OnChange, &TSettings::SetOnChange);
        c.Method("Changed", &TSettings::Changed);
    }

private:
    int width_ = 16;
    TTestAlign align_ = taTestLeft;
    TSet<TTestAlign> sides_;
    bool visible_ = true;
    double ratio_ = 1.5;
    AnsiString caption_;
    TNotifyEvent onChange_;
};

class TMoreSettings : public TSettings {
    VENDARO_CLASS(TMoreSettings, TSettings)
public:
    TMoreSettings() = default;
    TSettings* Inner() const { return inner_; }
    void SetInner(TSettings* v) { inner_ = v; }
    static void Publish(TClassBuilder<TMoreSettings>& c)
    {
        c.Property("Inner", &TMoreSettings::Inner, &TMoreSettings::SetInner);
    }

private:
    TSettings* inner_ = nullptr;
};

// Starts wider and right-aligned, and says so in its table.
class TWideSettings : public TSettings {
    VENDARO_CLASS(TWideSettings, TSettings)
public:
    TWideSettings()
    {
        SetWidth(64);
        SetAlign(taTestRight);
    }
    static void Publish(TClassBuilder<TWideSettings>& c)
    {
        c.Redeclare("width").Default(64);
        c.Redeclare("Align").Default(taTestRight);
    }
};

class TBadRedeclaration : public TSettings {
    VENDARO_CLASS(TBadRedeclaration, TSettings)
public:
    TBadRedeclaration() = default;
    static void Publish(TClassBuilder<TBadRedeclaration>& c) { c.Redeclare("Missing").Default(1); }
};

// Offers no change event, though its ancestor does; and its own descendant neither.
class TQuietSettings : public TMoreSettings {
    VENDARO_CLASS(TQuietSettings, TMoreSettings)
public:
    TQuietSettings() = default;
    static void Publish(TClassBuilder<TQuietSettings>& c) { c.Withdraw("onchange"); }
};

class TQuieterSettings : public TQuietSettings {
    VENDARO_CLASS(TQuieterSettings, TQuietSettings)
public:
    TQuieterSettings() = default;
};

class TBadWithdrawal : public TSettings {
    VENDARO_CLASS(TBadWithdrawal, TSettings)
public:
    TBadWithdrawal() = default;
    static void Publish(TClassBuilder<TBadWithdrawal>& c) { c.Withdraw("Missing"); }
};

} // namespace

TEST(TypInfoTest, WithdrawnPropertyLeavesTheClassAndItsDescendants)
{
    std::vector<AnsiString> names;
    for (PPropInfo p : GetPropList(TQuieterSettings::StaticClass()))
        names.push_back(p->Name);
    std::vector<AnsiString> expected{"Width", "Align", "Sides", "Visible", "Ratio", "Caption",
                                     "Version", "Height", "Scale", "Inner"};
    EXPECT_EQ(names, expected);
    for (TClass cls : {TQuietSettings::StaticClass(), TQuieterSettings::StaticClass()})
        EXPECT_EQ(GetPropInfo(cls, "OnChange"), nullptr) << cls->ClassName().c_str();
    EXPECT_NE(GetPropInfo(TMoreSettings::StaticClass(), "OnChange"), nullptr);
    TQuieterSettings s;
    EXPECT_FALSE(IsPublishedProp(&s, "OnChange"));
    EXPECT_THROW(TBadWithdrawal::StaticClass(), EPropertyError);
}

TEST(TypInfoTest, RedeclaredPropertyKeepsItsPlaceWithTheNewDefault)
{
    const TPropList props = GetPropList(TWideSettings::StaticClass());
    const TPropList base = GetPropList(TSettings::StaticClass());
    ASSERT_EQ(props.size(), base.size());
    for (std::size_t i = 0; i < props.size(); ++i) EXPECT_EQ(props[i]->Name, base[i]->Name);
    EXPECT_EQ(props[0]->Default, 64);
    EXPECT_EQ(props[1]->Default, static_cast<int>(taTestRight));
    EXPECT_EQ(base[0]->Default, 16);
    EXPECT_EQ(GetPropInfo(TWideSettings::StaticClass(), "Width"), props[0]);

    TWideSettings s;
    SetOrdProp(&s, props[0], 80);
    EXPECT_EQ(s.Width(), 80);
    EXPECT_EQ(GetEnumProp(&s, "Align"), "taTestRight");
}

TEST(TypInfoTest, RedeclaringAnUnknownPropertyFails)
{
    EXPECT_THROW(TBadRedeclaration::StaticClass(), EPropertyError);
}

TEST(TypInfoTest, PropertyListHoldsAncestorsFirstInDeclarationOrder)
{
    std::vector<AnsiString> names;
    for (PPropInfo p : GetPropList(TMoreSettings::StaticClass()))
        names.push_back(p->Name);
    std::vector<AnsiString> expected{"Width", "Align", "Sides", "Visible", "Ratio", "Caption",
                                     "Version", "Height", "Scale", "OnChange", "Inner"};
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(GetPropList(TObject::StaticClass()).empty());
}

TEST(TypInfoTest, KindsDefaultsAndTypeNames)
{
    struct Case {
        const char* name;
        TTypeKind kind;
        bool hasDefault;
        std::int64_t defaultValue;
    };
    const Case cases[] = {
        {"Width", tkInteger, true, 16},   {"Align", tkEnumeration, true, 0},
        {"Sides", tkSet, false, 0},        {"Visible", tkEnumeration, true, 1},
        {"Ratio", tkFloat, false, 0},      {"Caption", tkLString, false, 0},
        {"OnChange", tkMethod, false, 0},  {"Inner", tkClass, false, 0},
    };
    for (const Case& c : cases) {
        PPropInfo p = GetPropInfo(TMoreSettings::StaticClass(), c.name);
        ASSERT_NE(p, nullptr) << c.name;
        EXPECT_EQ(p->Kind(), c.kind) << c.name;
        EXPECT_EQ(p->HasDefault, c.hasDefault) << c.name;
        if (c.hasDefault) {
            EXPECT_EQ(p->Default, c.defaultValue) << c.name;
        }
    }
    PPropInfo inner = GetPropInfo(TMoreSettings::StaticClass(), "inner");
    EXPECT_EQ(inner->PropType->ClassType(), TSettings::StaticClass());
    EXPECT_EQ(GetEnumName(TypeInfo<TTestAlign>(), 2), "taTestCenter");
    EXPECT_EQ(GetEnumValue(TypeInfo<TTestAlign>(), "TATESTRIGHT"), 1);
    EXPECT_EQ(GetEnumValue(TypeInfo<TTestAlign>(), "taNone"), -1);
    EXPECT_EQ(GetEnumName(TypeInfo<bool>(), 1), "True");
}

TEST(TypInfoTest, GettersAndSettersByKind)
{
    TMoreSettings s;
    SetOrdProp(&s, "Width", 40);
    EXPECT_EQ(s.Width(), 40);
    SetEnumProp(&s, "Align", "taTestCenter");
    EXPECT_EQ(s.Align(), taTestCenter);
    EXPECT_EQ(GetEnumProp(&s, "Align"), "taTestCenter");
    SetOrdProp(&s, "Sides", 0b101);
    EXPECT_TRUE(s.Sides().Contains(taTestLeft));
    EXPECT_FALSE(s.Sides().Contains(taTestRight));
    EXPECT_TRUE(s.Sides().Contains(taTestCenter));
    SetOrdProp(&s, "Visible", 0);
    EXPECT_FALSE(s.Visible());
    SetFloatProp(&s, "Ratio", 2.25);
    EXPECT_EQ(GetFloatProp(&s, "Ratio"), 2.25);
    SetStrProp(&s, "Caption", AnsiString("caf\xE9"));
    EXPECT_EQ(GetStrProp(&s, "Caption"), AnsiString("caf\xE9"));
    SetOrdProp(&s, "Height", 9);
    EXPECT_EQ(s.height, 9);
    SetFloatProp(&s, "Scale", 0.5);
    EXPECT_EQ(s.scale, 0.5f);
    EXPECT_EQ(GetPropInfo(&s, "Scale")->Kind(), tkFloat);

    TSettings inner;
    SetObjectProp(&s, "Inner", &inner);
    EXPECT_EQ(GetObjectProp(&s, "Inner"), &inner);
    TStringList wrongClass;
    SetObjectProp(&s, "Inner", &wrongClass);
    EXPECT_EQ(s.Inner(), nullptr);

    TMethod m{&s, s.MethodAddress("changed"), TNotifyEvent::Signature()};
    ASSERT_TRUE(m.Assigned());
    SetMethodProp(&s, "OnChange", m);
    s.OnChange()(&s);
    EXPECT_EQ(s.changes, 1);
    EXPECT_TRUE(GetMethodProp(&s, "OnChange") == m);
    EXPECT_EQ(s.MethodName(m.Code), "Changed");
}

TEST(TypInfoTest, ErrorsAndStoredPredicates)
{
    TSettings s;
    EXPECT_THROW(GetOrdProp(&s, "Missing"), EPropertyError);
    EXPECT_THROW(SetOrdProp(&s, "Version", 3), EPropertyError);
    EXPECT_THROW(GetStrProp(&s, "Width"), EPropertyError);
    EXPECT_THROW(SetEnumProp(&s, "Align", "nope"), EPropertyError);
    EXPECT_EQ(GetOrdProp(&s, "Version"), 7);
    EXPECT_FALSE(GetPropInfo(&s, "Version")->IsWritable());

    EXPECT_FALSE(IsStoredProp(&s, GetPropInfo(&s, "Version")));
    EXPECT_TRUE(IsStoredProp(&s, GetPropInfo(&s, "Width")));
    EXPECT_FALSE(IsStoredProp(&s, GetPropInfo(&s, "Ratio")));
    s.SetRatio(3.0);
    EXPECT_TRUE(IsStoredProp(&s, GetPropInfo(&s, "Ratio")));
}

#include "obl/core/app/OBLIniCtrl.h"

#include "obl/core/base/OblutilsStrings.h"
#include "platform/rtl/Exceptions.h"

#include "TempSystem.h"

#include <memory>
#include <string>
#include <vector>

VENDARO_ENUM(TTypedShade, tsLight, tsMedium, tsDark)

namespace {

class TSampleSettings : public TPersistent {
    VENDARO_CLASS(TSampleSettings, TPersistent)
public:
    TSampleSettings() = default;
    int Count() const { return count_; }
    void SetCount(int v) { count_ = v; }
    TTypedShade Shade() const { return shade_; }
    void SetShade(TTypedShade v) { shade_ = v; }
    TSet<TTypedShade> Shades() const { return shades_; }
    void SetShades(TSet<TTypedShade> v) { shades_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    double Scale() const { return scale_; }
    void SetScale(double v) { scale_ = v; }
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    bool Flag() const { return flag_; }
    void SetFlag(bool v) { flag_ = v; }
    int Version() const { return 3; }

    static void Publish(TClassBuilder<TSampleSettings>& c)
    {
        using C = TSampleSettings;
        c.Property("Count", &C::Count, &C::SetCount).Default(5);
        c.Property("Shade", &C::Shade, &C::SetShade).Default(tsLight);
        c.Property("Shades", &C::Shades, &C::SetShades);
        c.Property("Ratio", &C::Ratio, &C::SetRatio);
        c.Property("Scale", &C::Scale, &C::SetScale).Default(1.5);
        c.Property("Caption", &C::Caption, &C::SetCaption);
        c.Property("Flag", &C::Flag, &C::SetFlag).Default(false);
        c.Property("Version", &C::Version);
    }

private:
    int count_ = 5;
    TTypedShade shade_ = tsLight;
    TSet<TTypedShade> shades_;
    double ratio_ = 0;
    double scale_ = 1.5;
    AnsiString caption_;
    bool flag_ = false;
};

bool KeyThere(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyEx(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::vector<std::string> Lines(const TStrings& strings)
{
    std::vector<std::string> lines;
    for (int i = 0; i < strings.Count(); ++i) lines.push_back(strings[i].str());
    return lines;
}

// Every test runs once on the ini file and once under the registry key.
class TypedSettingsTest : public ::testing::TestWithParam<TOBLIniTarget> {
protected:
    void SetUp() override
    {
        ctrl_->SetTarget(GetParam());
        ctrl_->SetRegPath("Software\\Vendaro\\Typed");
    }
    std::vector<std::string> Section(const char* section)
    {
        TStringList list;
        ctrl_->ReadSectionValues(section, &list);
        return Lines(list);
    }

    TempSystem system_;
    std::unique_ptr<TOBLIniCtrl> ctrl_ = std::make_unique<TOBLIniCtrl>(nullptr);
};

TEST_P(TypedSettingsTest, TypedValuesRoundTrip)
{
    for (bool encoded : {false, true}) {
        SCOPED_TRACE(encoded);
        ctrl_->SetEncoded(encoded);
        const TDateTime day = EncodeDate(2026, 12, 10);
        const TDateTime time = EncodeTime(17, 5, 9, 0);
        ctrl_->WriteDate("Main", "Day", day);
        ctrl_->WriteTime("Main", "Time", time);
        ctrl_->WriteDateTime("Main", "When", day + time);
        ctrl_->WriteFloat("Main", "Ratio", 2.625);
        ctrl_->WriteColor("Main", "Colour", clTeal);
        ctrl_->WriteColor("Main", "Mixed", static_cast<TColor>(0x123456));
        ctrl_->WritePoint("Main", "Point", TPoint{-4, 9});
        ctrl_->WriteRect("Main", "Rect", Rect(1, 2, 30, 40));
        TFont font;
        font.SetName("Courier New");
        font.SetSize(15);
        font.SetStyle(TFontStyles{fsItalic});
        ctrl_->WriteFont("Main", "Font", &font);

        EXPECT_EQ(ctrl_->ReadDate("Main", "Day", 0), day);
        EXPECT_EQ(ctrl_->ReadTime("Main", "Time", 0), time);
        EXPECT_EQ(ctrl_->ReadDateTime("Main", "When", 0), day + time);
        EXPECT_EQ(ctrl_->ReadFloat("Main", "Ratio", 0), 2.625);
        EXPECT_EQ(ctrl_->ReadColor("Main", "Colour", clBlack), clTeal);
        EXPECT_EQ(ctrl_->ReadColor("Main", "Mixed", clBlack), static_cast<TColor>(0x123456));
        const TPoint p = ctrl_->ReadPoint("Main", "Point", TPoint{0, 0});
        EXPECT_EQ(p.x, -4);
        EXPECT_EQ(p.y, 9);
        const TRect r = ctrl_->ReadRect("Main", "Rect", Rect(0, 0, 0, 0));
        EXPECT_EQ(OBLRectToString(r).str(), "1,2,30,40");
        TFont back;
        EXPECT_TRUE(ctrl_->ReadFont("Main", "Font", &back));
        EXPECT_EQ(back.Name(), "Courier New");
        EXPECT_EQ(back.Size(), 15);
        EXPECT_TRUE(back.Style() == TFontStyles{fsItalic});
    }
}

TEST_P(TypedSettingsTest, MissingValuesGiveTheDefaults)
{
    EXPECT_EQ(ctrl_->ReadFloat("Main", "None", 1.5), 1.5);
    EXPECT_EQ(ctrl_->ReadColor("Main", "None", clRed), clRed);
    EXPECT_EQ(OBLRectToString(ctrl_->ReadRect("Main", "None", Rect(5, 6, 7, 8))).str(), "5,6,7,8");
    EXPECT_EQ(ctrl_->ReadDate("Main", "None", EncodeDate(2000, 1, 2)), EncodeDate(2000, 1, 2));
    TFont font;
    font.SetName("Arial");
    EXPECT_FALSE(ctrl_->ReadFont("Main", "None", &font));
    EXPECT_EQ(font.Name(), "Arial");
}

TEST_P(TypedSettingsTest, ReadFontIsFalseForAnIncompleteText)
{
    ctrl_->WriteString("Main", "Font", "Courier New,15");
    TFont font;
    font.SetName("Arial");
    EXPECT_FALSE(ctrl_->ReadFont("Main", "Font", &font));
    EXPECT_EQ(font.Name(), "Arial");
}

TEST_P(TypedSettingsTest, UnparsableTextRaisesConversionError)
{
    ctrl_->WriteString("Main", "Day", "not a date");
    ctrl_->WriteString("Main", "Colour", "clNoSuchColour");
    EXPECT_THROW(ctrl_->ReadDate("Main", "Day", 0), EConvertError);
    EXPECT_THROW(ctrl_->ReadColor("Main", "Colour", clRed), EConvertError);
}

TEST_P(TypedSettingsTest, ColorListsTakeTheSectionAsGivenUnscrambled)
{
    ctrl_->SetEncoded(true);
    ctrl_->SetCommon(false);
    ctrl_->SetUser("Bob");
    TStringList lines;
    lines.Add("ColorA=FFFFFF");
    lines.Add("plain line");
    lines.Add("ColorB=00FF00");
    lines.Add("ColorA=ABCDEF");
    ctrl_->WriteColorList("Colours", &lines);
    TStringList back;
    back.Add("stale");
    ctrl_->ReadColorList("Colours", &back);
    // Of two lines naming one colour the first one's value is stored.
    EXPECT_EQ(Lines(back), (std::vector<std::string>{"ColorA=FFFFFF", "ColorB=00FF00"}));
}

TEST_P(TypedSettingsTest, ObjectsRoundTripWithoutDefaults)
{
    TSampleSettings written;
    written.SetCount(9);
    written.SetShade(tsDark);
    written.SetShades(TSet<TTypedShade>{tsLight, tsDark});
    written.SetRatio(0.75);
    written.SetCaption("Hello");
    written.SetFlag(true);
    ctrl_->WriteObject("Obj", &written);

    TSampleSettings read;
    ctrl_->ReadObject("Obj", &read);
    EXPECT_EQ(read.Count(), 9);
    EXPECT_EQ(read.Shade(), tsDark);
    EXPECT_TRUE(read.Shades() == (TSet<TTypedShade>{tsLight, tsDark}));
    EXPECT_EQ(read.Ratio(), 0.75);
    EXPECT_EQ(read.Caption(), "Hello");
    EXPECT_TRUE(read.Flag());

    // At their defaults (or 0, or empty) nothing is stored, and what was stored goes.
    TSampleSettings defaults;
    ctrl_->WriteObject("Obj", &defaults);
    TStringList idents;
    ctrl_->ReadSection("Obj", &idents);
    EXPECT_EQ(Lines(idents), (std::vector<std::string>{"Shades"})) << "no default declared: always stored";

    TSampleSettings again;
    again.SetCount(77);
    again.SetCaption("kept");
    again.SetRatio(4);
    ctrl_->ReadObject("Obj", &again);
    EXPECT_EQ(again.Count(), 77) << "a stale value came back";
    EXPECT_EQ(again.Caption(), "kept");
    EXPECT_EQ(again.Ratio(), 4);
}

TEST_P(TypedSettingsTest, FloatsAreStoredUnlessAtTheirDeclaredDefault)
{
    // 0 is a setting of its own for a float declaring another default; without a declared
    // default 0 is the default.
    TSampleSettings zero;
    zero.SetScale(0);
    ctrl_->WriteObject("Obj", &zero);
    TSampleSettings read;
    read.SetScale(9);
    read.SetRatio(9);
    ctrl_->ReadObject("Obj", &read);
    EXPECT_EQ(read.Scale(), 0);
    EXPECT_EQ(read.Ratio(), 9) << "a Ratio of 0 is not stored";

    TSampleSettings defaults;
    ctrl_->WriteObject("Obj", &defaults);
    TSampleSettings again;
    again.SetScale(9);
    ctrl_->ReadObject("Obj", &again);
    EXPECT_EQ(again.Scale(), 9) << "the value stored before is gone";
}

TEST_P(TypedSettingsTest, OutOfRangeOrdinalsLeaveThePropertyAlone)
{
    ctrl_->WriteInteger("Obj", "Shade", 7);
    ctrl_->WriteInteger("Obj", "Shades", 0x10);
    ctrl_->WriteInteger("Obj", "Flag", 2);
    ctrl_->WriteInteger("Obj", "Count", 12);
    TSampleSettings s;
    s.SetShade(tsMedium);
    ctrl_->ReadObject("Obj", &s);
    EXPECT_EQ(s.Shade(), tsMedium);
    EXPECT_TRUE(s.Shades().Empty());
    EXPECT_FALSE(s.Flag());
    EXPECT_EQ(s.Count(), 12);
}

INSTANTIATE_TEST_SUITE_P(Targets, TypedSettingsTest, ::testing::Values(itIniFile, itRegistry),
                         [](const auto& info) { return info.param == itIniFile ? "Ini" : "Registry"; });

TEST(TypedSettingsIni, AValueGivenTwiceGoesWholeWhenBackAtItsDefault)
{
    TempSystem system;
    TOBLIniCtrl ctrl(nullptr);
    ctrl.SetTarget(itIniFile);
    system.Put("WINDOWS/Importa.INI", "[Obj]\r\nFlag=1\r\nCount=9\r\nFlag=1\r\n");
    TSampleSettings defaults;
    ctrl.WriteObject("Obj", &defaults);
    TSampleSettings read;
    ctrl.ReadObject("Obj", &read);
    EXPECT_FALSE(read.Flag()) << "the second line of the value came back";
    EXPECT_EQ(read.Count(), 5);
    EXPECT_EQ(system.Get("WINDOWS/Importa.INI"), "[Obj]\r\nShades=0\r\n");
}

TEST(TypedSettingsRegistry, ReadingCreatesNoKeys)
{
    TempSystem system;
    TOBLIniCtrl ctrl(nullptr);
    ctrl.SetTarget(itRegistry);
    ctrl.SetRegPath("Software\\Vendaro\\Nowhere");
    TSampleSettings s;
    ctrl.ReadObject("Obj", &s);
    EXPECT_EQ(ctrl.ReadFloat("Obj", "Ratio", 2), 2);
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Vendaro\\Nowhere"));

    // Another root: written there, and nothing appears under the current user.
    ctrl.SetRegRoot(rpLocalMachine);
    s.SetCount(8);
    ctrl.WriteObject("Obj", &s);
    EXPECT_TRUE(KeyThere(HKEY_LOCAL_MACHINE, "Software\\Vendaro\\Nowhere\\Obj"));
    EXPECT_FALSE(KeyThere(HKEY_CURRENT_USER, "Software\\Vendaro\\Nowhere"));
    TSampleSettings back;
    ctrl.ReadObject("Obj", &back);
    EXPECT_EQ(back.Count(), 8);
}

} // namespace

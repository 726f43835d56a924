// The settings store's ini file, read through every typed value the store keeps as text
// (dates and times, floats, colours, points, rectangles, fonts, numbered string lists,
// scrambled strings, colour lists and the published properties of an object). What reads
// must write a file that reads and writes the same bytes again.
#include "FuzzDrive.h"
#include "FuzzTarget.h"

#include "obl/core/app/OBLIniCtrl.h"
#include "platform/rtl/Exceptions.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

VENDARO_ENUM(TFuzzShade, fsLight, fsMedium, fsDark)

namespace {

namespace fs = std::filesystem;

class TFuzzSettings : public TPersistent {
    VENDARO_CLASS(TFuzzSettings, TPersistent)
public:
    TFuzzSettings() = default;
    int Count() const { return count_; }
    void SetCount(int v) { count_ = v; }
    TFuzzShade Shade() const { return shade_; }
    void SetShade(TFuzzShade v) { shade_ = v; }
    TSet<TFuzzShade> Shades() const { return shades_; }
    void SetShades(TSet<TFuzzShade> v) { shades_ = v; }
    double Ratio() const { return ratio_; }
    void SetRatio(double v) { ratio_ = v; }
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v) { caption_ = v; }
    bool Flag() const { return flag_; }
    void SetFlag(bool v) { flag_ = v; }

    static void Publish(TClassBuilder<TFuzzSettings>& c)
    {
        using C = TFuzzSettings;
        c.Property("Count", &C::Count, &C::SetCount).Default(5);
        c.Property("Shade", &C::Shade, &C::SetShade).Default(fsLight);
        c.Property("Shades", &C::Shades, &C::SetShades);
        c.Property("Ratio", &C::Ratio, &C::SetRatio);
        c.Property("Caption", &C::Caption, &C::SetCaption);
        c.Property("Flag", &C::Flag, &C::SetFlag).Default(false);
    }

private:
    int count_ = 5;
    TFuzzShade shade_ = fsLight;
    TSet<TFuzzShade> shades_;
    double ratio_ = 0;
    AnsiString caption_;
    bool flag_ = false;
};

const fs::path& Root() { return FuzzDriveRoot("settings"); }

std::unique_ptr<TOBLIniCtrl> Store(bool encoded)
{
    auto store = std::make_unique<TOBLIniCtrl>(nullptr);
    store->SetTarget(itIniFile);
    store->SetIniPrefix(ppFixed);
    store->SetIniFile("C:\\FUZZ.INI");
    store->SetEncoded(encoded);
    return store;
}

std::string FileBytes()
{
    std::ifstream in(Root() / "FUZZ.INI", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PutFile(const std::string& bytes)
{
    std::ofstream(Root() / "FUZZ.INI", std::ios::binary | std::ios::trunc) << bytes;
}

// Every value the store reads, as it reads them.
struct Values {
    TDateTime day = 0, time = 0, when = 0;
    double ratio = 0;
    TColor colour = clBlack;
    TPoint point{0, 0};
    TRect rect{0, 0, 0, 0};
    TFont font;
    bool fontRead = false;
    TStringList lines, secretLines, colours;
    AnsiString secret;
    int number = 0;
    bool flag = false;
    TFuzzSettings object;
};

// A stored text that does not parse raises the conversion error; the value keeps its
// default then.
template <class Read>
void Try(Read read)
{
    try {
        read();
    } catch (const EConvertError&) {
    }
}

void ReadAll(Values& v)
{
    std::unique_ptr<TOBLIniCtrl> store = Store(false);
    TOBLIniCtrl* s = store.get();
    Try([&] { v.day = s->ReadDate("Main", "Day", 0); });
    Try([&] { v.time = s->ReadTime("Main", "Time", 0); });
    Try([&] { v.when = s->ReadDateTime("Main", "When", 0); });
    Try([&] { v.ratio = s->ReadFloat("Main", "Ratio", 0); });
    Try([&] { v.colour = s->ReadColor("Main", "Colour", clBlack); });
    Try([&] { v.point = s->ReadPoint("Main", "Point", TPoint{0, 0}); });
    Try([&] { v.rect = s->ReadRect("Main", "Rect", Rect(0, 0, 0, 0)); });
    Try([&] { v.fontRead = s->ReadFont("Main", "Font", &v.font); });
    Try([&] { v.number = s->ReadInteger("Main", "Number", 0); });
    Try([&] { v.flag = s->ReadBool("Main", "Flag", false); });
    Try([&] { s->ReadStrings("Lists", "Line", &v.lines); });
    Try([&] { s->ReadColorList("Colours", &v.colours); });
    Try([&] { s->ReadObject("Object", &v.object); });
    std::unique_ptr<TOBLIniCtrl> coded = Store(true);
    Try([&] { v.secret = coded->ReadString("Coded", "Secret", ""); });
    Try([&] { coded->ReadStrings("Coded", "Line", &v.secretLines); });
}

void WriteAll(Values& v)
{
    std::unique_ptr<TOBLIniCtrl> store = Store(false);
    store->WriteDate("Main", "Day", v.day);
    store->WriteTime("Main", "Time", v.time);
    store->WriteDateTime("Main", "When", v.when);
    store->WriteFloat("Main", "Ratio", v.ratio);
    store->WriteColor("Main", "Colour", v.colour);
    store->WritePoint("Main", "Point", v.point);
    store->WriteRect("Main", "Rect", v.rect);
    if (v.fontRead)
        store->WriteFont("Main", "Font", &v.font);
    store->WriteInteger("Main", "Number", v.number);
    store->WriteBool("Main", "Flag", v.flag);
    store->WriteStrings("Lists", "Line", &v.lines);
    store->WriteColorList("Colours", &v.colours);
    store->WriteObject("Object", &v.object);
    std::unique_ptr<TOBLIniCtrl> coded = Store(true);
    coded->WriteString("Coded", "Secret", v.secret);
    coded->WriteStrings("Coded", "Line", &v.secretLines);
}

// The file the store writes of what it reads of the bytes.
std::string Rewrite(const std::string& bytes)
{
    PutFile(bytes);
    Values values;
    ReadAll(values);
    PutFile("");
    WriteAll(values);
    return FileBytes();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string written = Rewrite(std::string(reinterpret_cast<const char*>(data), size));
    FUZZ_CHECK(Rewrite(written) == written);
    return 0;
}

std::vector<std::string> FuzzSeeds()
{
    Values v;
    v.day = EncodeDate(2026, 12, 10);
    v.time = EncodeTime(17, 5, 9, 0);
    v.when = v.day + v.time;
    v.ratio = 2.625;
    v.colour = clTeal;
    v.point = TPoint{-4, 9};
    v.rect = Rect(1, 2, 30, 40);
    v.font.SetName("Courier New");
    v.font.SetSize(15);
    v.font.SetStyle(TFontStyles{fsItalic});
    v.fontRead = true;
    v.lines.SetText("one\r\ntwo\r\n\r\nfour\r\n");
    v.secretLines.SetText("hidden\r\nlines\r\n");
    v.colours.SetText("Sky=$00FFCC88\r\nGrass=clGreen\r\n");
    v.secret = "pass=word";
    v.number = -12;
    v.flag = true;
    v.object.SetCount(9);
    v.object.SetShade(fsDark);
    v.object.SetShades(TSet<TFuzzShade>{fsLight, fsDark});
    v.object.SetRatio(0.5);
    v.object.SetCaption("Caption");
    PutFile("");
    WriteAll(v);
    const std::string full = FileBytes();
    PutFile("");
    Values empty;
    WriteAll(empty);
    return {full, FileBytes(), "[Main]\r\nRect=1,2\r\nPoint=x\r\nFont=Arial,8\r\nDay=99.99.9999\r\n"};
}

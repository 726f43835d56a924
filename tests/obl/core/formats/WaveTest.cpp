#include "obl/core/formats/oblwave.h"

#include "obl/core/formats/Oblstreamutils.h"

#include "tests/obl/core/formats/ByteFixtures.h"
#include "tests/support/NotifyCounter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void Put16(Bytes& out, unsigned v)
{
    out.push_back(static_cast<BYTE>(v));
    out.push_back(static_cast<BYTE>(v >> 8));
}

void Put32(Bytes& out, std::uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(Bytes& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<BYTE>(tag[i]));
}

struct WaveLayout {
    unsigned formatTag = 1;
    unsigned channels = 2;
    std::uint32_t rate = 22050;
    unsigned bits = 16;
    const char* firstChunk = "fmt ";
    std::size_t samples = 6;
};

// A complete RIFF WAVE image: format chunk first, then the data chunk.
Bytes WaveImage(const WaveLayout& w = {})
{
    Bytes out;
    PutTag(out, "RIFF");
    Put32(out, static_cast<std::uint32_t>(36 + w.samples));
    PutTag(out, "WAVE");
    PutTag(out, w.firstChunk);
    Put32(out, 16);
    Put16(out, w.formatTag);
    Put16(out, w.channels);
    Put32(out, w.rate);
    Put32(out, w.rate * w.channels * w.bits / 8);
    Put16(out, w.channels * w.bits / 8);
    Put16(out, w.bits);
    PutTag(out, "data");
    Put32(out, static_cast<std::uint32_t>(w.samples));
    for (std::size_t i = 0; i < w.samples; ++i) out.push_back(static_cast<BYTE>(i * 7));
    return out;
}

Bytes Held(TOBLWave& wave) { return wave.Stream() ? Content(*wave.Stream()) : Bytes{}; }

void Load(TOBLWave& wave, const Bytes& image)
{
    TMemoryStream stream;
    Fill(stream, image);
    wave.LoadFromStream(&stream);
}

} // namespace

TEST(WaveInfo, ReadsTheFormatChunk)
{
    const struct {
        const char* name;
        WaveLayout layout;
        TOBLChannelMode mode;
        TOBLWaveFormat format;
    } cases[] = {
        {"PCM stereo", {1, 2, 22050, 16}, TOBLChannelMode::cmStereo, TOBLWaveFormat::wfPCM},
        {"PCM mono", {1, 1, 8000, 8}, TOBLChannelMode::cmMono, TOBLWaveFormat::wfPCM},
        {"PCM three channels", {1, 3, 44100, 16}, TOBLChannelMode::cmUnknown, TOBLWaveFormat::wfPCM},
        {"ADPCM", {2, 1, 11025, 4}, TOBLChannelMode::cmMono, TOBLWaveFormat::wfUnknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TMemoryStream stream;
        const Bytes image = WaveImage(c.layout);
        Fill(stream, image);
        stream.SetPosition(0);
        TOBLWaveInfo info;
        EXPECT_TRUE(OBLGetWaveStreamInfo(&stream, info));
        EXPECT_EQ(stream.Position(), 0);
        EXPECT_EQ(info.RiffSize, image.size() - 8);
        EXPECT_EQ(info.SampleRate, c.layout.rate);
        EXPECT_EQ(info.ChannelMode, c.mode);
        EXPECT_EQ(info.Format, c.format);
        EXPECT_EQ(info.Bits, c.layout.bits);
    }
}

TEST(WaveInfo, ForeignHeadersAreRefused)
{
    Bytes notRiff = WaveImage();
    notRiff[0] = 'X';
    Bytes notWave = WaveImage();
    notWave[8] = 'A';
    const Bytes listFirst = WaveImage({1, 2, 22050, 16, "LIST"});
    for (const Bytes& image : {notRiff, notWave, listFirst}) {
        TMemoryStream stream;
        Fill(stream, image);
        stream.SetPosition(12);
        TOBLWaveInfo info;
        EXPECT_FALSE(OBLGetWaveStreamInfo(&stream, info));
        EXPECT_EQ(stream.Position(), 0);
    }
    TMemoryStream empty;
    TOBLWaveInfo info;
    EXPECT_FALSE(OBLGetWaveStreamInfo(&empty, info));
    EXPECT_FALSE(OBLGetWaveStreamInfo(nullptr, info));
}

TEST(WaveInfo, HeaderEndingAfterBlockAlignPassesWithoutBits)
{
    const Bytes full = WaveImage();
    TMemoryStream stream;
    Fill(stream, Bytes(full.begin(), full.begin() + 34));
    TOBLWaveInfo info;
    EXPECT_TRUE(OBLGetWaveStreamInfo(&stream, info));
    EXPECT_EQ(info.Bits, 0);
    EXPECT_EQ(info.SampleRate, 22050u);
}

TEST(WaveInfo, HeaderCutShortRaisesWithTheFixedText)
{
    const Bytes full = WaveImage();
    for (const std::size_t cut : {std::size_t{3}, std::size_t{10}, std::size_t{20}, std::size_t{33}}) {
        SCOPED_TRACE(cut);
        TMemoryStream stream;
        Fill(stream, Bytes(full.begin(), full.begin() + static_cast<long>(cut)));
        TOBLWaveInfo info;
        try {
            OBLGetWaveStreamInfo(&stream, info);
            ADD_FAILURE() << "no exception";
        } catch (const EErrorCheckingWave& e) {
            EXPECT_EQ(e.Message(), "GetWaveData: Cannot open file %s");
        }
    }
}

TEST(Wave, EmptyUntilAWaveIsLoaded)
{
    TOBLWave wave;
    EXPECT_TRUE(wave.GetEmpty());
    EXPECT_EQ(wave.GetSize(), 0);
    EXPECT_EQ(wave.GetSampleRate(), 0u);
    EXPECT_EQ(wave.GetChannelMode(), TOBLChannelMode::cmUnknown);
    EXPECT_EQ(wave.GetFormat(), TOBLWaveFormat::wfUnknown);
    EXPECT_EQ(wave.Stream(), nullptr);
    const Bytes image = WaveImage({1, 1, 11025, 8});
    Load(wave, image);
    EXPECT_FALSE(wave.GetEmpty());
    EXPECT_EQ(wave.GetSize(), static_cast<int>(image.size()));
    EXPECT_EQ(wave.GetSampleRate(), 11025u);
    EXPECT_EQ(wave.GetChannelMode(), TOBLChannelMode::cmMono);
    EXPECT_EQ(wave.GetBits(), 8);
    EXPECT_EQ(Held(wave), image);
}

TEST(Wave, LoadingDataThatIsNoWaveKeepsTheSound)
{
    TOBLWave wave;
    NotifyCounter changes;
    wave.SetOnChange(TNotifyEvent(&changes, &NotifyCounter::Changed));
    const Bytes image = WaveImage();
    Load(wave, image);
    EXPECT_EQ(changes.count, 1);
    TMemoryStream stream;
    Fill(stream, WaveImage({1, 2, 22050, 16, "data"}));
    wave.LoadFromStream(&stream);
    EXPECT_EQ(stream.Position(), stream.Size());
    EXPECT_EQ(Held(wave), image);
    EXPECT_EQ(changes.count, 1);
}

TEST(Wave, LoadingFromAnEmptyStreamClearsTheSound)
{
    TOBLWave wave;
    Load(wave, WaveImage());
    Load(wave, {});
    EXPECT_TRUE(wave.GetEmpty());
    EXPECT_EQ(wave.Stream(), nullptr);
}

TEST(Wave, LoadingReadsOnlyTheRestOfTheStream)
{
    const Bytes image = WaveImage();
    TMemoryStream stream;
    Fill(stream, Bytes{1, 2, 3} + image);
    stream.SetPosition(3);
    TOBLWave wave;
    wave.LoadFromStream(&stream);
    EXPECT_EQ(Held(wave), image);
    EXPECT_EQ(wave.Stream()->Position(), 0);
}

TEST(Wave, TruncatedHeaderRaisesAndKeepsTheSound)
{
    TOBLWave wave;
    const Bytes image = WaveImage();
    Load(wave, image);
    EXPECT_THROW(Load(wave, Bytes(image.begin(), image.begin() + 20)), EErrorCheckingWave);
    EXPECT_EQ(Held(wave), image);
}

TEST(Wave, PlainSizedFormRoundTripsAndChecksItsCount)
{
    TOBLWave wave;
    const Bytes image = WaveImage();
    Load(wave, image);
    TMemoryStream stream;
    stWriteWave(&stream, &wave, false);
    EXPECT_EQ(Content(stream), Int32(static_cast<int>(image.size())) + image);
    stream.SetPosition(0);
    TOBLWave back;
    stReadWave(&stream, &back, false);
    EXPECT_EQ(Held(back), image);

    for (const int count : {-1, -100000, static_cast<int>(image.size()) + 1}) {
        SCOPED_TRACE(count);
        Fill(stream, Int32(count) + image);
        EXPECT_THROW(back.LoadFromStreamEx(&stream), EReadError);
        EXPECT_EQ(Held(back), image);
    }
}

TEST(Wave, CompressedFormRoundTrips)
{
    TOBLWave wave;
    const Bytes image = WaveImage({1, 2, 44100, 16, "fmt ", 70000});
    Load(wave, image);
    TMemoryStream stream;
    stWriteWave(&stream, &wave, true);
    TMemoryStream expected, raw;
    Fill(raw, image);
    SaveCompressedStream(&raw, &expected, static_cast<int>(image.size()));
    EXPECT_EQ(Content(stream), Content(expected));
    stream.SetPosition(0);
    TOBLWave back;
    stReadWave(&stream, &back, true);
    EXPECT_EQ(Held(back), image);
}

TEST(Wave, DataPropertyIsWrittenOnceAStreamIsHeld)
{
    TOBLWave wave;
    TMemoryStream data;
    wave.WriteData(&data);
    // Saving an empty wave gives it an empty stream: N = 0 from then on.
    EXPECT_EQ(Content(data), Int32(0));
    ASSERT_NE(wave.Stream(), nullptr);
    EXPECT_TRUE(wave.GetEmpty());

    TOBLWave other;
    const Bytes image = WaveImage();
    Load(other, image);
    data.SetPosition(0);
    other.ReadData(&data); // N = 0: unchanged
    EXPECT_EQ(Held(other), image);

    Fill(data, Int32(static_cast<int>(image.size())) + image);
    wave.ReadData(&data);
    EXPECT_EQ(Held(wave), image);
    TMemoryStream again;
    wave.WriteData(&again);
    EXPECT_EQ(Content(again), Int32(static_cast<int>(image.size())) + image);
}

TEST(Wave, RawFileRoundTrip)
{
    const auto folder = std::filesystem::temp_directory_path() / ("oblwave-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const AnsiString file = (folder / "ding.wav").string();
    TOBLWave wave;
    const Bytes image = WaveImage({1, 1, 8000, 8, "fmt ", 33});
    Load(wave, image);
    wave.SaveToFile(file);
    EXPECT_EQ(std::filesystem::file_size(file.str()), image.size());
    TOBLWave back(file);
    EXPECT_EQ(Held(back), image);
    TOBLWaveInfo info;
    EXPECT_TRUE(OBLGetWaveFileInfo(file, info));
    EXPECT_EQ(info.SampleRate, 8000u);
    EXPECT_FALSE(OBLGetWaveFileInfo((folder / "none.wav").string(), info));
    EXPECT_THROW(back.LoadFromFile((folder / "none.wav").string()), EFOpenError);
    std::filesystem::remove_all(folder);
}

TEST(Wave, AssignCopiesTheImage)
{
    TOBLWave source, target;
    const Bytes image = WaveImage();
    Load(source, image);
    source.Stream()->SetPosition(5);
    NotifyCounter changes;
    target.SetOnChange(TNotifyEvent(&changes, &NotifyCounter::Changed));
    target.Assign(&source);
    EXPECT_EQ(Held(target), image);
    EXPECT_NE(target.Stream(), source.Stream());
    EXPECT_EQ(source.Stream()->Position(), 0);
    EXPECT_EQ(target.Stream()->Position(), 0);
    EXPECT_EQ(changes.count, 1);

    target.Assign(&target);
    EXPECT_EQ(Held(target), image);

    TOBLWave empty;
    target.Assign(&empty);
    EXPECT_TRUE(target.GetEmpty());
    ASSERT_NE(target.Stream(), nullptr);
    EXPECT_EQ(target.Stream()->Size(), 0);

    target.Assign(nullptr);
    EXPECT_EQ(target.Stream(), nullptr);

    TStringList foreign;
    EXPECT_THROW(target.Assign(&foreign), EConvertError);
}

namespace {

class TWaveHolder : public TComponent {
    VENDARO_CLASS(TWaveHolder, TComponent)
public:
    explicit TWaveHolder(TComponent* owner) : TComponent(owner) {}
    TOBLWave* Wave() const { return wave_.get(); }
    void SetWave(TOBLWave* value) { wave_->Assign(value); }
    static void Publish(TClassBuilder<TWaveHolder>& c) { c.Property("Wave", &TWaveHolder::Wave, &TWaveHolder::SetWave); }

private:
    std::unique_ptr<TOBLWave> wave_ = std::make_unique<TOBLWave>();
};

AnsiString FormText(TWaveHolder& holder)
{
    TStringStream text;
    TWriter writer(&text);
    writer.WriteRootComponent(&holder);
    return text.DataString();
}

std::string HexOf(const Bytes& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const BYTE b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

} // namespace

TEST(WaveDataProperty, WrittenAsSizeAndImageAndReadBack)
{
    TWaveHolder holder(nullptr);
    holder.SetName("Holder");
    const Bytes image = WaveImage({1, 1, 8000, 8, "fmt ", 3});
    Load(*holder.Wave(), image);
    const AnsiString text = FormText(holder);
    std::string compact;
    for (const char ch : text.str())
        if (ch != ' ' && ch != '\r' && ch != '\n') compact += ch;
    EXPECT_NE(compact.find("Wave.Data={" + HexOf(Int32(static_cast<int>(image.size())) + image) + "}"), std::string::npos)
        << text.str();

    TWaveHolder back(nullptr);
    TStringStream in(text);
    TReader reader(&in);
    reader.ReadRootComponent(&back);
    EXPECT_EQ(Held(*back.Wave()), image);
}

TEST(WaveDataProperty, OnlyWrittenWhileAStreamIsHeld)
{
    TWaveHolder holder(nullptr);
    holder.SetName("Holder");
    EXPECT_EQ(FormText(holder).str().find("Data"), std::string::npos);
    TMemoryStream sink;
    holder.Wave()->SaveToStream(&sink); // from now on an (empty) stream is held
    const std::string text = FormText(holder).str();
    EXPECT_NE(text.find("Wave.Data"), std::string::npos) << text;
    EXPECT_NE(text.find("00000000}"), std::string::npos) << text;
}

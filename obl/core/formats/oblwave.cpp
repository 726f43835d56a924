#include "obl/core/formats/oblwave.h"

#include "obl/core/formats/Oblstreamutils.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/RtlConsts.h"
#include "platform/win/kernel/Sound.h"

#include <cstring>

namespace {

constexpr UINT PlayFlags(TOBLSndPlayMode mode)
{
    switch (mode) {
    case TOBLSndPlayMode::sdAsync: return SND_ASYNC | SND_NODEFAULT | SND_MEMORY;
    case TOBLSndPlayMode::sdLoop: return SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP;
    default: return SND_NODEFAULT | SND_MEMORY;
    }
}

std::uint32_t LittleEndian(const BYTE* bytes, int size)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

bool SameTag(const BYTE* bytes, const char* tag) { return std::memcmp(bytes, tag, 4) == 0; }

// Reads the header fields; false at the first signature that does not match.
bool ReadWaveHeader(TStream* stream, TOBLWaveInfo& info)
{
    BYTE field[12];
    stream->ReadBuffer(field, 4);
    if (!SameTag(field, "RIFF")) return false;
    stream->ReadBuffer(field, 4);
    info.RiffSize = LittleEndian(field, 4);
    stream->ReadBuffer(field, 4);
    if (!SameTag(field, "WAVE")) return false;
    stream->ReadBuffer(field, 4);
    if (!SameTag(field, "fmt ")) return false;
    stream->ReadBuffer(field, 4); // chunk length
    stream->ReadBuffer(field, 12);
    const auto formatTag = LittleEndian(field, 2);
    const auto channels = LittleEndian(field + 2, 2);
    info.Format = formatTag == 1 ? TOBLWaveFormat::wfPCM : TOBLWaveFormat::wfUnknown;
    info.ChannelMode = channels == 1   ? TOBLChannelMode::cmMono
                       : channels == 2 ? TOBLChannelMode::cmStereo
                                       : TOBLChannelMode::cmUnknown;
    info.SampleRate = LittleEndian(field + 4, 4);
    stream->ReadBuffer(field, 2); // nBlockAlign: part of the header that must be there
    // wBitsPerSample follows; a header that ends before it still passes, with 0.
    BYTE bits[2] = {0, 0};
    stream->Read(bits, 2);
    info.Bits = static_cast<WORD>(LittleEndian(bits, 2));
    return true;
}

} // namespace

bool OBLMMWavePossible() { return waveOutGetNumDevs() > 0; }

bool OBLGetWaveStreamInfo(TStream* Stream, TOBLWaveInfo& Info)
{
    if (!Stream || Stream->Size() == 0) return false;
    bool accepted = false;
    try {
        accepted = ReadWaveHeader(Stream, Info);
    } catch (const Exception&) {
        Stream->SetPosition(0);
        // The file-open text keeps its placeholder unfilled, as the library always wrote it.
        throw EErrorCheckingWave(AnsiString("GetWaveData: ") + SFOpenError);
    }
    Stream->SetPosition(0);
    return accepted;
}

bool OBLGetWaveFileInfo(const AnsiString& FileName, TOBLWaveInfo& Info)
{
    if (!FileExists(FileName)) return false;
    TFileStream file(FileName, fmOpenRead);
    return OBLGetWaveStreamInfo(&file, Info);
}

TOBLWave::TOBLWave() = default;

TOBLWave::TOBLWave(const AnsiString& FileName) { LoadFromFile(FileName); }

TOBLWave::~TOBLWave()
{
    if (stream_) Stop();
}

bool TOBLWave::GetEmpty() const { return !stream_ || stream_->Size() == 0; }

int TOBLWave::GetSize() const { return GetEmpty() ? 0 : static_cast<int>(stream_->Size()); }

TOBLWaveInfo TOBLWave::GetInfo() const
{
    TOBLWaveInfo info;
    if (!GetEmpty()) OBLGetWaveStreamInfo(stream_.get(), info);
    return info;
}

void TOBLWave::NewWave(TMemoryStream* Stream)
{
    std::unique_ptr<TMemoryStream> incoming(Stream);
    // A sound started asynchronously may still be playing from the old image.
    if (stream_) Stop();
    stream_ = std::move(incoming);
    if (stream_) stream_->SetPosition(0);
    Change();
}

void TOBLWave::ReadStream(int Size, TStream* Stream)
{
    if (Stream->Size() == 0) {
        NewWave(nullptr);
        return;
    }
    if (Size < 0 || Size > Stream->Size() - Stream->Position()) throw EReadError(SReadError);
    auto image = std::make_unique<TMemoryStream>();
    image->SetSize(Size);
    if (Size > 0) Stream->ReadBuffer(image->Memory(), Size);
    image->SetPosition(0);
    TOBLWaveInfo info;
    if (OBLGetWaveStreamInfo(image.get(), info)) NewWave(image.release());
}

void TOBLWave::WriteStream(TStream* Stream, bool WithSize)
{
    if (!stream_) stream_ = std::make_unique<TMemoryStream>();
    const int size = static_cast<int>(stream_->Size());
    if (WithSize) stWriteInteger(Stream, size);
    if (size > 0) Stream->WriteBuffer(stream_->Memory(), size);
}

void TOBLWave::ReadData(TStream* Stream) { ReadStream(stReadFieldSize(Stream), Stream); }

void TOBLWave::WriteData(TStream* Stream) { WriteStream(Stream, true); }

void TOBLWave::LoadFromFile(const AnsiString& FileName)
{
    TFileStream file(FileName, fmOpenRead | fmShareDenyRead);
    ReadStream(static_cast<int>(file.Size()), &file);
}

void TOBLWave::LoadFromStream(TStream* Stream)
{
    ReadStream(static_cast<int>(Stream->Size() - Stream->Position()), Stream);
}

void TOBLWave::LoadFromStreamEx(TStream* Stream) { ReadStream(stReadFieldSize(Stream), Stream); }

void TOBLWave::LoadCompressedFromStream(TStream* Stream)
{
    TMemoryStream raw;
    LoadCompressedStream(Stream, &raw);
    raw.SetPosition(0);
    LoadFromStream(&raw);
}

void TOBLWave::SaveToFile(const AnsiString& FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file);
}

void TOBLWave::SaveToStream(TStream* Stream) { WriteStream(Stream, false); }

void TOBLWave::SaveToStreamEx(TStream* Stream) { WriteStream(Stream, true); }

void TOBLWave::SaveCompressedToStream(TStream* Stream)
{
    TMemoryStream raw;
    SaveToStream(&raw);
    raw.SetPosition(0);
    SaveCompressedStream(&raw, Stream, static_cast<int>(raw.Size()));
}

void TOBLWave::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TOBLWave*>(Source)) {
        if (other == this) return;
        auto copy = std::make_unique<TMemoryStream>();
        if (other->stream_) {
            other->stream_->SetPosition(0);
            copy->CopyFrom(other->stream_.get(), other->stream_->Size());
            other->stream_->SetPosition(0);
        }
        NewWave(copy.release());
    } else if (!Source) {
        NewWave(nullptr);
    } else {
        inherited::Assign(Source);
    }
}

void TOBLWave::DefineProperties(TFiler* Filer)
{
    Filer->DefineBinaryProperty(
        "Data", [this](TStream* stream) { ReadData(stream); }, [this](TStream* stream) { WriteData(stream); },
        stream_ != nullptr);
}

bool TOBLWave::StartSound(UINT flags)
{
    if (GetEmpty() || !OBLMMWavePossible()) return false;
    return sndPlaySoundA(static_cast<LPCSTR>(stream_->Memory()), flags) != FALSE;
}

bool TOBLWave::Play() { return StartSound(PlayFlags(TOBLSndPlayMode::sdAsync)); }

bool TOBLWave::PlaySoundExt(TOBLSndPlayMode Mode) { return StartSound(PlayFlags(Mode)); }

void TOBLWave::Stop() { sndPlaySoundA(nullptr, SND_MEMORY); }

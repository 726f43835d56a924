// Unit oblwave: a sound kept in memory as the complete image of a RIFF WAVE
// file, played through the platform's simple sound interface and stored in form
// descriptions (binary property "Data": int32 N and the N bytes of the image)
// and in the library's streams (plain, raw or compressed).
#pragma once

#include "obl/core/base/OBLObject.h"
#include "platform/classlib/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <memory>

enum class TOBLChannelMode : std::uint8_t { cmUnknown, cmMono, cmStereo };
enum class TOBLWaveFormat : std::uint8_t { wfUnknown, wfPCM };
enum class TOBLSndPlayMode : std::uint8_t { sdSync, sdAsync, sdLoop };

struct TOBLWaveInfo {
    DWORD RiffSize = 0;
    DWORD SampleRate = 0;
    TOBLChannelMode ChannelMode = TOBLChannelMode::cmUnknown;
    TOBLWaveFormat Format = TOBLWaveFormat::wfUnknown;
    WORD Bits = 0;
};

VENDARO_EXCEPTION(EErrorCheckingWave, Exception);

class TOBLWave : public TOBLObject {
    VENDARO_CLASS(TOBLWave, TOBLObject)
public:
    TOBLWave();
    explicit TOBLWave(const AnsiString& FileName);
    ~TOBLWave() override;

    void Assign(TPersistent* Source) override;

    bool GetEmpty() const;
    int GetSize() const;
    TOBLWaveInfo GetInfo() const;
    DWORD GetSampleRate() const { return GetInfo().SampleRate; }
    TOBLChannelMode GetChannelMode() const { return GetInfo().ChannelMode; }
    TOBLWaveFormat GetFormat() const { return GetInfo().Format; }
    WORD GetBits() const { return GetInfo().Bits; }

    // Stops playing, frees the held image and takes Stream (or none) in its place.
    void NewWave(TMemoryStream* Stream);
    void FreeWave() { NewWave(nullptr); }
    // The held image, or null.
    TMemoryStream* Stream() const { return stream_.get(); }

    virtual void ReadData(TStream* Stream);
    virtual void WriteData(TStream* Stream);
    virtual void LoadFromFile(const AnsiString& FileName);
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToFile(const AnsiString& FileName);
    virtual void SaveToStream(TStream* Stream);
    void LoadFromStreamEx(TStream* Stream);
    void SaveToStreamEx(TStream* Stream);
    void LoadCompressedFromStream(TStream* Stream);
    void SaveCompressedToStream(TStream* Stream);

    // Plays the image asynchronously from memory; false when empty, without a
    // wave output device, or when the platform refuses.
    bool Play();
    bool PlaySoundExt(TOBLSndPlayMode Mode);
    // Stops whatever sound is playing (of any wave).
    void Stop();

protected:
    // The binary property "Data", written whenever an image stream is held.
    void DefineProperties(TFiler* Filer) override;
    // Takes Size bytes of Stream as the new image when they are a RIFF WAVE image.
    void ReadStream(int Size, TStream* Stream);
    void WriteStream(TStream* Stream, bool WithSize);

private:
    bool StartSound(UINT flags);

    std::unique_ptr<TMemoryStream> stream_;
};

// True when the platform reports at least one wave output device.
bool OBLMMWavePossible();
// Reads the RIFF WAVE header at Stream's position ("fmt " must be the first
// chunk) into Info; the stream is rewound to 0. A header cut short raises
// EErrorCheckingWave.
bool OBLGetWaveStreamInfo(TStream* Stream, TOBLWaveInfo& Info);
bool OBLGetWaveFileInfo(const AnsiString& FileName, TOBLWaveInfo& Info);

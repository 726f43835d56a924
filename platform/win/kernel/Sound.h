// Wave sound: nothing is played. Calls are checked and recorded, and the number of wave
// output devices is a setting (0 by default, so playing fails as on a machine without sound).
#pragma once

#include "platform/rtl/AnsiString.h"
#include "platform/win/WinTypes.h"

#include <vector>

constexpr UINT SND_SYNC = 0x0000;
constexpr UINT SND_ASYNC = 0x0001;
constexpr UINT SND_NODEFAULT = 0x0002;
constexpr UINT SND_MEMORY = 0x0004;
constexpr UINT SND_LOOP = 0x0008;
constexpr UINT SND_NOSTOP = 0x0010;

// sound nullptr stops what is playing (TRUE). Otherwise, with SND_MEMORY, sound is a RIFF WAVE
// image in memory (anything else fails); without it, a file or alias name. Playing needs a
// wave device; a looping sound needs SND_ASYNC; SND_NOSTOP fails while a loop plays.
BOOL sndPlaySoundA(LPCSTR sound, UINT flags);
inline BOOL sndPlaySound(LPCSTR sound, UINT flags) { return sndPlaySoundA(sound, flags); }
UINT waveOutGetNumDevs();

void SetWaveOutDeviceCount(UINT count);

struct TSoundCall {
    const void* image; // the memory image (SND_MEMORY), else nullptr
    AnsiString name;   // the file or alias name without SND_MEMORY
    UINT flags;
    BOOL result;
};
const std::vector<TSoundCall>& SoundCallLog();
void ClearSoundCallLog();
// True while a sound started with SND_ASYNC | SND_LOOP has not been stopped or replaced.
bool SoundLooping();

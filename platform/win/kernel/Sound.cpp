#include "platform/win/kernel/Sound.h"

#include <cstring>
#include <mutex>

namespace {

std::mutex lock;
UINT deviceCount = 0;
std::vector<TSoundCall> calls;
bool looping = false;

bool IsWaveImage(const void* image)
{
    const auto* bytes = static_cast<const char*>(image);
    return std::memcmp(bytes, "RIFF", 4) == 0 && std::memcmp(bytes + 8, "WAVE", 4) == 0;
}

BOOL Play(LPCSTR sound, UINT flags)
{
    if (sound == nullptr) {
        looping = false;
        return TRUE;
    }
    if ((flags & SND_MEMORY) && !IsWaveImage(sound))
        return FALSE;
    if ((flags & SND_LOOP) && !(flags & SND_ASYNC))
        return FALSE;
    if ((flags & SND_NOSTOP) && looping)
        return FALSE; // the sound playing is not to be interrupted
    if (deviceCount == 0)
        return FALSE;
    looping = (flags & SND_LOOP) != 0;
    return TRUE;
}

} // namespace

BOOL sndPlaySoundA(LPCSTR sound, UINT flags)
{
    std::lock_guard guard(lock);
    const BOOL result = Play(sound, flags);
    const bool memory = (flags & SND_MEMORY) != 0;
    calls.push_back({memory ? static_cast<const void*>(sound) : nullptr,
                     (!memory && sound) ? AnsiString(sound) : AnsiString(), flags, result});
    return result;
}

UINT waveOutGetNumDevs()
{
    std::lock_guard guard(lock);
    return deviceCount;
}

void SetWaveOutDeviceCount(UINT count)
{
    std::lock_guard guard(lock);
    deviceCount = count;
}

const std::vector<TSoundCall>& SoundCallLog() { return calls; }

void ClearSoundCallLog()
{
    std::lock_guard guard(lock);
    calls.clear();
    looping = false;
}

bool SoundLooping()
{
    std::lock_guard guard(lock);
    return looping;
}

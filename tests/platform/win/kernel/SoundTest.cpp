#include "platform/win/kernel/Sound.h"

#include <gtest/gtest.h>

namespace {

const char kWave[44] = {'R', 'I', 'F', 'F', 36, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
const char kNotWave[16] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '};

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override { ClearSoundCallLog(); }
    void TearDown() override
    {
        SetWaveOutDeviceCount(0);
        ClearSoundCallLog();
    }
};

TEST_F(SoundTest, NoDeviceByDefault)
{
    EXPECT_EQ(waveOutGetNumDevs(), 0u);
    EXPECT_FALSE(sndPlaySoundA(kWave, SND_ASYNC | SND_NODEFAULT | SND_MEMORY));
    ASSERT_EQ(SoundCallLog().size(), 1u);
    EXPECT_EQ(SoundCallLog()[0].image, kWave);
    EXPECT_EQ(SoundCallLog()[0].flags, 7u);
    EXPECT_FALSE(SoundCallLog()[0].result);
}

TEST_F(SoundTest, PlayingWithADeviceAndStopping)
{
    SetWaveOutDeviceCount(1);
    EXPECT_EQ(waveOutGetNumDevs(), 1u);
    const struct { const char* sound; UINT flags; BOOL result; bool looping; } cases[] = {
        {kWave, SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP, TRUE, true},
        {kWave, SND_ASYNC | SND_MEMORY | SND_NOSTOP, FALSE, true},
        {nullptr, SND_MEMORY, TRUE, false},
        {kWave, SND_NODEFAULT | SND_MEMORY, TRUE, false},
        {kNotWave, SND_MEMORY, FALSE, false},
        {kWave, SND_MEMORY | SND_LOOP, FALSE, false}, // looping needs asynchronous play
        {"SystemAsterisk", SND_ASYNC, TRUE, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sndPlaySoundA(c.sound, c.flags), c.result) << c.flags;
        EXPECT_EQ(SoundLooping(), c.looping) << c.flags;
    }
    ASSERT_EQ(SoundCallLog().size(), 7u);
    EXPECT_EQ(SoundCallLog()[2].image, nullptr);
    EXPECT_EQ(SoundCallLog()[6].name, "SystemAsterisk");
    EXPECT_EQ(SoundCallLog()[6].image, nullptr);
}

} // namespace

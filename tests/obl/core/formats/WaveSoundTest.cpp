#include "obl/core/formats/oblwave.h"

#include "platform/win/kernel/Sound.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<BYTE>;

Bytes MinimalWave()
{
    Bytes out = {'R', 'I', 'F', 'F', 30, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                 1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0};
    for (int i = 0; i < 6; ++i) out.push_back(0x80);
    return out;
}

void Load(TOBLWave& wave, const Bytes& image)
{
    TMemoryStream stream;
    stream.WriteBuffer(image.data(), static_cast<int>(image.size()));
    stream.SetPosition(0);
    wave.LoadFromStream(&stream);
}

struct Call {
    const void* image;
    UINT flags;
};

std::vector<Call> Calls()
{
    std::vector<Call> out;
    for (const TSoundCall& c : SoundCallLog()) out.push_back({c.image, c.flags});
    return out;
}

struct WaveSoundTest : ::testing::Test {
    void SetUp() override
    {
        ClearSoundCallLog();
        SetWaveOutDeviceCount(1);
    }
    void TearDown() override
    {
        SetWaveOutDeviceCount(0);
        ClearSoundCallLog();
    }
};

} // namespace

TEST_F(WaveSoundTest, PlayModesPassTheirFlags)
{
    TOBLWave wave;
    Load(wave, MinimalWave());
    const void* image = wave.Stream()->Memory();
    const struct {
        TOBLSndPlayMode mode;
        UINT flags;
    } cases[] = {
        {TOBLSndPlayMode::sdAsync, 7},
        {TOBLSndPlayMode::sdLoop, 15},
        {TOBLSndPlayMode::sdSync, 6},
        {static_cast<TOBLSndPlayMode>(9), 6},
    };
    for (const auto& c : cases) {
        ClearSoundCallLog();
        EXPECT_TRUE(wave.PlaySoundExt(c.mode));
        ASSERT_EQ(Calls().size(), 1u);
        EXPECT_EQ(Calls()[0].image, image);
        EXPECT_EQ(Calls()[0].flags, c.flags);
    }
    ClearSoundCallLog();
    EXPECT_TRUE(wave.Play());
    EXPECT_EQ(Calls()[0].flags, 7u);
}

TEST_F(WaveSoundTest, NothingIsPlayedWithoutSoundOrDevice)
{
    TOBLWave empty;
    EXPECT_FALSE(empty.Play());
    TOBLWave wave;
    Load(wave, MinimalWave());
    SetWaveOutDeviceCount(0);
    EXPECT_FALSE(OBLMMWavePossible());
    EXPECT_FALSE(wave.Play());
    EXPECT_FALSE(wave.PlaySoundExt(TOBLSndPlayMode::sdLoop));
    EXPECT_TRUE(Calls().empty());
    SetWaveOutDeviceCount(2);
    EXPECT_TRUE(OBLMMWavePossible());
}

TEST_F(WaveSoundTest, SoundStopsBeforeItsImageIsReplacedOrFreed)
{
    const struct {
        const char* name;
        void (*replace)(TOBLWave&);
    } cases[] = {
        {"new wave", [](TOBLWave& w) { Load(w, MinimalWave()); }},
        {"free wave", [](TOBLWave& w) { w.FreeWave(); }},
        // The source holds no image, so its own destruction stops nothing.
        {"assign", [](TOBLWave& w) { TOBLWave other; w.Assign(&other); }},
        {"assign nothing", [](TOBLWave& w) { w.Assign(nullptr); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOBLWave wave;
        Load(wave, MinimalWave());
        ASSERT_TRUE(wave.PlaySoundExt(TOBLSndPlayMode::sdLoop));
        EXPECT_TRUE(SoundLooping());
        c.replace(wave);
        EXPECT_FALSE(SoundLooping());
        const auto calls = Calls();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back().image, nullptr);
        EXPECT_EQ(calls.back().flags, 4u);
    }
}

TEST_F(WaveSoundTest, DestructorStopsOnlyWhenAnImageIsHeld)
{
    {
        TOBLWave wave;
    }
    EXPECT_TRUE(Calls().empty());
    {
        TOBLWave wave;
        Load(wave, MinimalWave());
        wave.PlaySoundExt(TOBLSndPlayMode::sdLoop);
    }
    EXPECT_FALSE(SoundLooping());
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[1].image, nullptr);
}

TEST_F(WaveSoundTest, SelfAssignmentKeepsPlaying)
{
    TOBLWave wave;
    Load(wave, MinimalWave());
    wave.PlaySoundExt(TOBLSndPlayMode::sdLoop);
    wave.Assign(&wave);
    EXPECT_TRUE(SoundLooping());
    EXPECT_EQ(Calls().size(), 1u);
}

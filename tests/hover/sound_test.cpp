// PlayWavRes in this process (the test program carries the launcher's
// resources), heard at Wine's audio output: every call plays resource 101
// once, bit for bit, whatever flags it is given.
#include <windows.h>
#include <gtest/gtest.h>
#include <mmsystem.h>

#include <optional>

#include "hover/mdlPlayWavRes.h"
#include "tests/harness/ExeResources.h"
#include "tests/harness/SoundCapture.h"

namespace {

TEST(PlayWavRes, PlaysResource101OncePerCallWhateverTheFlags) {
  harness::SoundCapture sound;
  ASSERT_TRUE(sound.Available()) << "KORVANE_SOUND_CAPTURE is not set: run through scripts/test.sh";
  // The resource as this program file holds it, read past the toolkit's
  // loader that PlayWavRes itself uses.
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::vector<unsigned char> chime = harness::WaveSamples(harness::ExeResourceBytes(self, 101, "WAV"));
  ASSERT_EQ(chime.size(), 7778u);

  struct Case {
    const char* what;
    std::optional<std::uint32_t> flags;
    bool returnsAtOnce;
  } cases[] = {
      {"no flags: synchronous", std::nullopt, false},
      {"SND_NODEFAULT without SND_MEMORY", SND_NODEFAULT, false},
      {"zero", 0u, false},
      {"SND_ASYNC | SND_NODEFAULT", SND_ASYNC | SND_NODEFAULT, true},
  };
  for (const auto& c : cases) {
    sound.Clear();
    for (int call = 1; call <= 2; ++call) {
      mdlPlayWavRes::PlayWavRes(101, c.flags);
      if (!c.returnsAtOnce) {
        // A synchronous play has reached the output when the call returns.
        EXPECT_EQ(sound.StartTicks().size(), static_cast<size_t>(call)) << c.what;
      }
      Sleep(250);
    }
    auto plays = sound.Plays();
    ASSERT_EQ(plays.size(), 2u) << c.what;
    for (const auto& play : plays) EXPECT_EQ(harness::SampleDifference(play, chime), "") << c.what;
  }
}

}  // namespace

// Plays a sound resource of the program (custom type "WAV", a complete
// RIFF/WAVE file) from memory.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <optional>

namespace mdlPlayWavRes {

// The call that plays, in one place so that a test can stand in for it;
// nullptr: winmm's sndPlaySoundA, loaded at the first play.
extern decltype(&sndPlaySoundA) g_sndPlaySound;

// Flags of sndPlaySoundA; SND_MEMORY is always added. Without flags the call
// is SND_NODEFAULT | SND_MEMORY: synchronous, no default sound instead.
// Nothing is reported when the sound cannot be played.
void PlayWavRes(int id, std::optional<std::uint32_t> flags = std::nullopt);

}  // namespace mdlPlayWavRes

// Plays a sound resource of the program (custom type "WAV", a complete
// RIFF/WAVE file) from memory.
#pragma once
#include <cstdint>
#include <optional>

namespace mdlPlayWavRes {

// Flags of sndPlaySoundA; SND_MEMORY is always added. Without flags the call
// is SND_NODEFAULT | SND_MEMORY: synchronous, no default sound instead.
// Nothing is reported when the sound cannot be played.
void PlayWavRes(int id, std::optional<std::uint32_t> flags = std::nullopt);

}  // namespace mdlPlayWavRes

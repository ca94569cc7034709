#include "hover/mdlPlayWavRes.h"

#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "toolkit/Resources.h"
#include "toolkit/SystemDll.h"

namespace mdlPlayWavRes {

decltype(&sndPlaySoundA) g_sndPlaySound = nullptr;

namespace {
// An asynchronous sound plays on after the call, so its bytes must stay;
// they are kept until the next call, which stops that sound first.
std::vector<unsigned char>& AsyncBuffer() {
  static std::vector<unsigned char> buffer;
  return buffer;
}

// winmm is loaded at the first play: the first hover, after its highlight
// is on the screen.
BOOL Play(LPCSTR sound, UINT flags) {
  if (g_sndPlaySound) return g_sndPlaySound(sound, flags);
  static const auto play = tk::SystemFunction<decltype(&sndPlaySoundA)>("winmm.dll", "sndPlaySoundA");
  return play ? play(sound, flags) : FALSE;
}

}  // namespace

void PlayWavRes(int id, std::optional<std::uint32_t> flags) {
  UINT f = flags.value_or(SND_NODEFAULT | SND_MEMORY) | SND_MEMORY;
  if (!AsyncBuffer().empty()) {
    Play(nullptr, 0);
    AsyncBuffer().clear();
  }
  // Loaded anew for every play: nothing is cached. A sound that cannot be
  // had is not played, and nobody is told: the highlight goes on without it.
  std::vector<unsigned char> buffer;
  try {
    buffer = tk::LoadResData(id, "WAV");
  } catch (const std::exception&) {
    return;
  }
  Play(reinterpret_cast<LPCSTR>(buffer.data()), f);
  if (f & SND_ASYNC) AsyncBuffer() = std::move(buffer);
}

}  // namespace mdlPlayWavRes

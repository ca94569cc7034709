// The sound that the programs under test play, taken at Wine's real audio
// output. scripts/wine-env.sh points ALSA's default device at a WAV file
// ($KORVANE_SOUND_CAPTURE), written bit-exact. Every play opens the device
// anew, and ALSA then rewrites the file from the start: after three plays the
// file holds the last one only. So a collector thread moves the file aside
// as soon as it appears. The writer keeps its open descriptor and finishes
// into the moved file; the next play creates a new one. One file per play.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace harness {

class SoundCapture {
 public:
  // Deletes what earlier plays left behind, then starts collecting.
  SoundCapture();
  ~SoundCapture();  // stops collecting and deletes the collected files
  SoundCapture(const SoundCapture&) = delete;
  SoundCapture& operator=(const SoundCapture&) = delete;

  // False when no capture file is configured (not run by scripts/test.sh).
  bool Available() const { return !capture_.empty(); }

  // The sample bytes (the WAVE data chunk) of every play since the start or
  // the last Clear(), in order. Waits up to timeoutMs for plays that are
  // still being written; an unfinished one comes back as far as written.
  std::vector<std::vector<unsigned char>> Plays(DWORD timeoutMs = 2000);
  // Waits until at least `count` plays have started since the start or the
  // last Clear(), or the time is up; the number started. A loaded or
  // emulated machine opens its audio device later than an idle one.
  size_t WaitForPlays(size_t count, DWORD timeoutMs = 3000);
  // GetTickCount() when each play's file was first seen (its start, within
  // the collector's period of about a millisecond).
  std::vector<DWORD> StartTicks();
  // The plays started so far, exact once the program that plays has ended:
  // any play it made has created the device's file, which this collects at
  // once instead of waiting for the collector.
  size_t PlaysOfAnEndedProgram();
  // From now on the collector reads this point of the screen as it sees a
  // play start: what the screen showed when the sound began.
  void WatchAtStart(POINT at);
  std::vector<COLORREF> PixelsAtStart();
  // Forgets and deletes the plays collected so far.
  void Clear();

 private:
  // Win32 threads: the win32 thread model of the toolchain has no std::thread.
  static DWORD WINAPI CollectorMain(void* self);
  void Collect();
  void CollectOnce();    // takes the file of a play that has started, if any
  struct Lock;           // holds lock_ for its scope
  std::string capture_;  // Windows path of the file ALSA writes
  CRITICAL_SECTION lock_;
  std::vector<std::string> files_;
  std::vector<DWORD> ticks_;
  bool watching_ = false;
  POINT watched_{};
  std::vector<COLORREF> pixels_;
  int next_ = 1;
  volatile LONG stop_ = 0;
  HANDLE collector_ = nullptr;
};

// The data chunk of a RIFF/WAVE image; empty when there is none.
std::vector<unsigned char> WaveSamples(const std::vector<unsigned char>& wave);

// "" when a play's samples are exactly `want`, give or take silence (zero
// bytes) before or after it: on a loaded machine Wine's mixer pads a play with
// a period of silence. Otherwise what differs, for a failure message.
std::string SampleDifference(const std::vector<unsigned char>& got, const std::vector<unsigned char>& want);

// Whether the image is complete: its RIFF size matches its length, which
// ALSA fixes up only when the play has ended.
bool WaveComplete(const std::vector<unsigned char>& wave);

// A whole file; empty when it cannot be read.
std::vector<unsigned char> ReadWholeFile(const std::string& path);

}  // namespace harness

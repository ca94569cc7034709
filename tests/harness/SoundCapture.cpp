#include "tests/harness/SoundCapture.h"

#include "tests/harness/Desktop.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace harness {

namespace {

std::uint32_t U32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// The variable holds a Unix path; Wine's drive Z: is the Unix root.
std::string WindowsPath(const char* unixPath) {
  std::string p = unixPath ? unixPath : "";
  if (p.empty() || p[0] != '/') return p;
  for (char& c : p)
    if (c == '/') c = '\\';
  return "Z:" + p;
}

void DeleteLeftovers(const std::string& capture) {
  DeleteFileA(capture.c_str());
  std::string folder = capture.substr(0, capture.find_last_of('\\') + 1);
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((capture + ".play*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    DeleteFileA((folder + found.cFileName).c_str());
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

}  // namespace

struct SoundCapture::Lock {
  explicit Lock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
  ~Lock() { LeaveCriticalSection(&cs_); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
  CRITICAL_SECTION& cs_;
};

std::vector<unsigned char> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<unsigned char> WaveSamples(const std::vector<unsigned char>& wave) {
  if (wave.size() < 12 || std::memcmp(wave.data(), "RIFF", 4) != 0 || std::memcmp(&wave[8], "WAVE", 4) != 0) return {};
  size_t at = 12;
  while (at + 8 <= wave.size()) {
    size_t size = U32(wave, at + 4);
    size_t body = at + 8;
    if (std::memcmp(&wave[at], "data", 4) == 0) {
      size_t end = body + size <= wave.size() ? body + size : wave.size();
      return std::vector<unsigned char>(wave.begin() + static_cast<long>(body), wave.begin() + static_cast<long>(end));
    }
    at = body + size + (size & 1);  // chunks are padded to even length
  }
  return {};
}

std::string SampleDifference(const std::vector<unsigned char>& got, const std::vector<unsigned char>& want) {
  auto silent = [&got](size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
      if (got[i] != 0) return false;
    return true;
  };
  // The play starts after some silence (none, usually) and ends before some.
  for (size_t start = 0; start + want.size() <= got.size() && silent(0, start); ++start)
    if (std::equal(want.begin(), want.end(), got.begin() + static_cast<long>(start)) &&
        silent(start + want.size(), got.size()))
      return "";
  size_t at = 0;
  while (at < got.size() && at < want.size() && got[at] == want[at]) ++at;
  std::string text = std::to_string(got.size()) + " bytes where " + std::to_string(want.size()) + " were played";
  if (at < got.size() && at < want.size())
    text += ", first difference at byte " + std::to_string(at) + " (" + std::to_string(got[at]) + " for " +
            std::to_string(want[at]) + ")";
  else if (got.size() > want.size())
    text += ", and the rest is not silence";
  return text;
}

bool WaveComplete(const std::vector<unsigned char>& wave) {
  return wave.size() >= 12 && std::memcmp(wave.data(), "RIFF", 4) == 0 && U32(wave, 4) + 8 == wave.size();
}

SoundCapture::SoundCapture() : capture_(WindowsPath(std::getenv("KORVANE_SOUND_CAPTURE"))) {
  InitializeCriticalSection(&lock_);
  if (!Available()) return;
  DeleteLeftovers(capture_);
  collector_ = CreateThread(nullptr, 0, CollectorMain, this, 0, nullptr);
}

SoundCapture::~SoundCapture() {
  if (collector_) {
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(collector_, INFINITE);
    CloseHandle(collector_);
  }
  if (Available()) DeleteLeftovers(capture_);
  DeleteCriticalSection(&lock_);
}

DWORD WINAPI SoundCapture::CollectorMain(void* self) {
  static_cast<SoundCapture*>(self)->Collect();
  return 0;
}

void SoundCapture::Collect() {
  while (!InterlockedCompareExchange(&stop_, 0, 0)) {
    CollectOnce();
    Sleep(1);
  }
}

void SoundCapture::CollectOnce() {
  if (GetFileAttributesA(capture_.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  DWORD seen = GetTickCount();
  Lock lock(lock_);
  std::string moved = capture_ + ".play" + std::to_string(next_);
  if (MoveFileA(capture_.c_str(), moved.c_str())) {
    ++next_;
    files_.push_back(moved);
    ticks_.push_back(seen);
    if (watching_) pixels_.push_back(ScreenPixel(watched_));
  }
}

size_t SoundCapture::PlaysOfAnEndedProgram() {
  if (Available()) CollectOnce();
  return StartTicks().size();
}

std::vector<std::vector<unsigned char>> SoundCapture::Plays(DWORD timeoutMs) {
  std::vector<std::vector<unsigned char>> plays;
  if (!Available()) return plays;
  DWORD start = GetTickCount();
  for (;;) {
    std::vector<std::vector<unsigned char>> waves;
    {
      Lock lock(lock_);
      for (const auto& file : files_) waves.push_back(ReadWholeFile(file));
    }
    bool complete = true;
    for (const auto& w : waves) complete = complete && WaveComplete(w);
    if (complete || GetTickCount() - start >= timeoutMs) {
      for (const auto& w : waves) plays.push_back(WaveSamples(w));
      return plays;
    }
    Sleep(20);
  }
}

size_t SoundCapture::WaitForPlays(size_t count, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    size_t started = StartTicks().size();
    if (started >= count || GetTickCount() - start >= timeoutMs) return started;
    Sleep(10);
  }
}

std::vector<DWORD> SoundCapture::StartTicks() {
  Lock lock(lock_);
  return ticks_;
}

void SoundCapture::WatchAtStart(POINT at) {
  Lock lock(lock_);
  watching_ = true;
  watched_ = at;
}

std::vector<COLORREF> SoundCapture::PixelsAtStart() {
  Lock lock(lock_);
  return pixels_;
}

void SoundCapture::Clear() {
  Lock lock(lock_);
  for (const auto& file : files_) DeleteFileA(file.c_str());
  files_.clear();
  ticks_.clear();
  pixels_.clear();
}

}  // namespace harness

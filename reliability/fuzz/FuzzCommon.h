// What the in-process fuzz programs share: the command line, a seeded PRNG,
// byte-string mutations, the failure record with its "key value" summary, a
// last-chance handler that names the input when a call crashes, and a scratch
// registry key where the platform stores and reads back data.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fuzz {

// xoshiro256** seeded through splitmix64: fast, and the same stream on i686
// and x86_64 for the same seed.
class Rng {
 public:
  explicit Rng(uint64_t seed);
  uint64_t Next();
  // Uniform in [0, n); n > 0.
  uint32_t Below(uint32_t n);
  // Uniform in [lo, hi].
  uint32_t Between(uint32_t lo, uint32_t hi) { return lo + Below(hi - lo + 1); }
  bool Percent(uint32_t p) { return Below(100) < p; }
  uint8_t Byte() { return static_cast<uint8_t>(Next()); }

 private:
  uint64_t s_[4];
};

struct Options {
  uint64_t count = 1000000;
  uint64_t seed = 0;
  // Count every violation instead of stopping at the first (for surveys);
  // the first of each rule is printed.
  bool keepGoing = false;
};

// "<program> [count] [--seed N] [--keep-going]"; exits 2 on a bad argument.
// Without --seed the seed comes from the clock; it is printed either way.
Options ParseOptions(int argc, char** argv);

// Hex of the bytes, cut after `limit` bytes with the full length noted.
std::string Hex(const void* data, size_t size, size_t limit = 2048);
inline std::string Hex(const std::string& s) { return Hex(s.data(), s.size()); }

// One random edit of `s`: bit flip, byte change, insert, delete, run of one
// byte, chunk duplicate, splice with a corpus entry, truncation, boundary byte.
// Lengths stay at or below maxSize.
void Mutate(Rng& rng, std::string& s, const std::vector<std::string>& corpus, size_t maxSize);

// Random bytes: all 256 values, or mostly from `alphabet` when it is given.
std::string RandomBytes(Rng& rng, size_t size, const std::string& alphabet = {});

// Violations and the summary. A program calls Fail for each broken rule;
// unless keepGoing, the first one ends the program (exit 1) after printing
// the input and the summary.
class Run {
 public:
  Run(const char* target, const Options& options);
  void Fail(const std::string& check, const std::string& detail, const std::string& inputHex);
  // Call after each input.
  void Done() { ++inputs_; }
  // Prints the summary; returns the exit code (0 clean, 1 violations).
  int Finish();
  // A broken checker (it accepted a known-wrong answer) is not a product
  // fault: exit 2 so the two cannot be confused.
  [[noreturn]] static void OracleBroken(const std::string& what);

 private:
  void PrintSummary() const;

  std::string target_;
  Options options_;
  uint64_t inputs_ = 0;
  uint64_t failures_ = 0;
  std::map<std::string, uint64_t> byCheck_;
  int64_t startTicks_ = 0;
};

// A broken rule: the check's name and what happened; an empty check is none.
struct Finding {
  std::string check;
  std::string detail;
};

// While set, a crash (access violation, ...) prints what `describe` returns
// as the input and ends the program with exit code 3.
void OnCrashDescribe(std::function<std::string()> describe);

// A volatile key of its own under HKEY_CURRENT_USER\Software, created by the
// constructor and deleted by the destructor. Exits 2 when the platform
// refuses to create it or to store a value in it.
class ScratchKey {
 public:
  ScratchKey();
  ~ScratchKey();
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;

  // The key's path below HKEY_CURRENT_USER.
  const std::string& Path() const { return path_; }
  void Put(const char* name, DWORD type, const std::string& data);
  // The value as stored (RegQueryValueExA); false when there is none.
  bool Raw(const char* name, DWORD& type, std::string& data) { return Read(name, 0, type, data); }
  // The value through RegGetValueA, which hands strings back terminated and,
  // unless flags hold RRF_NOEXPAND, REG_EXPAND_SZ data expanded; false when
  // it fails.
  bool Get(const char* name, DWORD flags, std::string& data) {
    DWORD type = REG_NONE;
    return Read(name, flags, type, data);
  }

 private:
  // flags 0: RegQueryValueExA; else RegGetValueA with those flags.
  bool Read(const char* name, DWORD flags, DWORD& type, std::string& data);

  std::string path_;
  HKEY key_ = nullptr;
  std::vector<BYTE> buffer_;
};

}  // namespace fuzz

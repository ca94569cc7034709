// Shared parts of the fuzz programs: options, PRNG, mutations, the summary,
// the crash handler and the scratch key.
#include "reliability/fuzz/FuzzCommon.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fuzz {

namespace {

uint64_t SplitMix(uint64_t& x) {
  uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

int64_t Ticks() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

double SecondsSince(int64_t start) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(Ticks() - start) / static_cast<double>(f.QuadPart);
}

[[noreturn]] void Usage(const char* why) {
  std::printf("usage: <program> [count] [--seed N] [--keep-going]\nerror %s\n", why);
  std::exit(2);
}

bool ParseUnsigned(const char* text, uint64_t& out) {
  if (!*text) return false;
  char* end = nullptr;
  out = std::strtoull(text, &end, 10);
  return *end == '\0' && text[0] != '-';
}

std::function<std::string()> g_describe;

LONG WINAPI CrashFilter(EXCEPTION_POINTERS* info) {
  std::printf("FAIL crash: exception 0x%08lX at %p\n", static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
              info->ExceptionRecord->ExceptionAddress);
  if (g_describe) std::printf("input %s\n", g_describe().c_str());
  std::printf("failures 1\n");
  std::fflush(stdout);
  ExitProcess(3);
}

}  // namespace

Rng::Rng(uint64_t seed) {
  uint64_t x = seed;
  for (uint64_t& s : s_) s = SplitMix(x);
}

uint64_t Rng::Next() {
  const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
  const uint64_t t = s_[1] << 17;
  s_[2] ^= s_[0];
  s_[3] ^= s_[1];
  s_[1] ^= s_[2];
  s_[0] ^= s_[3];
  s_[2] ^= t;
  s_[3] = Rotl(s_[3], 45);
  return result;
}

uint32_t Rng::Below(uint32_t n) {
  // The multiply-shift bias (below 2^-32) does not matter for fuzzing.
  return static_cast<uint32_t>(((Next() >> 32) * n) >> 32);
}

Options ParseOptions(int argc, char** argv) {
  Options o;
  bool seedGiven = false;
  bool countGiven = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--seed") {
      if (i + 1 >= argc || !ParseUnsigned(argv[++i], o.seed)) Usage("--seed needs a number");
      seedGiven = true;
    } else if (a == "--keep-going") {
      o.keepGoing = true;
    } else if (!countGiven && ParseUnsigned(argv[i], o.count)) {
      countGiven = true;
    } else {
      Usage(("unknown argument " + a).c_str());
    }
  }
  if (!seedGiven) o.seed = static_cast<uint64_t>(Ticks()) ^ (static_cast<uint64_t>(GetCurrentProcessId()) << 40);
  return o;
}

std::string Hex(const void* data, size_t size, size_t limit) {
  static const char kDigits[] = "0123456789abcdef";
  const auto* p = static_cast<const uint8_t*>(data);
  const size_t shown = size < limit ? size : limit;
  std::string out;
  out.reserve(shown * 2 + 32);
  for (size_t i = 0; i < shown; ++i) {
    out += kDigits[p[i] >> 4];
    out += kDigits[p[i] & 15];
  }
  if (shown == 0) out = "(empty)";
  if (shown < size) out += "... (" + std::to_string(size) + " bytes)";
  return out;
}

std::string RandomBytes(Rng& rng, size_t size, const std::string& alphabet) {
  // Several bytes from each 64-bit draw: large buffers are most of the work.
  std::string s(size, '\0');
  if (alphabet.empty()) {
    for (size_t i = 0; i < size; i += 8) {
      const uint64_t bits = rng.Next();
      for (size_t k = 0; k < 8 && i + k < size; ++k) s[i + k] = static_cast<char>(bits >> (8 * k));
    }
    return s;
  }
  const uint32_t n = static_cast<uint32_t>(alphabet.size());
  for (size_t i = 0; i < size; i += 4) {
    const uint64_t bits = rng.Next();
    for (size_t k = 0; k < 4 && i + k < size; ++k) {
      const uint32_t piece = static_cast<uint32_t>(bits >> (16 * k)) & 0xFFFF;
      // One byte in 16 from all 256 values, the rest from the alphabet.
      s[i + k] = (piece & 15) == 0 ? static_cast<char>(piece >> 8) : alphabet[((piece >> 4) * n) >> 12];
    }
  }
  return s;
}

void Mutate(Rng& rng, std::string& s, const std::vector<std::string>& corpus, size_t maxSize) {
  static const char kBoundary[] = {'\0', '\x01', '\x7F', '\x80', '\xFF', '%', '.', '-', '+', '0', '9', ' '};
  const auto pos = [&](size_t n) { return n == 0 ? 0 : rng.Below(static_cast<uint32_t>(n)); };
  switch (rng.Below(10)) {
    case 0:
      if (!s.empty()) s[pos(s.size())] ^= static_cast<char>(1u << rng.Below(8));
      break;
    case 1:
      if (!s.empty()) s[pos(s.size())] = static_cast<char>(rng.Byte());
      break;
    case 2:
      if (s.size() < maxSize) s.insert(s.begin() + pos(s.size() + 1), static_cast<char>(rng.Byte()));
      break;
    case 3:
      if (!s.empty()) s.erase(pos(s.size()), 1 + rng.Below(4));
      break;
    case 4: {
      const size_t run = 1 + rng.Below(rng.Percent(10) ? 4096 : 32);
      if (s.size() + run <= maxSize)
        s.insert(pos(s.size() + 1), run, rng.Percent(50) ? '\0' : static_cast<char>(rng.Byte()));
      break;
    }
    case 5:
      if (!s.empty()) {
        const size_t from = pos(s.size());
        const size_t len = 1 + pos(s.size() - from);
        const std::string chunk = s.substr(from, len);
        if (s.size() + chunk.size() <= maxSize) s.insert(pos(s.size() + 1), chunk);
      }
      break;
    case 6:
      if (!corpus.empty()) {
        const std::string& other = corpus[pos(corpus.size())];
        const std::string head = s.substr(0, pos(s.size() + 1));
        const std::string tail = other.substr(pos(other.size() + 1));
        if (head.size() + tail.size() <= maxSize) s = head + tail;
      }
      break;
    case 7: s.resize(pos(s.size() + 1)); break;
    case 8:
      if (!s.empty()) s[pos(s.size())] = kBoundary[rng.Below(sizeof kBoundary)];
      break;
    default:
      if (s.size() + 4 <= maxSize) s.append(rng.Below(5), '\0');
      break;
  }
}

Run::Run(const char* target, const Options& options) : target_(target), options_(options) {
  startTicks_ = Ticks();
  std::printf("target %s\nseed %llu\n", target, static_cast<unsigned long long>(options.seed));
  std::fflush(stdout);
}

void Run::Fail(const std::string& check, const std::string& detail, const std::string& inputHex) {
  ++failures_;
  ++byCheck_[check];
  // Surveys show the first violation of each rule.
  if (byCheck_[check] == 1) {
    std::printf("FAIL %s: %s\ninput %s\n", check.c_str(), detail.c_str(), inputHex.c_str());
  }
  if (!options_.keepGoing) {
    ++inputs_;  // the input that broke the rule counts as tried
    PrintSummary();
    std::fflush(stdout);
    std::exit(1);
  }
}

void Run::PrintSummary() const {
  std::printf("inputs %llu\nfailures %llu\nseconds %.2f\n", static_cast<unsigned long long>(inputs_),
              static_cast<unsigned long long>(failures_), SecondsSince(startTicks_));
  for (const auto& entry : byCheck_)
    std::printf("failures.%s %llu\n", entry.first.c_str(), static_cast<unsigned long long>(entry.second));
}

int Run::Finish() {
  PrintSummary();
  std::fflush(stdout);
  return failures_ == 0 ? 0 : 1;
}

void Run::OracleBroken(const std::string& what) {
  std::printf("ORACLE %s\n", what.c_str());
  std::fflush(stdout);
  std::exit(2);
}

void OnCrashDescribe(std::function<std::string()> describe) {
  g_describe = std::move(describe);
  SetUnhandledExceptionFilter(CrashFilter);
}

ScratchKey::ScratchKey() : path_("Software\\KorvaneFuzz" + std::to_string(GetCurrentProcessId())), buffer_(65536) {
  // Volatile: a run that crashes leaves nothing behind once wineserver ends.
  const LONG code = RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                                    KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
  if (code != ERROR_SUCCESS) {
    std::printf("error no scratch key (%ld)\n", static_cast<long>(code));
    std::exit(2);
  }
}

ScratchKey::~ScratchKey() {
  RegCloseKey(key_);
  RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchKey::Put(const char* name, DWORD type, const std::string& data) {
  const LONG code =
      RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
  if (code != ERROR_SUCCESS) {
    std::printf("error cannot store %s (%ld)\n", name, static_cast<long>(code));
    std::exit(2);
  }
}

bool ScratchKey::Read(const char* name, DWORD flags, DWORD& type, std::string& data) {
  for (;;) {
    DWORD size = static_cast<DWORD>(buffer_.size());
    const LONG code = flags == 0 ? RegQueryValueExA(key_, name, nullptr, &type, buffer_.data(), &size)
                                 : RegGetValueA(key_, nullptr, name, flags, &type, buffer_.data(), &size);
    if (code == ERROR_MORE_DATA) {
      buffer_.resize(size > buffer_.size() ? size : 2 * buffer_.size());
      continue;
    }
    if (code != ERROR_SUCCESS) return false;
    data.assign(buffer_.begin(), buffer_.begin() + size);
    return true;
  }
}

}  // namespace fuzz

// Fuzzes lxrules::DecodeRegData: every registry type number and random others,
// 0 to 64 KiB of data with odd terminators. Each input's data end either at a
// no-access page (any read past the end faults) or are followed by guard bytes
// (any write past the end, or a read that leaks into the result, shows). Each
// result is checked against another reading of the same data: strings and
// DWORDs stored in a scratch key and read back by RegGetValueA, multi-strings
// encoded again by EncodeSetting, any other type's bytes as they are.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "registry/LxSettingRules.h"
#include "reliability/fuzz/FuzzCommon.h"

namespace {

using namespace std::string_literals;
using fuzz::Rng;

constexpr DWORD kMaxSize = 65536;
constexpr size_t kGuardSize = 16;
const uint8_t kGuard[kGuardSize] = {0xEF, 0xBE, 0xAD, 0xDE, 0xEF, 0xBE, 0xAD, 0xDE,
                                    0xEF, 0xBE, 0xAD, 0xDE, 0xEF, 0xBE, 0xAD, 0xDE};

// The bytes a REG_DWORD decoder may look at: what was read, zero-filled to four.
DWORD BufferSize(DWORD type, DWORD size) { return type == REG_DWORD && size < 4 ? 4 : size; }

std::string Describe(DWORD type, const uint8_t* data, DWORD size) {
  return "type " + std::to_string(type) + " size " + std::to_string(size) + " data " + fuzz::Hex(data, size);
}

// The kind each registry type reads as; every other type reads as Byte().
const struct {
  DWORD type;
  const char* kind;
} kKinds[] = {{REG_SZ, "String"}, {REG_EXPAND_SZ, "String"}, {REG_MULTI_SZ, "String()"}, {REG_DWORD, "Long"}};

std::string KindOf(DWORD type) {
  for (const auto& k : kKinds)
    if (k.type == type) return k.kind;
  return "Byte()";
}

std::string WithoutTrailingNuls(std::string s) { return s.erase(s.find_last_not_of('\0') + 1); }

// "" when `got` holds the data as another party reads them: the platform for
// strings and numbers, the encoder for multi-strings; else what differs.
std::string CheckDecoded(fuzz::ScratchKey& key, DWORD type, const uint8_t* data, DWORD size, const LxVariant& got) {
  const std::string kind = KindOf(type);
  if (got.TypeName() != kind) return "a " + got.TypeName() + ", expected a " + kind;
  if (got.IsArray() && got.LBound() != 0) return "lower bound " + std::to_string(got.LBound());
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string seen;
  if (kind == "String") {
    // RegGetValueA hands a string back with one terminator, added where the data lack it.
    key.Put("data", type, bytes);
    if (!key.Get("data", RRF_RT_ANY | RRF_NOEXPAND, seen)) return "RegGetValueA cannot read the data";
    if (!seen.empty()) seen.pop_back();
    if (got.Text() != seen) return "text " + fuzz::Hex(got.Text()) + ", RegGetValueA reads " + fuzz::Hex(seen);
    return "";
  }
  if (kind == "Long") {
    // The four bytes the decoder is given, read by the platform as a DWORD.
    key.Put("data", REG_DWORD, std::string(reinterpret_cast<const char*>(data), 4));
    int32_t value = 0;
    if (!key.Get("data", RRF_RT_REG_DWORD, seen) || seen.size() != 4) return "RegGetValueA cannot read the DWORD";
    std::memcpy(&value, seen.data(), 4);
    if (got.IntValue() != value)
      return "value " + std::to_string(got.IntValue()) + ", RegGetValueA reads " + std::to_string(value);
    return "";
  }
  if (kind == "Byte()")
    return got.Bytes() == std::vector<uint8_t>(data, data + size) ? "" : "bytes differ from the data";
  // A multi-string: its items hold no NUL, and encoded again they give the
  // data back, up to the trailing NULs.
  for (size_t i = 0; i < got.Items().size(); ++i)
    if (got.Items()[i].Text().find('\0') != std::string::npos) return "item " + std::to_string(i) + " holds a NUL";
  const std::vector<BYTE> again = lxrules::EncodeSetting(got).bytes;
  if (WithoutTrailingNuls(std::string(again.begin(), again.end())) != WithoutTrailingNuls(bytes))
    return "the items encode as " + fuzz::Hex(again.data(), again.size());
  return "";
}

// Known-wrong answers that the checker must refuse, so that a pass means something.
void CheckTheChecker(fuzz::ScratchKey& key) {
  struct Case {
    DWORD type;
    std::string data;
    LxVariant wrong;
    LxVariant right;
  };
  using V = LxVariant;
  using S = std::vector<std::string>;
  const Case cases[] = {
      {REG_SZ, "ab\0"s, V::String("ab\0"s), V::String("ab")},
      {REG_SZ, "ab", V::String("a"), V::String("ab")},
      {REG_EXPAND_SZ, "a\0\0"s, V::String("a"), V::String("a\0"s)},
      {REG_EXPAND_SZ, "%TEMP%", V::String(""), V::String("%TEMP%")},
      {REG_SZ, "ab", V::ByteArray({'a', 'b'}), V::String("ab")},
      {REG_MULTI_SZ, "a\0b\0\0"s, V::StringArray(S{"ab"}), V::StringArray(S{"a", "b"})},
      {REG_MULTI_SZ, "a\0b\0\0"s, V::StringArray(S{"a\0b"s}), V::StringArray(S{"a", "b"})},
      {REG_MULTI_SZ, "\0a\0"s, V::StringArray(S{"a"}), V::StringArray(S{"", "a"})},
      {REG_MULTI_SZ, "a", V::StringArray(S{"a"}, 1), V::StringArray(S{"a"})},
      {REG_DWORD, "\x01\x02\x03\x04"s, V::Long(0x01020304), V::Long(0x04030201)},
      {REG_DWORD, "\xFF\xFF\xFF\xFF"s, V::Long(0), V::Long(-1)},
      {REG_DWORD, "\x05\0\0\0"s, V::Integer(5), V::Long(5)},
      {REG_BINARY, "\x01\x02"s, V::ByteArray({1, 3}), V::ByteArray({1, 2})},
      {REG_QWORD, "\x01\x02"s, V::ByteArray({1, 2}, 1), V::ByteArray({1, 2})},
      {REG_NONE, "", V::String(""), V::ByteArray({})},
  };
  for (const Case& c : cases) {
    const auto* p = reinterpret_cast<const uint8_t*>(c.data.data());
    const DWORD n = static_cast<DWORD>(c.data.size());
    if (CheckDecoded(key, c.type, p, n, c.right) != "")
      fuzz::Run::OracleBroken("refuses the right answer for " + Describe(c.type, p, n));
    if (CheckDecoded(key, c.type, p, n, c.wrong) == "")
      fuzz::Run::OracleBroken("accepts a wrong answer for " + Describe(c.type, p, n));
  }
}

const std::vector<std::string>& Corpus() {
  static const std::vector<std::string> corpus = {"7601\0"s,
                                                  "2195\0"s,
                                                  "62800.1106\0"s,
                                                  "54134\0"s,
                                                  "-1",
                                                  "99999999999",
                                                  "",
                                                  "a\0b\0\0"s,
                                                  "a\0\0b\0\0"s,
                                                  "\0a\0\0"s,
                                                  "a\0b"s,
                                                  "\0\0\0\0"s,
                                                  "6.0.2900.2180\0"s,
                                                  "%SystemRoot%\\system32\0"s,
                                                  "E100B\0"s,
                                                  "Intel(R) PRO/1000 MT\0"s,
                                                  "\xFF\xFF\xFF\xFF"s,
                                                  "\x01\0\0\0"s,
                                                  "\x01\0\0\0\0\0\0\0"s,
                                                  "{4D36E972-E325-11CE-BFC1-08002BE10318}\0\0"s};
  return corpus;
}

DWORD RandomType(Rng& rng) {
  static const DWORD kOdd[] = {12, 13, 42, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFF, 0x10000, 0x100};
  if (rng.Percent(80)) return rng.Below(REG_QWORD + 1);
  if (rng.Percent(50)) return kOdd[rng.Below(sizeof kOdd / sizeof kOdd[0])];
  return static_cast<DWORD>(rng.Next());
}

size_t RandomSize(Rng& rng) {
  static const size_t kEdges[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 255, 256, 4095, 4096, 65535, 65536};
  const uint32_t r = rng.Below(100);
  if (r < 8) return kEdges[rng.Below(sizeof kEdges / sizeof kEdges[0])];
  if (r < 50) return rng.Below(9);
  if (r < 80) return rng.Between(9, 64);
  if (r < 95) return rng.Between(65, 1024);
  if (r < 99) return rng.Between(1025, 8192);
  return rng.Between(8193, kMaxSize);
}

// Text whose pieces end in the ways registry data end: no terminator, one
// NUL, runs of NULs, NULs inside.
std::string TerminatedText(Rng& rng, size_t size) {
  static const std::string kAlphabet = "abcXYZ019 .-+%\\";
  std::string s;
  while (s.size() < size) {
    s += fuzz::RandomBytes(rng, rng.Below(rng.Percent(90) ? 12 : 600), kAlphabet);
    switch (rng.Below(4)) {
      case 0: break;
      case 1: s += '\0'; break;
      case 2: s.append(1 + rng.Below(8), '\0'); break;
      default: s.append(rng.Below(2), '\0'); break;
    }
  }
  s.resize(size);
  switch (rng.Below(4)) {
    case 0:
      if (!s.empty()) s.back() = '\0';
      break;
    case 1:
      if (s.size() >= 2) s[s.size() - 1] = s[s.size() - 2] = '\0';
      break;
    default: break;
  }
  return s;
}

std::string RandomData(Rng& rng) {
  const size_t size = RandomSize(rng);
  std::string data;
  switch (rng.Below(6)) {
    case 0: data = fuzz::RandomBytes(rng, size); break;
    case 1: data.assign(size, '\0'); break;
    case 2: data = Corpus()[rng.Below(static_cast<uint32_t>(Corpus().size()))]; break;
    default: data = TerminatedText(rng, size); break;
  }
  if (rng.Percent(50)) {
    for (uint32_t n = 1 + rng.Below(8); n > 0; --n) fuzz::Mutate(rng, data, Corpus(), kMaxSize);
  }
  if (data.size() > kMaxSize) data.resize(kMaxSize);
  return data;
}

// The two places the data go: the end of a page followed by a no-access page,
// and a heap block of exactly the data followed by guard bytes.
class Buffers {
 public:
  Buffers() {
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    const size_t page = si.dwPageSize;
    base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, kMaxSize + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old = 0;
    if (!base_ || !VirtualProtect(base_ + kMaxSize, page, PAGE_NOACCESS, &old)) {
      std::printf("error no guard page (%lu)\n", GetLastError());
      std::exit(2);
    }
  }
  // Where `n` bytes end exactly at the no-access page.
  uint8_t* AtPageEnd(size_t n) { return base_ + kMaxSize - n; }

 private:
  uint8_t* base_ = nullptr;
};

const uint8_t* g_crashData = nullptr;
DWORD g_crashType = 0;
DWORD g_crashSize = 0;

}  // namespace

int main(int argc, char** argv) {
  const fuzz::Options options = fuzz::ParseOptions(argc, argv);
  static fuzz::ScratchKey key;  // static: still deleted when a violation ends the program
  CheckTheChecker(key);
  fuzz::Run run("DecodeRegData", options);
  fuzz::OnCrashDescribe([] { return Describe(g_crashType, g_crashData, g_crashSize); });
  Rng rng(options.seed);
  Buffers buffers;
  std::vector<uint8_t> heap;

  for (uint64_t i = 0; i < options.count; ++i) {
    const DWORD type = RandomType(rng);
    const std::string data = RandomData(rng);
    const DWORD size = static_cast<DWORD>(data.size());
    const DWORD bufferSize = BufferSize(type, size);
    const bool atPageEnd = rng.Percent(50);

    uint8_t* buffer = nullptr;
    if (atPageEnd) {
      buffer = buffers.AtPageEnd(bufferSize);
    } else {
      heap.assign(bufferSize + kGuardSize, 0);
      buffer = heap.data();
      std::memcpy(buffer + bufferSize, kGuard, kGuardSize);
    }
    std::memset(buffer, 0, bufferSize);  // the zero fill a REG_DWORD read is owed
    if (size > 0) std::memcpy(buffer, data.data(), size);
    g_crashType = type;
    g_crashData = buffer;
    g_crashSize = bufferSize;

    std::string problem;
    try {
      const LxVariant got = lxrules::DecodeRegData(type, buffer, size);
      problem = CheckDecoded(key, type, buffer, size, got);
    } catch (const std::exception& e) {
      problem = std::string("threw ") + e.what();
    } catch (...) {
      problem = "threw something that is no std::exception";
    }
    if (problem.empty() && (size > 0 && std::memcmp(buffer, data.data(), size) != 0)) problem = "the data were written";
    if (problem.empty() && !atPageEnd && std::memcmp(buffer + bufferSize, kGuard, kGuardSize) != 0)
      problem = "guard bytes after the data were written";
    if (!problem.empty())
      run.Fail("type" + std::to_string(type <= REG_QWORD ? type : 99), problem, Describe(type, buffer, size));
    run.Done();
  }
  return run.Finish();
}

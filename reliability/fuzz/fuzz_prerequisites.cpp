// Fuzzes the text rules of the prerequisite checks: WholeNumber (the Windows
// build number), BuildLeadingPart and InternetExplorerTooOld (Internet
// Explorer's Build). First every build of up to six digits, bare and before
// ".1106", and with a sign, against tables of the answers by length and
// strtoll's reading of the digits; then random and mutated texts, whose
// WholeNumber strtoll answers, and short builds before random tails.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "commands/Prerequisites.h"
#include "reliability/fuzz/FuzzCommon.h"

namespace {

using namespace std::string_literals;
using fuzz::Rng;

constexpr long long kHeld = 1000000000000000000LL;

// The answers WholeNumber may give, from strtoll: one, or two from 10^18 up
// to the 64-bit limit, where the header allows the exact value as well as the
// held one. strtoll also skips leading blanks, which no number has.
std::vector<std::optional<long long>> WholeNumberAnswers(const std::string& text) {
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return {std::nullopt};
  char* end = nullptr;
  errno = 0;
  const long long n = std::strtoll(text.c_str(), &end, 10);
  if (end != text.c_str() + text.size()) return {std::nullopt};
  const long long held = text[0] == '-' ? -kHeld : kHeld;
  if (errno == ERANGE) return {held};
  if (n >= kHeld || n <= -kHeld) return {n, held};
  return {n};
}

std::string Show(const std::optional<long long>& v) { return v ? std::to_string(*v) : "nullopt"; }

fuzz::Finding CheckWholeNumber(const std::string& text) {
  const auto answers = WholeNumberAnswers(text);
  const std::optional<long long> number = WholeNumber(text);
  for (const auto& a : answers)
    if (a == number) return {};
  return {"WholeNumber", "got " + Show(number) + ", expected " + Show(answers[0])};
}

// By the number of digits of a build: the length of its leading part, and
// the highest number that is too old, bare and before a dot (-1: none).
const size_t kLeadLength[] = {0, 1, 2, 3, 4, 5, 5};
const long kLastOldBare[] = {-1, 9, 99, 999, 9999, 54133, 541339};
const long kLastOldDotted[] = {-1, 9, 99, 999, 9999, 54133, 54133};

fuzz::Finding CheckBuild(const std::string& build, const std::string& lead, bool old) {
  if (BuildLeadingPart(build) != lead)
    return {"BuildLeadingPart", "got " + fuzz::Hex(BuildLeadingPart(build)) + ", expected " + fuzz::Hex(lead)};
  if (InternetExplorerTooOld(build) != old)
    return {"InternetExplorerTooOld", std::string("got ") + (old ? "false" : "true")};
  return {};
}

// Every digit string of up to six digits.
fuzz::Finding CheckEveryShortBuild() {
  for (size_t length = 0; length <= 6; ++length) {
    long count = 1;
    for (size_t i = 0; i < length; ++i) count *= 10;
    for (long n = 0; n < count; ++n) {
      char digits[8];
      std::snprintf(digits, sizeof digits, "%0*ld", static_cast<int>(length), n);
      const std::string s = length ? digits : "";
      const long number = length ? std::strtol(digits, nullptr, 10) : 0;
      fuzz::Finding f;
      for (const std::string& text : {s, "-" + s, "+" + s, s + ".1106"})
        if (f.check.empty()) f = CheckWholeNumber(text);
      if (f.check.empty()) f = CheckBuild(s, s.substr(0, kLeadLength[length]), number <= kLastOldBare[length]);
      if (f.check.empty()) f = CheckBuild(s + ".1106", s, number <= kLastOldDotted[length]);
      if (f.check.empty()) f = CheckBuild("-" + s + ".1106", "-" + s, false);
      if (f.check.empty() && InternetExplorerTooOld("+" + s)) f = {"InternetExplorerTooOld", "true for a sign"};
      if (!f.check.empty()) {
        f.detail += " for " + s;
        return f;
      }
    }
  }
  return {};
}

// The oracles against answers the header states outright.
void CheckTheChecker() {
  const struct {
    const char* text;
    std::optional<long long> number;
  } numbers[] = {{"2195", 2195},
                 {"+12", 12},
                 {"-5", -5},
                 {"-0", 0},
                 {"007", 7},
                 {"", std::nullopt},
                 {"-", std::nullopt},
                 {"+-1", std::nullopt},
                 {"1.0", std::nullopt},
                 {" 1", std::nullopt},
                 {"1 ", std::nullopt},
                 {"99999999999999999999999", kHeld},
                 {"-99999999999999999999999", -kHeld},
                 {"9223372036854775808", kHeld},
                 {"999999999999999999", 999999999999999999LL}};
  for (const auto& n : numbers) {
    const auto answers = WholeNumberAnswers(n.text);
    if (answers.size() != 1 || answers[0] != n.number) fuzz::Run::OracleBroken(std::string("WholeNumber of ") + n.text);
  }
  if (WholeNumberAnswers("1000000000000000001").size() != 2) fuzz::Run::OracleBroken("WholeNumber band");
  if (WholeNumberAnswers("7\0"s) != std::vector<std::optional<long long>>{std::nullopt})
    fuzz::Run::OracleBroken("WholeNumber of a NUL");
}

const std::vector<std::string>& Corpus() {
  // Short builds need none: every one is tried first.
  static const std::vector<std::string> corpus = {"62800.1106",
                                                  "6.0.2900.2180",
                                                  "999999999999999999",
                                                  "1000000000000000000",
                                                  "9223372036854775807",
                                                  "9223372036854775808",
                                                  "-9223372036854775808",
                                                  "-9223372036854775809",
                                                  "18446744073709551616",
                                                  "&H1000",
                                                  " 2600",
                                                  "7601a",
                                                  "7601\0"s,
                                                  "1e5",
                                                  "0x10"};
  return corpus;
}

std::string Digits(Rng& rng, size_t n) {
  std::string s(n, '0');
  for (char& c : s) c = static_cast<char>('0' + rng.Below(10));
  return s;
}

std::string RandomInput(Rng& rng) {
  static const char* kSigns[] = {"", "", "", "-", "+", "--", "+-", " "};
  static const std::string kAlphabet = "0123456789+-.eExX&H ";
  std::string s;
  switch (rng.Below(8)) {
    case 0:  // a number of any length, with a sign now and then
      s = kSigns[rng.Below(8)] + Digits(rng, rng.Percent(98) ? rng.Below(26) : rng.Below(400));
      break;
    case 1:  // long runs of digits: far beyond 64 bits
      s = kSigns[rng.Below(5)] + std::string(rng.Below(30), '0') +
          Digits(rng, rng.Percent(99) ? 17 + rng.Below(8) : rng.Below(100000));
      break;
    case 2:  // an Internet Explorer build: lead, dot, rest
      s = Digits(rng, rng.Below(rng.Percent(80) ? 7 : 30)) + "." + Digits(rng, rng.Below(6));
      break;
    case 3: s = fuzz::RandomBytes(rng, rng.Below(16), kAlphabet); break;
    case 4: s = fuzz::RandomBytes(rng, rng.Below(12)); break;
    default: s = Corpus()[rng.Below(static_cast<uint32_t>(Corpus().size()))]; break;
  }
  if (rng.Percent(40))
    for (uint32_t n = 1 + rng.Below(4); n > 0; --n) fuzz::Mutate(rng, s, Corpus(), 200000);
  return s;
}

const std::string* g_current = nullptr;

}  // namespace

int main(int argc, char** argv) {
  const fuzz::Options options = fuzz::ParseOptions(argc, argv);
  CheckTheChecker();
  fuzz::Run run("Prerequisites", options);
  fuzz::OnCrashDescribe([] { return g_current ? fuzz::Hex(*g_current) : std::string("(every short build)"); });
  const fuzz::Finding table = CheckEveryShortBuild();
  if (!table.check.empty()) run.Fail("table." + table.check, table.detail, "(every short build)");
  Rng rng(options.seed);
  for (uint64_t i = 0; i < options.count; ++i) {
    const std::string text = RandomInput(rng);
    const size_t length = rng.Below(7);
    const std::string lead = Digits(rng, length);
    const long number = length ? std::strtol(lead.c_str(), nullptr, 10) : 0;
    const std::string build = lead + "." + RandomInput(rng);
    g_current = &text;
    fuzz::Finding f;
    try {
      f = CheckWholeNumber(text);
      // No party answers these for any text; the table does for a short
      // build before any tail. Other texts must only neither crash nor throw.
      BuildLeadingPart(text);
      InternetExplorerTooOld(text);
      if (f.check.empty()) {
        g_current = &build;
        f = CheckBuild(build, lead, number <= kLastOldDotted[length]);
      }
    } catch (const std::exception& e) {
      f = {"threw", e.what()};
    }
    if (!f.check.empty()) run.Fail(f.check, f.detail, fuzz::Hex(*g_current));
    g_current = nullptr;
    run.Done();
  }
  return run.Finish();
}

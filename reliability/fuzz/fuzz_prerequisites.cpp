// Fuzzes the text rules of the prerequisite checks: WholeNumber (the Windows
// build number), BuildLeadingPart and InternetExplorerTooOld (Internet
// Explorer's Build). Expected answers come from digit-string arithmetic here,
// never from the functions under test.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "commands/Prerequisites.h"
#include "reliability/fuzz/FuzzCommon.h"

namespace {

using fuzz::Lit;
using fuzz::Rng;

constexpr long long kHeld = 1000000000000000000LL;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The answers WholeNumber may give: one, or two for numbers from 10^18 up to
// the 64-bit limit, where the header allows the exact value as well as the
// held one.
std::vector<std::optional<long long>> WholeNumberAnswers(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    i = 1;
  }
  if (i == text.size()) return {std::nullopt};
  for (size_t j = i; j < text.size(); ++j)
    if (!IsDigit(text[j])) return {std::nullopt};
  while (i + 1 < text.size() && text[i] == '0') ++i;
  const std::string digits = text.substr(i);
  const long long held = negative ? -kHeld : kHeld;
  const std::string limit = negative ? "9223372036854775808" : "9223372036854775807";
  if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) return {held};
  unsigned long long magnitude = 0;
  for (char c : digits) magnitude = magnitude * 10 + static_cast<unsigned>(c - '0');
  // Two's complement wrap gives LLONG_MIN for -9223372036854775808.
  const long long exact = static_cast<long long>(negative ? 0 - magnitude : magnitude);
  if (digits.size() <= 18) return {exact};
  return {exact, held};
}

std::string LeadingPart(const std::string& build) {
  for (size_t i = 0; i < build.size(); ++i)
    if (build[i] == '.') return build.substr(0, i);
  return build.substr(0, build.size() < 5 ? build.size() : 5);
}

bool TooOld(const std::string& build) {
  const std::string lead = LeadingPart(build);
  if (lead.empty()) return false;
  for (char c : lead)
    if (!IsDigit(c)) return false;
  size_t i = 0;
  while (i + 1 < lead.size() && lead[i] == '0') ++i;
  if (lead.size() - i > 5) return false;  // 100000 or more
  return std::stol(lead.substr(i)) < kLowestInternetExplorerBuild;
}

std::string Show(const std::optional<long long>& v) { return v ? std::to_string(*v) : "nullopt"; }

struct Finding {
  std::string check;
  std::string detail;
};

Finding Examine(const std::string& text) {
  const auto answers = WholeNumberAnswers(text);
  const std::optional<long long> number = WholeNumber(text);
  bool allowed = false;
  for (const auto& a : answers) allowed = allowed || a == number;
  if (!allowed) {
    std::string expected = Show(answers[0]);
    if (answers.size() > 1) expected += " or " + Show(answers[1]);
    return {"WholeNumber", "got " + Show(number) + ", expected " + expected};
  }
  const std::string lead = BuildLeadingPart(text);
  if (lead != LeadingPart(text))
    return {"BuildLeadingPart", "got " + fuzz::Hex(lead) + ", expected " + fuzz::Hex(LeadingPart(text))};
  const bool old = InternetExplorerTooOld(text);
  if (old != TooOld(text))
    return {"InternetExplorerTooOld",
            std::string("got ") + (old ? "true" : "false") + " for leading part " + fuzz::Hex(lead)};
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
                 {"99999999999999999999999", kHeld},
                 {"-99999999999999999999999", -kHeld},
                 {"9223372036854775808", kHeld},
                 {"999999999999999999", 999999999999999999LL}};
  for (const auto& n : numbers) {
    const auto answers = WholeNumberAnswers(n.text);
    if (answers.size() != 1 || answers[0] != n.number) fuzz::Run::OracleBroken(std::string("WholeNumber of ") + n.text);
  }
  if (WholeNumberAnswers("1000000000000000001").size() != 2) fuzz::Run::OracleBroken("WholeNumber band");
  const struct {
    const char* build;
    const char* lead;
    bool old;
  } builds[] = {{"62800.1106", "62800", false},   {"54134", "54134", false},   {"54133", "54133", true},
                {"1234567", "12345", true},       {".54134", "", false},       {"-1.2", "-1", false},
                {"00054133.1", "00054133", true}, {"letters", "lette", false}, {"", "", false}};
  for (const auto& b : builds)
    if (LeadingPart(b.build) != b.lead || TooOld(b.build) != b.old)
      fuzz::Run::OracleBroken(std::string("build ") + b.build);
}

const std::vector<std::string>& Corpus() {
  static const std::vector<std::string> corpus = {
      "7601",
      "2195",
      "2194",
      "62800.1106",
      "54134",
      "54133",
      "-1",
      "99999999999",
      "",
      "+12",
      "0",
      "-0",
      "5.5",
      ".54134",
      "6.0.2900.2180",
      "99999999999.1",
      "999999999999999999",
      "1000000000000000000",
      "9223372036854775807",
      "9223372036854775808",
      "-9223372036854775808",
      "-9223372036854775809",
      "18446744073709551615",
      "18446744073709551616",
      "99999999999999999999",
      "&H1000",
      " 2600",
      "7601a",
      Lit("a\0b\0\0"),
      Lit("7601\0"),
      "1e5",
      "0x10",
      "054134",
  };
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
  fuzz::OnCrashDescribe([] { return g_current ? fuzz::Hex(*g_current) : std::string("(none)"); });
  Rng rng(options.seed);
  for (uint64_t i = 0; i < options.count; ++i) {
    const std::string text = RandomInput(rng);
    g_current = &text;
    Finding f;
    try {
      f = Examine(text);
    } catch (const std::exception& e) {
      f = {"threw", e.what()};
    }
    if (!f.check.empty()) run.Fail(f.check, f.detail, fuzz::Hex(text));
    g_current = nullptr;
    run.Done();
  }
  return run.Finish();
}

// Fuzzes the write rules lxrules::SettingRegType and lxrules::EncodeSetting
// with random tagged values of every kind: single values, Byte and String
// arrays, arrays of each element type, Variant arrays of mixed items. The
// expected type, bytes and refusals are worked out here from the documented
// rules; a multi-string encoding is also read back through DecodeRegData.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>

#include "registry/LxSettingRules.h"
#include "registry/clsLxError.h"
#include "reliability/fuzz/FuzzCommon.h"

namespace {

using fuzz::Lit;
using fuzz::Rng;
using V = LxVariant;

// ---- environment names ----------------------------------------------------

// Defined here so that at least one name is surely defined with a value that
// differs from its own reference.
const char kOwnVariable[] = "LXFUZZ_DEFINED";

bool IsDefined(const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos) return false;
  SetLastError(0);
  if (GetEnvironmentVariableA(name.c_str(), nullptr, 0) != 0) return true;
  return GetLastError() != ERROR_ENVVAR_NOT_FOUND;
}

const std::vector<std::string>& DefinedNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> found;
    for (const char* n : {kOwnVariable, "TEMP", "TMP", "windir", "SystemRoot", "PATH", "ComSpec", "OS"})
      if (IsDefined(n)) found.push_back(n);
    return found;
  }();
  return names;
}

enum class Expansion { No, Yes, EitherWay };

// Whether the text names a defined variable, decided without expanding it:
// no "%" at all, or no pair of "%" around a defined name, means no; the first
// two "%" around a defined name means yes. Other texts depend on how a stray
// "%" pairs up, which nothing here pins.
Expansion NamesDefinedVariable(const std::string& text) {
  std::vector<size_t> marks;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '%') marks.push_back(i);
  if (marks.empty()) return Expansion::No;
  if (marks.size() > 24) return Expansion::EitherWay;
  bool any = false;
  for (size_t a = 0; a < marks.size() && !any; ++a)
    for (size_t b = a + 1; b < marks.size() && !any; ++b)
      any = IsDefined(text.substr(marks[a] + 1, marks[b] - marks[a] - 1));
  if (!any) return Expansion::No;
  if (marks.size() >= 2 && IsDefined(text.substr(marks[0] + 1, marks[1] - marks[0] - 1))) return Expansion::Yes;
  return Expansion::EitherWay;
}

// ---- the text of one array item ---------------------------------------------

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }
int64_t YearDays(int64_t y) { return IsLeap(y) ? 366 : 365; }
int MonthDays(int64_t y, int m) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

// Days from 0001-01-01 to the given date (proleptic Gregorian), by counting.
int64_t SerialOf(int64_t y, int m, int d) {
  int64_t n = (y - 1) / 400 * 146097;
  for (int64_t yy = (y - 1) / 400 * 400 + 1; yy < y; ++yy) n += YearDays(yy);
  for (int mm = 1; mm < m; ++mm) n += MonthDays(y, mm);
  return n + d - 1;
}

const int64_t kDayZero = SerialOf(1899, 12, 30);  // the date that day 0 stands for
const int64_t kFirstDay = SerialOf(1, 1, 1) - kDayZero + 1;
const int64_t kLastDay = SerialOf(9999, 12, 31) - kDayZero - 1;

std::string CivilText(int64_t day) {
  int64_t n = day + kDayZero;
  int64_t y = 1 + n / 146097 * 400;
  n %= 146097;
  while (n >= YearDays(y)) n -= YearDays(y++);
  int m = 1;
  while (n >= MonthDays(y, m)) n -= MonthDays(y, m++);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", static_cast<int>(y), m, static_cast<int>(n + 1));
  return buf;
}

// The texts a date may read as: whole days from the integer part, the
// fraction counted forward from that day's midnight, to the second either
// cut or rounded (nothing says which). Empty outside years 1 to 9999.
std::vector<std::string> DateTexts(double date) {
  if (!std::isfinite(date) || date < static_cast<double>(kFirstDay) || date > static_cast<double>(kLastDay)) return {};
  const double whole = std::trunc(date);
  const double t = std::fabs(date - whole) * 86400.0;
  std::vector<std::string> texts;
  for (int64_t seconds : {static_cast<int64_t>(std::floor(t)), static_cast<int64_t>(std::llround(t))}) {
    int64_t day = static_cast<int64_t>(whole);
    if (seconds == 86400) {
      ++day;
      seconds = 0;
    }
    std::string text = CivilText(day);
    if (seconds != 0) {
      char buf[16];
      std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", static_cast<int>(seconds / 3600),
                    static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
      text += buf;
    }
    texts.push_back(text);
  }
  return texts;
}

// "" when `part` is a decimal text of exactly `units` ten-thousandths.
std::string CheckCurrencyText(int64_t units, const std::string& part) {
  const uint64_t magnitude = units < 0 ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  size_t i = 0;
  if (units < 0) {
    if (part.empty() || part[0] != '-') return "no minus sign";
    i = 1;
  }
  uint64_t whole = 0;
  size_t digits = 0;
  for (; i < part.size() && part[i] >= '0' && part[i] <= '9'; ++i, ++digits) {
    if (digits > 16) return "too many digits";
    whole = whole * 10 + static_cast<uint64_t>(part[i] - '0');
  }
  if (digits == 0) return "no digits";
  uint64_t fraction = 0;
  if (i < part.size()) {
    if (part[i] != '.' || part.size() - i - 1 < 1 || part.size() - i - 1 > 4) return "not a decimal number";
    std::string f = part.substr(i + 1);
    for (char c : f)
      if (c < '0' || c > '9') return "not a decimal number";
    f.append(4 - f.size(), '0');
    fraction = std::strtoull(f.c_str(), nullptr, 10);
  }
  if (whole > magnitude / 10000 + 1 || whole * 10000 + fraction != magnitude) return "another amount";
  return "";
}

// "" when `part` reads back as `value` to the precision of its kind.
std::string CheckRealText(double value, double tolerance, const std::string& part) {
  if (part.empty()) return "empty";
  if (!std::isfinite(value)) return "";  // NaN and infinity have no decimal form to check
  if (part[0] == ' ') return "leading blank";
  // Read back wider than double: 15 digits of the largest double round up
  // past it.
  char* end = nullptr;
  const long double back = std::strtold(part.c_str(), &end);
  if (end != part.c_str() + part.size()) return "not a number";
  const long double exact = value;
  if (back == exact) return "";
  if (std::fabs(back - exact) > tolerance * std::fabs(exact)) return "reads back as another number";
  return "";
}

struct ItemRule {
  bool hasText = true;
  int32_t error = 0;  // the conversion's error when !hasText
  bool exactKnown = false;
  std::string exact;  // the text, when exactKnown
};

ItemRule RuleFor(const V& item) {
  ItemRule r;
  r.exactKnown = true;
  switch (item.VarTypeCode()) {
    case V::vbEmpty: r.exact = ""; break;
    case V::vbInteger:
    case V::vbLong:
    case V::vbByte: r.exact = std::to_string(item.IntValue()); break;
    case V::vbBoolean: r.exact = item.IntValue() ? "True" : "False"; break;
    case V::vbString: r.exact = item.Text(); break;
    case V::vbNull: r = {false, 94, false, {}}; break;
    case V::vbObject:
    case V::vbError: r = {false, 13, false, {}}; break;
    default: r.exactKnown = false; break;  // Single, Double, Decimal, Currency, Date
  }
  return r;
}

// "" when `part` is an acceptable text for an item without one exact text.
std::string CheckLooseText(const V& item, const std::string& part) {
  switch (item.VarTypeCode()) {
    case V::vbSingle: return CheckRealText(item.RealValue(), 1e-6, part);
    case V::vbDouble:
    case V::vbDecimal: return CheckRealText(item.RealValue(), 1e-13, part);
    case V::vbCurrency: return CheckCurrencyText(item.IntValue(), part);
    case V::vbDate: {
      const std::vector<std::string> texts = DateTexts(item.RealValue());
      if (texts.empty()) return part.empty() ? "empty" : "";
      for (const std::string& t : texts)
        if (part == t) return "";
      return "expected " + texts[0] + (texts[1] != texts[0] ? " or " + texts[1] : "");
    }
    default: return "no rule for kind " + item.TypeName();
  }
}

// ---- describing values -----------------------------------------------------

std::string Describe(const V& v) {
  char buf[64];
  switch (v.VarTypeCode()) {
    case V::vbEmpty: return "Empty";
    case V::vbNull: return "Null";
    case V::vbString: return "String(" + fuzz::Hex(v.Text()) + ")";
    case V::vbObject: return v.ObjectRef() ? "Object(ref)" : "Object(nothing)";
    case V::vbSingle:
    case V::vbDouble:
    case V::vbDate:
    case V::vbDecimal: std::snprintf(buf, sizeof buf, "(%.17g)", v.RealValue()); return v.TypeName() + buf;
    default: break;
  }
  if (!v.IsArray()) return v.TypeName() + "(" + std::to_string(v.IntValue()) + ")";
  std::string s = v.TypeName() + " from " + std::to_string(v.LBound()) + " {";
  if (v.VarTypeCode() == (V::vbArray | V::vbByte)) return s + fuzz::Hex(v.Bytes().data(), v.Bytes().size()) + "}";
  for (size_t i = 0; i < v.Items().size(); ++i) s += (i ? ", " : "") + Describe(v.Items()[i]);
  return s + "}";
}

// ---- random values ---------------------------------------------------------

const std::vector<std::string>& TextCorpus() {
  static const std::vector<std::string> corpus = {
      "7601",       "2195",
      "62800.1106", "54134",
      "-1",         "99999999999",
      "",           Lit("a\0b\0\0"),
      "C:\\x",      "%TEMP%\\x",
      "%temp%",     "%LX_NOT_DEFINED_ANYWHERE%\\x",
      "%",          "%%",
      "%%TEMP%%",   "100%",
      "E100B",      "%SystemRoot%\\system32",
      "%a%TEMP%",   "6.0.2900.2180",
      Lit("abc\0"), "\xE4\xF6\xFC\xDF",
  };
  return corpus;
}

std::string RandomText(Rng& rng) {
  static const std::string kPlain = "abcXYZ019 .-_:\\";
  const size_t len = rng.Percent(95) ? rng.Below(24) : rng.Below(3000);
  std::string s;
  switch (rng.Below(6)) {
    case 0: s = fuzz::RandomBytes(rng, len); break;
    case 1: s = fuzz::RandomBytes(rng, len, kPlain); break;
    case 2: {  // a defined name, any case, between "%"
      std::string name = DefinedNames()[rng.Below(static_cast<uint32_t>(DefinedNames().size()))];
      for (char& c : name)
        if (rng.Percent(30)) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c >= 'A' && c <= 'Z' ? c + 32 : c);
      s = fuzz::RandomBytes(rng, rng.Below(8), kPlain) + "%" + name + "%" +
          fuzz::RandomBytes(rng, rng.Below(8), kPlain + "%");
      break;
    }
    case 3: {  // names nobody defines, stray "%"
      for (uint32_t n = rng.Below(4); n > 0; --n) {
        s += fuzz::RandomBytes(rng, rng.Below(6), kPlain);
        s += rng.Percent(70) ? "%LXFUZZ_U" + std::to_string(rng.Below(1000)) + "%" : "%";
      }
      break;
    }
    default: s = TextCorpus()[rng.Below(static_cast<uint32_t>(TextCorpus().size()))]; break;
  }
  if (rng.Percent(30))
    for (uint32_t n = 1 + rng.Below(4); n > 0; --n) fuzz::Mutate(rng, s, TextCorpus(), 4096);
  return s;
}

double RandomBits(Rng& rng) {
  const uint64_t bits = rng.Next();
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

double RandomReal(Rng& rng) {
  static const double kEdges[] = {0.0,
                                  -0.0,
                                  1.0,
                                  -1.0,
                                  0.5,
                                  1.5,
                                  2.5,
                                  0.1,
                                  1e15,
                                  1e16,
                                  1e20,
                                  -1e-300,
                                  std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN()};
  switch (rng.Below(4)) {
    case 0: return kEdges[rng.Below(sizeof kEdges / sizeof kEdges[0])];
    case 1: return RandomBits(rng);
    case 2: return static_cast<double>(static_cast<int32_t>(rng.Next())) / (1 + rng.Below(1000));
    default:
      return (static_cast<double>(rng.Next() >> 11) / 9007199254740992.0 - 0.5) * std::pow(10.0, rng.Below(40) - 20.0);
  }
}

double RandomDate(Rng& rng) {
  static const double kFractions[] = {0.0,
                                      0.25,
                                      0.5,
                                      0.75,
                                      0.99999999,
                                      1 - 1e-9,
                                      0.5 / 86400,
                                      1.5 / 86400,
                                      1 - 0.5 / 86400,
                                      1 - 0.4 / 86400,
                                      1 - 0.6 / 86400};
  if (rng.Percent(5)) return RandomReal(rng);  // far outside the calendar, NaN, ...
  const double day = static_cast<double>(static_cast<int32_t>(rng.Between(0, 3615899)) - 657434);
  double fraction;
  switch (rng.Below(3)) {
    case 0: fraction = kFractions[rng.Below(sizeof kFractions / sizeof kFractions[0])]; break;
    case 1: fraction = rng.Below(86400) / 86400.0; break;
    default: fraction = static_cast<double>(rng.Next() >> 11) / 9007199254740992.0; break;
  }
  return day < 0 || (day == 0 && rng.Percent(50)) ? day - fraction : day + fraction;
}

int64_t RandomInt(Rng& rng, int64_t lo, int64_t hi) {
  switch (rng.Below(4)) {
    case 0: return lo;
    case 1: return hi;
    case 2: return static_cast<int64_t>(rng.Below(5)) - 2;
    default: {
      const uint64_t span = static_cast<uint64_t>(hi) - static_cast<uint64_t>(lo);
      const uint64_t r = span == UINT64_MAX ? rng.Next() : rng.Next() % (span + 1);
      return static_cast<int64_t>(static_cast<uint64_t>(lo) + r);
    }
  }
}

V RandomSingleOf(Rng& rng, int32_t kind) {
  switch (kind) {
    case V::vbEmpty: return V();
    case V::vbNull: return V::Null();
    case V::vbInteger: return V::Integer(static_cast<int16_t>(RandomInt(rng, INT16_MIN, INT16_MAX)));
    case V::vbLong: return V::Long(static_cast<int32_t>(RandomInt(rng, INT32_MIN, INT32_MAX)));
    case V::vbSingle: return V::Single(static_cast<float>(RandomReal(rng)));
    case V::vbDouble: return V::Double(RandomReal(rng));
    case V::vbCurrency: return V::Currency(RandomInt(rng, INT64_MIN, INT64_MAX));
    case V::vbDate: return V::Date(RandomDate(rng));
    case V::vbString: return V::String(RandomText(rng));
    case V::vbObject: return V::Object(rng.Percent(80) ? std::make_shared<int>(1) : nullptr);
    case V::vbError: return V::Error(static_cast<int32_t>(rng.Next()));
    case V::vbBoolean: return V::Boolean(rng.Percent(50));
    case V::vbDecimal: return V::Decimal(RandomReal(rng));
    default: return V::Byte(rng.Byte());
  }
}

const int32_t kSingleKinds[] = {V::vbEmpty,  V::vbNull,     V::vbInteger, V::vbLong,   V::vbSingle,
                                V::vbDouble, V::vbCurrency, V::vbDate,    V::vbString, V::vbObject,
                                V::vbError,  V::vbBoolean,  V::vbDecimal, V::vbByte};
const int32_t kArrayKinds[] = {V::vbInteger, V::vbLong,       V::vbSingle, V::vbDouble, V::vbCurrency,
                               V::vbDate,    V::vbString,     V::vbObject, V::vbError,  V::vbBoolean,
                               V::vbVariant, V::vbDataObject, V::vbDecimal};

int32_t Pick(Rng& rng, const int32_t* kinds, size_t n) { return kinds[rng.Below(static_cast<uint32_t>(n))]; }

V RandomValue(Rng& rng) {
  const int32_t lowerBound = rng.Percent(70) ? 0 : static_cast<int32_t>(RandomInt(rng, INT32_MIN / 2, INT32_MAX / 2));
  const size_t count = rng.Percent(90) ? rng.Below(6) : rng.Below(200);
  const uint32_t shape = rng.Below(100);
  if (shape < 45) return RandomSingleOf(rng, Pick(rng, kSingleKinds, sizeof kSingleKinds / sizeof kSingleKinds[0]));
  if (shape < 55) {
    const std::string bytes = fuzz::RandomBytes(rng, count * (1 + rng.Below(50)));
    return V::ByteArray(std::vector<uint8_t>(bytes.begin(), bytes.end()), lowerBound);
  }
  if (shape < 70) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < count; ++i) texts.push_back(RandomText(rng));
    return V::StringArray(texts, lowerBound);
  }
  const int32_t element = Pick(rng, kArrayKinds, sizeof kArrayKinds / sizeof kArrayKinds[0]);
  std::vector<V> items;
  // No factory makes a single DataObject: its arrays stay empty.
  for (size_t i = 0; i < count && element != V::vbDataObject; ++i) {
    const int32_t kind =
        element == V::vbVariant ? Pick(rng, kSingleKinds, sizeof kSingleKinds / sizeof kSingleKinds[0]) : element;
    // Error and Object items make a whole Variant array fail; keep them rare there.
    if (element == V::vbVariant && (kind == V::vbError || kind == V::vbObject || kind == V::vbNull) &&
        rng.Percent(90)) {
      items.push_back(V::String(RandomText(rng)));
      continue;
    }
    items.push_back(RandomSingleOf(rng, kind));
  }
  return V::Array(static_cast<V::VarType>(element), std::move(items), lowerBound);
}

// ---- the rules -------------------------------------------------------------

struct Expected {
  std::set<DWORD> types;     // what SettingRegType may answer
  bool refused = false;      // EncodeSetting throws LxRaisedError
  std::set<int32_t> errors;  // with one of these numbers
};

void StringTypes(const std::string& text, std::set<DWORD>& types) {
  // The expansion that the text is compared with ends at the text's first
  // NUL: a text that holds one differs from it, whatever it names.
  if (text.find('\0') != std::string::npos) {
    types = {REG_EXPAND_SZ};
    return;
  }
  switch (NamesDefinedVariable(text)) {
    case Expansion::No: types = {REG_SZ}; break;
    case Expansion::Yes: types = {REG_EXPAND_SZ}; break;
    case Expansion::EitherWay: types = {REG_SZ, REG_EXPAND_SZ}; break;
  }
}

Expected Expect(const V& v) {
  Expected e;
  const int32_t vt = v.VarTypeCode();
  if (!v.IsArray()) {
    if (vt == V::vbInteger || vt == V::vbLong || vt == V::vbByte) {
      e.types = {REG_DWORD};
    } else if (vt == V::vbString) {
      StringTypes(v.Text(), e.types);
    } else {
      e.types = {REG_NONE};
      e.refused = true;
      e.errors = {13};
    }
    return e;
  }
  switch (vt & ~V::vbArray) {
    case V::vbByte: e.types = {REG_BINARY}; return e;
    case V::vbString:
    case V::vbVariant:
    case V::vbDecimal:
    case V::vbError:
      e.types = {REG_MULTI_SZ};
      for (const V& item : v.Items()) {
        const ItemRule rule = RuleFor(item);
        if (!rule.hasText) {
          e.refused = true;
          e.errors.insert(rule.error);
        }
      }
      return e;
    case V::vbLong:
    case V::vbDouble:
    case V::vbDate:
    case V::vbObject:
    case V::vbBoolean:
    case V::vbDataObject:
      e.types = {REG_BINARY};  // passes SettingRegType's test, refused when written
      break;
    default: e.types = {REG_NONE}; break;
  }
  e.refused = true;
  e.errors = {13};
  return e;
}

std::string Bytes(const std::vector<BYTE>& b) { return std::string(b.begin(), b.end()); }

// The multi-string bytes: each item's text and a NUL, then one more NUL.
// Also gives the item texts found.
std::string CheckMultiBytes(const V& v, const std::string& bytes, std::vector<std::string>& texts) {
  size_t pos = 0;
  for (size_t i = 0; i < v.Items().size(); ++i) {
    const V& item = v.Items()[i];
    const ItemRule rule = RuleFor(item);
    const std::string where = "item " + std::to_string(i) + " (" + Describe(item) + "): ";
    std::string part;
    if (rule.exactKnown) {
      if (bytes.compare(pos, rule.exact.size(), rule.exact) != 0 || pos + rule.exact.size() >= bytes.size() ||
          bytes[pos + rule.exact.size()] != '\0')
        return where + "not its text and a NUL at byte " + std::to_string(pos);
      part = rule.exact;
    } else {
      const size_t nul = bytes.find('\0', pos);
      if (nul == std::string::npos) return where + "no NUL after its text";
      part = bytes.substr(pos, nul - pos);
      const std::string problem = CheckLooseText(item, part);
      if (!problem.empty()) return where + "text '" + part + "': " + problem;
    }
    texts.push_back(part);
    pos += part.size() + 1;
  }
  if (bytes.size() != pos + 1 || bytes[pos] != '\0')
    return "after the items: " + std::to_string(bytes.size() - pos) + " bytes instead of one NUL";
  return "";
}

// Decoding the bytes gives the texts back, less trailing empty ones (their
// NULs join the trailing NULs that decoding drops), when no text holds a NUL.
std::string CheckReadBack(const std::string& bytes, std::vector<std::string> texts) {
  for (const std::string& t : texts)
    if (t.find('\0') != std::string::npos) return "";
  while (!texts.empty() && texts.back().empty()) texts.pop_back();
  const V back = lxrules::DecodeRegData(REG_MULTI_SZ, reinterpret_cast<const BYTE*>(bytes.data()),
                                        static_cast<DWORD>(bytes.size()));
  if (back.VarTypeCode() != (V::vbArray | V::vbString) || back.Items().size() != texts.size())
    return "reads back as " + Describe(back);
  for (size_t i = 0; i < texts.size(); ++i)
    if (back.Items()[i].Text() != texts[i])
      return "item " + std::to_string(i) + " reads back as " + Describe(back.Items()[i]);
  return "";
}

std::string CheckBytes(const V& v, const lxrules::RegData& got) {
  const std::string bytes = Bytes(got.bytes);
  const int32_t vt = v.VarTypeCode();
  if (!v.IsArray() && vt == V::vbString) {
    if (bytes != v.Text() + std::string(1, '\0')) return "not the text and one NUL: " + fuzz::Hex(bytes);
    return "";
  }
  if (!v.IsArray()) {
    const uint32_t bits = static_cast<uint32_t>(static_cast<int32_t>(v.IntValue()));
    const std::string le = {static_cast<char>(bits), static_cast<char>(bits >> 8), static_cast<char>(bits >> 16),
                            static_cast<char>(bits >> 24)};
    if (bytes != le) return "not the four little-endian bytes: " + fuzz::Hex(bytes);
    return "";
  }
  if (vt == (V::vbArray | V::vbByte)) {
    if (bytes != Bytes(v.Bytes())) return "not the array's bytes: " + fuzz::Hex(bytes);
    return "";
  }
  std::vector<std::string> texts;
  const std::string problem = CheckMultiBytes(v, bytes, texts);
  if (!problem.empty()) return problem + "; bytes " + fuzz::Hex(bytes);
  return CheckReadBack(bytes, texts);
}

// One value through both functions; the name of the broken rule and what
// happened, or empty names when every rule holds.
struct Finding {
  std::string check;
  std::string detail;
};

std::string Types(const std::set<DWORD>& types) {
  std::string s;
  for (DWORD t : types) s += (s.empty() ? "" : " or ") + std::to_string(t);
  return s;
}

Finding Examine(const V& v) {
  const Expected e = Expect(v);
  DWORD chosen = REG_NONE;
  try {
    chosen = lxrules::SettingRegType(v);
  } catch (...) {
    return {"SettingRegType", "threw"};
  }
  if (!e.types.count(chosen))
    return {"SettingRegType", "type " + std::to_string(chosen) + ", expected " + Types(e.types)};

  lxrules::RegData got;
  try {
    got = lxrules::EncodeSetting(v);
  } catch (const LxRaisedError& x) {
    if (!e.refused) return {"EncodeSetting.refusal", "refused with " + std::to_string(x.Number())};
    if (!e.errors.count(x.Number())) return {"EncodeSetting.refusal", "error " + std::to_string(x.Number())};
    return {};
  } catch (const std::exception& x) {
    return {"EncodeSetting.refusal", std::string("threw no LxRaisedError: ") + x.what()};
  } catch (...) {
    return {"EncodeSetting.refusal", "threw something that is no std::exception"};
  }
  if (e.refused) return {"EncodeSetting.refusal", "wrote type " + std::to_string(got.type) + " instead of refusing"};
  if (got.type != chosen)
    return {"EncodeSetting.type",
            "type " + std::to_string(got.type) + ", SettingRegType said " + std::to_string(chosen)};
  const std::string problem = CheckBytes(v, got);
  if (!problem.empty()) return {"EncodeSetting.bytes", problem};
  return {};
}

// Known-wrong encodings that the checks must refuse.
void CheckTheChecker() {
  using S = std::vector<std::string>;
  const struct {
    V value;
    std::string wrong;
    std::string right;
  } cases[] = {
      {V::String("ab"), "ab", Lit("ab\0")},
      {V::String("ab"), Lit("ab\0\0"), Lit("ab\0")},
      {V::Long(1), Lit("\0\0\0\x01"), Lit("\x01\0\0\0")},
      {V::Integer(-1), Lit("\xFF\xFF\0\0"), Lit("\xFF\xFF\xFF\xFF")},
      {V::StringArray(S{"a", "b"}), Lit("a\0b\0"), Lit("a\0b\0\0")},
      {V::StringArray(S{}), "", Lit("\0")},
      {V::Array(V::vbVariant, {V::Long(5), V::Boolean(true)}), Lit("5\0-1\0\0"), Lit("5\0True\0\0")},
      {V::Array(V::vbVariant, {V::Currency(-12345)}), Lit("-12345\0\0"), Lit("-1.2345\0\0")},
      {V::Array(V::vbVariant, {V::Double(0.1)}), Lit("0.2\0\0"), Lit("0.1\0\0")},
      {V::Array(V::vbVariant, {V::Date(-1.25)}), Lit("1899-12-30 06:00:00\0\0"), Lit("1899-12-29 06:00:00\0\0")},
      {V::Array(V::vbVariant, {V::Date(36526.5)}), Lit("2000-01-01\0\0"), Lit("2000-01-01 12:00:00\0\0")},
      {V::ByteArray({1, 2}, 3), Lit("\x01"), Lit("\x01\x02")},
  };
  for (const auto& c : cases) {
    lxrules::RegData d;
    d.bytes.assign(c.right.begin(), c.right.end());
    if (!CheckBytes(c.value, d).empty()) fuzz::Run::OracleBroken("refuses the right bytes for " + Describe(c.value));
    d.bytes.assign(c.wrong.begin(), c.wrong.end());
    if (CheckBytes(c.value, d).empty()) fuzz::Run::OracleBroken("accepts wrong bytes for " + Describe(c.value));
  }
  if (NamesDefinedVariable("%" + std::string(kOwnVariable) + "%") != Expansion::Yes ||
      NamesDefinedVariable("no reference") != Expansion::No ||
      NamesDefinedVariable("%LXFUZZ_NOT_DEFINED%") != Expansion::No)
    fuzz::Run::OracleBroken("environment names");
  if (Expect(V::Array(V::vbLong, {})).types != std::set<DWORD>{REG_BINARY} || !Expect(V::Array(V::vbLong, {})).refused)
    fuzz::Run::OracleBroken("Long() rule");
}

const V* g_current = nullptr;

}  // namespace

int main(int argc, char** argv) {
  const fuzz::Options options = fuzz::ParseOptions(argc, argv);
  SetEnvironmentVariableA(kOwnVariable, "defined by the fuzzer");
  SetEnvironmentVariableA("LXFUZZ_NOT_DEFINED", nullptr);
  CheckTheChecker();
  fuzz::Run run("EncodeSetting", options);
  fuzz::OnCrashDescribe([] { return g_current ? Describe(*g_current) : std::string("(none)"); });
  Rng rng(options.seed);
  for (uint64_t i = 0; i < options.count; ++i) {
    const V value = RandomValue(rng);
    g_current = &value;
    const Finding f = Examine(value);
    if (!f.check.empty()) run.Fail(f.check + "." + value.TypeName(), f.detail, Describe(value));
    g_current = nullptr;
    run.Done();
  }
  return run.Finish();
}

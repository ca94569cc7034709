// Fuzzes the write rules lxrules::SettingRegType and lxrules::EncodeSetting
// with random tagged values of every kind: single values, Byte and String
// arrays, arrays of each element type, Variant arrays of mixed items. Each
// value is written by clsLxRegistry::WriteSetting into a scratch key and read
// back raw with RegQueryValueExA. Other parties say what should be there:
// the table of kinds below for the registry type and the refusals; the
// platform for the choice of REG_EXPAND_SZ (RegGetValueA expands it);
// oleaut32 for the text of a multi-string item (VariantChangeTypeEx, and
// VariantTimeToSystemTime for dates); strtold for reals, which have no one
// right text. What was written is then decoded by DecodeRegData and compared
// with the value.
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "registry/LxSettingRules.h"
#include "registry/clsLxRegistry.h"
#include "reliability/fuzz/FuzzCommon.h"

namespace {

using namespace std::string_literals;
using fuzz::Rng;
using V = LxVariant;

// ---- what each kind writes as ------------------------------------------------

// Every kind as a single value, as an array's element type and as an item of
// a multi-string array: the registry type SettingRegType answers and the
// error EncodeSetting refuses with (0: it writes). REG_SZ stands for REG_SZ
// or REG_EXPAND_SZ, which the environment decides. A multi-string array is
// refused with the error of its first item that has no text. No value is ever
// made of the cells that cannot be (Empty or Null arrays, single Variants).
struct KindRow {
  int32_t vt;
  DWORD single;
  int32_t singleError;
  DWORD array;
  int32_t arrayError;
  int32_t itemError;
};
const KindRow kKinds[] = {
    // kind         single  error  array  error  as an item
    {V::vbEmpty, REG_NONE, 13, REG_NONE, 13, 0},  // an item's text is ""
    {V::vbNull, REG_NONE, 13, REG_NONE, 13, 94},  // 94: Invalid use of Null
    {V::vbInteger, REG_DWORD, 0, REG_NONE, 13, 0},
    {V::vbLong, REG_DWORD, 0, REG_BINARY, 13, 0},  // binary test passed, refused
    {V::vbSingle, REG_NONE, 13, REG_NONE, 13, 0},
    {V::vbDouble, REG_NONE, 13, REG_BINARY, 13, 0},  // binary test passed, refused
    {V::vbCurrency, REG_NONE, 13, REG_NONE, 13, 0},
    {V::vbDate, REG_NONE, 13, REG_BINARY, 13, 0},  // binary test passed, refused
    {V::vbString, REG_SZ, 0, REG_MULTI_SZ, 0, 0},
    {V::vbObject, REG_NONE, 13, REG_BINARY, 13, 13},  // binary test passed, refused
    {V::vbError, REG_NONE, 13, REG_MULTI_SZ, 0, 13},  // an empty array writes
    {V::vbBoolean, REG_NONE, 13, REG_BINARY, 13, 0},  // binary test passed, refused
    {V::vbVariant, REG_NONE, 13, REG_MULTI_SZ, 0, 0},
    {V::vbDataObject, REG_NONE, 13, REG_BINARY, 13, 0},  // binary test passed, refused
    {V::vbDecimal, REG_NONE, 13, REG_MULTI_SZ, 0, 0},
    {V::vbByte, REG_DWORD, 0, REG_BINARY, 0, 0},
};

const KindRow& RowOf(int32_t vt) {
  for (const KindRow& row : kKinds)
    if (row.vt == (vt & ~V::vbArray)) return row;
  fuzz::Run::OracleBroken("no row for kind " + std::to_string(vt));
}

// REG_EXPAND_SZ exactly when a reader that expands references sees other text
// than was written: the text stored as REG_EXPAND_SZ and read back by
// RegGetValueA, which expands it.
DWORD StringType(fuzz::ScratchKey& key, const std::string& text) {
  key.Put("expansion", REG_EXPAND_SZ, text + '\0');
  std::string seen;
  if (!key.Get("expansion", RRF_RT_ANY, seen)) fuzz::Run::OracleBroken("RegGetValueA cannot expand " + fuzz::Hex(text));
  return std::string(seen.c_str()) == text ? REG_SZ : REG_EXPAND_SZ;
}

// ---- the text of one item ------------------------------------------------------

std::string Narrow(const BSTR b) {
  std::string s;
  for (const wchar_t* p = b; p && *p; ++p) s += static_cast<char>(*p);  // numbers and words: ASCII
  return s;
}

// oleaut32's own text for a number, Boolean or Empty, in the invariant locale.
std::string OleText(const V& item) {
  VARIANT in;
  VARIANT out;
  VariantInit(&in);
  VariantInit(&out);
  switch (item.VarTypeCode()) {
    case V::vbInteger:
      in.vt = VT_I2;
      in.iVal = static_cast<SHORT>(item.IntValue());
      break;
    case V::vbLong:
      in.vt = VT_I4;
      in.lVal = static_cast<LONG>(item.IntValue());
      break;
    case V::vbByte:
      in.vt = VT_UI1;
      in.bVal = static_cast<BYTE>(item.IntValue());
      break;
    case V::vbBoolean:
      in.vt = VT_BOOL;
      in.boolVal = item.IntValue() ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case V::vbCurrency:
      in.vt = VT_CY;
      in.cyVal.int64 = item.IntValue();
      break;
    default: break;  // Empty
  }
  if (FAILED(VariantChangeTypeEx(&out, &in, LOCALE_INVARIANT, VARIANT_ALPHABOOL, VT_BSTR)))
    fuzz::Run::OracleBroken("oleaut32 has no text for " + item.TypeName());
  const std::string text = Narrow(out.bstrVal);
  VariantClear(&out);
  return text;
}

// The date `day` plus `time` (days, counted forward from midnight as OLE
// dates count them, before 1900 too) as "yyyy-mm-dd", plus " hh:mm:ss"
// unless at midnight, from VariantTimeToSystemTime. It is asked for the time
// and the day apart: this Wine's oleaut32 rolls a time that rounds up to
// midnight into the wrong month at some month ends (1201983.99999999 gives
// 5191-01-01 for 5190-12-01). It knows years 100 to 9999; the calendar
// repeats every 400 years (146097 days), so a day outside is first moved by
// whole cycles into them.
std::optional<std::string> OleDateText(int64_t day, double time) {
  const int64_t kFirst = -657434, kLast = 2958465;  // 0100-01-01, 9999-12-31
  SYSTEMTIME clock = {};
  SYSTEMTIME calendar = {};
  if (!VariantTimeToSystemTime(time, &clock)) return std::nullopt;
  if (clock.wDay == 31) ++day;  // rounded up to the midnight after 1899-12-30
  int64_t cycles = 0;
  if (day < kFirst) cycles = (kFirst - day + 146096) / 146097;
  if (day > kLast) cycles = -((day - kLast - 1) / 146097 + 1);
  if (!VariantTimeToSystemTime(static_cast<double>(day + cycles * 146097), &calendar)) return std::nullopt;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%04lld-%02u-%02u", static_cast<long long>(calendar.wYear - 400 * cycles),
                calendar.wMonth, calendar.wDay);
  std::string text = buf;
  if (clock.wHour || clock.wMinute || clock.wSecond) {
    std::snprintf(buf, sizeof buf, " %02u:%02u:%02u", clock.wHour, clock.wMinute, clock.wSecond);
    text += buf;
  }
  return text;
}

// The texts a date may have; none when it is no date at all. oleaut32 rounds
// to the second right to within a microsecond of the half second, so within
// 10 us of one either neighbouring second is right.
std::vector<std::string> DateTexts(double date) {
  std::vector<std::string> texts;
  if (!(std::fabs(date) < 4e18)) return texts;
  const double time = std::fabs(date - std::trunc(date));
  for (double nudge : {0.0, -10e-6, 10e-6}) {
    const double t = time + nudge / 86400;
    if (t < 0 || t >= 1) continue;
    if (const auto text = OleDateText(static_cast<int64_t>(std::trunc(date)), t)) texts.push_back(*text);
  }
  return texts;
}

// The texts an item may have; none for a real (see RealProblem).
std::vector<std::string> ItemTexts(const V& item) {
  switch (item.VarTypeCode()) {
    case V::vbSingle:
    case V::vbDouble:
    case V::vbDecimal: return {};
    case V::vbString: return {item.Text()};
    case V::vbDate: {
      std::vector<std::string> texts = DateTexts(item.RealValue());
      if (texts.empty()) fuzz::Run::OracleBroken("no calendar date for " + std::to_string(item.RealValue()));
      return texts;
    }
    default: return {OleText(item)};
  }
}

// "" when `text` reads back, by strtold, as the real to the precision of its
// kind: 7 digits for a Single, 15 for others; NaN and infinity included.
std::string RealProblem(const V& item, const std::string& text) {
  const double value = item.RealValue();
  const long double tolerance = item.VarTypeCode() == V::vbSingle ? 1e-6L : 1e-14L;
  char* end = nullptr;
  // Wider than double: 15 digits of the largest double round up past it.
  const long double back = std::strtold(text.c_str(), &end);
  if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])) || end != text.c_str() + text.size())
    return "not a number";
  if (std::isnan(value)) return std::isnan(back) ? "" : "not NaN";
  if (back == value) return "";
  if (std::isinf(value) || std::fabs(back - value) > tolerance * std::fabs(static_cast<long double>(value)))
    return "reads back as another number";
  return "";
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

// ---- checking what was written -------------------------------------------------

std::string Bytes(const std::vector<BYTE>& b) { return std::string(b.begin(), b.end()); }

// "" when `bytes` are each item's text and a NUL, then one more NUL; the
// texts found go to `texts`.
std::string CheckMultiBytes(const V& v, const std::string& bytes, std::vector<std::string>& texts) {
  size_t pos = 0;
  for (size_t i = 0; i < v.Items().size(); ++i) {
    const V& item = v.Items()[i];
    const std::string where = "item " + std::to_string(i) + " (" + Describe(item) + "): ";
    const std::vector<std::string> allowed = ItemTexts(item);
    // Only a String item's text may hold a NUL.
    const size_t nul = item.VarTypeCode() == V::vbString ? pos + item.Text().size() : bytes.find('\0', pos);
    if (nul >= bytes.size() || bytes[nul] != '\0') return where + "no NUL after its text";
    const std::string part = bytes.substr(pos, nul - pos);
    if (!allowed.empty() && std::find(allowed.begin(), allowed.end(), part) == allowed.end())
      return where + "text " + fuzz::Hex(part) + ", expected " + fuzz::Hex(allowed[0]);
    const std::string problem = allowed.empty() ? RealProblem(item, part) : "";
    if (!problem.empty()) return where + "text '" + part + "': " + problem;
    texts.push_back(part);
    pos = nul + 1;
  }
  if (bytes.size() != pos + 1 || bytes[pos] != '\0')
    return "after the items: " + std::to_string(bytes.size() - pos) + " bytes instead of one NUL";
  return "";
}

// What `v` must decode as from what was written: a number as a Long, a text
// as itself, a Byte array from 0, the item texts as a String array less its
// trailing empty items (their NULs join the trailing ones). nullopt when an
// item text holds a NUL: reading splits it there.
std::optional<V> Canonical(const V& v, std::vector<std::string> texts) {
  const int32_t vt = v.VarTypeCode();
  if (vt == V::vbString) return v;
  if (!v.IsArray()) return V::Long(static_cast<int32_t>(v.IntValue()));
  if (vt == (V::vbArray | V::vbByte)) return V::ByteArray(v.Bytes());
  for (const std::string& t : texts)
    if (t.find('\0') != std::string::npos) return std::nullopt;
  while (!texts.empty() && texts.back().empty()) texts.pop_back();
  return V::StringArray(texts);
}

// "" when `bytes` are what `v` must write as: a number's own four bytes, a
// text and one NUL, a Byte array's bytes, a multi-string of the item texts
// (which go to `texts`).
std::string CheckBytes(const V& v, const std::string& bytes, std::vector<std::string>& texts) {
  const int32_t vt = v.VarTypeCode();
  if (vt == V::vbString) {
    if (bytes != v.Text() + '\0') return "not the text and one NUL: " + fuzz::Hex(bytes);
  } else if (!v.IsArray()) {
    const int32_t number = static_cast<int32_t>(v.IntValue());
    if (bytes != std::string(reinterpret_cast<const char*>(&number), 4)) return "not the number: " + fuzz::Hex(bytes);
  } else if (vt == (V::vbArray | V::vbByte)) {
    if (bytes != Bytes(v.Bytes())) return "not the array's bytes: " + fuzz::Hex(bytes);
  } else {
    const std::string problem = CheckMultiBytes(v, bytes, texts);
    if (!problem.empty()) return problem + "; bytes " + fuzz::Hex(bytes);
  }
  return "";
}

// The type and refusal the table gives `v`; the first item without text
// decides a multi-string's refusal.
void Expect(fuzz::ScratchKey& key, const V& v, DWORD& type, int32_t& error) {
  const KindRow& row = RowOf(v.VarTypeCode());
  type = v.IsArray() ? row.array : row.single;
  error = v.IsArray() ? row.arrayError : row.singleError;
  if (type == REG_SZ) type = StringType(key, v.Text());
  if (type != REG_MULTI_SZ || error != 0) return;
  for (const V& item : v.Items()) {
    error = RowOf(item.VarTypeCode()).itemError;
    if (error) return;
  }
}

std::string ErrorNumber(const clsLxRegistry& reg) { return std::to_string(reg.RegError()->Number()); }

fuzz::Finding Examine(fuzz::ScratchKey& key, const V& v) {
  DWORD expectedType = REG_NONE;
  int32_t expectedError = 0;
  Expect(key, v, expectedType, expectedError);
  const DWORD chosen = lxrules::SettingRegType(v);
  if (chosen != expectedType)
    return {"SettingRegType", "type " + std::to_string(chosen) + ", expected " + std::to_string(expectedType)};

  clsLxRegistry reg;
  DWORD type = REG_NONE;
  std::string bytes;
  if (expectedError != 0) {
    if (reg.WriteSetting(HKEY_CURRENT_USER, key.Path(), "refused", v) != 0)
      return {"EncodeSetting.refusal", "written instead of refused with " + std::to_string(expectedError)};
    if (reg.RegError()->Number() != expectedError)
      return {"EncodeSetting.refusal", "error " + ErrorNumber(reg) + ", expected " + std::to_string(expectedError)};
    if (key.Raw("refused", type, bytes)) return {"EncodeSetting.refusal", "refused, yet a value was written"};
    return {};
  }
  if (reg.WriteSetting(HKEY_CURRENT_USER, key.Path(), "written", v) == 0)
    return {"EncodeSetting.refusal", "refused with " + ErrorNumber(reg)};
  if (!key.Raw("written", type, bytes)) return {"EncodeSetting.written", "no value to read back"};
  if (type != expectedType)
    return {"EncodeSetting.type", "type " + std::to_string(type) + ", expected " + std::to_string(expectedType)};
  std::vector<std::string> texts;
  const std::string problem = CheckBytes(v, bytes, texts);
  if (!problem.empty()) return {"EncodeSetting.bytes", problem};
  const std::optional<V> expected = Canonical(v, texts);
  const V back =
      lxrules::DecodeRegData(type, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  if (expected && back != *expected)
    return {"DecodeRegData", "decodes as " + Describe(back) + ", expected " + Describe(*expected)};
  return {};
}

// Known-wrong encodings that the checks must refuse, and known dates.
void CheckTheChecker() {
  using S = std::vector<std::string>;
  const struct {
    V value;
    std::string wrong;
    std::string right;
  } cases[] = {
      {V::String("ab"), "ab", "ab\0"s},
      {V::String("ab"), "ab\0\0"s, "ab\0"s},
      {V::Long(1), "\0\0\0\x01"s, "\x01\0\0\0"s},
      {V::Integer(-1), "\xFF\xFF\0\0"s, "\xFF\xFF\xFF\xFF"s},
      {V::StringArray(S{"a", "b"}), "a\0b\0"s, "a\0b\0\0"s},
      {V::StringArray(S{}), "", "\0"s},
      {V::Array(V::vbVariant, {V::Long(5), V::Boolean(true)}), "5\0-1\0\0"s, "5\0True\0\0"s},
      {V::Array(V::vbVariant, {V::Currency(-12345)}), "-12345\0\0"s, "-1.2345\0\0"s},
      {V::Array(V::vbVariant, {V::Currency(15000)}), "1.5000\0\0"s, "1.5\0\0"s},
      {V::Array(V::vbVariant, {V::Double(0.1)}), "0.2\0\0"s, "0.1\0\0"s},
      {V::Array(V::vbVariant, {V::Double(-HUGE_VAL)}), "INF\0\0"s, "-INF\0\0"s},
      {V::Array(V::vbVariant, {V::Date(-1.25)}), "1899-12-30 06:00:00\0\0"s, "1899-12-29 06:00:00\0\0"s},
      {V::Array(V::vbVariant, {V::Date(36526.5)}), "2000-01-01\0\0"s, "2000-01-01 12:00:00\0\0"s},
      {V::ByteArray({1, 2}, 3), "\x01"s, "\x01\x02"s},
  };
  std::vector<std::string> texts;
  for (const auto& c : cases) {
    if (!CheckBytes(c.value, c.right, texts).empty())
      fuzz::Run::OracleBroken("refuses the right bytes for " + Describe(c.value));
    if (CheckBytes(c.value, c.wrong, texts).empty())
      fuzz::Run::OracleBroken("accepts wrong bytes for " + Describe(c.value));
  }
  // Outside oleaut32's years: 0099-12-31 is one 400-year cycle before 0499-12-31.
  const struct {
    double date;
    const char* text;
  } dates[] = {{-657435.25, "0099-12-31 06:00:00"},
               {2958466, "10000-01-01"},
               {-693593, "0001-01-01"},
               {1201983.99999999, "5190-12-01"},
               {-5.99999999, "1899-12-26"}};
  for (const auto& d : dates) {
    const std::vector<std::string> allowed = DateTexts(d.date);
    if (allowed.empty() || std::count(allowed.begin(), allowed.end(), d.text) != static_cast<long>(allowed.size()))
      fuzz::Run::OracleBroken(std::string("date ") + d.text);
  }
}

// ---- random values ---------------------------------------------------------

// Variable names, some defined, some not, some only by their case.
const char* const kNames[] = {"LXFUZZ_DEFINED", "TEMP", "tmp", "windir", "SystemRoot", "PATH", "LXFUZZ_NOT_DEFINED"};

const std::vector<std::string>& TextCorpus() {
  static const std::vector<std::string> corpus = {"7601",       "2195",
                                                  "62800.1106", "54134",
                                                  "-1",         "99999999999",
                                                  "",           "a\0b\0\0"s,
                                                  "C:\\x",      "%TEMP%\\x",
                                                  "%temp%",     "%LX_NOT_DEFINED_ANYWHERE%\\x",
                                                  "%",          "%%",
                                                  "%%TEMP%%",   "100%",
                                                  "E100B",      "%SystemRoot%\\system32",
                                                  "%a%TEMP%",   "6.0.2900.2180",
                                                  "abc\0"s,     "\xE4\xF6\xFC\xDF"};
  return corpus;
}

std::string RandomText(Rng& rng) {
  static const std::string kPlain = "abcXYZ019 .-_:\\";
  const size_t len = rng.Percent(95) ? rng.Below(24) : rng.Below(3000);
  std::string s;
  switch (rng.Below(6)) {
    case 0: s = fuzz::RandomBytes(rng, len); break;
    case 1: s = fuzz::RandomBytes(rng, len, kPlain); break;
    case 2:  // a name, any case, between "%"
      s = fuzz::RandomBytes(rng, rng.Below(8), kPlain) + "%" + kNames[rng.Below(sizeof kNames / sizeof kNames[0])] +
          "%" + fuzz::RandomBytes(rng, rng.Below(8), kPlain + "%");
      for (char& c : s)
        if (rng.Percent(10)) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c >= 'A' && c <= 'Z' ? c + 32 : c);
      break;
    case 3:  // names nobody defines, stray "%"
      for (uint32_t n = rng.Below(4); n > 0; --n) {
        s += fuzz::RandomBytes(rng, rng.Below(6), kPlain);
        s += rng.Percent(70) ? "%LXFUZZ_U" + std::to_string(rng.Below(1000)) + "%" : "%";
      }
      break;
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
  static const double kEdges[] = {0.0,  -0.0, 1.0,     -1.0,     0.5,     1.5,      2.5,       0.1, 1e15,
                                  1e16, 1e20, -1e-300, 4.9e-324, DBL_MAX, HUGE_VAL, -HUGE_VAL, NAN};
  switch (rng.Below(4)) {
    case 0: return kEdges[rng.Below(sizeof kEdges / sizeof kEdges[0])];
    case 1: return RandomBits(rng);
    case 2: return static_cast<double>(static_cast<int32_t>(rng.Next())) / (1 + rng.Below(1000));
    default:
      return (static_cast<double>(rng.Next() >> 11) / 9007199254740992.0 - 0.5) * std::pow(10.0, rng.Below(40) - 20.0);
  }
}

// Mostly oleaut32's years 100 to 9999; one in twenty anywhere within 4e18
// days either side. NaN, infinities and larger numbers are not dates: no
// party has a text for them.
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
  if (rng.Percent(5)) {
    const double d = RandomReal(rng);
    return std::isfinite(d) ? std::fmod(d, 4e18) : 0.0;
  }
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
  switch (rng.Below(5)) {
    case 0: return lo;
    case 1: return hi;
    case 2: return static_cast<int64_t>(rng.Below(5)) - 2;
    case 3: {  // round numbers: 1.5 or 20 as a Currency
      const int64_t n =
          (static_cast<int64_t>(rng.Below(2001)) - 1000) * static_cast<int64_t>(std::pow(10, rng.Below(9)));
      return std::min(std::max(n, lo), hi);
    }
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

const V* g_current = nullptr;

}  // namespace

int main(int argc, char** argv) {
  const fuzz::Options options = fuzz::ParseOptions(argc, argv);
  SetEnvironmentVariableA("LXFUZZ_DEFINED", "defined by the fuzzer");
  SetEnvironmentVariableA("LXFUZZ_NOT_DEFINED", nullptr);
  static fuzz::ScratchKey key;  // static: still deleted when a violation ends the program
  CheckTheChecker();
  fuzz::Run run("EncodeSetting", options);
  fuzz::OnCrashDescribe([] { return g_current ? Describe(*g_current) : std::string("(none)"); });
  Rng rng(options.seed);
  for (uint64_t i = 0; i < options.count; ++i) {
    const V value = RandomValue(rng);
    g_current = &value;
    fuzz::Finding f;
    try {
      f = Examine(key, value);
    } catch (const std::exception& e) {
      f = {"threw", e.what()};
    } catch (...) {
      f = {"threw", "something that is no std::exception"};
    }
    if (!f.check.empty()) run.Fail(f.check + "." + value.TypeName(), f.detail, Describe(value));
    g_current = nullptr;
    run.Done();
  }
  return run.Finish();
}

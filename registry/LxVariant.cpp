// The tagged value: construction, kind names and the text conversion.
#include "registry/LxVariant.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "registry/clsLxError.h"

namespace {

const char* BaseTypeName(int32_t vt) {
  switch (vt) {
    case LxVariant::vbEmpty: return "Empty";
    case LxVariant::vbNull: return "Null";
    case LxVariant::vbInteger: return "Integer";
    case LxVariant::vbLong: return "Long";
    case LxVariant::vbSingle: return "Single";
    case LxVariant::vbDouble: return "Double";
    case LxVariant::vbCurrency: return "Currency";
    case LxVariant::vbDate: return "Date";
    case LxVariant::vbString: return "String";
    case LxVariant::vbObject: return "Object";
    case LxVariant::vbError: return "Error";
    case LxVariant::vbBoolean: return "Boolean";
    case LxVariant::vbVariant: return "Variant";
    case LxVariant::vbDataObject: return "Unknown";
    case LxVariant::vbDecimal: return "Decimal";
    case LxVariant::vbByte: return "Byte";
    default: return "Unknown";
  }
}

std::string Printf(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return buf;
}

// 1/10000 units to text without trailing zeros: 15000 -> "1.5".
std::string CurrencyText(int64_t units) {
  const bool negative = units < 0;
  const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(units) : static_cast<uint64_t>(units);
  std::string text = std::to_string(magnitude / 10000);
  if (uint64_t fraction = magnitude % 10000) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04u", static_cast<unsigned>(fraction));
    std::string f = digits;
    f.erase(f.find_last_not_of('0') + 1);
    text += "." + f;
  }
  return negative ? "-" + text : text;
}

// An OLE date (days since 1899-12-30; for negative dates the fraction still
// counts forward from midnight) as "yyyy-mm-dd" plus " hh:mm:ss" when the
// time is not midnight. Civil date from Howard Hinnant's days algorithm.
std::string DateText(double oleDate) {
  int64_t days = static_cast<int64_t>(std::trunc(oleDate));
  int64_t seconds = std::llround(std::fabs(oleDate - static_cast<double>(days)) * 86400.0);
  // A time that rounds to midnight is the next day's midnight, before 1900 as
  // after: there too the fraction counts forward (-5.99999999 is 1899-12-25
  // 23:59:59.999, so 1899-12-26).
  if (seconds >= 86400) {
    seconds -= 86400;
    days += 1;
  }
  const int64_t z = days - 25569 + 719468;  // 1899-12-30 is day -25569 of the Unix epoch
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t day = doy - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yoe + era * 400 + (month <= 2 ? 1 : 0);
  char buf[48];
  if (seconds == 0) {
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld", static_cast<long long>(year), static_cast<long long>(month),
                  static_cast<long long>(day));
  } else {
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02lld:%02lld:%02lld", static_cast<long long>(year),
                  static_cast<long long>(month), static_cast<long long>(day), static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  }
  return buf;
}

}  // namespace

LxVariant LxVariant::Null() { return LxVariant(vbNull); }

LxVariant LxVariant::Integer(int16_t v) {
  LxVariant r(vbInteger);
  r.int_ = v;
  return r;
}

LxVariant LxVariant::Long(int32_t v) {
  LxVariant r(vbLong);
  r.int_ = v;
  return r;
}

LxVariant LxVariant::Single(float v) {
  LxVariant r(vbSingle);
  r.real_ = v;
  return r;
}

LxVariant LxVariant::Double(double v) {
  LxVariant r(vbDouble);
  r.real_ = v;
  return r;
}

LxVariant LxVariant::Currency(int64_t tenThousandths) {
  LxVariant r(vbCurrency);
  r.int_ = tenThousandths;
  return r;
}

LxVariant LxVariant::Date(double oleDate) {
  LxVariant r(vbDate);
  r.real_ = oleDate;
  return r;
}

LxVariant LxVariant::String(std::string v) {
  LxVariant r(vbString);
  r.text_ = std::move(v);
  return r;
}

LxVariant LxVariant::Object(std::shared_ptr<void> ref) {
  LxVariant r(vbObject);
  r.object_ = std::move(ref);
  return r;
}

LxVariant LxVariant::Error(int32_t scode) {
  LxVariant r(vbError);
  r.int_ = scode;
  return r;
}

LxVariant LxVariant::Boolean(bool v) {
  LxVariant r(vbBoolean);
  r.int_ = v ? -1 : 0;  // the Automation True is all bits set
  return r;
}

LxVariant LxVariant::Decimal(double v) {
  LxVariant r(vbDecimal);
  r.real_ = v;
  return r;
}

LxVariant LxVariant::Byte(uint8_t v) {
  LxVariant r(vbByte);
  r.int_ = v;
  return r;
}

LxVariant LxVariant::ByteArray(std::vector<uint8_t> bytes, int32_t lowerBound) {
  LxVariant r(vbArray | vbByte);
  r.bytes_ = std::move(bytes);
  r.lowerBound_ = lowerBound;
  return r;
}

LxVariant LxVariant::StringArray(const std::vector<std::string>& texts, int32_t lowerBound) {
  std::vector<LxVariant> items;
  items.reserve(texts.size());
  for (const std::string& t : texts) items.push_back(String(t));
  return Array(vbString, std::move(items), lowerBound);
}

LxVariant LxVariant::Array(VarType elementType, std::vector<LxVariant> items, int32_t lowerBound) {
  if (elementType == vbByte || elementType == vbEmpty || elementType == vbNull)
    throw std::invalid_argument("LxVariant::Array: no array of this element type");
  for (const LxVariant& item : items) {
    if (item.IsArray() || (elementType != vbVariant && item.vt_ != elementType))
      throw std::invalid_argument("LxVariant::Array: item of another kind");
  }
  LxVariant r(vbArray | elementType);
  r.items_ = std::move(items);
  r.lowerBound_ = lowerBound;
  return r;
}

std::string LxVariant::TypeName() const {
  std::string name = BaseTypeName(vt_ & ~vbArray);
  return IsArray() ? name + "()" : name;
}

int32_t LxVariant::UBound() const {
  const size_t count = (vt_ == (vbArray | vbByte)) ? bytes_.size() : items_.size();
  return lowerBound_ + static_cast<int32_t>(count) - 1;
}

std::string LxVariant::AsText() const {
  if (IsArray()) throw LxRaisedError(13, "", "Type mismatch");
  switch (vt_) {
    case vbEmpty: return {};
    case vbNull: throw LxRaisedError(94, "", "Invalid use of Null");
    case vbInteger:
    case vbLong:
    case vbByte: return std::to_string(int_);
    case vbSingle: return Printf("%.7G", real_);
    case vbDouble:
    case vbDecimal: return Printf("%.15G", real_);
    case vbCurrency: return CurrencyText(int_);
    case vbDate: return DateText(real_);
    case vbString: return text_;
    case vbBoolean: return int_ ? "True" : "False";
    default: throw LxRaisedError(13, "", "Type mismatch");  // Object, Error
  }
}

bool LxVariant::operator==(const LxVariant& o) const {
  return vt_ == o.vt_ && int_ == o.int_ && real_ == o.real_ && text_ == o.text_ && object_ == o.object_ &&
         bytes_ == o.bytes_ && items_ == o.items_ && lowerBound_ == o.lowerBound_;
}

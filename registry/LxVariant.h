// LxVariant: the small tagged value that registry settings are carried in.
// It knows the OLE Automation variant type codes and just enough behaviour for
// the registry's read and write rules: build a value of a kind, ask its code
// and kind name, turn it into text the way a string concatenation would.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class LxVariant {
 public:
  // Variant type codes; an array adds vbArray to its element's code.
  enum VarType : int32_t {
    vbEmpty = 0,
    vbNull = 1,
    vbInteger = 2,  // signed 16-bit
    vbLong = 3,     // signed 32-bit
    vbSingle = 4,
    vbDouble = 5,
    vbCurrency = 6,  // held as a count of 1/10000 units
    vbDate = 7,      // days since 1899-12-30, fraction = time of day
    vbString = 8,    // ANSI code page text
    vbObject = 9,
    vbError = 10,
    vbBoolean = 11,
    vbVariant = 12,  // only as an array element type
    vbDataObject = 13,
    vbDecimal = 14,  // held as a double here; only its code and text matter
    vbByte = 17,
    vbArray = 0x2000,
  };

  LxVariant() = default;  // Empty

  // Single values of each kind.
  static LxVariant Null();
  static LxVariant Integer(int16_t v);
  static LxVariant Long(int32_t v);
  static LxVariant Single(float v);
  static LxVariant Double(double v);
  static LxVariant Currency(int64_t tenThousandths);
  static LxVariant Date(double oleDate);
  static LxVariant String(std::string v);
  static LxVariant Object(std::shared_ptr<void> ref);  // a reference, shared by copies
  static LxVariant Error(int32_t scode);
  static LxVariant Boolean(bool v);
  static LxVariant Decimal(double v);
  static LxVariant Byte(uint8_t v);

  // Arrays. lowerBound is the index of the first element (0 unless given).
  static LxVariant ByteArray(std::vector<uint8_t> bytes, int32_t lowerBound = 0);
  static LxVariant StringArray(const std::vector<std::string>& texts, int32_t lowerBound = 0);
  // Any other array: every item must be of elementType, unless elementType is
  // vbVariant (then items may be of any single kind). Throws
  // std::invalid_argument otherwise.
  static LxVariant Array(VarType elementType, std::vector<LxVariant> items, int32_t lowerBound = 0);

  int32_t VarTypeCode() const { return vt_; }
  bool IsArray() const { return (vt_ & vbArray) != 0; }
  // "String", "Long", "Byte()", ...
  std::string TypeName() const;

  // The value as text, as a concatenation would make it: numbers in decimal
  // ("-1", "1.5"), Boolean "True"/"False", Empty "", a date as
  // "yyyy-mm-dd[ hh:mm:ss]". Null raises 94 (invalid use of Null); Object,
  // Error and arrays raise 13 (type mismatch); see LxRaisedError.
  std::string AsText() const;

  // Direct access; each is meaningful only for the kinds named.
  int64_t IntValue() const { return int_; }          // Integer, Long, Byte, Boolean, Error, Currency
  double RealValue() const { return real_; }         // Single, Double, Date, Decimal
  const std::string& Text() const { return text_; }  // String
  const std::shared_ptr<void>& ObjectRef() const { return object_; }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }    // Byte array
  const std::vector<LxVariant>& Items() const { return items_; }  // other arrays
  int32_t LBound() const { return lowerBound_; }
  int32_t UBound() const;  // LBound() - 1 for an empty array

  bool operator==(const LxVariant& o) const;
  bool operator!=(const LxVariant& o) const { return !(*this == o); }

 private:
  explicit LxVariant(int32_t vt) : vt_(vt) {}

  int32_t vt_ = vbEmpty;
  int64_t int_ = 0;
  double real_ = 0.0;
  std::string text_;
  std::shared_ptr<void> object_;
  std::vector<uint8_t> bytes_;
  std::vector<LxVariant> items_;
  int32_t lowerBound_ = 0;
};

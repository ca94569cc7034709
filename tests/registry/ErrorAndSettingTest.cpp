// The error record and the setting value on their own, without the registry:
// fields, Clear, Raise; the tagged value's text form; RegDataType's choices.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <tuple>

#include "registry/clsLxError.h"
#include "registry/clsLxRegSetting.h"
#include "tests/registry/ScratchKey.h"

using V = LxVariant;

namespace {

// Number, Source, Description, HelpFile, HelpContext and (of the record only)
// LastDllError, compared in one go.
using Fields = std::tuple<int32_t, std::string, std::string, std::string, int32_t, int32_t>;

Fields Of(const clsLxError& e) {
  return Fields(e.Number(), e.Source(), e.Description(), e.HelpFile(), e.HelpContext(), e.LastDllError());
}
Fields Of(const LxRaisedError& x) {
  return Fields(x.Number(), x.Source(), x.Description(), x.HelpFile(), x.HelpContext(), 0);
}

}  // namespace

TEST(RegistryError, NewRecordIsEmpty) { EXPECT_EQ(Fields(0, "", "", "", 0, 0), Of(clsLxError())); }

TEST(RegistryError, PropertiesStoreAndClearResetsAll) {
  clsLxError e;
  e.Number(-7);
  e.Description("desc");
  e.HelpContext(42);
  e.HelpFile("help.chm");
  e.LastDllError(5);
  e.Source("src");
  EXPECT_EQ(Fields(-7, "src", "desc", "help.chm", 42, 5), Of(e));
  e.Clear();
  EXPECT_EQ(Fields(0, "", "", "", 0, 0), Of(e));
}

TEST(RegistryError, RaiseWithNumberOnly) {
  clsLxError e;
  e.Source("stale");
  e.HelpContext(9);
  try {
    e.Raise(5);
    FAIL() << "Raise returned";
  } catch (const LxRaisedError& x) {
    EXPECT_EQ(Fields(5, "", "", "", 0, 0), Of(x));
    EXPECT_STREQ("Error 5", x.what());
  }
  EXPECT_EQ(Fields(5, "", "", "", 0, 0), Of(e));
}

TEST(RegistryError, RaiseCarriesAllFiveAndKeepsLastDllError) {
  clsLxError e;
  e.LastDllError(1234);
  try {
    e.Raise(513, "mySource", "my description", "my.hlp", 77);
    FAIL() << "Raise returned";
  } catch (const LxRaisedError& x) {
    EXPECT_EQ(Fields(513, "mySource", "my description", "my.hlp", 77, 0), Of(x));
    EXPECT_STREQ("my description", x.what());
  }
  EXPECT_EQ(Fields(513, "mySource", "my description", "my.hlp", 77, 1234), Of(e));
}

struct TextCase {
  const char* what;
  V value;
  const char* text;
  const char* typeName;
};

TEST(RegistrySetting, TextFormOfEachKind) {
  const TextCase cases[] = {
      {"empty", V(), "", "Empty"},
      {"integer", V::Integer(-5), "-5", "Integer"},
      {"long", V::Long(-2147483647 - 1), "-2147483648", "Long"},
      {"byte", V::Byte(255), "255", "Byte"},
      {"single", V::Single(1.5f), "1.5", "Single"},
      {"double", V::Double(0.1), "0.1", "Double"},
      {"big double", V::Double(1e20), "1E+20", "Double"},
      {"currency", V::Currency(15000), "1.5", "Currency"},
      {"negative currency", V::Currency(-12345), "-1.2345", "Currency"},
      {"date epoch", V::Date(0), "1899-12-30", "Date"},
      {"date and time", V::Date(36526.5), "2000-01-01 12:00:00", "Date"},
      {"date before epoch", V::Date(-1.25), "1899-12-29 06:00:00", "Date"},
      // A time that rounds up to midnight is the next day's, before 1900 too.
      {"just before midnight, before epoch", V::Date(-5.99999999), "1899-12-26", "Date"},
      {"just before midnight, epoch day", V::Date(-0.99999999), "1899-12-31", "Date"},
      {"just before midnight, after epoch", V::Date(1.99999999), "1900-01-01", "Date"},
      {"true", V::Boolean(true), "True", "Boolean"},
      {"false", V::Boolean(false), "False", "Boolean"},
      {"string", V::String("a b"), "a b", "String"},
      {"decimal", V::Decimal(2.5), "2.5", "Decimal"},
  };
  for (const TextCase& c : cases) {
    EXPECT_EQ(c.text, c.value.AsText()) << c.what;
    EXPECT_EQ(c.typeName, c.value.TypeName()) << c.what;
  }
}

TEST(RegistrySetting, TextFormRefusedWithItsNumber) {
  const struct {
    V value;
    int32_t number;
  } cases[] = {{V::Null(), 94},
               {V::Object(std::make_shared<int>(1)), 13},
               {V::Error(5), 13},
               {V::ByteArray({1}), 13},
               {V::StringArray({"a"}), 13}};
  for (const auto& c : cases) {
    try {
      (void)c.value.AsText();
      ADD_FAILURE() << testing::PrintToString(c.value) << ": no error";
    } catch (const LxRaisedError& x) {
      EXPECT_EQ(c.number, x.Number()) << testing::PrintToString(c.value);
    }
  }
}

TEST(RegistrySetting, ArraysKeepBoundsAndRefuseMixedItems) {
  const V bytes = V::ByteArray({1, 2, 3}, 1);
  EXPECT_EQ(1, bytes.LBound());
  EXPECT_EQ(3, bytes.UBound());
  EXPECT_EQ(0x2011, bytes.VarTypeCode());
  EXPECT_EQ("Byte()", bytes.TypeName());
  EXPECT_EQ(-1, V::StringArray({}).UBound());
  EXPECT_THROW(V::Array(V::vbLong, {V::String("x")}), std::invalid_argument);
  EXPECT_NO_THROW(V::Array(V::vbVariant, {V::String("x"), V::Long(1)}));
}

TEST(RegistrySetting, NewSettingIsEmpty) {
  clsLxRegSetting s;
  EXPECT_EQ(std::make_tuple("", 0, 0u, "Empty"),
            std::make_tuple(s.SettingName(), s.VarTypeVB(), s.RegDataType(), s.TypeNameVB()));
}

TEST(RegistrySetting, SettingKeepsObjectReference) {
  auto object = std::make_shared<int>(7);
  clsLxRegSetting s;
  s.SettingName("obj");
  s.Setting(V::Object(object));
  EXPECT_EQ(object, s.Setting().ObjectRef());
  EXPECT_EQ(9, s.VarTypeVB());
  EXPECT_EQ("obj", s.SettingName());
}

TEST(RegistrySetting, RegDataTypeOfEachKind) {
  // TEMP is defined in every Windows process; the other name is not.
  ASSERT_NE(nullptr, std::getenv("TEMP"));
  ASSERT_EQ(nullptr, std::getenv("LX_NOT_DEFINED_ANYWHERE"));
  // VarType codes: 0 Empty, 1 Null, 2 Integer, 3 Long, 4 Single, 5 Double,
  // 6 Currency, 7 Date, 8 String, 10 Error, 11 Boolean, 12 Variant, 17 Byte;
  // an array adds 0x2000 to its element's code.
  const struct {
    const char* what;
    V value;
    uint32_t regType;
    int varType;
  } cases[] = {
      {"empty", V(), REG_NONE, 0},
      {"null", V::Null(), REG_NONE, 1},
      {"boolean", V::Boolean(true), REG_NONE, 11},
      {"single", V::Single(1), REG_NONE, 4},
      {"double", V::Double(1), REG_NONE, 5},
      {"currency", V::Currency(1), REG_NONE, 6},
      {"date", V::Date(1), REG_NONE, 7},
      {"integer", V::Integer(1), REG_DWORD, 2},
      {"long", V::Long(1), REG_DWORD, 3},
      {"byte", V::Byte(1), REG_DWORD, 17},
      {"plain text", V::String("C:\\x"), REG_SZ, 8},
      {"defined reference", V::String("%TEMP%\\x"), REG_EXPAND_SZ, 8},
      {"undefined reference", V::String("%LX_NOT_DEFINED_ANYWHERE%\\x"), REG_SZ, 8},
      {"case differs only", V::String("%temp%"), REG_EXPAND_SZ, 8},
      {"byte array", V::ByteArray({1}), REG_BINARY, 0x2011},
      {"long array", V::Array(V::vbLong, {V::Long(1)}), REG_BINARY, 0x2003},
      {"date array", V::Array(V::vbDate, {}), REG_BINARY, 0x2007},
      {"string array", V::StringArray({"a"}), REG_MULTI_SZ, 0x2008},
      {"variant array", V::Array(V::vbVariant, {}), REG_MULTI_SZ, 0x200C},
      {"error array", V::Array(V::vbError, {}), REG_MULTI_SZ, 0x200A},
      {"integer array", V::Array(V::vbInteger, {}), REG_NONE, 0x2002},
      {"single array", V::Array(V::vbSingle, {}), REG_NONE, 0x2004},
      {"currency array", V::Array(V::vbCurrency, {}), REG_NONE, 0x2006},
  };
  for (const auto& c : cases) {
    clsLxRegSetting s;
    s.Setting(c.value);
    EXPECT_EQ(c.regType, s.RegDataType()) << c.what;
    EXPECT_EQ(c.varType, s.VarTypeVB()) << c.what;
  }
}

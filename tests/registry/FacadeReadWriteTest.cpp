// ReadSetting, GetAllSettings and WriteSetting against the real registry:
// the read rules for every registry type, the write rules and their round
// trips, and the kinds that WriteSetting refuses.
#include <gtest/gtest.h>

#include <map>

#include "registry/clsLxRegistry.h"
#include "tests/registry/ScratchKey.h"

using regtest::Bytes;
using regtest::Lit;
using regtest::ToBytes;
using V = LxVariant;

namespace {

class RegistryReadWrite : public regtest::ScratchTest {};

// Each setting by its name; a name listed twice makes the map the smaller.
std::map<std::string, V> ByName(const std::vector<clsLxRegSetting>& all) {
  std::map<std::string, V> named;
  for (const clsLxRegSetting& s : all) named.emplace(s.SettingName(), s.Setting());
  return named;
}

struct ReadCase {
  const char* name;
  DWORD type;
  Bytes stored;
  V expected;
};

std::vector<ReadCase> ReadCases() {
  using S = std::vector<std::string>;
  return {
      {"sz with nul", REG_SZ, ToBytes(Lit("abc\0")), V::String("abc")},
      {"sz without nul", REG_SZ, ToBytes("abc"), V::String("abc")},
      {"sz size 0", REG_SZ, {}, V::String("")},
      {"sz size 1 nul", REG_SZ, {0}, V::String("")},
      {"sz size 1 char", REG_SZ, ToBytes("x"), V::String("x")},
      {"sz two nuls", REG_SZ, ToBytes(Lit("ab\0\0")), V::String(Lit("ab\0"))},
      {"expand unexpanded", REG_EXPAND_SZ, ToBytes(Lit("%TEMP%\\a\0")), V::String("%TEMP%\\a")},
      {"expand without nul", REG_EXPAND_SZ, ToBytes("%TEMP%"), V::String("%TEMP%")},
      {"multi two", REG_MULTI_SZ, ToBytes(Lit("a\0b\0\0")), V::StringArray(S{"a", "b"})},
      {"multi empty inside", REG_MULTI_SZ, ToBytes(Lit("a\0\0b\0\0")), V::StringArray(S{"a", "", "b"})},
      {"multi empty first", REG_MULTI_SZ, ToBytes(Lit("\0a\0\0")), V::StringArray(S{"", "a"})},
      {"multi trailing nuls", REG_MULTI_SZ, ToBytes(Lit("a\0b\0\0\0\0")), V::StringArray(S{"a", "b"})},
      {"multi unterminated", REG_MULTI_SZ, ToBytes(Lit("a\0b")), V::StringArray(S{"a", "b"})},
      {"multi size 0", REG_MULTI_SZ, {}, V::StringArray(S{})},
      {"multi only nuls", REG_MULTI_SZ, {0, 0}, V::StringArray(S{})},
      {"dword all ones", REG_DWORD, {0xFF, 0xFF, 0xFF, 0xFF}, V::Long(-1)},
      {"dword little endian", REG_DWORD, {0x78, 0x56, 0x34, 0x12}, V::Long(0x12345678)},
      {"dword big endian", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 1}, V::ByteArray({0, 0, 0, 1})},
      {"binary three", REG_BINARY, {1, 2, 0xFF}, V::ByteArray({1, 2, 0xFF})},
      {"binary size 0", REG_BINARY, {}, V::ByteArray({})},
      {"none", REG_NONE, {9, 8}, V::ByteArray({9, 8})},
      {"link", REG_LINK, {0x41, 0}, V::ByteArray({0x41, 0})},
      {"qword", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, V::ByteArray({1, 0, 0, 0, 0, 0, 0, 0})},
      {"unknown type 42", 42, {7}, V::ByteArray({7})},
  };
}

}  // namespace

TEST_F(RegistryReadWrite, ReadSettingReadRules) {
  for (const ReadCase& c : ReadCases()) {
    SetRaw(Path(), c.name, c.type, c.stored);
    ASSERT_EQ(c.stored, GetRaw(Path(), c.name).data) << c.name << ": not stored as meant";
    const auto s = reg.ReadSetting(HKEY_CURRENT_USER, Path(), c.name);
    ASSERT_TRUE(s.has_value()) << c.name << ": error " << reg.RegError()->Number();
    EXPECT_EQ(c.name, s->SettingName());
    EXPECT_EQ(c.expected, s->Setting()) << c.name << ", stored " << regtest::Hex(c.stored);
    EXPECT_EQ(0, reg.RegError()->Number()) << c.name;
  }
}

TEST_F(RegistryReadWrite, GetAllSettingsUsesTheSameReadRules) {
  std::map<std::string, V> expected;
  for (const ReadCase& c : ReadCases()) {
    SetRaw(Path(), c.name, c.type, c.stored);
    expected.emplace(c.name, c.expected);
  }
  const auto all = reg.GetAllSettings(HKEY_CURRENT_USER, Path());
  ASSERT_TRUE(all.has_value()) << "error " << reg.RegError()->Number();
  EXPECT_EQ(expected.size(), all->size());
  EXPECT_EQ(expected, ByName(*all));
}

TEST_F(RegistryReadWrite, DwordStoredWithMoreThanFourBytesIsRefusedWith234) {
  SetRaw(Path(), "long dword", REG_DWORD, {1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_FALSE(reg.ReadSetting(HKEY_CURRENT_USER, Path(), "long dword").has_value());
  EXPECT_EQ(234, reg.RegError()->Number());
  EXPECT_EQ("clsLxRegistry.ReadSetting", reg.RegError()->Source());
}

// Values that all have empty data are still values: each is listed.
TEST_F(RegistryReadWrite, GetAllSettingsListsValuesWithEmptyData) {
  SetRaw(Path(), "empty sz", REG_SZ, {});
  SetRaw(Path(), "empty binary", REG_BINARY, {});
  SetRaw(Path(), "", REG_MULTI_SZ, {});
  const auto all = reg.GetAllSettings(HKEY_CURRENT_USER, Path());
  ASSERT_TRUE(all.has_value());
  EXPECT_EQ(3u, all->size());
  const std::map<std::string, V> expected = {
      {"empty sz", V::String("")}, {"empty binary", V::ByteArray({})}, {"", V::StringArray({})}};
  EXPECT_EQ(expected, ByName(*all));
}

TEST_F(RegistryReadWrite, ReadSettingDefaultValueAndCallersSpelling) {
  SetRaw(Path(), "", REG_SZ, ToBytes(Lit("default\0")));
  SetRaw(Path(), "MixedCase", REG_DWORD, {5, 0, 0, 0});
  const auto d = reg.ReadSetting(HKEY_CURRENT_USER, Path(), "");
  ASSERT_TRUE(d.has_value());
  EXPECT_EQ("", d->SettingName());
  EXPECT_EQ("default", d->Setting().AsText());
  const auto m = reg.ReadSetting(HKEY_CURRENT_USER, Path() + "\\", "mixedcase");
  ASSERT_TRUE(m.has_value());
  EXPECT_EQ("mixedcase", m->SettingName());
  EXPECT_EQ("5", m->Setting().AsText());
}

struct WriteCase {
  const char* name;
  V value;
  DWORD type;    // expected registry type
  Bytes stored;  // expected data
  V readsBack;
};

TEST_F(RegistryReadWrite, WriteSettingWriteRulesAndRoundTrip) {
  ASSERT_NE(nullptr, getenv("TEMP"));
  using S = std::vector<std::string>;
  const WriteCase cases[] = {
      {"integer -2", V::Integer(-2), REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}, V::Long(-2)},
      {"long", V::Long(0x12345678), REG_DWORD, {0x78, 0x56, 0x34, 0x12}, V::Long(0x12345678)},
      {"byte", V::Byte(200), REG_DWORD, {200, 0, 0, 0}, V::Long(200)},
      {"text", V::String("plain"), REG_SZ, ToBytes(Lit("plain\0")), V::String("plain")},
      {"empty text", V::String(""), REG_SZ, {0}, V::String("")},
      {"defined reference", V::String("%TEMP%\\x"), REG_EXPAND_SZ, ToBytes(Lit("%TEMP%\\x\0")), V::String("%TEMP%\\x")},
      {"undefined reference", V::String("%LX_NOT_DEFINED_ANYWHERE%"), REG_SZ,
       ToBytes(Lit("%LX_NOT_DEFINED_ANYWHERE%\0")), V::String("%LX_NOT_DEFINED_ANYWHERE%")},
      {"bytes from 1", V::ByteArray({1, 2, 3}, 1), REG_BINARY, {1, 2, 3}, V::ByteArray({1, 2, 3})},
      {"no bytes", V::ByteArray({}), REG_BINARY, {}, V::ByteArray({})},
      {"texts", V::StringArray(S{"a", "b"}), REG_MULTI_SZ, ToBytes(Lit("a\0b\0\0")), V::StringArray(S{"a", "b"})},
      {"no texts", V::StringArray(S{}), REG_MULTI_SZ, {0}, V::StringArray(S{})},
      {"variants as text", V::Array(V::vbVariant, {V::Long(7), V::String("x"), V::Double(1.5), V::Boolean(true)}),
       REG_MULTI_SZ, ToBytes(Lit("7\0x\0") + Lit("1.5\0True\0\0")), V::StringArray(S{"7", "x", "1.5", "True"})},
      {"decimals", V::Array(V::vbDecimal, {V::Decimal(2.5)}), REG_MULTI_SZ, ToBytes(Lit("2.5\0\0")),
       V::StringArray(S{"2.5"})},
  };
  for (const WriteCase& c : cases) {
    EXPECT_EQ(2, reg.WriteSetting(HKEY_CURRENT_USER, Path(), c.name, c.value)) << c.name;
    EXPECT_EQ(0, reg.RegError()->Number()) << c.name;
    const regtest::RawValue raw = GetRaw(Path(), c.name);
    ASSERT_EQ(ERROR_SUCCESS, raw.code) << c.name;
    EXPECT_EQ(c.type, raw.type) << c.name;
    EXPECT_EQ(c.stored, raw.data) << c.name << ": expected " << regtest::Hex(c.stored) << "got "
                                  << regtest::Hex(raw.data);
    const auto back = reg.ReadSetting(HKEY_CURRENT_USER, Path(), c.name);
    ASSERT_TRUE(back.has_value()) << c.name;
    EXPECT_EQ(c.readsBack, back->Setting()) << c.name;
  }
}

TEST_F(RegistryReadWrite, WriteSettingCreatesSectionAndReportsDisposition) {
  EXPECT_EQ(1, reg.WriteSetting(HKEY_CURRENT_USER, Sub("new\\deeper"), "v", V::Long(1)));
  EXPECT_EQ(2, reg.WriteSetting(HKEY_CURRENT_USER, Sub("new\\deeper"), "v", V::Long(2)));
  EXPECT_EQ(Bytes({2, 0, 0, 0}), GetRaw(Sub("new\\deeper"), "v").data);
}

TEST_F(RegistryReadWrite, WriteSettingRefusesKindsAndTouchesNothing) {
  const struct {
    const char* what;
    V value;
    int32_t number;
  } cases[] = {
      {"boolean", V::Boolean(true), 13},
      {"single", V::Single(1.5f), 13},
      {"empty", V(), 13},
      {"null", V::Null(), 13},
      {"double", V::Double(1), 13},
      {"currency", V::Currency(1), 13},
      {"date", V::Date(1), 13},
      {"object", V::Object(std::make_shared<int>(0)), 13},
      {"error", V::Error(1), 13},
      {"decimal", V::Decimal(1), 13},
      {"integer array", V::Array(V::vbInteger, {V::Integer(1)}), 13},
      {"single array", V::Array(V::vbSingle, {}), 13},
      {"long array", V::Array(V::vbLong, {V::Long(1)}), 13},
      {"null element", V::Array(V::vbVariant, {V::String("a"), V::Null()}), 94},
      {"object element", V::Array(V::vbVariant, {V::Object(nullptr)}), 13},
      {"error element", V::Array(V::vbError, {V::Error(3)}), 13},
  };
  for (const auto& c : cases) {
    reg.RegError()->HelpFile("sentinel");
    EXPECT_EQ(0, reg.WriteSetting(HKEY_CURRENT_USER, Sub("refused"), "v", c.value)) << c.what;
    EXPECT_EQ(c.number, reg.RegError()->Number()) << c.what;
    EXPECT_EQ("clsLxRegistry.WriteSetting", reg.RegError()->Source()) << c.what;
    EXPECT_FALSE(reg.RegError()->Description().empty()) << c.what;
    EXPECT_EQ("", reg.RegError()->HelpFile()) << c.what;
    EXPECT_FALSE(regtest::KeyExists(HKEY_CURRENT_USER, Sub("refused"))) << c.what;
  }
}

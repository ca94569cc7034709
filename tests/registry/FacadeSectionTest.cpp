// Sections, enumeration, counts, deletion and the error record conventions of
// clsLxRegistry against the real registry; and that no key handle outlives
// its operation.
#include <gtest/gtest.h>

#include <algorithm>

#include "registry/clsLxRegistry.h"
#include "tests/registry/ScratchKey.h"

using V = LxVariant;
using Names = std::vector<std::string>;

namespace {

class RegistryFacade : public regtest::ScratchTest {
 protected:
  // The platform's own one-line text for a code, to compare Description with.
  static std::string SystemText(DWORD code) {
    char buf[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | 0xFF, nullptr, code, 0, buf,
                             sizeof buf, nullptr);
    return std::string(buf, n);
  }
  static Names Sorted(Names n) {
    std::sort(n.begin(), n.end());
    return n;
  }
};

using Reg = clsLxRegistry&;
using Key = const std::string&;
const HKEY cu = HKEY_CURRENT_USER;

// One row per section or setting operation: the source it must record, a
// call that fails (on a missing key, or on a null root) with its code, and a
// call that succeeds under the scratch key.
const struct {
  const char* suffix;
  DWORD code;
  bool (*fails)(Reg, Key missing);
  bool (*succeeds)(Reg, Key scratch);
} kOperations[] = {
    {".HasSubSections", ERROR_FILE_NOT_FOUND, [](Reg r, Key m) { return r.HasSubSections(cu, m) == -1; },
     [](Reg r, Key s) { return r.HasSubSections(cu, s) == 0; }},
    {".HasSettings", ERROR_FILE_NOT_FOUND, [](Reg r, Key m) { return r.HasSettings(cu, m) == -1; },
     [](Reg r, Key s) { return r.HasSettings(cu, s) == 0; }},
    {".GetSubSectionNames", ERROR_FILE_NOT_FOUND, [](Reg r, Key m) { return !r.GetSubSectionNames(cu, m); },
     [](Reg r, Key s) { return r.GetSubSectionNames(cu, s).has_value(); }},
    {".GetAllSettings", ERROR_FILE_NOT_FOUND, [](Reg r, Key m) { return !r.GetAllSettings(cu, m); },
     [](Reg r, Key s) { return r.GetAllSettings(cu, s).has_value(); }},
    {".CreateSection", ERROR_INVALID_HANDLE, [](Reg r, Key) { return r.CreateSection(HKEY(nullptr), "x") == 0; },
     [](Reg r, Key s) { return r.CreateSection(cu, s + "\\c") == 1; }},
    {".DeleteSection", ERROR_FILE_NOT_FOUND, [](Reg r, Key m) { return !r.DeleteSection(cu, m); },
     [](Reg r, Key s) { return r.CreateSection(cu, s + "\\d") && r.DeleteSection(cu, s + "\\d"); }},
    {".DeleteSection", ERROR_FILE_NOT_FOUND, [](Reg r, Key m) { return !r.DeleteSectionRec(cu, m); },
     [](Reg r, Key s) { return r.CreateSection(cu, s + "\\e\\f") && r.DeleteSectionRec(cu, s + "\\e"); }},
    {".ReadSetting", ERROR_FILE_NOT_FOUND, [](Reg r, Key m) { return !r.ReadSetting(cu, m, "v"); },
     [](Reg r, Key s) { return r.WriteSetting(cu, s, "v", V::Long(1)) && r.ReadSetting(cu, s, "v"); }},
    {".WriteSetting", ERROR_INVALID_HANDLE,
     [](Reg r, Key) { return r.WriteSetting(HKEY(nullptr), "x", "v", V::Long(1)) == 0; },
     [](Reg r, Key s) { return r.WriteSetting(cu, s, "w", V::Long(1)) == 2; }},
    {".DeleteSetting", ERROR_FILE_NOT_FOUND, [](Reg r, Key m) { return !r.DeleteSetting(cu, m, "v"); },
     [](Reg r, Key s) { return r.WriteSetting(cu, s, "x", V::Long(1)) && r.DeleteSetting(cu, s, "x"); }},
};

}  // namespace

TEST_F(RegistryFacade, ClassName) { EXPECT_EQ("clsLxRegistry", reg.ClassName()); }

TEST_F(RegistryFacade, EachOperationRecordsItsFailureAndClearsOnSuccess) {
  for (const auto& op : kOperations) {
    const auto error = reg.RegError();
    error->LastDllError(77);
    ASSERT_TRUE(op.fails(reg, Sub("missing"))) << op.suffix;
    EXPECT_EQ(op.code, static_cast<DWORD>(error->Number())) << op.suffix;
    EXPECT_EQ(std::string("clsLxRegistry") + op.suffix, error->Source());
    EXPECT_EQ(SystemText(op.code), error->Description()) << op.suffix;
    EXPECT_NE("", error->Description()) << op.suffix;
    EXPECT_EQ(std::string::npos, error->Description().find('\n')) << op.suffix;
    EXPECT_EQ(0, error->LastDllError()) << op.suffix << ": not cleared first";
    EXPECT_TRUE(op.succeeds(reg, Path())) << op.suffix;
    EXPECT_EQ(0, error->Number()) << op.suffix << ": success left the record set";
    EXPECT_EQ("", error->Source()) << op.suffix;
    EXPECT_EQ("", error->Description()) << op.suffix;
  }
}

TEST_F(RegistryFacade, RegErrorIsSharedWithTheHolder) {
  const std::shared_ptr<clsLxError> held = reg.RegError();
  reg.ReadSetting(HKEY_CURRENT_USER, Sub("absent"), "v");
  EXPECT_EQ(2, held->Number());
  EXPECT_EQ(held, reg.RegError());
}

TEST_F(RegistryFacade, EnumerationAndCounts) {
  const Names children = {"alpha", "Beta", "gamma with space", "a.b"};
  for (const std::string& c : children) CreateRaw(Sub(c));
  CreateRaw(Sub("alpha\\grandchild"));
  SetRaw(Path(), "one", REG_SZ, {0});
  SetRaw(Path(), "two", REG_DWORD, {1, 0, 0, 0});

  const auto names = reg.GetSubSectionNames(HKEY_CURRENT_USER, Path());
  ASSERT_TRUE(names.has_value());
  EXPECT_EQ(Sorted(children), Sorted(*names));
  const auto withSlash = reg.GetSubSectionNames(HKEY_CURRENT_USER, Path() + "\\");
  ASSERT_TRUE(withSlash.has_value());
  EXPECT_EQ(*names, *withSlash);
  EXPECT_EQ(4, reg.HasSubSections(HKEY_CURRENT_USER, Path()));
  EXPECT_EQ(2, reg.HasSettings(HKEY_CURRENT_USER, Path()));
  EXPECT_EQ(0, reg.HasSettings(HKEY_CURRENT_USER, Sub("Beta")));

  const auto none = reg.GetSubSectionNames(HKEY_CURRENT_USER, Sub("Beta"));
  ASSERT_TRUE(none.has_value());
  EXPECT_TRUE(none->empty());
  const auto noValues = reg.GetAllSettings(HKEY_CURRENT_USER, Sub("Beta"));
  ASSERT_TRUE(noValues.has_value());
  EXPECT_TRUE(noValues->empty());
}

TEST_F(RegistryFacade, CreateSectionNestedAndExisting) {
  EXPECT_EQ(1, reg.CreateSection(HKEY_CURRENT_USER, Sub("a\\b\\c")));
  EXPECT_TRUE(regtest::KeyExists(HKEY_CURRENT_USER, Sub("a")));
  EXPECT_TRUE(regtest::KeyExists(HKEY_CURRENT_USER, Sub("a\\b\\c")));
  EXPECT_EQ(2, reg.CreateSection(HKEY_CURRENT_USER, Sub("a\\b\\c")));
  EXPECT_EQ(2, reg.CreateSection(HKEY_CURRENT_USER, Sub("a\\b\\")));
}

TEST_F(RegistryFacade, DeleteSectionRefusesChildrenDeleteSectionRecTakesTree) {
  CreateRaw(Sub("top\\mid\\leaf1"));
  CreateRaw(Sub("top\\mid\\leaf2"));
  CreateRaw(Sub("top\\side"));
  SetRaw(Sub("top\\mid"), "v", REG_SZ, {0});

  EXPECT_FALSE(reg.DeleteSection(HKEY_CURRENT_USER, Sub("top")));
  EXPECT_NE(0, reg.RegError()->Number());
  EXPECT_EQ("clsLxRegistry.DeleteSection", reg.RegError()->Source());
  EXPECT_TRUE(regtest::KeyExists(HKEY_CURRENT_USER, Sub("top\\mid\\leaf1")));

  EXPECT_TRUE(reg.DeleteSectionRec(HKEY_CURRENT_USER, Sub("top\\")));
  EXPECT_EQ(0, reg.RegError()->Number());
  EXPECT_FALSE(regtest::KeyExists(HKEY_CURRENT_USER, Sub("top")));
  EXPECT_TRUE(regtest::KeyExists(HKEY_CURRENT_USER, Path()));
  EXPECT_TRUE(reg.DeleteSection(HKEY_CURRENT_USER, Path()));
  CreateRaw(Path());  // for the fixture's own clean-up
}

// More sub-sections than a signed 16-bit count can hold.
TEST_F(RegistryFacade, DeleteSectionRecBeyond32767Children) {
  const int count = 32768 + 100;
  HKEY parent = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, Path().c_str(), 0, KEY_ALL_ACCESS, &parent));
  for (int i = 0; i < count; ++i) {
    HKEY child = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(parent, ("k" + std::to_string(i)).c_str(), 0, nullptr, 0, KEY_READ,
                                             nullptr, &child, nullptr));
    RegCloseKey(child);
  }
  RegCloseKey(parent);
  ASSERT_EQ(count, reg.HasSubSections(HKEY_CURRENT_USER, Path()));
  EXPECT_TRUE(reg.DeleteSectionRec(HKEY_CURRENT_USER, Path()));
  EXPECT_FALSE(regtest::KeyExists(HKEY_CURRENT_USER, Path()));
  CreateRaw(Path());
}

TEST_F(RegistryFacade, ExpandEnvStringLeavesRecordAlone) {
  LeaveEarlierFailure();
  char temp[MAX_PATH] = {};
  ASSERT_NE(0u, GetEnvironmentVariableA("TEMP", temp, sizeof temp));
  const struct {
    const char* in;
    std::string out;
  } cases[] = {
      {"no references", "no references"},
      {"", ""},
      {"%TEMP%\\regsav.reg", std::string(temp) + "\\regsav.reg"},
      {"%LX_NOT_DEFINED_ANYWHERE%", "%LX_NOT_DEFINED_ANYWHERE%"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.out, reg.ExpandEnvString(c.in)) << c.in;
    ExpectEarlierFailureKept(c.in);
  }
}

// Every operation closes what it opened, on failures too: the handle count
// does not grow over thousands of operations. The first check shows that the
// count does see a key that is left open.
TEST_F(RegistryFacade, NoKeyHandleOutlivesItsOperation) {
  const DWORD before = regtest::CountOpenHandles();
  HKEY leaked = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, Path().c_str(), 0, KEY_READ, &leaked));
  const DWORD withLeak = regtest::CountOpenHandles();
  RegCloseKey(leaked);
  ASSERT_EQ(before + 1, withLeak) << "the count does not see key handles";

  SetRaw(Path(), "dword", REG_DWORD, {1, 0, 0, 0});
  SetRaw(Path(), "long dword", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0});
  CreateRaw(Sub("child"));
  const auto everything = [&](int i) {
    reg.ReadSetting(cu, Path(), "dword");
    reg.ReadSetting(cu, Path(), "absent");      // fails after the open
    reg.ReadSetting(cu, Path(), "long dword");  // fails on the second read
    reg.ReadSetting(cu, Sub("absent"), "v");    // fails to open
    reg.GetAllSettings(cu, Path());
    reg.GetAllSettings(cu, Sub("absent"));
    reg.GetSubSectionNames(cu, Path());
    reg.GetSubSectionNames(cu, Sub("absent"));
    reg.HasSubSections(cu, Path());
    reg.HasSettings(cu, Sub("absent"));
    reg.CreateSection(cu, Sub("child"));
    reg.WriteSetting(cu, Sub("w"), "v", V::Long(i));
    reg.WriteSetting(cu, Sub("w"), "v", V::Boolean(true));  // refused before any open
    reg.DeleteSetting(cu, Sub("w"), "v");
    reg.DeleteSetting(cu, Sub("w"), "v");  // fails after the open
    reg.DeleteSectionRec(cu, Sub("w"));
    reg.DeleteSection(cu, Sub("absent"));
  };
  // One round first: the platform opens a few handles of its own on first
  // use (message tables, cached root keys) and keeps them.
  everything(0);
  const DWORD start = regtest::CountOpenHandles();
  for (int i = 1; i <= 500; ++i) everything(i);
  const DWORD end = regtest::CountOpenHandles();
  EXPECT_EQ(start, end) << "open handles before " << start << ", after 8500 operations " << end;
}

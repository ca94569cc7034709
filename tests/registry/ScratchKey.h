// Test helpers for the registry tests: a scratch key under
// HKCU\Software\LxRegistryTest that each test creates before it runs and
// deletes after, and raw reads and writes that bypass the library so that the
// tests see exactly what the registry holds.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "registry/LxVariant.h"
#include "registry/clsLxRegistry.h"
#include "tests/harness/CallSite.h"

// Failure messages show a tagged value as its kind and contents.
inline void PrintTo(const LxVariant& v, std::ostream* os) {
  *os << v.TypeName() << "(";
  if (v.VarTypeCode() == (LxVariant::vbArray | LxVariant::vbByte)) {
    for (uint8_t b : v.Bytes()) *os << int(b) << " ";
  } else if (v.IsArray()) {
    for (const LxVariant& item : v.Items()) *os << "\"" << item.Text() << "\" ";
  } else if (v.VarTypeCode() == LxVariant::vbString) {
    *os << "\"" << v.Text() << "\" len " << v.Text().size();
  } else {
    *os << v.IntValue() << "/" << v.RealValue();
  }
  *os << ") from " << v.LBound();
}

namespace regtest {

using Bytes = std::vector<BYTE>;

inline Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// The whole literal, embedded NULs included (not its implicit terminator).
template <size_t N>
std::string Lit(const char (&s)[N]) {
  return std::string(s, N - 1);
}

// "61 62 00" for failure messages.
inline std::string Hex(const Bytes& b) {
  std::string out;
  char cell[4];
  for (BYTE x : b) out.append(cell, snprintf(cell, sizeof cell, "%02X ", x));
  return out;
}

// What one value holds, read with RegQueryValueExA.
struct RawValue {
  LONG code = ERROR_SUCCESS;
  DWORD type = 0xdeadbeef;
  Bytes data;
};

inline bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

inline LONG CreateKey(const std::string& path, HKEY* key) {
  return RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key, nullptr);
}

// Every test of the registry suites derives from this fixture: Path() names a
// key under HKEY_CURRENT_USER that exists, empty, while the test runs.
class ScratchTest : public testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    path_ = "Software\\LxRegistryTest\\" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    CreateRaw(path_);
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, path_)) << "scratch key left behind: " << path_;
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\LxRegistryTest");  // only once empty
  }

  const std::string& Path() const { return path_; }
  std::string Sub(const std::string& relative) const { return path_ + "\\" + relative; }

  void SetRaw(const std::string& section, const std::string& name, DWORD type, const Bytes& data,
              harness::CallSite at = harness::CallSite::Here()) const {
    const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(section, &key));
    // A non-NUL guard byte after the data: given a string whose terminator
    // was not counted, RegSetValueExA counts a NUL that follows the data (as
    // NT does), which would hide a value stored without one.
    Bytes guarded = data;
    guarded.push_back(0xAA);
    const LONG code = RegSetValueExA(key, name.c_str(), 0, type, guarded.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS, code) << "raw write of " << name;
  }

  RawValue GetRaw(const std::string& section, const std::string& name) const {
    RawValue v;
    HKEY key = nullptr;
    v.code = RegOpenKeyExA(HKEY_CURRENT_USER, section.c_str(), 0, KEY_QUERY_VALUE, &key);
    if (v.code != ERROR_SUCCESS) return v;
    DWORD size = 0;
    v.code = RegQueryValueExA(key, name.c_str(), nullptr, &v.type, nullptr, &size);
    if (v.code == ERROR_SUCCESS) {
      v.data.assign(size, 0xcc);  // guard bytes: whatever the read leaves is visible
      v.code = RegQueryValueExA(key, name.c_str(), nullptr, &v.type, v.data.data(), &size);
      v.data.resize(size);
    }
    RegCloseKey(key);
    return v;
  }

  void CreateRaw(const std::string& section, harness::CallSite at = harness::CallSite::Here()) const {
    const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, CreateKey(section, &key));
    RegCloseKey(key);
  }

  // RegError holds an earlier failure, to show that an operation keeps it.
  void LeaveEarlierFailure(harness::CallSite at = harness::CallSite::Here()) {
    const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
    reg.ReadSetting(HKEY_CURRENT_USER, Sub("absent"), "v");
    ASSERT_EQ(2, reg.RegError()->Number());
  }
  void ExpectEarlierFailureKept(const std::string& after, harness::CallSite at = harness::CallSite::Here()) {
    const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
    EXPECT_EQ(2, reg.RegError()->Number()) << after;
    EXPECT_EQ("clsLxRegistry.ReadSetting", reg.RegError()->Source()) << after;
  }

  clsLxRegistry reg;

 private:
  std::string path_;
};

// Open handles of this process, counted by asking each possible handle value
// (multiples of 4) whether it is open. GetProcessHandleCount would be the
// obvious call, but this Wine answers it with 0 whatever is open.
inline DWORD CountOpenHandles() {
  DWORD count = 0, flags = 0;
  for (uintptr_t value = 4; value < 0x10000; value += 4)
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  return count;
}

}  // namespace regtest

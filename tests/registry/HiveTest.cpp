// Hive operations against the real registry and file system: EnablePrivilege
// against the token's own record, SaveKey's all-or-nothing replacement of
// the target file, a save and LoadKey round trip, RestoreKey's failure paths,
// and that none of them touches RegError.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>

#include "registry/clsLxRegistry.h"
#include "tests/registry/ScratchKey.h"

using V = LxVariant;

namespace {

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return names;
}

// Whether the process token holds the privilege, and whether it is enabled,
// read from the token itself.
struct PrivilegeState {
  bool known = false, held = false, enabled = false;
};

PrivilegeState TokenState(const char* name) {
  PrivilegeState state;
  LUID luid;
  HANDLE token = nullptr;
  state.known = LookupPrivilegeValueA(nullptr, name, &luid);
  if (!state.known || !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return state;
  DWORD size = 0;
  GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
  std::vector<BYTE> buf(size);
  const auto* list = reinterpret_cast<const TOKEN_PRIVILEGES*>(buf.data());
  const DWORD count = GetTokenInformation(token, TokenPrivileges, buf.data(), size, &size) ? list->PrivilegeCount : 0;
  for (DWORD i = 0; i < count; ++i) {
    const LUID_AND_ATTRIBUTES& p = list->Privileges[i];
    if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
      state = {true, true, (p.Attributes & SE_PRIVILEGE_ENABLED) != 0};
  }
  CloseHandle(token);
  return state;
}

class RegistryHive : public regtest::ScratchTest {
 protected:
  void SetUp() override {
    ScratchTest::SetUp();
    static int serial = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);  // ends with a backslash
    folder_ =
        temp + std::string("LxHive") + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial) + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
    SetRaw(Path(), "LxSentinelValue", REG_DWORD, {0xEF, 0xBE, 0xAD, 0xDE});
    SetRaw(Sub("child"), "LxChildText", REG_SZ, regtest::ToBytes(regtest::Lit("child\0")));
  }
  void TearDown() override {
    if (!hive_.empty()) DeleteFileA(hive_.c_str());
    if (hadHive_) MoveFileA((folder_ + "regsav.before").c_str(), hive_.c_str());
    for (const std::string& f : FilesIn(folder_)) {
      SetFileAttributesA((folder_ + f).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((folder_ + f).c_str());
    }
    EXPECT_TRUE(RemoveDirectoryA(folder_.c_str())) << folder_;
    ScratchTest::TearDown();
  }
  // LoadKey always mounts %temp%\regsav.reg: a file already there is moved
  // aside for the test and put back by TearDown.
  std::string ClaimFixedHiveFile() {
    hive_ = reg.ExpandEnvString("%temp%\\regsav.reg");
    hadHive_ = MoveFileA(hive_.c_str(), (folder_ + "regsav.before").c_str());
    return hive_;
  }

  std::string folder_;
  std::string hive_;
  bool hadHive_ = false;
};

}  // namespace

TEST_F(RegistryHive, EnablePrivilegeIsTrueExactlyWhenEnabled) {
  const char* names[] = {"SeBackupPrivilege",      "SeRestorePrivilege", "SeShutdownPrivilege",
                         "SeCreateTokenPrivilege", "SeTcbPrivilege",     "SeLockMemoryPrivilege"};
  int notHeld = 0;
  for (const char* name : names) {
    const PrivilegeState before = TokenState(name);
    ASSERT_TRUE(before.known) << name;
    SetLastError(0xdeadbeef);  // a stale last error must not decide the result
    const bool result = reg.EnablePrivilege(name);
    const PrivilegeState after = TokenState(name);
    EXPECT_EQ(before.held, result) << name;
    EXPECT_EQ(result, after.enabled) << name;
    if (!before.held) ++notHeld;
  }
  if (notHeld == 0) GTEST_SKIP() << "the token holds every privilege named; the refusal is untested";
}

TEST_F(RegistryHive, EnablePrivilegeUnknownNameAndToken) {
  EXPECT_FALSE(reg.EnablePrivilege("SeNoSuchPrivilege"));
  EXPECT_FALSE(reg.EnablePrivilege(""));
  reg.EnablePrivilege("SeBackupPrivilege");
  const DWORD before = regtest::CountOpenHandles();
  for (int i = 0; i < 200; ++i) {
    reg.EnablePrivilege("SeBackupPrivilege");
    reg.EnablePrivilege("SeNoSuchPrivilege");
  }
  EXPECT_EQ(before, regtest::CountOpenHandles()) << "token handles left open";
}

TEST_F(RegistryHive, SaveKeyCreatesThenReplacesTheTarget) {
  const std::string target = folder_ + "scratch.hiv";
  ASSERT_TRUE(reg.SaveKey(Path(), target, HKEY_CURRENT_USER));
  const auto first = ReadFile(target);
  ASSERT_TRUE(first.has_value());
  EXPECT_NE(std::string::npos, first->find("LxSentinelValue"));
  EXPECT_NE(std::string::npos, first->find("LxChildText"));
  EXPECT_EQ(std::vector<std::string>{"scratch.hiv"}, FilesIn(folder_));

  WriteFile(target, "old content");
  SetRaw(Path(), "LxSecondValue", REG_DWORD, {1, 0, 0, 0});
  ASSERT_TRUE(reg.SaveKey(Path(), target, HKEY_CURRENT_USER));
  const auto second = ReadFile(target);
  ASSERT_TRUE(second.has_value());
  EXPECT_NE(std::string::npos, second->find("LxSecondValue"));
  EXPECT_EQ(std::string::npos, second->find("old content"));
  EXPECT_EQ(std::vector<std::string>{"scratch.hiv"}, FilesIn(folder_)) << "temporary file left";
}

// A save that fails leaves an existing target as it was and no stray file.
TEST_F(RegistryHive, SaveKeyFailureKeepsTheOldFile) {
  WriteFile(folder_ + "keep.hiv", "old content");
  WriteFile(folder_ + "other.txt", "other");
  const struct {
    const char* what;
    std::string key;
    std::string target;
  } cases[] = {
      {"missing key", Sub("absent"), folder_ + "keep.hiv"},
      {"missing folder", Path(), folder_ + "absent\\x.hiv"},
      {"wildcard name", Path(), folder_ + "*.hiv"},
      {"target is a folder", Path(), folder_.substr(0, folder_.size() - 1)},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(reg.SaveKey(c.key, c.target, HKEY_CURRENT_USER)) << c.what;
    EXPECT_EQ("old content", ReadFile(folder_ + "keep.hiv").value_or("<gone>")) << c.what;
    EXPECT_EQ("other", ReadFile(folder_ + "other.txt").value_or("<gone>")) << c.what;
    EXPECT_EQ(2u, FilesIn(folder_).size()) << c.what << ": stray file";
  }
}

// A read-only target is refused and kept; a hidden one is replaced like any.
TEST_F(RegistryHive, SaveKeyOverTargetsWithAttributes) {
  const struct {
    DWORD attributes;
    bool saved;
  } cases[] = {{FILE_ATTRIBUTE_READONLY, false}, {FILE_ATTRIBUTE_HIDDEN, true}};
  for (const auto& c : cases) {
    const std::string target = folder_ + "target.hiv";
    WriteFile(target, "old content");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), c.attributes));
    EXPECT_EQ(c.saved, reg.SaveKey(Path(), target, HKEY_CURRENT_USER)) << c.attributes;
    const std::string now = ReadFile(target).value_or("<gone>");
    EXPECT_EQ(c.saved, now.find("LxSentinelValue") != std::string::npos) << c.attributes;
    EXPECT_EQ(!c.saved, now == "old content") << c.attributes;
    EXPECT_EQ(std::vector<std::string>{"target.hiv"}, FilesIn(folder_)) << c.attributes;
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(target.c_str());
  }
}

TEST_F(RegistryHive, SaveAndLoadRoundTrip) {
  const std::string hive = ClaimFixedHiveFile();
  const std::string mounted = "LxHive" + std::to_string(GetCurrentProcessId());

  ASSERT_TRUE(reg.SaveKey(Path(), hive, HKEY_CURRENT_USER));
  ASSERT_TRUE(reg.EnablePrivilege("SeBackupPrivilege"));
  ASSERT_TRUE(reg.EnablePrivilege("SeRestorePrivilege"));
  LeaveEarlierFailure();
  EXPECT_TRUE(reg.LoadKey(HKEY_USERS, "", mounted));
  ExpectEarlierFailureKept("LoadKey");
  const auto sentinel = reg.ReadSetting(HKEY_USERS, mounted, "LxSentinelValue");
  ASSERT_TRUE(sentinel.has_value()) << "error " << reg.RegError()->Number();
  EXPECT_EQ(V::Long(static_cast<int32_t>(0xDEADBEEF)), sentinel->Setting());
  const auto child = reg.ReadSetting(HKEY_USERS, mounted + "\\child", "LxChildText");
  ASSERT_TRUE(child.has_value());
  EXPECT_EQ("child", child->Setting().AsText());

  EXPECT_EQ(ERROR_SUCCESS, RegUnLoadKeyA(HKEY_USERS, mounted.c_str()));
  if (regtest::KeyExists(HKEY_USERS, mounted)) RegDeleteTreeA(HKEY_USERS, mounted.c_str());
}

TEST_F(RegistryHive, LoadKeyFailures) {
  const std::string hive = ClaimFixedHiveFile();
  ASSERT_TRUE(reg.EnablePrivilege("SeBackupPrivilege"));
  ASSERT_TRUE(reg.EnablePrivilege("SeRestorePrivilege"));
  LeaveEarlierFailure();

  EXPECT_FALSE(reg.LoadKey(HKEY_USERS, "", "LxHiveNoFile")) << "no file at " << hive;
  EXPECT_FALSE(regtest::KeyExists(HKEY_USERS, "LxHiveNoFile"));

  ASSERT_TRUE(reg.SaveKey(Path(), hive, HKEY_CURRENT_USER));
  const auto saved = ReadFile(hive);
  EXPECT_FALSE(reg.LoadKey(HKEY_USERS, "LxNoSuchParent", "LxHiveX"));
  EXPECT_EQ(saved, ReadFile(hive)) << "the hive file was touched";
  ExpectEarlierFailureKept("LoadKey");
}

TEST_F(RegistryHive, RestoreKeyFailuresAndRecordKept) {
  const std::string file = folder_ + "scratch.hiv";
  ASSERT_TRUE(reg.SaveKey(Path(), file, HKEY_CURRENT_USER));
  LeaveEarlierFailure();
  EXPECT_FALSE(reg.RestoreKey(Sub("absent"), file, HKEY_CURRENT_USER));
  EXPECT_FALSE(reg.RestoreKey(Path(), "", HKEY_CURRENT_USER));
  EXPECT_FALSE(reg.SaveKey(Sub("absent"), file, HKEY_CURRENT_USER));
  EXPECT_TRUE(reg.SaveKey(Path(), file, HKEY_CURRENT_USER));
  EXPECT_FALSE(reg.EnablePrivilege("SeNoSuchPrivilege"));
  EXPECT_TRUE(reg.EnablePrivilege("SeBackupPrivilege"));
  ExpectEarlierFailureKept("hive operations");
}

// Needs a platform whose RegRestoreKeyA restores; this Wine's is a stub that
// reports success and changes nothing, which the probe below recognises.
TEST_F(RegistryHive, RestoreKeyReplacesContents) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, Path().c_str(), 0, KEY_ALL_ACCESS, &key));
  const LONG probe = RegRestoreKeyA(key, (folder_ + "absent.hiv").c_str(), REG_FORCE_RESTORE);
  RegCloseKey(key);
  if (probe == ERROR_SUCCESS)
    GTEST_SKIP() << "RegRestoreKeyA restored a file that does not exist: a stub on this platform";

  const std::string file = folder_ + "scratch.hiv";
  ASSERT_TRUE(reg.SaveKey(Path(), file, HKEY_CURRENT_USER));
  SetRaw(Path(), "LxAddedLater", REG_DWORD, {1, 0, 0, 0});
  EXPECT_FALSE(reg.RestoreKey(Path(), folder_ + "absent.hiv", HKEY_CURRENT_USER));
  EXPECT_TRUE(reg.RestoreKey(Path(), file, HKEY_CURRENT_USER));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetRaw(Path(), "LxAddedLater").code);
  EXPECT_EQ(ERROR_SUCCESS, GetRaw(Path(), "LxSentinelValue").code);
}

// clsLxRegistry's hive operations: privileges, and saving, restoring and
// mounting whole keys as hive files. Unlike the section and setting
// operations they neither clear nor fill RegError.
#include <string>

#include "registry/LxHandles.h"
#include "registry/clsLxRegistry.h"

namespace {

// A fresh, uniquely named empty file in the folder of `target`, or "" when
// the folder cannot take one. Renaming it over the target later stays on one
// volume, so the replacement is a single rename.
std::string TempFileBeside(const std::string& target) {
  const size_t slash = target.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
  char name[MAX_PATH + 1] = {};
  if (GetTempFileNameA(folder.c_str(), "lxr", 0, name) == 0) return {};
  return name;
}

}  // namespace

bool clsLxRegistry::LoadKey(HKEY hKey, const std::string& ParentKey, const std::string& NewKey) {
  LxRegKey parent;
  if (RegOpenKeyExA(hKey, ParentKey.c_str(), 0, KEY_SET_VALUE | KEY_CREATE_SUB_KEY | view_, parent.receive()) !=
      ERROR_SUCCESS)
    return false;
  // Always this one file; a failed expansion leaves "" (and RegError filled).
  const std::string file = ExpandEnvString("%temp%\\regsav.reg");
  const LONG code = RegLoadKeyA(parent.get(), NewKey.c_str(), file.c_str());
  parent.Close();
  return code == ERROR_SUCCESS;
}

bool clsLxRegistry::EnablePrivilege(const std::string& seName) {
  LxHandle token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.receive())) return false;
  LUID luid;
  if (!LookupPrivilegeValueA(nullptr, seName.c_str(), &luid)) return false;
  TOKEN_PRIVILEGES wanted = {};
  wanted.PrivilegeCount = 1;
  wanted.Privileges[0].Luid = luid;
  wanted.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  TOKEN_PRIVILEGES previous = {};
  DWORD previousLength = 0;
  if (!AdjustTokenPrivileges(token.get(), FALSE, &wanted, sizeof previous, &previous, &previousLength)) return false;
  // The call also succeeds for a privilege that the token does not hold at
  // all; only its own last error, read at once, tells that nothing was enabled.
  return GetLastError() != ERROR_NOT_ALL_ASSIGNED;
}

bool clsLxRegistry::RestoreKey(const std::string& sKeyName, const std::string& sFileName, HKEY lPredefinedKey) {
  if (!EnablePrivilege("SeRestorePrivilege")) return false;
  LxRegKey key;
  if (RegOpenKeyExA(lPredefinedKey, sKeyName.c_str(), 0, KEY_ALL_ACCESS | view_, key.receive()) != ERROR_SUCCESS)
    return false;
  // REG_FORCE_RESTORE: replace the contents even where keys below are open.
  return RegRestoreKeyA(key.get(), sFileName.c_str(), REG_FORCE_RESTORE) == ERROR_SUCCESS;
}

bool clsLxRegistry::SaveKey(const std::string& sKeyName, const std::string& sFileName, HKEY lPredefinedKey) {
  if (!EnablePrivilege("SeBackupPrivilege")) return false;
  LxRegKey key;
  if (RegOpenKeyExA(lPredefinedKey, sKeyName.c_str(), 0, KEY_ALL_ACCESS | view_, key.receive()) != ERROR_SUCCESS)
    return false;
  // A read-only target stays: Windows refuses to rename over one, and this
  // Wine would replace it, so ask first and refuse on both.
  const DWORD attributes = GetFileAttributesA(sFileName.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  // Save beside the target and replace it only once the hive is complete:
  // an existing file survives every failure. The temporary name is reserved
  // by an empty file, which must go first: Windows refuses to save into an
  // existing file (183).
  const std::string temp = TempFileBeside(sFileName);
  if (temp.empty()) return false;
  DeleteFileA(temp.c_str());
  const bool saved = RegSaveKeyA(key.get(), temp.c_str(), nullptr) == ERROR_SUCCESS &&
                     MoveFileExA(temp.c_str(), sFileName.c_str(), MOVEFILE_REPLACE_EXISTING);
  if (!saved) DeleteFileA(temp.c_str());
  return saved;
}

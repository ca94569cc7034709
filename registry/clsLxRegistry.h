// clsLxRegistry: sections (registry keys) and settings (values) over the
// Windows registry, through the ANSI "A" functions. All text is std::string in
// the system's ANSI code page.
//
// Addressing: a root key (HKEY_LOCAL_MACHINE or a key the caller opened; never
// closed here) plus a Section path of sub-key names separated by "\"; a
// trailing "\" is fine, "" is the root itself. SettingName "" is the key's
// default value.
//
// Failures are never thrown. They come back as -1, 0, false or std::nullopt,
// with Number (the platform's error code), Description (its system message
// text) and Source ("clsLxRegistry.ReadSetting" and so on) in RegError(). Each
// section and setting operation clears RegError first; ExpandEnvString and the
// hive operations (SaveKey, RestoreKey, LoadKey, EnablePrivilege) do not.
//
// Collections are plain std::vector in the platform's enumeration order:
// element [0] is the first item (position 1 when counted from 1).
//
// Typical reads:
//   clsLxRegistry reg;
//   if (auto s = reg.ReadSetting(HKEY_LOCAL_MACHINE,
//                                "Software\\Microsoft\\Windows NT\\CurrentVersion",
//                                "CurrentBuildNumber"))
//     std::string build = s->Setting().AsText();
//   auto names = reg.GetSubSectionNames(HKEY_LOCAL_MACHINE, "Software\\Foo\\");
//   //   nullopt: key cannot be opened; empty vector: key without sub-keys
//   auto all = reg.GetAllSettings(HKEY_LOCAL_MACHINE, "Software\\Foo");
//   //   one clsLxRegSetting per value (SettingName(), Setting()), or nullopt
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/LxVariant.h"
#include "registry/clsLxError.h"
#include "registry/clsLxRegSetting.h"

class clsLxRegistry {
 public:
  // view: the registry view that every key is opened in, as access flags
  // (KEY_WOW64_32KEY or KEY_WOW64_64KEY on 64-bit Windows); 0, the
  // process's own view. Windows 2000 knows no view: pass 0 there.
  explicit clsLxRegistry(REGSAM view = 0);
  // The error record is shared with callers that hold RegError(); copying or
  // moving would make two objects write one record, so neither is allowed.
  clsLxRegistry(const clsLxRegistry&) = delete;
  clsLxRegistry& operator=(const clsLxRegistry&) = delete;

  // "clsLxRegistry"
  std::string ClassName() const { return "clsLxRegistry"; }
  // The object's own error record; later operations change what a holder sees.
  std::shared_ptr<clsLxError> RegError() const { return regError_; }

  // Hive operations. They neither clear nor fill RegError.
  // Mounts "%temp%\regsav.reg" as NewKey under hKey\ParentKey; true when the
  // platform loaded it. Needs the backup and restore privileges switched on
  // beforehand (EnablePrivilege).
  bool LoadKey(HKEY hKey, const std::string& ParentKey, const std::string& NewKey);
  // Switches seName ("SeBackupPrivilege", ...) on in the process token; true
  // exactly when it is now enabled (false when the process does not hold it).
  bool EnablePrivilege(const std::string& seName);
  // Replaces the contents of lPredefinedKey\sKeyName from the hive file
  // sFileName (with SeRestorePrivilege); true only when the restore succeeded.
  bool RestoreKey(const std::string& sKeyName, const std::string& sFileName, HKEY lPredefinedKey);
  // Writes lPredefinedKey\sKeyName to the hive file sFileName (with
  // SeBackupPrivilege). The hive goes to a new file beside the target first and
  // replaces the target only when complete: on false an existing file is
  // untouched.
  bool SaveKey(const std::string& sKeyName, const std::string& sFileName, HKEY lPredefinedKey);

  // Environment references ("%TEMP%") replaced; undefined ones stay as written.
  // Fills RegError only when the expansion fails with a last error.
  std::string ExpandEnvString(const std::string& EnvString);

  // Counts of sub-keys / values, or -1.
  int32_t HasSubSections(HKEY hKey, const std::string& Section);
  int32_t HasSettings(HKEY hKey, const std::string& Section);
  // Bare names of the direct sub-keys, or nullopt when the key cannot be read.
  std::optional<std::vector<std::string>> GetSubSectionNames(HKEY hKey, const std::string& Section);
  // Every value of the key (values with empty data included), or nullopt.
  std::optional<std::vector<clsLxRegSetting>> GetAllSettings(HKEY hKey, const std::string& Section);
  // Creates the key and any missing keys above it: 1 created, 2 existed, 0 failed.
  int32_t CreateSection(HKEY hKey, const std::string& Section);
  // Deletes a key without sub-keys (the platform refuses others).
  bool DeleteSection(HKEY hKey, const std::string& Section);
  // Deletes a key and its whole tree, children before parents.
  bool DeleteSectionRec(HKEY hKey, const std::string& Section);
  // One value, or nullopt (missing key or value: Number 2).
  std::optional<clsLxRegSetting> ReadSetting(HKEY hKey, const std::string& Section, const std::string& SettingName);
  // Writes Setting by the write rules (see LxSettingRules.h), creating the
  // section when missing: 1 key created, 2 key existed, 0 failed. A kind that
  // cannot be written (Boolean, Single, Empty, ...) gives 0 with Number 13 and
  // touches nothing.
  int32_t WriteSetting(HKEY hKey, const std::string& Section, const std::string& SettingName, const LxVariant& Setting);
  bool DeleteSetting(HKEY hKey, const std::string& Section, const std::string& SettingName);

 private:
  // The system's one-line message text for code, or "" when it has none.
  std::string GetErrorText(DWORD code) const;
  // Fills Number, Description and Source ("clsLxRegistry" + suffix) of RegError.
  void Record(DWORD code, const char* suffix);
  // Reads value `name` of an open key into out.Setting(), with a buffer shaped
  // by the type and size that an earlier query or the enumeration reported.
  static LONG ReadShaped(HKEY key, const std::string& name, DWORD type, DWORD size, clsLxRegSetting& out);

  // RegDeleteKeyA of hKey\Section, in the object's view.
  LONG DeleteKeyInView(HKEY hKey, const std::string& Section) const;

  std::shared_ptr<clsLxError> regError_;
  REGSAM view_;
};

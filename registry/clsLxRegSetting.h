// clsLxRegSetting: one registry value as the library hands it out: its name
// and its data as a tagged value (LxVariant).
//
// Reading: ReadSetting and GetAllSettings fill SettingName() and Setting().
//   REG_SZ / REG_EXPAND_SZ -> String (unexpanded, without the terminating NUL)
//   REG_DWORD              -> Long
//   REG_MULTI_SZ           -> String array, indexed from 0
//   anything else          -> Byte array, indexed from 0
// A string or DWORD value as text: setting.Setting().AsText() ("6.0.2900", "-1").
#pragma once

#include <cstdint>
#include <string>

#include "registry/LxVariant.h"

class clsLxRegSetting {
 public:
  // Stores a copy of vData. A value holding an Object keeps sharing the same
  // object: copies of an LxVariant share its reference.
  void Setting(const LxVariant& vData) { setting_ = vData; }
  const LxVariant& Setting() const { return setting_; }

  // The registry type that WriteSetting would choose for the held value:
  // REG_DWORD for Integer/Long/Byte, REG_EXPAND_SZ or REG_SZ for a String
  // (expandable = names a defined environment variable), REG_BINARY or
  // REG_MULTI_SZ for arrays, REG_NONE for everything else (Empty included).
  uint32_t RegDataType() const;
  // The variant type code of the held value (8 String, 3 Long, 0x2011 bytes...).
  int32_t VarTypeVB() const { return setting_.VarTypeCode(); }
  // "String", "Long", "Byte()", ...
  std::string TypeNameVB() const { return setting_.TypeName(); }

  void SettingName(const std::string& vData) { settingName_ = vData; }
  // The value's name; empty for a key's default value.
  const std::string& SettingName() const { return settingName_; }

 private:
  std::string settingName_;
  LxVariant setting_;
};

// clsLxRegistry: the section and setting operations and their error record.
// The hive operations live in clsLxRegistryHive.cpp.
#include "registry/clsLxRegistry.h"

#include <algorithm>
#include <cstring>

#include "registry/LxHandles.h"
#include "registry/LxSettingRules.h"

namespace {

struct KeyInfo {
  DWORD subKeys = 0;
  DWORD longestSubKey = 0;  // characters, without terminator
  DWORD values = 0;
  DWORD longestValueName = 0;  // characters, without terminator
  DWORD longestValueData = 0;  // bytes
};

// No class name is wanted: the class arguments stay null.
LONG QueryInfo(HKEY key, KeyInfo& info) {
  return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &info.subKeys, &info.longestSubKey, nullptr, &info.values,
                          &info.longestValueName, &info.longestValueData, nullptr, nullptr);
}

// Opens the section for reading, asks for its counts and closes it again.
LONG QuerySection(HKEY root, const std::string& section, REGSAM view, KeyInfo& info) {
  LxRegKey key;
  LONG code = RegOpenKeyExA(root, section.c_str(), 0, KEY_QUERY_VALUE | view, key.receive());
  if (code == ERROR_SUCCESS) code = QueryInfo(key.get(), info);
  return code;
}

// Section + "\" + name, without doubling a trailing "\" and without a
// leading "\" for the empty section (registry paths are relative).
std::string JoinSection(const std::string& section, const std::string& name) {
  if (section.empty()) return name;
  if (section.back() == '\\') return section + name;
  return section + "\\" + name;
}

}  // namespace

clsLxRegistry::clsLxRegistry(REGSAM view) : regError_(std::make_shared<clsLxError>()), view_(view) {}

// RegDeleteKeyA deletes in the caller's own view; in another, the key goes
// through its parent opened in that view (RegDeleteKeyExA, which takes the
// view, is not on every Windows).
LONG clsLxRegistry::DeleteKeyInView(HKEY hKey, const std::string& Section) const {
  if (view_ == 0) return RegDeleteKeyA(hKey, Section.c_str());
  std::string path = Section;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  const std::string::size_type cut = path.rfind('\\');
  if (cut == std::string::npos) return RegDeleteKeyA(hKey, path.c_str());
  LxRegKey parent;
  LONG code = RegOpenKeyExA(hKey, path.substr(0, cut).c_str(), 0, KEY_QUERY_VALUE | view_, parent.receive());
  if (code == ERROR_SUCCESS) code = RegDeleteKeyA(parent.get(), path.substr(cut + 1).c_str());
  return code;
}

std::string clsLxRegistry::ExpandEnvString(const std::string& EnvString) {
  const DWORD needed = ExpandEnvironmentStringsA(EnvString.c_str(), nullptr, 0);
  if (needed != 0) {
    std::string buffer(needed, '\0');
    if (ExpandEnvironmentStringsA(EnvString.c_str(), &buffer[0], needed) != 0) {
      buffer.resize(std::strlen(buffer.c_str()));
      return buffer;
    }
  }
  // Only a failure that left a last error is recorded; otherwise the record
  // keeps what an earlier operation put there.
  if (const DWORD lastError = GetLastError()) Record(lastError, ".ExpandEnvString");
  return {};
}

int32_t clsLxRegistry::HasSubSections(HKEY hKey, const std::string& Section) {
  regError_->Clear();
  KeyInfo info;
  if (const LONG code = QuerySection(hKey, Section, view_, info)) {
    Record(code, ".HasSubSections");
    return -1;
  }
  return static_cast<int32_t>(info.subKeys);
}

int32_t clsLxRegistry::HasSettings(HKEY hKey, const std::string& Section) {
  regError_->Clear();
  KeyInfo info;
  if (const LONG code = QuerySection(hKey, Section, view_, info)) {
    Record(code, ".HasSettings");
    return -1;
  }
  return static_cast<int32_t>(info.values);
}

std::optional<std::vector<std::string>> clsLxRegistry::GetSubSectionNames(HKEY hKey, const std::string& Section) {
  regError_->Clear();
  std::vector<std::string> names;
  LxRegKey key;
  KeyInfo info;
  LONG code = RegOpenKeyExA(hKey, Section.c_str(), 0, KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | view_, key.receive());
  if (code == ERROR_SUCCESS) code = QueryInfo(key.get(), info);
  if (code == ERROR_SUCCESS) {
    // Sized once from the key's longest name: a longer sub-key added during
    // the enumeration ends it with 234, which is reported like any failure.
    const DWORD capacity = info.longestSubKey + 1;
    std::string buffer(capacity, '\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = capacity;
      FILETIME written;
      code = RegEnumKeyExA(key.get(), index, &buffer[0], &length, nullptr, nullptr, nullptr, &written);
      if (code != ERROR_SUCCESS) break;
      names.emplace_back(buffer, 0, length);
    }
  }
  key.Close();
  if (code == ERROR_NO_MORE_ITEMS) return names;
  Record(code, ".GetSubSectionNames");
  return std::nullopt;
}

std::optional<std::vector<clsLxRegSetting>> clsLxRegistry::GetAllSettings(HKEY hKey, const std::string& Section) {
  regError_->Clear();
  std::vector<clsLxRegSetting> settings;
  LxRegKey key;
  KeyInfo info;
  LONG code = RegOpenKeyExA(hKey, Section.c_str(), 0, KEY_QUERY_VALUE | view_, key.receive());
  if (code == ERROR_SUCCESS) code = QueryInfo(key.get(), info);
  if (code == ERROR_SUCCESS) {
    // Values whose data are all empty are listed too (longest data 0).
    const DWORD nameCapacity = info.longestValueName + 1;
    std::string name(nameCapacity, '\0');
    std::vector<BYTE> data(std::max<DWORD>(info.longestValueData, 1));
    for (DWORD index = 0;; ++index) {
      DWORD nameLength = nameCapacity;
      DWORD dataLength = info.longestValueData;
      DWORD type = REG_NONE;
      code = RegEnumValueA(key.get(), index, &name[0], &nameLength, nullptr, &type, data.data(), &dataLength);
      if (code != ERROR_SUCCESS) break;
      clsLxRegSetting setting;
      setting.SettingName(name.substr(0, nameLength));
      // The enumerated data are not used: the value is read again by name,
      // exactly as ReadSetting reads it.
      code = ReadShaped(key.get(), setting.SettingName(), type, dataLength, setting);
      if (code != ERROR_SUCCESS) break;
      settings.push_back(std::move(setting));
    }
  }
  key.Close();
  if (code == ERROR_NO_MORE_ITEMS) return settings;
  Record(code, ".GetAllSettings");
  return std::nullopt;
}

int32_t clsLxRegistry::CreateSection(HKEY hKey, const std::string& Section) {
  regError_->Clear();
  LxRegKey key;
  DWORD disposition = 0;
  const LONG code = RegCreateKeyExA(hKey, Section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_CREATE_SUB_KEY | view_, nullptr, key.receive(), &disposition);
  key.Close();
  if (code != ERROR_SUCCESS) {
    Record(code, ".CreateSection");
    return 0;
  }
  return static_cast<int32_t>(disposition);
}

bool clsLxRegistry::DeleteSection(HKEY hKey, const std::string& Section) {
  regError_->Clear();
  const LONG code = DeleteKeyInView(hKey, Section);
  if (code != ERROR_SUCCESS) {
    Record(code, ".DeleteSection");
    return false;
  }
  return true;
}

bool clsLxRegistry::DeleteSectionRec(HKEY hKey, const std::string& Section) {
  regError_->Clear();
  // A second object lists the children, so that its failures stay in its own
  // record. The list is a snapshot taken before anything is deleted; a child
  // that cannot be deleted does not stop its siblings, and makes this key's
  // own deletion below fail.
  clsLxRegistry lister(view_);
  if (const auto names = lister.GetSubSectionNames(hKey, Section)) {
    for (const std::string& name : *names) DeleteSectionRec(hKey, JoinSection(Section, name));
  }
  const LONG code = DeleteKeyInView(hKey, Section);
  if (code != ERROR_SUCCESS) {
    Record(code, ".DeleteSection");
    return false;
  }
  return true;
}

std::optional<clsLxRegSetting> clsLxRegistry::ReadSetting(HKEY hKey, const std::string& Section,
                                                          const std::string& SettingName) {
  regError_->Clear();
  clsLxRegSetting setting;
  LxRegKey key;
  LONG code = RegOpenKeyExA(hKey, Section.c_str(), 0, KEY_QUERY_VALUE | view_, key.receive());
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (code == ERROR_SUCCESS) code = RegQueryValueExA(key.get(), SettingName.c_str(), nullptr, &type, nullptr, &size);
  if (code == ERROR_SUCCESS) {
    setting.SettingName(SettingName);
    code = ReadShaped(key.get(), SettingName, type, size, setting);
  }
  key.Close();
  if (code != ERROR_SUCCESS) {
    Record(code, ".ReadSetting");
    return std::nullopt;
  }
  return setting;
}

int32_t clsLxRegistry::WriteSetting(HKEY hKey, const std::string& Section, const std::string& SettingName,
                                    const LxVariant& Setting) {
  regError_->Clear();
  lxrules::RegData data;
  try {
    data = lxrules::EncodeSetting(Setting);
  } catch (const LxRaisedError& e) {
    // A value that cannot be written: nothing has been created yet.
    regError_->Number(e.Number());
    regError_->Description(e.Description());
    regError_->HelpContext(e.HelpContext());
    regError_->HelpFile(e.HelpFile());
    regError_->Source(ClassName() + ".WriteSetting");
    return 0;
  }
  LxRegKey key;
  DWORD disposition = 0;
  LONG code = RegCreateKeyExA(hKey, Section.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE | KEY_CREATE_SUB_KEY | view_, nullptr, key.receive(), &disposition);
  if (code == ERROR_SUCCESS)
    code = RegSetValueExA(key.get(), SettingName.c_str(), 0, data.type, data.bytes.data(),
                          static_cast<DWORD>(data.bytes.size()));
  key.Close();
  if (code != ERROR_SUCCESS) {
    Record(code, ".WriteSetting");
    return 0;
  }
  return static_cast<int32_t>(disposition);
}

bool clsLxRegistry::DeleteSetting(HKEY hKey, const std::string& Section, const std::string& SettingName) {
  regError_->Clear();
  LxRegKey key;
  LONG code = RegOpenKeyExA(hKey, Section.c_str(), 0, KEY_SET_VALUE | view_, key.receive());
  if (code == ERROR_SUCCESS) code = RegDeleteValueA(key.get(), SettingName.c_str());
  key.Close();
  if (code != ERROR_SUCCESS) {
    Record(code, ".DeleteSetting");
    return false;
  }
  return true;
}

std::string clsLxRegistry::GetErrorText(DWORD code) const {
  // One line (width mask); inserts are left as written, since no arguments
  // exist to fill them and formatting them without would read garbage.
  char buffer[512] = {};
  const DWORD length =
      FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_MAX_WIDTH_MASK,
                     nullptr, code, 0, buffer, sizeof buffer, nullptr);
  return std::string(buffer, length);
}

void clsLxRegistry::Record(DWORD code, const char* suffix) {
  regError_->Number(static_cast<int32_t>(code));
  regError_->Description(GetErrorText(code));
  regError_->Source(ClassName() + suffix);
}

LONG clsLxRegistry::ReadShaped(HKEY key, const std::string& name, DWORD type, DWORD size, clsLxRegSetting& out) {
  DWORD length = lxrules::ReadBufferSize(type, size);
  // Never under four bytes, so that data decoded as a REG_DWORD always has
  // its four bytes even if the value changed type since it was measured.
  std::vector<BYTE> buffer(std::max<DWORD>(length, 4), 0);
  DWORD readType = REG_NONE;
  const LONG code = RegQueryValueExA(key, name.c_str(), nullptr, &readType, buffer.data(), &length);
  if (code == ERROR_SUCCESS) out.Setting(lxrules::DecodeRegData(readType, buffer.data(), length));
  return code;
}

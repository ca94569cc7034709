// Registry contents for one test: values and keys set or removed through the
// API, and everything put back as it was when the seed goes out of scope.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace harness {

// The 32-bit view by default: the one that the menu reads on every build.
class RegistrySeed {
 public:
  explicit RegistrySeed(HKEY root = HKEY_LOCAL_MACHINE, REGSAM view = KEY_WOW64_32KEY);
  ~RegistrySeed();  // restores what it changed, the last change first
  RegistrySeed(const RegistrySeed&) = delete;
  RegistrySeed& operator=(const RegistrySeed&) = delete;

  // A value of any type with exactly these bytes; the key is created if needed.
  void SetValue(const std::string& key, const std::string& name, DWORD type, const std::vector<BYTE>& data);
  void SetString(const std::string& key, const std::string& name, const std::string& text, DWORD type = REG_SZ);
  void SetDword(const std::string& key, const std::string& name, DWORD value);
  void DeleteValue(const std::string& key, const std::string& name);
  // An empty key (created if missing; its values and sub-keys are kept).
  void CreateKey(const std::string& key);
  // The key and everything below it gone.
  void DeleteTree(const std::string& key);

  // False once any operation failed; the message says which.
  bool Ok() const { return failure_.empty(); }
  const std::string& Failure() const { return failure_; }

  struct Undo;  // one saved state, restored by the destructor

 private:
  void GuardValue(const std::string& key, const std::string& name);
  void GuardTree(const std::string& key);
  bool Covered(const std::string& key) const;
  void Fail(const std::string& what, LONG code);

  HKEY root_;
  REGSAM view_;
  std::vector<std::unique_ptr<Undo>> undo_;
  std::vector<std::string> trees_;  // keys whose whole tree is saved
  std::string failure_;
};

}  // namespace harness

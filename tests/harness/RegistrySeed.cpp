// Saves the part of the registry that a test changes and writes it back.
#include "tests/harness/RegistrySeed.h"

#include <algorithm>
#include <cctype>

namespace harness {

namespace {

struct ValueImage {
  std::string name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
};

// A key with its values and sub-keys, as found.
struct KeyImage {
  std::vector<ValueImage> values;
  std::vector<std::pair<std::string, KeyImage>> children;
};

class Key {
 public:
  Key() = default;
  ~Key() {
    if (h_) RegCloseKey(h_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  LONG Open(HKEY parent, const std::string& path, REGSAM access) {
    return RegOpenKeyExA(parent, path.c_str(), 0, access, &h_);
  }
  LONG Create(HKEY parent, const std::string& path, REGSAM view) {
    return RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr, &h_, nullptr);
  }
  HKEY get() const { return h_; }

 private:
  HKEY h_ = nullptr;
};

bool ReadImage(HKEY parent, const std::string& path, REGSAM view, KeyImage& image) {
  Key key;
  if (key.Open(parent, path, KEY_READ | view) != ERROR_SUCCESS) return false;
  DWORD maxName = 0, maxData = 0, maxSub = 0;
  RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, &maxSub, nullptr, nullptr, &maxName, &maxData,
                   nullptr, nullptr);
  for (DWORD i = 0;; ++i) {
    std::vector<char> name(maxName + 2);
    ValueImage v;
    v.data.resize(maxData + 2);
    DWORD nameLen = static_cast<DWORD>(name.size()), dataLen = static_cast<DWORD>(v.data.size());
    if (RegEnumValueA(key.get(), i, name.data(), &nameLen, nullptr, &v.type, v.data.data(), &dataLen) != ERROR_SUCCESS)
      break;
    v.name.assign(name.data(), nameLen);
    v.data.resize(dataLen);
    image.values.push_back(std::move(v));
  }
  for (DWORD i = 0;; ++i) {
    std::vector<char> name(maxSub + 2);
    DWORD nameLen = static_cast<DWORD>(name.size());
    if (RegEnumKeyExA(key.get(), i, name.data(), &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::string child(name.data(), nameLen);
    KeyImage sub;
    ReadImage(key.get(), child, view, sub);
    image.children.emplace_back(child, std::move(sub));
  }
  return true;
}

void WriteImage(HKEY parent, const std::string& path, REGSAM view, const KeyImage& image) {
  Key key;
  if (key.Create(parent, path, view) != ERROR_SUCCESS) return;
  for (const ValueImage& v : image.values)
    RegSetValueExA(key.get(), v.name.c_str(), 0, v.type, v.data.data(), static_cast<DWORD>(v.data.size()));
  for (const auto& child : image.children) WriteImage(key.get(), child.first, view, child.second);
}

// RegDeleteTreeA and RegDeleteKeyA work in the process's own view: in
// another, the key is emptied through a handle opened in that view and
// deleted through its parent's.
LONG DeleteTreeInView(HKEY root, const std::string& path, REGSAM view) {
  Key key;
  LONG r = key.Open(root, path, KEY_ALL_ACCESS | view);
  if (r == ERROR_SUCCESS) r = RegDeleteTreeA(key.get(), nullptr);
  if (r != ERROR_SUCCESS) return r;
  const std::string::size_type cut = path.rfind('\\');
  if (cut == std::string::npos) return RegDeleteKeyA(root, path.c_str());
  Key parent;
  r = parent.Open(root, path.substr(0, cut), KEY_ALL_ACCESS | view);
  if (r == ERROR_SUCCESS) r = RegDeleteKeyA(parent.get(), path.substr(cut + 1).c_str());
  return r;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Trimmed(std::string key) {
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

}  // namespace

// One saved state: a whole tree (or its absence), or one value (or its absence).
struct RegistrySeed::Undo {
  HKEY root;
  REGSAM view;
  std::string key;
  bool isTree = false;
  bool existed = false;
  KeyImage tree;
  ValueImage value;

  void Restore() const {
    if (isTree) {
      DeleteTreeInView(root, key, view);
      if (existed) WriteImage(root, key, view, tree);
      return;
    }
    Key k;
    if (k.Open(root, key, KEY_SET_VALUE | view) != ERROR_SUCCESS) return;
    if (existed)
      RegSetValueExA(k.get(), value.name.c_str(), 0, value.type, value.data.data(),
                     static_cast<DWORD>(value.data.size()));
    else
      RegDeleteValueA(k.get(), value.name.c_str());
  }
};

RegistrySeed::RegistrySeed(HKEY root, REGSAM view) : root_(root), view_(view) {}

RegistrySeed::~RegistrySeed() {
  for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) (*it)->Restore();
}

void RegistrySeed::Fail(const std::string& what, LONG code) {
  if (failure_.empty()) failure_ = what + " failed with " + std::to_string(code);
}

bool RegistrySeed::Covered(const std::string& key) const {
  std::string k = Lower(Trimmed(key));
  for (const std::string& tree : trees_) {
    std::string t = Lower(tree);
    if (k == t || (k.size() > t.size() && k.compare(0, t.size(), t) == 0 && k[t.size()] == '\\')) return true;
  }
  return false;
}

void RegistrySeed::GuardTree(const std::string& key) {
  if (Covered(key)) return;
  auto undo = std::make_unique<Undo>();
  undo->root = root_;
  undo->view = view_;
  undo->key = Trimmed(key);
  undo->isTree = true;
  undo->existed = ReadImage(root_, undo->key, view_, undo->tree);
  trees_.push_back(undo->key);
  undo_.push_back(std::move(undo));
}

// Before a value changes: an existing key keeps the value's old state; for a
// missing key, the topmost missing key on the path is saved as absent.
void RegistrySeed::GuardValue(const std::string& key, const std::string& name) {
  if (Covered(key)) return;
  std::string path = Trimmed(key);
  for (std::string::size_type pos = 0;; ++pos) {
    pos = path.find('\\', pos);
    std::string prefix = path.substr(0, pos);
    Key probe;
    if (probe.Open(root_, prefix, KEY_READ | view_) != ERROR_SUCCESS) {
      GuardTree(prefix);
      return;
    }
    if (pos == std::string::npos) break;
  }
  auto undo = std::make_unique<Undo>();
  undo->root = root_;
  undo->view = view_;
  undo->key = path;
  Key k;
  k.Open(root_, path, KEY_READ | view_);
  DWORD size = 0;
  undo->value.name = name;
  if (RegQueryValueExA(k.get(), name.c_str(), nullptr, &undo->value.type, nullptr, &size) == ERROR_SUCCESS) {
    undo->existed = true;
    undo->value.data.resize(size);
    RegQueryValueExA(k.get(), name.c_str(), nullptr, &undo->value.type, undo->value.data.data(), &size);
    undo->value.data.resize(size);
  }
  undo_.push_back(std::move(undo));
}

void RegistrySeed::SetValue(const std::string& key, const std::string& name, DWORD type,
                            const std::vector<BYTE>& data) {
  GuardValue(key, name);
  Key k;
  LONG r = k.Create(root_, key, view_);
  if (r == ERROR_SUCCESS)
    r = RegSetValueExA(k.get(), name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
  if (r != ERROR_SUCCESS) Fail("setting " + key + " " + name, r);
}

void RegistrySeed::SetString(const std::string& key, const std::string& name, const std::string& text, DWORD type) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  SetValue(key, name, type, data);
}

void RegistrySeed::SetDword(const std::string& key, const std::string& name, DWORD value) {
  const BYTE* p = reinterpret_cast<const BYTE*>(&value);
  SetValue(key, name, REG_DWORD, std::vector<BYTE>(p, p + sizeof value));
}

void RegistrySeed::DeleteValue(const std::string& key, const std::string& name) {
  Key k;
  if (k.Open(root_, key, KEY_SET_VALUE | view_) != ERROR_SUCCESS) return;  // no key, no value
  GuardValue(key, name);
  LONG r = RegDeleteValueA(k.get(), name.c_str());
  if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND) Fail("deleting " + key + " " + name, r);
}

void RegistrySeed::CreateKey(const std::string& key) {
  GuardValue(key, "");  // saves the topmost missing key, if any
  Key k;
  LONG r = k.Create(root_, key, view_);
  if (r != ERROR_SUCCESS) Fail("creating " + key, r);
}

void RegistrySeed::DeleteTree(const std::string& key) {
  GuardTree(key);
  LONG r = DeleteTreeInView(root_, Trimmed(key), view_);
  if (r != ERROR_SUCCESS && r != ERROR_FILE_NOT_FOUND) Fail("deleting " + key, r);
}

}  // namespace harness

// Owners for the two kinds of handle this library opens: registry keys and
// the process token. Each closes its handle when it goes out of scope, so every
// path out of an operation, failures included, closes what it opened.
// Copying is deleted: a copy would close the same handle twice. The library
// has its own owner, not the window toolkit's, so that it depends on nothing
// but Windows.
#pragma once

#include <windows.h>

template <typename H, typename Closer>
class LxOwned {
 public:
  LxOwned() = default;
  ~LxOwned() { Close(); }
  LxOwned(const LxOwned&) = delete;
  LxOwned& operator=(const LxOwned&) = delete;

  H get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // For the out-parameter of RegOpenKeyExA, RegCreateKeyExA, OpenProcessToken.
  H* receive() {
    Close();
    return &handle_;
  }
  void Close() {
    if (handle_) Closer{}(handle_);
    handle_ = nullptr;
  }

 private:
  H handle_ = nullptr;
};

struct LxCloseKey {
  void operator()(HKEY key) const { RegCloseKey(key); }
};
struct LxCloseHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};

using LxRegKey = LxOwned<HKEY, LxCloseKey>;
using LxHandle = LxOwned<HANDLE, LxCloseHandle>;

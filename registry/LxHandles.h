// Owners for the two kinds of handle this library opens: registry keys and
// the process token. Each closes its handle when it goes out of scope, so every
// path out of an operation, failures included, closes what it opened.
// Copying is deleted: a copy would close the same handle twice.
#pragma once

#include <windows.h>

class LxRegKey {
 public:
  LxRegKey() = default;
  ~LxRegKey() { Close(); }
  LxRegKey(const LxRegKey&) = delete;
  LxRegKey& operator=(const LxRegKey&) = delete;

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }
  // For the HKEY* out-parameter of RegOpenKeyExA / RegCreateKeyExA.
  HKEY* receive() {
    Close();
    return &key_;
  }
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};

class LxHandle {
 public:
  LxHandle() = default;
  ~LxHandle() { Close(); }
  LxHandle(const LxHandle&) = delete;
  LxHandle& operator=(const LxHandle&) = delete;

  HANDLE get() const { return handle_; }
  HANDLE* receive() {
    Close();
    return &handle_;
  }
  void Close() {
    if (handle_) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

#include "toolkit/SystemDll.h"

#include <string>

namespace tk {

FARPROC SystemProc(const char* dll, const char* name) {
  char folder[MAX_PATH];
  const UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  HMODULE module = LoadLibraryA((std::string(folder, n) + "\\" + dll).c_str());
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace tk

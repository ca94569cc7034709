// A function of a Windows DLL that the program needs only now and then (the
// sound at the first hover, the shell for the Help fallback). Its DLL is
// loaded at the function's first use instead of at start-up, where every
// imported DLL, and the DLLs it brings, costs time before the window shows.
// It is loaded from the system folder by its full path, never from the
// program's own folder on the CD.
#pragma once
#include <windows.h>

namespace tk {

// The function's address, or nullptr when the DLL or the function is not
// there. The DLL stays loaded for the rest of the process.
FARPROC SystemProc(const char* dll, const char* name);

template <typename Fn>
Fn SystemFunction(const char* dll, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(SystemProc(dll, name)));
}

}  // namespace tk

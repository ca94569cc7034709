// What a running program holds, counted from outside, for soak and storm
// tests. This Wine has no working GetGuiResources (it returns 0) and no
// GetProcessHandleCount, so the counts are taken the long way:
//   GDI objects    the used, non-stock entries of the program's own GDI
//                  handle table (PEB GdiSharedHandleTable), read with
//                  ReadProcessMemory; this prober must have the program's bitness
//   windows        the program's top-level and child windows (the USER
//                  objects that a leak would pile up)
//   kernel handles every handle value that DuplicateHandle can duplicate
#pragma once
#include <windows.h>

namespace harness {

struct ProcessCounts {
  int gdiObjects = -1;  // -1: could not be read
  int windows = -1;
  int kernelHandles = -1;
};

ProcessCounts CountsOf(DWORD pid);

// Whether the window answers WM_NULL within the time.
bool Responds(HWND window, UINT timeoutMs = 1000);

}  // namespace harness

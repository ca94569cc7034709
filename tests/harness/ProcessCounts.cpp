#include "tests/harness/ProcessCounts.h"

#include <winternl.h>

#include <cstdint>
#include <vector>

namespace harness {

namespace {

// One entry of the GDI handle table as Wine lays it out (24 bytes).
#pragma pack(push, 8)
struct GdiEntry {
  std::uint64_t object;
  std::uint32_t owner;
  std::uint16_t unique;  // bit 7: a stock object
  std::uint8_t type;     // 0: unused
  std::uint8_t flags;
  std::uint64_t userPointer;
};
#pragma pack(pop)
static_assert(sizeof(GdiEntry) == 24, "Wine's GDI_HANDLE_ENTRY");
const int kGdiEntries = 0x10000;

using QueryFn = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

template <typename T>
bool ReadAt(HANDLE process, std::uintptr_t at, T* out) {
  SIZE_T got = 0;
  return ReadProcessMemory(process, reinterpret_cast<const void*>(at), out, sizeof(T), &got) && got == sizeof(T);
}

// The address of the GDI handle table in the process. A 64-bit process has
// it in its PEB; a 32-bit one under this Wine only in the 64-bit PEB that
// Wine keeps one page below the 32-bit one.
std::uintptr_t GdiTable(HANDLE process) {
  auto query = reinterpret_cast<QueryFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION info{};
  if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0) return 0;
  const auto peb = reinterpret_cast<std::uintptr_t>(info.PebBaseAddress);
#ifdef _WIN64
  std::uint64_t table = 0;
  return ReadAt(process, peb + 0xF8, &table) ? static_cast<std::uintptr_t>(table) : 0;
#else
  std::uint32_t table32 = 0;
  if (ReadAt(process, peb + 0x94, &table32) && table32) return table32;
  std::uint64_t table64 = 0;
  return ReadAt(process, peb - 0x1000 + 0xF8, &table64) ? static_cast<std::uintptr_t>(table64) : 0;
#endif
}

int CountGdiObjects(HANDLE process) {
  const std::uintptr_t table = GdiTable(process);
  if (!table) return -1;
  std::vector<GdiEntry> entries(kGdiEntries);
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                         entries.size() * sizeof(GdiEntry), &got) ||
      got != entries.size() * sizeof(GdiEntry))
    return -1;
  int n = 0;
  for (const GdiEntry& e : entries) n += e.type != 0 && !(e.unique & 0x80);
  return n;
}

struct WindowSearch {
  DWORD pid;
  int count;
};

BOOL CALLBACK CountChild(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<WindowSearch*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == s->pid) ++s->count;
  return TRUE;
}

BOOL CALLBACK CountTop(HWND hwnd, LPARAM lp) {
  CountChild(hwnd, lp);
  EnumChildWindows(hwnd, CountChild, lp);
  return TRUE;
}

int CountKernelHandles(HANDLE process) {
  int n = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                        DUPLICATE_SAME_ACCESS)) {
      ++n;
      CloseHandle(copy);
    }
  }
  return n;
}

}  // namespace

ProcessCounts CountsOf(DWORD pid) {
  ProcessCounts counts;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE, FALSE, pid);
  if (process) {
    counts.gdiObjects = CountGdiObjects(process);
    counts.kernelHandles = CountKernelHandles(process);
    CloseHandle(process);
  }
  WindowSearch search{pid, 0};
  EnumWindows(CountTop, reinterpret_cast<LPARAM>(&search));
  counts.windows = search.count;
  return counts;
}

bool Responds(HWND window, UINT timeoutMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
}

}  // namespace harness

// Process start and document opening.
#include "commands/Processes.h"

#include <shellapi.h>

#include <vector>

#include "toolkit/ScopedWin.h"
#include "toolkit/SystemDll.h"

bool StartProgram(const wchar_t* application, const std::wstring& commandLine) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(application, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  // The new process is not waited for and not kept.
  tk::ScopedHandle process(pi.hProcess);
  tk::ScopedHandle thread(pi.hThread);
  return true;
}

bool OpenDocument(HWND owner, const std::wstring& path) {
  // The shell (and the dozen DLLs it brings) only for this fallback.
  static const auto shellExecute = tk::SystemFunction<decltype(&ShellExecuteW)>("shell32.dll", "ShellExecuteW");
  if (!shellExecute) return false;
  HINSTANCE result = shellExecute(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;  // values up to 32 are error codes
}

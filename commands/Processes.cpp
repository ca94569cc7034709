// Process start and document opening.
#include "commands/Processes.h"

#include <vector>

#include "toolkit/ScopedWin.h"
#include "toolkit/SystemDll.h"

ProcessCalls g_processCalls;

namespace {

// ERROR_ELEVATION_REQUIRED: Windows Vista's and later's refusal of a program
// that needs administrator rights. The headers name it only for Vista on;
// older Windows never answer it.
const DWORD kElevationRequired = 740;

// 0 when the process was created, else the system's error code.
DWORD CreateDetached(const wchar_t* application, const std::wstring& commandLine) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION pi{};
  if (!g_processCalls.createProcess(application, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return GetLastError();
  // The new process is not waited for and not kept.
  tk::ScopedHandle process(pi.hProcess);
  tk::ScopedHandle thread(pi.hThread);
  return 0;
}

}  // namespace

bool StartProgram(const wchar_t* application, const std::wstring& commandLine) {
  return CreateDetached(application, commandLine) == 0;
}

bool StartSetup(HWND owner, const std::wstring& program, const std::wstring& parameters) {
  const DWORD error = CreateDetached(program.c_str(), program + L" " + parameters);
  if (error != kElevationRequired) return error == 0;
  // The shell (and the dozen DLLs it brings) only when a start needs it.
  const auto shellExecuteEx = g_processCalls.shellExecuteEx
                                  ? g_processCalls.shellExecuteEx
                                  : tk::SystemFunction<decltype(&ShellExecuteExW)>("shell32.dll", "ShellExecuteExW");
  if (!shellExecuteEx) return false;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // No error box from the shell: a set-up that cannot start shows nothing.
  // DDEWAIT: the start completes before the call returns, as the menu ends
  // right after it.
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_FLAG_DDEWAIT;
  info.hwnd = owner;
  info.lpVerb = L"open";
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  info.nShow = SW_SHOWNORMAL;
  return shellExecuteEx(&info) != FALSE;  // FALSE with ERROR_CANCELLED: consent declined
}

bool OpenDocument(HWND owner, const std::wstring& path) {
  // The shell (and the dozen DLLs it brings) only for this fallback.
  static const auto shellExecute = tk::SystemFunction<decltype(&ShellExecuteW)>("shell32.dll", "ShellExecuteW");
  if (!shellExecute) return false;
  HINSTANCE result = shellExecute(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;  // values up to 32 are error codes
}

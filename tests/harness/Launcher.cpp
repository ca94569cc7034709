#include "tests/harness/Launcher.h"

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

#include "launcher/frmMain.h"
#include "tests/harness/Desktop.h"

namespace harness {

LauncherProcess::LauncherProcess(const std::string& exePath, const std::string& workingDir) {
  std::string folder = workingDir.empty() ? exePath.substr(0, exePath.find_last_of('\\') + 1) : workingDir;
  std::wstring exe = Wide(exePath.c_str());
  std::wstring cmd = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  // Suspended until it is in the job, so that the job sees every process
  // that it starts. The job does not end them when it closes: set-ups run on.
  job_ = CreateJobObjectW(nullptr, nullptr);
  if (job_ && CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                             Wide(folder.c_str()).c_str(), &si, &pi)) {
    if (AssignProcessToJobObject(job_, pi.hProcess)) {
      process_ = pi.hProcess;
      pid_ = pi.dwProcessId;
      ResumeThread(pi.hThread);
    } else {
      TerminateProcess(pi.hProcess, 98);
      CloseHandle(pi.hProcess);
    }
    CloseHandle(pi.hThread);
  }
}

LauncherProcess::~LauncherProcess() {
  if (job_) CloseHandle(job_);
  if (!process_) return;
  if (Running()) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

int LauncherProcess::ProcessesStarted() const {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
  if (!process_ || !QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &info, sizeof info, nullptr))
    return -1;
  return static_cast<int>(info.TotalProcesses) - 1;  // the launcher itself
}

namespace {
struct Search {
  DWORD pid;
  const char* className;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK FindTop(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<Search*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid) return TRUE;
  if (s->className) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::strcmp(cls, s->className) != 0) return TRUE;
  }
  if (s->visibleOnly && !IsWindowVisible(hwnd)) return TRUE;
  s->found = hwnd;
  return FALSE;
}
}  // namespace

HWND TopLevelWindow(DWORD pid, const char* className, bool visibleOnly) {
  Search s{pid, className, visibleOnly, nullptr};
  EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND LauncherProcess::WaitForMainWindow(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (process_ && GetTickCount() - start < timeoutMs) {
    if (HWND found = TopLevelWindow(pid_, "KorvaneForm", true)) {
      window_ = found;
      WaitUntilOnScreen();
      return window_;
    }
    if (!Running()) break;
    Sleep(20);
  }
  return nullptr;
}

// This Wine shows what a program painted when the program next looks at its
// messages, some time after the paint: the window is on the screen when the
// header (white) and the panel (never black) are, and stays black till then.
void LauncherProcess::WaitUntilOnScreen() const {
  const Screen screen;
  DWORD start = GetTickCount();
  for (;;) {
    POINT header{2, 2}, panel{300, 200};
    ClientToScreen(window_, &header);
    ClientToScreen(window_, &panel);
    if (screen.Pixel(header) != 0 && screen.Pixel(panel) != 0) break;
    if (GetTickCount() - start > 10000) {
      ADD_FAILURE() << "the launcher's window did not reach the screen in 10 s";
      break;
    }
    Sleep(10);
  }
  Sleep(30);
}

int ControlIdOf(const std::string& name) {
  static const struct {
    const char* name;
    int id;
  } kSingles[] = {{"picHeader", frmMain::kIdHeader},
                  {"picBalken", frmMain::kIdBalken},
                  {"picMend", frmMain::kIdMend},
                  {"picMexplain", frmMain::kIdMexplain}};
  for (const auto& s : kSingles)
    if (name == s.name) return s.id;
  static const struct {
    const char* prefix;
    int base, first, last;
  } kArrays[] = {{"picM(", frmMain::kIdM, 1, 4}, {"picMB(", frmMain::kIdMB, 1, 4}, {"picMex(", frmMain::kIdMex, 0, 4}};
  for (const auto& a : kArrays) {
    const std::string prefix = a.prefix;
    if (name.size() != prefix.size() + 2 || name.compare(0, prefix.size(), prefix) != 0 || name.back() != ')') continue;
    const int index = name[prefix.size()] - '0';
    if (index >= a.first && index <= a.last) return a.base + index;
  }
  return 0;
}

HWND LauncherProcess::Control(const std::string& name) const { return GetDlgItem(window_, ControlIdOf(name)); }

POINT LauncherProcess::ScreenPoint(int clientX, int clientY) const {
  POINT p{clientX, clientY};
  ClientToScreen(window_, &p);
  return p;
}

POINT LauncherProcess::ScreenPoint(const std::string& control, int x, int y) const {
  POINT p{x, y};
  ClientToScreen(Control(control), &p);
  return p;
}

bool LauncherProcess::WaitForExit(DWORD timeoutMs) {
  return process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

bool LauncherProcess::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

DWORD LauncherProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

int ExpectedLanguageIndex() {
  const char* lc = std::getenv("LC_ALL");
  std::string locale = lc ? lc : "";
  struct {
    const char* prefix;
    int index;
  } table[] = {
      {"de_DE", 0}, {"en_US", 1}, {"fr_FR", 2}, {"it_IT", 3}, {"es_ES_tradnl", 4},
  };
  for (const auto& row : table)
    if (locale.rfind(row.prefix, 0) == 0) return row.index;
  return 1;  // every other system language gets English
}

}  // namespace harness

// Drives the real launcher: starts Korvane6Menu.exe as its own process, finds
// its window and controls, and waits for it to end.
#pragma once
#include <windows.h>

#include <string>

namespace harness {

class LauncherProcess {
 public:
  // Starts the program; its working directory is the program's folder
  // unless another is given.
  explicit LauncherProcess(const std::string& exePath, const std::string& workingDir = "");
  ~LauncherProcess();  // ends the process if it still runs
  LauncherProcess(const LauncherProcess&) = delete;
  LauncherProcess& operator=(const LauncherProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Pid() const { return pid_; }
  HANDLE Handle() const { return process_; }

  // The visible main window, or nullptr when none appeared in time.
  HWND WaitForMainWindow(DWORD timeoutMs = 15000);
  HWND Window() const { return window_; }
  // A picture box of the main window by its name, e.g. "picM(2)".
  HWND Control(const std::string& name) const;
  // A point given in client pixels of the main window, or of a control, on the screen.
  POINT ScreenPoint(int clientX, int clientY) const;
  POINT ScreenPoint(const std::string& control, int x, int y) const;

  bool WaitForExit(DWORD timeoutMs);
  bool Running() const;
  DWORD ExitCode() const;
  // The processes that the launcher and those it started have started so
  // far: exact, from the job object that holds them all. Once the launcher
  // has ended, or has answered an input given after a click, nothing of that
  // click can add to it. -1 when the job cannot say.
  int ProcessesStarted() const;

 private:
  void WaitUntilOnScreen() const;
  HANDLE job_ = nullptr;
  HANDLE process_ = nullptr;
  DWORD pid_ = 0;
  HWND window_ = nullptr;
};

// The control id of the main window's picture box of that name ("picHeader",
// "picM(2)", "picMex(0)", ...); 0 for a name the window does not have.
int ControlIdOf(const std::string& name);

// The first top-level window of the process, in the order EnumWindows gives
// them (only of that class, and only a visible one, when asked); nullptr
// when it has none.
HWND TopLevelWindow(DWORD pid, const char* className = nullptr, bool visibleOnly = false);

// The language index that the launcher should pick under this test's LC_ALL
// (0 German, 1 English, 2 French, 3 Italian, 4 Spanish).
int ExpectedLanguageIndex();

}  // namespace harness

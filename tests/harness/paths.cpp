#include "tests/harness/paths.h"

#include <windows.h>

namespace harness {

std::string BuildDir() {
  char buf[MAX_PATH * 2] = {};
  DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  std::string path(buf, n);
  // <build>\tests\bin\x.exe -> <build>\ ; strip three components.
  for (int i = 0; i < 3; ++i) path.erase(path.find_last_of("\\/"));
  return path + "\\";
}

std::string BuildPath(const std::string& relative) { return BuildDir() + relative; }

std::string LauncherExe() { return BuildPath("bin\\Korvane6Menu.exe"); }

}  // namespace harness

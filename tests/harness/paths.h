// Where the test programs find the built executables: tests live in
// <build>/tests/bin, the launcher in <build>/bin.
#pragma once
#include <string>

namespace harness {

// The build tree's root as a Windows path, with a trailing backslash.
std::string BuildDir();

// BuildDir() + relative, e.g. BuildPath("bin\\Korvane6Menu.exe").
std::string BuildPath(const std::string& relative);

// The launcher executable of this build.
std::string LauncherExe();

}  // namespace harness

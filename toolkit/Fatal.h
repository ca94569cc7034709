// Unrecoverable run-time errors. No exception may leave a window procedure:
// the i686 build unwinds with DWARF tables, which cannot cross the system's
// frames, so one that tried would end the program in std::terminate. Each
// window procedure of the program runs its work through Guarded() instead,
// which turns whatever escapes into the report that a load failure gets.
#pragma once
#include <windows.h>

#include <exception>
#include <string>

namespace tk {

// Hides the program's windows, shows the error in a message box (title
// "Korvane6Menu", OK, error icon) and ends the process with exit code 1.
[[noreturn]] void FatalError(const std::string& text);

// Runs one message's handling and returns its result; an exception that
// comes out of it is a fatal error.
template <typename Body>
LRESULT Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::exception& e) {
    FatalError(std::string("Run-time error:\n") + e.what());
  } catch (...) {
    FatalError("Run-time error:\nan unknown exception");
  }
}

}  // namespace tk

// Where a helper that makes assertions was called from. Such a helper takes
// a CallSite as its last parameter, defaulted to CallSite::Here(), and opens
//   const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
// so that its failures name the calling line as well as its own. The
// default is filled in at each call: GCC's and Clang's __builtin_FILE and
// __builtin_LINE, which std::source_location wraps from C++20 on.
#pragma once

namespace harness {

struct CallSite {
  const char* file;
  int line;
  static CallSite Here(const char* file = __builtin_FILE(), int line = __builtin_LINE()) { return {file, line}; }
};

}  // namespace harness

// Edits the resource directory of a copied executable in place, for tests
// that need a program with a resource missing. (This Wine's
// UpdateResource reports success but leaves the file unchanged.)
#pragma once
#include <string>

namespace harness {

// Gives the resource of numeric type `type` and identifier `id` the new
// identifier `newId`, so look-ups of `id` fail. False when not found.
bool RenumberResource(const std::string& exePath, int type, int id, int newId);
// The same for a resource of a named type, such as L"WAV".
bool RenumberResource(const std::string& exePath, const wchar_t* type, int id, int newId);

}  // namespace harness

// Reads resources straight from a built executable, to compare what the
// program shows or plays with what it carries.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace harness {

// The raw bytes of resource `id` of `type` in `exe`; empty when missing.
std::vector<unsigned char> ExeResourceBytes(const std::string& exe, int id, const char* type);

// Bitmap `bitmapId` of `exe` as a DIB section, or nullptr when it is missing.
// The caller deletes it.
HBITMAP ExeBitmap(const std::string& exe, int bitmapId);

// Compares a grid of screen pixels (every stepX-th column, stepY-th row of a
// width x height area from screenOrigin) with bitmap `bitmapId` of `exe`.
// Returns how many sampled points differ (-1 when the bitmap is missing); the
// first difference is described in *firstDiff when given.
int BitmapDifferences(const std::string& exe, int bitmapId, POINT screenOrigin, int width, int height, int stepX = 9,
                      int stepY = 7, std::string* firstDiff = nullptr);

}  // namespace harness

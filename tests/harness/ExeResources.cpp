#include "tests/harness/ExeResources.h"

#include <cstdio>

#include "tests/harness/Desktop.h"

namespace harness {

namespace {
HMODULE OpenAsData(const std::string& exe) {
  return LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}
}  // namespace

std::vector<unsigned char> ExeResourceBytes(const std::string& exe, int id, const char* type) {
  std::vector<unsigned char> bytes;
  HMODULE module = OpenAsData(exe);
  if (!module) return bytes;
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (HGLOBAL global = res ? LoadResource(module, res) : nullptr) {
    const auto* data = static_cast<const unsigned char*>(LockResource(global));
    bytes.assign(data, data + SizeofResource(module, res));
  }
  FreeLibrary(module);
  return bytes;
}

HBITMAP ExeBitmap(const std::string& exe, int bitmapId) {
  HMODULE module = OpenAsData(exe);
  if (!module) return nullptr;
  auto bmp =
      static_cast<HBITMAP>(LoadImageA(module, MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  FreeLibrary(module);
  return bmp;
}

int BitmapDifferences(const std::string& exe, int bitmapId, POINT screenOrigin, int width, int height, int stepX,
                      int stepY, std::string* firstDiff) {
  HBITMAP bmp = ExeBitmap(exe, bitmapId);
  if (!bmp) return -1;
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  const Screen screen;
  int differ = 0;
  for (int y = 1; y < height; y += stepY) {
    for (int x = 1; x < width; x += stepX) {
      COLORREF want = GetPixel(mem, x, y);
      COLORREF got = screen.Pixel(POINT{screenOrigin.x + x, screenOrigin.y + y});
      if (want != got && differ++ == 0 && firstDiff) {
        char text[128];
        std::snprintf(text, sizeof text, "at (%d,%d): bitmap %06lX, screen %06lX", x, y, want, got);
        *firstDiff = text;
      }
    }
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  return differ;
}

}  // namespace harness

#include "toolkit/Resources.h"

#include <string>

namespace tk {

namespace {
HMODULE g_module = nullptr;
}

void SetResourceModule(HMODULE module) { g_module = module; }
HMODULE ResourceModule() { return g_module ? g_module : GetModuleHandleA(nullptr); }

namespace {
// Where the bits start: after the header and the colour table (or the three
// masks of BI_BITFIELDS).
const void* BitsOf(const BITMAPINFO* info) {
  const BITMAPINFOHEADER& h = info->bmiHeader;
  DWORD colours = h.biClrUsed;
  if (colours == 0 && h.biBitCount <= 8) colours = 1u << h.biBitCount;
  DWORD masks = h.biCompression == BI_BITFIELDS && h.biSize == sizeof(BITMAPINFOHEADER) ? 3 : 0;
  return reinterpret_cast<const BYTE*>(info) + h.biSize + (colours + masks) * sizeof(RGBQUAD);
}
}  // namespace

Picture::Picture(const BITMAPINFO* info)
    : info_(info),
      bits_(BitsOf(info)),
      width_(info->bmiHeader.biWidth),
      height_(info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight) {}

void Picture::Draw(HDC dc, int x, int y) const {
  SetDIBitsToDevice(dc, x, y, static_cast<DWORD>(width_), static_cast<DWORD>(height_), 0, 0, 0,
                    static_cast<UINT>(height_), bits_, info_, DIB_RGB_COLORS);
}

std::wstring LoadResString(int id) {
  const wchar_t* text = nullptr;
  // With a zero buffer size LoadStringW hands out a pointer into the resource
  // itself, so strings of any length come back whole.
  int n = LoadStringW(ResourceModule(), static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0);
  if (n <= 0 || !text) throw ResourceError("string resource " + std::to_string(id) + " is missing");
  return std::wstring(text, static_cast<size_t>(n));
}

std::shared_ptr<Picture> LoadResPicture(int id) {
  HMODULE module = ResourceModule();
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
  HGLOBAL global = res ? LoadResource(module, res) : nullptr;
  const auto* info = global ? static_cast<const BITMAPINFO*>(LockResource(global)) : nullptr;
  // A resource too small for its own header is as good as missing.
  if (!info || SizeofResource(module, res) < sizeof(BITMAPINFOHEADER) ||
      info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
    throw ResourceError("bitmap resource " + std::to_string(id) + " is missing");
  return std::make_shared<Picture>(info);
}

std::vector<unsigned char> LoadResData(int id, const char* type) {
  HMODULE module = ResourceModule();
  HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(id), type);
  HGLOBAL global = res ? LoadResource(module, res) : nullptr;
  const void* data = global ? LockResource(global) : nullptr;
  if (!data) throw ResourceError(std::string(type) + " resource " + std::to_string(id) + " is missing");
  const auto* bytes = static_cast<const unsigned char*>(data);
  return std::vector<unsigned char>(bytes, bytes + SizeofResource(module, res));
}

}  // namespace tk

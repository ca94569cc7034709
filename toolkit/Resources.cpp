#include "toolkit/Resources.h"

#include <string>

namespace tk {

namespace {
HMODULE g_module = nullptr;
}

void SetResourceModule(HMODULE module) { g_module = module; }
HMODULE ResourceModule() { return g_module ? g_module : GetModuleHandleA(nullptr); }

Picture::Picture(HBITMAP bmp) : bmp_(bmp) {
  BITMAP info{};
  if (bmp_ && GetObjectA(bmp_, sizeof info, &info)) {
    width_ = info.bmWidth;
    height_ = info.bmHeight;
  }
}

Picture::~Picture() {
  if (bmp_) DeleteObject(bmp_);
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
  HANDLE bmp = LoadImageA(ResourceModule(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
  if (!bmp) throw ResourceError("bitmap resource " + std::to_string(id) + " is missing");
  return std::make_shared<Picture>(static_cast<HBITMAP>(bmp));
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

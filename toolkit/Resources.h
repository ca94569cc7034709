// Look-ups in the program's own resources, by numeric identifier. A missing
// resource is a fault of the build, so it throws ResourceError.
#pragma once
#include <windows.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tk {

struct ResourceError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A bitmap owned by whoever holds the shared pointer; picture boxes share it.
class Picture {
 public:
  explicit Picture(HBITMAP bmp);
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
  HBITMAP handle() const { return bmp_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  HBITMAP bmp_;
  int width_ = 0;
  int height_ = 0;
};

std::wstring LoadResString(int id);
std::shared_ptr<Picture> LoadResPicture(int id);
std::vector<unsigned char> LoadResData(int id, const char* type);

// The module whose resources are read: the executable unless set otherwise.
void SetResourceModule(HMODULE module);
HMODULE ResourceModule();

}  // namespace tk

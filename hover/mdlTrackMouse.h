// The process-wide side of mouse tracking: the registry of trackers keyed by
// window handle, and the one window procedure that every tracked control gets.
#pragma once
#include <windows.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class clsTrackMouse;

namespace mdlTrackMouse {

// A window that is tracked already: one window, one tracker.
struct DuplicateKeyError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// "TM" followed by the handle as a signed 32-bit decimal number ("TM1312").
std::string TrackerKey(HWND hwnd);

// The trackers that are tracking, by key. It only refers to them: whoever
// created a tracker keeps it alive, and a tracker removes its own entry when
// it stops.
class TrackerRegistry {
 public:
  // Throws DuplicateKeyError when the key is taken by a live tracker.
  void Add(const std::string& key, std::weak_ptr<clsTrackMouse> tracker);
  // Throws std::out_of_range when the key is not there.
  void Remove(const std::string& key);
  // The tracker under the key, or null.
  std::shared_ptr<clsTrackMouse> Item(const std::string& key) const;
  std::vector<std::string> Keys() const;

 private:
  std::map<std::string, std::weak_ptr<clsTrackMouse>> items_;
};

// The registry, created on first use; it lives as long as the process.
TrackerRegistry& Trackers();

// Installed as the window procedure of every tracked control.
LRESULT CALLBACK WindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

}  // namespace mdlTrackMouse

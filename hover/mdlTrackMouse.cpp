#include "hover/mdlTrackMouse.h"

#include <cstdint>

#include "hover/clsTrackMouse.h"
#include "toolkit/Fatal.h"

namespace mdlTrackMouse {

std::string TrackerKey(HWND hwnd) {
  // Window handles are 32-bit values even in a 64-bit process; the key uses
  // their signed form, as a 32-bit program would see them.
  auto bits = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hwnd));
  return "TM" + std::to_string(static_cast<std::int32_t>(bits));
}

void TrackerRegistry::Add(const std::string& key, std::weak_ptr<clsTrackMouse> tracker) {
  auto it = items_.find(key);
  // An expired entry is one whose tracker was destroyed after its window was
  // gone, so it could not work out its key to remove it. Its handle value may
  // come back for a new window; the dead entry must not block that window.
  if (it != items_.end() && !it->second.expired())
    throw DuplicateKeyError("this key is already associated with a tracker: " + key);
  items_[key] = std::move(tracker);
}

void TrackerRegistry::Remove(const std::string& key) {
  if (items_.erase(key) == 0) throw std::out_of_range("no tracker under the key " + key);
}

std::shared_ptr<clsTrackMouse> TrackerRegistry::Item(const std::string& key) const {
  auto it = items_.find(key);
  return it == items_.end() ? nullptr : it->second.lock();
}

std::vector<std::string> TrackerRegistry::Keys() const {
  std::vector<std::string> keys;
  for (const auto& item : items_) keys.push_back(item.first);
  return keys;
}

TrackerRegistry& Trackers() {
  static TrackerRegistry registry;
  return registry;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  // Our own strong reference for the whole call: during WM_MOUSEMOVE the
  // entry is removed and added again, and an event handler may release the
  // tracker's last outside reference (a click on Exit unloads the window
  // while this very call is on the stack). The tracker dies, and unhooks
  // the control, only when this call has returned.
  std::shared_ptr<clsTrackMouse> tracker = Trackers().Item(TrackerKey(hwnd));
  // Cannot happen while the registry's invariant holds; if it does, the
  // window still gets the default handling rather than none.
  if (!tracker) return DefWindowProcA(hwnd, uMsg, wParam, lParam);
  // The event handlers run in here; what they throw must not cross the system's frames.
  return tk::Guarded([&] { return tracker->HandleMessage(uMsg, wParam, lParam); });
}

}  // namespace mdlTrackMouse

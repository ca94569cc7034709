#include "hover/clsTrackMouse.h"

#include "hover/mdlTrackMouse.h"

using mdlTrackMouse::TrackerKey;
using mdlTrackMouse::Trackers;

clsTrackMouse::~clsTrackMouse() { SetTrackObject(nullptr); }

// The handle is read from the object every time, never kept: the object is
// the authority on which window it is.
HWND clsTrackMouse::ReadHwnd() const {
  HWND h = object_ ? object_->hwnd() : nullptr;
  if (!h) throw NoWindowError("the tracked object has no window");
  return h;
}

void clsTrackMouse::StartTracking() {
  if (!object_) return;
  if (tracking_) StopTracking();
  HWND h = ReadHwnd();
  std::weak_ptr<clsTrackMouse> self = weak_from_this();
  if (self.expired()) throw std::logic_error("clsTrackMouse must be owned by a std::shared_ptr");
  // The entry goes in before the procedure is replaced, so WindowProc always
  // finds the tracker of a window that it is called for.
  Trackers().Add(TrackerKey(h), std::move(self));
  prevWndProc_ = SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&mdlTrackMouse::WindowProc));
  // A 1 ms hover time instead of the system's default: an entry lights up as
  // soon as the pointer stops on it. The result is of no use: a failed
  // request only means no events.
  TRACKMOUSEEVENT request{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, h, 1};
  TrackMouseEvent(&request);
  tracking_ = true;
}

void clsTrackMouse::StopTracking() {
  if (!object_ || !tracking_) return;
  // Each step on its own: a failing one must not keep the others from
  // running, and the caller never hears of it.
  HWND h = nullptr;
  try {
    h = ReadHwnd();
  } catch (const std::exception&) {}
  if (h) SetWindowLongPtrA(h, GWLP_WNDPROC, prevWndProc_);
  try {
    if (h) Trackers().Remove(TrackerKey(h));
  } catch (const std::exception&) {}
  // The pending hover or leave request stays with the system; what it sends
  // later goes to the restored procedure and is not seen here.
  tracking_ = false;
}

void clsTrackMouse::SetTrackObject(tk::Container* object) {
  if (!object) {
    StopTracking();
    object_ = nullptr;
    return;
  }
  if (tracking_) StopTracking();
  object_ = object;
  StartTracking();
}

LRESULT clsTrackMouse::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  // Window and procedure to pass the message to, read before the events: a
  // handler may let go of the object (or stop the tracking), and the message
  // must reach the previous procedure all the same, exactly once.
  const HWND h = object_ ? object_->hwnd() : nullptr;
  const auto previous = reinterpret_cast<WNDPROC>(prevWndProc_);
  switch (uMsg) {
    case WM_MOUSEMOVE:
      // Hover notification is one-shot: every movement asks for the next one.
      // A re-arm cannot fail while each control has one tracker and a window;
      // if it did, the control would simply stay unhooked, and the message
      // still goes on below.
      try {
        StartTracking();
      } catch (const std::exception&) {}
      break;
    case WM_MOUSEHOVER:
      if (MouseOver) MouseOver();
      break;
    case WM_MOUSELEAVE:
      if (MouseOut) MouseOut();
      break;
  }
  return CallWindowProcA(previous, h, uMsg, wParam, lParam);
}

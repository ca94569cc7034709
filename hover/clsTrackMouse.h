// clsTrackMouse: watches one control and turns its window messages into two
// events, MouseOver (the pointer has come to rest on it) and MouseOut (the
// pointer has left it). It subclasses the control's window procedure and asks
// the system for hover and leave notifications.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <stdexcept>

#include "toolkit/Controls.h"

// Must be owned by a std::shared_ptr (std::make_shared): the registry of
// trackers refers to it weakly.
class clsTrackMouse : public std::enable_shared_from_this<clsTrackMouse> {
 public:
  // The tracked object has no window (yet, or any more).
  struct NoWindowError : std::runtime_error {
    using std::runtime_error::runtime_error;
  };

  clsTrackMouse() = default;
  ~clsTrackMouse();  // stops tracking: the control gets its procedure back
  clsTrackMouse(const clsTrackMouse&) = delete;
  clsTrackMouse& operator=(const clsTrackMouse&) = delete;

  // Registers, hooks the control and requests hover and leave notification.
  // Throws mdlTrackMouse::DuplicateKeyError when another tracker has the
  // control, NoWindowError when it has no window; Tracking() stays false.
  void StartTracking();
  // Unhooks and unregisters. Never throws; a step that fails is skipped.
  void StopTracking();

  // Any object that exposes its window handle; nullptr is nothing. Assigning
  // stops the current tracking first and then starts on the new object, so
  // the start's exceptions reach the caller.
  tk::Container* TrackObject() const { return object_; }
  void SetTrackObject(tk::Container* object);

  bool Tracking() const { return tracking_; }
  // The procedure that was installed before this tracker's; meaningful only
  // while Tracking() is true.
  LONG_PTR PrevWndProc() const { return prevWndProc_; }

  // Raised from inside the control's window procedure, before the control's
  // own procedure sees the message.
  std::function<void()> MouseOver;
  std::function<void()> MouseOut;

  // For mdlTrackMouse::WindowProc only: the tracker's share of the window
  // procedure.
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);

 private:
  HWND ReadHwnd() const;

  tk::Container* object_ = nullptr;
  bool tracking_ = false;
  LONG_PTR prevWndProc_ = 0;
};

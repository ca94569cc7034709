// GoogleTest's injection point for a platform's own configuration, found
// before GoogleTest's own empty one. The win32 thread model of the mingw-w64
// compilers (the release's, since the posix one cannot load on Windows XP)
// has no std::mutex or std::condition_variable, which GoogleTest's
// Notification is written with; this one waits on a Win32 event instead.
#ifndef KORVANE_GTEST_CUSTOM_PORT_H_
#define KORVANE_GTEST_CUSTOM_PORT_H_

#include <windows.h>

namespace testing {
namespace internal {

// Lets a controller thread hold new threads back until it notifies them.
class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing

#define GTEST_HAS_NOTIFICATION_ 1

#endif  // KORVANE_GTEST_CUSTOM_PORT_H_

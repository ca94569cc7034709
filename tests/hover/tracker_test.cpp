// clsTrackMouse and mdlTrackMouse with real windows and real messages: the
// registry keys, hooking and unhooking, message pass-through with sentinel
// results, recorded message and event sequences, and the event pattern that
// the real pointer produces.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "hover/clsTrackMouse.h"
#include "hover/mdlTrackMouse.h"
#include "tests/harness/Desktop.h"

namespace {

using mdlTrackMouse::DuplicateKeyError;
using mdlTrackMouse::TrackerKey;
using mdlTrackMouse::Trackers;

// What the control's own procedure saw and what the tracker raised, in one
// sequence: the order shows whether an event came before the control saw
// the message.
enum Kind { kMessage, kOver, kOut };
struct Entry {
  Kind kind;
  HWND hwnd;
  UINT msg;  // for kMessage
  bool operator==(const Entry& o) const { return kind == o.kind && hwnd == o.hwnd && msg == o.msg; }
};
std::vector<Entry> g_log;

// Failure messages name messages, events and windows instead of numbers.
std::string MessageName(UINT msg) {
  switch (msg) {
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_MOUSEHOVER: return "WM_MOUSEHOVER";
    case WM_MOUSELEAVE: return "WM_MOUSELEAVE";
  }
  char text[32];
  if (msg >= WM_APP && msg < 0xC000)
    std::snprintf(text, sizeof text, "WM_APP+%u", msg - WM_APP);
  else if (msg >= WM_USER && msg < WM_APP)
    std::snprintf(text, sizeof text, "WM_USER+%u", msg - WM_USER);
  else
    std::snprintf(text, sizeof text, "message 0x%04X", msg);
  return text;
}

// The test's controls by their window text ("a", "b"); anything else by its handle.
std::string WindowName(HWND h) {
  char text[16] = {};
  if (h && IsWindow(h) && GetWindowTextA(h, text, sizeof text) > 0) return text;
  char handle[32];
  std::snprintf(handle, sizeof handle, "window %p", static_cast<void*>(h));
  return handle;
}

void PrintTo(Kind kind, std::ostream* os) {
  *os << (kind == kOver ? "MouseOver" : kind == kOut ? "MouseOut" : "message");
}

// "MouseOver(a)", "MouseOut(b)", "WM_MOUSEHOVER to a".
void PrintTo(const Entry& e, std::ostream* os) {
  if (e.kind == kMessage) {
    *os << MessageName(e.msg) << " to " << WindowName(e.hwnd);
  } else {
    PrintTo(e.kind, os);
    *os << "(" << WindowName(e.hwnd) << ")";
  }
}

// Messages that the tests send carry this wParam; the control's procedure
// answers them with a sentinel made from the message number.
const WPARAM kProbe = 0x5EED;
LRESULT Sentinel(UINT msg) { return static_cast<LRESULT>(0xDEAD0000u | msg); }

// Set by a test to look at the tracker from inside the control's procedure.
std::weak_ptr<clsTrackMouse> g_watched;
bool g_watchedAliveInProc = false;

bool Interesting(UINT msg) {
  return msg == WM_MOUSEMOVE || msg == WM_MOUSEHOVER || msg == WM_MOUSELEAVE || msg >= WM_USER;
}

LRESULT CALLBACK ControlProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (Interesting(msg)) g_log.push_back({kMessage, h, msg});
  if (wp == kProbe) {
    g_watchedAliveInProc = !g_watched.expired();
    return Sentinel(msg);
  }
  return DefWindowProcA(h, msg, wp, lp);
}

// A tracked object that is nothing but a window.
struct RawWindow : tk::Container {
  HWND h = nullptr;
  HWND hwnd() const override { return h; }
};

LONG_PTR ProcOf(HWND h) { return GetWindowLongPtrA(h, GWLP_WNDPROC); }
const LONG_PTR kWindowProc = reinterpret_cast<LONG_PTR>(&mdlTrackMouse::WindowProc);

void Pump(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

// Moves the real pointer, then lets this thread handle what that caused.
void RestAt(POINT p, DWORD ms = 250) {
  harness::MovePointer(p);
  Pump(ms);
}

const POINT kParkedAway{700, 560};  // on no window of this test

class Tracker : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = ControlProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "TrackerTestControl";
      RegisterClassA(&wc);
      wc.lpfnWndProc = DefWindowProcA;
      wc.lpszClassName = "TrackerTestParent";
      RegisterClassA(&wc);
      registered = true;
    }
    harness::MovePointer(kParkedAway);
    parent_ = CreateWindowExA(0, "TrackerTestParent", "tracker test", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    a_.h = CreateWindowExA(0, "TrackerTestControl", "a", WS_CHILD | WS_VISIBLE, 0, 0, 120, 80, parent_, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    b_.h = CreateWindowExA(0, "TrackerTestControl", "b", WS_CHILD | WS_VISIBLE, 150, 0, 120, 80, parent_, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent_ && a_.h && b_.h);
    origA_ = ProcOf(a_.h);
    origB_ = ProcOf(b_.h);
    Pump(50);
    g_log.clear();
    g_watched.reset();
  }

  void TearDown() override {
    DestroyWindow(parent_);
    Pump(20);
    EXPECT_TRUE(Trackers().Keys().empty()) << "a test left a tracker registered";
  }

  // A tracker whose events are written into the log.
  std::shared_ptr<clsTrackMouse> NewTracker() {
    auto t = std::make_shared<clsTrackMouse>();
    clsTrackMouse* raw = t.get();
    t->MouseOver = [raw] { g_log.push_back({kOver, raw->TrackObject()->hwnd(), 0}); };
    t->MouseOut = [raw] { g_log.push_back({kOut, raw->TrackObject()->hwnd(), 0}); };
    return t;
  }

  // The registry keys the controls must have: "TM" and the handle as a
  // signed 32-bit number, written out here rather than asked of TrackerKey.
  static std::vector<std::string> Keys(std::initializer_list<HWND> windows) {
    std::vector<std::string> keys;
    for (HWND h : windows)
      keys.push_back("TM" + std::to_string(static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(h))));
    std::sort(keys.begin(), keys.end());
    return keys;
  }

  int Count(Kind kind) const {
    int n = 0;
    for (const auto& e : g_log) n += e.kind == kind;
    return n;
  }

  HWND parent_ = nullptr;
  RawWindow a_, b_;
  LONG_PTR origA_ = 0, origB_ = 0;
};

TEST(TrackerKey, IsTMAndTheHandleAsSigned32BitDecimal) {
  struct Case {
    std::uintptr_t handle;
    const char* key;
  } cases[] = {
      {1312, "TM1312"}, {0x7FFFFFFF, "TM2147483647"}, {0x80000000u, "TM-2147483648"}, {0xFFFFFFFEu, "TM-2"}, {0, "TM0"},
  };
  for (const auto& c : cases) EXPECT_EQ(TrackerKey(reinterpret_cast<HWND>(c.handle)), c.key) << c.handle;
}

TEST_F(Tracker, AssigningRegistersOneKeyAndHooksTheControl) {
  auto t = NewTracker();
  EXPECT_FALSE(t->Tracking());
  EXPECT_EQ(t->PrevWndProc(), 0);
  t->SetTrackObject(&a_);
  EXPECT_TRUE(t->Tracking());
  EXPECT_EQ(t->TrackObject(), &a_);
  EXPECT_EQ(Trackers().Keys(), Keys({a_.h}));
  EXPECT_EQ(Trackers().Item(TrackerKey(a_.h)), t);
  EXPECT_EQ(ProcOf(a_.h), kWindowProc);
  EXPECT_EQ(t->PrevWndProc(), origA_);
  t.reset();
}

TEST_F(Tracker, RequestsHoverAfterOneMillisecondAndLeave) {
  // With the pointer on the control the request stays pending and can be read back.
  auto t = NewTracker();
  POINT inside{10, 10};
  ClientToScreen(a_.h, &inside);
  RestAt(inside);
  t->SetTrackObject(&a_);
  TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0xDEADBEEF};
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(query.hwndTrack, a_.h);
  EXPECT_EQ(query.dwFlags & (TME_HOVER | TME_LEAVE), static_cast<DWORD>(TME_HOVER | TME_LEAVE));
  EXPECT_EQ(query.dwHoverTime, 1u);
  t.reset();
  harness::MovePointer(kParkedAway);
  Pump(100);
}

TEST_F(Tracker, AssigningTheSameControlAgainKeepsOneKeyAndThePreviousProcedure) {
  auto t = NewTracker();
  for (int round = 1; round <= 3; ++round) {
    t->SetTrackObject(&a_);
    EXPECT_EQ(Trackers().Keys(), Keys({a_.h})) << "round " << round;
    EXPECT_EQ(t->PrevWndProc(), origA_) << "round " << round << ": chained onto itself";
    EXPECT_EQ(ProcOf(a_.h), kWindowProc);
  }
  t.reset();
  EXPECT_EQ(ProcOf(a_.h), origA_);
}

TEST_F(Tracker, AssigningASecondControlUnhooksTheFirst) {
  auto t = NewTracker();
  t->SetTrackObject(&a_);
  t->SetTrackObject(&b_);
  EXPECT_EQ(ProcOf(a_.h), origA_);
  EXPECT_EQ(ProcOf(b_.h), kWindowProc);
  EXPECT_EQ(t->PrevWndProc(), origB_);
  EXPECT_EQ(Trackers().Keys(), Keys({b_.h}));
  // The first control's messages no longer raise events.
  SendMessageA(a_.h, WM_MOUSEHOVER, kProbe, 0);
  SendMessageA(b_.h, WM_MOUSEHOVER, kProbe, 0);
  std::vector<Entry> expected = {{kMessage, a_.h, WM_MOUSEHOVER}, {kOver, b_.h, 0}, {kMessage, b_.h, WM_MOUSEHOVER}};
  EXPECT_EQ(g_log, expected);
  t.reset();
}

// Nothing, or a second stop, must not touch a window procedure: whatever
// another party installed after the tracker stopped stays installed.
TEST_F(Tracker, NothingAndRepeatedStopsChangeNoProcedure) {
  struct Case {
    const char* what;
    void (*act)(clsTrackMouse&);
  } cases[] = {
      {"StopTracking twice", [](clsTrackMouse& t) { t.StopTracking(); }},
      {"nothing assigned while holding", [](clsTrackMouse& t) { t.SetTrackObject(nullptr); }},
      {"nothing assigned twice",
       [](clsTrackMouse& t) {
         t.SetTrackObject(nullptr);
         t.SetTrackObject(nullptr);
       }},
  };
  for (const auto& c : cases) {
    auto t = NewTracker();
    t->SetTrackObject(&a_);
    t->StopTracking();
    EXPECT_FALSE(t->Tracking()) << c.what;
    EXPECT_EQ(ProcOf(a_.h), origA_) << c.what;
    EXPECT_TRUE(Trackers().Keys().empty()) << c.what;
    LONG_PTR other = reinterpret_cast<LONG_PTR>(&DefWindowProcA);
    SetWindowLongPtrA(a_.h, GWLP_WNDPROC, other);
    c.act(*t);
    EXPECT_EQ(ProcOf(a_.h), other) << c.what;
    EXPECT_FALSE(t->Tracking()) << c.what;
    SetWindowLongPtrA(a_.h, GWLP_WNDPROC, origA_);
  }
}

TEST_F(Tracker, ASecondTrackerOnTheSameControlFailsAndTheFirstKeepsWorking) {
  auto first = NewTracker();
  auto second = NewTracker();
  first->SetTrackObject(&a_);
  EXPECT_THROW(second->SetTrackObject(&a_), DuplicateKeyError);
  EXPECT_FALSE(second->Tracking());
  EXPECT_EQ(second->TrackObject(), &a_) << "holding the object after the failed start";
  EXPECT_EQ(Trackers().Item(TrackerKey(a_.h)), first);
  EXPECT_EQ(ProcOf(a_.h), kWindowProc);
  EXPECT_EQ(first->PrevWndProc(), origA_);

  int secondEvents = 0;
  second->MouseOver = second->MouseOut = [&secondEvents] { ++secondEvents; };
  EXPECT_EQ(SendMessageA(a_.h, WM_MOUSEHOVER, kProbe, 0), Sentinel(WM_MOUSEHOVER));
  std::vector<Entry> expected = {{kOver, a_.h, 0}, {kMessage, a_.h, WM_MOUSEHOVER}};
  EXPECT_EQ(g_log, expected);
  EXPECT_EQ(secondEvents, 0);

  // Letting go of the failed one leaves the first one's hook and entry alone.
  second.reset();
  EXPECT_EQ(ProcOf(a_.h), kWindowProc);
  EXPECT_EQ(Trackers().Item(TrackerKey(a_.h)), first);
  first.reset();
  EXPECT_EQ(ProcOf(a_.h), origA_);
}

TEST_F(Tracker, ReleasingRestoresTheProcedureAndRemovesTheEntry) {
  auto t = NewTracker();
  t->SetTrackObject(&a_);
  std::weak_ptr<clsTrackMouse> weak = t;
  t.reset();
  EXPECT_TRUE(weak.expired()) << "the registry must not keep a tracker alive";
  EXPECT_EQ(ProcOf(a_.h), origA_);
  EXPECT_TRUE(Trackers().Keys().empty());
  for (UINT msg : {WM_MOUSEMOVE, WM_MOUSEHOVER, WM_MOUSELEAVE})
    EXPECT_EQ(SendMessageA(a_.h, msg, kProbe, 0), Sentinel(msg));
  std::vector<Entry> expected = {
      {kMessage, a_.h, WM_MOUSEMOVE}, {kMessage, a_.h, WM_MOUSEHOVER}, {kMessage, a_.h, WM_MOUSELEAVE}};
  EXPECT_EQ(g_log, expected);
}

// Every message reaches the control's own procedure exactly once, after the
// tracker's event, and its result comes back unchanged.
TEST_F(Tracker, EveryMessagePassesOnOnceWithItsResult) {
  struct Case {
    UINT msg;
    std::vector<Kind> sequence;
  } cases[] = {
      {WM_MOUSEMOVE, {kMessage}},         {WM_MOUSEHOVER, {kOver, kMessage}}, {WM_MOUSELEAVE, {kOut, kMessage}},
      {WM_USER + 7, {kMessage}},          {WM_MOUSEMOVE, {kMessage}},  // after a re-arm as well
      {WM_MOUSEHOVER, {kOver, kMessage}}, {WM_APP + 1, {kMessage}},
  };
  auto t = NewTracker();
  t->SetTrackObject(&a_);
  Pump(100);  // the leave that arming away from the pointer brings
  for (const auto& c : cases) {
    g_log.clear();
    LRESULT result = SendMessageA(a_.h, c.msg, kProbe, 0);
    EXPECT_EQ(result, Sentinel(c.msg)) << MessageName(c.msg);
    std::vector<Entry> expected;
    for (Kind k : c.sequence) expected.push_back({k, a_.h, k == kMessage ? c.msg : 0});
    EXPECT_EQ(g_log, expected) << MessageName(c.msg);
    EXPECT_TRUE(t->Tracking());
    EXPECT_EQ(t->PrevWndProc(), origA_) << MessageName(c.msg);
    EXPECT_EQ(ProcOf(a_.h), kWindowProc);
    EXPECT_EQ(Trackers().Keys(), Keys({a_.h}));
    Pump(30);
  }
  t.reset();
}

// The window's owner may release the tracker from inside its own event (a
// click on Exit unloads the window from within the control's procedure).
// The tracker must live until that message is through.
TEST_F(Tracker, ReleasedFromInsideItsOwnEventLivesUntilTheMessageIsThrough) {
  auto owner = std::make_shared<std::shared_ptr<clsTrackMouse>>(NewTracker());
  (*owner)->MouseOver = [owner] { owner->reset(); };
  g_watched = *owner;
  (*owner)->SetTrackObject(&a_);
  Pump(100);
  g_log.clear();
  g_watchedAliveInProc = false;
  EXPECT_EQ(SendMessageA(a_.h, WM_MOUSEHOVER, kProbe, 0), Sentinel(WM_MOUSEHOVER));
  EXPECT_TRUE(g_watchedAliveInProc) << "destroyed while its message was still on its way";
  EXPECT_TRUE(g_watched.expired()) << "not destroyed when the message was through";
  EXPECT_EQ(ProcOf(a_.h), origA_);
  EXPECT_TRUE(Trackers().Keys().empty());
  std::vector<Entry> expected = {{kMessage, a_.h, WM_MOUSEHOVER}};
  EXPECT_EQ(g_log, expected);
}

// A handler may let go of the tracked control inside its own event, or
// hand the tracker another control: the message on its way still reaches
// the control it was sent to, exactly once, and its result comes back.
TEST_F(Tracker, LettingGoOfTheControlInsideAnEventStillPassesTheMessageOn) {
  struct Case {
    const char* what;
    tk::Container* next;  // what the handler assigns
  } cases[] = {{"nothing assigned", nullptr}, {"another control assigned", &b_}};
  for (const auto& c : cases) {
    auto t = NewTracker();
    clsTrackMouse* raw = t.get();
    tk::Container* next = c.next;
    t->MouseOver = [raw, next] {
      g_log.push_back({kOver, raw->TrackObject()->hwnd(), 0});
      raw->SetTrackObject(next);
    };
    t->SetTrackObject(&a_);
    Pump(100);
    g_log.clear();
    EXPECT_EQ(SendMessageA(a_.h, WM_MOUSEHOVER, kProbe, 0), Sentinel(WM_MOUSEHOVER)) << c.what;
    std::vector<Entry> expected = {{kOver, a_.h, 0}, {kMessage, a_.h, WM_MOUSEHOVER}};
    EXPECT_EQ(g_log, expected) << c.what;
    EXPECT_EQ(ProcOf(a_.h), origA_) << c.what;
    t.reset();
    EXPECT_EQ(ProcOf(b_.h), origB_) << c.what;
    Pump(30);
  }
}

// ---- The real pointer ----------------------------------------------------------

// A pointer that only passes over a control: armed while the pointer is on
// it, and left before any message of this thread is handled, so the 1 ms
// hover request never sees it at rest. The control gets one MouseOut, then
// its WM_MOUSELEAVE, and no MouseOver. (Arming with the pointer already
// away is answered by Windows with an immediate leave; Wine 8 drops such a
// request, so that case cannot be shown here.)
TEST_F(Tracker, PassingOverWithoutRestRaisesOneMouseOutAndNoMouseOver) {
  POINT inside{60, 40};
  ClientToScreen(a_.h, &inside);
  RestAt(inside);
  auto t = NewTracker();
  g_log.clear();
  t->SetTrackObject(&a_);
  harness::JumpPointer(kParkedAway);
  Pump(500);
  std::vector<Entry> expected = {{kOut, a_.h, 0}, {kMessage, a_.h, WM_MOUSELEAVE}};
  EXPECT_EQ(g_log, expected);
  t.reset();
}

TEST_F(Tracker, EveryRestGivesMouseOverAndLeavingOneMouseOut) {
  auto t = NewTracker();
  t->SetTrackObject(&a_);
  Pump(200);
  g_log.clear();
  const POINT rests[] = {{10, 10}, {60, 40}, {100, 70}};
  for (POINT p : rests) {
    ClientToScreen(a_.h, &p);
    RestAt(p);
  }
  RestAt(kParkedAway, 300);

  SCOPED_TRACE("recorded: " + ::testing::PrintToString(g_log));
  std::vector<Kind> events;
  for (const auto& e : g_log)
    if (e.kind != kMessage) events.push_back(e.kind);
  EXPECT_GE(Count(kOver), 3) << "one MouseOver per rest";
  EXPECT_EQ(Count(kOut), 1);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), kOut) << "MouseOut comes last";
  EXPECT_EQ(events.front(), kOver);
  // Each event before the control saw its message.
  for (size_t i = 0; i < g_log.size(); ++i) {
    if (g_log[i].kind == kMessage) continue;
    ASSERT_LT(i + 1, g_log.size());
    EXPECT_EQ(g_log[i + 1].kind, kMessage);
    EXPECT_EQ(MessageName(g_log[i + 1].msg), MessageName(g_log[i].kind == kOver ? WM_MOUSEHOVER : WM_MOUSELEAVE));
  }
  t.reset();
}

}  // namespace

#include "tests/harness/PaintCounter.h"

namespace harness {

namespace {
// One counter at a time: the window procedure finds its state here.
std::map<HWND, WNDPROC> g_next;
std::map<HWND, int> g_paints;

LRESULT CALLBACK Counting(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_PAINT) ++g_paints[hwnd];
  return CallWindowProcA(g_next[hwnd], hwnd, msg, wp, lp);
}
}  // namespace

PaintCounter::PaintCounter(const std::vector<HWND>& windows) {
  for (HWND h : windows)
    g_next[h] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Counting)));
  Reset();
}

PaintCounter::~PaintCounter() {
  for (const auto& window : g_next)
    SetWindowLongPtrA(window.first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(window.second));
  g_next.clear();
  g_paints.clear();
}

int PaintCounter::Paints(HWND window) const {
  auto it = g_paints.find(window);
  return it == g_paints.end() ? 0 : it->second;
}

int PaintCounter::Total() const {
  int n = 0;
  for (const auto& window : g_paints) n += window.second;
  return n;
}

void PaintCounter::Reset() { g_paints.clear(); }

}  // namespace harness

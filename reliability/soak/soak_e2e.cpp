// The menu under long use, measured from outside: thousands of random
// pointer moves over and around the window, and a storm of Help clicks. At
// every thousandth move (and before and after) the program's GDI objects,
// windows, kernel handles and working set are sampled, and it must answer
// WM_NULL within a second. Each sample is printed as one "sample ..." line,
// which scripts/reliability.sh collects for RELIABILITY.md.
//   KORVANE_SOAK_MOVES   moves of the soak (default 1000; the report makes 10,000)
//   KORVANE_STORM_CLICKS Help clicks of the storm (default 100; the report makes 200)
//   KORVANE_SEED         the random walk's seed (default 20261209)
#include <windows.h>
#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>

#include "tests/commands/E2e.h"
#include "tests/harness/CallSite.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/ProcessCounts.h"

using namespace harness;

namespace {

int Setting(const char* name, int fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::atoi(text) : fallback;
}

struct Sample {
  ProcessCounts counts;
  SIZE_T workingSetKiB = 0;
  bool responds = false;
};

Sample Take(const LauncherProcess& app) {
  Sample s;
  // Asked first: the answer comes once the menu is back at its messages, so
  // a synchronous sound has ended and released the audio stack's handles.
  s.responds = Responds(app.Window());
  s.counts = CountsOf(app.Pid());
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, app.Pid());
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (process && GetProcessMemoryInfo(process, &memory, sizeof memory)) s.workingSetKiB = memory.WorkingSetSize / 1024;
  if (process) CloseHandle(process);
  return s;
}

void Print(const char* what, int step, const Sample& s) {
  std::printf("sample %s %d gdi %d windows %d handles %d ws_kib %lu responds %d\n", what, step, s.counts.gdiObjects,
              s.counts.windows, s.counts.kernelHandles, static_cast<unsigned long>(s.workingSetKiB), s.responds);
  std::fflush(stdout);
}

// The same counts as the first sample, give or take two, and answering.
void ExpectFlat(const Sample& first, const Sample& now, const std::string& when,
                harness::CallSite at = harness::CallSite::Here()) {
  const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
  // A probe that fails reads -1, which must not pass for a count.
  for (const Sample* s : {&first, &now}) {
    ASSERT_GE(s->counts.gdiObjects, 0) << when << ": GDI objects could not be counted";
    ASSERT_GE(s->counts.windows, 0) << when << ": windows could not be counted";
    ASSERT_GE(s->counts.kernelHandles, 0) << when << ": kernel handles could not be counted";
  }
  EXPECT_TRUE(now.responds) << when << ": no answer to WM_NULL within 1 s";
  EXPECT_NEAR(now.counts.gdiObjects, first.counts.gdiObjects, 2) << when << ": GDI objects";
  EXPECT_NEAR(now.counts.windows, first.counts.windows, 2) << when << ": windows";
  EXPECT_NEAR(now.counts.kernelHandles, first.counts.kernelHandles, 2) << when << ": kernel handles";
}

// A sample once the counts are back within two of the first: the audio
// stack lets go of its handles a moment after a sound has ended. A leak stays
// above, and the last sample, taken after 3 s, shows it.
Sample Settled(const LauncherProcess& app, const Sample& first) {
  auto flat = [&first](const Sample& s) {
    return std::abs(s.counts.gdiObjects - first.counts.gdiObjects) <= 2 &&
           std::abs(s.counts.windows - first.counts.windows) <= 2 &&
           std::abs(s.counts.kernelHandles - first.counts.kernelHandles) <= 2;
  };
  Sample now = Take(app);
  WaitUntil([&] { return flat(now = Take(app)); }, 3000);
  return now;
}

class LongUse : public ::testing::Test {
 protected:
  void SetUp() override {
    e2e::GoodMachine(seed_);
    ASSERT_TRUE(seed_.Ok()) << seed_.Failure();
    JumpPointer({5, 5});
    launcher_ = std::make_unique<LauncherProcess>(cd_.Launcher());
    ASSERT_NE(app().WaitForMainWindow(), nullptr);
    // The first sound loads the audio stack once (handles and memory step
    // up then, and stay): the baseline is taken after it.
    RestPointer(app().ScreenPoint("picM(1)", 40, 14), 400);
    RestPointer(app().ScreenPoint("picMexplain", 100, 100), 200);
  }
  LauncherProcess& app() { return *launcher_; }
  RegistrySeed seed_;
  CdFolder cd_{"long use", CdLayout{true, true, true, true}};
  std::unique_ptr<LauncherProcess> launcher_;  // started once the machine is seeded
};

// Where a move goes: the entries (and their strips), the bar, the filler,
// the panel, the header or outside the window, in client pixels.
struct Area {
  int left, top, right, bottom;
};
const Area kAreas[] = {
    {0, 93, 180, 209},      // entries and strips
    {0, 87, 478, 93},       // bar
    {0, 209, 180, 322},     // filler
    {180, 93, 478, 322},    // panel
    {0, 0, 473, 81},        // header
    {-120, -60, -10, 400},  // outside, left
};

TEST_F(LongUse, RandomPointerMovesLeakNothing) {
  const int moves = Setting("KORVANE_SOAK_MOVES", 1000);
  std::mt19937 random(static_cast<unsigned>(Setting("KORVANE_SEED", 20261209)));
  auto below = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const Sample first = Take(app());
  Print("moves", 0, first);
  for (int move = 1; move <= moves; ++move) {
    if (below(5) == 0) {
      // A fast sweep down the entry column, no rest between the steps.
      const int x = below(180);
      for (int y = 90; y <= 215; y += 6) JumpPointer(app().ScreenPoint(x, y));
    } else {
      const Area& a = kAreas[below(6)];
      JumpPointer(app().ScreenPoint(a.left + below(a.right - a.left), a.top + below(a.bottom - a.top)));
    }
    Sleep(static_cast<DWORD>(below(31)));
    if (move % 1000 == 0 || move == moves) {
      // Sampled as the baseline was, at rest on the panel: a sound still
      // playing holds a few handles of the audio stack for its length.
      RestPointer(app().ScreenPoint("picMexplain", 100, 100), 0);
      const Sample now = Settled(app(), first);
      Print("moves", move, now);
      ExpectFlat(first, now, "after " + std::to_string(move) + " moves");
      if (HasFatalFailure()) return;
    }
  }
  // The pointer comes to rest on an entry: that entry alone is lit.
  const int entry = 1 + below(4);
  RestPointer(app().ScreenPoint("picM(" + std::to_string(entry) + ")", 60, 14), 0);
  EXPECT_TRUE(WaitForPixel(app().ScreenPoint("picM(" + std::to_string(entry) + ")", 4, 4), 0x00FFFFFFu))
      << "entry " << entry << " not lit under the pointer";
  for (int i = 1; i <= 4; ++i)
    EXPECT_EQ(ScreenPixel(app().ScreenPoint("picM(" + std::to_string(i) + ")", 4, 4)),
              i == entry ? 0x00FFFFFFu : 0x00C0C0FFu)
        << "entry " << i << " with the pointer on entry " << entry;
  const Sample last = Settled(app(), first);
  Print("after", moves, last);
  ExpectFlat(first, last, "at the end");
  EXPECT_LT(static_cast<long>(last.workingSetKiB) - static_cast<long>(first.workingSetKiB), 1024)
      << "working set grew by 1 MB or more";
}

// Help, again and again: each click starts the word processor with the same
// command line, and the menu holds nothing more for it.
TEST_F(LongUse, HelpStormStartsTheSameLineEachTime) {
  const int clicks = Setting("KORVANE_STORM_CLICKS", 100);
  const Sample first = Take(app());
  Print("clicks", 0, first);
  // Quick clicks, each far from the last: two on one spot within the
  // double-click time are a double-click, one command.
  const POINT spots[] = {e2e::Caption(app(), e2e::kHelp), e2e::Picture(app(), e2e::kHelp)};
  for (int click = 1; click <= clicks; ++click) {
    JumpPointer(spots[click % 2]);
    Sleep(40);
    ClickHere();
    Sleep(80);
  }
  const std::string line = "write.exe \"" + cd_.Path() + "\\Korvane6 Installation_eng.rtf\"";
  std::string recorded;
  size_t lines = 0;
  for (int wait = 0; wait < 300; ++wait) {
    recorded = cd_.RecordedCommandLines("write.exe");
    lines = recorded.empty() ? 0 : 1 + static_cast<size_t>(std::count(recorded.begin(), recorded.end(), '\n'));
    if (lines >= static_cast<size_t>(clicks)) break;
    Sleep(100);
  }
  EXPECT_EQ(lines, static_cast<size_t>(clicks)) << "one word processor per click";
  size_t start = 0;
  int same = 0;
  while (start <= recorded.size()) {
    size_t end = recorded.find('\n', start);
    if (recorded.substr(start, end == std::string::npos ? std::string::npos : end - start) == line) ++same;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  EXPECT_EQ(same, clicks) << "every line: " << line;
  const Sample last = Settled(app(), first);
  Print("clicks", clicks, last);
  std::printf("storm lines %zu identical %d\n", lines, same);
  ExpectFlat(first, last, "after the storm");
  EXPECT_TRUE(app().Running());
}

}  // namespace

// The hover feedback of the real program under the real pointer: which entry
// is lit and which picture the panel shows, read from the screen, and how
// many times the sound played, read at Wine's audio output, for the walks a
// user makes over the menu. Also how soon a rest shows on the screen.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/ExeResources.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/SoundCapture.h"

using namespace harness;

namespace {

const COLORREF kMenuColor = 0x00C0C0FF;
const COLORREF kWhite = 0x00FFFFFF;

// The sample bytes of resource 101, type "WAV", of the program file.
std::vector<unsigned char> SoundResource(const std::string& exe) {
  return WaveSamples(ExeResourceBytes(exe, 101, "WAV"));
}

// Sampled points of the panel that differ from the bitmap; -1 if it is missing.
int PanelDifferences(const LauncherProcess& app, const std::string& exe, int bitmapId) {
  return BitmapDifferences(exe, bitmapId, app.ScreenPoint("picMexplain", 0, 0), 298, 229, 7, 5);
}

// Where the pointer goes: a control of the window and a point in it, or,
// with no control, a point outside the window.
struct Spot {
  const char* control;
  int x, y;
};
const Spot kOutside{nullptr, -60, 150};

struct Step {
  Spot at;
  int lit;    // the white entry, 0 for none
  int panel;  // the panel's picture: 0 welcome, n entry n
  int plays;  // sounds since the walk began
};

struct Walk {
  const char* name;
  std::vector<Step> steps;
};

Spot M(int i, int x = 40, int y = 14) {
  return {i == 1 ? "picM(1)" : i == 2 ? "picM(2)" : i == 3 ? "picM(3)" : "picM(4)", x, y};
}
Spot MB(int i) { return {i == 1 ? "picMB(1)" : i == 2 ? "picMB(2)" : i == 3 ? "picMB(3)" : "picMB(4)", 60, 0}; }
const Spot kHeader{"picHeader", 100, 40};
const Spot kBar{"picBalken", 200, 3};
const Spot kFiller{"picMend", 60, 50};
const Spot kPanel{"picMexplain", 100, 100};

const Walk kWalks[] = {
    {"AboutInsideOneEntry", {{M(2, 10, 8), 2, 2, 1}, {M(2, 100, 14), 2, 2, 1}, {M(2, 150, 22), 2, 2, 1}}},
    {"EntryToItsStripAndBack", {{M(2), 2, 2, 1}, {MB(2), 2, 2, 1}, {M(2), 2, 2, 2}}},
    {"AcrossTheStripToTheNextEntry", {{M(1), 1, 1, 1}, {MB(1), 1, 1, 1}, {M(2), 2, 2, 2}}},
    {"FromOutsideStraightOntoAStrip", {{kOutside, 0, 0, 0}, {MB(3), 3, 3, 0}}},
    {"EntryToEntry", {{M(1), 1, 1, 1}, {M(2), 2, 2, 2}, {M(4), 4, 4, 3}}},
    {"EntryToHeaderAndBack", {{M(3), 3, 3, 1}, {kHeader, 3, 3, 1}, {M(3), 3, 3, 2}}},
    {"OutOfTheWindowAndBack", {{M(3), 3, 3, 1}, {kOutside, 3, 3, 1}, {M(3), 3, 3, 2}}},
    {"EntryToBar", {{M(3), 3, 3, 1}, {kBar, 0, 0, 1}}},
    {"EntryToFiller", {{M(4), 4, 4, 1}, {kFiller, 0, 0, 1}}},
    {"EntryToPanelAndBack", {{M(1), 1, 1, 1}, {kPanel, 0, 0, 1}, {M(1), 1, 1, 2}}},
};

class Hover : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(sound_.Available()) << "KORVANE_SOUND_CAPTURE is not set: run through scripts/test.sh";
    JumpPointer({5, 5});  // parked off the window
    ASSERT_NE(app_.WaitForMainWindow(), nullptr);
    sound_.Clear();
  }

  POINT Where(const Spot& s) const {
    return s.control ? app_.ScreenPoint(s.control, s.x, s.y) : app_.ScreenPoint(s.x, s.y);
  }
  COLORREF EntryColour(int i) const { return ScreenPixel(app_.ScreenPoint(M(i).control, 4, 14)); }
  // Whether entry `lit` alone is white (0: none) and the panel shows picture `panel`.
  bool Shows(int lit, int panel) const {
    for (int i = 1; i <= 4; ++i)
      if (EntryColour(i) != (i == lit ? kWhite : kMenuColor)) return false;
    return PanelDifferences(app_, cd_.Launcher(), 200 + 10 * panel + Language()) == 0;
  }
  int Language() const { return ExpectedLanguageIndex(); }

  CdFolder cd_{"hover"};
  SoundCapture sound_;
  LauncherProcess app_{cd_.Launcher()};
};

TEST_F(Hover, Walks) {
  const std::vector<unsigned char> chime = SoundResource(cd_.Launcher());
  ASSERT_EQ(chime.size(), 7778u);
  for (const Walk& walk : kWalks) {
    SCOPED_TRACE(walk.name);
    // Each walk starts from the neutral menu, away from the window, with a
    // fresh visit: leaving an entry ends its visit.
    JumpPointer(Where(kBar));
    ASSERT_TRUE(WaitUntil([&] { return Shows(0, 0); })) << "the bar did not reset the menu";
    JumpPointer({5, 5});
    sound_.Clear();
    int n = 0, lit = 0, panel = 0;
    for (const Step& step : walk.steps) {
      ++n;
      JumpPointer(Where(step.at));
      if (step.lit == lit && step.panel == panel) {
        Sleep(350);  // the rest, for a change that must not come
      } else {
        WaitUntil([&] { return Shows(step.lit, step.panel); });
      }
      lit = step.lit;
      panel = step.panel;
      for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(EntryColour(i), i == step.lit ? kWhite : kMenuColor) << "step " << n << ", entry " << i;
      EXPECT_EQ(PanelDifferences(app_, cd_.Launcher(), 200 + 10 * step.panel + Language()), 0)
          << "step " << n << ": panel should show picture " << step.panel;
      sound_.WaitForPlays(step.plays);
      auto plays = sound_.Plays();
      EXPECT_EQ(plays.size(), static_cast<size_t>(step.plays)) << "step " << n << ": sounds so far";
      for (const auto& play : plays) EXPECT_EQ(SampleDifference(play, chime), "") << "step " << n;
    }
  }
}

// The highlight is on the screen before the sound begins: the sound is
// synchronous and holds the window up while it plays, so a highlight painted
// after it would come only once it has ended. The capture reads the entry's
// pixel at the instant it sees the sound start. The time from the rest to
// the highlight is recorded, not judged.
TEST_F(Hover, HighlightIsOnTheScreenBeforeTheSoundStarts) {
  std::string times;
  for (int entry : {1, 2, 3, 4, 2}) {
    SCOPED_TRACE(entry);
    JumpPointer(Where(kBar));
    ASSERT_TRUE(WaitForPixel(app_.ScreenPoint(M(entry).control, 4, 14), kMenuColor))
        << "the bar did not reset the menu";
    sound_.Clear();
    const POINT probe = app_.ScreenPoint(M(entry).control, 4, 14);
    sound_.WatchAtStart(probe);
    JumpPointer(Where(M(entry)));
    const DWORD rested = GetTickCount();
    ASSERT_TRUE(WaitForPixel(probe, kWhite)) << "entry never turned white";
    times += std::to_string(GetTickCount() - rested) + " ";
    ASSERT_EQ(sound_.WaitForPlays(1), 1u) << "no sound";
    sound_.Plays();  // until it has ended
    const std::vector<COLORREF> atStart = sound_.PixelsAtStart();
    ASSERT_EQ(atStart.size(), 1u);
    EXPECT_EQ(atStart[0], kWhite) << "the sound started before the highlight was on the screen";
  }
  RecordProperty("HoverToPaintMs", times);
  std::printf("hover to paint (ms): %s\n", times.c_str());
}

}  // namespace

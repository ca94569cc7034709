// How GetAllSettings and GetSubSectionNames scale: a scratch section under
// HKCU\Software\LxRegistryBench with 1,000 and with 10,000 values and
// sub-keys, each enumerated several times; prints the medians and the ratio
// 10k/1k (near 10 when the cost is linear), then deletes the scratch section.
// The two sizes are timed in turn, run by run, so that both see the same load
// of a shared machine (every call is a round trip to the wineserver).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "registry/clsLxRegistry.h"

namespace {

constexpr int kRuns = 15;
constexpr int kSizes[] = {1000, 10000};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Milliseconds that `work` takes; it returns how many items it saw, which
// must be `expected`.
double TimeMs(const std::function<size_t()>& work, size_t expected) {
  const auto start = std::chrono::steady_clock::now();
  const size_t seen = work();
  const auto stop = std::chrono::steady_clock::now();
  if (seen != expected) {
    std::fprintf(stderr, "expected %zu items, got %zu\n", expected, seen);
    std::exit(1);
  }
  return std::chrono::duration<double, std::milli>(stop - start).count();
}

std::string Values(const std::string& root, int count) { return root + "\\values" + std::to_string(count); }
std::string Keys(const std::string& root, int count) { return root + "\\keys" + std::to_string(count); }

void Fill(clsLxRegistry& reg, const std::string& root, int count) {
  for (int i = 0; i < count; ++i) {
    const std::string n = std::to_string(i);
    if (!reg.WriteSetting(HKEY_CURRENT_USER, Values(root, count), "value" + n, LxVariant::String("data " + n)) ||
        !reg.CreateSection(HKEY_CURRENT_USER, Keys(root, count) + "\\key" + n)) {
      std::fprintf(stderr, "set-up failed: %d %s\n", reg.RegError()->Number(), reg.RegError()->Description().c_str());
      std::exit(1);
    }
  }
}

void Report(const char* what, const std::vector<double> (&ms)[2]) {
  const double small = Median(ms[0]), large = Median(ms[1]);
  std::printf("%-20s %9.2f ms %11.2f ms %9.2f   %6.1f / %6.1f\n", what, small, large, large / small,
              small * 1000 / kSizes[0], large * 1000 / kSizes[1]);
}

}  // namespace

int main() {
  clsLxRegistry reg;
  const std::string root = "Software\\LxRegistryBench\\" + std::to_string(GetCurrentProcessId());
  for (int count : kSizes) Fill(reg, root, count);

  std::vector<double> settingsMs[2], namesMs[2];
  for (int run = 0; run < kRuns; ++run) {
    for (int s = 0; s < 2; ++s) {
      const int count = kSizes[s];
      settingsMs[s].push_back(TimeMs(
          [&] {
            const auto all = reg.GetAllSettings(HKEY_CURRENT_USER, Values(root, count));
            return all ? all->size() : 0;
          },
          count));
      namesMs[s].push_back(TimeMs(
          [&] {
            const auto names = reg.GetSubSectionNames(HKEY_CURRENT_USER, Keys(root, count));
            return names ? names->size() : 0;
          },
          count));
    }
  }
  std::printf("median of %d runs   1,000 items  10,000 items  10k/1k   us per item 1k / 10k\n", kRuns);
  Report("GetAllSettings", settingsMs);
  Report("GetSubSectionNames", namesMs);

  const auto start = std::chrono::steady_clock::now();
  const bool deleted = reg.DeleteSectionRec(HKEY_CURRENT_USER, root);
  const auto stop = std::chrono::steady_clock::now();
  std::printf("DeleteSectionRec of the scratch tree (11,005 keys): %.0f ms, %s\n",
              std::chrono::duration<double, std::milli>(stop - start).count(), deleted ? "deleted" : "FAILED");
  reg.DeleteSection(HKEY_CURRENT_USER, "Software\\LxRegistryBench");  // only once empty
  return deleted ? 0 : 1;
}

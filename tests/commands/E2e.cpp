// Helpers of the commands' end-to-end tests.
#include "tests/commands/E2e.h"

#include <cstdio>

#include "tests/harness/Desktop.h"
#include "tests/harness/paths.h"

using namespace harness;

namespace e2e {

void Cards(RegistrySeed& seed, const std::vector<std::string>& services) {
  seed.DeleteTree(kCards);
  seed.CreateKey(kCards);
  for (std::size_t i = 0; i < services.size(); ++i) {
    std::string card = std::string(kCards) + "\\" + std::to_string(i + 1);
    seed.SetString(card, "Description", "Test adapter " + std::to_string(i + 1));
    if (!services[i].empty()) seed.SetString(card, "ServiceName", services[i]);
  }
}

void GoodMachine(RegistrySeed& seed) {
  seed.DeleteTree(kLabF);
  seed.SetString(kCurrentVersion, "CurrentBuildNumber", "2600");
  seed.SetString(kIe, "Version", "6.0.2900.2180");
  seed.SetString(kIe, "Build", "62900.2180");
  seed.DeleteTree(std::string(kServices) + kGoodService);
  seed.DeleteTree(std::string(kServices) + kPlainService);
  seed.CreateKey(std::string(kServices) + kGoodService + "\\Parameters\\Tcpip");
  seed.SetString(std::string(kServices) + kPlainService + "\\Parameters", "Anything", "x");
  Cards(seed, {kGoodService});
}

// Entries are 180 x 28 pixels; the caption covers x 16..180, y 7..21.
POINT Caption(const LauncherProcess& app, int entry) {
  return app.ScreenPoint("picM(" + std::to_string(entry) + ")", 60, 13);
}

POINT Picture(const LauncherProcess& app, int entry) {
  return app.ScreenPoint("picM(" + std::to_string(entry) + ")", 6, 24);
}

HWND WaitForBoxOrExit(LauncherProcess& app, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  do {
    HWND box = FindWindowW(L"#32770", Title().c_str());
    if (box && IsWindowVisible(box)) return box;
    if (!app.Running()) return nullptr;
    Sleep(25);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

namespace {
std::wstring LauncherString(int id) {
  static HMODULE module =
      LoadLibraryExA(LauncherExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  const wchar_t* text = nullptr;
  int n = module ? LoadStringW(module, static_cast<UINT>(id), reinterpret_cast<LPWSTR>(&text), 0) : 0;
  return n > 0 ? std::wstring(text, static_cast<size_t>(n)) : L"<missing string " + std::to_wstring(id) + L">";
}
}  // namespace

std::wstring Title() { return LauncherString(100 + ExpectedLanguageIndex()); }

std::wstring Expected(const std::vector<int>& bases) {
  std::wstring text;
  for (std::size_t i = 0; i < bases.size(); ++i) {
    if (i > 0) text += L"\n";
    text += LauncherString(bases[i] + ExpectedLanguageIndex());
  }
  return text;
}

std::wstring BoxText(HWND box) {
  std::wstring text = MessageBoxText(box), out;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')) out += text[i];
  return out;
}

std::string WaitForRecord(const CdFolder& cd, const std::string& relative, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  std::string lines = cd.RecordedCommandLines(relative);
  while (lines.empty() && GetTickCount() - start < timeoutMs) {
    Sleep(25);
    lines = cd.RecordedCommandLines(relative);
  }
  return lines;
}

const char* SetUpOf(int entry) {
  return entry == kXmanager ? "Xmanager\\DISK1\\setup.exe" : "Korvane6\\DISK1\\setup.exe";
}

void SeededMachine::SetUp() {
  ASSERT_TRUE(screen_.Ok()) << screen_.Failure();
  GoodMachine(seed_);
  ASSERT_TRUE(seed_.Ok()) << seed_.Failure();
  JumpPointer({5, 5});
}

void PrintTo(const CheckRow& row, std::ostream* os) { *os << row.name; }
std::string RowName(const ::testing::TestParamInfo<CheckRow>& row) { return row.param.name; }

DWORD RunCheckRow(const CheckRow& row, POINT (*where)(const LauncherProcess&, int), DWORD boxTimeoutMs) {
  CdFolder cd("checks");
  RegistrySeed seed;  // the 32-bit view, which the menu reads on either build
  GoodMachine(seed);
  row.seed(seed);
  EXPECT_TRUE(seed.Ok()) << seed.Failure();
  // As on 64-bit Windows, where the 32-bit X server writes its key in the
  // 32-bit view alone: the 64-bit view has none.
  RegistrySeed otherView(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY);
  otherView.DeleteTree(kLabF);
  EXPECT_TRUE(otherView.Ok()) << otherView.Failure();
  ScreenSize screen(1024, 768);  // wide enough: no warning
  EXPECT_TRUE(screen.Ok()) << screen.Failure();
  if (::testing::Test::HasFailure()) return 0;

  LauncherProcess app(cd.Launcher());
  if (!app.WaitForMainWindow()) {
    ADD_FAILURE() << "no main window";
    return 0;
  }
  RestPointer(where(app, row.entry), 150);
  const DWORD clicked = GetTickCount();
  ClickHere();
  HWND box = WaitForBoxOrExit(app, boxTimeoutMs);
  const DWORD took = GetTickCount() - clicked;
  const std::string setup = SetUpOf(row.entry);

  if (row.refusal.empty()) {
    EXPECT_EQ(box, nullptr) << "unexpected message: " << Narrow(BoxText(box));
    if (box) PressOk(box);
    EXPECT_TRUE(app.WaitForExit(5000)) << "still running after the set-up start";
    EXPECT_NE(WaitForRecord(cd, setup), "") << "set-up not started";
    EXPECT_EQ(app.ProcessesStarted(), 1) << "the set-up alone is started";
    return took;
  }
  if (!box) {
    ADD_FAILURE() << "no refusal; set-up recorded: " << cd.RecordedCommandLines(setup);
    return took;
  }
  EXPECT_EQ(Narrow(BoxText(box)), Narrow(Expected(row.refusal)));
  EXPECT_FALSE(MessageBoxHasIcon(box));
  EXPECT_EQ(MessageBoxButtonCount(box), 1);
  PressOk(box);
  EXPECT_TRUE(app.WaitForExit(5000)) << "a refusal ends the program";
  EXPECT_EQ(app.ExitCode(), 0u);
  // Exact once the program has ended: nothing it did can add to it later.
  EXPECT_EQ(app.ProcessesStarted(), 0) << "a refused set-up must not start";
  return took;
}

std::string LogStamp() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char text[16];
  std::snprintf(text, sizeof text, "%02d%02d%02d%02d%02d", t.wDay, t.wMonth, t.wYear % 100, t.wHour, t.wMinute);
  return text;
}

std::string WindowsFolder() {
  wchar_t buffer[MAX_PATH] = {};
  UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
  return Narrow(std::wstring(buffer, n));
}

void ExpectSetUpLine(const std::string& got, const std::string& path, const char* tag, const std::string& before,
                     const std::string& after) {
  auto line = [&](const std::string& stamp) {
    return path + " /v\"/l* " + WindowsFolder() + "\\" + tag + stamp + ".log\"";
  };
  EXPECT_TRUE(got == line(before) || got == line(after)) << "got:      " << got << "\nexpected: " << line(before);
}

}  // namespace e2e

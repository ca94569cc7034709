// Shared by the end-to-end tests of the menu commands: the machine state
// that passes every check, clicks on the entries, and what a message box of
// the launcher should say.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/RegistrySeed.h"
#include "tests/harness/WineHost.h"

namespace e2e {

inline constexpr char kWinaXe[] = "Software\\LabF.com\\WinaXe";
inline constexpr char kLabF[] = "Software\\LabF.com";
inline constexpr char kCurrentVersion[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr char kIe[] = "Software\\Microsoft\\Internet Explorer";
inline constexpr char kCards[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards";
inline constexpr char kServices[] = "System\\CurrentControlSet\\Services\\";

// Test services, made and removed by the seeds.
inline constexpr char kGoodService[] = "KvTestGood";    // has Parameters\Tcpip
inline constexpr char kPlainService[] = "KvTestPlain";  // has Parameters, no Tcpip

enum Entry { kXmanager = 1, kKorvane = 2, kHelp = 3, kExit = 4 };

// Windows 2000 or later, Internet Explorer 6, one card bound to TCP/IP, no WinaXe.
void GoodMachine(harness::RegistrySeed& seed);
// Replaces the card list by cards "1".."n" with these service names ("" no ServiceName value).
void Cards(harness::RegistrySeed& seed, const std::vector<std::string>& services);

// A point on entry i: its caption (label) or the picture beside the caption.
POINT Caption(const harness::LauncherProcess& app, int entry);
POINT Picture(const harness::LauncherProcess& app, int entry);

// The launcher's box with its window title, or nullptr once the launcher has
// ended or the time is up.
HWND WaitForBoxOrExit(harness::LauncherProcess& app, DWORD timeoutMs = 8000);

// The title of every box: the window title in the test's language.
std::wstring Title();
// What a box made of these string bases shows (lines joined by "\n"), taken
// from the launcher's string table in the test's language.
std::wstring Expected(const std::vector<int>& bases);
// A box's text with CR LF shown as "\n", as the dialog reports it.
std::wstring BoxText(HWND box);

// The machine of a test that starts the menu: the screen at the given size
// (the usual one unless asked), a registry that passes every check, the
// pointer out of the way.
class SeededMachine : public ::testing::Test {
 protected:
  explicit SeededMachine(int width = 1024, int height = 768) : screen_(width, height) {}
  void SetUp() override;
  harness::ScreenSize screen_;
  harness::RegistrySeed seed_;
};

// The refusals' lines, by their string bases.
inline const std::vector<int> kWinaXeRefusal = {IDS_WINAXE_FIRST, IDS_XMAN_CANNOT};
inline const std::vector<int> kOsRefusal = {IDS_OS_TOO_OLD, IDS_KORV_CANNOT};
inline const std::vector<int> kIeMissingRefusal = {IDS_IE_MISSING, IDS_IE_NEWER, IDS_KORV_CANNOT};
inline const std::vector<int> kIeOldRefusal = {IDS_IE_TOO_OLD, IDS_IE_NEWER, IDS_KORV_CANNOT};
inline const std::vector<int> kAdapterRefusal = {IDS_NO_TCPIP, IDS_KORV_CANNOT};
inline const std::vector<int> kSetUpStarts = {};

// A machine state and what a click on an entry must bring.
using Seed = std::function<void(harness::RegistrySeed&)>;
struct CheckRow {
  const char* name;
  int entry;
  Seed seed;                 // applied after GoodMachine
  std::vector<int> refusal;  // the refusal's lines, or kSetUpStarts
};
void PrintTo(const CheckRow& row, std::ostream* os);
std::string RowName(const ::testing::TestParamInfo<CheckRow>& row);

// Runs a row on the usual screen: seeds the machine, starts the menu, rests on
// the entry at `where` (Caption or Picture) and clicks. A refusal must show
// its box in the test's language (OK alone, no icon), and after OK the
// program ends having started nothing. A check that passes shows no box, and
// the program ends having started the set-up alone. Gives the milliseconds
// from the click to the box, or to the end.
DWORD RunCheckRow(const CheckRow& row, POINT (*where)(const harness::LauncherProcess&, int), DWORD boxTimeoutMs = 8000);

// The lines recorded by a stub of the CD (see CdFolder::RecordedCommandLines),
// once it has written them: started programs run on after the launcher ends.
std::string WaitForRecord(const harness::CdFolder& cd, const std::string& relative, DWORD timeoutMs = 5000);

// The stand-in set-up that an install entry starts, relative to the CD's root.
const char* SetUpOf(int entry);

// Local date and time as the log name has them: "ddmmyyhhmm".
std::string LogStamp();
// The Windows folder, in UTF-8.
std::string WindowsFolder();
// Checks that `got` is a set-up's command line: its path as given (not
// quoted) and the log switches, the log named with the tag and the stamp of
// the minute before the click, or of the one after it when the click fell at
// a minute's end.
void ExpectSetUpLine(const std::string& got, const std::string& path, const char* tag, const std::string& before,
                     const std::string& after);

}  // namespace e2e

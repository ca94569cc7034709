// Shared by the end-to-end tests of the menu commands: the machine state
// that passes every check, clicks on the entries, and what a message box of
// the launcher should say.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/harness/CdFolder.h"
#include "tests/harness/Launcher.h"
#include "tests/harness/RegistrySeed.h"

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

// The lines recorded by a stub of the CD (see CdFolder::RecordedCommandLines),
// once it has written them: started programs run on after the launcher ends.
std::string WaitForRecord(const harness::CdFolder& cd, const std::string& relative, DWORD timeoutMs = 5000);

// The stand-in set-up that an install entry starts, relative to the CD's root.
const char* SetUpOf(int entry);
// The lines of the entry's set-up, for a set-up that must not have started:
// one started before the program ended would have recorded its line within a
// second, and the stand-in starts in a tenth of that.
std::string LateSetUpLines(const harness::CdFolder& cd, int entry);

// Local date and time as the log name has them: "ddmmyyhhmm".
std::string LogStamp();

}  // namespace e2e

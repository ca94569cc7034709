// Starting a set-up program with its installation log, or the notes command.
#include <string>

#include "commands/CommandLines.h"
#include "commands/Processes.h"
#include "launcher/frmMain.h"

bool frmMain::ApplicationStart(std::wstring& AppNam, const std::wstring& ver) {
  // Date and time from one reading of the clock: read twice, a click in the
  // last instant of a day would get that day's date and the next day's 0000.
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::wstring date = LogDate(now);
  const std::wstring time = LogTime(now);

  if (IsNotesTag(ver)) return StartProgram(nullptr, AppNam);  // the search finds "write.exe"

  // Until the switches are appended, a set-up's AppNam is its path alone. The
  // path is not quoted, so it is also handed over as the program itself: with
  // blanks in it ("C:\CD copy\...") the platform's search would otherwise try
  // "C:\CD.exe" first.
  const std::wstring program = AppNam;
  const std::wstring switches = LogSwitches(WinDir, ver, date, time);
  AppNam += switches;
  // The switches' leading blank is what separates them from the path.
  if (!StartSetup(hwnd(), program, switches.substr(1))) return false;
  Unload();
  tk::End();
}

// Starting a set-up program with its installation log, or the notes command.
#include <string>

#include "commands/CommandLines.h"
#include "commands/Processes.h"
#include "launcher/frmMain.h"

bool frmMain::ApplicationStart(std::wstring& AppNam, const std::wstring& ver) {
  // The date is read before the time, each from the clock as it is then.
  SYSTEMTIME now;
  GetLocalTime(&now);
  const std::wstring date = LogDate(now);
  GetLocalTime(&now);
  const std::wstring time = LogTime(now);

  const bool notes = IsNotesTag(ver);
  // Until the switches are appended, a set-up's AppNam is its path alone. The
  // path is not quoted, so it is also handed over as the program itself: with
  // blanks in it ("C:\CD copy\...") the platform's search would otherwise try
  // "C:\CD.exe" first. The notes command keeps the search, for "write.exe".
  const std::wstring program = AppNam;
  if (!notes) AppNam += LogSwitches(WinDir, ver, date, time);

  if (!StartProgram(notes ? nullptr : program.c_str(), AppNam)) return false;
  if (!notes) {
    Unload();
    tk::End();
  }
  return true;
}

// The menu's commands: what a click on each entry does. Install Xmanager and
// install Korvane 6 check the machine and start their set-up; Help opens the
// installation notes; Exit leaves.
#include <string>

#include "commands/CommandLines.h"
#include "commands/Prerequisites.h"
#include "commands/Processes.h"
#include "launcher/frmMain.h"
#include "launcher/mdlLanguage.h"
#include "resources/resource.h"
#include "toolkit/MsgBox.h"
#include "toolkit/Units.h"

namespace {
const UINT kOkOnly = 0;  // OK button, no icon
}

void frmMain::picM_Click(std::int16_t Index) { MenuAction(Index); }

void frmMain::lblM_Click(std::int16_t Index) { MenuAction(Index); }

void frmMain::MenuAction(const std::int16_t& Index) {
  // The entry loses its hover highlight, and the next visit may sound again.
  if (Index >= picM.LBound() && Index <= picM.UBound()) ShowEntry(Index, false);
  SoundStop = false;

  switch (Index) {
    case 1: InstallXmanager(); break;
    case 2: InstallKorvane(); break;
    case 3: OpenNotes(); break;
    case 4: Unload(); tk::End();
    default: break;
  }
}

void frmMain::Refuse(const std::vector<int>& lines, const std::wstring& title) {
  tk::MsgBox(hwnd(), ComposeMessage(lines, LanguageIndex), kOkOnly, title);
  Unload();
  tk::End();
}

// Every failure here is passed over without a message: above all a set-up
// that cannot be started leaves the menu open.
void frmMain::InstallXmanager() {
  const std::wstring title = tk::LoadResString(LocalizedId(IDS_TITLE));
  clsLxRegistry reg(kCheckedView);
  if (auto refusal = XServerCheck(reg)) Refuse(*refusal, title);
  std::wstring setup = AppPath() + kXmanagerSetup;
  ApplicationStart(setup, L"X");
}

void frmMain::InstallKorvane() {
  const std::wstring title = tk::LoadResString(LocalizedId(IDS_TITLE));
  clsLxRegistry reg(kCheckedView);
  if (auto refusal = OperatingSystemCheck(reg)) Refuse(*refusal, title);
  if (auto refusal = InternetExplorerCheck(reg)) Refuse(*refusal, title);
  if (auto refusal = NetworkAdapterCheck(reg)) Refuse(*refusal, title);
  // Too narrow a screen only warns: the set-up still starts, and the window
  // closes.
  const auto warning = ResolutionCheck(tk::ScreenWidthPixels());
  if (warning) tk::MsgBox(hwnd(), ComposeMessage(*warning, LanguageIndex), kOkOnly, title);
  std::wstring setup = AppPath() + kKorvaneSetup;
  // The window stays until the set-up has started, so that a consent prompt
  // that the start brings has it as its owner: with no owner, Windows shows
  // that prompt only as a flashing button on the taskbar. Once the set-up
  // has started, the window closes and the program ends. When it cannot be
  // started the menu stays open, except after a warning: then the window
  // closes all the same, and the program ends as this click returns.
  if (!ApplicationStart(setup, L"Q") && warning) Unload();
}

void frmMain::OpenNotes() {
  const std::wstring folder = AppPath();
  std::wstring command = NotesCommand(folder, LanguageIndex);
  // Current Windows no longer carries write.exe: the system's program for
  // the document's type opens it instead.
  if (!ApplicationStart(command, L"H")) OpenDocument(hwnd(), NotesDocument(folder, LanguageIndex));
}

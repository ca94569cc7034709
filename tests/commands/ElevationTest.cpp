// A set-up that needs administrator rights. Windows Vista and later refuse to
// create it from the menu, which runs without them (User Account Control);
// Wine runs every program as an administrator and never does, so the
// refusal and the shell's answers are played here through the menu's process
// calls. The menu's window is real, in this process.
#include <windows.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "commands/Processes.h"
#include "launcher/frmMain.h"
#include "launcher/mdlLanguage.h"
#include "resources/resource.h"
#include "tests/commands/E2e.h"
#include "tests/harness/Desktop.h"
#include "tests/harness/WineHost.h"
#include "toolkit/Resources.h"

using harness::Narrow;

namespace {

const wchar_t kSetup[] = L"K:\\CD copy\\Korvane6\\DISK1\\setup.exe";
const DWORD kElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED, named for Vista and later only

// What the shell was asked to do, and what it answers.
struct ShellCall {
  int count = 0;
  ULONG mask = 0;
  HWND owner = nullptr;
  bool ownerShown = false;  // a visible window when the shell was called
  std::wstring verb, file, parameters;
  int show = -1;
  DWORD answer = 0;  // 0: started, else the error it fails with
};
ShellCall g_shell;

BOOL WINAPI RefuseWithoutElevation(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL, DWORD, LPVOID,
                                   LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION) {
  SetLastError(kElevationRequired);
  return FALSE;
}

BOOL WINAPI RecordShell(SHELLEXECUTEINFOW* info) {
  ++g_shell.count;
  g_shell.mask = info->fMask;
  g_shell.owner = info->hwnd;
  g_shell.ownerShown = info->hwnd && IsWindowVisible(info->hwnd);
  g_shell.verb = info->lpVerb ? info->lpVerb : L"<null>";
  g_shell.file = info->lpFile ? info->lpFile : L"<null>";
  g_shell.parameters = info->lpParameters ? info->lpParameters : L"<null>";
  g_shell.show = info->nShow;
  SetLastError(g_shell.answer);
  return g_shell.answer == 0;
}

struct TestForm : frmMain {};

class Elevation : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = g_processCalls;
    g_shell = ShellCall{};
    g_processCalls.shellExecuteEx = RecordShell;
    tk::Form::RegisterClasses(GetModuleHandleA(nullptr));
    form_ = std::make_unique<TestForm>();
    form_->Show();
    form_->WinDir = L"C:\\windows";
  }
  void TearDown() override { g_processCalls = saved_; }

  ProcessCalls saved_;
  std::unique_ptr<TestForm> form_;
};

// /v"/l* C:\windows\Q<ddmmyyhhmm>.log"
void ExpectLogSwitches(const std::wstring& parameters) {
  const std::wstring head = L"/v\"/l* C:\\windows\\Q", tail = L".log\"";
  ASSERT_EQ(parameters.size(), head.size() + 10 + tail.size()) << Narrow(parameters);
  EXPECT_EQ(parameters.rfind(head, 0), 0u) << Narrow(parameters);
  EXPECT_EQ(parameters.substr(parameters.size() - tail.size()), tail) << Narrow(parameters);
}

// Refused for want of rights, the set-up goes to the shell, which asks for
// consent; declined, the menu stays open, as for a set-up that cannot start.
TEST_F(Elevation, ARefusedSetUpGoesToTheShellAndADeclinedConsentKeepsTheMenu) {
  g_processCalls.createProcess = RefuseWithoutElevation;
  g_shell.answer = ERROR_CANCELLED;
  std::wstring line = kSetup;
  EXPECT_FALSE(form_->ApplicationStart(line, L"Q"));

  ASSERT_EQ(g_shell.count, 1);
  EXPECT_EQ(Narrow(g_shell.verb), "open");
  EXPECT_EQ(Narrow(g_shell.file), Narrow(kSetup));
  ExpectLogSwitches(g_shell.parameters);
  // The set-up gets the arguments that CreateProcess would have given it.
  EXPECT_EQ(Narrow(line), Narrow(kSetup + (L" " + g_shell.parameters)));
  EXPECT_EQ(g_shell.show, SW_SHOWNORMAL);
  EXPECT_EQ(g_shell.owner, form_->hwnd());
  EXPECT_TRUE(g_shell.mask & SEE_MASK_FLAG_NO_UI) << "the shell would show its own error box";
  EXPECT_TRUE(IsWindowVisible(form_->hwnd())) << "the menu closed after a declined consent";
}

// Consent given, the set-up runs: the menu closes and the program ends.
TEST_F(Elevation, ASetUpStartedThroughTheShellEndsTheMenu) {
  g_processCalls.createProcess = RefuseWithoutElevation;
  std::wstring line = kSetup;
  EXPECT_EXIT(form_->ApplicationStart(line, L"X"), ::testing::ExitedWithCode(0), "");
}

// Any other failure (here a set-up missing from the CD) is not a question of
// rights: the shell is not asked, and the menu stays.
TEST_F(Elevation, ASetUpThatCannotStartIsNotTriedThroughTheShell) {
  std::wstring line = L"C:\\no such folder\\Korvane6\\DISK1\\setup.exe";
  EXPECT_FALSE(form_->ApplicationStart(line, L"Q"));
  EXPECT_EQ(g_shell.count, 0);
  EXPECT_TRUE(IsWindowVisible(form_->hwnd()));
}

// On a screen narrower than 1024 pixels the warning comes first; the consent
// prompt that the start then brings still has the menu's window as its
// owner. Without one, Windows shows it only as a button on the taskbar.
DWORD WINAPI PressOkOnBox(void* title) {
  if (HWND box = harness::WaitForMessageBox(*static_cast<std::wstring*>(title))) harness::PressOk(box);
  return 0;
}

TEST_F(Elevation, AfterTheScreenWarningTheConsentPromptStillHasTheMenuAsOwner) {
  harness::ScreenSize screen(800, 600);
  ASSERT_TRUE(screen.Ok()) << screen.Failure();
  harness::RegistrySeed seed;
  e2e::GoodMachine(seed);
  ASSERT_TRUE(seed.Ok()) << seed.Failure();
  g_processCalls.createProcess = RefuseWithoutElevation;
  g_shell.answer = ERROR_CANCELLED;
  std::wstring title = tk::LoadResString(LocalizedId(IDS_TITLE));
  HANDLE presser = CreateThread(nullptr, 0, PressOkOnBox, &title, 0, nullptr);
  ASSERT_NE(presser, nullptr);

  form_->picM_Click(2);
  WaitForSingleObject(presser, 15000);
  CloseHandle(presser);
  ASSERT_EQ(g_shell.count, 1) << "the Korvane 6 set-up was not started after the warning";
  EXPECT_NE(g_shell.owner, nullptr);
  EXPECT_TRUE(g_shell.ownerShown) << "the consent prompt's owner is not the menu's window";
  EXPECT_FALSE(IsWindow(form_->hwnd())) << "after the warning the window closes, even when the set-up did not start";
}

}  // namespace

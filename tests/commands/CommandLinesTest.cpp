// The command lines handed to the set-ups and the word processor, character
// for character.
#include <gtest/gtest.h>

#include "commands/CommandLines.h"
#include "tests/harness/Desktop.h"

using harness::Narrow;

namespace {

SYSTEMTIME At(WORD year, WORD month, WORD day, WORD hour, WORD minute) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = 59;
  return t;
}

TEST(CommandLines, ProgramFolderKeepsABackslashOnlyAtADriveRoot) {
  struct {
    const wchar_t* exe;
    const wchar_t* folder;
  } rows[] = {
      {L"C:\\CD\\Korvane6Menu.exe", L"C:\\CD"},
      {L"C:\\CD copy\\Korvane6Menu.exe", L"C:\\CD copy"},
      {L"K:\\Korvane6Menu.exe", L"K:\\"},
      {L"C:\\a\\b\\c\\Korvane6Menu.exe", L"C:\\a\\b\\c"},
      {L"\\\\server\\share\\cd\\Korvane6Menu.exe", L"\\\\server\\share\\cd"},
      {L"Korvane6Menu.exe", L""},
  };
  for (const auto& row : rows) EXPECT_EQ(ProgramFolder(row.exe), row.folder) << Narrow(row.exe);
}

TEST(CommandLines, SetUpPathsAreConcatenatedUnchanged) {
  EXPECT_EQ(ProgramFolder(L"K:\\Korvane6Menu.exe") + kKorvaneSetup, L"K:\\\\Korvane6\\DISK1\\setup.exe");
  EXPECT_EQ(std::wstring(L"C:\\CD copy") + kXmanagerSetup, L"C:\\CD copy\\Xmanager\\DISK1\\setup.exe");
}

TEST(CommandLines, NotesDocumentByLanguage) {
  struct {
    std::int16_t index;
    const wchar_t* suffix;
  } rows[] = {
      {0, L"\\Korvane6 Installation_ger.rtf"},  {1, L"\\Korvane6 Installation_eng.rtf"},
      {2, L"\\Korvane6 Installation_fra.rtf"},  {3, L"\\Korvane6 Installation_ita.rtf"},
      {4, L"\\Korvane6 Installation_spa.rtf"},  {5, L"\\Korvane6 Installation_eng.rtf"},
      {-1, L"\\Korvane6 Installation_eng.rtf"}, {32767, L"\\Korvane6 Installation_eng.rtf"},
  };
  for (const auto& row : rows) EXPECT_EQ(NotesSuffix(row.index), row.suffix) << row.index;
}

TEST(CommandLines, NotesCommandQuotesTheDocumentOnly) {
  EXPECT_EQ(NotesCommand(L"C:\\CD", 3), L"write.exe \"C:\\CD\\Korvane6 Installation_ita.rtf\"");
  EXPECT_EQ(NotesCommand(L"K:\\", 0), L"write.exe \"K:\\\\Korvane6 Installation_ger.rtf\"");
  EXPECT_EQ(NotesDocument(L"C:\\CD copy", 2), L"C:\\CD copy\\Korvane6 Installation_fra.rtf");
}

TEST(CommandLines, LogDateAndTimeTwoDigitsEach) {
  struct {
    SYSTEMTIME t;
    const wchar_t* date;
    const wchar_t* time;
  } rows[] = {
      {At(2026, 12, 7, 21, 15), L"071226", L"2115"},
      {At(2000, 1, 1, 0, 0), L"010100", L"0000"},
      {At(1999, 12, 31, 23, 59), L"311299", L"2359"},
      {At(2009, 5, 10, 9, 5), L"100509", L"0905"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(LogDate(row.t), row.date);
    EXPECT_EQ(LogTime(row.t), row.time);
  }
}

TEST(CommandLines, LogSwitchesCharacterForCharacter) {
  EXPECT_EQ(LogSwitches(L"C:\\windows", L"Q", L"071226", L"2115"), L" /v\"/l* C:\\windows\\Q0712262115.log\"");
  EXPECT_EQ(LogSwitches(L"C:\\WINNT", L"X", L"010100", L"0000"), L" /v\"/l* C:\\WINNT\\X0101000000.log\"");
  // A failed Windows folder look-up leaves the folder empty: the name then starts at the root.
  EXPECT_EQ(LogSwitches(L"", L"Q", L"311299", L"2359"), L" /v\"/l* \\Q3112992359.log\"");
  EXPECT_EQ(std::wstring(L"C:\\CD") + kKorvaneSetup + LogSwitches(L"C:\\windows", L"Q", L"071226", L"2115"),
            L"C:\\CD\\Korvane6\\DISK1\\setup.exe /v\"/l* C:\\windows\\Q0712262115.log\"");
}

// The Windows folder as the platform reports it. A folder of 255 characters
// or more does not fit the first buffer: the platform then names the size it
// needs, and the folder is asked for again (a fake query stands in for
// Windows here: Wine's Windows folder is always C:\windows).
std::wstring g_folder;
UINT g_calls = 0;
UINT WINAPI FakeQuery(LPWSTR buffer, UINT size) {
  ++g_calls;
  if (g_folder.empty()) return 0;
  if (size <= g_folder.size()) return static_cast<UINT>(g_folder.size() + 1);
  g_folder.copy(buffer, g_folder.size());
  buffer[g_folder.size()] = L'\0';
  return static_cast<UINT>(g_folder.size());
}

TEST(CommandLines, WindowsFolderOfAnyLength) {
  for (size_t length : {10u, 254u, 255u, 256u, 300u, 1000u}) {
    g_folder = L"C:\\" + std::wstring(length - 3, L'w');
    g_calls = 0;
    EXPECT_EQ(WindowsFolder(FakeQuery), g_folder) << length << " characters";
    EXPECT_EQ(g_calls, length < 255 ? 1u : 2u) << length << " characters";
  }
  g_folder.clear();
  EXPECT_EQ(WindowsFolder(FakeQuery), L"") << "a failing query";
  EXPECT_FALSE(WindowsFolder().empty()) << "the real platform's";
}

TEST(CommandLines, OnlyUpperCaseHIsTheNotesTag) {
  struct {
    const wchar_t* tag;
    bool notes;
  } rows[] = {
      {L"H", true}, {L"h", false}, {L"X", false}, {L"Q", false}, {L"", false}, {L"HH", false}, {L" H", false},
  };
  for (const auto& row : rows) EXPECT_EQ(IsNotesTag(row.tag), row.notes) << "'" << Narrow(row.tag) << "'";
}

}  // namespace

// The command lines handed to the set-ups and the word processor, character
// for character.
#include <gtest/gtest.h>

#include "commands/CommandLines.h"

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
  struct { const char* exe; const char* folder; } rows[] = {
      {"C:\\CD\\Korvane6Menu.exe", "C:\\CD"},
      {"C:\\CD copy\\Korvane6Menu.exe", "C:\\CD copy"},
      {"K:\\Korvane6Menu.exe", "K:\\"},
      {"C:\\a\\b\\c\\Korvane6Menu.exe", "C:\\a\\b\\c"},
      {"\\\\server\\share\\cd\\Korvane6Menu.exe", "\\\\server\\share\\cd"},
      {"Korvane6Menu.exe", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(ProgramFolder(row.exe), row.folder) << row.exe;
}

TEST(CommandLines, SetUpPathsAreConcatenatedUnchanged) {
  EXPECT_EQ(ProgramFolder("K:\\Korvane6Menu.exe") + kKorvaneSetup, "K:\\\\Korvane6\\DISK1\\setup.exe");
  EXPECT_EQ(std::string("C:\\CD copy") + kXmanagerSetup, "C:\\CD copy\\Xmanager\\DISK1\\setup.exe");
}

TEST(CommandLines, NotesDocumentByLanguage) {
  struct { std::int16_t index; const char* suffix; } rows[] = {
      {0, "\\Korvane6 Installation_ger.rtf"}, {1, "\\Korvane6 Installation_eng.rtf"},
      {2, "\\Korvane6 Installation_fra.rtf"}, {3, "\\Korvane6 Installation_ita.rtf"},
      {4, "\\Korvane6 Installation_spa.rtf"}, {5, "\\Korvane6 Installation_eng.rtf"},
      {-1, "\\Korvane6 Installation_eng.rtf"}, {32767, "\\Korvane6 Installation_eng.rtf"},
  };
  for (const auto& row : rows) EXPECT_EQ(NotesSuffix(row.index), row.suffix) << row.index;
}

TEST(CommandLines, NotesCommandQuotesTheDocumentOnly) {
  EXPECT_EQ(NotesCommand("C:\\CD", 3), "write.exe \"C:\\CD\\Korvane6 Installation_ita.rtf\"");
  EXPECT_EQ(NotesCommand("K:\\", 0), "write.exe \"K:\\\\Korvane6 Installation_ger.rtf\"");
  EXPECT_EQ(NotesDocument("C:\\CD copy", 2), "C:\\CD copy\\Korvane6 Installation_fra.rtf");
}

TEST(CommandLines, LogDateAndTimeTwoDigitsEach) {
  struct { SYSTEMTIME t; const char* date; const char* time; } rows[] = {
      {At(2026, 12, 7, 21, 15), "071226", "2115"},
      {At(2000, 1, 1, 0, 0), "010100", "0000"},
      {At(1999, 12, 31, 23, 59), "311299", "2359"},
      {At(2009, 5, 10, 9, 5), "100509", "0905"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(LogDate(row.t), row.date);
    EXPECT_EQ(LogTime(row.t), row.time);
  }
}

TEST(CommandLines, LogSwitchesCharacterForCharacter) {
  EXPECT_EQ(LogSwitches("C:\\windows", "Q", "071226", "2115"), " /v\"/l* C:\\windows\\Q0712262115.log\"");
  EXPECT_EQ(LogSwitches("C:\\WINNT", "X", "010100", "0000"), " /v\"/l* C:\\WINNT\\X0101000000.log\"");
  // A failed Windows folder look-up leaves the folder empty: the name then starts at the root.
  EXPECT_EQ(LogSwitches("", "Q", "311299", "2359"), " /v\"/l* \\Q3112992359.log\"");
  EXPECT_EQ(std::string("C:\\CD") + kKorvaneSetup + LogSwitches("C:\\windows", "Q", "071226", "2115"),
            "C:\\CD\\Korvane6\\DISK1\\setup.exe /v\"/l* C:\\windows\\Q0712262115.log\"");
}

TEST(CommandLines, OnlyUpperCaseHIsTheNotesTag) {
  struct { const char* tag; bool notes; } rows[] = {
      {"H", true}, {"h", false}, {"X", false}, {"Q", false}, {"", false}, {"HH", false}, {" H", false},
  };
  for (const auto& row : rows) EXPECT_EQ(IsNotesTag(row.tag), row.notes) << "'" << row.tag << "'";
}

}  // namespace

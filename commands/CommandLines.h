// The command lines that the menu hands to the programs it starts: set-up
// paths, the notes command and the installation log switches. Plain string
// work, kept apart from the process start so that every character can be
// checked.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// Set-up programs on the CD, appended to the program folder as they are.
inline constexpr char kXmanagerSetup[] = "\\Xmanager\\DISK1\\setup.exe";
inline constexpr char kKorvaneSetup[] = "\\Korvane6\\DISK1\\setup.exe";

// The folder of the executable at exePath, without a trailing backslash,
// except at the root of a drive ("K:\"), where the platform keeps one.
std::string ProgramFolder(const std::string& exePath);

// The folder of the running executable (see ProgramFolder).
std::string AppPath();

// "\Korvane6 Installation_xxx.rtf" for a language index; English for any
// index outside 0..4.
std::string NotesSuffix(std::int16_t languageIndex);

// folder + NotesSuffix: the notes document of the language.
std::string NotesDocument(const std::string& folder, std::int16_t languageIndex);

// write.exe "<folder><suffix>": the program name bare, so that the platform's
// search finds the word processor; the document quoted.
std::string NotesCommand(const std::string& folder, std::int16_t languageIndex);

// Date and time parts of a log file name: "ddmmyy" and "hhmm" (hours 00..23).
std::string LogDate(const SYSTEMTIME& day);
std::string LogTime(const SYSTEMTIME& clock);

// The switches appended to a set-up path:
//   blank /v"/l* <winDir>\<tag><date><time>.log"
std::string LogSwitches(const std::string& winDir, const std::string& tag, const std::string& date,
                        const std::string& time);

// Only the exact tag "H" starts the notes; every other tag is a set-up.
bool IsNotesTag(const std::string& ver);

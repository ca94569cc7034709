// The command lines that the menu hands to the programs it starts: set-up
// paths, the notes command and the installation log switches. Plain string
// work, kept apart from the process start so that every character can be
// checked. Paths are UTF-16 throughout: a CD folder or a Windows folder whose
// name the ANSI code page cannot hold must reach the started program whole.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// Set-up programs on the CD, appended to the program folder as they are.
inline constexpr wchar_t kXmanagerSetup[] = L"\\Xmanager\\DISK1\\setup.exe";
inline constexpr wchar_t kKorvaneSetup[] = L"\\Korvane6\\DISK1\\setup.exe";

// The folder of the executable at exePath, without a trailing backslash,
// except at the root of a drive ("K:\"), where the platform keeps one.
std::wstring ProgramFolder(const std::wstring& exePath);

// The folder of the running executable (see ProgramFolder).
std::wstring AppPath();

// The Windows folder as `query` (GetWindowsDirectoryW) reports it: the
// first n characters of the buffer, n the count it returns. A folder longer
// than the first buffer is asked for again with the size the platform
// names; "" when it fails.
using WindowsDirectoryQuery = UINT(WINAPI*)(LPWSTR, UINT);
std::wstring WindowsFolder(WindowsDirectoryQuery query = GetWindowsDirectoryW);

// "\Korvane6 Installation_xxx.rtf" for a language index; English for any
// index outside 0..4.
std::wstring NotesSuffix(std::int16_t languageIndex);

// folder + NotesSuffix: the notes document of the language.
std::wstring NotesDocument(const std::wstring& folder, std::int16_t languageIndex);

// write.exe "<folder><suffix>": the program name bare, so that the platform's
// search finds the word processor; the document quoted.
std::wstring NotesCommand(const std::wstring& folder, std::int16_t languageIndex);

// Date and time parts of a log file name: "ddmmyy" and "hhmm" (hours 00..23).
std::wstring LogDate(const SYSTEMTIME& day);
std::wstring LogTime(const SYSTEMTIME& clock);

// The switches appended to a set-up path:
//   blank /v"/l* <winDir>\<tag><date><time>.log"
std::wstring LogSwitches(const std::wstring& winDir, const std::wstring& tag, const std::wstring& date,
                         const std::wstring& time);

// Only the exact tag "H" starts the notes; every other tag is a set-up.
bool IsNotesTag(const std::wstring& ver);

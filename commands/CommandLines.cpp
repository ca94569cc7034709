// Command lines for the set-up programs and the notes document.
#include "commands/CommandLines.h"

#include <cstdio>
#include <vector>

std::string ProgramFolder(const std::string& exePath) {
  std::string::size_type slash = exePath.find_last_of('\\');
  if (slash == std::string::npos) return std::string();
  std::string folder = exePath.substr(0, slash);
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';  // "K:" is the drive's current folder, "K:\" its root
  return folder;
}

std::string AppPath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::string();
    if (n < buffer.size()) return ProgramFolder(std::string(buffer.data(), n));
    if (buffer.size() >= 32768) return std::string();
    buffer.resize(buffer.size() * 2);  // truncated: try again with room for a long path
  }
}

std::string NotesSuffix(std::int16_t languageIndex) {
  static const char* const kSuffixes[] = {"_ger", "_eng", "_fra", "_ita", "_spa"};
  const char* suffix = languageIndex >= 0 && languageIndex <= 4 ? kSuffixes[languageIndex] : "_eng";
  return std::string("\\Korvane6 Installation") + suffix + ".rtf";
}

std::string NotesDocument(const std::string& folder, std::int16_t languageIndex) {
  return folder + NotesSuffix(languageIndex);
}

std::string NotesCommand(const std::string& folder, std::int16_t languageIndex) {
  return "write.exe \"" + NotesDocument(folder, languageIndex) + "\"";
}

namespace {
std::string TwoDigits(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", value % 100);
  return text;
}
}  // namespace

std::string LogDate(const SYSTEMTIME& day) {
  return TwoDigits(day.wDay) + TwoDigits(day.wMonth) + TwoDigits(day.wYear);
}

std::string LogTime(const SYSTEMTIME& clock) { return TwoDigits(clock.wHour) + TwoDigits(clock.wMinute); }

std::string LogSwitches(const std::string& winDir, const std::string& tag, const std::string& date,
                        const std::string& time) {
  // The quote after /v opens the one argument that the set-up passes on to
  // its installer engine; the quote after ".log" closes it.
  return " /v\"/l* " + winDir + "\\" + tag + date + time + ".log\"";
}

bool IsNotesTag(const std::string& ver) { return ver == "H"; }

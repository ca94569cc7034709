// Command lines for the set-up programs and the notes document.
#include "commands/CommandLines.h"

#include <cwchar>
#include <vector>

std::wstring ProgramFolder(const std::wstring& exePath) {
  std::wstring::size_type slash = exePath.find_last_of(L'\\');
  if (slash == std::wstring::npos) return std::wstring();
  std::wstring folder = exePath.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // "K:" is the drive's current folder, "K:\" its root
  return folder;
}

std::wstring AppPath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return ProgramFolder(std::wstring(buffer.data(), n));
    if (buffer.size() >= 32768) return std::wstring();
    buffer.resize(buffer.size() * 2);  // truncated: try again with room for a long path
  }
}

std::wstring WindowsFolder(WindowsDirectoryQuery query) {
  std::vector<wchar_t> buffer(255, L'\0');
  UINT n = query(buffer.data(), static_cast<UINT>(buffer.size()));
  // Too small a buffer: the count is then the size needed, terminator included.
  if (n >= buffer.size()) {
    buffer.assign(n, L'\0');
    n = query(buffer.data(), static_cast<UINT>(buffer.size()));
    if (n >= buffer.size()) return std::wstring();
  }
  return std::wstring(buffer.data(), n);
}

std::wstring NotesSuffix(std::int16_t languageIndex) {
  static const wchar_t* const kSuffixes[] = {L"_ger", L"_eng", L"_fra", L"_ita", L"_spa"};
  const wchar_t* suffix = languageIndex >= 0 && languageIndex <= 4 ? kSuffixes[languageIndex] : L"_eng";
  return std::wstring(L"\\Korvane6 Installation") + suffix + L".rtf";
}

std::wstring NotesDocument(const std::wstring& folder, std::int16_t languageIndex) {
  return folder + NotesSuffix(languageIndex);
}

std::wstring NotesCommand(const std::wstring& folder, std::int16_t languageIndex) {
  return L"write.exe \"" + NotesDocument(folder, languageIndex) + L"\"";
}

namespace {
std::wstring TwoDigits(int value) {
  wchar_t text[8];
  std::swprintf(text, 8, L"%02d", value % 100);
  return text;
}
}  // namespace

std::wstring LogDate(const SYSTEMTIME& day) {
  return TwoDigits(day.wDay) + TwoDigits(day.wMonth) + TwoDigits(day.wYear);
}

std::wstring LogTime(const SYSTEMTIME& clock) { return TwoDigits(clock.wHour) + TwoDigits(clock.wMinute); }

std::wstring LogSwitches(const std::wstring& winDir, const std::wstring& tag, const std::wstring& date,
                         const std::wstring& time) {
  // The quote after /v opens the one argument that the set-up passes on to
  // its installer engine; the quote after ".log" closes it.
  return L" /v\"/l* " + winDir + L"\\" + tag + date + time + L".log\"";
}

bool IsNotesTag(const std::wstring& ver) { return ver == L"H"; }

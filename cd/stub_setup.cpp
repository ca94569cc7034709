// A stand-in for a set-up program (or the word processor) on a demo or test
// CD. It appends the command line it received, exactly, in UTF-8, to
// "<its own path>.cmdline", one line per start, except on a CD-ROM, which
// cannot be written. The demo build also shows the line in a message box.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const wchar_t* line = GetCommandLineW();
  wchar_t path[32768] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, 32768);
  const wchar_t root[] = {path[0], L':', L'\\', L'\0'};
  if (n > 0 && n < 32000 && !(path[1] == L':' && GetDriveTypeW(root) == DRIVE_CDROM)) {
    std::wstring record = std::wstring(path, n) + L".cmdline";
    // Stand-ins started in quick succession append to the same record: one
    // at a time, as this Wine's appends from two processes can overwrite
    // each other's line.
    HANDLE turn = CreateMutexW(nullptr, FALSE, L"Local\\KorvaneStubRecord");
    if (turn) WaitForSingleObject(turn, 10000);
    HANDLE file = CreateFileW(record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      int bytes = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
      std::string utf8(bytes > 0 ? static_cast<size_t>(bytes) - 1 : 0, '\0');
      if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, line, -1, &utf8[0], bytes, nullptr, nullptr);
      utf8 += "\r\n";
      DWORD written = 0;
      WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
      CloseHandle(file);
    }
    if (turn) {
      ReleaseMutex(turn);
      CloseHandle(turn);
    }
  }
#ifdef STUB_SHOWS_COMMAND_LINE
  MessageBoxW(nullptr, line, L"Demo set-up: command line received", MB_OK | MB_ICONINFORMATION);
#endif
  return 0;
}

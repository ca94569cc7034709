// A stand-in for a set-up program (or the word processor) on a demo or test
// CD. It appends the command line it received, exactly, to "<its own path>.cmdline",
// one line per start, except on a CD-ROM, which cannot be written. The demo
// build also shows the line in a message box.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const char* line = GetCommandLineA();
  char path[MAX_PATH + 16] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const char root[] = {path[0], ':', '\\', '\0'};
  if (n > 0 && n < MAX_PATH && !(path[1] == ':' && GetDriveTypeA(root) == DRIVE_CDROM)) {
    std::strcat(path, ".cmdline");
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
      WriteFile(file, "\r\n", 2, &written, nullptr);
      CloseHandle(file);
    }
  }
#ifdef STUB_SHOWS_COMMAND_LINE
  MessageBoxA(nullptr, line, "Demo set-up: command line received", MB_OK | MB_ICONINFORMATION);
#endif
  return 0;
}

#include "tests/harness/CdFolder.h"

#include <windows.h>
#include <gtest/gtest.h>

#include "tests/harness/Desktop.h"
#include "tests/harness/paths.h"

namespace harness {

// Paths are UTF-8 here and go to the wide file functions, so that folders
// whose names the ANSI code page cannot hold work too.
namespace {
void MakeFolders(const std::string& path) {
  for (size_t pos = path.find('\\', 3); pos != std::string::npos; pos = path.find('\\', pos + 1))
    CreateDirectoryW(Wide(path.substr(0, pos).c_str()).c_str(), nullptr);
  CreateDirectoryW(Wide(path.c_str()).c_str(), nullptr);
}

const char* const kNotes[] = {"_ger", "_eng", "_fra", "_ita", "_spa"};
}  // namespace

bool CopyInto(const std::string& from, const std::string& to) {
  MakeFolders(to.substr(0, to.find_last_of('\\')));
  return CopyFileW(Wide(from.c_str()).c_str(), Wide(to.c_str()).c_str(), FALSE) != 0;
}

namespace {
void RemoveWideTree(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = path + L"\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveWideTree(full);
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(find, &fd));
    FindClose(find);
  }
  RemoveDirectoryW(path.c_str());
}
}  // namespace

void RemoveTree(const std::string& path) {
  // A program started from the folder by the last test may still be ending
  // and hold its file open for a moment.
  const std::wstring wide = Wide(path.c_str());
  for (int attempt = 0; attempt < 40; ++attempt) {
    RemoveWideTree(wide);
    if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES) return;
    Sleep(50);
  }
  ADD_FAILURE() << "the folder " << path << " could not be removed in 2 s";
}

CdFolder::CdFolder(const std::string& name, CdLayout layout) : path_(BuildPath("e2e\\" + name)) {
  RemoveTree(path_);
  MakeFolders(path_);
  auto copy = [](const std::string& from, const std::string& to) {
    if (!CopyInto(from, to)) ADD_FAILURE() << "the CD folder could not get " << to;
  };
  copy(LauncherExe(), Launcher());
  std::string stub = BuildPath("bin\\stub_setup.exe");
  if (layout.xmanagerSetup) copy(stub, path_ + "\\Xmanager\\DISK1\\setup.exe");
  if (layout.korvaneSetup) copy(stub, path_ + "\\Korvane6\\DISK1\\setup.exe");
  if (layout.writeStub) copy(stub, path_ + "\\write.exe");
  if (layout.notes) {
    for (const char* suffix : kNotes) {
      std::string rtf = std::string("{\\rtf1\\ansi Korvane 6 installation notes ") + suffix + "\\par}";
      if (!WriteFileText(path_ + "\\Korvane6 Installation" + suffix + ".rtf", rtf))
        ADD_FAILURE() << "the CD folder could not get its notes " << suffix;
    }
  }
}

CdFolder::~CdFolder() { RemoveTree(path_); }

std::string ReadFileText(const std::string& path) {
  std::string text;
  HANDLE file = CreateFileW(Wide(path.c_str()).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

bool WriteFileText(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileW(Wide(path.c_str()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

std::string CdFolder::RecordedCommandLines(const std::string& relative) const {
  std::string text = ReadFileText(path_ + "\\" + relative + ".cmdline");
  // One line per start, "\r\n" after each; keep "\n" between lines only.
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  if (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

}  // namespace harness

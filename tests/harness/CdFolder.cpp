#include "tests/harness/CdFolder.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "tests/harness/paths.h"

namespace harness {

namespace {
void MakeFolders(const std::string& path) {
  for (size_t pos = path.find('\\', 3); pos != std::string::npos; pos = path.find('\\', pos + 1))
    CreateDirectoryA(path.substr(0, pos).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

const char* const kNotes[] = {"_ger", "_eng", "_fra", "_ita", "_spa"};
}  // namespace

bool CopyInto(const std::string& from, const std::string& to) {
  MakeFolders(to.substr(0, to.find_last_of('\\')));
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string name = fd.cFileName;
      if (name == "." || name == "..") continue;
      std::string full = path + "\\" + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full);
      } else {
        SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(full.c_str());
      }
    } while (FindNextFileA(find, &fd));
    FindClose(find);
  }
  RemoveDirectoryA(path.c_str());
}

CdFolder::CdFolder(const std::string& name, CdLayout layout) : path_(BuildPath("e2e\\" + name)) {
  RemoveTree(path_);
  MakeFolders(path_);
  CopyInto(LauncherExe(), Launcher());
  std::string stub = BuildPath("bin\\stub_setup.exe");
  if (layout.xmanagerSetup) CopyInto(stub, path_ + "\\Xmanager\\DISK1\\setup.exe");
  if (layout.korvaneSetup) CopyInto(stub, path_ + "\\Korvane6\\DISK1\\setup.exe");
  if (layout.writeStub) CopyInto(stub, path_ + "\\write.exe");
  if (layout.notes) {
    for (const char* suffix : kNotes) {
      std::ofstream rtf(path_ + "\\Korvane6 Installation" + suffix + ".rtf", std::ios::binary);
      rtf << "{\\rtf1\\ansi Korvane 6 installation notes " << suffix << "\\par}";
    }
  }
}

CdFolder::~CdFolder() { RemoveTree(path_); }

std::string CdFolder::RecordedCommandLines(const std::string& relative) const {
  std::ifstream in(path_ + "\\" + relative + ".cmdline", std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  std::string text = all.str();
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

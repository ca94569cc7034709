// A CD folder for one test: the launcher beside stand-in set-up programs that
// record the command line they were started with, and the notes documents.
// Paths are UTF-8 (so a folder may have any name), with backslashes.
#pragma once
#include <string>

namespace harness {

struct CdLayout {
  bool xmanagerSetup = true;  // Xmanager\DISK1\setup.exe
  bool korvaneSetup = true;   // Korvane6\DISK1\setup.exe
  bool writeStub = false;     // write.exe beside the launcher, found first by the program search
  bool notes = true;          // the five "Korvane6 Installation_xxx.rtf"
};

class CdFolder {
 public:
  // Made fresh under <build>\e2e\, named `name` (blanks allowed).
  explicit CdFolder(const std::string& name, CdLayout layout = {});
  ~CdFolder();  // removes the whole folder
  CdFolder(const CdFolder&) = delete;
  CdFolder& operator=(const CdFolder&) = delete;

  const std::string& Path() const { return path_; }  // no trailing backslash
  std::string Launcher() const { return path_ + "\\Korvane6Menu.exe"; }
  // Lines recorded by the stub at `relative` (e.g. "Korvane6\\DISK1\\setup.exe"),
  // one per start, without line ends; empty when it never ran.
  std::string RecordedCommandLines(const std::string& relative) const;

 private:
  std::string path_;
};

// Copies a built file; creates the target's folders. False on failure.
bool CopyInto(const std::string& from, const std::string& to);
// Deletes a folder and everything below it.
void RemoveTree(const std::string& path);
// A whole file's bytes ("" when it cannot be read), and writing them.
std::string ReadFileText(const std::string& path);
bool WriteFileText(const std::string& path, const std::string& bytes);

}  // namespace harness

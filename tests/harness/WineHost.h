// What some tests need of the machine below Wine: a drive letter for a
// folder (to run the launcher from the root of a drive) and another screen
// size (to run it on a narrow screen). Both are undone when the object goes.
#pragma once
#include <string>
#include <vector>

namespace harness {

// Runs a program of the host system and waits for it. False when it could not be run.
bool RunHostProgram(const std::vector<std::string>& argv);

// The host's path for a Windows path, or "" when there is none.
std::string HostPath(const std::string& windowsPath);

// A free drive letter that shows `folder` at its root, as a link in the
// prefix's dosdevices folder. (This Wine accepts DefineDosDeviceA but then
// finds no file through the new letter.)
class DriveLetter {
 public:
  explicit DriveLetter(const std::string& folder);
  ~DriveLetter();
  DriveLetter(const DriveLetter&) = delete;
  DriveLetter& operator=(const DriveLetter&) = delete;

  bool Ok() const { return !root_.empty(); }
  const std::string& Root() const { return root_; }  // e.g. "K:\"

 private:
  std::string link_;
  std::string root_;
};

// A CD image shown to Wine as a CD-ROM drive: its files extracted into a
// folder that cannot be written (cd/mount_cd.sh), under a free drive letter
// of type CD-ROM, defined through Wine's mount manager as its configuration
// tool does it, with the image itself as the drive's device.
class CdromDrive {
 public:
  // Host paths of the image and of the folder to show it in.
  CdromDrive(const std::string& isoHostPath, const std::string& folderHostPath);
  ~CdromDrive();
  CdromDrive(const CdromDrive&) = delete;
  CdromDrive& operator=(const CdromDrive&) = delete;

  bool Ok() const { return !root_.empty(); }
  const std::string& Failure() const { return failure_; }
  const std::string& Root() const { return root_; }  // e.g. "D:\"

 private:
  bool Define(char letter, const std::string& mountPoint, const std::string& device);
  std::string folder_;
  char letter_ = 0;
  std::string root_;
  std::string failure_;
};

// The primary screen switched to width x height for the object's lifetime,
// through a real mode change of the X screen below Wine (the mode is added to
// the X server first when it lacks it), so that every program sees that size.
// A test that needs the usual screen says so with ScreenSize(1024, 768): the
// suite's tests share one screen.
class ScreenSize {
 public:
  ScreenSize(int width, int height);
  ~ScreenSize();  // back to the size it found, and waits until the screen shows it
  ScreenSize(const ScreenSize&) = delete;
  ScreenSize& operator=(const ScreenSize&) = delete;

  bool Ok() const { return ok_; }
  const std::string& Failure() const { return failure_; }

 private:
  bool changed_ = false;
  bool ok_ = false;
  int oldWidth_ = 0, oldHeight_ = 0;
  std::string failure_;
};

}  // namespace harness

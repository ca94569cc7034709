// Host programs are started through Wine's own __wine_unix_spawnvp, host
// paths come from wine_get_unix_file_name: both are exported by Wine for
// exactly such uses.
#include "tests/harness/WineHost.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <cstdio>
#include <cstring>

namespace harness {

namespace {

using SpawnFn = LONG(__cdecl*)(char* const argv[], int wait);
using UnixNameFn = char*(__cdecl*)(const wchar_t* dosName);

// The X server of the test display (Xvfb) only knows the size it started
// with; xrandr adds another one to its first connected output.
bool AddXMode(int width, int height) {
  char script[512];
  std::snprintf(script, sizeof script,
                "o=$(xrandr | awk '/ connected/{print $1; exit}'); "
                "xrandr --newmode %dx%d %d %d %d %d %d %d %d %d %d 2>/dev/null; xrandr --addmode \"$o\" %dx%d",
                width, height, width * height * 60 / 1000000 + 1, width, width + 40, width + 80, width + 160, height,
                height + 3, height + 6, height + 30, width, height);
  return RunHostProgram({"/bin/sh", "-c", script});
}

}  // namespace

bool RunHostProgram(const std::vector<std::string>& argv) {
  auto spawn = reinterpret_cast<SpawnFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "__wine_unix_spawnvp")));
  if (!spawn || argv.empty()) return false;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  return spawn(args.data(), 1) == 0;
}

std::string HostPath(const std::string& windowsPath) {
  auto unixName = reinterpret_cast<UnixNameFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return std::string();
  std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* name = unixName(wide.c_str());
  if (!name) return std::string();
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

DriveLetter::DriveLetter(const std::string& folder) {
  // The C: drive is itself a link in the dosdevices folder: ".../dosdevices/c:/".
  std::string cDrive = HostPath("C:\\");
  std::string target = HostPath(folder);
  std::string::size_type at = cDrive.rfind("/c:");
  if (target.empty() || at == std::string::npos) return;
  std::string dosdevices = cDrive.substr(0, at + 1);
  DWORD used = GetLogicalDrives();
  for (char letter = 'k'; letter <= 'y'; ++letter) {
    if (used & (1u << (letter - 'a'))) continue;
    std::string link = dosdevices + letter + ":";
    if (!RunHostProgram({"/bin/ln", "-s", target, link})) continue;
    link_ = link;
    std::string root = std::string(1, static_cast<char>(letter - 'a' + 'A')) + ":\\";
    if (GetFileAttributesA(root.c_str()) != INVALID_FILE_ATTRIBUTES) root_ = root;
    return;
  }
}

DriveLetter::~DriveLetter() {
  if (!link_.empty()) RunHostProgram({"/bin/rm", "-f", link_});
}

namespace {

// Wine's own extension of the mount manager's interface (Wine's
// include/ddk/mountmgr.h): define or remove a drive letter for a Unix folder.
const DWORD kDefineUnixDrive = CTL_CODE('m', 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

#pragma pack(push, 8)
struct UnixDrive {
  ULONG size;
  ULONG type;  // DRIVE_CDROM; DRIVE_NO_ROOT_DIR removes the letter
  ULONG fsType;
  DWORD serial;
  ULONGLONG unixDev;
  WCHAR letter;
  USHORT mountPointOffset;  // Unix paths, NUL-terminated, after the record
  USHORT deviceOffset;
  USHORT labelOffset;
};
#pragma pack(pop)

const char kMountScript[] = KORVANE_SOURCE_DIR "/cd/mount_cd.sh";

}  // namespace

CdromDrive::CdromDrive(const std::string& isoHostPath, const std::string& folderHostPath) : folder_(folderHostPath) {
  if (!RunHostProgram({"/bin/bash", kMountScript, isoHostPath, folder_})) {
    failure_ = "cd/mount_cd.sh could not show the image in " + folder_;
    return;
  }
  DWORD used = GetLogicalDrives();
  for (char letter = 'd'; letter <= 'y' && !letter_; ++letter)
    if (!(used & (1u << (letter - 'a'))) && Define(letter, folder_, isoHostPath)) letter_ = letter;
  if (!letter_) {
    failure_ = "the mount manager defined no CD-ROM drive (error " + std::to_string(GetLastError()) + ")";
    return;
  }
  root_ = std::string(1, static_cast<char>(letter_ - 'a' + 'A')) + ":\\";
}

CdromDrive::~CdromDrive() {
  if (letter_) Define(letter_, "", "");
  RunHostProgram({"/bin/bash", kMountScript, "--remove", folder_});
}

bool CdromDrive::Define(char letter, const std::string& mountPoint, const std::string& device) {
  std::vector<char> buffer(sizeof(UnixDrive) + mountPoint.size() + device.size() + 2);
  auto* drive = reinterpret_cast<UnixDrive*>(buffer.data());
  drive->size = static_cast<ULONG>(buffer.size());
  drive->type = mountPoint.empty() ? DRIVE_NO_ROOT_DIR : DRIVE_CDROM;
  drive->letter = static_cast<WCHAR>(letter);
  if (!mountPoint.empty()) {
    drive->mountPointOffset = static_cast<USHORT>(sizeof(UnixDrive));
    drive->deviceOffset = static_cast<USHORT>(sizeof(UnixDrive) + mountPoint.size() + 1);
    std::memcpy(buffer.data() + drive->mountPointOffset, mountPoint.c_str(), mountPoint.size() + 1);
    std::memcpy(buffer.data() + drive->deviceOffset, device.c_str(), device.size() + 1);
  }
  HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  DWORD returned = 0;
  BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr, 0,
                            &returned, nullptr);
  CloseHandle(manager);
  return ok != FALSE;
}

namespace {

// CDS_FULLSCREEN: for now only, the registry keeps the size to return to.
LONG SetScreen(int width, int height) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = static_cast<DWORD>(width);
  mode.dmPelsHeight = static_cast<DWORD>(height);
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  return ChangeDisplaySettingsExA(nullptr, &mode, nullptr, CDS_FULLSCREEN, nullptr);
}

bool ScreenIs(int width, int height) {
  return GetSystemMetrics(SM_CXSCREEN) == width && GetSystemMetrics(SM_CYSCREEN) == height;
}

bool WaitForScreen(int width, int height) {
  for (int i = 0; i < 40 && !ScreenIs(width, height); ++i) Sleep(50);
  return ScreenIs(width, height);
}

}  // namespace

ScreenSize::ScreenSize(int width, int height)
    : oldWidth_(GetSystemMetrics(SM_CXSCREEN)), oldHeight_(GetSystemMetrics(SM_CYSCREEN)) {
  if (oldWidth_ == width && oldHeight_ == height) {
    ok_ = true;
    return;
  }
  LONG r = SetScreen(width, height);
  if (r == DISP_CHANGE_BADMODE) {
    if (!AddXMode(width, height)) {
      failure_ = "xrandr could not be run";
      return;
    }
    // Wine learns of the new mode from the X server's notification, a moment later.
    for (int i = 0; i < 60 && r == DISP_CHANGE_BADMODE; ++i) {
      Sleep(50);
      r = SetScreen(width, height);
    }
  }
  changed_ = r == DISP_CHANGE_SUCCESSFUL;
  ok_ = changed_ && WaitForScreen(width, height);
  if (!changed_)
    failure_ = "ChangeDisplaySettingsEx gave " + std::to_string(r);
  else if (!ok_)
    failure_ = "the screen shows " + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + " x " +
               std::to_string(GetSystemMetrics(SM_CYSCREEN)) + " after the change";
}

// The next test starts at once and shares the screen: it must find the size
// back. Should the registry's size not bring it back, the size found is set
// again by hand.
ScreenSize::~ScreenSize() {
  if (!changed_) return;
  ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);
  if (!WaitForScreen(oldWidth_, oldHeight_)) {
    SetScreen(oldWidth_, oldHeight_);
    // The next test would find another screen than the one it asked for.
    if (!WaitForScreen(oldWidth_, oldHeight_))
      ADD_FAILURE() << "the screen could not be put back to " << oldWidth_ << " x " << oldHeight_ << ": it shows "
                    << GetSystemMetrics(SM_CXSCREEN) << " x " << GetSystemMetrics(SM_CYSCREEN);
  }
}

}  // namespace harness

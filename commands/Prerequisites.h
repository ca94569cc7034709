// What a machine needs before a set-up may start: no WinaXe for Xmanager;
// for Korvane 6 a recent enough Windows and Internet Explorer, a network
// adapter bound to TCP/IP and (as a warning only) a screen 1024 pixels wide.
// Every check only reads the registry or the screen metrics and answers with
// the lines of its message, or nothing when it passes.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "registry/clsLxRegistry.h"

// A message: the string bases of its lines, each shown at base + LanguageIndex.
using MessageLines = std::vector<int>;

// The key that WinaXe's own installation creates (its maker is LabF).
inline constexpr char kWinaXeKey[] = "Software\\LabF.com\\WinaXe\\";
inline constexpr char kCurrentVersionKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr char kInternetExplorerKey[] = "Software\\Microsoft\\Internet Explorer";
inline constexpr char kNetworkCardsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\NetworkCards\\";
inline constexpr char kServicesKey[] = "System\\CurrentControlSet\\Services\\";

// The registry view that the checks read. The X server that blocks Xmanager
// is a 32-bit program, so on 64-bit Windows its key lies in the 32-bit view,
// where the 32-bit release finds it without asking; the x86_64 build asks for
// that view. The release passes no flag: Windows 2000 does not know it.
#ifdef _WIN64
inline constexpr REGSAM kCheckedView = KEY_WOW64_32KEY;
#else
inline constexpr REGSAM kCheckedView = 0;
#endif

inline constexpr long long kLowestBuild = 2195;                   // Windows 2000
inline constexpr long long kLowestInternetExplorerBuild = 54134;  // Internet Explorer 5.5
inline constexpr int kLowestScreenWidth = 1024;

// Each gives the refusal's lines, or nullopt when the check passes.
std::optional<MessageLines> XServerCheck(clsLxRegistry& reg);
std::optional<MessageLines> OperatingSystemCheck(clsLxRegistry& reg);
std::optional<MessageLines> InternetExplorerCheck(clsLxRegistry& reg);
std::optional<MessageLines> NetworkAdapterCheck(clsLxRegistry& reg);
// The warning's lines for a screen narrower than 1024 pixels, or nullopt.
std::optional<MessageLines> ResolutionCheck(std::int16_t screenWidthPixels);

// The lines in the language, joined by CR LF, no line break at the end.
std::wstring ComposeMessage(const MessageLines& lines, std::int16_t languageIndex);

// The text of the first setting named exactly Name (case-sensitive), "" when
// none is. nullopt is a failure: no collection was given, or the matching
// setting has no text form (an array); callers skip it.
std::optional<std::string> FindSettingValue(const std::optional<std::vector<clsLxRegSetting>>& Settings,
                                            const std::string& Name);

// The value of a whole number written as an optional sign and decimal digits,
// or nullopt for any other text. Numbers too large for 64 bits are held at
// +/- 10^18: far beyond every threshold, so comparisons stay right.
std::optional<long long> WholeNumber(const std::string& text);

// The leading part of Internet Explorer's Build: the text before its first
// ".", or its first five characters when it has none.
std::string BuildLeadingPart(const std::string& build);

// True when the leading part is plain decimal digits whose number is below
// 54134. Any other leading part (letters, empty, a sign) passes.
bool InternetExplorerTooOld(const std::string& build);

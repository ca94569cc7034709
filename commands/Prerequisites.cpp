// The prerequisite checks of the two installation commands.
#include "commands/Prerequisites.h"

#include "registry/clsLxError.h"
#include "resources/resource.h"
#include "toolkit/Resources.h"

namespace {

const MessageLines kWinaXeInstalled = {IDS_WINAXE_FIRST, IDS_XMAN_CANNOT};
const MessageLines kOldWindows = {IDS_OS_TOO_OLD, IDS_KORV_CANNOT};
const MessageLines kNoInternetExplorer = {IDS_IE_MISSING, IDS_IE_NEWER, IDS_KORV_CANNOT};
const MessageLines kOldInternetExplorer = {IDS_IE_TOO_OLD, IDS_IE_NEWER, IDS_KORV_CANNOT};
const MessageLines kNoAdapter = {IDS_NO_TCPIP, IDS_KORV_CANNOT};
const MessageLines kLowResolution = {IDS_RES_TOO_LOW, IDS_RES_HIGHER};

const HKEY kMachine = HKEY_LOCAL_MACHINE;

// A setting's data as text; nullopt for kinds without one (arrays, binary data).
std::optional<std::string> SettingText(const clsLxRegSetting& setting) {
  try {
    return setting.Setting().AsText();
  } catch (const LxRaisedError&) {
    return std::nullopt;
  }
}

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace

std::optional<long long> WholeNumber(const std::string& text) {
  const long long kHeld = 1000000000000000000LL;
  bool negative = !text.empty() && text[0] == '-';
  std::string digits = !text.empty() && (text[0] == '-' || text[0] == '+') ? text.substr(1) : text;
  if (!AllDigits(digits)) return std::nullopt;
  long long value = 0;
  for (char c : digits) {
    const int digit = c - '0';
    // Held before the next digit could reach 10^18, so nothing overflows.
    if (value > (kHeld - 1 - digit) / 10) {
      value = kHeld;
      break;
    }
    value = value * 10 + digit;
  }
  return negative ? -value : value;
}

std::string BuildLeadingPart(const std::string& build) {
  std::string::size_type dot = build.find('.');
  return dot != std::string::npos ? build.substr(0, dot) : build.substr(0, 5);
}

bool InternetExplorerTooOld(const std::string& build) {
  std::string lead = BuildLeadingPart(build);
  if (!AllDigits(lead)) return false;  // not numeric: passes
  return *WholeNumber(lead) < kLowestInternetExplorerBuild;
}

std::optional<std::string> FindSettingValue(const std::optional<std::vector<clsLxRegSetting>>& Settings,
                                            const std::string& Name) {
  if (!Settings) return std::nullopt;
  for (const clsLxRegSetting& setting : *Settings)
    if (setting.SettingName() == Name) return SettingText(setting);
  return std::string();
}

std::optional<MessageLines> XServerCheck(clsLxRegistry& reg) {
  // The key alone counts, even without sub-keys or values.
  if (reg.GetSubSectionNames(kMachine, kWinaXeKey)) return kWinaXeInstalled;
  return std::nullopt;
}

std::optional<MessageLines> OperatingSystemCheck(clsLxRegistry& reg) {
  auto setting = reg.ReadSetting(kMachine, kCurrentVersionKey, "CurrentBuildNumber");
  if (!setting) return kOldWindows;
  // A build that is not a whole number is as good as none.
  std::optional<std::string> text = SettingText(*setting);
  std::optional<long long> build = text ? WholeNumber(*text) : std::nullopt;
  if (!build || *build < kLowestBuild) return kOldWindows;
  return std::nullopt;
}

std::optional<MessageLines> InternetExplorerCheck(clsLxRegistry& reg) {
  // Version must exist; its text is not looked at.
  if (!reg.ReadSetting(kMachine, kInternetExplorerKey, "Version")) return kNoInternetExplorer;
  auto build = reg.ReadSetting(kMachine, kInternetExplorerKey, "Build");
  if (!build) return kNoInternetExplorer;
  std::optional<std::string> text = SettingText(*build);
  if (!text) return kNoInternetExplorer;
  if (InternetExplorerTooOld(*text)) return kOldInternetExplorer;
  return std::nullopt;
}

std::optional<MessageLines> NetworkAdapterCheck(clsLxRegistry& reg) {
  bool adapterFound = false;
  auto cards = reg.GetSubSectionNames(kMachine, kNetworkCardsKey);
  if (!cards) return kNoAdapter;
  // Every card is visited, also after one has been found.
  for (const std::string& card : *cards) {
    std::string serviceName;
    // A card whose key or ServiceName cannot be read keeps the empty name.
    if (auto value = FindSettingValue(reg.GetAllSettings(kMachine, kNetworkCardsKey + card), "ServiceName"))
      serviceName = *value;
    if (serviceName.empty()) continue;
    if (reg.GetAllSettings(kMachine, kServicesKey + serviceName + "\\Parameters\\Tcpip")) adapterFound = true;
  }
  if (!adapterFound) return kNoAdapter;
  return std::nullopt;
}

std::optional<MessageLines> ResolutionCheck(std::int16_t screenWidthPixels) {
  if (screenWidthPixels < kLowestScreenWidth) return kLowResolution;
  return std::nullopt;
}

std::wstring ComposeMessage(const MessageLines& lines, std::int16_t languageIndex) {
  std::wstring text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += L"\r\n";
    text += tk::LoadResString(lines[i] + languageIndex);
  }
  return text;
}

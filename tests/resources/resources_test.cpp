// Loads the built Korvane6Menu.exe as a data file and checks every resource
// it must carry: the 75 strings, the 26 pictures, the hover sound, the two
// icon groups, the version block and the manifest. The version is the one
// this build generated from project(VERSION) into version.h.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "resources/resource.h"
#include "tests/harness/CallSite.h"
#include "tests/harness/paths.h"
#include "version.h"

namespace {

const WORD kEnglishUS = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

std::wstring Widen(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, &out[0], n);
  return out;
}

// Little-endian fields of a resource's bytes.
uint32_t U16(const std::string& s, size_t at) { return uint8_t(s[at]) | uint8_t(s[at + 1]) << 8; }
uint32_t U32(const std::string& s, size_t at) { return U16(s, at) | U16(s, at + 2) << 16; }

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD lang, LONG_PTR list) {
  reinterpret_cast<std::vector<WORD>*>(list)->push_back(lang);
  return TRUE;
}

// The strings exactly as the window and the message boxes must show them:
// base + 0 to 4 hold the German, English, French, Italian and Spanish text.
struct ExpectedStrings {
  UINT base;
  const char *de, *en, *fr, *it, *es;  // UTF-8
};
const ExpectedStrings kStrings[] = {
    {100, " Installations CD - KORVANE 6", " Installation CD - KORVANE 6", " CD d'installation - KORVANE 6",
     " CD d'installazione - KORVANE 6", " CD instalación - KORVANE 6"},
    {210, "&Xmanager installieren", "&Xmanager installation", "&Installation de Xmanager", "&Installazione Xmanager",
     "&Instalación Xmanager"},
    {220, "&KORVANE 6  installieren", "&KORVANE 6  installation", "&Installation de KORVANE 6",
     "&Installazione  KORVANE 6", "&Instalación  KORVANE 6"},
    {230, "&Hilfe", "&Help", "&Aide", "&Guida", "&Ayuda"},
    {240, "&Beenden", "&Exit", "&Quitter", "&Esci", "&Salida"},
    {250, "Die Betriebssystemanforderungen sind nicht erfüllt (WIN2000 SP2 aufwärts).",
     "The system requirements are not fulfilled (WIN2000 SP2 or up).",
     "Système d'exploitation non conforme (WIN2000 SP2 ou plus).",
     "I requisiti del sistema non sono realizzati (WIN2000 SP2 in sú).",
     "Los requisitos del sistema no son realizados (WIN2000 SP2 o más alto)."},
    {260, "Auf diesem Rechner ist eine alte Version von MS Internet Explorer installiert.",
     "An older Version of MS Internet Explorer is installed on this PC.",
     "la version actuelle de MS Internet Explorer est trop ancienne !",
     "Su questo PC e stata rilevata una vecchia versione di MS Internet Explorer",
     "En este PC ha instalado una versión antigua del MS Internet Explorer ."},
    {270, "Bitte, installieren Sie zuerst eine neuere Version von IE (IE 5.5 oder später).",
     "Please, install first a newer version of IE (IE 5.5 or later).",
     "Installer d'abord une nouvelle version de IE (IE 5.5 ou plus).",
     "Prego, installate prima una recente versione di IE (IE 5.5 o dopo).",
     "Por favour, instale primero una versión reciente de IE (IE 5.5 o tarde)."},
    {280, "Keine Netzwerkkarte mit TCP/IP Protokoll gefunden.",
     "No Ethernet Network Adapter with TCP/IP protocol was found.",
     "Aucune carte réseau avec protocolle TCP/IP n´a été trouvé.",
     "Non e stato rilevato nessun adattatore per Ethernet Network con protocollo TCP/IP .",
     "No ha encontrado ningún adaptador de Ethernet red con protocolo TCP/IP ."},
    {290, "Die Installation von Korvane kann nicht durchgeführt werden !!",
     "The Korvane installation cannot be executed !!", "L'installation de Korvane ne peut pas avoir lieu !!",
     "L'installazione di Korvane non puo essere eseguita !!", "La instalación de Korvane no puede ejecutarla !!"},
    {300, "Auf diesem Rechner ist kein MS Internet Explorer installiert.",
     "MS Internet Explorer is not installed on this PC.",
     "Aucune version de MS Internet Explorer n'est installée sur ce PC !",
     "Su questo PC non e stata rilevata nessuna versione di MS Internet Explorer",
     "En este PC no ha instalado ninguna versión del MS Internet Explorer ."},
    {310, "Bildschirmaufloesung muss mindestens 1024x768 sein !!",
     "Screen resolution must be set to 1024x768 minimum !!",
     "La résolution graphique minimale doit être de : 1024x768 !!",
     "La risoluzione dello schermo deve essere minima 1024x768 !!",
     "La resolución de la pantalla tiene que ser al menos de 1024x768 !!"},
    {320, "Bitte, stellen Sie zuerst eine hoehere Bildschirmaufloesung ein.",
     "Select a higher screen resolution before continuing.", "Veuillez augmenter la résolution graphique.",
     "Prima di continuare scégliete una risoluzione piú alta.",
     "Primero, ajuste usted una resolución más alta, por favour."},
    {330, "Bitte, deinstallieren Sie zuerst den alten X-server WinaXe.",
     "Please, deinstall first the old X-Server WinaXe.", "Svp, deinstall d'abord la vielle version de X-Server WinaXe.",
     "Prego, deinstallate prima il precedente X-Server WinaXe.", "Por favour, deinstale primero el X-Server WinaXe."},
    {340, "Die Installation von Xmanager kann nicht durchgeführt werden !!",
     "The Xmanager installation cannot be executed !!", "L'installation de Xmanager ne peut pas avoir lieu !!",
     "L'installazione di Xmanager non puo essere eseguita !!", "La instalación de Xmanager no puede ejecutarla !!"},
};

// The table by identifier; a repeated identifier leaves it short of 75.
std::map<UINT, std::string> Catalogue() {
  std::map<UINT, std::string> all;
  for (const ExpectedStrings& row : kStrings) {
    UINT id = row.base;
    for (const char* text : {row.de, row.en, row.fr, row.it, row.es}) all.emplace(id++, text);
  }
  return all;
}

// A bitmap resource: a 40-byte header, then the rows of a bottom-up 24-bit DIB.
struct Picture {
  UINT id;
  LONG width, height;
  std::string bytes{};
  LONG stride = (width * 3 + 3) & ~3;
  // (x, y) counted from the top left, as 0xRRGGBB.
  uint32_t At(LONG x, LONG y) const {
    const size_t p = 40 + (height - 1 - y) * stride + 3 * x;
    return uint32_t(uint8_t(bytes[p + 2])) << 16 | uint8_t(bytes[p + 1]) << 8 | uint8_t(bytes[p]);
  }
  size_t Count(uint32_t rgb) const {
    size_t n = 0;
    for (LONG y = 0; y < height; ++y)
      for (LONG x = 0; x < width; ++x) n += At(x, y) == rgb;
    return n;
  }
  void ExpectWhiteCorners() const {
    for (LONG x : {0L, width - 1})
      for (LONG y : {0L, height - 1}) EXPECT_EQ(At(x, y), 0xFFFFFFu) << "bitmap " << id << " corner " << x << "," << y;
  }
};

// The header, then each panel in the five languages; not yet loaded.
std::vector<Picture> AllPictures() {
  std::vector<Picture> all = {{IDB_HEADER, 478, 87}};
  for (UINT base : {IDB_PANEL_WELCOME, IDB_PANEL_XMAN, IDB_PANEL_KORV, IDB_PANEL_HELP, IDB_PANEL_EXIT})
    for (UINT language = 0; language < 5; ++language) all.push_back({base + language, 298, 229});
  return all;
}

}  // namespace

class Resources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = LoadLibraryExA(harness::LauncherExe().c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  static void TearDownTestSuite() { FreeLibrary(module_); }
  void SetUp() override {
    ASSERT_NE(module_, nullptr) << "cannot load " << harness::LauncherExe() << " as data file, error "
                                << GetLastError();
  }

  // A zero buffer size makes LoadStringW return a pointer into the resource:
  // the full, untruncated text with its exact length.
  static std::wstring String(UINT id) {
    const wchar_t* text = nullptr;
    int length = LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
  }

  // Every language under which the resource is stored.
  static std::vector<WORD> Languages(LPCSTR type, UINT id) {
    std::vector<WORD> langs;
    EnumResourceLanguagesA(module_, type, MAKEINTRESOURCEA(id), CollectLanguage, reinterpret_cast<LONG_PTR>(&langs));
    return langs;
  }

  // The bytes of a resource that must be stored under `lang` and no other
  // language; empty when it is missing.
  static std::string Resource(LPCSTR type, UINT id, WORD lang, harness::CallSite at = harness::CallSite::Here()) {
    const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
    EXPECT_EQ(Languages(type, id), std::vector<WORD>{lang}) << "languages of resource " << id;
    HRSRC info = FindResourceExA(module_, type, MAKEINTRESOURCEA(id), lang);
    HGLOBAL loaded = info ? LoadResource(module_, info) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return data ? std::string(data, SizeofResource(module_, info)) : std::string();
  }

  // Reads the picture's bitmap and checks its DIB header; fails the test otherwise.
  static void Load(Picture* pic, harness::CallSite at = harness::CallSite::Here()) {
    const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
    SCOPED_TRACE("bitmap " + std::to_string(pic->id));
    pic->bytes = Resource(RT_BITMAP, pic->id, kEnglishUS);
    ASSERT_GE(pic->bytes.size(), sizeof(BITMAPINFOHEADER)) << "missing or short under language 1033";
    BITMAPINFOHEADER h;
    std::memcpy(&h, pic->bytes.data(), sizeof h);
    // The height is positive: bottom-up. No colour table.
    ASSERT_EQ(std::make_tuple(h.biSize, h.biWidth, h.biHeight, h.biPlanes, h.biBitCount, h.biCompression, h.biClrUsed),
              std::make_tuple(DWORD(40), pic->width, pic->height, WORD(1), WORD(24), DWORD(BI_RGB), DWORD(0)))
        << "size, width, height, planes, bits per pixel, compression, colours used";
    ASSERT_GE(pic->bytes.size(), 40u + pic->stride * pic->height) << "pixel data";
  }

  static inline HMODULE module_ = nullptr;
};

TEST_F(Resources, EveryStringHasItsExactText) {
  const std::map<UINT, std::string> all = Catalogue();
  ASSERT_EQ(all.size(), 75u);
  for (const auto& s : all)
    EXPECT_EQ(String(s.first), Widen(s.second.c_str())) << "string " << s.first << ": expected \"" << s.second << "\"";
}

TEST_F(Resources, NoStringsBesideTheCatalogue) {
  const std::map<UINT, std::string> all = Catalogue();
  std::vector<UINT> unexpected;
  for (UINT id = 0; id < 1000; ++id)
    if (!all.count(id) && !String(id).empty()) unexpected.push_back(id);
  EXPECT_EQ(unexpected, std::vector<UINT>{}) << "strings that are not in the table";
}

TEST_F(Resources, StringBlocksAreEnglishUS) {
  // Strings are stored in blocks of 16: block n holds identifiers 16(n-1)..16n-1.
  for (UINT id : {100u, 210u, 250u, 300u, 344u})
    EXPECT_EQ(Languages(RT_STRING, id / 16 + 1), std::vector<WORD>{kEnglishUS}) << "string block of " << id;
}

TEST_F(Resources, AllTwentySixAre24BitBottomUpDibs) {
  std::vector<Picture> all = AllPictures();
  ASSERT_EQ(all.size(), 26u);
  for (Picture& pic : all) Load(&pic);
}

TEST_F(Resources, PanelsAreWhiteWithDarkRedText) {
  for (Picture& pic : AllPictures()) {
    if (pic.id == IDB_HEADER) continue;
    ASSERT_NO_FATAL_FAILURE(Load(&pic));
    pic.ExpectWhiteCorners();
    // The heading and the text use the two dark reds, on a mostly white background.
    EXPECT_GE(pic.Count(0x8C0A0A), 50u) << "panel " << pic.id << ": pixels of #8C0A0A";
    EXPECT_GE(pic.Count(0x800000), 50u) << "panel " << pic.id << ": pixels of #800000";
    EXPECT_GE(pic.Count(0xFFFFFF), size_t(pic.width * pic.height) / 2) << "panel " << pic.id << ": white pixels";
  }
}

TEST_F(Resources, EveryPanelIsItsOwnPicture) {
  std::map<std::string, UINT> seen;  // pixels, and the first bitmap that has them
  for (Picture& pic : AllPictures()) {
    ASSERT_NO_FATAL_FAILURE(Load(&pic));
    auto first = seen.emplace(pic.bytes.substr(40, pic.stride * pic.height), pic.id).first;
    EXPECT_EQ(first->second, pic.id) << "bitmaps " << first->second << " and " << pic.id << " are identical";
  }
}

TEST_F(Resources, HeaderIsWhiteWithRedLettering) {
  Picture pic{IDB_HEADER, 478, 87};
  ASSERT_NO_FATAL_FAILURE(Load(&pic));
  pic.ExpectWhiteCorners();
  EXPECT_GE(pic.Count(0xFF0000) + pic.Count(0xE20000), 1000u) << "header: pixels of #FF0000 or #E20000";
  EXPECT_EQ(pic.Count(0x8C0A0A) + pic.Count(0x800000), 0u) << "header uses the panels' dark red";
}

TEST_F(Resources, ClickSoundIsTheFixedRiffLayout) {
  const std::string wav = Resource("WAV", IDR_WAV_CLICK, kEnglishUS);
  ASSERT_EQ(wav.size(), 11876u) << "size of the WAV resource (0: missing)";
  ASSERT_EQ(wav.substr(0, 4), "RIFF");
  ASSERT_EQ(U32(wav, 4), 11866u) << "RIFF size field";
  ASSERT_EQ(wav.substr(8, 4), "WAVE");

  // Walk the chunk list the way a player does.
  std::vector<std::pair<std::string, uint32_t>> chunks;  // identifier and size
  std::vector<size_t> data;                              // where each chunk's data starts
  const size_t end = 8 + U32(wav, 4);
  for (size_t at = 12; at + 8 <= end;) {
    const uint32_t size = U32(wav, at + 4);
    chunks.emplace_back(wav.substr(at, 4), size);
    data.push_back(at + 8);
    at += 8 + size + (size & 1);
    ASSERT_LE(at, end) << "chunk \"" << chunks.back().first << "\" runs past the RIFF chunk";
  }
  ASSERT_EQ(chunks, (std::vector<std::pair<std::string, uint32_t>>{{"fmt ", 16}, {"PAD ", 4044}, {"data", 7778}}));

  const size_t fmt = data[0];
  EXPECT_EQ(std::make_tuple(U16(wav, fmt), U16(wav, fmt + 2), U32(wav, fmt + 4), U32(wav, fmt + 8), U16(wav, fmt + 12),
                            U16(wav, fmt + 14)),
            std::make_tuple(1u, 1u, 44100u, 88200u, 2u, 16u))
      << "fmt: format tag, channels, samples/s, bytes/s, block align, bits/sample";

  EXPECT_TRUE(std::all_of(&wav[data[1]], &wav[data[1] + 4044], [](char b) { return b == 0; })) << "PAD not zero";
  EXPECT_EQ(wav.substr(11874), std::string(2, '\0')) << "the two trailing bytes";

  std::vector<int16_t> samples(3889);
  std::memcpy(samples.data(), &wav[data[2]], 7778);
  int loudest = 0;
  for (int16_t s : samples) loudest = std::max(loudest, std::abs(int(s)));
  EXPECT_GE(loudest, 2000) << "the sound is (nearly) silent";
  // It fades out to near silence, so that the end does not click.
  for (size_t i = samples.size() - 20; i < samples.size(); ++i)
    EXPECT_LE(std::abs(int(samples[i])), 64) << "sample " << i << " of " << samples.size();
}

TEST_F(Resources, IconGroupsHoldOne16x16Image256Colours) {
  std::vector<std::string> images;
  for (const auto& icon : {std::make_pair(IDI_PROGRAM, IDI_PROGRAM_IMAGE), {IDI_WINDOW, IDI_WINDOW_IMAGE}}) {
    SCOPED_TRACE("icon group " + std::to_string(icon.first));
    // Three WORDs (reserved, type, count), then 14-byte entries: width and
    // height BYTEs, ..., bit count at 6, image bytes at 8, image identifier at 12.
    std::string group = Resource(RT_GROUP_ICON, icon.first, kNeutral);
    ASSERT_EQ(group.size(), 6u + 14u) << "(0: missing under the neutral language)";
    ASSERT_EQ(std::make_tuple(U16(group, 0), U16(group, 2), U16(group, 4)), std::make_tuple(0u, 1u, 1u))
        << "reserved, type, count";
    EXPECT_EQ(std::make_tuple(uint8_t(group[6]), uint8_t(group[7]), U16(group, 6 + 6), U16(group, 6 + 12)),
              std::make_tuple(uint8_t(16), uint8_t(16), 8u, uint32_t(icon.second)))
        << "width, height, bit count, image identifier";
    // The system's own reading of the directory agrees.
    EXPECT_EQ(LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(&group[0]), TRUE, 16, 16, 0), icon.second);

    std::string image = Resource(RT_ICON, icon.second, kNeutral);
    EXPECT_EQ(image.size(), U32(group, 6 + 8)) << "image size against its directory entry";
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER)) << "icon image " << icon.second << " missing or short";
    // The height covers the XOR image and the AND mask.
    EXPECT_EQ(std::make_tuple(U32(image, 4), U32(image, 8), U16(image, 14)), std::make_tuple(16u, 32u, 8u))
        << "biWidth, biHeight, biBitCount";
    // 40 + 256 colours + 16x16 bytes + 16 mask rows of 4 bytes.
    EXPECT_EQ(image.size(), 40u + 1024u + 256u + 64u);

    HICON handle = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(&image[0]), image.size(), TRUE, 0x00030000, 16, 16,
                                            LR_DEFAULTCOLOR);
    EXPECT_NE(handle, nullptr) << "the system cannot make an icon of image " << icon.second;
    if (handle) DestroyIcon(handle);
    images.push_back(image);
  }
  ASSERT_EQ(images.size(), 2u);
  EXPECT_NE(images[0], images[1]) << "the window's icon must differ from the program's";
}

TEST_F(Resources, VersionBlockNamesTheRelease) {
  EXPECT_EQ(Languages(RT_VERSION, VS_VERSION_INFO), std::vector<WORD>{kEnglishUS});
  std::wstring path = Widen(harness::LauncherExe().c_str());
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
  ASSERT_GT(size, 0u) << "no version block, error " << GetLastError();
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  const WORD parts[] = {KORVANE_VERSION_NUM};
  const std::pair<DWORD, DWORD> want(MAKELONG(parts[1], parts[0]), MAKELONG(parts[3], parts[2]));
  EXPECT_EQ(std::make_pair(fixed->dwFileVersionMS, fixed->dwFileVersionLS), want) << "file version MS, LS";
  EXPECT_EQ(std::make_pair(fixed->dwProductVersionMS, fixed->dwProductVersionLS), want) << "product version MS, LS";

  WORD* translation = nullptr;
  ASSERT_TRUE(
      VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(std::make_pair(translation[0], translation[1]), (std::make_pair<WORD, WORD>(0x0409, 1200)));

  const struct {
    const char* name;
    const char* want;
  } values[] = {{"FileVersion", KORVANE_VERSION_STR},
                {"ProductVersion", KORVANE_VERSION_STR},
                {"ProductName", u8"Korvane 6"},
                {"FileDescription", u8"Korvane 6 installation CD start menu"},
                {"OriginalFilename", u8"Korvane6Menu.exe"},
                {"InternalName", u8"Korvane6Menu.exe"},
                {"CompanyName", u8"Korvane Messtechnik GmbH"}};
  auto value = [&block](const char* name) {
    const std::wstring key = Widen((std::string("\\StringFileInfo\\040904B0\\") + name).c_str());
    wchar_t* text = nullptr;
    UINT chars = 0;
    EXPECT_TRUE(VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &chars))
        << "no value " << name << " under 040904B0";
    return text ? std::wstring(text, wcsnlen(text, chars)) : std::wstring();
  };
  for (const auto& v : values) EXPECT_EQ(value(v.name), Widen(v.want)) << v.name;
  EXPECT_NE(value("LegalCopyright"), L"") << "LegalCopyright is empty";
}

TEST(Version, ShownAsMajorTwoDigitMinorFourDigitPatch) {
  const unsigned parts[] = {KORVANE_VERSION_NUM};
  char shown[32];
  std::snprintf(shown, sizeof shown, "%u.%02u.%04u", parts[0], parts[1], parts[3]);
  EXPECT_STREQ(KORVANE_VERSION_STR, shown);
  EXPECT_EQ(parts[2], 0u) << "the third number of the version block";
}

TEST_F(Resources, ManifestCarriesTheBuildsVersion) {
  const std::string xml = Resource(RT_MANIFEST, 1, kNeutral);
  const std::regex program(R"re(name="Korvane\.InstallationCD\.Korvane6Menu"[^>]*version="([^"]*)")re");
  std::smatch identity;
  ASSERT_TRUE(std::regex_search(xml, identity, program)) << "the program's assemblyIdentity, with its version";
  const unsigned p[] = {KORVANE_VERSION_NUM};
  char want[64];
  std::snprintf(want, sizeof want, "%u.%u.%u.%u", p[0], p[1], p[2], p[3]);
  EXPECT_EQ(identity[1].str(), want);
}

TEST_F(Resources, ManifestRunsAsInvokerDpiUnawareWithCommonControls6) {
  const std::string xml = Resource(RT_MANIFEST, 1, kNeutral);
  ASSERT_NE(xml, "") << "manifest 1 missing";
  // Not DPI-aware: Windows scales the fixed pixel layout as a whole. Message
  // boxes with today's buttons. Supported: Vista, 7, 8, 8.1, 10 and 11.
  for (const char* text :
       {"level=\"asInvoker\"", "uiAccess=\"false\"", ">false</dpiAware>", ">true</gdiScaling>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "{e2011457-1546-43c5-a5fe-008deee3d3f0}",
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
    EXPECT_NE(xml.find(text), std::string::npos) << "expected in the manifest: " << text;
  for (const char* text : {">true</dpiAware>", "dpiAwareness"})
    EXPECT_EQ(xml.find(text), std::string::npos) << "not expected in the manifest: " << text;
}

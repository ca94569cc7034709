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
#include <set>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/harness/CallSite.h"
#include "tests/harness/paths.h"
#include "version.h"

namespace {

const WORD kEnglishUS = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

// The standard resource types, wide (the RT_ macros follow UNICODE, unset here).
const LPCWSTR kString = MAKEINTRESOURCEW(6);
const LPCWSTR kBitmap = MAKEINTRESOURCEW(2);
const LPCWSTR kIcon = MAKEINTRESOURCEW(3);
const LPCWSTR kGroupIcon = MAKEINTRESOURCEW(14);
const LPCWSTR kVersion = MAKEINTRESOURCEW(16);
const LPCWSTR kManifest = MAKEINTRESOURCEW(24);

std::wstring Widen(const char* utf8) {
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
  std::wstring out(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, &out[0], n);
  return out;
}

struct Blob {
  const BYTE* data = nullptr;
  DWORD size = 0;
};

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR list) {
  reinterpret_cast<std::vector<WORD>*>(list)->push_back(lang);
  return TRUE;
}

// The strings exactly as the window and the message boxes must show them.
struct ExpectedString {
  UINT id;
  const char* text;  // UTF-8
};
const ExpectedString kStrings[] = {
    {100, u8" Installations CD - KORVANE 6"},
    {101, u8" Installation CD - KORVANE 6"},
    {102, u8" CD d'installation - KORVANE 6"},
    {103, u8" CD d'installazione - KORVANE 6"},
    {104, u8" CD instalación - KORVANE 6"},
    {210, u8"&Xmanager installieren"},
    {211, u8"&Xmanager installation"},
    {212, u8"&Installation de Xmanager"},
    {213, u8"&Installazione Xmanager"},
    {214, u8"&Instalación Xmanager"},
    {220, u8"&KORVANE 6  installieren"},
    {221, u8"&KORVANE 6  installation"},
    {222, u8"&Installation de KORVANE 6"},
    {223, u8"&Installazione  KORVANE 6"},
    {224, u8"&Instalación  KORVANE 6"},
    {230, u8"&Hilfe"},
    {231, u8"&Help"},
    {232, u8"&Aide"},
    {233, u8"&Guida"},
    {234, u8"&Ayuda"},
    {240, u8"&Beenden"},
    {241, u8"&Exit"},
    {242, u8"&Quitter"},
    {243, u8"&Esci"},
    {244, u8"&Salida"},
    {250, u8"Die Betriebssystemanforderungen sind nicht erfüllt (WIN2000 SP2 aufwärts)."},
    {251, u8"The system requirements are not fulfilled (WIN2000 SP2 or up)."},
    {252, u8"Système d'exploitation non conforme (WIN2000 SP2 ou plus)."},
    {253, u8"I requisiti del sistema non sono realizzati (WIN2000 SP2 in sú)."},
    {254, u8"Los requisitos del sistema no son realizados (WIN2000 SP2 o más alto)."},
    {260, u8"Auf diesem Rechner ist eine alte Version von MS Internet Explorer installiert."},
    {261, u8"An older Version of MS Internet Explorer is installed on this PC."},
    {262, u8"la version actuelle de MS Internet Explorer est trop ancienne !"},
    {263, u8"Su questo PC e stata rilevata una vecchia versione di MS Internet Explorer"},
    {264, u8"En este PC ha instalado una versión antigua del MS Internet Explorer ."},
    {270, u8"Bitte, installieren Sie zuerst eine neuere Version von IE (IE 5.5 oder später)."},
    {271, u8"Please, install first a newer version of IE (IE 5.5 or later)."},
    {272, u8"Installer d'abord une nouvelle version de IE (IE 5.5 ou plus)."},
    {273, u8"Prego, installate prima una recente versione di IE (IE 5.5 o dopo)."},
    {274, u8"Por favour, instale primero una versión reciente de IE (IE 5.5 o tarde)."},
    {280, u8"Keine Netzwerkkarte mit TCP/IP Protokoll gefunden."},
    {281, u8"No Ethernet Network Adapter with TCP/IP protocol was found."},
    {282, u8"Aucune carte réseau avec protocolle TCP/IP n´a été trouvé."},
    {283, u8"Non e stato rilevato nessun adattatore per Ethernet Network con protocollo TCP/IP ."},
    {284, u8"No ha encontrado ningún adaptador de Ethernet red con protocolo TCP/IP ."},
    {290, u8"Die Installation von Korvane kann nicht durchgeführt werden !!"},
    {291, u8"The Korvane installation cannot be executed !!"},
    {292, u8"L'installation de Korvane ne peut pas avoir lieu !!"},
    {293, u8"L'installazione di Korvane non puo essere eseguita !!"},
    {294, u8"La instalación de Korvane no puede ejecutarla !!"},
    {300, u8"Auf diesem Rechner ist kein MS Internet Explorer installiert."},
    {301, u8"MS Internet Explorer is not installed on this PC."},
    {302, u8"Aucune version de MS Internet Explorer n'est installée sur ce PC !"},
    {303, u8"Su questo PC non e stata rilevata nessuna versione di MS Internet Explorer"},
    {304, u8"En este PC no ha instalado ninguna versión del MS Internet Explorer ."},
    {310, u8"Bildschirmaufloesung muss mindestens 1024x768 sein !!"},
    {311, u8"Screen resolution must be set to 1024x768 minimum !!"},
    {312, u8"La résolution graphique minimale doit être de : 1024x768 !!"},
    {313, u8"La risoluzione dello schermo deve essere minima 1024x768 !!"},
    {314, u8"La resolución de la pantalla tiene que ser al menos de 1024x768 !!"},
    {320, u8"Bitte, stellen Sie zuerst eine hoehere Bildschirmaufloesung ein."},
    {321, u8"Select a higher screen resolution before continuing."},
    {322, u8"Veuillez augmenter la résolution graphique."},
    {323, u8"Prima di continuare scégliete una risoluzione piú alta."},
    {324, u8"Primero, ajuste usted una resolución más alta, por favour."},
    {330, u8"Bitte, deinstallieren Sie zuerst den alten X-server WinaXe."},
    {331, u8"Please, deinstall first the old X-Server WinaXe."},
    {332, u8"Svp, deinstall d'abord la vielle version de X-Server WinaXe."},
    {333, u8"Prego, deinstallate prima il precedente X-Server WinaXe."},
    {334, u8"Por favour, deinstale primero el X-Server WinaXe."},
    {340, u8"Die Installation von Xmanager kann nicht durchgeführt werden !!"},
    {341, u8"The Xmanager installation cannot be executed !!"},
    {342, u8"L'installation de Xmanager ne peut pas avoir lieu !!"},
    {343, u8"L'installazione di Xmanager non puo essere eseguita !!"},
    {344, u8"La instalación de Xmanager no puede ejecutarla !!"},
};

// A bottom-up 24-bit DIB inside a bitmap resource.
struct Picture {
  const BITMAPINFOHEADER* header = nullptr;
  const BYTE* bits = nullptr;
  LONG stride = 0;
  // (x, y) counted from the top left, as 0xRRGGBB.
  uint32_t At(LONG x, LONG y) const {
    const BYTE* p = bits + (header->biHeight - 1 - y) * stride + 3 * x;
    return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
  }
  size_t Count(uint32_t rgb) const {
    size_t n = 0;
    for (LONG y = 0; y < header->biHeight; ++y)
      for (LONG x = 0; x < header->biWidth; ++x) n += At(x, y) == rgb;
    return n;
  }
};

struct ExpectedPicture {
  UINT id;
  LONG width, height;
};

std::vector<ExpectedPicture> AllPictures() {
  std::vector<ExpectedPicture> all = {{IDB_HEADER, 478, 87}};
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
  static void TearDownTestSuite() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(module_, nullptr) << "cannot load " << harness::LauncherExe() << " as data file, error "
                                << GetLastError();
  }

  static Blob Raw(LPCWSTR type, LPCWSTR name, WORD lang) {
    Blob blob;
    HRSRC info = FindResourceExW(module_, type, name, lang);
    if (!info) return blob;
    HGLOBAL loaded = LoadResource(module_, info);
    blob.data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    blob.size = blob.data ? SizeofResource(module_, info) : 0;
    return blob;
  }

  // Every language under which the resource is stored.
  static std::vector<WORD> Languages(LPCWSTR type, LPCWSTR name) {
    std::vector<WORD> langs;
    EnumResourceLanguagesW(module_, type, name, CollectLanguage, reinterpret_cast<LONG_PTR>(&langs));
    return langs;
  }

  // Checks the DIB header and hands out the pixels; fails the test otherwise.
  static void Load(const ExpectedPicture& want, Picture* pic, harness::CallSite at = harness::CallSite::Here()) {
    const ::testing::ScopedTrace caller(at.file, at.line, "called from here");
    Blob blob = Raw(kBitmap, MAKEINTRESOURCEW(want.id), kEnglishUS);
    ASSERT_NE(blob.data, nullptr) << "bitmap " << want.id << " missing under language 1033";
    ASSERT_GE(blob.size, sizeof(BITMAPINFOHEADER)) << "bitmap " << want.id;
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(blob.data);
    ASSERT_EQ(h->biSize, 40u) << "bitmap " << want.id << " header size";
    ASSERT_EQ(h->biWidth, want.width) << "bitmap " << want.id << " width";
    ASSERT_EQ(h->biHeight, want.height) << "bitmap " << want.id << " height (positive: bottom-up)";
    ASSERT_EQ(h->biPlanes, 1) << "bitmap " << want.id;
    ASSERT_EQ(h->biBitCount, 24) << "bitmap " << want.id << " bits per pixel";
    ASSERT_EQ(h->biCompression, static_cast<DWORD>(BI_RGB)) << "bitmap " << want.id;
    ASSERT_EQ(h->biClrUsed, 0u) << "bitmap " << want.id << " has a colour table";
    LONG stride = (want.width * 3 + 3) & ~3;
    ASSERT_GE(blob.size, 40u + stride * want.height) << "bitmap " << want.id << " pixel data";
    pic->header = h;
    pic->bits = blob.data + 40;
    pic->stride = stride;
  }

  static HMODULE module_;
};

HMODULE Resources::module_ = nullptr;

// ------------------------------------------------------------------ strings

TEST_F(Resources, EveryStringHasItsExactText) {
  ASSERT_EQ(sizeof kStrings / sizeof kStrings[0], 75u);
  for (const ExpectedString& s : kStrings) {
    const wchar_t* text = nullptr;
    // A zero buffer size returns a pointer into the resource: the full,
    // untruncated text with its exact length.
    int length = LoadStringW(module_, s.id, reinterpret_cast<LPWSTR>(&text), 0);
    std::wstring got = length > 0 ? std::wstring(text, length) : std::wstring();
    EXPECT_EQ(got, Widen(s.text)) << "string " << s.id << ": expected \"" << s.text << "\"";
  }
}

TEST_F(Resources, NoStringsBesideTheCatalogue) {
  std::set<UINT> known;
  for (const ExpectedString& s : kStrings) known.insert(s.id);
  for (UINT id = 0; id < 1000; ++id) {
    if (known.count(id)) continue;
    const wchar_t* text = nullptr;
    EXPECT_EQ(LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0), 0) << "unexpected string " << id;
  }
}

TEST_F(Resources, StringBlocksAreEnglishUS) {
  // Strings are stored in blocks of 16: block n holds identifiers 16(n-1)..16n-1.
  for (UINT id : {100u, 210u, 250u, 300u, 344u}) {
    WORD block = static_cast<WORD>(id / 16 + 1);
    EXPECT_EQ(Languages(kString, MAKEINTRESOURCEW(block)), std::vector<WORD>{kEnglishUS}) << "string block of " << id;
  }
}

// ----------------------------------------------------------------- pictures

TEST_F(Resources, AllTwentySixAre24BitBottomUpDibs) {
  std::vector<ExpectedPicture> all = AllPictures();
  ASSERT_EQ(all.size(), 26u);
  for (const ExpectedPicture& want : all) {
    Picture pic;
    Load(want, &pic);
    EXPECT_EQ(Languages(kBitmap, MAKEINTRESOURCEW(want.id)), std::vector<WORD>{kEnglishUS}) << "bitmap " << want.id;
  }
}

TEST_F(Resources, PanelsAreWhiteWithDarkRedText) {
  for (const ExpectedPicture& want : AllPictures()) {
    if (want.id == IDB_HEADER) continue;
    Picture pic;
    ASSERT_NO_FATAL_FAILURE(Load(want, &pic));
    const LONG w = want.width - 1, h = want.height - 1;
    for (auto corner : {std::make_pair(0L, 0L), {w, 0L}, {0L, h}, {w, h}})
      EXPECT_EQ(pic.At(corner.first, corner.second), 0xFFFFFFu)
          << "panel " << want.id << " corner (" << corner.first << "," << corner.second << ")";
    // The heading and the text use the two dark reds.
    EXPECT_GE(pic.Count(0x8C0A0A), 50u) << "panel " << want.id << ": pixels of #8C0A0A";
    EXPECT_GE(pic.Count(0x800000), 50u) << "panel " << want.id << ": pixels of #800000";
    // Mostly background.
    EXPECT_GE(pic.Count(0xFFFFFF), size_t(want.width * want.height) / 2) << "panel " << want.id << ": white pixels";
  }
}

TEST_F(Resources, EveryPanelIsItsOwnPicture) {
  std::vector<std::pair<UINT, std::string>> seen;
  for (const ExpectedPicture& want : AllPictures()) {
    Picture pic;
    ASSERT_NO_FATAL_FAILURE(Load(want, &pic));
    std::string pixels(reinterpret_cast<const char*>(pic.bits), pic.stride * want.height);
    for (const auto& other : seen)
      EXPECT_NE(other.second, pixels) << "bitmaps " << other.first << " and " << want.id << " are identical";
    seen.emplace_back(want.id, std::move(pixels));
  }
}

TEST_F(Resources, HeaderIsWhiteWithRedLettering) {
  Picture pic;
  ASSERT_NO_FATAL_FAILURE(Load({IDB_HEADER, 478, 87}, &pic));
  for (auto corner : {std::make_pair(0L, 0L), {477L, 0L}, {0L, 86L}, {477L, 86L}})
    EXPECT_EQ(pic.At(corner.first, corner.second), 0xFFFFFFu)
        << "header corner (" << corner.first << "," << corner.second << ")";
  size_t red = pic.Count(0xFF0000) + pic.Count(0xE20000);
  EXPECT_GE(red, 1000u) << "header: pixels of #FF0000 or #E20000";
  EXPECT_EQ(pic.Count(0x8C0A0A) + pic.Count(0x800000), 0u) << "header uses the panels' dark red";
}

// -------------------------------------------------------------------- sound

namespace {

uint16_t U16(const BYTE* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const BYTE* p) { return uint32_t(U16(p)) | uint32_t(U16(p + 2)) << 16; }

struct Chunk {
  std::string id;
  uint32_t size;
  size_t offset;  // of the chunk's data
};

}  // namespace

TEST_F(Resources, ClickSoundIsTheFixedRiffLayout) {
  EXPECT_EQ(Languages(L"WAV", MAKEINTRESOURCEW(IDR_WAV_CLICK)), std::vector<WORD>{kEnglishUS});
  Blob wav = Raw(L"WAV", MAKEINTRESOURCEW(IDR_WAV_CLICK), kEnglishUS);
  ASSERT_NE(wav.data, nullptr) << "resource WAV 101 missing";
  ASSERT_EQ(wav.size, 11876u) << "size of the WAV resource";
  const BYTE* d = wav.data;
  ASSERT_EQ(std::string(reinterpret_cast<const char*>(d), 4), "RIFF");
  ASSERT_EQ(U32(d + 4), 11866u) << "RIFF size field";
  ASSERT_EQ(std::string(reinterpret_cast<const char*>(d + 8), 4), "WAVE");

  // Walk the chunk list the way a player does.
  std::vector<Chunk> chunks;
  size_t end = 8 + U32(d + 4);
  for (size_t at = 12; at + 8 <= end;) {
    Chunk c{std::string(reinterpret_cast<const char*>(d + at), 4), U32(d + at + 4), at + 8};
    chunks.push_back(c);
    at = c.offset + c.size + (c.size & 1);
    ASSERT_LE(at, end) << "chunk \"" << c.id << "\" runs past the RIFF chunk";
  }
  const std::vector<std::pair<std::string, uint32_t>> expected = {{"fmt ", 16}, {"PAD ", 4044}, {"data", 7778}};
  ASSERT_EQ(chunks.size(), expected.size()) << "number of chunks";
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(chunks[i].id, expected[i].first) << "chunk " << i;
    EXPECT_EQ(chunks[i].size, expected[i].second) << "size of chunk \"" << chunks[i].id << "\"";
  }

  const BYTE* fmt = d + chunks[0].offset;
  const struct {
    const char* field;
    uint32_t got, want;
  } fields[] = {{"format tag", U16(fmt), 1},        {"channels", U16(fmt + 2), 1},
                {"samples/s", U32(fmt + 4), 44100}, {"bytes/s", U32(fmt + 8), 88200},
                {"block align", U16(fmt + 12), 2},  {"bits/sample", U16(fmt + 14), 16}};
  for (const auto& f : fields) EXPECT_EQ(f.got, f.want) << "fmt " << f.field;

  const BYTE* pad = d + chunks[1].offset;
  EXPECT_TRUE(std::all_of(pad, pad + 4044, [](BYTE b) { return b == 0; })) << "PAD not zero";
  EXPECT_EQ(d[11874], 0) << "first trailing byte";
  EXPECT_EQ(d[11875], 0) << "second trailing byte";

  std::vector<int16_t> samples(3889);
  std::memcpy(samples.data(), d + chunks[2].offset, 7778);
  int loudest = 0;
  for (int16_t s : samples) loudest = std::max(loudest, std::abs(int(s)));
  EXPECT_GE(loudest, 2000) << "the sound is (nearly) silent";
  // It fades out: the last milliseconds are close to silence, so the end
  // does not click.
  for (size_t i = samples.size() - 20; i < samples.size(); ++i)
    EXPECT_LE(std::abs(int(samples[i])), 64) << "sample " << i << " of " << samples.size();
}

// -------------------------------------------------------------------- icons

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14, "GRPICONDIRENTRY is 14 bytes");

struct ExpectedIcon {
  WORD group, image;
};
const ExpectedIcon kIcons[] = {{IDI_PROGRAM, IDI_PROGRAM_IMAGE}, {IDI_WINDOW, IDI_WINDOW_IMAGE}};

}  // namespace

TEST_F(Resources, IconGroupsHoldOne16x16Image256Colours) {
  std::vector<std::string> images;
  for (const ExpectedIcon& icon : kIcons) {
    SCOPED_TRACE("icon group " + std::to_string(icon.group));
    EXPECT_EQ(Languages(kGroupIcon, MAKEINTRESOURCEW(icon.group)), std::vector<WORD>{kNeutral});
    Blob group = Raw(kGroupIcon, MAKEINTRESOURCEW(icon.group), kNeutral);
    ASSERT_NE(group.data, nullptr) << "group missing under the neutral language";
    ASSERT_EQ(group.size, 6u + sizeof(GroupIconEntry));
    EXPECT_EQ(U16(group.data), 0) << "idReserved";
    EXPECT_EQ(U16(group.data + 2), 1) << "idType";
    ASSERT_EQ(U16(group.data + 4), 1) << "idCount";
    GroupIconEntry entry;
    std::memcpy(&entry, group.data + 6, sizeof entry);
    EXPECT_EQ(entry.width, 16);
    EXPECT_EQ(entry.height, 16);
    EXPECT_EQ(entry.bit_count, 8);
    EXPECT_EQ(entry.id, icon.image) << "image identifier";
    // The system's own reading of the directory agrees.
    EXPECT_EQ(LookupIconIdFromDirectoryEx(const_cast<BYTE*>(group.data), TRUE, 16, 16, 0), int(icon.image));

    EXPECT_EQ(Languages(kIcon, MAKEINTRESOURCEW(icon.image)), std::vector<WORD>{kNeutral});
    Blob image = Raw(kIcon, MAKEINTRESOURCEW(icon.image), kNeutral);
    ASSERT_NE(image.data, nullptr) << "icon image " << icon.image << " missing";
    EXPECT_EQ(image.size, entry.bytes) << "image size against its directory entry";
    ASSERT_GE(image.size, sizeof(BITMAPINFOHEADER));
    const auto* h = reinterpret_cast<const BITMAPINFOHEADER*>(image.data);
    EXPECT_EQ(h->biWidth, 16);
    EXPECT_EQ(h->biHeight, 32) << "XOR image and AND mask";
    EXPECT_EQ(h->biBitCount, 8);
    // 40 + 256 colours + 16x16 bytes + 16 mask rows of 4 bytes.
    EXPECT_EQ(image.size, 40u + 1024u + 256u + 64u);

    HICON handle =
        CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE, 0x00030000, 16, 16, LR_DEFAULTCOLOR);
    EXPECT_NE(handle, nullptr) << "the system cannot make an icon of image " << icon.image;
    if (handle) DestroyIcon(handle);
    images.emplace_back(reinterpret_cast<const char*>(image.data), image.size);
  }
  ASSERT_EQ(images.size(), 2u);
  EXPECT_NE(images[0], images[1]) << "the window's icon must differ from the program's";
}

// ------------------------------------------------------------ version block

TEST_F(Resources, VersionBlockNamesTheRelease) {
  EXPECT_EQ(Languages(kVersion, MAKEINTRESOURCEW(VS_VERSION_INFO)), std::vector<WORD>{kEnglishUS});
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
  const DWORD high = MAKELONG(parts[1], parts[0]), low = MAKELONG(parts[3], parts[2]);
  const struct {
    const char* field;
    DWORD got, want;
  } numbers[] = {{"file version MS", fixed->dwFileVersionMS, high},
                 {"file version LS", fixed->dwFileVersionLS, low},
                 {"product version MS", fixed->dwProductVersionMS, high},
                 {"product version LS", fixed->dwProductVersionLS, low}};
  for (const auto& n : numbers)
    EXPECT_EQ(n.got, n.want) << n.field << ": expected 0x" << std::hex << n.want << " got 0x" << n.got;

  WORD* translation = nullptr;
  ASSERT_TRUE(
      VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  ASSERT_EQ(length, 4u);
  EXPECT_EQ(translation[0], 0x0409);
  EXPECT_EQ(translation[1], 1200);

  const struct {
    const wchar_t* name;
    const char* want;
  } values[] = {{L"FileVersion", KORVANE_VERSION_STR},
                {L"ProductVersion", KORVANE_VERSION_STR},
                {L"ProductName", u8"Korvane 6"},
                {L"FileDescription", u8"Korvane 6 installation CD start menu"},
                {L"OriginalFilename", u8"Korvane6Menu.exe"},
                {L"InternalName", u8"Korvane6Menu.exe"},
                {L"CompanyName", u8"Korvane Messtechnik GmbH"}};
  for (const auto& v : values) {
    std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + v.name;
    wchar_t* text = nullptr;
    UINT chars = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), key.c_str(), reinterpret_cast<void**>(&text), &chars))
        << "no value " << std::string(v.name, v.name + wcslen(v.name)) << " under 040904B0";
    std::wstring got(text, wcsnlen(text, chars));
    EXPECT_EQ(got, Widen(v.want)) << std::string(v.name, v.name + wcslen(v.name));
  }
  wchar_t* copyright = nullptr;
  EXPECT_TRUE(VerQueryValueW(block.data(), L"\\StringFileInfo\\040904B0\\LegalCopyright",
                             reinterpret_cast<void**>(&copyright), &length) &&
              length > 1)
      << "LegalCopyright missing or empty";
}

TEST(Version, ShownAsMajorTwoDigitMinorFourDigitPatch) {
  const unsigned parts[] = {KORVANE_VERSION_NUM};
  char shown[32];
  std::snprintf(shown, sizeof shown, "%u.%02u.%04u", parts[0], parts[1], parts[3]);
  EXPECT_STREQ(KORVANE_VERSION_STR, shown);
  EXPECT_EQ(parts[2], 0u) << "the third number of the version block";
}

// ----------------------------------------------------------------- manifest

TEST_F(Resources, ManifestCarriesTheBuildsVersion) {
  Blob blob = Raw(kManifest, MAKEINTRESOURCEW(1), kNeutral);
  ASSERT_NE(blob.data, nullptr) << "manifest 1 missing";
  std::string xml(reinterpret_cast<const char*>(blob.data), blob.size);
  size_t identity = xml.find("name=\"Korvane.InstallationCD.Korvane6Menu\"");
  ASSERT_NE(identity, std::string::npos) << "the program's assemblyIdentity";
  const std::string key = "version=\"";
  size_t from = xml.find(key, identity);
  ASSERT_NE(from, std::string::npos) << "the program's assemblyIdentity has no version";
  from += key.size();
  std::string version = xml.substr(from, xml.find('"', from) - from);

  const unsigned parts[] = {KORVANE_VERSION_NUM};
  std::string want;
  for (unsigned part : parts) want += (want.empty() ? "" : ".") + std::to_string(part);
  EXPECT_EQ(version, want);
}

TEST_F(Resources, ManifestRunsAsInvokerDpiUnawareWithCommonControls6) {
  EXPECT_EQ(Languages(kManifest, MAKEINTRESOURCEW(1)), std::vector<WORD>{kNeutral});
  Blob blob = Raw(kManifest, MAKEINTRESOURCEW(1), kNeutral);
  ASSERT_NE(blob.data, nullptr) << "manifest 1 missing";
  std::string xml(reinterpret_cast<const char*>(blob.data), blob.size);
  const struct {
    const char* text;
    bool present;
  } needles[] = {
      {"level=\"asInvoker\"", true},
      {"uiAccess=\"false\"", true},
      // Not DPI-aware: Windows scales the fixed pixel layout as a whole.
      {">false</dpiAware>", true},
      {">true</dpiAware>", false},
      {"dpiAwareness", false},
      {">true</gdiScaling>", true},
      // Message boxes with today's buttons.
      {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", true},
      {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", true},  // Vista
      {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", true},  // 7
      {"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", true},  // 8
      {"{1f676c76-80e1-4239-95bb-83d0f6d0da78}", true},  // 8.1
      {"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", true},  // 10 and 11
  };
  for (const auto& n : needles)
    EXPECT_EQ(xml.find(n.text) != std::string::npos, n.present)
        << (n.present ? "expected in the manifest: " : "not expected in the manifest: ") << n.text;
}

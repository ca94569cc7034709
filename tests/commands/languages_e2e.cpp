// What depends on the system language beyond the string table: the notes
// document that Help opens, and one message written out in every language.
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/commands/E2e.h"
#include "tests/harness/CdFolder.h"
#include "tests/harness/Desktop.h"

using namespace harness;
using namespace e2e;

namespace {

const char* const kNotes[] = {"_ger", "_eng", "_fra", "_ita", "_spa"};

TEST(CommandLanguages, HelpOpensTheNotesOfTheLanguage) {
  CdFolder cd("languages", CdLayout{true, true, true, true});
  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  ClickAt(Picture(app, kHelp));
  std::string expected =
      "write.exe \"" + cd.Path() + "\\Korvane6 Installation" + kNotes[ExpectedLanguageIndex()] + ".rtf\"";
  EXPECT_EQ(WaitForRecord(cd, "write.exe"), expected);
  EXPECT_TRUE(app.Running()) << "Help leaves the menu open";
  EXPECT_EQ(FindWindowW(L"#32770", Title().c_str()), nullptr) << "Help shows no message";
}

// The old Internet Explorer refusal, word for word in each language.
const char* const kOldIe[] = {
    u8"Auf diesem Rechner ist eine alte Version von MS Internet Explorer installiert.\n"
    u8"Bitte, installieren Sie zuerst eine neuere Version von IE (IE 5.5 oder später).\n"
    u8"Die Installation von Korvane kann nicht durchgeführt werden !!",
    u8"An older Version of MS Internet Explorer is installed on this PC.\n"
    u8"Please, install first a newer version of IE (IE 5.5 or later).\n"
    u8"The Korvane installation cannot be executed !!",
    u8"la version actuelle de MS Internet Explorer est trop ancienne !\n"
    u8"Installer d'abord une nouvelle version de IE (IE 5.5 ou plus).\n"
    u8"L'installation de Korvane ne peut pas avoir lieu !!",
    u8"Su questo PC e stata rilevata una vecchia versione di MS Internet Explorer\n"
    u8"Prego, installate prima una recente versione di IE (IE 5.5 o dopo).\n"
    u8"L'installazione di Korvane non puo essere eseguita !!",
    u8"En este PC ha instalado una versión antigua del MS Internet Explorer .\n"
    u8"Por favour, instale primero una versión reciente de IE (IE 5.5 o tarde).\n"
    u8"La instalación de Korvane no puede ejecutarla !!",
};
const char* const kTitles[] = {
    u8" Installations CD - KORVANE 6",   u8" Installation CD - KORVANE 6", u8" CD d'installation - KORVANE 6",
    u8" CD d'installazione - KORVANE 6", u8" CD instalación - KORVANE 6",
};

TEST(CommandLanguages, OldInternetExplorerRefusalWordForWord) {
  CdFolder cd("languages");
  RegistrySeed seed;
  GoodMachine(seed);
  seed.SetString(kIe, "Build", "5");
  ASSERT_TRUE(seed.Ok()) << seed.Failure();
  LauncherProcess app(cd.Launcher());
  ASSERT_NE(app.WaitForMainWindow(), nullptr);
  ClickAt(Caption(app, kKorvane));
  HWND box = WaitForMessageBox(Wide(kTitles[ExpectedLanguageIndex()]));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Narrow(BoxText(box)), kOldIe[ExpectedLanguageIndex()]);
  PressOk(box);
  EXPECT_TRUE(app.WaitForExit(5000));
}

}  // namespace

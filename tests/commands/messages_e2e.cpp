// Every refusal of the commands as the user sees it in his language: the
// lines, the window title as the box's title, OK only, no icon. Run in
// several languages. (The narrow-screen warning is in tests/narrow/.)
#include <windows.h>
#include <gtest/gtest.h>

#include "tests/commands/E2e.h"

using namespace harness;
using namespace e2e;

namespace {

const CheckRow kRows[] = {
    {"WinaXe", kXmanager, [](RegistrySeed& s) { s.CreateKey(kWinaXe); }, kWinaXeRefusal},
    {"OldWindows", kKorvane, [](RegistrySeed& s) { s.SetString(kCurrentVersion, "CurrentBuildNumber", "1381"); },
     kOsRefusal},
    {"NoInternetExplorer", kKorvane, [](RegistrySeed& s) { s.DeleteValue(kIe, "Version"); }, kIeMissingRefusal},
    {"OldInternetExplorer", kKorvane, [](RegistrySeed& s) { s.SetString(kIe, "Build", "52614"); }, kIeOldRefusal},
    {"NoAdapter", kKorvane, [](RegistrySeed& s) { Cards(s, {kPlainService}); }, kAdapterRefusal},
};

class CheckMessages : public ::testing::TestWithParam<CheckRow> {};

TEST_P(CheckMessages, InTheSystemLanguage) { RunCheckRow(GetParam(), Caption); }

INSTANTIATE_TEST_SUITE_P(Rows, CheckMessages, ::testing::ValuesIn(kRows), RowName);

}  // namespace

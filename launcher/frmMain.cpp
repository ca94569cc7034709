// The main window's definition (its controls at their initial places, in twips) and its
// load and unload handlers.
#include "launcher/frmMain.h"

#include <string>

#include "commands/CommandLines.h"
#include "launcher/MenuColors.h"
#include "launcher/mdlLanguage.h"
#include "resources/resource.h"
#include "toolkit/Units.h"

namespace {

const COLORREF kGrey = 0x00C0C0C0;
const COLORREF kPanelGrey = 0x00F3F3F3;

// Client area at 5850 x 5355 twips from the screen's corner, 7560 x 5235 twips
// large until the load handler gives the window its outer size.
tk::FormDefinition Definition() {
  return tk::FormDefinition{
      std::to_wstring(IDS_TITLE), std::to_string(IDS_TITLE), {5850, 5355, 7560, 5235}, kWhite, IDI_WINDOW};
}

// The string base of entry i's caption (1..4), which its label keeps as Tag.
int CaptionBase(int i) {
  static const int bases[] = {IDS_CAPTION_XMAN, IDS_CAPTION_KORV, IDS_CAPTION_HELP, IDS_CAPTION_EXIT};
  return bases[i - 1];
}

// The picture base of panel k: 0 the welcome, then one per entry.
int PanelBase(int k) {
  static const int bases[] = {IDB_PANEL_WELCOME, IDB_PANEL_XMAN, IDB_PANEL_KORV, IDB_PANEL_HELP, IDB_PANEL_EXIT};
  return bases[k];
}

}  // namespace

tk::PictureBox& frmMain::NewPictureBox(tk::Container& parent, tk::TwipsRect rect, COLORREF back, std::string name,
                                       int id) {
  controls_.push_back(std::make_unique<tk::PictureBox>(parent, rect, back, std::move(name), id));
  return *controls_.back();
}

frmMain::frmMain()
    : tk::Form(Definition()),
      picHeader(NewPictureBox(*this, {0, 0, 7095, 1215}, kGrey, "picHeader", kIdHeader)),
      picBalken(NewPictureBox(*this, {0, 1305, 7170, 90}, kRed, "picBalken", kIdBalken)),
      picMend(NewPictureBox(*this, {0, 3135, 2700, 1695}, kRestingColor, "picMend", kIdMend)),
      picMexplain(NewPictureBox(*this, {2700, 1395, 4470, 3435}, kPanelGrey, "picMexplain", kIdMexplain)) {
  // Entries, their captions and strips; the layout gives them their final places.
  for (int i = 1; i <= 4; ++i) {
    double top = 1395 + 435.0 * (i - 1);
    auto& entry = NewPictureBox(*this, {0, top, 2700, 420}, kRestingColor, "picM(" + std::to_string(i) + ")", kIdM + i);
    picM.Set(i, entry);
    std::string base = std::to_string(CaptionBase(i));
    tk::FontSpec font = i == 1 ? tk::FontSpec{L"Verdana", 8.25, true} : tk::FontSpec{};
    // The caption until the layout gives the localized one.
    std::wstring placeholder = L"lblM(" + std::to_wstring(i) + L")   " + std::wstring(base.begin(), base.end());
    lblM.Set(i, entry.AddLabel({240, 105, 2460, 210}, placeholder, font, base));
    picMB.Set(i, NewPictureBox(*this, {0, top + 420, 2700, 15}, kRed, "picMB(" + std::to_string(i) + ")", kIdMB + i));
  }
  for (int k = 0; k <= 4; ++k)
    picMex.Set(k,
               NewPictureBox(*this, {2700, 1395, 4470, 3435}, kWhite, "picMex(" + std::to_string(k) + ")", kIdMex + k));

  // A click on an entry's picture or on its caption runs the entry's command.
  for (std::int16_t i = 1; i <= 4; ++i) {
    picM(i).Click = [this, i] { picM_Click(i); };
    lblM(i).Click = [this, i] { lblM_Click(i); };
  }
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
  WinDir = WindowsFolder();

  // The outer size is fixed in pixels at any DPI; the client area is what the
  // frame and the title bar leave of it.
  SetWidth(484 * tk::TwipsPerPixelX());
  SetHeight(347 * tk::TwipsPerPixelY());
  SetCaption(LocalizedText(Tag));
  SetScaleMode(tk::ScaleMode::Pixels);

  MenuLayout(*this);

  picHeader.SetPicture(tk::LoadResPicture(IDB_HEADER));
  for (int k = 0; k <= 4; ++k) picMex(k).SetPicture(tk::LoadResPicture(LocalizedId(PanelBase(k))));
  picMexplain.SetPicture(picMex(0).Picture());
}

void frmMain::Form_Unload() {
  // Releasing a tracker gives its control the previous window procedure back.
  for (auto* tracker : {&tmPicM1, &tmPicM2, &tmPicM3, &tmPicM4, &tmPicMB1, &tmPicMB2, &tmPicMB3, &tmPicMB4,
                        &tmPicBalken, &tmPicMend, &tmPicMexplain})
    tracker->reset();
}

// The menu layout: places the entries, their captions and strips, the filler
// and the explanation panel, gives the captions their text and font, and
// creates and arms the mouse trackers.
#include <cstdint>
#include <string>

#include "hover/clsTrackMouse.h"
#include "launcher/MenuColors.h"
#include "launcher/frmMain.h"
#include "launcher/mdlLanguage.h"
#include "toolkit/Units.h"

namespace {

const double kColumnWidth = 180;  // pixels, entries and the whole menu column
const double kEntryHeight = 28;
const double kStripHeight = 1;
const double kCaptionIndent = 240;  // twips inside the entry
const double kCaptionHeightFactor = 1.5;

// The running position is a 16-bit integer: every sum is taken to the
// nearest whole pixel, halves to the even neighbour.
std::int16_t Int16(double v) { return static_cast<std::int16_t>(tk::RoundHalfEven(v)); }

// Puts a box across the menu column at y, the given height; returns the y
// below it.
std::int16_t StackInColumn(tk::PictureBox& box, double height, std::int16_t y) {
  box.SetLeft(0);
  box.SetWidth(kColumnWidth);
  box.SetHeight(height);
  box.SetTop(y);
  return Int16(y + box.Height());
}

}  // namespace

void frmMain::MenuLayout(tk::Form& window) {
  Scheme = CurrentMenuScheme();
  MenuColor = Scheme.resting;

  std::int16_t y = Int16(picBalken.Top() + picBalken.Height());

  picMexplain.SetTop(y);
  picMexplain.SetLeft(kColumnWidth);
  picMexplain.SetWidth(window.ScaleWidth() - kColumnWidth);
  picMexplain.SetHeight(window.ScaleHeight() - y);
  picMexplain.SetBackColor(kWhite);
  picMexplain.SetVisible(true);

  for (int k = 0; k <= 4; ++k) picMex(k).SetVisible(false);

  for (int i = 1; i <= picM.UBound(); ++i) {
    tk::PictureBox& entry = picM(i);
    entry.SetBackColor(MenuColor);
    y = StackInColumn(entry, kEntryHeight, y);
    picMB(i).SetBackColor(Scheme.strip);
    y = StackInColumn(picMB(i), kStripHeight, y);

    // The caption lives in the entry's twips. Its height comes from the font
    // size as it is before the font changes below, read as pixels.
    tk::Label& caption = lblM(i);
    double pixelsHigh = tk::RoundHalfEven(caption.Font().size + 1) * kCaptionHeightFactor;
    caption.SetHeight(pixelsHigh * tk::TwipsPerPixelY());
    caption.SetLeft(kCaptionIndent);
    caption.SetTop(entry.Height() * tk::TwipsPerPixelY() / 2 - caption.Height() / 2);
    caption.SetCaption(LocalizedText(caption.Tag));
    caption.SetWidth(kColumnWidth * tk::TwipsPerPixelX() - caption.Left());
    caption.SetFontBold(true);
    caption.SetFontName(L"Verdana");
    caption.SetForeColor(Scheme.restingText);
  }

  picMend.SetBackColor(MenuColor);
  picMend.SetLeft(0);
  picMend.SetWidth(kColumnWidth);
  picMend.SetTop(y);
  picMend.SetHeight(window.ScaleHeight() - y);

  using Handler = void (frmMain::*)();
  struct Wiring {
    std::shared_ptr<clsTrackMouse>& tracker;
    tk::PictureBox& control;
    Handler over;
    Handler out;  // nullptr: leaving changes nothing
  };
  const Wiring wiring[] = {
      {tmPicM1, picM(1), &frmMain::tmPicM1_MouseOver, &frmMain::tmPicM1_MouseOut},
      {tmPicM2, picM(2), &frmMain::tmPicM2_MouseOver, &frmMain::tmPicM2_MouseOut},
      {tmPicM3, picM(3), &frmMain::tmPicM3_MouseOver, &frmMain::tmPicM3_MouseOut},
      {tmPicM4, picM(4), &frmMain::tmPicM4_MouseOver, &frmMain::tmPicM4_MouseOut},
      {tmPicMB1, picMB(1), &frmMain::tmPicMB1_MouseOver, &frmMain::tmPicMB1_MouseOut},
      {tmPicMB2, picMB(2), &frmMain::tmPicMB2_MouseOver, &frmMain::tmPicMB2_MouseOut},
      {tmPicMB3, picMB(3), &frmMain::tmPicMB3_MouseOver, &frmMain::tmPicMB3_MouseOut},
      {tmPicMB4, picMB(4), &frmMain::tmPicMB4_MouseOver, &frmMain::tmPicMB4_MouseOut},
      {tmPicBalken, picBalken, &frmMain::tmPicBalken_MouseOver, nullptr},
      {tmPicMend, picMend, &frmMain::tmPicMend_MouseOver, nullptr},
      {tmPicMexplain, picMexplain, &frmMain::tmPicMexplain_MouseOver, nullptr},
  };
  // All eleven exist and are subscribed before the first is armed.
  for (const Wiring& w : wiring) {
    w.tracker = std::make_shared<clsTrackMouse>();
    w.tracker->MouseOver = [this, h = w.over] { (this->*h)(); };
    if (w.out) w.tracker->MouseOut = [this, h = w.out] { (this->*h)(); };
  }
  for (const Wiring& w : wiring) w.tracker->SetTrackObject(&w.control);

  SoundStop = false;
}

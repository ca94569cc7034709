// The main window's answer to the pointer: the handlers of its eleven
// trackers' events. An entry under the resting pointer turns white, the panel
// explains it and the sound plays once per visit; the bar, the filler and the
// panel itself bring the neutral menu and the welcome picture back.
#include <windows.h>

#include "hover/mdlPlayWavRes.h"
#include "launcher/frmMain.h"
#include "resources/resource.h"

namespace {

// Paints the entries and the panel now: the sound that follows is
// synchronous and holds the window up while it plays, so the highlight must
// be on the screen before it starts, not after (checked by the hover tests).
void ShowNow(frmMain& form) {
  for (int k = 1; k <= 4; ++k) form.picM(k).Refresh();
  form.picMexplain.Refresh();
}

void HighlightEntry(frmMain& form, int entry) {
  for (int k = 1; k <= 4; ++k)
    if (k != entry) form.ShowEntry(k, false);
  form.ShowEntry(entry, true);
  form.picMexplain.SetPicture(form.picMex(entry).Picture());
  // Colours and picture first: the sound below blocks the window (~90 ms).
  ShowNow(form);
  if (form.SoundStop) return;
  // Set before the play, whether or not it can play: anything that
  // dispatches messages while it plays (a COM call of the shell's, say)
  // may bring this visit's MouseOver again, and that one stays silent.
  form.SoundStop = true;
  mdlPlayWavRes::PlayWavRes(IDR_WAV_CLICK);
}

void ResetMenu(frmMain& form) {
  for (int k = 1; k <= 4; ++k) form.ShowEntry(k, false);
  form.picMexplain.SetPicture(form.picMex(0).Picture());
  // SoundStop stays as it is: a reset plays nothing.
}

}  // namespace

void frmMain::ShowEntry(int Index, bool lit) {
  picM(Index).SetBackColor(lit ? Scheme.lit : MenuColor);
  lblM(Index).SetForeColor(lit ? Scheme.litText : Scheme.restingText);
}

void frmMain::tmPicM1_MouseOver() { HighlightEntry(*this, 1); }
void frmMain::tmPicM2_MouseOver() { HighlightEntry(*this, 2); }
void frmMain::tmPicM3_MouseOver() { HighlightEntry(*this, 3); }
void frmMain::tmPicM4_MouseOver() { HighlightEntry(*this, 4); }

// A strip lights its entry without the sound: coming down from the entry,
// the entry's MouseOut has just cleared SoundStop.
void frmMain::tmPicMB1_MouseOver() {
  SoundStop = true;
  tmPicM1_MouseOver();
}
void frmMain::tmPicMB2_MouseOver() {
  SoundStop = true;
  tmPicM2_MouseOver();
}
void frmMain::tmPicMB3_MouseOver() {
  SoundStop = true;
  tmPicM3_MouseOver();
}
void frmMain::tmPicMB4_MouseOver() {
  SoundStop = true;
  tmPicM4_MouseOver();
}

// Leaving an entry ends the visit: the next rest on it plays the sound again.
// The highlight stays where it is.
void frmMain::tmPicM1_MouseOut() { SoundStop = false; }
void frmMain::tmPicM2_MouseOut() { SoundStop = false; }
void frmMain::tmPicM3_MouseOut() { SoundStop = false; }
void frmMain::tmPicM4_MouseOut() { SoundStop = false; }
void frmMain::tmPicMB1_MouseOut() { tmPicM1_MouseOut(); }
void frmMain::tmPicMB2_MouseOut() { tmPicM2_MouseOut(); }
void frmMain::tmPicMB3_MouseOut() { tmPicM3_MouseOut(); }
void frmMain::tmPicMB4_MouseOut() { tmPicM4_MouseOut(); }

void frmMain::tmPicBalken_MouseOver() { ResetMenu(*this); }
void frmMain::tmPicMend_MouseOver() { ResetMenu(*this); }
void frmMain::tmPicMexplain_MouseOver() { ResetMenu(*this); }

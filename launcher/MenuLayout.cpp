// The menu layout: places the entries, their captions and strips, the filler
// and the explanation panel, and arms the mouse trackers.
#include "launcher/frmMain.h"

void frmMain::MenuLayout(tk::Form& /*window*/) {
  for (int k = 0; k <= 4; ++k) picMex(k).SetVisible(false);
}

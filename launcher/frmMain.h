// The main window: its controls, its window-level variables, and the
// handlers that hold the launcher's logic. The handlers live beside their
// subsystem: layout in launcher/MenuLayout.cpp, hover in hover/, commands in
// commands/.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "launcher/MenuColors.h"
#include "toolkit/Form.h"

class clsTrackMouse;

class frmMain : public tk::Form {
  // Owns every picture box; declared first so it exists before the controls.
  std::vector<std::unique_ptr<tk::PictureBox>> controls_;

 public:
  frmMain();
  ~frmMain() override;

  // ---- Window-level variables -------------------------------------------
  COLORREF MenuColor = 0;  // resting colour of the entries, 0x00BBGGRR
  MenuScheme Scheme{};     // the menu column's colours, MenuColor's among them
  bool SoundStop = false;  // true once the hover sound of this visit has played
  std::wstring WinDir;     // the Windows folder; installation logs go there

  // ---- Controls ------------------------------------------------------------
  // Control ids of the picture boxes' windows (GetDlgItem). An array's id is
  // its base plus the index.
  enum ControlId : int {
    kIdHeader = 100,
    kIdBalken = 101,
    kIdMend = 102,
    kIdMexplain = 103,
    kIdM = 110,    // + 1..4
    kIdMB = 120,   // + 1..4
    kIdMex = 130,  // + 0..4
  };
  tk::PictureBox& picHeader;
  tk::PictureBox& picBalken;
  tk::ControlArray<tk::PictureBox> picM;    // 1..4: the menu entries
  tk::ControlArray<tk::Label> lblM;         // 1..4: their captions, drawn on picM(i)
  tk::ControlArray<tk::PictureBox> picMB;   // 1..4: the one-pixel strip under each entry
  tk::PictureBox& picMend;                  // filler below the last entry
  tk::PictureBox& picMexplain;              // the visible explanation panel
  tk::ControlArray<tk::PictureBox> picMex;  // 0..4: hidden holders of the panel pictures

  // ---- Mouse trackers, created by MenuLayout, released at unload ----------
  std::shared_ptr<clsTrackMouse> tmPicM1, tmPicM2, tmPicM3, tmPicM4;
  std::shared_ptr<clsTrackMouse> tmPicMB1, tmPicMB2, tmPicMB3, tmPicMB4;
  std::shared_ptr<clsTrackMouse> tmPicBalken, tmPicMend, tmPicMexplain;

  // ---- Menu layout (launcher/MenuLayout.cpp) --------------------------------
  void MenuLayout(tk::Form& window);

  // ---- Hover feedback (hover/) ---------------------------------------------
  // Handlers of the trackers' events (hover/frmMain_Hover.cpp). An entry's
  // MouseOver highlights it and plays the sound once per visit; its strip's
  // highlights it silently; the bar, the filler and the panel reset the menu.
  void tmPicM1_MouseOver();
  void tmPicM2_MouseOver();
  void tmPicM3_MouseOver();
  void tmPicM4_MouseOver();
  void tmPicMB1_MouseOver();
  void tmPicMB2_MouseOver();
  void tmPicMB3_MouseOver();
  void tmPicMB4_MouseOver();
  void tmPicM1_MouseOut();
  void tmPicM2_MouseOut();
  void tmPicM3_MouseOut();
  void tmPicM4_MouseOut();
  void tmPicMB1_MouseOut();
  void tmPicMB2_MouseOut();
  void tmPicMB3_MouseOut();
  void tmPicMB4_MouseOut();
  void tmPicBalken_MouseOver();
  void tmPicMend_MouseOver();
  void tmPicMexplain_MouseOver();
  // Entry Index in its lit or its resting colours, caption included.
  void ShowEntry(int Index, bool lit);

  // ---- Commands (commands/) ------------------------------------------------
  // Click events of an entry's picture and of its caption; both run MenuAction.
  void picM_Click(std::int16_t Index);
  void lblM_Click(std::int16_t Index);
  // Starts a set-up program or the notes command. For every ver but "H" the
  // log switches are appended to AppNam first, and once the set-up is started
  // the window closes and the program ends. False when the process could not
  // be started (or the user declined the administrator consent that Windows
  // asked for); the window then stays as it was.
  bool ApplicationStart(std::wstring& AppNam, const std::wstring& ver);

 private:
  void MenuAction(const std::int16_t& Index);
  void InstallXmanager();
  void InstallKorvane();
  void OpenNotes();
  // A refusal's box, then the window closes and the program ends.
  [[noreturn]] void Refuse(const std::vector<int>& lines, const std::wstring& title);

 protected:
  void Form_Load() override;
  void Form_Unload() override;

 private:
  tk::PictureBox& NewPictureBox(tk::Container& parent, tk::TwipsRect rect, COLORREF back, std::string name, int id);
};

/* Identifiers of the launcher's resources, the one table of them. Included
   by the code and by the resource script, so it holds only preprocessor
   definitions; the generators read its "#define <name> <number>" lines
   (resource_ids.py), and the text sources name their items after them.

   Localized items sit at a base (a multiple of ten) plus LanguageIndex:
   +0 German, +1 English, +2 French, +3 Italian, +4 Spanish. */
#pragma once

#define KORVANE_LANGUAGES 5

/* String bases */
#define IDS_TITLE        100 /* window title, with its leading blank */
#define IDS_CAPTION_XMAN 210 /* menu entry 1: install Xmanager */
#define IDS_CAPTION_KORV 220 /* menu entry 2: install Korvane 6 */
#define IDS_CAPTION_HELP 230 /* menu entry 3: help */
#define IDS_CAPTION_EXIT 240 /* menu entry 4: exit */
#define IDS_OS_TOO_OLD   250
#define IDS_IE_TOO_OLD   260
#define IDS_IE_NEWER     270
#define IDS_NO_TCPIP     280
#define IDS_KORV_CANNOT  290
#define IDS_IE_MISSING   300
#define IDS_RES_TOO_LOW  310
#define IDS_RES_HIGHER   320
#define IDS_WINAXE_FIRST 330
#define IDS_XMAN_CANNOT  340

/* Bitmaps */
#define IDB_HEADER        100 /* 478 x 87, one for all languages */
#define IDB_PANEL_WELCOME 200 /* 298 x 229 each; then one per menu entry */
#define IDB_PANEL_XMAN    210
#define IDB_PANEL_KORV    220
#define IDB_PANEL_HELP    230
#define IDB_PANEL_EXIT    240

/* The hover sound: custom type "WAV" */
#define IDR_WAV_CLICK 101

/* Icons, each a group of one image: the program file's icon and the main
   window's own. */
#define IDI_PROGRAM       1
#define IDI_PROGRAM_IMAGE 30001
#define IDI_WINDOW        2
#define IDI_WINDOW_IMAGE  30002

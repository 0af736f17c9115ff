#pragma once

// Resources of the macro event list, the key sequence display and the bitmap menu; the programs
// that use these controls link ListAndMenuResources.rc.

// Borderless pop-up without controls, shared by bitmap menus and their sub-menus.
#define IDD_BMPMENU 144

// Borderless pop-ups of the name menus; each holds one list made at run time.
#define IDD_MACRONAMEMENU 150
#define IDD_PROFILENAMEMENU 152
#define IDD_MOREMENU 153

// 9 x 11 event pictures. A row's item value names its picture.
#define IDB_EVENT_BAR 137
#define IDB_EVENT_CARET 138
#define IDB_EVENT_RELEASE 148
#define IDB_EVENT_PRESS 149

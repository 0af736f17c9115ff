#pragma once

// Templates of the secondary dialogs: borderless pop-ups without controls, sized and filled from
// their skins when they are created. Dialogs of the same shape share a template.
#define IDD_EDITDELAY 130
#define IDD_XSHOOT 130
#define IDD_DPISHIFT 130
#define IDD_RENAMEPROFILE 132
#define IDD_KEYEX 134
#define IDD_MACROSEL 134
#define IDD_SINGLEKEY 154
#define IDD_WARNING 155
#define IDD_FWUPDATE 156
#define IDD_LAUNCHAPP 157
#define IDD_LAUNCHDIR 158
#define IDD_LAUNCHWWW 159

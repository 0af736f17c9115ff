#pragma once

// The main dialog's template and the program's icon.
#define IDD_LUCFG_DIALOG 102
#define IDR_MAINFRAME 128

#include "config/CLucfgDlg.h"

#include "config/ConfigResources.h"

CLucfgDlg::CLucfgDlg() : Dialog(IDD_LUCFG_DIALOG) {}

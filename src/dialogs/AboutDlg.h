// CAboutDlg: the program's name, version and credits.
#ifndef TETHRA_DIALOGS_ABOUTDLG_H
#define TETHRA_DIALOGS_ABOUTDLG_H

#include "fw/Dialog.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};

#endif

// Identifiers that belong to the framework layer rather than to Tethra.
// Plain #defines: resource.h includes this file and windres reads it too.
#ifndef TETHRA_FW_AFXRES_H
#define TETHRA_FW_AFXRES_H

#define AFX_IDS_APP_TITLE 57344
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define AFX_IDW_PANE_FIRST 0xE900
// "%d": the most characters a field takes, shown when a longer text is taken from it.
#define AFX_IDP_PARSE_STRING_SIZE 0xF113

// Messages a parent reflects back to the control that asked for the drawing.
#define WM_REFLECT_BASE 0xBC00

// A frame style bit that has no meaning to the window manager; kept so the
// frame is created with the style value the rest of the program expects.
#define FWS_ADDTOTITLE 0x00008000L

#endif

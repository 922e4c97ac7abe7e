// CTethraApp: the one application object. It starts the program, holds the
// settings path and the protected-start flag, and shows the about box.
#ifndef TETHRA_APP_TETHRAAPP_H
#define TETHRA_APP_TETHRAAPP_H

#include <string>

#include "fw/WinApp.h"

class CAboutDlg;

class CTethraApp : public CWinApp {
public:
    // True when the command line was "/protected": a restart during a protected lock.
    BOOL m_bProtected = FALSE;
    // The settings file, beside the executable; set once at start-up.
    std::string m_strSettingsPath;

    BOOL InitInstance() override;

    // Turns a password into its stored form and back (the same operation).
    static std::string ScramblePassword(std::string text);

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

protected:
    void ShowAboutBox();

private:
    static bool IsWin9xPlatform();
    // The open about box, null when none is: one at a time.
    static CAboutDlg* s_pAboutBox;
};

CTethraApp& TheApp();

#endif

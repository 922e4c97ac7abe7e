// CWinApp: the one application object, its start-up and its message loop.
#ifndef TETHRA_FW_WINAPP_H
#define TETHRA_FW_WINAPP_H

#include <windows.h>

#include <string>

#include "fw/CmdTarget.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    // What follows the program's name on the command line, blanks skipped.
    const char* m_lpCmdLine = "";
    // String 57344, or the executable's base name when that string is missing.
    std::string m_pszAppName;
    // The main window. Owned: deleted after the message loop has ended.
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return m_exitCode; }
    // Pumps messages until WM_QUIT; returns its exit code.
    virtual int Run();

    static const MessageMapEntry messageEntries[];
    static const MessageMap messageMap;
    const MessageMap* GetMessageMap() const override { return &messageMap; }

    // Sets the instance, command-line tail and title; called once before InitInstance.
    void InitApplication(HINSTANCE instance, const char* commandLine);
    // At the end of the program: destroys the main window, then deletes its object.
    void DeleteMainWnd();

protected:
    void OnAppExit();

private:
    int m_exitCode = 0;
};

// The program's entry, called from WinMain.
int AfxWinMain(HINSTANCE instance, const char* commandLine);

#endif

#include "fw/WinApp.h"

#include <iterator>

#include "fw/Afx.h"
#include "fw/AfxRes.h"
#include "fw/CommandLine.h"
#include "fw/Wnd.h"

namespace {

CWinApp* g_app = nullptr;

}  // namespace

const MessageMapEntry CWinApp::messageEntries[] = {
    OnCommandRow(ID_APP_EXIT, &CWinApp::OnAppExit),
};
const MessageMap CWinApp::messageMap = {&CCmdTarget::messageMap, messageEntries, std::size(messageEntries)};

CWinApp* AfxGetApp()
{
    return g_app;
}

CWinApp::CWinApp()
{
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

void CWinApp::InitApplication(HINSTANCE instance, const char* commandLine)
{
    m_hInstance = instance;
    m_lpCmdLine = CommandLineTail(commandLine);

    char title[256] = "";
    if (AfxLoadString(AFX_IDS_APP_TITLE, title, sizeof title) > 0) {
        m_pszAppName = title;
        return;
    }
    std::string path;
    AfxGetModulePath(&path);
    m_pszAppName = ModuleBaseName(path);
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    m_exitCode = static_cast<int>(msg.wParam);
    return ExitInstance();
}

void CWinApp::DeleteMainWnd()
{
    CWnd* main = m_pMainWnd;
    if (main == nullptr)
        return;
    // The window goes while the whole object still stands: its children's
    // last messages (WM_PARENTNOTIFY among them) reach a complete frame, not
    // one whose members are already destroyed. No longer the main window,
    // its end posts no second quit.
    m_pMainWnd = nullptr;
    main->DestroyWindow();
    delete main;
}

void CWinApp::OnAppExit()
{
    if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr)
        ::SendMessageA(m_pMainWnd->m_hWnd, WM_CLOSE, 0, 0);
}

int AfxWinMain(HINSTANCE instance, const char* commandLine)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    app->InitApplication(instance, commandLine);
    int code = app->InitInstance() ? app->Run() : app->ExitInstance();
    app->DeleteMainWnd();
    return code;
}

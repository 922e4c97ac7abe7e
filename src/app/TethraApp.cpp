#include "app/TethraApp.h"

#include <iterator>

#include "app/AppSettings.h"
#include "app/Platform.h"
#include "app/SettingsPath.h"
#include "dialogs/AboutDlg.h"
#include "frame/MainFrame.h"
#include "fw/Afx.h"
#include "fw/CommandLine.h"
#include "fw/Fault.h"
#include "lock/LockPanelDlg.h"
#include "res/resource.h"
#include "settings/PasswordStore.h"
#include "settings/RunKey.h"

CAboutDlg* CTethraApp::s_pAboutBox = nullptr;

const MessageMapEntry CTethraApp::messageEntries[] = {
    OnCommandRow(ID_APP_ABOUT, &CTethraApp::ShowAboutBox),
};
const MessageMap CTethraApp::messageMap = {&CWinApp::messageMap, messageEntries, std::size(messageEntries)};

CTethraApp& TheApp()
{
    return *static_cast<CTethraApp*>(AfxGetApp());
}

CSettingsFile AppSettings()
{
    return CSettingsFile(TheApp().m_strSettingsPath);
}

namespace {

// A fault ends the process; a lock in force would leave the pointer held and
// task switching off with no program to give them back. They go, as at any
// other end while locked; the protected-restart value stays, so a protected
// lock comes back at the next start.
void ReleaseLockOnFault()
{
    if (!CLockPanelDlg::IsLockInForce())
        return;
    Platform().ClipCursor(nullptr);
    Platform().SetScreenSaverRunning(FALSE);
}

}  // namespace

bool CTethraApp::IsWin9xPlatform()
{
    return Platform().GetPlatformId() == VER_PLATFORM_WIN32_WINDOWS;
}

BOOL CTethraApp::InitInstance()
{
    // Initially owned and never released: only a second instance's
    // ERROR_ALREADY_EXISTS matters, and the system drops it with the process.
    ::CreateMutexA(nullptr, TRUE, m_pszAppName.c_str());
    if (::GetLastError() == ERROR_ALREADY_EXISTS)
        return FALSE;
    AfxSetFaultHandler(ReleaseLockOnFault);

    Enable3dControlsStatic();

    if (!IsWin9xPlatform()) {
        AfxMessageBox(IDS_UNSUPPORTED_SYSTEM, MB_OK, 0);
        return FALSE;
    }

    // A cut path would name a settings file that is not ours; such a start
    // ends here, silently, before anything is read or written.
    std::string modulePath;
    if (!AfxGetModulePath(&modulePath))
        return FALSE;
    m_strSettingsPath = SettingsPathFor(modulePath);

    // With autorun and protected restart both on, the system starts two
    // copies and the first one wins. A start that finds this program's own
    // "VQS" value is therefore protected whatever its command line says:
    // the value exists only between a protected lock and its unlock.
    std::string restartCommand;
    m_bProtected = EqualsIgnoreAsciiCase(m_lpCmdLine, kProtectedSwitch) ||
                   (Platform().ReadRunValue(kProtectedRestartValue, &restartCommand) &&
                    IsOwnProtectedRestartCommand(restartCommand.c_str(), modulePath.c_str()));

    // The frame must be the main window before its window exists: its
    // creation may run the lock panel, which is owned by the main window.
    auto* frame = new CMainFrame(m_bProtected != FALSE);
    m_pMainWnd = frame;
    frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, nullptr);
    return TRUE;
}

std::string CTethraApp::ScramblePassword(std::string text)
{
    return ::ScramblePassword(text);
}

void CTethraApp::ShowAboutBox()
{
    if (s_pAboutBox != nullptr) {
        s_pAboutBox->BringToFront();
        return;
    }
    CAboutDlg about;
    s_pAboutBox = &about;
    about.DoModal();
    s_pAboutBox = nullptr;
}

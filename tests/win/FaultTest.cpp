// A fault in the real program while it is locked: the program ends with the
// exception's code, and the pointer and task switching are free again.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

namespace {

// The executable as Wine sees the build folder (its Z: drive is /).
std::string ProgramPath()
{
    std::string path = "Z:" TETHRA_EXE_PATH;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

// Asked as another program would. The query is Windows 98's, which the
// rules layer refuses for the tests' own calls; it is looked up instead.
// Wine keeps the answer for the rest of the process: ask once.
bool ScreenSaverRunning()
{
    using Query = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
    auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("user32.dll"), "SystemParametersInfoA")));
    BOOL running = FALSE;
    const UINT kGetScreenSaverRunning = 0x0072;
    return query != nullptr && query(kGetScreenSaverRunning, 0, &running, 0) && running;
}

bool PointerFree()
{
    RECT clip;
    ::GetClipCursor(&clip);
    return clip.left <= 0 && clip.top <= 0 && clip.right >= ::GetSystemMetrics(SM_CXSCREEN) &&
           clip.bottom >= ::GetSystemMetrics(SM_CYSCREEN);
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds)
{
    DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > milliseconds)
            return false;
        ::Sleep(50);
    }
    return true;
}

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        ::GetTempPathA(sizeof temp, temp);
        m_folder = std::string(temp) + "TethraFault" + std::to_string(::GetCurrentProcessId());
        ::CreateDirectoryA(m_folder.c_str(), nullptr);
        m_exe = m_folder + "\\Tethra.exe";
        m_ini = m_folder + "\\Tethra.INI";
        ASSERT_TRUE(::CopyFileA(ProgramPath().c_str(), m_exe.c_str(), FALSE)) << ProgramPath();
        ASSERT_TRUE(::WritePrivateProfileStringA("Option", "InitLock", "1", m_ini.c_str()));
    }

    void TearDown() override
    {
        if (m_process.hProcess != nullptr) {
            if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
                ::TerminateProcess(m_process.hProcess, 1);
            ::WaitForSingleObject(m_process.hProcess, 10000);
            ::CloseHandle(m_process.hThread);
            ::CloseHandle(m_process.hProcess);
        }
        // Whatever the program left behind must not reach the next test.
        ::ClipCursor(nullptr);
        ::SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
        ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, m_ini.c_str());
        ::DeleteFileA(m_ini.c_str());
        ::DeleteFileA(m_exe.c_str());
        ::RemoveDirectoryA(m_folder.c_str());
    }

    std::string m_folder;
    std::string m_exe;
    std::string m_ini;
    PROCESS_INFORMATION m_process = {};
};

TEST_F(FaultTest, AFaultWhileLockedEndsTheProgramWithThePointerAndTaskSwitchingFree)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + m_exe + "\"";
    ASSERT_TRUE(::CreateProcessA(m_exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                 m_folder.c_str(), &startup, &m_process));
    ASSERT_TRUE(WaitFor([] { return !PointerFree(); }, 30000)) << "the program did not lock at start";

    // A thread of the program jumps to an address with no code: an access
    // violation nothing in the program handles.
    auto nowhere = reinterpret_cast<LPTHREAD_START_ROUTINE>(static_cast<uintptr_t>(0x10));
    HANDLE thread = ::CreateRemoteThread(m_process.hProcess, nullptr, 0, nowhere, nullptr, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ::CloseHandle(thread);

    ASSERT_EQ(::WaitForSingleObject(m_process.hProcess, 20000), WAIT_OBJECT_0) << "the program did not end";
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.hProcess, &code);
    EXPECT_EQ(code, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION));
    EXPECT_FALSE(ScreenSaverRunning()) << "task switching left off";
    EXPECT_TRUE(PointerFree()) << "the pointer left confined";
}

}  // namespace

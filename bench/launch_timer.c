/* Benchmark helper, run under Wine:
 *   launch_timer show EXE        ms from CreateProcess to EXE's first visible
 *                                dialog, then EXE's working set and private
 *                                bytes in KiB one second later
 *   launch_timer idle EXE SECS   CPU ms EXE uses in SECS seconds, counted
 *                                from 5 s after its start
 * The child is ended afterwards. */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>
#include <string.h>
#include <stdlib.h>

static DWORD g_pid;
static BOOL g_found;

static BOOL CALLBACK FindDialog(HWND hwnd, LPARAM unused)
{
    DWORD pid = 0;
    char cls[64];
    (void)unused;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != g_pid || !IsWindowVisible(hwnd))
        return TRUE;
    GetClassNameA(hwnd, cls, sizeof cls);
    if (strcmp(cls, "#32770") == 0) {
        g_found = TRUE;
        return FALSE;
    }
    return TRUE;
}

/* Kernel plus user time, in 100 ns units. */
static ULONGLONG CpuTime(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    return ((ULONGLONG)kernel.dwHighDateTime << 32 | kernel.dwLowDateTime) +
           ((ULONGLONG)user.dwHighDateTime << 32 | user.dwLowDateTime);
}

static BOOL Launch(const char *exe, PROCESS_INFORMATION *pi)
{
    STARTUPINFOA si;
    char line[MAX_PATH + 4];
    memset(&si, 0, sizeof si);
    si.cb = sizeof si;
    snprintf(line, sizeof line, "\"%s\"", exe);
    return CreateProcessA(exe, line, NULL, NULL, FALSE, 0, NULL, NULL, &si, pi);
}

static void End(PROCESS_INFORMATION *pi)
{
    TerminateProcess(pi->hProcess, 0);
    WaitForSingleObject(pi->hProcess, 10000);
    CloseHandle(pi->hThread);
    CloseHandle(pi->hProcess);
}

int main(int argc, char **argv)
{
    PROCESS_INFORMATION pi;
    LARGE_INTEGER freq, start, now;
    if (argc < 3)
        return 2;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&start);
    if (!Launch(argv[2], &pi))
        return 1;
    g_pid = pi.dwProcessId;

    if (strcmp(argv[1], "show") == 0) {
        double ms = 0;
        while (!g_found && ms < 30000) {
            Sleep(2);
            EnumWindows(FindDialog, 0);
            QueryPerformanceCounter(&now);
            ms = (now.QuadPart - start.QuadPart) * 1000.0 / freq.QuadPart;
        }
        if (!g_found) {
            End(&pi);
            return 1;
        }
        Sleep(1000);
        PROCESS_MEMORY_COUNTERS memory;
        memset(&memory, 0, sizeof memory);
        memory.cb = sizeof memory;
        GetProcessMemoryInfo(pi.hProcess, &memory, sizeof memory);
        End(&pi);
        printf("%.1f %lu %lu\n", ms, (unsigned long)(memory.WorkingSetSize / 1024),
               (unsigned long)(memory.PagefileUsage / 1024));
        return 0;
    }
    if (strcmp(argv[1], "idle") == 0 && argc > 3) {
        ULONGLONG before;
        Sleep(5000);
        before = CpuTime(pi.hProcess);
        Sleep(1000 * (DWORD)atoi(argv[3]));
        printf("%.1f\n", (CpuTime(pi.hProcess) - before) / 10000.0);
        End(&pi);
        return 0;
    }
    return 2;
}

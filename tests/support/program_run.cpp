#include "tests/support/program_run.h"

#include <stdio.h>

#include "tests/support/test_files.h"

namespace testprog {

namespace {

const int kStartAttempts = 3;
const DWORD kStartRetryDelayMs = 500;

struct FrameSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindFrame(HWND window, LPARAM parameter)
{
    FrameSearch* search = (FrameSearch*)parameter;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window) || GetMenu(window) == NULL)
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND WaitForProgramFrame(const PROCESS_INFORMATION& process, DWORD timeoutMs)
{
    WaitForInputIdle(process.hProcess, timeoutMs);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        FrameSearch search = {process.dwProcessId, NULL};
        EnumWindows(FindFrame, (LPARAM)&search);
        if (search.found != NULL)
            return search.found;
        if (WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0)
            return NULL;
    }
    return NULL;
}

ProgramRun::ProgramRun(const std::string& relativePath, const std::string& arguments)
{
    std::string program = testfiles::ToWinePath(testfiles::BinaryDir() + "/" + relativePath);
    std::string commandLine = "\"" + program + "\" " + arguments;
    // Wine has been seen to refuse a process start at once on a loaded
    // machine, once in many runs: the start is tried again, and each
    // refusal is written out with its cause.
    for (int attempt = 0; attempt < kStartAttempts && !m_started; ++attempt) {
        if (attempt > 0)
            Sleep(kStartRetryDelayMs);
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        m_started = CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                                   &m_process) != FALSE;
        if (!m_started)
            fprintf(stderr, "starting %s failed with error %lu\n", program.c_str(), (unsigned long)GetLastError());
    }
}

ProgramRun::~ProgramRun()
{
    if (!m_started)
        return;
    Kill();
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

HWND ProgramRun::WaitForFrame(DWORD timeoutMs) const
{
    return m_started ? WaitForProgramFrame(m_process, timeoutMs) : NULL;
}

bool ProgramRun::Ended(DWORD waitMs) const
{
    return m_started && WaitForSingleObject(m_process.hProcess, waitMs) == WAIT_OBJECT_0;
}

DWORD ProgramRun::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (m_started)
        GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

void ProgramRun::Kill()
{
    if (m_started && !Ended(0)) {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 10000);
    }
}

}  // namespace testprog

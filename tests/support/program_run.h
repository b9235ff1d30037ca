// A program of ours started as its own process by a test, and its windows.
#pragma once
#include <windows.h>

#include <string>

namespace testprog {

// The visible frame (a top-level window with a menu) of a program started
// as another process, once it shows; null when the process ends first or
// the time runs out.
HWND WaitForProgramFrame(const PROCESS_INFORMATION& process, DWORD timeoutMs);

// The program "<build>/<relativePath>" started with a command line; killed
// when the run is dropped while it still runs.
class ProgramRun {
public:
    ProgramRun(const std::string& relativePath, const std::string& arguments);
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return m_started; }
    // The program's visible frame once it is idle; null after timeoutMs.
    HWND WaitForFrame(DWORD timeoutMs = 30000) const;
    bool Ended(DWORD waitMs) const;
    // The exit code once ended; STILL_ACTIVE before.
    DWORD ExitCode() const;
    void Kill();

private:
    bool m_started = false;
    PROCESS_INFORMATION m_process = {};
};

}  // namespace testprog

#include "tests/support/unix_tools.h"

#include <stdlib.h>

#include <vector>

#include <windows.h>

#include "platform/base/unix_path.h"
#include "tests/support/test_files.h"

namespace codectest {

std::string UnixPath(const std::string& winePath)
{
    std::string path;
    GetUnixPath(winePath.c_str(), &path);
    return path;
}

// Wine starts a Unix program but gives no handle to wait on or exit code
// to read: the program runs under /bin/sh, which writes its exit code into
// a marker file that this side waits for.
int RunUnixProgram(const std::string& commandLine, unsigned timeoutMs)
{
    std::string folder = testfiles::MakeScratchFolder("run");
    if (folder.empty())
        return -1;
    std::string marker = folder + "\\exit-code";
    std::string markerUnix = UnixPath(marker);
    std::string script = commandLine + "; echo $? > " + markerUnix + ".part && mv " +
                         markerUnix + ".part " + markerUnix;
    std::string line = "Z:\\bin\\sh -c \"" + script + "\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back(0);

    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessA(NULL, buffer.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &process))
        return -1;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    DWORD start = GetTickCount();
    std::string code;
    while (!testfiles::ReadFileBytes(marker, code)) {
        if (GetTickCount() - start > timeoutMs)
            return -1;
        Sleep(20);
    }
    return atoi(code.c_str());
}

std::string OutputOf(const std::string& commandLine)
{
    std::string out = testfiles::MakeScratchFolder("output") + "\\out.txt";
    if (RunUnixProgram(commandLine + " > " + UnixPath(out)) != 0)
        return "failed: " + commandLine;
    std::string text;
    testfiles::ReadFileBytes(out, text);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

bool UnixProgramExists(const std::string& unixPath)
{
    return GetFileAttributesA(testfiles::ToWinePath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace codectest

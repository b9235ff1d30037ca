// The process-wide objects of every layer, seen through the trace of a run
// of the program: all are built before start-up, in their order, and
// destroyed after shutdown, in the reverse order.
#include "tests/support/gtest.h"

#include <stdio.h>

#include <string>
#include <vector>

#include "platform/base/unix_path.h"
#include "tests/support/program_run.h"
#include "tests/support/test_files.h"

namespace {

const DWORD kRunMs = 60000;

std::vector<std::string> Lines(const std::string& bytes)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

// The traced lines that start with the word, without it.
std::vector<std::string> Objects(const std::vector<std::string>& lines, const std::string& word)
{
    std::vector<std::string> objects;
    for (const std::string& line : lines) {
        if (line.compare(0, word.size() + 1, word + " ") == 0)
            objects.push_back(line.substr(word.size() + 1));
    }
    return objects;
}

size_t Position(const std::vector<std::string>& lines, const std::string& line)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == line)
            return i;
    }
    return std::string::npos;
}

}  // namespace

TEST(GlobalObjects, BuiltBeforeStartUpInOrderAndDestroyedAfterShutdownInReverse)
{
    std::string trace = testfiles::MakeScratchFolder("global_order") + "\\trace.txt";
    std::string unixTrace;
    ASSERT_TRUE(GetUnixPath(trace.c_str(), &unixTrace));
    SetEnvironmentVariableA("HARBECK_TRACE_FILE", unixTrace.c_str());
    std::string program =
        testfiles::ToWinePath(testfiles::BinaryDir()) + "\\tests\\app\\global_order_probe.exe.so";
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    BOOL started =
        CreateProcessA(NULL, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process);
    SetEnvironmentVariableA("HARBECK_TRACE_FILE", NULL);
    ASSERT_TRUE(started);

    HWND frame = testprog::WaitForProgramFrame(process, kRunMs);
    if (frame != NULL)
        PostMessageA(frame, WM_CLOSE, 0, 0);
    bool ended = WaitForSingleObject(process.hProcess, kRunMs) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(process.hProcess, 1);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_NE(nullptr, frame);
    ASSERT_TRUE(ended);
    EXPECT_EQ(0u, exitCode);

    std::string bytes;
    ASSERT_TRUE(testfiles::ReadFileBytes(trace, bytes));
    std::vector<std::string> lines = Lines(bytes);
    std::vector<std::string> built = Objects(lines, "Construct");
    std::vector<std::string> destroyed = Objects(lines, "Destroy");
    EXPECT_EQ(std::vector<std::string>({"ProductInfo", "AppSW", "theApp", "g_globalData", "Preference",
                                        "DrawingFileType", "g_CadColorTable", "g_TrimWindow"}),
              built);

    // The first trace of start-up comes after the last object was built.
    size_t startUp = Position(lines, "%d : %d : %d");
    size_t shutdown = Position(lines, "Uninstall OK");
    ASSERT_NE(std::string::npos, startUp);
    ASSERT_NE(std::string::npos, shutdown);
    EXPECT_EQ(Position(lines, "Construct g_TrimWindow") + 1, startUp);

    // Wine can end a process before or while its static destructors run
    // when the main thread is not the last to go: a thread it is still
    // ending (the update check's, the system's own) then ends the process,
    // which happens on a loaded machine. Those that run, run in reverse,
    // after the last trace of shutdown.
    std::vector<std::string> reverse(built.rbegin(), built.rend());
    ASSERT_LE(destroyed.size(), reverse.size());
    EXPECT_EQ(std::vector<std::string>(reverse.begin(), reverse.begin() + destroyed.size()), destroyed);
    if (destroyed.size() < reverse.size())
        printf("the process ended after %zu of its static destructors\n", destroyed.size());
    if (!destroyed.empty()) {
        EXPECT_EQ(Position(lines, "Destroy g_TrimWindow"), shutdown + 1);
    }
}

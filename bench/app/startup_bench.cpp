// Start-up to the browse frame on a warm prefix, beside the start of a bare
// Winelib window program (the platform's floor), in one run: each program
// is started, timed until its frame shows and is idle, and closed, several
// times; the medians are printed.
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/program_run.h"

namespace {

// Milliseconds from the start to the shown frame; -1 when it never showed.
long TimeOneStart(const std::string& program, const std::string& arguments)
{
    DWORD start = GetTickCount();
    testprog::ProgramRun run(program, arguments);
    if (!run.Started()) {
        fprintf(stderr, "cannot start %s (error %lu)\n", program.c_str(), GetLastError());
        return -1;
    }
    HWND frame = run.WaitForFrame(60000);
    if (frame == NULL)
        fprintf(stderr, "%s showed no frame within 60 s\n", program.c_str());
    long elapsed = frame != NULL ? (long)(GetTickCount() - start) : -1;
    if (frame != NULL)
        PostMessageA(frame, WM_CLOSE, 0, 0);
    run.Ended(10000);
    return elapsed;
}

long MedianStart(const std::string& program, const std::string& arguments, int runs)
{
    std::vector<long> times;
    TimeOneStart(program, arguments);  // warms the prefix and the file cache
    for (int i = 0; i < runs; ++i)
        times.push_back(TimeOneStart(program, arguments));
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: startup_bench FOLDER [RUNS]\n");
        return 2;
    }
    std::string folder = argv[1];
    int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    long bare = MedianStart("bench/app/bare_window.exe.so", "", runs);
    long harbeck = MedianStart("app/harbeck.exe.so", "/b \"" + folder + "\"", runs);
    printf("start-up to the shown frame, median of %d warm starts:\n", runs);
    printf("  harbeck (browse frame): %ld ms\n", harbeck);
    printf("  bare Winelib window:    %ld ms\n", bare);
    return harbeck >= 0 && bare >= 0 ? 0 : 1;
}

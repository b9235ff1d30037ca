// The trace writer of the global-order probe: the program itself, linked with
// this writer in place of the one that writes nothing. Each trace text (the
// format, not formatted) goes as one line to the file that the environment
// variable HARBECK_TRACE_FILE names by its Unix path. The lines are written
// with the C library's own calls, which still work while the process ends,
// after the Win32 side has stopped.
#include "core/log_file.h"

#include "platform/native/native_begin.h"
#include <fcntl.h>
#include <string.h>
#include <unistd.h>
#include "platform/native/native_end.h"

#include <windows.h>

namespace {

char g_tracePath[1024];
bool g_traceLooked;

// Read on the first trace, during the construction of the global objects.
const char* TracePath()
{
    if (!g_traceLooked) {
        g_traceLooked = true;
        DWORD length = GetEnvironmentVariableA("HARBECK_TRACE_FILE", g_tracePath, sizeof(g_tracePath));
        if (length == 0 || length >= sizeof(g_tracePath))
            g_tracePath[0] = '\0';
    }
    return g_tracePath;
}

}  // namespace

void WriteLog(CLogFile* sink, const char* format, ...)
{
    const char* path = TracePath();
    if (path[0] == '\0')
        return;
    int file = open(path, O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (file < 0)
        return;
    if (write(file, format, strlen(format)) >= 0)
        write(file, "\n", 1);
    close(file);
}

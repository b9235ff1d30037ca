// The trace writer, alone in its file: a test program links its own writer
// in its place to read the traces of start-up, shutdown and the global
// objects.
#include "core/log_file.h"

void WriteLog(CLogFile* sink, const char* format, ...)
{
}

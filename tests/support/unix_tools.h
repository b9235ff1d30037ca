// Running the Linux reference programs (ImageMagick's convert and the like)
// from a test under Wine, and moving between Wine and Unix paths.
#pragma once
#include <string>

namespace codectest {

// The Unix name of a Win32 path ("Z:\\a\\b" -> "/a/b"); empty when Wine
// has none.
std::string UnixPath(const std::string& winePath);

// Runs a Linux program given by its absolute Unix path, with arguments that
// are Unix paths or plain words, and waits for it (at most timeoutMs).
// Returns its exit code, or -1 when it could not be started or timed out.
int RunUnixProgram(const std::string& commandLine, unsigned timeoutMs = 60000);

// What the program (run as by RunUnixProgram) prints on its standard
// output, without the last line break; "failed: <command line>" when it
// could not run or ended with an error.
std::string OutputOf(const std::string& commandLine);

// True when the Unix file exists (e.g. /usr/bin/convert).
bool UnixProgramExists(const std::string& unixPath);

}  // namespace codectest

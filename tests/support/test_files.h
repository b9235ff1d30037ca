// Paths and scratch files for tests.
#pragma once
#include <string>
#include <vector>

namespace testfiles {

// The source tree's top folder and the build folder, as Unix paths.
std::string SourceDir();
std::string BinaryDir();

// A Win32 path ("Z:\\...") for a Unix path.
std::string ToWinePath(const std::string& unixPath);

// A new empty folder under the build tree, unique for this process and
// call; returned as a Win32 path without a trailing backslash.
std::string MakeScratchFolder(const std::string& hint);

// Writes bytes to a Win32 path; true when every byte was written.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Reads a whole file; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// The names of the files (not the folders) in a folder, sorted.
std::vector<std::string> FileNamesIn(const std::string& folder);

}  // namespace testfiles

// Writing a file safely: the bytes go to a new temporary file with a unique
// name in the target's folder, which is renamed over the target only when
// complete. On any failure the target is left as it was and no temporary
// file stays behind.
#pragma once
#include <windows.h>

#include <string>

enum ReplaceFileResult {
    ReplaceFileDone = 0,
    ReplaceFileBadName,       // the path has no folder and file name
    ReplaceFileCannotCreate,  // no temporary file could be made in the folder
    ReplaceFileCannotWrite,   // the bytes could not all be written
    ReplaceFileCannotRename,  // the target could not be replaced
};

// A file being written beside its target. Write through Write (or Handle),
// or let a library write the temporary path after ReleaseHandle; Commit puts
// it in place. Destroyed without a successful Commit, it deletes the
// temporary file.
class CReplacingFile {
public:
    CReplacingFile() = default;
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // Makes the temporary file in the target's folder and opens it for writing.
    ReplaceFileResult Open(const char* targetPath);

    HANDLE Handle() const { return m_handle; }
    const char* TemporaryPath() const { return m_temporary.c_str(); }

    // Writes all the bytes or remembers the failure, which Commit reports.
    bool Write(const void* bytes, DWORD size);
    // Closes the handle and keeps the file, for a library that opens the
    // temporary path itself.
    bool ReleaseHandle();
    // Closes the file and renames it over the target.
    ReplaceFileResult Commit();
    // Deletes the temporary file; the target stays as it was.
    void Abandon();

private:
    std::string m_target;
    std::string m_temporary;
    HANDLE m_handle = INVALID_HANDLE_VALUE;
    bool m_writeFailed = false;
};

ReplaceFileResult ReplaceFileWithBytes(const char* path, const void* bytes, DWORD size);

// True when a bare file name has the form of the temporary files made here
// ("hbk" + hexadecimal digits + ".tmp").
bool IsReplacingTemporaryName(const char* fileName);

#include "platform/base/file_replace.h"

#include <ctype.h>
#include <string.h>

namespace {

const char kTemporaryPrefix[] = "hbk";
const char kTemporarySuffix[] = ".tmp";

}  // namespace

CReplacingFile::~CReplacingFile()
{
    Abandon();
}

ReplaceFileResult CReplacingFile::Open(const char* targetPath)
{
    Abandon();
    char folder[MAX_PATH];
    char* namePart = nullptr;
    DWORD length = targetPath ? GetFullPathNameA(targetPath, MAX_PATH, folder, &namePart) : 0;
    if (length == 0 || length >= MAX_PATH || !namePart || !*namePart)
        return ReplaceFileBadName;
    m_target = folder;
    *namePart = 0;
    char temporary[MAX_PATH];
    // GetTempFileName creates the file under a name no other file has.
    if (!GetTempFileNameA(folder, kTemporaryPrefix, 0, temporary))
        return ReplaceFileCannotCreate;
    m_temporary = temporary;
    m_handle = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE) {
        Abandon();
        return ReplaceFileCannotCreate;
    }
    m_writeFailed = false;
    return ReplaceFileDone;
}

bool CReplacingFile::Write(const void* bytes, DWORD size)
{
    DWORD done = 0;
    if (m_handle == INVALID_HANDLE_VALUE || !WriteFile(m_handle, bytes, size, &done, nullptr) || done != size)
        m_writeFailed = true;
    return !m_writeFailed;
}

bool CReplacingFile::ReleaseHandle()
{
    if (m_handle == INVALID_HANDLE_VALUE)
        return !m_temporary.empty();
    if (!CloseHandle(m_handle))
        m_writeFailed = true;
    m_handle = INVALID_HANDLE_VALUE;
    return !m_writeFailed;
}

ReplaceFileResult CReplacingFile::Commit()
{
    if (m_temporary.empty())
        return ReplaceFileCannotCreate;
    if (!ReleaseHandle() || m_writeFailed) {
        Abandon();
        return ReplaceFileCannotWrite;
    }
    if (!MoveFileExA(m_temporary.c_str(), m_target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
        Abandon();
        return ReplaceFileCannotRename;
    }
    m_temporary.clear();
    return ReplaceFileDone;
}

void CReplacingFile::Abandon()
{
    if (m_handle != INVALID_HANDLE_VALUE)
        CloseHandle(m_handle);
    m_handle = INVALID_HANDLE_VALUE;
    if (!m_temporary.empty())
        DeleteFileA(m_temporary.c_str());
    m_temporary.clear();
}

ReplaceFileResult ReplaceFileWithBytes(const char* path, const void* bytes, DWORD size)
{
    CReplacingFile file;
    ReplaceFileResult opened = file.Open(path);
    if (opened != ReplaceFileDone)
        return opened;
    file.Write(bytes, size);
    return file.Commit();
}

bool IsReplacingTemporaryName(const char* fileName)
{
    const size_t prefixLength = sizeof kTemporaryPrefix - 1;
    const size_t suffixLength = sizeof kTemporarySuffix - 1;
    const size_t length = fileName ? strlen(fileName) : 0;
    if (length <= prefixLength + suffixLength ||
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, fileName, static_cast<int>(prefixLength), kTemporaryPrefix,
                       -1) != CSTR_EQUAL ||
        lstrcmpiA(fileName + length - suffixLength, kTemporarySuffix) != 0)
        return false;
    for (size_t at = prefixLength; at < length - suffixLength; ++at)
        if (!isxdigit(static_cast<unsigned char>(fileName[at])))
            return false;
    return true;
}

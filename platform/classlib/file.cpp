#include "platform/classlib/file.h"

#include <limits.h>

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

namespace {

DWORD DesiredAccess(UINT flags)
{
    switch (flags & 3) {
    case CFile::modeWrite: return GENERIC_WRITE;
    case CFile::modeReadWrite: return GENERIC_READ | GENERIC_WRITE;
    default: return GENERIC_READ;
    }
}

DWORD ShareMode(UINT flags)
{
    switch (flags & 0x70) {
    case CFile::shareExclusive: return 0;
    case CFile::shareDenyWrite: return FILE_SHARE_READ;
    case CFile::shareDenyRead: return FILE_SHARE_WRITE;
    case CFile::shareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return FILE_SHARE_READ;
    }
}

DWORD CreationDisposition(UINT flags)
{
    if (!(flags & CFile::modeCreate))
        return OPEN_EXISTING;
    return (flags & CFile::modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
}

CString FullPath(LPCSTR fileName)
{
    CString full;
    DWORD length = GetFullPathNameA(fileName, MAX_PATH, full.GetBuffer(MAX_PATH), nullptr);
    if (length >= MAX_PATH) {
        full.ReleaseBuffer(0);
        length = GetFullPathNameA(fileName, length, full.GetBuffer((int)length), nullptr);
    }
    full.ReleaseBuffer(length > 0 ? -1 : 0);
    if (full.IsEmpty())
        full = fileName;
    return full;
}

BYTE AttributeBits(DWORD attributes)
{
    return (BYTE)(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                                | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE));
}

ULONGLONG MakeSize(DWORD high, DWORD low)
{
    return ((ULONGLONG)high << 32) | low;
}

void FillStatus(const FILETIME& created, const FILETIME& written, const FILETIME& accessed,
                ULONGLONG size, DWORD attributes, LPCSTR fullName, CFileStatus& rStatus)
{
    rStatus.m_ctime = CTime(created);
    rStatus.m_mtime = CTime(written);
    rStatus.m_atime = CTime(accessed);
    rStatus.m_size = size;
    rStatus.m_attribute = AttributeBits(attributes);
    lstrcpynA(rStatus.m_szFullName, fullName, MAX_PATH);
}

}  // namespace

CFile::CFile() : m_hFile(hFileNull) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull)
{
    CFileException error;
    if (!Open(lpszFileName, nOpenFlags, &error))
        AfxThrowFileException(error.m_cause, error.m_lOsError, error.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull)
        Abort();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull)
        Abort();
    if (lpszFileName == nullptr || lpszFileName[0] == 0) {
        if (pError != nullptr) {
            pError->m_cause = CFileException::badPath;
            pError->m_lOsError = ERROR_INVALID_NAME;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    SECURITY_ATTRIBUTES security = { sizeof(security), nullptr, !(nOpenFlags & modeNoInherit) };
    HANDLE handle = CreateFileA(lpszFileName, DesiredAccess(nOpenFlags), ShareMode(nOpenFlags),
                                &security, CreationDisposition(nOpenFlags), FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        LONG osError = (LONG)GetLastError();
        if (pError != nullptr) {
            pError->m_cause = CFileException::OsErrorToException(osError);
            pError->m_lOsError = osError;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_hFile = handle;
    m_strFileName = FullPath(lpszFileName);
    return TRUE;
}

void CFile::ThrowLastError() const
{
    LONG osError = (LONG)GetLastError();
    AfxThrowFileException(CFileException::OsErrorToException(osError != 0 ? osError : ERROR_GEN_FAILURE),
                          osError, m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD read = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &read, nullptr))
        ThrowLastError();
    return read;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD written = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &written, nullptr))
        ThrowLastError();
    if (written < nCount)
        AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    DWORD method = nFrom == end ? FILE_END : (nFrom == current ? FILE_CURRENT : FILE_BEGIN);
    LARGE_INTEGER distance, position;
    distance.QuadPart = lOff;
    if (!SetFilePointerEx(m_hFile, distance, &position, method))
        ThrowLastError();
    return (ULONGLONG)position.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero, position;
    zero.QuadPart = 0;
    if (!SetFilePointerEx(m_hFile, zero, &position, FILE_CURRENT))
        ThrowLastError();
    return (ULONGLONG)position.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_hFile, &size))
        ThrowLastError();
    return (ULONGLONG)size.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    Seek((LONGLONG)dwNewLen, begin);
    if (!SetEndOfFile(m_hFile))
        ThrowLastError();
}

void CFile::Flush()
{
    if (m_hFile != hFileNull && !FlushFileBuffers(m_hFile))
        ThrowLastError();
}

void CFile::Close()
{
    HANDLE handle = m_hFile;
    m_hFile = hFileNull;
    if (handle != hFileNull && !CloseHandle(handle))
        ThrowLastError();
    m_strFileName.Empty();
}

void CFile::Abort()
{
    if (m_hFile != hFileNull)
        CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_strFileName.Empty();
}

CString CFile::GetFileName() const
{
    int slash = m_strFileName.ReverseFind('\\');
    int forward = m_strFileName.ReverseFind('/');
    int separator = slash > forward ? slash : forward;
    return m_strFileName.Mid(separator + 1);
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const
{
    BY_HANDLE_FILE_INFORMATION info;
    if (m_hFile == hFileNull || !GetFileInformationByHandle(m_hFile, &info))
        return FALSE;
    FillStatus(info.ftCreationTime, info.ftLastWriteTime, info.ftLastAccessTime,
               MakeSize(info.nFileSizeHigh, info.nFileSizeLow), info.dwFileAttributes,
               m_strFileName, rStatus);
    return TRUE;
}

BOOL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (lpszFileName == nullptr || !GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &data))
        return FALSE;
    FillStatus(data.ftCreationTime, data.ftLastWriteTime, data.ftLastAccessTime,
               MakeSize(data.nFileSizeHigh, data.nFileSizeLow), data.dwFileAttributes,
               FullPath(lpszFileName), rStatus);
    return TRUE;
}

void CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName)
{
    if (!MoveFileA(lpszOldName, lpszNewName))
        CFileException::ThrowOsError((LONG)GetLastError(), lpszOldName);
}

void CFile::Remove(LPCSTR lpszFileName)
{
    if (!DeleteFileA(lpszFileName))
        CFileException::ThrowOsError((LONG)GetLastError(), lpszFileName);
}

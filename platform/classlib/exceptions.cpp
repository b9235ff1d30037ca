#include "platform/classlib/exceptions.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CArchiveException, CException)

namespace {

// Message of each file-exception cause, in cause order; %s is the file.
const char* const kFileMessages[] = {
    "访问 %s 时没有发生错误。",
    "访问 %s 时发生未知错误。",
    "找不到 %s。",
    "%s 包含无效路径。",
    "无法打开 %s，因为打开的文件太多。",
    "拒绝访问 %s。",
    "使用了无效的文件句柄访问 %s。",
    "无法删除 %s，因为它是当前目录。",
    "无法创建 %s，因为目录已满。",
    "在 %s 中定位失败。",
    "访问 %s 时发生硬件输入/输出错误。",
    "访问 %s 时发生共享冲突。",
    "访问 %s 时发生锁定冲突。",
    "写入 %s 时磁盘已满。",
    "试图越过 %s 的末尾进行访问。",
};

// Message of each archive-exception cause, in cause order; %s is the file.
const char* const kArchiveMessages[] = {
    "访问 %s 时没有发生错误。",
    "访问 %s 时发生未知错误。",
    "试图写入正在读取的 %s。",
    "读取 %s 时意外遇到文件末尾。",
    "试图读取正在写入的 %s。",
    "%s 的格式无效。",
    "%s 含有意外的对象。",
    "%s 含有版本不对的对象。",
};

CString CauseMessage(const char* const* messages, int count, int cause, const CString& fileName)
{
    if (cause < 0 || cause >= count)
        cause = 1;
    CString text;
    text.Format(messages[cause], fileName.IsEmpty() ? "未命名的文件" : (LPCSTR)fileName);
    return text;
}

struct OsErrorCause { LONG osError; int cause; };

const OsErrorCause kOsErrorCauses[] = {
    { ERROR_FILE_NOT_FOUND, CFileException::fileNotFound },
    { ERROR_PATH_NOT_FOUND, CFileException::badPath },
    { ERROR_INVALID_NAME, CFileException::badPath },
    { ERROR_BAD_PATHNAME, CFileException::badPath },
    { ERROR_INVALID_DRIVE, CFileException::badPath },
    { ERROR_BAD_NETPATH, CFileException::badPath },
    { ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles },
    { ERROR_ACCESS_DENIED, CFileException::accessDenied },
    { ERROR_WRITE_PROTECT, CFileException::accessDenied },
    { ERROR_FILE_EXISTS, CFileException::accessDenied },
    { ERROR_ALREADY_EXISTS, CFileException::accessDenied },
    { ERROR_INVALID_HANDLE, CFileException::invalidFile },
    { ERROR_CURRENT_DIRECTORY, CFileException::removeCurrentDir },
    { ERROR_CANNOT_MAKE, CFileException::directoryFull },
    { ERROR_SEEK, CFileException::badSeek },
    { ERROR_NEGATIVE_SEEK, CFileException::badSeek },
    { ERROR_CRC, CFileException::hardIO },
    { ERROR_SECTOR_NOT_FOUND, CFileException::hardIO },
    { ERROR_GEN_FAILURE, CFileException::hardIO },
    { ERROR_NOT_READY, CFileException::hardIO },
    { ERROR_SHARING_VIOLATION, CFileException::sharingViolation },
    { ERROR_LOCK_VIOLATION, CFileException::lockViolation },
    { ERROR_DISK_FULL, CFileException::diskFull },
    { ERROR_HANDLE_DISK_FULL, CFileException::diskFull },
    { ERROR_HANDLE_EOF, CFileException::endOfFile },
};

}  // namespace

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::CopyMessage(LPCSTR text, LPSTR lpszError, UINT nMaxError)
{
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    lstrcpynA(lpszError, text, (int)nMaxError);
    return TRUE;
}

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (lpszError != nullptr && nMaxError > 0)
        lpszError[0] = 0;
    return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageId) const
{
    char message[512];
    CString text;
    if (GetErrorMessage(message, sizeof(message)))
        text = message;
    else if (nMessageId != 0)
        text.LoadString(nMessageId);
    if (text.IsEmpty())
        text = "发生未知错误。";
    return MessageBoxA(GetActiveWindow(), text, nullptr, nType);
}

BOOL CMemoryException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    CException::GetErrorMessage(lpszError, nMaxError, pnHelpContext);
    return CopyMessage("内存不足。", lpszError, nMaxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    CException::GetErrorMessage(lpszError, nMaxError, pnHelpContext);
    return CopyMessage("不支持该操作。", lpszError, nMaxError);
}

BOOL CResourceException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    CException::GetErrorMessage(lpszError, nMaxError, pnHelpContext);
    return CopyMessage("无法创建系统资源。", lpszError, nMaxError);
}

int CFileException::OsErrorToException(LONG lOsError)
{
    if (lOsError == 0)
        return none;
    for (const OsErrorCause& entry : kOsErrorCauses) {
        if (entry.osError == lOsError)
            return entry.cause;
    }
    return genericException;
}

void CFileException::ThrowOsError(LONG lOsError, LPCSTR lpszFileName)
{
    if (lOsError != 0)
        AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CFileException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    CException::GetErrorMessage(lpszError, nMaxError, pnHelpContext);
    return CopyMessage(CauseMessage(kFileMessages, ARRAYSIZE(kFileMessages), m_cause, m_strFileName),
                       lpszError, nMaxError);
}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    CException::GetErrorMessage(lpszError, nMaxError, pnHelpContext);
    return CopyMessage(CauseMessage(kArchiveMessages, ARRAYSIZE(kArchiveMessages), m_cause,
                                    m_strFileName),
                       lpszError, nMaxError);
}

void AfxThrowMemoryException()
{
    throw new CMemoryException;
}

void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}

void AfxThrowResourceException()
{
    throw new CResourceException;
}

void AfxThrowFileException(int cause, LONG lOsError, LPCSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}

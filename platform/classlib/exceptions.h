// The class library's exceptions. They are thrown as heap pointers
// (throw new CFileException(...)), caught as CException* and released
// with Delete(); an exception made on the stack is not deleted by Delete.
#pragma once
#include "platform/classlib/cstring.h"
#include "platform/classlib/object.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}

    // Frees a heap exception; does nothing for one made on the stack.
    void Delete();

    // Writes the message for the user (always terminated) into the buffer;
    // FALSE when there is none.
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
    // Shows the message in a message box and returns the box's result;
    // nMessageId is a string resource used when there is no message.
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageId = 0) const;

protected:
    static BOOL CopyMessage(LPCSTR text, LPSTR lpszError, UINT nMaxError);

private:
    BOOL m_bAutoDelete;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    using CException::CException;
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    using CException::CException;
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// A window or other system resource could not be made.
class CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    using CException::CException;
    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum Cause {
        none, genericException, fileNotFound, badPath, tooManyOpenFiles,
        accessDenied, invalidFile, removeCurrentDir, directoryFull, badSeek,
        hardIO, sharingViolation, lockViolation, diskFull, endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCSTR lpszFileName = nullptr)
        : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName) {}

    // The cause for a Win32 error code (GetLastError).
    static int OsErrorToException(LONG lOsError);
    static void ThrowOsError(LONG lOsError, LPCSTR lpszFileName = nullptr);

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    LONG m_lOsError;
    CString m_strFileName;
};

class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum Cause {
        none, genericException, readOnly, endOfFile, writeOnly, badIndex,
        badClass, badSchema
    };

    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = nullptr)
        : m_cause(cause), m_strFileName(lpszArchiveName) {}

    BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;

    int m_cause;
    CString m_strFileName;
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCSTR lpszFileName = nullptr);
[[noreturn]] void AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = nullptr);

// CFile: a Win32 file handle with the class library's open modes. Failures
// of an open file (read, write, seek, flush, close) throw CFileException*;
// Open reports its failure as FALSE and, when asked, in a CFileException.
#pragma once
#include "platform/classlib/cstring.h"
#include "platform/classlib/datetime.h"
#include "platform/classlib/exceptions.h"
#include "platform/classlib/object.h"

struct CFileStatus
{
    CTime m_ctime;            // creation
    CTime m_mtime;            // last write
    CTime m_atime;            // last access
    ULONGLONG m_size;
    BYTE m_attribute;         // CFile::Attribute bits
    char m_szFullName[MAX_PATH];
};

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,       // no share flag: others may read, not write
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,        // create, emptying an existing file...
        modeNoTruncate = 0x2000,    // ...unless this is given too
        typeText = 0x4000,          // no text translation here: as binary
        typeBinary = 0x8000,
    };
    enum Attribute {
        normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04,
        volume = 0x08, directory = 0x10, archive = 0x20
    };
    enum SeekPosition { begin = 0, current = 1, end = 2 };

    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);                   // takes ownership
    CFile(LPCSTR lpszFileName, UINT nOpenFlags);    // throws on failure
    ~CFile() override;                              // closes, never throws

    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = nullptr);
    // Bytes read; fewer than asked only at the end of the file.
    virtual UINT Read(void* lpBuf, UINT nCount);
    // Every byte, or an exception (a short write is diskFull).
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    virtual void Close();
    // Closes, ignoring failures.
    virtual void Abort();

    CString GetFilePath() const { return m_strFileName; }
    CString GetFileName() const;   // the part after the last separator

    BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
    static void Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
    static void Remove(LPCSTR lpszFileName);

    HANDLE m_hFile;

protected:
    [[noreturn]] void ThrowLastError() const;

    CString m_strFileName;   // full path once opened
};

// CArchive: a buffered stream of values and objects over a CFile, either
// loading or storing.
//
// Byte layout (all fixed width, little-endian):
//   BYTE, char, signed char, bool  1 byte
//   WORD, short                    2 bytes
//   DWORD, UINT, int, LONG, float  4 bytes
//   double, 64-bit integers        8 bytes
//   CString                        DWORD byte count, then the bytes (no terminator)
//   CObject*                       DWORD tag, then:
//     0                            a null pointer
//     kNewClassTag (0xFFFFFFFF)    WORD schema, WORD name length, the class name,
//                                  then the object's own Serialize data
//     0x80000000 | index           a class met before, then the object's data
//     index (1..0x7FFFFFFE)        an object met before (shared reference)
//   Classes and objects are numbered together from 1 in the order met.
// Loading checks every tag, index, schema and length against what was read
// and what is left of the file, and throws CArchiveException* on bad data;
// reading past the end throws CArchiveException::endOfFile.
#pragma once
#include "platform/classlib/cstring.h"
#include "platform/classlib/exceptions.h"
#include "platform/classlib/file.h"
#include "platform/classlib/object.h"

#include <unordered_map>
#include <vector>

class CArchive
{
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = nullptr);
    // A storing archive still open writes its buffer (failures ignored)
    // unless made with bNoFlushOnDelete; call Close to see failures.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_loading; }
    BOOL IsStoring() const { return !m_loading; }
    // The file, positioned where the archive's data ends (storing) or where
    // the next value starts (loading), for callers that use it directly.
    CFile* GetFile();

    // Bytes read; fewer than asked only at the end of the file.
    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nCount);
    // Reads exactly nCount bytes or throws endOfFile.
    void ReadExactly(void* lpBuf, UINT nCount);
    // Throws badIndex unless count items of at least bytesEach bytes can
    // still be read (a guard for counts taken from the file).
    void CheckCount(ULONGLONG count, UINT bytesEach);

    void Flush();
    void Close();
    void Abort();

    void WriteObject(const CObject* pOb);
    // The next object, which must be of the class asked for (or derived
    // from it; null accepts any class). The caller owns it.
    CObject* ReadObject(const CRuntimeClass* pClassRefRequested);
    void WriteClass(const CRuntimeClass* pClassRef);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = nullptr, UINT* pSchema = nullptr);
    // The schema stored with the object being loaded (once), else -1.
    UINT GetObjectSchema();
    void SetObjectSchema(UINT nSchema) { m_objectSchema = nSchema; }

    CArchive& operator<<(BYTE value) { return WriteValue(value, 1); }
    CArchive& operator<<(char value) { return WriteValue((BYTE)value, 1); }
    CArchive& operator<<(signed char value) { return WriteValue((BYTE)value, 1); }
    CArchive& operator<<(bool value) { return WriteValue(value ? 1 : 0, 1); }
    CArchive& operator<<(WORD value) { return WriteValue(value, 2); }
    CArchive& operator<<(short value) { return WriteValue((WORD)value, 2); }
    CArchive& operator<<(UINT value) { return WriteValue(value, 4); }
    CArchive& operator<<(int value) { return WriteValue((UINT)value, 4); }
    CArchive& operator<<(long value) { return WriteValue((ULONGLONG)value, 8); }
    CArchive& operator<<(unsigned long value) { return WriteValue((ULONGLONG)value, 8); }
    CArchive& operator<<(long long value) { return WriteValue((ULONGLONG)value, 8); }
    CArchive& operator<<(unsigned long long value) { return WriteValue(value, 8); }
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);
    CArchive& operator<<(const CString& value);
    CArchive& operator<<(LPCSTR value);
    CArchive& operator<<(const CObject* pOb) { WriteObject(pOb); return *this; }

    CArchive& operator>>(BYTE& value) { value = (BYTE)ReadValue(1); return *this; }
    CArchive& operator>>(char& value) { value = (char)ReadValue(1); return *this; }
    CArchive& operator>>(signed char& value) { value = (signed char)ReadValue(1); return *this; }
    CArchive& operator>>(bool& value) { value = ReadValue(1) != 0; return *this; }
    CArchive& operator>>(WORD& value) { value = (WORD)ReadValue(2); return *this; }
    CArchive& operator>>(short& value) { value = (short)ReadValue(2); return *this; }
    CArchive& operator>>(UINT& value) { value = (UINT)ReadValue(4); return *this; }
    CArchive& operator>>(int& value) { value = (int)ReadValue(4); return *this; }
    CArchive& operator>>(long& value) { value = (long)ReadValue(8); return *this; }
    CArchive& operator>>(unsigned long& value) { value = (unsigned long)ReadValue(8); return *this; }
    CArchive& operator>>(long long& value) { value = (long long)ReadValue(8); return *this; }
    CArchive& operator>>(unsigned long long& value) { value = ReadValue(8); return *this; }
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);
    CArchive& operator>>(CString& value);
    CArchive& operator>>(CObject*& pOb) { pOb = ReadObject(nullptr); return *this; }

    CString m_strFileName;

private:
    static const DWORD kNullTag = 0;
    static const DWORD kNewClassTag = 0xFFFFFFFF;
    static const DWORD kClassFlag = 0x80000000;
    static const DWORD kMaxIndex = 0x7FFFFFFE;
    static const int kMaxDepth = 1000;

    CArchive& WriteValue(ULONGLONG value, int bytes);
    ULONGLONG ReadValue(int bytes);
    void FillBuffer();
    void RequireLoading();
    void RequireStoring();
    [[noreturn]] void Fail(int cause) const;
    DWORD NextIndex();
    CRuntimeClass* ReadClassAfterTag(DWORD tag, UINT* pSchema);
    CObject* LoadNewObject(CRuntimeClass* pClass, UINT schema);

    // One loaded entry: a class (with its stored schema) or an object.
    struct LoadedEntry {
        CRuntimeClass* pClass;
        UINT schema;
        CObject* pObject;
    };

    CFile* m_pFile;
    bool m_loading;
    bool m_flushOnDelete;
    std::vector<BYTE> m_buffer;
    size_t m_bufferPos;      // next byte to read or write
    size_t m_bufferEnd;      // loading: bytes valid in the buffer
    UINT m_objectSchema;
    int m_depth;
    DWORD m_nextIndex;
    std::unordered_map<const void*, DWORD> m_storedIndex;   // object or class -> index
    std::vector<LoadedEntry> m_loaded;                       // index - 1 -> entry
};

#include "platform/classlib/archive.h"

#include <string.h>

namespace {

const int kMinBufferSize = 128;
const UINT kMaxClassNameLength = 255;

}  // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_strFileName(pFile != nullptr ? pFile->GetFilePath() : CString()),
      m_pFile(pFile),
      m_loading((nMode & load) != 0),
      m_flushOnDelete((nMode & bNoFlushOnDelete) == 0),
      m_buffer((size_t)(nBufSize > kMinBufferSize ? nBufSize : kMinBufferSize)),
      m_bufferPos(0),
      m_bufferEnd(0),
      m_objectSchema((UINT)-1),
      m_depth(0),
      m_nextIndex(1)
{
}

CArchive::~CArchive()
{
    if (m_pFile == nullptr)
        return;
    if (IsStoring() && m_flushOnDelete) {
        try {
            Flush();
        } catch (CException* e) {
            e->Delete();
        }
    }
    m_pFile = nullptr;
}

CFile* CArchive::GetFile()
{
    if (m_pFile == nullptr)
        return nullptr;
    if (IsStoring()) {
        Flush();
    } else if (m_bufferPos < m_bufferEnd) {
        // Give back what was read ahead.
        m_pFile->Seek(-(LONGLONG)(m_bufferEnd - m_bufferPos), CFile::current);
        m_bufferPos = m_bufferEnd = 0;
    }
    return m_pFile;
}

void CArchive::Fail(int cause) const
{
    AfxThrowArchiveException(cause, m_strFileName);
}

void CArchive::RequireLoading()
{
    if (!m_loading)
        Fail(CArchiveException::writeOnly);
    if (m_pFile == nullptr)
        Fail(CArchiveException::genericException);
}

void CArchive::RequireStoring()
{
    if (m_loading)
        Fail(CArchiveException::readOnly);
    if (m_pFile == nullptr)
        Fail(CArchiveException::genericException);
}

void CArchive::FillBuffer()
{
    m_bufferPos = 0;
    m_bufferEnd = m_pFile->Read(m_buffer.data(), (UINT)m_buffer.size());
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    RequireLoading();
    BYTE* target = static_cast<BYTE*>(lpBuf);
    UINT done = 0;
    while (done < nMax) {
        if (m_bufferPos == m_bufferEnd) {
            // Large reads go straight to the file.
            if (nMax - done >= m_buffer.size()) {
                UINT read = m_pFile->Read(target + done, nMax - done);
                done += read;
                break;
            }
            FillBuffer();
            if (m_bufferEnd == 0)
                break;
        }
        size_t chunk = m_bufferEnd - m_bufferPos;
        if (chunk > nMax - done)
            chunk = nMax - done;
        memcpy(target + done, m_buffer.data() + m_bufferPos, chunk);
        m_bufferPos += chunk;
        done += (UINT)chunk;
    }
    return done;
}

void CArchive::ReadExactly(void* lpBuf, UINT nCount)
{
    if (Read(lpBuf, nCount) != nCount)
        Fail(CArchiveException::endOfFile);
}

void CArchive::CheckCount(ULONGLONG count, UINT bytesEach)
{
    RequireLoading();
    ULONGLONG left = (m_bufferEnd - m_bufferPos) + (m_pFile->GetLength() - m_pFile->GetPosition());
    if (bytesEach == 0)
        bytesEach = 1;
    if (count > left / bytesEach)
        Fail(CArchiveException::badIndex);
}

void CArchive::Write(const void* lpBuf, UINT nCount)
{
    RequireStoring();
    const BYTE* source = static_cast<const BYTE*>(lpBuf);
    if (nCount >= m_buffer.size()) {
        Flush();
        m_pFile->Write(source, nCount);
        return;
    }
    while (nCount > 0) {
        if (m_bufferPos == m_buffer.size())
            Flush();
        size_t chunk = m_buffer.size() - m_bufferPos;
        if (chunk > nCount)
            chunk = nCount;
        memcpy(m_buffer.data() + m_bufferPos, source, chunk);
        m_bufferPos += chunk;
        source += chunk;
        nCount -= (UINT)chunk;
    }
}

void CArchive::Flush()
{
    if (m_pFile == nullptr || IsLoading())
        return;
    size_t pending = m_bufferPos;
    m_bufferPos = 0;
    if (pending > 0)
        m_pFile->Write(m_buffer.data(), (UINT)pending);
}

void CArchive::Close()
{
    Flush();
    m_pFile = nullptr;
}

void CArchive::Abort()
{
    m_bufferPos = m_bufferEnd = 0;
    m_pFile = nullptr;
}

CArchive& CArchive::WriteValue(ULONGLONG value, int bytes)
{
    BYTE data[8];
    for (int i = 0; i < bytes; ++i)
        data[i] = (BYTE)(value >> (8 * i));
    Write(data, (UINT)bytes);
    return *this;
}

ULONGLONG CArchive::ReadValue(int bytes)
{
    BYTE data[8];
    ReadExactly(data, (UINT)bytes);
    ULONGLONG value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= (ULONGLONG)data[i] << (8 * i);
    return value;
}

CArchive& CArchive::operator<<(float value)
{
    UINT bits;
    memcpy(&bits, &value, sizeof(bits));
    return WriteValue(bits, 4);
}

CArchive& CArchive::operator<<(double value)
{
    ULONGLONG bits;
    memcpy(&bits, &value, sizeof(bits));
    return WriteValue(bits, 8);
}

CArchive& CArchive::operator>>(float& value)
{
    UINT bits = (UINT)ReadValue(4);
    memcpy(&value, &bits, sizeof(value));
    return *this;
}

CArchive& CArchive::operator>>(double& value)
{
    ULONGLONG bits = ReadValue(8);
    memcpy(&value, &bits, sizeof(value));
    return *this;
}

CArchive& CArchive::operator<<(const CString& value)
{
    WriteValue((UINT)value.GetLength(), 4);
    Write((LPCSTR)value, (UINT)value.GetLength());
    return *this;
}

CArchive& CArchive::operator<<(LPCSTR value)
{
    return *this << CString(value);
}

CArchive& CArchive::operator>>(CString& value)
{
    UINT length = (UINT)ReadValue(4);
    CheckCount(length, 1);
    if (length > 0x7FFFFFF0u)
        Fail(CArchiveException::badIndex);
    CString text;
    ReadExactly(text.GetBufferSetLength((int)length), length);
    // A zero byte inside the text would hide the rest: the text ends there.
    text.ReleaseBuffer((int)strnlen(text.GetString(), length));
    value = std::move(text);
    return *this;
}

DWORD CArchive::NextIndex()
{
    if (m_nextIndex > kMaxIndex)
        Fail(CArchiveException::badIndex);
    return m_nextIndex++;
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    RequireStoring();
    if (pClassRef == nullptr || pClassRef->m_wSchema == CLASSLIB_NO_SCHEMA)
        Fail(CArchiveException::badClass);
    auto known = m_storedIndex.find(pClassRef);
    if (known != m_storedIndex.end()) {
        WriteValue(kClassFlag | known->second, 4);
        return;
    }
    UINT nameLength = (UINT)strlen(pClassRef->m_lpszClassName);
    if (nameLength == 0 || nameLength > kMaxClassNameLength)
        Fail(CArchiveException::badClass);
    m_storedIndex[pClassRef] = NextIndex();
    WriteValue(kNewClassTag, 4);
    WriteValue(pClassRef->m_wSchema, 2);
    WriteValue(nameLength, 2);
    Write(pClassRef->m_lpszClassName, nameLength);
}

void CArchive::WriteObject(const CObject* pOb)
{
    RequireStoring();
    if (pOb == nullptr) {
        WriteValue(kNullTag, 4);
        return;
    }
    auto known = m_storedIndex.find(pOb);
    if (known != m_storedIndex.end()) {
        WriteValue(known->second, 4);
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    m_storedIndex[pOb] = NextIndex();
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClassAfterTag(DWORD tag, UINT* pSchema)
{
    if (tag == kNewClassTag) {
        UINT schema = (UINT)ReadValue(2);
        UINT nameLength = (UINT)ReadValue(2);
        if (nameLength == 0 || nameLength > kMaxClassNameLength)
            Fail(CArchiveException::badClass);
        char name[kMaxClassNameLength + 1];
        ReadExactly(name, nameLength);
        name[nameLength] = 0;
        CRuntimeClass* pClass = CRuntimeClass::FromName(name);
        if (pClass == nullptr)
            Fail(CArchiveException::badClass);
        if (pClass->m_wSchema != schema)
            Fail(CArchiveException::badSchema);
        NextIndex();
        m_loaded.push_back(LoadedEntry{ pClass, schema, nullptr });
        *pSchema = schema;
        return pClass;
    }
    DWORD index = tag & ~kClassFlag;
    if (!(tag & kClassFlag) || index == 0 || index > m_loaded.size()
        || m_loaded[index - 1].pClass == nullptr)
        Fail(CArchiveException::badIndex);
    *pSchema = m_loaded[index - 1].schema;
    return m_loaded[index - 1].pClass;
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema)
{
    RequireLoading();
    UINT schema = 0;
    CRuntimeClass* pClass = ReadClassAfterTag((DWORD)ReadValue(4), &schema);
    if (pClassRefRequested != nullptr && !pClass->IsDerivedFrom(pClassRefRequested))
        Fail(CArchiveException::badClass);
    if (pSchema != nullptr)
        *pSchema = schema;
    return pClass;
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    RequireLoading();
    DWORD tag = (DWORD)ReadValue(4);
    if (tag == kNullTag)
        return nullptr;
    if (tag != kNewClassTag && !(tag & kClassFlag)) {
        // A shared reference to an object loaded before.
        if (tag > m_loaded.size() || m_loaded[tag - 1].pObject == nullptr)
            Fail(CArchiveException::badIndex);
        CObject* pObject = m_loaded[tag - 1].pObject;
        if (pClassRefRequested != nullptr && !pObject->IsKindOf(pClassRefRequested))
            Fail(CArchiveException::badClass);
        return pObject;
    }
    UINT schema = 0;
    CRuntimeClass* pClass = ReadClassAfterTag(tag, &schema);
    if (pClassRefRequested != nullptr && !pClass->IsDerivedFrom(pClassRefRequested))
        Fail(CArchiveException::badClass);
    return LoadNewObject(pClass, schema);
}

CObject* CArchive::LoadNewObject(CRuntimeClass* pClass, UINT schema)
{
    if (m_depth >= kMaxDepth)
        Fail(CArchiveException::badIndex);
    CObject* pObject = pClass->CreateObject();
    if (pObject == nullptr)
        Fail(CArchiveException::badClass);
    size_t slot = m_loaded.size();
    ++m_depth;
    try {
        NextIndex();
        m_loaded.push_back(LoadedEntry{ nullptr, 0, pObject });
        m_objectSchema = schema;
        pObject->Serialize(*this);
    } catch (...) {
        --m_depth;
        // The object and whatever it loaded are gone: later references to
        // them must not reach freed memory.
        m_loaded.resize(slot);
        delete pObject;
        throw;
    }
    --m_depth;
    m_objectSchema = (UINT)-1;
    return pObject;
}

UINT CArchive::GetObjectSchema()
{
    UINT schema = m_objectSchema;
    m_objectSchema = (UINT)-1;
    return schema;
}

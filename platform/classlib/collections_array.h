// The class library's arrays: growable arrays of object pointers, raw
// pointers, texts and integers, indexed from 0.
#pragma once
#include "platform/classlib/collections_base.h"
#include "platform/classlib/cstring.h"

#include <vector>

// The shared array logic. An index outside the array reads as the empty
// value (GetAt) or is ignored (SetAt); ElementAt and operator[] on a
// writable array throw CNotSupportedException* for such an index.
template <class TYPE>
class ClasslibArray : public CObject
{
public:
    INT_PTR GetSize() const { return (INT_PTR)m_items.size(); }
    INT_PTR GetCount() const { return GetSize(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }
    BOOL IsEmpty() const { return m_items.empty(); }

    // New elements are empty; nGrowBy > 0 is the step the storage grows by
    // (-1 keeps the current step).
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nGrowBy >= 0)
            m_growBy = nGrowBy;
        if (nNewSize < 0)
            nNewSize = 0;
        Reserve((size_t)nNewSize);
        m_items.resize((size_t)nNewSize);
    }
    void FreeExtra() { m_items.shrink_to_fit(); }
    void RemoveAll() { m_items.clear(); }

    TYPE GetAt(INT_PTR nIndex) const { return IsValid(nIndex) ? m_items[(size_t)nIndex] : TYPE(); }
    void SetAt(INT_PTR nIndex, const TYPE& newElement)
    {
        if (IsValid(nIndex))
            m_items[(size_t)nIndex] = newElement;
    }
    TYPE& ElementAt(INT_PTR nIndex)
    {
        if (!IsValid(nIndex))
            AfxThrowNotSupportedException();
        return m_items[(size_t)nIndex];
    }
    TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
    const TYPE* GetData() const { return m_items.data(); }
    TYPE* GetData() { return m_items.data(); }

    void SetAtGrow(INT_PTR nIndex, const TYPE& newElement)
    {
        if (nIndex < 0)
            return;
        if (nIndex >= GetSize())
            SetSize(nIndex + 1);
        m_items[(size_t)nIndex] = newElement;
    }
    INT_PTR Add(const TYPE& newElement)
    {
        Reserve(m_items.size() + 1);
        m_items.push_back(newElement);
        return GetSize() - 1;
    }
    // Returns the index of the first appended element.
    INT_PTR Append(const ClasslibArray& src)
    {
        INT_PTR first = GetSize();
        if (&src == this) {
            std::vector<TYPE> copy(m_items);
            AppendItems(copy);
        } else {
            AppendItems(src.m_items);
        }
        return first;
    }
    void Copy(const ClasslibArray& src)
    {
        if (&src != this)
            m_items = src.m_items;
    }

    // Inserting past the end grows the array with empty elements first.
    void InsertAt(INT_PTR nIndex, const TYPE& newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
            return;
        if (nIndex >= GetSize())
            SetSize(nIndex);
        Reserve(m_items.size() + (size_t)nCount);
        m_items.insert(m_items.begin() + nIndex, (size_t)nCount, newElement);
    }
    void InsertAt(INT_PTR nStartIndex, const ClasslibArray* pNewArray)
    {
        if (pNewArray == nullptr || nStartIndex < 0 || pNewArray->IsEmpty())
            return;
        std::vector<TYPE> copy(pNewArray->m_items);
        if (nStartIndex >= GetSize())
            SetSize(nStartIndex);
        Reserve(m_items.size() + copy.size());
        m_items.insert(m_items.begin() + nStartIndex, copy.begin(), copy.end());
    }
    // Removes up to nCount elements from nIndex.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nIndex >= GetSize() || nCount <= 0)
            return;
        if (nCount > GetSize() - nIndex)
            nCount = GetSize() - nIndex;
        m_items.erase(m_items.begin() + nIndex, m_items.begin() + nIndex + nCount);
    }

    // A DWORD count, then the elements (raw pointers cannot be archived).
    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ClasslibWriteCount(ar, GetSize());
        } else {
            RemoveAll();
            SetSize(ClasslibReadCount<TYPE>(ar));
        }
        for (TYPE& item : m_items)
            ClasslibSerializeElement(ar, item);
    }

private:
    bool IsValid(INT_PTR nIndex) const { return nIndex >= 0 && nIndex < GetSize(); }

    // Storage grows by the step set with SetSize, else by an eighth of the
    // size (at least 4, at most 1024 elements).
    void Reserve(size_t needed)
    {
        if (needed <= m_items.capacity())
            return;
        size_t step = m_growBy > 0 ? (size_t)m_growBy : m_items.size() / 8;
        if (m_growBy <= 0)
            step = step < 4 ? 4 : (step > 1024 ? 1024 : step);
        size_t grown = m_items.capacity() + step;
        m_items.reserve(needed > grown ? needed : grown);
    }
    void AppendItems(const std::vector<TYPE>& items)
    {
        Reserve(m_items.size() + items.size());
        m_items.insert(m_items.end(), items.begin(), items.end());
    }

    std::vector<TYPE> m_items;
    INT_PTR m_growBy = 0;
};

// Object pointers; the array does not own them.
class CObArray : public ClasslibArray<CObject*>
{
    DECLARE_SERIAL(CObArray)
};

class CPtrArray : public ClasslibArray<void*>
{
    DECLARE_DYNAMIC(CPtrArray)
};

class CStringArray : public ClasslibArray<CString>
{
    DECLARE_SERIAL(CStringArray)
};

class CDWordArray : public ClasslibArray<DWORD>
{
    DECLARE_SERIAL(CDWordArray)
};

class CWordArray : public ClasslibArray<WORD>
{
    DECLARE_SERIAL(CWordArray)
};

class CByteArray : public ClasslibArray<BYTE>
{
    DECLARE_SERIAL(CByteArray)
};

class CUIntArray : public ClasslibArray<UINT>
{
    DECLARE_DYNAMIC(CUIntArray)
};

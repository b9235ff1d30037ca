// What the class library's collections share: list and map positions and
// the archive form of a collection (a DWORD count, then each element in its
// own archive form).
#pragma once
#include "platform/classlib/archive.h"
#include "platform/classlib/object.h"

// An opaque place in a list or map; null is "no position".
struct __POSITION {};
typedef __POSITION* POSITION;

// Fewest bytes one element of this type takes in an archive (objects and
// texts take at least their 4-byte tag or length).
template <class T>
constexpr UINT ClasslibMinArchivedBytes()
{
    return sizeof(T) < 4 ? (UINT)sizeof(T) : 4u;
}

template <class T>
void ClasslibSerializeElement(CArchive& ar, T& element)
{
    if (ar.IsStoring())
        ar << element;
    else
        ar >> element;
}

// Raw pointers have no archive form.
inline void ClasslibSerializeElement(CArchive&, void*&)
{
    AfxThrowNotSupportedException();
}

inline void ClasslibWriteCount(CArchive& ar, INT_PTR count)
{
    ar << (DWORD)count;
}

// A count from the archive, checked against what is left to read.
template <class T>
INT_PTR ClasslibReadCount(CArchive& ar)
{
    DWORD count = 0;
    ar >> count;
    ar.CheckCount(count, ClasslibMinArchivedBytes<T>());
    return (INT_PTR)count;
}

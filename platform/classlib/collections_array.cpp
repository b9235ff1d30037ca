#include "platform/classlib/collections_array.h"

IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)

void CObArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeElements(ar);
}

void CStringArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeElements(ar);
}

void CDWordArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeElements(ar);
}

void CWordArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeElements(ar);
}

void CByteArray::Serialize(CArchive& ar)
{
    CObject::Serialize(ar);
    SerializeElements(ar);
}

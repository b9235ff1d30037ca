#include "platform/classlib/object.h"

#include <new>
#include <string.h>

namespace {

// Registration runs during static initialisation (one thread); afterwards
// the list is only read.
CRuntimeClass* g_firstClass = nullptr;

CRuntimeClassRegistration g_objectRegistration(RUNTIME_CLASS(CObject));

}  // namespace

CRuntimeClass CObject::classCObject = {
    "CObject", (int)sizeof(CObject), CLASSLIB_NO_SCHEMA, nullptr, nullptr, nullptr };

CRuntimeClassRegistration::CRuntimeClassRegistration(CRuntimeClass* pClass)
{
    pClass->m_pNextClass = g_firstClass;
    g_firstClass = pClass;
}

CObject* CRuntimeClass::CreateObject() const
{
    if (m_pfnCreateObject == nullptr)
        return nullptr;
    try {
        return m_pfnCreateObject();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* pClass = this; pClass != nullptr; pClass = pClass->m_pBaseClass) {
        if (pClass == pBaseClass)
            return TRUE;
    }
    return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName)
{
    if (lpszClassName == nullptr)
        return nullptr;
    for (CRuntimeClass* pClass = g_firstClass; pClass != nullptr; pClass = pClass->m_pNextClass) {
        if (strcmp(pClass->m_lpszClassName, lpszClassName) == 0)
            return pClass;
    }
    return nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName)
{
    CRuntimeClass* pClass = FromName(lpszClassName);
    return pClass != nullptr ? pClass->CreateObject() : nullptr;
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return RUNTIME_CLASS(CObject);
}

void CObject::Serialize(CArchive&)
{
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const
{
    return GetRuntimeClass()->m_wSchema != CLASSLIB_NO_SCHEMA;
}

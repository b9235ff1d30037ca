// CObject, the root of the class library's serialisable classes, and
// CRuntimeClass, the run-time class record behind IsKindOf, dynamic
// creation and loading objects from an archive by class name.
#pragma once
#include <windows.h>

class CArchive;
class CObject;

// One record per class that declares run-time class information. Records
// of classes made with IMPLEMENT_DYNCREATE/IMPLEMENT_SERIAL can create
// objects; every record is registered by name at start-up.
struct CRuntimeClass
{
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;                     // 0xFFFF: not serialisable
    CObject* (*m_pfnCreateObject)();    // null: no dynamic creation
    CRuntimeClass* m_pBaseClass;        // null for CObject
    CRuntimeClass* m_pNextClass;        // link of the by-name registry

    // A new object of this class, or null when the class cannot be created
    // dynamically (or memory runs out).
    CObject* CreateObject() const;
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

    // The registered class of that name, or null.
    static CRuntimeClass* FromName(LPCSTR lpszClassName);
    static CObject* CreateObject(LPCSTR lpszClassName);
};

// Adds a class record to the by-name registry; one static instance per
// IMPLEMENT_* line does it before main runs.
struct CRuntimeClassRegistration
{
    explicit CRuntimeClassRegistration(CRuntimeClass* pClass);
};

#define CLASSLIB_NO_SCHEMA 0xFFFF

// Virtual slots in order: GetRuntimeClass, the destructor, Serialize.
class CObject
{
public:
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);

    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    static CRuntimeClass classCObject;

protected:
    CObject() = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                         \
public:                                                                     \
    static CRuntimeClass class##class_name;                                 \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                       \
    DECLARE_DYNAMIC(class_name)                                             \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)                                          \
    DECLARE_DYNCREATE(class_name)                                           \
    friend CArchive& operator>>(CArchive& ar, class_name*& pOb);

#define CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, pfnNew) \
    CRuntimeClass class_name::class##class_name = {                         \
        #class_name, (int)sizeof(class_name), (UINT)(schema), pfnNew,       \
        RUNTIME_CLASS(base_class_name), nullptr };                          \
    CRuntimeClass* class_name::GetRuntimeClass() const                      \
    {                                                                       \
        return RUNTIME_CLASS(class_name);                                   \
    }                                                                       \
    static CRuntimeClassRegistration classlib_registration_##class_name(    \
        RUNTIME_CLASS(class_name));

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                      \
    CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name,            \
                                    CLASSLIB_NO_SCHEMA, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                    \
    CObject* class_name::CreateObject() { return new class_name; }          \
    CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name,            \
                                    CLASSLIB_NO_SCHEMA, class_name::CreateObject)

// Serialisable classes: the schema is the version number written with the
// class in an archive (below 0xFFFF).
#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)               \
    CObject* class_name::CreateObject() { return new class_name; }          \
    CLASSLIB_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name,            \
                                    schema, class_name::CreateObject)       \
    CArchive& operator>>(CArchive& ar, class_name*& pOb)                    \
    {                                                                       \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name))); \
        return ar;                                                          \
    }

// A checked cast: null when the object is not of that class or derived.
template <class T>
T* ClasslibDynamicDowncast(const CRuntimeClass* pClass, CObject* pObject)
{
    if (pObject != nullptr && pObject->IsKindOf(pClass))
        return static_cast<T*>(pObject);
    return nullptr;
}

#define DYNAMIC_DOWNCAST(class_name, object)                                \
    ClasslibDynamicDowncast<class_name>(RUNTIME_CLASS(class_name), (object))

// A cast the caller knows to be right.
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

// The class library's maps: hash tables from pointers, words and texts to
// pointers, objects and texts, walked with POSITION values in no
// particular order.
#pragma once
#include "platform/classlib/collections_base.h"
#include "platform/classlib/cstring.h"

#include <string.h>
#include <vector>

// Hash of a key; texts hash their bytes (case matters).
inline UINT ClasslibHashKey(const void* key) { return (UINT)(((UINT_PTR)key >> 4) ^ ((UINT_PTR)key >> 20)); }
inline UINT ClasslibHashKey(WORD key) { return key; }
inline UINT ClasslibHashKey(LPCSTR key)
{
    UINT hash = 2166136261u;
    for (; key != nullptr && *key != 0; ++key)
        hash = (hash ^ (BYTE)*key) * 16777619u;
    return hash;
}

// The shared map logic. KEY is the stored key type, ARG_KEY the type the
// operations take (a CString key is looked up with any LPCSTR). The table
// doubles when it holds more than twice as many entries as buckets; a
// position stays valid until its entry is removed or the map grows.
template <class KEY, class ARG_KEY, class VALUE>
class ClasslibMap : public CObject
{
    struct Assoc {
        Assoc* next;
        UINT bucket;
        KEY key;
        VALUE value;
    };

public:
    explicit ClasslibMap(INT_PTR = 10) {}
    ~ClasslibMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }
    UINT GetHashTableSize() const { return (UINT)m_buckets.size(); }

    // Sets the bucket count of an empty map.
    void InitHashTable(UINT nHashSize, BOOL = TRUE)
    {
        if (m_count == 0 && nHashSize > 0)
            m_buckets.assign(nHashSize, nullptr);
    }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        const Assoc* assoc = Find(key);
        if (assoc == nullptr)
            return FALSE;
        rValue = assoc->value;
        return TRUE;
    }
    // The value of key, added (empty) when missing.
    VALUE& operator[](ARG_KEY key)
    {
        Assoc* assoc = Find(key);
        return assoc != nullptr ? assoc->value : Insert(key)->value;
    }
    void SetAt(ARG_KEY key, const VALUE& newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        Assoc** link = &m_buckets[BucketOf(key)];
        for (; *link != nullptr; link = &(*link)->next) {
            if (KeysEqual((*link)->key, key)) {
                Assoc* removed = *link;
                *link = removed->next;
                delete removed;
                --m_count;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (Assoc*& head : m_buckets) {
            while (head != nullptr) {
                Assoc* next = head->next;
                delete head;
                head = next;
            }
        }
        m_count = 0;
    }

    POSITION GetStartPosition() const
    {
        return m_count == 0 ? nullptr : ToPosition(FirstFrom(0));
    }
    // The entry at rNextPosition; rNextPosition moves to the next entry,
    // null after the last. A null position gives nothing.
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        const Assoc* assoc = reinterpret_cast<const Assoc*>(rNextPosition);
        if (assoc == nullptr)
            return;
        rKey = assoc->key;
        rValue = assoc->value;
        const Assoc* next = assoc->next != nullptr ? assoc->next : FirstFrom(assoc->bucket + 1);
        rNextPosition = ToPosition(next);
    }

    // A DWORD count, then each key and value (raw pointers cannot be archived).
    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ClasslibWriteCount(ar, m_count);
            for (Assoc* head : m_buckets) {
                for (Assoc* assoc = head; assoc != nullptr; assoc = assoc->next) {
                    ClasslibSerializeElement(ar, assoc->key);
                    ClasslibSerializeElement(ar, assoc->value);
                }
            }
            return;
        }
        RemoveAll();
        for (INT_PTR count = ClasslibReadCount<KEY>(ar); count > 0; --count) {
            KEY key = KEY();
            VALUE value = VALUE();
            ClasslibSerializeElement(ar, key);
            ClasslibSerializeElement(ar, value);
            SetAt(key, value);
        }
    }

private:
    static POSITION ToPosition(const Assoc* assoc)
    {
        return reinterpret_cast<POSITION>(const_cast<Assoc*>(assoc));
    }
    static bool KeysEqual(const KEY& stored, ARG_KEY key) { return stored == key; }

    UINT BucketOf(ARG_KEY key) const { return ClasslibHashKey(key) % (UINT)m_buckets.size(); }

    Assoc* Find(ARG_KEY key) const
    {
        if (m_buckets.empty())
            return nullptr;
        for (Assoc* assoc = m_buckets[BucketOf(key)]; assoc != nullptr; assoc = assoc->next) {
            if (KeysEqual(assoc->key, key))
                return assoc;
        }
        return nullptr;
    }
    const Assoc* FirstFrom(size_t bucket) const
    {
        for (; bucket < m_buckets.size(); ++bucket) {
            if (m_buckets[bucket] != nullptr)
                return m_buckets[bucket];
        }
        return nullptr;
    }
    Assoc* Insert(ARG_KEY key)
    {
        if (m_buckets.empty())
            m_buckets.assign(17, nullptr);
        else if ((size_t)m_count >= m_buckets.size() * 2)
            Rehash(m_buckets.size() * 2 + 1);
        UINT bucket = BucketOf(key);
        Assoc* assoc = new Assoc{ m_buckets[bucket], bucket, KEY(key), VALUE() };
        m_buckets[bucket] = assoc;
        ++m_count;
        return assoc;
    }
    void Rehash(size_t size)
    {
        std::vector<Assoc*> old(size, nullptr);
        old.swap(m_buckets);
        for (Assoc* head : old) {
            while (head != nullptr) {
                Assoc* next = head->next;
                head->bucket = BucketOf(head->key);
                head->next = m_buckets[head->bucket];
                m_buckets[head->bucket] = head;
                head = next;
            }
        }
    }

    std::vector<Assoc*> m_buckets;
    INT_PTR m_count = 0;
};

class CMapPtrToPtr : public ClasslibMap<void*, void*, void*>
{
    DECLARE_DYNAMIC(CMapPtrToPtr)
public:
    using ClasslibMap::ClasslibMap;
};

class CMapWordToPtr : public ClasslibMap<WORD, WORD, void*>
{
    DECLARE_DYNAMIC(CMapWordToPtr)
public:
    using ClasslibMap::ClasslibMap;
};

class CMapStringToPtr : public ClasslibMap<CString, LPCSTR, void*>
{
    DECLARE_DYNAMIC(CMapStringToPtr)
public:
    using ClasslibMap::ClasslibMap;
};

// Object pointers as values; the map does not own them.
class CMapStringToOb : public ClasslibMap<CString, LPCSTR, CObject*>
{
    DECLARE_SERIAL(CMapStringToOb)
public:
    using ClasslibMap::ClasslibMap;
};

class CMapStringToString : public ClasslibMap<CString, LPCSTR, CString>
{
    DECLARE_SERIAL(CMapStringToString)
public:
    using ClasslibMap::ClasslibMap;
};

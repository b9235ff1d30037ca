// The class library's lists: doubly linked lists of object pointers, raw
// pointers and texts, walked with POSITION values.
#pragma once
#include "platform/classlib/collections_base.h"
#include "platform/classlib/cstring.h"

// The shared list logic. A POSITION stays valid until its element is
// removed. Taking the head or tail of an empty list gives the empty value;
// GetHead/GetTail/GetNext/GetPrev/GetAt with no element throw
// CNotSupportedException*.
template <class TYPE>
class ClasslibList : public CObject
{
    struct Node {
        Node* next;
        Node* prev;
        TYPE data;
    };

public:
    ClasslibList() = default;
    explicit ClasslibList(INT_PTR) {}   // block size: nodes are allocated one by one
    ~ClasslibList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_count; }
    INT_PTR GetSize() const { return m_count; }
    BOOL IsEmpty() const { return m_count == 0; }

    TYPE& GetHead() { return Checked(m_head)->data; }
    TYPE GetHead() const { return m_head != nullptr ? m_head->data : TYPE(); }
    TYPE& GetTail() { return Checked(m_tail)->data; }
    TYPE GetTail() const { return m_tail != nullptr ? m_tail->data : TYPE(); }

    TYPE RemoveHead() { return m_head != nullptr ? Unlink(m_head) : TYPE(); }
    TYPE RemoveTail() { return m_tail != nullptr ? Unlink(m_tail) : TYPE(); }

    POSITION AddHead(const TYPE& newElement) { return Link(newElement, nullptr, m_head); }
    POSITION AddTail(const TYPE& newElement) { return Link(newElement, m_tail, nullptr); }
    void AddHead(const ClasslibList* pNewList)
    {
        if (pNewList == nullptr)
            return;
        ClasslibList copy;
        copy.AddTail(pNewList);
        for (Node* node = copy.m_tail; node != nullptr; node = node->prev)
            AddHead(node->data);
    }
    void AddTail(const ClasslibList* pNewList)
    {
        if (pNewList == nullptr)
            return;
        INT_PTR count = pNewList->m_count;   // the list may be this one
        Node* node = pNewList->m_head;
        for (INT_PTR i = 0; i < count; ++i, node = node->next)
            AddTail(node->data);
    }
    void RemoveAll()
    {
        while (m_head != nullptr)
            Unlink(m_head);
    }

    POSITION GetHeadPosition() const { return ToPosition(m_head); }
    POSITION GetTailPosition() const { return ToPosition(m_tail); }
    // The element at rPosition; rPosition moves to the next (or previous)
    // one, null past the end.
    TYPE& GetNext(POSITION& rPosition) const
    {
        Node* node = Checked(FromPosition(rPosition));
        rPosition = ToPosition(node->next);
        return node->data;
    }
    TYPE& GetPrev(POSITION& rPosition) const
    {
        Node* node = Checked(FromPosition(rPosition));
        rPosition = ToPosition(node->prev);
        return node->data;
    }
    TYPE& GetAt(POSITION position) const { return Checked(FromPosition(position))->data; }
    void SetAt(POSITION pos, const TYPE& newElement) { GetAt(pos) = newElement; }
    void RemoveAt(POSITION position)
    {
        if (position != nullptr)
            Unlink(FromPosition(position));
    }
    // A null position inserts at the head (InsertBefore) or tail (InsertAfter).
    POSITION InsertBefore(POSITION position, const TYPE& newElement)
    {
        Node* node = FromPosition(position);
        return node == nullptr ? AddHead(newElement) : Link(newElement, node->prev, node);
    }
    POSITION InsertAfter(POSITION position, const TYPE& newElement)
    {
        Node* node = FromPosition(position);
        return node == nullptr ? AddTail(newElement) : Link(newElement, node, node->next);
    }

    // The first equal element after startAfter (from the head when null).
    POSITION Find(const TYPE& searchValue, POSITION startAfter = nullptr) const
    {
        Node* node = startAfter != nullptr ? FromPosition(startAfter)->next : m_head;
        for (; node != nullptr; node = node->next) {
            if (node->data == searchValue)
                return ToPosition(node);
        }
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_count)
            return nullptr;
        Node* node = m_head;
        while (nIndex-- > 0)
            node = node->next;
        return ToPosition(node);
    }

    // A DWORD count, then the elements (raw pointers cannot be archived).
    void Serialize(CArchive& ar) override
    {
        CObject::Serialize(ar);
        if (ar.IsStoring()) {
            ClasslibWriteCount(ar, m_count);
            for (Node* node = m_head; node != nullptr; node = node->next)
                ClasslibSerializeElement(ar, node->data);
            return;
        }
        RemoveAll();
        for (INT_PTR count = ClasslibReadCount<TYPE>(ar); count > 0; --count) {
            TYPE element = TYPE();
            ClasslibSerializeElement(ar, element);
            AddTail(element);
        }
    }

private:
    static POSITION ToPosition(Node* node) { return reinterpret_cast<POSITION>(node); }
    static Node* FromPosition(POSITION position) { return reinterpret_cast<Node*>(position); }
    static Node* Checked(Node* node)
    {
        if (node == nullptr)
            AfxThrowNotSupportedException();
        return node;
    }

    POSITION Link(const TYPE& element, Node* prev, Node* next)
    {
        Node* node = new Node{ next, prev, element };
        (prev != nullptr ? prev->next : m_head) = node;
        (next != nullptr ? next->prev : m_tail) = node;
        ++m_count;
        return ToPosition(node);
    }
    TYPE Unlink(Node* node)
    {
        (node->prev != nullptr ? node->prev->next : m_head) = node->next;
        (node->next != nullptr ? node->next->prev : m_tail) = node->prev;
        --m_count;
        TYPE data = node->data;
        delete node;
        return data;
    }

    Node* m_head = nullptr;
    Node* m_tail = nullptr;
    INT_PTR m_count = 0;
};

// Object pointers; the list does not own them.
class CObList : public ClasslibList<CObject*>
{
    DECLARE_SERIAL(CObList)
public:
    using ClasslibList::ClasslibList;
};

class CPtrList : public ClasslibList<void*>
{
    DECLARE_DYNAMIC(CPtrList)
public:
    using ClasslibList::ClasslibList;
};

class CStringList : public ClasslibList<CString>
{
    DECLARE_SERIAL(CStringList)
public:
    using ClasslibList::ClasslibList;
};

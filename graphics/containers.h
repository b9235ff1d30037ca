// The kernel's own containers: the doubly linked lists OList and OArray,
// and the owned array OBuffer.
//
// The lists hold their values by value, one heap node each, and keep a
// tail pointer, so appends cost constant time; every lookup walks from the
// head. A list has one iteration cursor (First / Next / Current).
// Nothing here throws: a node that cannot be allocated makes Append return
// null and leaves the list unchanged.
#pragma once
#include <stdint.h>
#include <new>

template <class T>
class OLinkedList
{
public:
    OLinkedList() : m_head(nullptr), m_tail(nullptr), m_cursor(nullptr), m_count(0) {}
    OLinkedList(const OLinkedList& other) : OLinkedList() { AppendAll(other); }
    OLinkedList& operator=(const OLinkedList& other)
    {
        Assign(other);
        return *this;
    }
    ~OLinkedList() { RemoveAll(); }

    // Appends a copy of value (or a default-constructed value); returns the
    // stored value, or null when no node could be made.
    T* Append(const T& value) { return Link(new (std::nothrow) Node{nullptr, nullptr, value}); }
    T* AppendNew() { return Link(new (std::nothrow) Node{nullptr, nullptr, T()}); }

    // Empties the list, then appends a copy of every value of other.
    // Assigning a list to itself changes nothing.
    void Assign(const OLinkedList& other)
    {
        if (&other == this)
            return;
        RemoveAll();
        AppendAll(other);
    }

    // Appends a copy of every value of other, in order. Appending a list to
    // itself doubles it. Returns false when a node could not be made (the
    // values appended before stay).
    bool AppendAll(const OLinkedList& other)
    {
        Node* last = other.m_tail;
        for (Node* node = other.m_head; node; node = node->next) {
            if (!Append(node->value))
                return false;
            if (node == last)
                break;
        }
        return true;
    }

    void RemoveAll()
    {
        Node* node = m_head;
        while (node) {
            Node* next = node->next;
            delete node;
            node = next;
        }
        m_head = m_tail = m_cursor = nullptr;
        m_count = 0;
    }

    // Removes the last node; a cursor on it moves to the previous node.
    void RemoveTail()
    {
        Node* node = m_tail;
        if (!node)
            return;
        if (m_cursor == node)
            m_cursor = node->prev;
        m_tail = node->prev;
        if (m_tail)
            m_tail->next = nullptr;
        else
            m_head = nullptr;
        delete node;
        --m_count;
    }

    // Removes the first node; a cursor on it moves to the next node.
    void RemoveHead()
    {
        Node* node = m_head;
        if (!node)
            return;
        if (m_cursor == node)
            m_cursor = node->next;
        m_head = node->next;
        if (m_head)
            m_head->prev = nullptr;
        else
            m_tail = nullptr;
        delete node;
        --m_count;
    }

    // Removes the node under the cursor; the cursor moves to the next node.
    void RemoveCurrent()
    {
        Node* node = m_cursor;
        if (!node)
            return;
        m_cursor = node->next;
        (node->prev ? node->prev->next : m_head) = node->next;
        (node->next ? node->next->prev : m_tail) = node->prev;
        delete node;
        --m_count;
    }

    int32_t GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    T* GetHead() const { return m_head ? &m_head->value : nullptr; }
    T* GetTail() const { return m_tail ? &m_tail->value : nullptr; }

    // Iteration: First puts the cursor on the head, Next moves it on; each
    // returns the value under the cursor, or null past the end.
    T* First()
    {
        m_cursor = m_head;
        return Current();
    }
    T* Next()
    {
        if (m_cursor)
            m_cursor = m_cursor->next;
        return Current();
    }
    T* Current() const { return m_cursor ? &m_cursor->value : nullptr; }

private:
    struct Node {
        Node* prev;
        Node* next;
        T value;
    };

    T* Link(Node* node)
    {
        if (!node)
            return nullptr;
        node->prev = m_tail;
        if (m_tail)
            m_tail->next = node;
        else
            m_head = m_cursor = node;
        m_tail = node;
        ++m_count;
        return &node->value;
    }

    Node* m_head;
    Node* m_tail;
    Node* m_cursor;
    int32_t m_count;
};

// A list with an upper bound that its owner keeps (the previous-view list
// holds at most 50 views); the list itself does not enforce it.
template <class T>
class OList : public OLinkedList<T>
{
public:
    OList() : m_maxCount(0) {}
    int32_t GetMaxCount() const { return m_maxCount; }
    void SetMaxCount(int32_t maxCount) { m_maxCount = maxCount; }

private:
    int32_t m_maxCount;
};

// Despite its name, a linked list too: positions are reached by walking.
template <class T>
class OArray : public OLinkedList<T>
{
};

// An owned array of count values (one polyline of the vector model).
template <class T>
class OBuffer
{
public:
    OBuffer() : m_data(nullptr), m_count(0) {}
    OBuffer(const OBuffer& other) : OBuffer() { CopyFrom(other); }
    OBuffer& operator=(const OBuffer& other)
    {
        if (&other != this)
            CopyFrom(other);
        return *this;
    }
    ~OBuffer() { Clear(); }

    // Replaces the contents by count default values; false (and empty)
    // when count is 0 or the array cannot be allocated.
    bool Alloc(uint32_t count)
    {
        Clear();
        if (count == 0)
            return false;
        m_data = new (std::nothrow) T[count]();
        if (!m_data)
            return false;
        m_count = count;
        return true;
    }

    void Clear()
    {
        delete[] m_data;
        m_data = nullptr;
        m_count = 0;
    }

    T* GetData() const { return m_data; }
    uint32_t GetCount() const { return m_count; }
    T& operator[](uint32_t index) const { return m_data[index]; }

private:
    void CopyFrom(const OBuffer& other)
    {
        if (!Alloc(other.m_count))
            return;
        for (uint32_t i = 0; i < m_count; ++i)
            m_data[i] = other.m_data[i];
    }

    T* m_data;
    uint32_t m_count;
};

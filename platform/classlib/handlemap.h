// Per-thread maps from Win32 handles to the library's wrapper objects.
// Permanent entries belong to objects that own their handle (a CWnd that
// created or attached its window); temporary entries are wrappers made by
// FromHandle for foreign handles and are deleted at idle time.
#pragma once
#include <windows.h>
#include <unordered_map>
#include "platform/classlib/threadstate.h"

// Temporary wrappers of the kind Wrapper whose handle is the member
// `handle` of Owner (Wrapper or a base of it): Wrap makes one, Unwrap
// takes the handle out and deletes it without freeing the handle.
template <typename Handle, typename Wrapper, typename Owner, Handle Owner::*handle>
struct MemberHandleTraits {
    static Wrapper* Wrap(Handle value)
    {
        Wrapper* wrapper = new Wrapper;
        wrapper->*handle = value;
        return wrapper;
    }
    static void Unwrap(Wrapper* wrapper)
    {
        wrapper->*handle = nullptr;
        delete wrapper;
    }
};

// Traits::Wrap(handle) makes a temporary wrapper; Traits::Unwrap(object)
// detaches the handle and deletes the wrapper without freeing the handle.
template <typename Handle, typename Object, typename Traits>
class HandleMap : public HandleMapBase {
public:
    ~HandleMap() override { DeleteTemporaries(); }

    // This thread's map, created on first use and owned by the thread's
    // record (freed when a thread started by AfxBeginThread ends).
    static HandleMap& ForThread()
    {
        static thread_local HandleMap* map = nullptr;
        if (!map) {
            map = new HandleMap;
            AfxRegisterHandleMap(map);
        }
        return *map;
    }

    Object* LookupPermanent(Handle handle) const
    {
        auto found = m_permanent.find(handle);
        return found == m_permanent.end() ? nullptr : found->second;
    }

    Object* Lookup(Handle handle) const
    {
        if (Object* object = LookupPermanent(handle))
            return object;
        auto found = m_temporary.find(handle);
        return found == m_temporary.end() ? nullptr : found->second;
    }

    // The permanent object of the handle, else a temporary wrapper.
    Object* FromHandle(Handle handle)
    {
        if (!handle)
            return nullptr;
        if (Object* object = Lookup(handle))
            return object;
        Object* wrapper = Traits::Wrap(handle);
        m_temporary[handle] = wrapper;
        return wrapper;
    }

    void SetPermanent(Handle handle, Object* object)
    {
        DropTemporary(handle);
        m_permanent[handle] = object;
    }

    void RemovePermanent(Handle handle) { m_permanent.erase(handle); }

    // Makes owner the permanent object of the handle, kept in the owner's
    // slot; FALSE when the slot is taken or the handle is null.
    BOOL AttachOwner(Handle& slot, Handle handle, Object* owner)
    {
        if (slot || !handle)
            return FALSE;
        slot = handle;
        SetPermanent(handle, owner);
        return TRUE;
    }

    // Empties the owner's slot and forgets the owner; returns the handle.
    Handle DetachOwner(Handle& slot, Object* owner)
    {
        Handle handle = slot;
        if (handle && LookupPermanent(handle) == owner)
            RemovePermanent(handle);
        slot = nullptr;
        return handle;
    }

    void DeleteTemporaries() override
    {
        auto temporary = std::move(m_temporary);
        m_temporary.clear();
        for (auto& entry : temporary)
            Traits::Unwrap(entry.second);
    }

private:
    HandleMap() = default;

    void DropTemporary(Handle handle)
    {
        auto found = m_temporary.find(handle);
        if (found == m_temporary.end())
            return;
        Object* wrapper = found->second;
        m_temporary.erase(found);
        Traits::Unwrap(wrapper);
    }

    std::unordered_map<Handle, Object*> m_permanent;
    std::unordered_map<Handle, Object*> m_temporary;
};

// COleDropTarget: makes a window an OLE drop target. Register hands the
// window to OLE (the thread must have called OleInitialize); the drag
// events then arrive at the virtual handlers, with the point in the
// window's client coordinates.
#pragma once
#include <windows.h>
#include <ole2.h>

#include "platform/classlib/geometry.h"
#include "platform/classlib/ole_data_object.h"

class CWnd;

class COleDropTarget {
public:
    COleDropTarget();
    // Revokes the registration when the window still has it.
    virtual ~COleDropTarget();
    COleDropTarget(const COleDropTarget&) = delete;
    COleDropTarget& operator=(const COleDropTarget&) = delete;

    BOOL Register(CWnd* window);
    void Revoke();
    CWnd* GetWindow() const { return m_window; }

    virtual DWORD OnDragEnter(CWnd* window, COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual DWORD OnDragOver(CWnd* window, COleDataObject* dataObject, DWORD keyState, CPoint point);
    virtual void OnDragLeave(CWnd* window);
    virtual BOOL OnDrop(CWnd* window, COleDataObject* dataObject, DWORD dropEffect, CPoint point);

private:
    class CDropTargetImpl;
    friend class CDropTargetImpl;

    CWnd* m_window = nullptr;
    HWND m_registeredWindow = nullptr;
    CDropTargetImpl* m_impl;
};

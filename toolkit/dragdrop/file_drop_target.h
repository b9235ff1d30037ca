// CFileDropTarget: the drop target of a control that takes dropped files
// (CF_HDROP). A drop of files has the copy effect whatever keys are held
// (a control may still ask what a drop made with the right button does);
// other data gets no effect. The drag's source is told a copy, so that it
// never deletes its files because of a drop here. When the system has the
// shell's drag-image helper, every event is passed on to it after the
// target has decided, so that the dragged image follows the cursor.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "platform/classlib/classlib.h"

class CFileDropTarget : public COleDropTarget {
public:
    CFileDropTarget();
    ~CFileDropTarget() override;

    // Registers the window and creates the drag-image helper.
    BOOL Register(CWnd* window);
    bool HasImageHelper() const { return m_helper != nullptr; }

    DWORD OnDragEnter(CWnd* window, COleDataObject* dataObject, DWORD keyState, CPoint point) override;
    DWORD OnDragOver(CWnd* window, COleDataObject* dataObject, DWORD keyState, CPoint point) override;
    void OnDragLeave(CWnd* window) override;
    BOOL OnDrop(CWnd* window, COleDataObject* dataObject, DWORD dropEffect, CPoint point) override;

    // Drags the paths out of one of the program's own controls as a
    // dropped-file list, copy and move offered. The effect the target
    // chose, none when the drag was cancelled or the list could not be made.
    static DWORD RunOwnDrag(const std::vector<CString>& paths);

protected:
    // The effect a drag of files gets at the client point: a copy where
    // they may land, none elsewhere; the default takes them anywhere.
    virtual DWORD EffectAt(CWnd* window, CPoint point);
    // The drag left or ended without a drop on this target.
    virtual void ForgetDrag() {}
    // The dropped names with the effect the drop was given.
    virtual void DropNames(const std::vector<CString>& names, DWORD dropEffect) = 0;

    // The drag that dropped was made with the right mouse button.
    bool DroppedByRightButton() const { return (m_dragButtons & MK_RBUTTON) != 0; }

private:
    POINT ScreenPoint(CWnd* window, CPoint point) const;
    // The mouse buttons held while the files were dragged over the window;
    // the drop itself comes after their release.
    void NoteButtons(DWORD keyState);

    DWORD m_dragButtons = 0;

    IDropTargetHelper* m_helper = nullptr;
};

#include "toolkit/dragdrop/file_drop_target.h"

#include "toolkit/dragdrop/dropped_files.h"

CFileDropTarget::CFileDropTarget()
{
}

CFileDropTarget::~CFileDropTarget()
{
    if (m_helper)
        m_helper->Release();
}

BOOL CFileDropTarget::Register(CWnd* window)
{
    if (!m_helper && FAILED(::CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER,
                                               IID_IDropTargetHelper, (void**)&m_helper)))
        m_helper = nullptr;
    return COleDropTarget::Register(window);
}

DWORD CFileDropTarget::RunOwnDrag(const std::vector<CString>& paths)
{
    HGLOBAL block = paths.empty() ? nullptr : BuildDroppedFileBlock(paths);
    if (!block)
        return DROPEFFECT_NONE;
    COleDataSource source;
    source.CacheGlobalData(CF_HDROP, block);
    return source.DoDragDrop(DROPEFFECT_COPY | DROPEFFECT_MOVE);
}

DWORD CFileDropTarget::EffectAt(CWnd*, CPoint)
{
    return DROPEFFECT_COPY;
}

POINT CFileDropTarget::ScreenPoint(CWnd* window, CPoint point) const
{
    POINT screen = {point.x, point.y};
    if (window)
        ::ClientToScreen(window->m_hWnd, &screen);
    return screen;
}

void CFileDropTarget::NoteButtons(DWORD keyState)
{
    if (keyState & (MK_LBUTTON | MK_RBUTTON))
        m_dragButtons = keyState & (MK_LBUTTON | MK_RBUTTON);
}

DWORD CFileDropTarget::OnDragEnter(CWnd* window, COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    m_dragButtons = 0;
    NoteButtons(keyState);
    DWORD effect = dataObject->IsDataAvailable(CF_HDROP) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    if (m_helper) {
        POINT screen = ScreenPoint(window, point);
        m_helper->DragEnter(window->m_hWnd, dataObject->GetIDataObject(), &screen, effect);
    }
    return effect;
}

DWORD CFileDropTarget::OnDragOver(CWnd* window, COleDataObject* dataObject, DWORD keyState, CPoint point)
{
    NoteButtons(keyState);
    DWORD effect = dataObject->IsDataAvailable(CF_HDROP) ? EffectAt(window, point) : DROPEFFECT_NONE;
    if (m_helper) {
        POINT screen = ScreenPoint(window, point);
        m_helper->DragOver(&screen, effect);
    }
    return effect;
}

void CFileDropTarget::OnDragLeave(CWnd*)
{
    ForgetDrag();
    if (m_helper)
        m_helper->DragLeave();
}

BOOL CFileDropTarget::OnDrop(CWnd* window, COleDataObject* dataObject, DWORD dropEffect, CPoint point)
{
    HGLOBAL data = dataObject->GetGlobalData(CF_HDROP);
    if (data) {
        DropNames(ReadDroppedFiles((HDROP)data), dropEffect);
        ::GlobalFree(data);
    } else {
        ForgetDrag();
    }
    if (m_helper) {
        POINT screen = ScreenPoint(window, point);
        m_helper->Drop(dataObject->GetIDataObject(), &screen, dropEffect);
    }
    return data != nullptr;
}

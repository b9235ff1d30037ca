// The drawing thread's construction, its requests and its queries.
#include "drawing/draw_thread/draw_thread.h"

#include "core/file_types.h"
#include "core/preference.h"
#include "core/registry_values.h"
#include "core/res_string.h"
#include "drawing/common/draw_messages.h"
#include "platform/zrio/zrio.h"
#include "platform/zrui/zrui.h"
#include "resources/drawing_ids.h"

namespace {

const int kRasterCanvasWidth = 1024;
const int kRasterCanvasHeight = 768;
const int kRasterViewCount = 50;

// Requested sizes below 2 pixels become 1.
int RequestedSide(int side)
{
    return side < 2 ? 1 : side;
}

}  // namespace

TDwgDrawThread::TDwgDrawThread()
    : m_cancel(0),
      m_quickMode(0),
      m_busy(0),
      m_opening(0),
      m_rasterCanvasReady(0),
      m_fileKind(-1),
      m_requestedWidth(0),
      m_requestedHeight(0),
      m_event(NULL),
      m_idleEvent(CreateEventA(NULL, TRUE, TRUE, NULL)),
      m_document(ZrApp::Document::create()),
      m_companion(0),
      m_firstPoint(),
      m_secondPoint(),
      m_pendingCommand(0),
      m_drawingInfo(new DRAWINGINFO),
      m_drawingLoaded(0)
{
    m_event = new CWin32ThreadEvent;
    m_device.Create(2, 2, 3);
    m_rasterPicture.background = Preference.ListCtrlColor;
    m_rasterPicture.backgroundWanted = Preference.ListCtrlColor;
    m_rasterPicture.drawEnabled = 1;
    m_rasterViews.SetMaxCount(kRasterViewCount);
    m_rasterPicture.SetViewList(&m_rasterViews);
    m_rasterPicture.SetCanvas(&m_rasterCanvas);
    m_rasterCanvas.SetSize(kRasterCanvasWidth, kRasterCanvasHeight);
    DWG_SetFileAboutFunc(AbortQuery, this);
    DWG_SetProgressCallBackFuns(OnLoadBegin, OnLoadProgress, OnLoadEnd);
}

TDwgDrawThread::~TDwgDrawThread()
{
    DWG_SetProgressCallBackFuns(NULL, NULL, NULL);
    DWG_SetFileAboutFunc(NULL, NULL);
    if (m_document != NULL)
        ZrApp::Document::release(m_document);
    delete m_event;
    if (m_idleEvent != NULL)
        CloseHandle(m_idleEvent);
    delete m_drawingInfo;
    m_rasterPicture.Clear();
    m_rasterViews.RemoveAll();
}

void TDwgDrawThread::OnProgress(int value)
{
    SendNotify(GetNotifyWnd(), WM_DRAW_PROGRESS, (WPARAM)value, 0);
}

bool TDwgDrawThread::IsVectorLoaded() const
{
    return IsDrawingKind(m_fileKind) && m_drawingLoaded;
}

bool TDwgDrawThread::IsRasterLoaded() const
{
    return m_rasterPicture.GetImage().GetImage() != NULL;
}

bool TDwgDrawThread::HasDrawing() const
{
    return m_drawingLoaded != 0;
}

bool TDwgDrawThread::IsSomethingLoaded() const
{
    return IsVectorLoaded() || IsRasterLoaded();
}

bool TDwgDrawThread::WakeRuleHolds() const
{
    int code = m_pendingCommand;
    return (IsSomethingLoaded() && !m_opening) || (code >= DCMD_OPEN && code <= DCMD_CLOSE);
}

void TDwgDrawThread::Wake(bool force)
{
    if (force || WakeRuleHolds())
        m_event->Signal();
}

void TDwgDrawThread::OnStopRequested()
{
    m_cancel = 1;
    Wake(true);
}

void TDwgDrawThread::SetCommand(int code)
{
    if (m_opening || !IsSomethingLoaded())
        return;
    {
        CSingleLock hold(&m_requestLock, TRUE);
        if (code != DCMD_WAKE)
            m_pendingCommand = code;
        SetCurrent(false);
    }
    m_event->Signal();
}

void TDwgDrawThread::Resize(int width, int height)
{
    if (m_opening || !IsSomethingLoaded())
        return;
    {
        CSingleLock hold(&m_requestLock, TRUE);
        m_requestedWidth = RequestedSide(width);
        m_requestedHeight = RequestedSide(height);
        SetCurrent(false);
        m_pendingCommand = DCMD_RESIZE;
    }
    Wake(false);
}

void TDwgDrawThread::OpenFile(int kind, const char* path, int width, int height, bool zoomExtents)
{
    if (kind == -1) {
        const CDrawingFileInfo* info = GetDrawingFileInfo(path);
        kind = info != NULL ? info->type : -1;
    }
    {
        // One step under the request lock, so that the loop cannot take an
        // older request in between: the command that runs now is the one
        // abandoned. It is superseded before its draw is broken off, so
        // that a broken picture is never answered as done.
        CSingleLock hold(&m_requestLock, TRUE);
        m_cancel = 1;
        SetCurrent(false);
        if (m_document != NULL)
            m_document->getView()->interrupt();
        m_fileKind = kind;
        m_path = path != NULL ? path : "";
        m_requestedWidth = RequestedSide(width);
        m_requestedHeight = RequestedSide(height);
        m_pendingCommand = zoomExtents ? DCMD_OPEN_EXTENTS : DCMD_OPEN;
    }
    m_event->Signal();
}

void TDwgDrawThread::RequestFileInfo(int kind, const char* path)
{
    {
        CSingleLock hold(&m_requestLock, TRUE);
        m_fileKind = kind;
        m_path = path != NULL ? path : "";
        SetCurrent(false);
        m_pendingCommand = DCMD_SET_FILE;
    }
    m_event->Signal();
}

void TDwgDrawThread::PostCommand(int code, const POINT* first, const POINT* second, bool sync)
{
    if (m_opening || m_busy || !IsSomethingLoaded())
        return;
    bool runHere = sync && IsDrawingKind(m_fileKind) &&
                   ((code >= DCMD_ZOOM_EXTENTS && code <= DCMD_ZOOM_OUT_AT) || code == DCMD_PAN ||
                    code == DCMD_HIGHLIGHT_ON || code == DCMD_HIGHLIGHT_OFF ||
                    (code >= DCMD_PAN_KEY_RIGHT && code <= DCMD_PAN_KEY_UP_LEFT));
    // The loop may have taken a command since busy was read: then this
    // request is dropped like any other made while a command runs.
    if (runHere && !BeginIdleUse())
        return;
    POINT firstPoint, secondPoint;
    {
        CSingleLock hold(&m_requestLock, TRUE);
        if (code != DCMD_WAKE)
            m_pendingCommand = code;
        if (first != NULL)
            m_firstPoint = *first;
        if (second != NULL)
            m_secondPoint = *second;
        firstPoint = m_firstPoint;
        secondPoint = m_secondPoint;
        if (!runHere)
            SetCurrent(false);
    }
    if (runHere) {
        RunSynchronous(code, firstPoint, secondPoint);
        EndIdleUse();
        return;
    }
    Wake(false);
}

void TDwgDrawThread::SetFileKind(int kind)
{
    CSingleLock hold(&m_requestLock, TRUE);
    m_fileKind = kind;
}

void TDwgDrawThread::SetFilePath(const char* path)
{
    CSingleLock hold(&m_requestLock, TRUE);
    m_path = path != NULL ? path : "";
}

void TDwgDrawThread::NoteIdle()
{
    m_busy = 0;
    if (m_idleEvent != NULL)
        SetEvent(m_idleEvent);
}

void TDwgDrawThread::SetPendingCommand(int code)
{
    CSingleLock hold(&m_requestLock, TRUE);
    m_pendingCommand = code;
}

void TDwgDrawThread::SetLayoutIndex(int index)
{
    CSingleLock hold(&m_requestLock, TRUE);
    m_firstPoint.x = index;
}

void TDwgDrawThread::SetPassword(const char* password, LPARAM companion)
{
    CSingleLock hold(&m_requestLock, TRUE);
    m_password = password != NULL ? password : "";
    m_companion = companion;
}

int TDwgDrawThread::GetState() const
{
    if (m_busy && m_pendingCommand != DCMD_HIGHLIGHT_ON)
        return 1;
    return IsVectorLoaded() ? 2 : 0;
}

bool TDwgDrawThread::BeginIdleUse()
{
    if (!m_workLock.TryLock())
        return false;
    if (m_busy) {
        // Taken again by the thread that holds it for a command.
        m_workLock.Unlock();
        return false;
    }
    return true;
}

void TDwgDrawThread::EndIdleUse()
{
    m_workLock.Unlock();
}

bool TDwgDrawThread::GetViewFlag()
{
    if (!IsDrawingKind(m_fileKind) || !BeginIdleUse())
        return false;
    bool on = m_document != NULL && m_document->getView()->queryState();
    EndIdleUse();
    return on;
}

int TDwgDrawThread::GetDrawingValue()
{
    if (!IsDrawingKind(m_fileKind) || !BeginIdleUse())
        return -1;
    int value = -1;
    if (m_document != NULL && m_document->getDrawing() != NULL)
        value = m_document->getDrawing()->getCurrentLayout();
    EndIdleUse();
    return value;
}

bool TDwgDrawThread::IsCurrentFile(const char* path) const
{
    if (path == NULL || (!IsDrawingKind(m_fileKind) && !IsRasterLoaded()))
        return false;
    CSingleLock hold(&m_requestLock, TRUE);
    return m_path.CompareNoCase(path) == 0;
}

int TDwgDrawThread::GetLayoutNames(CStringList& names)
{
    names.RemoveAll();
    if (!BeginIdleUse())
        return -1;
    if (m_document == NULL) {
        EndIdleUse();
        return -1;
    }
    CDrawing* drawing = m_document->getDrawing();
    int count = drawing != NULL ? drawing->getLayoutCount() : 0;
    if (count == 0) {
        names.AddTail(LoadResString(IDS_LAYOUT_MODEL));
        names.AddTail(LoadResString(IDS_LAYOUT_PAPER));
    }
    for (int i = 0; i < count; ++i) {
        char name[MAX_PATH] = "";
        drawing->getLayoutName(i, name, sizeof(name));
        names.AddTail(CString(name));
    }
    EndIdleUse();
    return (int)names.GetCount();
}

void TDwgDrawThread::SetQuickMode(bool on)
{
    if (!IsDrawingKind(m_fileKind) || !BeginIdleUse())
        return;
    if (m_document != NULL) {
        CRegKey key;
        if (CreateProductKey(key, "Option"))
            key.SetDWORDValue("QuickMode", on ? 1 : 0);
        m_document->getView()->setQuickMode(on);
    }
    EndIdleUse();
}

void TDwgDrawThread::ResetBackground()
{
    if (!BeginIdleUse())
        return;
    m_rasterCanvas.SetBkColor(Preference.ListCtrlColor);
    FillDeviceWithBackground();
    EndIdleUse();
}

void TDwgDrawThread::RedrawIfIdle()
{
    if (!IsVectorLoaded() || !IsCurrent() || IsStopRequested() || !BeginIdleUse())
        return;
    if (m_document != NULL)
        m_document->getView()->redraw();
    EndIdleUse();
}

bool TDwgDrawThread::CopyPicture(CGDIDevice& target)
{
    if (!BeginIdleUse())
        return false;
    bool copied = m_device.m_hDC != NULL && target.CopyFrom(m_device);
    EndIdleUse();
    return copied;
}

bool TDwgDrawThread::GetPictureSize(int& width, int& height)
{
    if (!BeginIdleUse())
        return false;
    width = m_device.m_nWidth;
    height = m_device.m_nHeight;
    EndIdleUse();
    return true;
}

CString TDwgDrawThread::GetRasterInfoText() const
{
    CSingleLock hold(&m_requestLock, TRUE);
    return m_rasterInfoText;
}

void TDwgDrawThread::SetRasterInfoText(const CString& text)
{
    CSingleLock hold(&m_requestLock, TRUE);
    m_rasterInfoText = text;
}

CString TDwgDrawThread::GetFilePath() const
{
    CSingleLock hold(&m_requestLock, TRUE);
    return m_path;
}

void TDwgDrawThread::NoteDrawingLoaded()
{
    CDrawing* drawing = m_document != NULL ? m_document->getDrawing() : NULL;
    m_drawingLoaded = drawing != NULL && drawing->isLoaded() ? 1 : 0;
}

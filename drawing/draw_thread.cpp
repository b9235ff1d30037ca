#include "drawing/draw_thread.h"

#include "drawing/draw_messages.h"

TDwgDrawThread::TDwgDrawThread()
    : m_cancel(0),
      m_fileKind(-1),
      m_requestedWidth(0),
      m_requestedHeight(0),
      m_event(new CWin32ThreadEvent),
      m_companion(NULL),
      m_busy(0),
      m_opening(0),
      m_firstPoint(),
      m_secondPoint(),
      m_pendingCommand(0)
{
}

TDwgDrawThread::~TDwgDrawThread()
{
    delete m_event;
}

void TDwgDrawThread::OnProgress(int value)
{
    SendNotify(GetNotifyWnd(), WM_DRAW_PROGRESS, (WPARAM)value, 0);
}

DWORD TDwgDrawThread::Run()
{
    while (!m_stopRequest) {
        WaitForSingleObject(m_event->GetHandle(), INFINITE);
        if (m_stopRequest)
            break;
        m_current = 1;
    }
    return 0;
}

bool TDwgDrawThread::IsSomethingLoaded() const
{
    return false;
}

bool TDwgDrawThread::WakeRuleHolds() const
{
    int code = m_pendingCommand;
    return (IsSomethingLoaded() && !m_opening) || (code >= DCMD_OPEN && code <= DCMD_CLOSE);
}

void TDwgDrawThread::OpenFile(int kind, const char* path, int width, int height, bool zoomExtents)
{
    m_cancel = 1;
    m_fileKind = kind;
    m_path = path ? path : "";
    m_requestedWidth = width < 2 ? 1 : width;
    m_requestedHeight = height < 2 ? 1 : height;
    m_current = 0;
    m_pendingCommand = zoomExtents ? DCMD_OPEN_EXTENTS : DCMD_OPEN;
    m_event->Signal();
}

void TDwgDrawThread::Wake(bool force)
{
    if (force || WakeRuleHolds())
        m_event->Signal();
}

void TDwgDrawThread::PostCommand(int code, const POINT* first, const POINT* second, bool sync)
{
    if (m_opening || m_busy || !IsSomethingLoaded())
        return;
    if (code != DCMD_WAKE)
        m_pendingCommand = code;
    if (first != NULL)
        m_firstPoint = *first;
    if (second != NULL)
        m_secondPoint = *second;
    m_current = 0;
    Wake(false);
}

void TDwgDrawThread::SetPassword(const char* password, void* companion)
{
    m_password = password ? password : "";
    m_companion = companion;
}

void TDwgDrawThread::RedrawIfIdle()
{
}

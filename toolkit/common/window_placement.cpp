#include "toolkit/common/window_placement.h"

#include <stdio.h>

namespace {

const char kSection[] = "Settings";
const char kDefaultEntry[] = "Window Pos";
const char kFormat[] = "%u,%d,%d,%d,%d,%d,%d,%d,%d";
const int kValueCount = 9;

CRect CurrentWorkArea()
{
    CRect area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// A stored size scaled from the saved work area to today's, without the
// 32-bit overflow a damaged entry could cause.
int Rescale(int size, int now, int then)
{
    return (int)((long long)size * now / then);
}

}  // namespace

CCJWindowPlacement::CCJWindowPlacement() : m_showCommand(SW_SHOWNORMAL), m_valuesRead(0)
{
}

CCJWindowPlacement::~CCJWindowPlacement()
{
}

LPCSTR CCJWindowPlacement::Entry() const
{
    return m_entryName.IsEmpty() ? kDefaultEntry : (LPCSTR)m_entryName;
}

void CCJWindowPlacement::SaveWindowPos(CWnd* frame)
{
    CWinApp* app = AfxGetApp();
    if (app == NULL || frame == NULL || frame->GetSafeHwnd() == NULL)
        return;
    // A minimised frame keeps the place it had before it was minimised.
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(frame->GetSafeHwnd(), &placement);
    m_showCommand = frame->IsZoomed() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    m_workArea = CurrentWorkArea();
    if (frame->IsIconic())
        m_windowRect = placement.rcNormalPosition;
    else
        frame->GetWindowRect(&m_windowRect);
    char text[160];
    snprintf(text, sizeof(text), kFormat, m_showCommand, m_windowRect.left, m_windowRect.top,
             m_windowRect.right, m_windowRect.bottom, m_workArea.left, m_workArea.top, m_workArea.right,
             m_workArea.bottom);
    app->WriteProfileString(kSection, Entry(), text);
}

void CCJWindowPlacement::LoadWindowPos(CWnd* frame, LPCSTR name)
{
    if (name != NULL)
        m_entryName = name;
    CWinApp* app = AfxGetApp();
    CString text = app != NULL ? app->GetProfileString(kSection, name != NULL ? name : kDefaultEntry, "") : CString();
    UINT showCommand = SW_SHOWNORMAL;
    CRect window, work;
    m_valuesRead = sscanf(text, kFormat, &showCommand, &window.left, &window.top, &window.right, &window.bottom,
                          &work.left, &work.top, &work.right, &work.bottom);
    if (m_valuesRead < 0)
        m_valuesRead = 0;
    // Only the two commands a save writes are taken: a damaged value never
    // hides or minimises the frame.
    m_showCommand = showCommand == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    m_windowRect = window;
    m_workArea = work;
}

bool CCJWindowPlacement::IsOnSomeMonitor(const CRect& rect) const
{
    return ::MonitorFromRect(&rect, MONITOR_DEFAULTTONULL) != NULL;
}

void CCJWindowPlacement::RestoreWindowPos(CWnd* frame)
{
    if (frame == NULL || frame->GetSafeHwnd() == NULL)
        return;
    bool usable = m_valuesRead == kValueCount && !m_workArea.IsRectEmpty() && !m_windowRect.IsRectEmpty();
    if (usable && m_showCommand != SW_SHOWMAXIMIZED) {
        CRect now = CurrentWorkArea();
        int width = Rescale(m_windowRect.Width(), now.Width(), m_workArea.Width());
        int height = Rescale(m_windowRect.Height(), now.Height(), m_workArea.Height());
        CRect placed(m_windowRect.left, m_windowRect.top, m_windowRect.left + width, m_windowRect.top + height);
        usable = width > 0 && height > 0 && IsOnSomeMonitor(placed);
        if (usable)
            frame->SetWindowPos((HWND)NULL, placed.left, placed.top, width, height, SWP_NOZORDER | SWP_SHOWWINDOW);
    }
    frame->ShowWindow(usable ? m_showCommand : SW_SHOWNORMAL);
}

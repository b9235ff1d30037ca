// A top-level frame's place on the screen, kept in the application's
// profile (section "Settings") as one text: show command, window rectangle
// and the work area it was saved on. Restoring rescales the window to
// today's work area.
#pragma once
#include "platform/classlib/classlib.h"

class CCJWindowPlacement {
public:
    CCJWindowPlacement();
    virtual ~CCJWindowPlacement();

    void SaveWindowPos(CWnd* frame);
    // Reads the entry (the name, or "Window Pos" when null); a non-null
    // name becomes the entry that later saves write.
    void LoadWindowPos(CWnd* frame, LPCSTR name);
    // Shows the frame at the loaded place. A missing or damaged entry, or
    // a place that lies off every monitor, shows it normal at its default
    // place.
    void RestoreWindowPos(CWnd* frame);

    CString m_entryName;
    CRect m_windowRect;
    CRect m_workArea;
    UINT m_showCommand;
    int m_valuesRead;

private:
    LPCSTR Entry() const;
    bool IsOnSomeMonitor(const CRect& rect) const;
};

// The view-mode frame: shows one drawing or image, and takes the user back
// to the browser.
#pragma once
#include "graphics/gdi_device.h"
#include "platform/classlib/classlib.h"

class CViewFrame : public CFrameWnd {
public:
    CViewFrame();

    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Set when the program was started for one file: Esc then ends it.
    BYTE m_exitOnEsc;
    // The rendered view, filled from the drawing thread's device.
    CGDIDevice m_device;

protected:
    afx_msg void OnBackToBrowse();
    afx_msg void OnPaint();
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    void QuitProgram();
};

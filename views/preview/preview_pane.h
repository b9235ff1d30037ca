// The browse-mode preview pane: shows the selected file from the drawing
// thread's off-screen device.
#pragma once
#include "graphics/gdi_device.h"
#include "platform/classlib/classlib.h"

class CPreView : public CWnd {
public:
    CPreView();

    BOOL Create(CWnd* parent, UINT id);

    // A raster file: zoom to extents and repaint; nothing for drawings.
    void FitRaster();
    // A drawing: post the drawing-thread command; a raster file: repaint.
    void SendViewCommand(int code);

    CGDIDevice m_device;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

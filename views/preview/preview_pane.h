// CPreView: the browse-mode preview pane, a static control in the preview
// bar that shows the file selected in the file list. It shares the one
// drawing thread with the drawing view: in browse mode it is the thread's
// notify window. A drawing is opened on the thread at the pane's size and
// painted from the pane's copy of the thread's last picture; a raster image
// is drawn by the thread's raster picture on its canvas, on the UI thread.
// Its own small viewer: window zoom, pan, zoom steps and at the wheel,
// previous view, zoom to all, redraw, layers, view points, layouts, quick
// mode, the highlight under a resting pointer, raster 1:1, fit, rotate,
// mirror, flip and smoothing, a progress bar while loading, and the
// drawing summary for the browse frame's status. Enter or a double click
// opens the previewed file in view mode.
#pragma once
#include "drawing/common/drawing_info.h"
#include "graphics/gdi_device.h"
#include "platform/classlib/classlib.h"

class TDwgDrawThread;
struct CDrawingFileInfo;

class CPreView : public CStatic {
public:
    CPreView();
    ~CPreView() override;

    // The pane as a child of the bar (or any window) with that id.
    BOOL Create(CWnd* parent, UINT id);

    // Shows a file (the file list's selection, or the password retry):
    // without a password, the file the thread holds already is not opened
    // again; a hidden pane only asks for the file's information. A null
    // record looks the kind up by the path's extension.
    void PreviewFile(const char* path, const CDrawingFileInfo* info, const char* password, LPARAM companion);
    // The file list's selection went away; with stopSmoothing the pending
    // smoothing pass is cancelled too.
    void ClearPreview(bool stopSmoothing);
    // The summary text of the browse frame's status bar.
    CString GetDrawingSummary();
    // WM_DRAW_PROGRESS, forwarded by the browse frame.
    LRESULT OnDrawProgress(WPARAM percent, LPARAM);
    // A drawing: the command through the pending slot; a raster image:
    // repaint. Only while the program runs and the thread is idle.
    void SendViewCommand(int code);
    // After the options sheet: waits for the thread, then refreshes a
    // drawing.
    void ApplyOptions();
    // After the thumbnail colours changed: the raster background follows.
    void RefreshRasterView();
    // A raster image fitted into the pane again.
    void FitRaster();
    // Takes a rendered picture (null: the thread's own) when the thread is
    // idle, and repaints.
    void TakeImage(const CGDIDevice* picture);
    // Repaints now; a reduced raster image gets a smoothing pass later.
    void RepaintRaster();
    // The layout submenus of the main window's menu and of the context menu.
    void RebuildLayoutMenus();
    void BuildLayoutMenu(CMenu* menu);

    BOOL PreTranslateMessage(MSG* msg) override;

    // The pane's copy of the thread's last picture.
    CGDIDevice m_device;

    // Commands also reached by keys.
    afx_msg void OnActualSize();
    afx_msg void OnAutoFit();
    afx_msg void OnZoomAll();
    afx_msg void OnRotateLeft();
    afx_msg void OnRotateRight();
    afx_msg void OnQuickMode();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* oldWindow);
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    afx_msg void OnContextMenu(CWnd* window, CPoint point);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnImageReady(WPARAM, LPARAM picture);
    afx_msg LRESULT OnDrawCommandDone(WPARAM done, LPARAM code);
    afx_msg LRESULT OnDrawingOpened(WPARAM result, LPARAM companion);
    // Mouse (preview_pane_mouse.cpp).
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMButtonDown(UINT flags, CPoint point);
    afx_msg void OnMButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    // Commands (preview_pane_commands.cpp).
    afx_msg void OnLayers();
    afx_msg void OnSelectViewPoint();
    afx_msg void OnPreviousView();
    afx_msg void OnRedraw();
    afx_msg void OnViewPoint(UINT id);
    afx_msg void OnZoomTool(UINT id);
    afx_msg void OnSelectLayout(UINT id);
    afx_msg void OnRasterTransform(UINT id);
    afx_msg void OnSmoothRaster();
    afx_msg void OnHighlightEntity();
    afx_msg void OnUpdateVectorToShow(CCmdUI* cmdUI);
    afx_msg void OnUpdatePreviousView(CCmdUI* cmdUI);
    afx_msg void OnUpdateZoomAll(CCmdUI* cmdUI);
    afx_msg void OnUpdateLayoutMenu(CCmdUI* cmdUI);
    afx_msg void OnUpdateViewPoint(CCmdUI* cmdUI);
    afx_msg void OnUpdateZoomTool(CCmdUI* cmdUI);
    afx_msg void OnUpdateSelectLayout(CCmdUI* cmdUI);
    afx_msg void OnUpdateRasterImage(CCmdUI* cmdUI);
    afx_msg void OnUpdateHighlightEntity(CCmdUI* cmdUI);
    afx_msg void OnUpdateQuickMode(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()

private:
    void SetToolMode(int mode);
    void ApplyCursor(HCURSOR cursor);
    void DrawProgress(int percent);
    void TakeFocusWhenShowing();
    void KillHighlightTimers();
    void StopSmoothTimer();
    // The mouse and key actions on the views (preview_pane_mouse.cpp).
    void PanTo(TDwgDrawThread* thread, CPoint point);
    void ZoomStep(bool in);
    bool HandleKey(UINT key);
    void OpenInViewer();
    // Raster view changes end with a repaint and a status refresh.
    void FinishRasterChange();
    bool IsVisibleVector(TDwgDrawThread* thread) const;
    static void PostStatusUpdate();

    int m_lastProgress;
    POINT m_dragStart;
    POINT m_lastPoint;
    int m_toolMode;
    CString m_path;
    HCURSOR m_cursor;
    BYTE m_smoothTimerPending;
    CMenu m_menu;
    // The drawing's current layout when the layout menus were built.
    int m_currentLayout;
};

// The thread's drawing information when the program runs, the thread holds
// a drawing and at least one property is known; false otherwise.
bool GetPreviewDrawingInfo(DRAWINGINFO* info);

// CDwgView: the client window of the view frame. It shows the one file the
// drawing thread holds: a drawing by copying the frame's copy of the
// thread's last picture (it never draws a drawing itself: it gives the
// thread numbered commands or changes the drawing library's view), a raster
// image by driving the thread's raster picture and canvas on the UI thread.
// It owns the pointer tools (window zoom, pan, zoom at a click, middle-button
// pan, the 3D orbit, the print-window pick, the coordinate read-out, the
// highlight under a resting pointer), the context menus, the raster
// transforms and opening the file selected in the browse frame's list.
#pragma once
#include "platform/classlib/classlib.h"
#include "views/viewer/orbit_guide.h"

class CViewFrame;
class TDwgDrawThread;

class CDwgView : public CWnd {
    DECLARE_DYNCREATE(CDwgView)
public:
    CDwgView();
    ~CDwgView() override;

    // A bordered child of the frame with that id.
    BOOL Create(CViewFrame* frame, UINT id);

    // Opens the file selected in the browse frame's list (the list calls
    // it when it opens a file in view mode).
    void OpenSelectedListFile();
    void SetPrintPickMode(bool on);
    void Set3DOrbitMode(bool on);
    // Repaints now: a drawing by redrawing the window, a raster image by
    // drawing the raster picture at the client size first.
    void RefreshView();
    // Redraws the window now and restarts the frame's smoothing timer.
    void Redraw();
    void KillHighlightTimers();
    // Paints the orbit guide and keeps its geometry for the hit tests.
    void DrawOrbitCircle(HDC dc);

    // Commands the frame's keys call too.
    afx_msg void OnZoomOut();
    afx_msg void OnZoomIn();
    afx_msg void OnZoomAll();
    afx_msg void OnActualSize();
    afx_msg void OnHighlightEntity();
    afx_msg void OnQuickMode();
    afx_msg void OnNextFile();
    afx_msg void OnPreviousFile();

    // Set by a raster transform that changed the stored orientation of the
    // file; the frame clears it whenever it is shown.
    BYTE m_rasterChanged;
    // An interactive move or size of the frame is in progress.
    BYTE m_sizing;
    BYTE m_dragging;
    BYTE m_middlePan;
    POINT m_dragStart;
    // The previous drag position, also where the pointer rests for the
    // highlight.
    POINT m_lastPoint;
    // The print window, in client pixels.
    RECT m_printRect;
    BYTE m_printRectComplete;
    int m_printHandle;
    BYTE m_printPick;
    BYTE m_orbit;
    POINT m_orbitLastPoint;
    BYTE m_orbitDragging;
    OrbitGuide m_orbitGuide;
    unsigned short m_orbitMode;
    int m_toolMode;
    HCURSOR m_cursor;
    BYTE m_firstErase;
    // Set while the file shown is one of the browse list's (the frame sets
    // it when it is shown), so that the next and previous file of the list
    // are offered; the Open command clears it.
    BYTE m_listNavigation;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    afx_msg void OnPaint();
    afx_msg void OnContextMenu(CWnd* window, CPoint point);
    afx_msg void OnTimer(UINT_PTR id);
    // Pointer tools (dwg_view_pointer.cpp).
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMButtonDown(UINT flags, CPoint point);
    afx_msg void OnMButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    // Commands.
    afx_msg void OnZoomWindow();
    afx_msg void OnPan();
    afx_msg void OnPreviousView();
    afx_msg void OnExit3DOrbit();
    afx_msg void OnAutoFit();
    afx_msg void OnRasterTransform(UINT id);
    afx_msg void OnShowExif();
    afx_msg void OnUpdateZoomTool(CCmdUI* cmdUI);
    afx_msg void OnUpdateZoomAll(CCmdUI* cmdUI);
    afx_msg void OnUpdatePreviousView(CCmdUI* cmdUI);
    afx_msg void OnUpdateRasterImage(CCmdUI* cmdUI);
    afx_msg void OnUpdateNextFile(CCmdUI* cmdUI);
    afx_msg void OnUpdatePreviousFile(CCmdUI* cmdUI);
    afx_msg void OnUpdateShowExif(CCmdUI* cmdUI);
    afx_msg void OnUpdateHighlightEntity(CCmdUI* cmdUI);
    afx_msg void OnUpdateQuickMode(CCmdUI* cmdUI);
    DECLARE_MESSAGE_MAP()

private:
    // The guard of the pointer tools: the idle thread when it holds a
    // loaded drawing or a decoded image, else null.
    TDwgDrawThread* ThreadWithPicture() const;
    void SetCursorNow(HCURSOR cursor);
    void SetToolMode(int mode);
    void RedrawNow();
    CSize ClientSize() const;

    // Pointer tools (dwg_view_pointer.cpp).
    void MoveOrbit(TDwgDrawThread* thread, CPoint point);
    void MovePrintPick(CPoint point);
    void MoveWithTool(TDwgDrawThread* thread, UINT flags, CPoint point);
    void PanBy(TDwgDrawThread* thread, CPoint point);
    void ReleaseWithTool(TDwgDrawThread* thread, CPoint point);
    void ShowCoordinates(TDwgDrawThread* thread, CPoint point);
    void PaintDrawing(HDC dc, TDwgDrawThread* thread);

    // Files (dwg_view_files.cpp).
    void OpenListFile(const CString& path, int kind);
    bool LoadRasterHere(TDwgDrawThread* thread, const CString& path);
    void StepThroughList(bool next);

    CViewFrame* m_frame;
    CMenu m_mainMenu;
    CMenu m_orbitMenu;
};

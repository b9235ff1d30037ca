// CViewFrame: the top-level window of view mode, made once at start-up and
// hidden while the browser shows. It hosts the drawing view between a tool
// bar and a status bar that carries the page and layout tabs (and a
// progress bar while a drawing loads). In view mode it is the drawing
// thread's notify window: it takes the thread's pictures into its own
// off-screen picture, which the drawing view paints from. It owns the
// title, the remembered window rectangle, full screen, the keys, the wheel
// and the way back to the browser, and the view commands that are not the
// drawing view's own.
#pragma once
#include "graphics/gdi_device.h"
#include "platform/zrui/print_manager.h"
#include "toolkit/bars/frame_wnd.h"
#include "toolkit/bars/tool_bar.h"
#include "toolkit/controls/tabset_ctrl.h"
#include "toolkit/menus/cool_menu_manager.h"
#include "views/viewer/dwg_view.h"

class CDrawing;

class CViewFrame : public CCJFrameWnd {
    DECLARE_DYNCREATE(CViewFrame)
public:
    CViewFrame();
    ~CViewFrame() override;

    // Caption: the product caption and the viewed file's path.
    void UpdateTitle();
    void ClearPageTabs();
    void FillPageTabs();
    // A drawing: the thread draws anew (DCMD_REGEN); a raster image: drawn
    // again at once and smoothed a second after the last change.
    void Regenerate();
    void StartSmoothTimer();
    void StopSmoothTimer();
    // The raster image's size text (and its Exif summary) in the status bar.
    void ShowImageInfo();
    bool CanSetViewPoint();
    // Takes a rendered picture of the drawing area's size (within 1 pixel),
    // or asks the thread for one of that size.
    void TakeImage(const CGDIDevice* picture);
    // The file kind is a drawing's (the program runs and the thread exists).
    bool IsVectorFile() const;
    // Handles a key of the view; true when it is consumed.
    bool HandleViewKey(UINT key);
    // Text of a status bar pane.
    void SetStatusText(int pane, LPCSTR text);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    CDwgView* GetView() { return &m_view; }
    CStatusBar* GetStatusBar() { return &m_statusBar; }
    CCJToolBar* GetToolBar() { return &m_toolBar; }
    CTabsetCtrl* GetTabs() { return &m_tabs; }

    // Set by start-up when the command line named a file: Esc then ends
    // the program instead of going back to the browser.
    BYTE m_exitOnEsc;
    // The frame's copy of the thread's last picture, sized to the drawing
    // area; the drawing view paints from it.
    CGDIDevice m_device;
    BYTE m_sizing;
    BYTE m_tabsNeedRefill;
    int m_fullScreen;

    afx_msg void OnBackToBrowse();

    // The save dialog's answer to a change of filter: the name (MAX_PATH
    // bytes) becomes its file name only, with the extension of the chosen
    // format (its 1-based number in the save tables).
    void FixVectorSaveExtension(int format, char* name);
    void FixRasterSaveExtension(int format, char* name);

    // A drawing's print window printed on the chosen printer (print_commands.cpp)
    // or exported as a raster picture of the page's pixel size
    // (raster_export.cpp), with the values the print manager chose. False
    // when nothing was printed or written; the drawing's view is as before.
    bool PrintToDevice(const ZrUI::PrintWindow* window, double scale, short colorMode, int xOffset,
                       int yOffset, short rotation, int pageWidth, int pageHeight);
    bool PrintToFile(const ZrUI::PrintWindow* window, double scale, short colorMode, int xOffset,
                     int yOffset, short rotation, int pageWidth, int pageHeight, const char* path);
    // The raster export's file dialog; true with a name chosen.
    bool AskPrintFileName(CString& path);

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnEnterSizeMove();
    afx_msg void OnExitSizeMove();
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
    afx_msg void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg BOOL OnDeviceChange(UINT event, DWORD_PTR data);
    afx_msg LRESULT OnDrawingOpened(WPARAM result, LPARAM passwordIndex);
    afx_msg LRESULT OnDrawCommandDone(WPARAM done, LPARAM code);
    afx_msg LRESULT OnDrawProgress(WPARAM percent, LPARAM);
    afx_msg LRESULT OnImageReady(WPARAM, LPARAM picture);
    afx_msg LRESULT OnViewDblClk(WPARAM, LPARAM);
    afx_msg LRESULT OnOptionsChanged(WPARAM, LPARAM);
    afx_msg void OnFullScreen();
    afx_msg void OnUpdateFullScreen(CCmdUI* cmdUI);

    // View commands (view_frame_commands.cpp).
    afx_msg void OnViewPoint(UINT id);
    afx_msg void OnColorMode(UINT id);
    afx_msg void OnRegen();
    afx_msg void On3DOrbit();
    afx_msg void OnNextLayout();
    afx_msg void OnPreviousLayout();
    afx_msg void OnSmoothRaster();
    afx_msg void OnFileProperties();
    afx_msg void OnUpdateVectorOnly(CCmdUI* cmdUI);
    afx_msg void OnUpdateViewPoint(CCmdUI* cmdUI);
    afx_msg void OnUpdate3DOrbit(CCmdUI* cmdUI);
    afx_msg void OnUpdateColorMode(CCmdUI* cmdUI);
    afx_msg void OnUpdateOpenOrPrint(CCmdUI* cmdUI);
    afx_msg void OnUpdateSaveAs(CCmdUI* cmdUI);
    afx_msg void OnUpdateNextLayout(CCmdUI* cmdUI);
    afx_msg void OnUpdatePreviousLayout(CCmdUI* cmdUI);
    afx_msg void OnUpdateSmoothRaster(CCmdUI* cmdUI);

    // The commands that show a dialog of the dialog library
    // (view_frame_dialogs.cpp).
    afx_msg void OnLayers();
    afx_msg void OnPointDisplay();
    afx_msg void OnSelectViewPoint();
    afx_msg void OnRotateView();
    afx_msg void OnFileOpen();

    // Save As (save_as.cpp) and printing (print_commands.cpp).
    afx_msg void OnSaveAs();
    afx_msg void OnPrint();
    afx_msg LRESULT OnPrintManagerReturn(WPARAM picked, LPARAM);
    afx_msg LRESULT OnPrintPickMode(WPARAM on, LPARAM);

    DECLARE_MESSAGE_MAP()

private:
    // The view's client size: the area the thread renders for.
    CSize DrawingAreaSize() const;
    bool CreateTabStrip();
    int GetTabCount() const;
    int GetRasterFrameCount(TDwgDrawThread* thread) const;
    // Sizes the raster canvas to the view and shows the whole image.
    void FitRasterToView(TDwgDrawThread* thread);
    // Lets the view's cursor follow the thread (the wait cursor goes).
    void RefreshViewCursor();
    // Opens the file chosen in the open dialog.
    void OpenChosenFile(const CString& path);
    void ResizePicture(bool testExisting, bool testBusy);
    void StoreWindowRect();
    void ApplyStoredWindowRect();
    void QuitProgram();
    void ApplyTabSelection();
    void SetViewDirection(int code);
    void PanRasterByKey(int dx, int dy);
    bool HandleVectorKey(TDwgDrawThread* thread, UINT key);
    bool HandleRasterKey(TDwgDrawThread* thread, UINT key);
    void BeginProgressDisplay();
    void EndProgressDisplay();
    void PlaceTabStrip();
    void ShowStatusPanes(bool simple, LPCSTR simpleText);
    void SaveDrawingAs(TDwgDrawThread* thread);
    void SaveRasterAs(TDwgDrawThread* thread);
    // The print record's drawing, view corners and sizes, and layout limits.
    void FillPrintRecordView(CDrawing* drawing);
    // The print record's window from the view's print rectangle.
    void TakePickedPrintWindow(CDrawing* drawing);
    // Fills the print record from the view and runs the print manager;
    // true when the drawing was drawn for a print or an export, so that
    // its own picture must be drawn again.
    bool OpenPrintManager(CDrawing* drawing);
    // Shows the print manager over the filled record and acts on its
    // answer, telling the user of a print or export that failed; true as
    // OpenPrintManager.
    bool RunPrintManager(CDrawing* drawing, bool clampPick);
    // The raster image through the printer dialog; a job that fails is
    // aborted and shown to the user.
    void PrintRasterImage(TDwgDrawThread* thread);
    void RedrawViewNow();

    CStatusBar m_statusBar;
    CCJToolBar m_toolBar;
    CTabsetCtrl m_tabs;
    CCoolMenuManager m_menuManager;
    CProgressCtrl* m_progress;
    CDwgView m_view;
    BYTE m_firstShow;
    WINDOWPLACEMENT m_savedPlacement;
    RECT m_fullScreenRect;
    ZrUI::PrintRecord m_printRecord;
    // The last picked print window, in view client pixels.
    RECT m_lastPrintRect;
};

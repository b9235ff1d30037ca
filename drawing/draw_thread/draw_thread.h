// The drawing thread: owns the one open drawing (or raster image) and runs
// the numbered drawing commands of the preview pane and the view frame into
// its off-screen device, answering their window with WM_DRAW_OPENED,
// WM_DRAW_DONE and WM_DRAW_PROGRESS.
//
// Requests come from the UI thread and wait in one pending slot: a newer
// request replaces an older one that was not yet taken, and clears the
// current flag so that a running command neither renders nor answers.
//
// Shared with the UI thread:
// - the request fields (pending code, points, path, file kind, requested
//   size, password and companion value) and the raster information text are
//   written and read under a small lock; the loop takes a whole request by
//   value when it starts a command;
// - DRAWINGINFO is published whole by its own lock (read it with
//   GetDrawingInfo);
// - the drawing library's document and view, the off-screen device and the
//   raster picture are used by the loop while it runs a command, holding the
//   work lock. The UI thread uses them only through the calls here, which
//   take that lock without waiting and give up while a command runs (the
//   views' busy test, made whole). A view that uses the document, the raster
//   picture or the raster canvas directly brackets the use with
//   BeginIdleUse / EndIdleUse.
#pragma once
#include <windows.h>

#include "drawing/common/common_thread.h"
#include "drawing/common/drawing_info.h"
#include "drawing/draw_thread/draw_commands.h"
#include "graphics/gdi_device.h"
#include "graphics/jgraphics.h"
#include "graphics/kwin_canvas.h"
#include "platform/classlib/classlib_core.h"
#include "platform/classlib/critical_section.h"
#include "platform/zrapp/zrapp.h"

class TDwgDrawThread : public CDrawCommonThread {
public:
    TDwgDrawThread();
    ~TDwgDrawThread() override;

    // Sends WM_DRAW_PROGRESS (value, 0) to the notify window.
    void OnProgress(int value) override;
    DWORD Run() override;

    // --- Requests (UI thread) ------------------------------------------
    // A view command for the loop; ignored while a file opens or when
    // nothing is loaded. DCMD_WAKE runs the pending command again.
    void SetCommand(int code);
    // DCMD_RESIZE to the size (each side at least 1); ignored as SetCommand.
    void Resize(int width, int height);
    // Opens a file (kind -1: by its extension): a load in progress is
    // abandoned, the newest request wins.
    void OpenFile(int kind, const char* path, int width, int height, bool zoomExtents);
    // DCMD_SET_FILE: reads the file's information only.
    void RequestFileInfo(int kind, const char* path);
    // A view command with its points; dropped while a file opens, while a
    // command runs, or when nothing is loaded. With sync, on a drawing, the
    // zoom, pan, highlight and key-pan commands run at once on the caller.
    void PostCommand(int code, const POINT* first, const POINT* second, bool sync);
    // Signals the command loop: always when forced, else under the wake rule.
    void Wake(bool force);
    // For views that write the pending slot themselves (close, refresh after
    // a dialog, layout switch) and then call Wake(false): neither wakes the
    // loop nor changes the current flag.
    void SetPendingCommand(int code);
    void SetLayoutIndex(int index);
    // The password of the next opens, and the value WM_DRAW_OPENED gives
    // back after a failed drawing open and at the end of a raster open.
    void SetPassword(const char* password, LPARAM companion);
    // For views that load a raster file into the raster picture themselves
    // (between BeginIdleUse and EndIdleUse): the kind, path and information
    // text of the file now held.
    void SetFileKind(int kind);
    void SetFilePath(const char* path);
    void SetRasterInfoText(const CString& text);

    // --- Queries and view operations (UI thread) -----------------------
    // 1 while a command (other than a highlight) runs, else 2 when a
    // drawing is loaded, else 0.
    int GetState() const;
    bool IsVectorLoaded() const;
    bool IsRasterLoaded() const;
    // The document's drawing is loaded, whatever the file kind.
    bool HasDrawing() const;
    // The view's quick-mode flag; false for a raster file, without a
    // document, or while a command runs.
    bool GetViewFlag();
    // The current layout index; -1 without a document, for a raster file,
    // or while a command runs.
    int GetDrawingValue();
    bool IsCurrentFile(const char* path) const;
    // The layout names ("Modal" and "Paper" for a drawing that lists none);
    // the count, or -1 without a document or while a command runs.
    int GetLayoutNames(CStringList& names);
    // Stores the quick-mode switch and gives it to the view (drawings only;
    // nothing while a command runs).
    void SetQuickMode(bool on);
    // The raster canvas background and the whole device in the background
    // colours of the settings (nothing while a command runs).
    void ResetBackground();
    void RedrawIfIdle();

    // A copy of the last picture; false (target untouched) while a command
    // draws, or when the device has no surface.
    bool CopyPicture(CGDIDevice& target);
    // The last picture's size; false while a command draws.
    bool GetPictureSize(int& width, int& height);
    // The information of the drawing opened or inspected last.
    void GetDrawingInfo(DRAWINGINFO* out) const { m_drawingInfo->Snapshot(out); }
    CString GetRasterInfoText() const;
    CString GetFilePath() const;
    int GetFileKind() const { return m_fileKind; }
    int GetPendingCommand() const { return m_pendingCommand; }

    // True when no command runs; the work lock is then held until
    // EndIdleUse, and the loop waits for it before its next command.
    bool BeginIdleUse();
    void EndIdleUse();
    ZrApp::Document* GetDocument() const { return m_document; }
    JGraphics& GetRasterPicture() { return m_rasterPicture; }
    KWinCanvas& GetRasterCanvas() { return m_rasterCanvas; }

    // The drawing library's load hooks. AbortQuery answers the cancel byte;
    // the three progress callbacks post WM_DRAW_PROGRESS to the
    // application's main window.
    static char AbortQuery(void* thread);
    static void OnLoadBegin(int value);
    static void OnLoadProgress(double percent);
    static void OnLoadEnd();

    // A command runs (busy) or a file opens (opening).
    bool IsBusy() const { return m_busy != 0; }
    bool IsOpening() const { return m_opening != 0; }
    bool IsQuickMode() const { return m_quickMode != 0; }
    // Set by the views once the raster canvas has their window's size.
    bool IsRasterCanvasReady() const { return m_rasterCanvasReady != 0; }
    void SetRasterCanvasReady(bool ready) { m_rasterCanvasReady = ready ? 1 : 0; }

protected:
    // Signalled whenever the busy flag is clear.
    HANDLE GetIdleEvent() const override { return m_idleEvent; }
    // A stop also breaks off a running load (the drawing library's abort
    // query answers the cancel byte) and wakes the loop.
    void OnStopRequested() override;

    // Single bytes read without locks (they are only compared with 0);
    // written by the loop, except the cancel byte and the canvas mark.
    volatile BYTE m_cancel;
    volatile BYTE m_quickMode;
    volatile BYTE m_busy;
    volatile BYTE m_opening;
    volatile BYTE m_rasterCanvasReady;

private:
    // One command with everything it needs, taken by value at its start.
    struct Command {
        int code;
        int fileKind;
        CString path;
        CString password;
        LPARAM companion;
        int width;
        int height;
        POINT first;
        POINT second;
    };

    // Loop (draw_thread_loop.cpp).
    void CommandLoop();
    void TakeCommand(Command& command);
    void FitDeviceToRequest(const Command& command);
    // Each returns true when the picture is to be rendered afterwards.
    bool RunCommand(const Command& command);
    bool OpenDrawing(const Command& command);
    bool OpenRaster(const Command& command);
    void ReadFileInformation(const Command& command);
    void CloseFile(const Command& command);
    void ReleaseDocument();

    // Rendering (draw_thread_render.cpp).
    void RunSynchronous(int code, const POINT& first, const POINT& second);
    // Zoom, pan and refresh on the view (codes 6 to 11, 13, 15).
    void ChangeView(int code, const POINT& first, const POINT& second);
    void PanByKey(int code);
    void RenderView();
    void HighlightOn(const POINT& first);
    bool HighlightOff(const POINT& first);
    bool MayHighlight() const;
    void DrawFailurePicture(short status);
    void FillDeviceWithBackground();

    bool MayDraw() const { return IsCurrent() && !IsStopRequested(); }
    bool IsSomethingLoaded() const;
    bool WakeRuleHolds() const;
    // The loaded byte follows the document after every open and close.
    void NoteDrawingLoaded();
    // Clears the busy flag and signals the idle event.
    void NoteIdle();

    volatile int m_fileKind;
    CGDIDevice m_device;
    int m_requestedWidth;
    int m_requestedHeight;
    CWin32ThreadEvent* m_event;
    HANDLE m_idleEvent;
    ZrApp::Document* m_document;
    CString m_password;
    LPARAM m_companion;
    CString m_path;
    POINT m_firstPoint;
    POINT m_secondPoint;
    volatile int m_pendingCommand;
    DRAWINGINFO* m_drawingInfo;
    CString m_rasterInfoText;
    KWinCanvas m_rasterCanvas;
    JGraphics m_rasterPicture;
    KViewList m_rasterViews;
    volatile BYTE m_drawingLoaded;
    // The request fields, the raster information text and the document
    // pointer's release.
    mutable CCriticalSection m_requestLock;
    // Held by the loop for each command; taken without waiting elsewhere.
    CCriticalSection m_workLock;
};

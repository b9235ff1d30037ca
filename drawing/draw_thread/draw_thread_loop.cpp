// The drawing thread's command loop: one pending command at a time, run
// against the drawing library (or the raster picture) into the off-screen
// device, then rendered and answered when it is still current.
#include "drawing/draw_thread/draw_thread.h"

#include "core/file_types.h"
#include "core/preference.h"
#include "core/registry_root.h"
#include "drawing/common/draw_messages.h"
#include "platform/classlib/winapp.h"
#include "platform/classlib/wnd.h"

namespace {

// The application's main window, which the load callbacks report to.
HWND MainWindow()
{
    CWinApp* app = AfxGetApp();
    return app != NULL && app->m_pMainWnd != NULL ? app->m_pMainWnd->GetSafeHwnd() : NULL;
}

void PostToMainWindow(WPARAM wParam, LPARAM lParam)
{
    HWND window = MainWindow();
    if (window != NULL)
        PostMessageA(window, WM_DRAW_PROGRESS, wParam, lParam);
}

}  // namespace

DWORD TDwgDrawThread::Run()
{
    m_quickMode = 1;
    CRegKey key;
    if (key.Open(HKEY_CURRENT_USER, HARBECK_REGISTRY_ROOT "Option", KEY_READ | KEY_WRITE) == ERROR_SUCCESS) {
        DWORD value = 0;
        if (key.QueryDWORDValue("QuickMode", value) == ERROR_SUCCESS)
            m_quickMode = value == 1 ? 1 : 0;
        key.Close();
    }
    CommandLoop();
    return 0;
}

void TDwgDrawThread::CommandLoop()
{
    if (m_document == NULL) {
        ZrApp::Document* document = ZrApp::Document::create();
        CSingleLock hold(&m_requestLock, TRUE);
        m_document = document;
    }
    m_document->getView()->setQuickMode(m_quickMode != 0);
    for (;;) {
        if (m_document->getDrawing() == NULL || IsStopRequested())
            break;
        m_opening = 0;
        NoteIdle();
        WaitForSingleObject(m_event->GetHandle(), INFINITE);
        if (IsStopRequested())
            break;

        CSingleLock work(&m_workLock, TRUE);
        Command command;
        TakeCommand(command);
        FitDeviceToRequest(command);
        bool renderWanted = RunCommand(command);
        if (IsStopRequested())
            break;
        bool answersAlone = command.code == DCMD_SET_FILE || command.code == DCMD_CLOSE;
        if (!answersAlone && IsCurrent() && !m_cancel && renderWanted)
            RenderView();
        // A device that could not be made at the requested size holds no
        // picture to answer with.
        bool answer = answersAlone || m_device.m_hDC != NULL;
        work.Unlock();
        NoteIdle();
        if (IsStopRequested())
            break;
        if (IsCurrent() && answer)
            PostNotify(GetNotifyWnd(), WM_DRAW_DONE, 1, command.code);
    }
    ReleaseDocument();
    NoteIdle();
}

void TDwgDrawThread::TakeCommand(Command& command)
{
    CSingleLock hold(&m_requestLock, TRUE);
    command.code = m_pendingCommand;
    command.fileKind = m_fileKind;
    command.path = m_path;
    command.password = m_password;
    command.companion = m_companion;
    command.width = m_requestedWidth;
    command.height = m_requestedHeight;
    command.first = m_firstPoint;
    command.second = m_secondPoint;
    // Reset first, so that a waiter that sees the busy flag set never
    // finds the event still signalled from before.
    if (m_idleEvent != NULL)
        ResetEvent(m_idleEvent);
    m_busy = 1;
    m_cancel = 0;
    SetCurrent(true);
    if (command.code == DCMD_OPEN || command.code == DCMD_OPEN_EXTENTS)
        m_opening = 1;
}

void TDwgDrawThread::FitDeviceToRequest(const Command& command)
{
    if (m_device.m_hDC != NULL && m_device.m_nWidth == command.width && m_device.m_nHeight == command.height)
        return;
    // Sizes below 2 are refused and the old surface stays.
    if (!m_device.Create(command.width, command.height, 3))
        return;
    FillDeviceWithBackground();
    bool opensOrCloses = command.code >= DCMD_OPEN && command.code <= DCMD_CLOSE;
    if (!opensOrCloses && IsDrawingKind(command.fileKind) && IsVectorLoaded())
        m_document->getDrawing()->update();
}

bool TDwgDrawThread::RunCommand(const Command& command)
{
    bool drawing = IsDrawingKind(command.fileKind);
    ZrApp::View* view = m_document->getView();
    switch (command.code) {
        case DCMD_OPEN:
        case DCMD_OPEN_EXTENTS:
            m_opening = 1;
            m_document->close();
            NoteDrawingLoaded();
            return drawing ? OpenDrawing(command) : OpenRaster(command);
        case DCMD_SET_FILE:
            ReadFileInformation(command);
            return false;
        case DCMD_CLOSE:
            CloseFile(command);
            return false;
        case DCMD_RESIZE:
            if (!IsVectorLoaded())
                return false;
            view->setSize(m_device.m_nWidth, m_device.m_nHeight);
            return true;
        case DCMD_ZOOM_EXTENTS:
        case DCMD_ZOOM_WINDOW:
        case DCMD_ZOOM_IN:
        case DCMD_ZOOM_IN_AT:
        case DCMD_ZOOM_OUT:
        case DCMD_ZOOM_OUT_AT:
        case DCMD_PAN:
        case DCMD_REFRESH:
            if (!drawing)
                return false;
            ChangeView(command.code, command.first, command.second);
            return true;
        case DCMD_PREVIOUS_VIEW:
            m_document->getDrawing()->previousView();
            return true;
        case DCMD_REGEN:
            return true;
        case DCMD_SET_LAYOUT:
            m_document->getDrawing()->setLayout(command.first.x);
            return true;
        case DCMD_HIGHLIGHT_ON:
            HighlightOn(command.first);
            return false;
        case DCMD_HIGHLIGHT_OFF:
            HighlightOff(command.first);
            return false;
        default:
            return false;
    }
}

bool TDwgDrawThread::OpenDrawing(const Command& command)
{
    // Cancel was cleared when the command was taken; an open requested
    // while the progress notice is being handled still abandons this load.
    OnProgress(1);
    CDrawing* drawing = m_document->getDrawing();
    short status = drawing->open(command.path, command.password);
    NoteDrawingLoaded();
    if (!MayDraw()) {
        m_opening = 0;
        return true;
    }
    if (status == CDrawing::kOpened && drawing->isLoaded()) {
        FillDeviceWithBackground();
        DRAWINGINFO::FillFromDrawing(drawing, m_drawingInfo);
        PostNotify(GetNotifyWnd(), WM_DRAW_OPENED, 1, 0);
        ZrApp::View* view = m_document->getView();
        view->setSize(m_device.m_nWidth, m_device.m_nHeight);
        if (command.code == DCMD_OPEN_EXTENTS) {
            PostNotify(GetNotifyWnd(), WM_DRAW_PROGRESS, 101, 0);
            view->zoomExtents(0, 0, 1.0);
        } else if (IsCurrent()) {
            PostNotify(GetNotifyWnd(), WM_DRAW_OPENED, 1, 0);
        }
        m_opening = 0;
        return true;
    }
    if (m_cancel) {
        // A newer open abandoned this load: nothing is drawn or answered.
        SetCurrent(false);
        m_opening = 0;
        return false;
    }
    DrawFailurePicture(status);
    m_drawingInfo->ClearCount();
    WPARAM result = status == CDrawing::kOpenPassword ? 4 : 0;
    PostNotify(GetNotifyWnd(), WM_DRAW_OPENED, result, command.companion);
    m_opening = 0;
    return true;
}

bool TDwgDrawThread::OpenRaster(const Command& command)
{
    if (!MayDraw()) {
        m_opening = 0;
        return true;
    }
    m_rasterPicture.Clear();
    CString text;
    if (command.fileKind == FILEKIND_JPEG)
        text = KImage::GetInfoText(command.path).GetText();
    SetRasterInfoText(text);
    if (!text.IsEmpty())
        PostNotify(GetNotifyWnd(), WM_DRAW_OPENED, 1, 0);
    if (!MayDraw()) {
        m_opening = 0;
        return true;
    }
    KImage& image = m_rasterPicture.GetImage();
    KType::RPoint2D origin = {0.0f, 0.0f};
    if (!image.Load(command.path, origin)) {
        PostNotify(GetNotifyWnd(), WM_DRAW_OPENED, 0, 0);
        m_opening = 0;
        return true;
    }
    if (MayDraw()) {
        if (text.IsEmpty()) {
            text = image.GetInfo().GetText();
            int pages = image.GetImage()->GetNumFrames();
            if (pages > 1)
                text.AppendFormat(" 页数量:%d", pages);
            SetRasterInfoText(text);
        }
        PostNotify(GetNotifyWnd(), WM_DRAW_OPENED, 1, 0);
    }
    m_rasterPicture.UpdateExtents(true);
    m_rasterPicture.drawEnabled = Preference.PreviewHalfTone ? 0 : 1;
    m_rasterPicture.ResetView();
    m_rasterPicture.drawEnabled = 1;
    PostNotify(GetNotifyWnd(), WM_DRAW_OPENED, 1, command.companion);
    m_opening = 0;
    return true;
}

void TDwgDrawThread::ReadFileInformation(const Command& command)
{
    m_opening = 1;
    if (IsDrawingKind(command.fileKind)) {
        CDrawing* drawing = m_document->getDrawing();
        drawing->open(command.path, command.password);
        if (drawing->isLoaded())
            DRAWINGINFO::FillFromDrawing(drawing, m_drawingInfo);
        m_document->close();
        NoteDrawingLoaded();
    } else {
        m_rasterPicture.Clear();
        SetRasterInfoText(KImage::GetInfoText(command.path).GetText());
    }
    m_opening = 0;
}

void TDwgDrawThread::CloseFile(const Command& command)
{
    m_drawingInfo->ClearCount();
    {
        CSingleLock hold(&m_requestLock, TRUE);
        m_path.Empty();
    }
    if (IsDrawingKind(command.fileKind)) {
        m_document->close();
        NoteDrawingLoaded();
    } else {
        m_rasterPicture.Clear();
        SetRasterInfoText(CString());
    }
}

void TDwgDrawThread::ReleaseDocument()
{
    CSingleLock work(&m_workLock, TRUE);
    ZrApp::Document* document;
    {
        CSingleLock hold(&m_requestLock, TRUE);
        document = m_document;
        m_document = NULL;
    }
    m_drawingLoaded = 0;
    if (document != NULL)
        ZrApp::Document::release(document);
}

char TDwgDrawThread::AbortQuery(void* thread)
{
    return static_cast<TDwgDrawThread*>(thread)->m_cancel;
}

void TDwgDrawThread::OnLoadBegin(int value)
{
    PostToMainWindow(0, value);
}

void TDwgDrawThread::OnLoadProgress(double percent)
{
    if (percent != 0.0)
        PostToMainWindow((WPARAM)(int)percent, 0);
}

void TDwgDrawThread::OnLoadEnd()
{
    PostToMainWindow(100, 0);
}

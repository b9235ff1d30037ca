// The view frame's own commands: view points, colour modes, the drawing
// dialogs, regenerate, 3D orbit, raster smoothing, open, file properties,
// the image information, and the update rules of its menu commands.
#include "views/viewer/view_frame.h"

#include "codecs/ximage.h"
#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "core/shell_properties.h"
#include "drawing/draw_thread/draw_commands.h"
#include "resources/views_ids.h"
#include "views/common/drawing_dialogs.h"
#include "views/common/idle_use.h"
#include "views/common/smooth_raster.h"
#include "views/common/view_browser.h"
#include "views/common/view_state.h"

namespace {

const UINT kSmoothTimer = 263;
const UINT kSmoothDelayMs = 1000;

// The drawing library's view-direction codes of the commands 32844-32853.
const int kViewDirections[] = {4, 5, 2, 3, 0, 1, 6, 7, 8, 9};

float RasterScale(TDwgDrawThread* thread)
{
    CIdleUse use(thread);
    return use.IsHeld() ? use.Picture().GetScale() : 1.0f;
}

}  // namespace

// --- Regenerate and smoothing -------------------------------------------------

void CViewFrame::Regenerate()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->SetCommand(DCMD_REGEN);
        return;
    }
    m_view.RedrawWindow(NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW);
    StartSmoothTimer();
}

void CViewFrame::StartSmoothTimer()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || IsDrawingKind(thread->GetFileKind()) || !Preference.PreviewHalfTone)
        return;
    if (RasterScale(thread) < 1.0f)
        SetTimer(kSmoothTimer, kSmoothDelayMs);
}

void CViewFrame::StopSmoothTimer()
{
    KillTimer(kSmoothTimer);
}

void CViewFrame::OnTimer(UINT_PTR id)
{
    if (id != kSmoothTimer)
        return;
    KillTimer(kSmoothTimer);
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread != NULL && !IsDrawingKind(thread->GetFileKind())) {
        CIdleUse use(thread);
        if (use.IsHeld())
            DrawRasterSmoothed(use.Picture(), *this);
    }
    RedrawWindow(NULL, NULL, RDW_ERASE | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CViewFrame::OnSmoothRaster()
{
    Preference.PreviewHalfTone = Preference.PreviewHalfTone ? 0 : 1;
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL || RasterScale(thread) >= 1.0f)
        return;
    BeginWaitCursor();
    {
        CIdleUse use(thread);
        if (use.IsHeld()) {
            use.Picture().fastStretch = Preference.PreviewHalfTone ? 0 : 1;
            use.Picture().Draw(false);
            use.Picture().fastStretch = 1;
        }
    }
    EndWaitCursor();
    Regenerate();
}

// --- Drawing settings ------------------------------------------------------------

void CViewFrame::OnViewPoint(UINT id)
{
    SetViewDirection(kViewDirections[id - ID_VIEW_TOP]);
}

void CViewFrame::SetViewDirection(int code)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()))
        return;
    {
        CIdleUse use(thread);
        if (use.Drawing() == NULL)
            return;
        use.Drawing()->setViewPoint(code);
    }
    thread->SetPendingCommand(DCMD_REGEN);
    Regenerate();
}

void CViewFrame::OnColorMode(UINT id)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()))
        return;
    // 32831 black and white (2), 32832 grey (1), 32833 colour (0).
    int mode = ID_VIEW_COLOR - (int)id;
    {
        CIdleUse use(thread);
        if (use.View() == NULL)
            return;
        use.View()->setColorMode(mode);
    }
    thread->SetPendingCommand(DCMD_REGEN);
    Regenerate();
}

void CViewFrame::OnRegen()
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()) || thread->IsOpening())
        return;
    RefreshDrawing(thread);
}

void CViewFrame::On3DOrbit()
{
    m_view.Set3DOrbitMode(!m_view.m_orbit);
}

bool CViewFrame::CanSetViewPoint()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()) || thread->GetViewFlag() || !thread->HasDrawing() ||
        m_view.m_printPick)
        return false;
    CIdleUse use(thread);
    return use.Drawing() != NULL && use.Drawing()->canSetViewPoint();
}

// --- Open and file properties ---------------------------------------------------

void CViewFrame::OpenChosenFile(const CString& path)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return;
    CSize area = DrawingAreaSize();
    AppSW.SetViewPath(path);
    UpdateTitle();
    m_tabsNeedRefill = 1;
    const CDrawingFileInfo* info = GetDrawingFileInfo(path);
    int kind = info != NULL ? info->type : -1;
    thread->SetFileKind(kind);
    m_view.m_listNavigation = 0;
    if (IsDrawingKind(kind)) {
        thread->SetPassword("", -1);
        thread->OpenFile(kind, path, area.cx, area.cy, false);
        return;
    }
    BeginWaitCursor();
    bool loaded = false;
    {
        CIdleUse use(thread);
        if (!use.IsHeld()) {
            // The thread is at work: it loads the image itself and answers.
            thread->OpenFile(kind, path, area.cx, area.cy, false);
            EndWaitCursor();
            return;
        }
        JGraphics& picture = use.Picture();
        picture.Clear();
        thread->SetFilePath(path);
        KType::RPoint2D origin = {0.0f, 0.0f};
        loaded = picture.GetImage().Load(path, origin);
        if (loaded) {
            picture.UpdateExtents(true);
            picture.Draw(false);
            thread->SetRasterInfoText(KImage::GetInfoText(path).GetText());
        }
    }
    if (!loaded) {
        EndWaitCursor();
        AfxMessageBox(CString("Open file error: ") + path, MB_OK, 0);
        return;
    }
    FillPageTabs();
    Regenerate();
    ShowImageInfo();
    EndWaitCursor();
}

void CViewFrame::OnFileProperties()
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        IViewBrowser* browser = GetViewBrowser();
        DRAWINGINFO info;
        thread->GetDrawingInfo(&info);
        if (browser != NULL)
            browser->ShowFileProperties(AppSW.GetViewPath(), info);
        return;
    }
    ShowShellProperties(m_hWnd, thread->GetFilePath());
}

void CViewFrame::ShowImageInfo()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || IsDrawingKind(thread->GetFileKind()))
        return;
    CString text;
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return;
        KImage& image = use.Picture().GetImage();
        CxImage* pixels = image.GetImage();
        int width = pixels != NULL ? (int)pixels->GetWidth() : -1;
        int height = pixels != NULL ? (int)pixels->GetHeight() : -1;
        text.Format("%dx%dx%db", width, height, (int)image.GetBpp());
    }
    CString information = thread->GetRasterInfoText();
    if (thread->GetFileKind() == FILEKIND_JPEG && !information.IsEmpty()) {
        text += "," + information;
        if (GetTabCount() == 0)
            ShowStatusPanes(true, text);
    }
    SetStatusText(0, text);
    m_statusBar.SendMessage(SB_SETTEXTA, SB_SIMPLEID, (LPARAM)(LPCSTR)text);
}

// --- Update rules -----------------------------------------------------------------

void CViewFrame::OnUpdateVectorOnly(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    cmdUI->Enable(thread != NULL && IsDrawingKind(thread->GetFileKind()) && thread->HasDrawing());
}

void CViewFrame::OnUpdateViewPoint(CCmdUI* cmdUI)
{
    cmdUI->Enable(CanSetViewPoint());
}

void CViewFrame::OnUpdate3DOrbit(CCmdUI* cmdUI)
{
    bool allowed = CanSetViewPoint();
    cmdUI->Enable(allowed);
    cmdUI->SetCheck(allowed && m_view.m_orbit ? 1 : 0);
}

void CViewFrame::OnUpdateColorMode(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    bool enabled = thread != NULL && IsDrawingKind(thread->GetFileKind()) && !m_view.m_printPick &&
                   HasVectorDrawing();
    int mode = -1;
    if (enabled) {
        CIdleUse use(thread);
        mode = use.View() != NULL ? use.View()->getColorMode() : -1;
    }
    cmdUI->Enable(enabled);
    cmdUI->SetCheck(mode == ID_VIEW_COLOR - (int)cmdUI->m_nID ? 1 : 0);
}

void CViewFrame::OnUpdateOpenOrPrint(CCmdUI* cmdUI)
{
    // A raster file always (printing it does not need the thread); a
    // drawing with the thread idle and no print window being picked.
    TDwgDrawThread* thread = GetRunningDrawThread();
    bool enabled = false;
    if (thread != NULL && !IsDrawingKind(thread->GetFileKind()))
        enabled = true;
    else if (thread != NULL)
        enabled = !thread->IsBusy() && !m_view.m_printPick && HasVectorDrawing();
    cmdUI->Enable(enabled);
}

void CViewFrame::OnUpdateSaveAs(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    bool enabled = thread != NULL &&
                   (!IsDrawingKind(thread->GetFileKind()) || (!m_view.m_printPick && HasVectorDrawing()));
    cmdUI->Enable(enabled);
}

void CViewFrame::OnUpdateSmoothRaster(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    cmdUI->Enable(thread != NULL && !IsDrawingKind(thread->GetFileKind()));
    cmdUI->SetCheck(Preference.PreviewHalfTone ? 1 : 0);
}

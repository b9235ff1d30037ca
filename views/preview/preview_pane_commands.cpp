// The preview pane's commands, their update rules and the layout menus.
#include "views/preview/preview_pane.h"

#include "core/appsw.h"
#include "core/file_types.h"
#include "core/preference.h"
#include "core/res_string.h"
#include "drawing/draw_thread/draw_commands.h"
#include "platform/zrui/zrui.h"
#include "resources/views_ids.h"
#include "views/common/drawing_dialogs.h"
#include "views/common/highlight_entity.h"
#include "views/common/idle_use.h"
#include "views/common/view_browser.h"
#include "views/common/view_commands.h"
#include "views/common/view_cursors.h"
#include "views/common/view_state.h"

namespace {

// The drawing library's view-direction codes of the commands 32807-32816.
const int kViewDirections[] = {4, 5, 2, 3, 0, 1, 6, 7, 8, 9};
const int kLayoutEntries = ID_LAYOUT_LAST - ID_LAYOUT_FIRST + 1;

// The idle thread when it holds a loaded drawing, else null.
TDwgDrawThread* IdleVectorWithDrawing()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || !IsDrawingKind(thread->GetFileKind()) || !thread->HasDrawing())
        return NULL;
    return thread;
}

// The submenu of the menu that holds the layers command, searched from the
// second submenu on; null when there is none.
CMenu* FindPreviewSubmenu(CMenu* menu)
{
    int count = (int)menu->GetMenuItemCount();
    for (int i = 1; i < count; ++i) {
        CMenu* submenu = menu->GetSubMenu(i);
        if (submenu != NULL && submenu->GetMenuState(ID_PREVIEW_LAYERS, MF_BYCOMMAND) != (UINT)-1)
            return submenu;
    }
    return NULL;
}

// The position of the layout entry in the submenu: the placeholder command
// or the popup made for it before; -1 when there is none.
int FindLayoutEntry(CMenu* submenu, const CString& title)
{
    int count = (int)submenu->GetMenuItemCount();
    for (int i = 0; i < count; ++i) {
        if (submenu->GetMenuItemID(i) == ID_PREVIEW_LAYOUTS)
            return i;
        char text[128] = "";
        if (submenu->GetSubMenu(i) != NULL && submenu->GetMenuString(i, text, sizeof(text), MF_BYPOSITION) > 0 &&
            title == text)
            return i;
    }
    return -1;
}

}  // namespace

bool CPreView::IsVisibleVector(TDwgDrawThread* thread) const
{
    return thread != NULL && IsDrawingKind(thread->GetFileKind()) && IsWindowVisible();
}

// --- Layout menus ------------------------------------------------------------------------

void CPreView::RebuildLayoutMenus()
{
    CWnd* main = AfxGetMainWnd();
    if (main != NULL && main->GetMenu() != NULL)
        BuildLayoutMenu(main->GetMenu());
    if (m_menu.GetSafeHmenu() != NULL)
        BuildLayoutMenu(&m_menu);
}

void CPreView::BuildLayoutMenu(CMenu* menu)
{
    CMenu* submenu = FindPreviewSubmenu(menu);
    if (submenu == NULL)
        return;
    CString title = LoadResString(IDS_LAYOUT_MENU);
    int position = FindLayoutEntry(submenu, title);
    if (position < 0)
        return;
    HMENU popup = CreatePopupMenu();
    TDwgDrawThread* thread = GetRunningDrawThread();
    CStringList names;
    if (thread != NULL && IsDrawingKind(thread->GetFileKind()) && thread->GetLayoutNames(names) > 0) {
        m_currentLayout = thread->GetDrawingValue();
        int index = 0;
        for (POSITION at = names.GetHeadPosition(); at != NULL && index < kLayoutEntries; ++index) {
            UINT flags = MF_STRING | (index == m_currentLayout ? MF_CHECKED : 0);
            AppendMenuA(popup, flags, ID_LAYOUT_FIRST + index, names.GetNext(at));
        }
    }
    // The old popup (if any) goes with the entry it replaces.
    submenu->DeleteMenu(position, MF_BYPOSITION);
    submenu->InsertMenu(position, MF_BYPOSITION | MF_POPUP | MF_STRING, (UINT_PTR)popup, title);
}

void CPreView::OnSelectLayout(UINT id)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return;
    thread->SetLayoutIndex((int)(id - ID_LAYOUT_FIRST));
    SendViewCommand(DCMD_SET_LAYOUT);
}

// --- Commands -----------------------------------------------------------------------------

void CPreView::OnPreviousView()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->PostCommand(DCMD_PREVIOUS_VIEW, NULL, NULL, false);
        return;
    }
    {
        CIdleUse use(thread);
        if (use.IsHeld())
            use.Picture().ZoomPrevious();
    }
    FinishRasterChange();
}

void CPreView::OnZoomAll()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->PostCommand(DCMD_ZOOM_EXTENTS, NULL, NULL, false);
        return;
    }
    {
        CIdleUse use(thread);
        if (use.IsHeld())
            use.Picture().ZoomAll();
    }
    FinishRasterChange();
}

void CPreView::OnRedraw()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL)
        return;
    if (IsDrawingKind(thread->GetFileKind())) {
        thread->PostCommand(DCMD_REFRESH, NULL, NULL, false);
        return;
    }
    {
        CIdleUse use(thread);
        if (use.IsHeld())
            use.Picture().Draw(false);
    }
    FinishRasterChange();
}

void CPreView::OnLayers()
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (RunDrawingDialog(thread, ZrUI::showLayerManager) == 1)
        RefreshDrawing(thread);
}

void CPreView::OnSelectViewPoint()
{
    if (RunDrawingDialog(GetIdleDrawThread(), ZrUI::showSetViewportDialog) == 1)
        SendViewCommand(DCMD_REGEN);
}

void CPreView::OnViewPoint(UINT id)
{
    TDwgDrawThread* thread = IdleVectorWithDrawing();
    if (thread == NULL)
        return;
    {
        CIdleUse use(thread);
        if (use.Drawing() == NULL)
            return;
        use.Drawing()->setViewPoint(kViewDirections[id - ID_PREVIEW_VIEW_TOP]);
    }
    SendViewCommand(DCMD_REGEN);
}

void CPreView::OnZoomTool(UINT id)
{
    switch (id) {
        case ID_PREVIEW_ZOOM_OUT:
            SetToolMode(kToolZoomOut);
            return;
        case ID_PREVIEW_ZOOM_IN:
            SetToolMode(kToolZoomIn);
            return;
        case ID_PREVIEW_ZOOM_WINDOW:
            SetToolMode(kToolZoomWindow);
            return;
        default:
            m_toolMode = kToolPan;
            ApplyCursor(ViewCursor(kCursorPan));
            return;
    }
}

void CPreView::OnActualSize()
{
    if (GetIdleRasterThread() == NULL)
        return;
    m_toolMode = kToolPan;
    ApplyCursor(ViewCursor(kCursorPan));
    ShowRasterActualSize();
    FinishRasterChange();
}

void CPreView::OnAutoFit()
{
    if (GetIdleRasterThread() == NULL)
        return;
    FitRasterView();
    FinishRasterChange();
}

void CPreView::OnRotateLeft()
{
    OnRasterTransform(ID_RASTER_ROTATE_LEFT);
}

void CPreView::OnRotateRight()
{
    OnRasterTransform(ID_RASTER_ROTATE_RIGHT);
}

void CPreView::OnRasterTransform(UINT id)
{
    if (GetIdleRasterThread() == NULL)
        return;
    BeginWaitCursor();
    bool orientationChanged = false;
    TurnRaster(id, orientationChanged);
    RepaintRaster();
    IViewBrowser* browser = GetViewBrowser();
    if (orientationChanged && browser != NULL)
        browser->RegenerateSelectedThumbnails();
    PostStatusUpdate();
    EndWaitCursor();
}

void CPreView::OnSmoothRaster()
{
    Preference.PreviewHalfTone = Preference.PreviewHalfTone ? 0 : 1;
    TDwgDrawThread* thread = GetIdleDrawThread();
    if (thread == NULL || IsDrawingKind(thread->GetFileKind()))
        return;
    BeginWaitCursor();
    {
        CIdleUse use(thread);
        if (use.IsHeld() && use.Picture().GetScale() < 1.0f) {
            use.Picture().fastStretch = Preference.PreviewHalfTone ? 0 : 1;
            use.Picture().Draw(false);
            use.Picture().fastStretch = 1;
        }
    }
    EndWaitCursor();
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
}

void CPreView::OnHighlightEntity()
{
    ToggleHighlightEntity();
}

void CPreView::OnQuickMode()
{
    if (ToggleQuickMode() != NULL)
        SendViewCommand(DCMD_REGEN);
}

// --- Update rules ----------------------------------------------------------------------------

void CPreView::OnUpdateVectorToShow(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    cmdUI->Enable(thread != NULL && IsDrawingKind(thread->GetFileKind()) && HasSomethingToShow());
}

void CPreView::OnUpdatePreviousView(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    bool enabled = false;
    if (thread != NULL && IsWindowVisible()) {
        CIdleUse use(thread);
        if (IsDrawingKind(thread->GetFileKind()))
            enabled = HasSomethingToShow() && use.View() != NULL && use.View()->hasPreviousView();
        else
            enabled = use.IsHeld() && use.Picture().GetViewCount() > 1;
    }
    cmdUI->Enable(enabled);
}

void CPreView::OnUpdateZoomAll(CCmdUI* cmdUI)
{
    bool loaded = IdleVectorWithDrawing() != NULL || GetIdleRasterThread() != NULL;
    cmdUI->Enable(loaded && IsWindowVisible());
}

void CPreView::OnUpdateLayoutMenu(CCmdUI* cmdUI)
{
    cmdUI->Enable(IsVisibleVector(IdleVectorWithDrawing()));
}

void CPreView::OnUpdateViewPoint(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = IdleVectorWithDrawing();
    bool enabled = false;
    if (IsVisibleVector(thread) && !thread->GetViewFlag()) {
        CIdleUse use(thread);
        enabled = use.Drawing() != NULL && use.Drawing()->canSetViewPoint();
    }
    cmdUI->Enable(enabled);
}

void CPreView::OnUpdateZoomTool(CCmdUI* cmdUI)
{
    static const int kModes[] = {kToolZoomOut, kToolZoomIn, kToolZoomWindow, kToolPan};
    bool loaded = IdleVectorWithDrawing() != NULL || GetIdleRasterThread() != NULL;
    cmdUI->Enable(loaded && IsWindowVisible());
    cmdUI->SetCheck(m_toolMode == kModes[cmdUI->m_nID - ID_PREVIEW_ZOOM_OUT] ? 1 : 0);
}

void CPreView::OnUpdateSelectLayout(CCmdUI* cmdUI)
{
    TDwgDrawThread* thread = GetIdleDrawThread();
    bool vector = thread != NULL && IsDrawingKind(thread->GetFileKind());
    cmdUI->Enable(vector);
    cmdUI->SetCheck(vector && (int)(cmdUI->m_nID - ID_LAYOUT_FIRST) == thread->GetDrawingValue() ? 1 : 0);
}

void CPreView::OnUpdateRasterImage(CCmdUI* cmdUI)
{
    cmdUI->Enable(GetIdleRasterThread() != NULL && IsWindowVisible());
    if (cmdUI->m_nID == ID_SMOOTH_RASTER)
        cmdUI->SetCheck(Preference.PreviewHalfTone ? 1 : 0);
}

void CPreView::OnUpdateHighlightEntity(CCmdUI* cmdUI)
{
    UpdateHighlightEntity(cmdUI);
}

void CPreView::OnUpdateQuickMode(CCmdUI* cmdUI)
{
    UpdateQuickMode(cmdUI);
}

// The file list's thumbnail view: the batches handed to the thumbnail task
// thread, the pictures taken back, and the cell geometry.
#include "browser/filelist/ie_shell_list_ctrl.h"

#include "core/appsw.h"
#include "core/preference.h"
#include "core/res_string.h"
#include "core/size_text.h"
#include "drawing/common/draw_messages.h"
#include "drawing/library/dwg_cache.h"
#include "drawing/thumbnails/task.h"
#include "drawing/thumbnails/task_manage_thread.h"
#include "graphics/kbmp.h"
#include "resources/browser_ids.h"
#include "resources/drawing_ids.h"

namespace {

// Armed after a raster file's decoding stage: the cell shows "loading"
// when nothing else came for the row within a second.
const UINT kRetryDelayMs = 1000;
// How long a stop waits for the task thread to let go of its thumbnail.
const DWORD kStopTimeoutMs = 10000;
// The status text blinks while a stop takes long.
const DWORD kBlinkMs = 1500;
const WPARAM kRasterStage = 101;

KBMP g_loadingPicture;

}  // namespace

bool MakeLoadingPicture(int width, int height)
{
    if (width <= 0 || height <= 0)
        return false;
    if (g_loadingPicture.data && g_loadingPicture.GetWidth() == width && g_loadingPicture.GetHeight() == height)
        return false;
    CDib picture;
    if (!picture.Create(width, height, 24))
        return false;
    CDC* dc = picture.BeginMemDC(nullptr);
    if (!dc)
        return false;
    RECT area = {0, 0, width, height};
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    FillRect(dc->m_hDC, &area, face);
    SetTextColor(dc->m_hDC, GetSysColor(COLOR_BTNTEXT));
    SetBkMode(dc->m_hDC, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc->m_hDC, GetStockObject(DEFAULT_GUI_FONT));
    CString text = LoadResString(IDS_THUMB_LOADING);
    DrawTextA(dc->m_hDC, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(dc->m_hDC, oldFont);
    picture.EndMemDC();
    g_loadingPicture.Attach(picture.CopyToBmpFile(), false);
    g_loadingPicture.boxWidth = width;
    g_loadingPicture.boxHeight = height;
    return true;
}

TTaskManageThread* CIEShellListCtrl::TaskThread() const
{
    return m_taskThread ? m_taskThread : AppSW.taskThread;
}

int CIEShellListCtrl::ThumbBorder() const
{
    return Preference.ThumbBorder;
}

// ---------------------------------------------------------------------------
// Cells.

bool CIEShellListCtrl::UpdateCellSize()
{
    const int border = ThumbBorder();
    int cellWidth = Preference.ThumbWidth;
    int cellHeight = Preference.ThumbHeight;
    int libraryWidth = 0;
    int libraryHeight = 0;
    TDwgCache* cache = GetDwgCache();
    if (Preference.ForceUseLibSize && !m_folderPath.IsEmpty() && cache &&
        cache->CheckLibFile(m_folderPath, libraryWidth, libraryHeight)) {
        cellWidth = libraryWidth + 2 * border;
        cellHeight = libraryHeight + 2 * border;
    }
    // The picture box is the cell less its borders: a new border alone
    // needs pictures of a new size too.
    if (cellWidth == m_cellWidth && cellHeight == m_cellHeight && border == m_cellBorder)
        return false;
    SetCellSize(cellWidth, cellHeight, border);
    return true;
}

void CIEShellListCtrl::SetCellSize(int width, int height, int border)
{
    m_cellWidth = width;
    m_cellHeight = height;
    m_cellBorder = border;
    MakeLoadingPicture(width - 2 * border, height - 2 * border);
}

void CIEShellListCtrl::RebuildCells()
{
    if (m_cellDib.GetWidth() != m_cellWidth || m_cellDib.GetHeight() != m_cellHeight)
        m_cellDib.Create(m_cellWidth, m_cellHeight, 24);
    if (!GetSafeHwnd())
        return;
    m_thumbImages.DeleteImageList();
    m_thumbImages.Create(m_cellWidth, m_cellHeight, ILC_COLOR8, 0, 1);
    SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, (LPARAM)m_thumbImages.GetSafeHandle());
    LOGFONTA font = {};
    HFONT listFont = (HFONT)SendMessage(WM_GETFONT);
    GetObjectA(listFont ? (HGDIOBJ)listFont : GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    int fontHeight = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    SendMessage(LVM_SETICONSPACING, 0, MAKELONG(m_cellWidth + 3, fontHeight + m_cellHeight + 15));
}

void CIEShellListCtrl::SetThumbnailMode(bool on)
{
    if (on) {
        // Pictures made for cells of another size are made anew.
        if (UpdateCellSize())
            ClearThumbnails();
        RebuildCells();
        return;
    }
    SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, (LPARAM)m_largeSysImages);
    SendMessage(LVM_SETICONSPACING, 0, MAKELONG(-1, -1));
}

void CIEShellListCtrl::OnThumbLookChanged()
{
    // Only a new cell or picture size needs new cells and thumbnails made
    // anew; new colours are only painted. Outside the thumbnail view the
    // cells are built when that view comes back.
    if (!IsThumbnailView() || !UpdateCellSize()) {
        Invalidate(TRUE);
        return;
    }
    RebuildCells();
    m_refreshAllowed = 0;
    SendMessage(LVM_DELETEALLITEMS);
    FreeAllRecords();
    Refresh(false);
    m_refreshAllowed = 1;
}

// ---------------------------------------------------------------------------
// Batches.

void CIEShellListCtrl::BeginThumbnailBatch(bool keepThumbnails)
{
    if (!keepThumbnails)
        ClearThumbnails();
    m_doneCount = 0;
    m_fileCount = 0;
    m_folderCount = 0;
    m_selectedPath.Empty();
    PostToMainWindow(WM_UPDATE_STATUS, (WPARAM)-1000, (LPARAM)-1000);
    if (!IsThumbnailView())
        return;
    StopCurrentTask();
    if (TTaskManageThread* thread = TaskThread())
        thread->SetThumbSize(m_cellWidth - 2 * ThumbBorder(), m_cellHeight - 2 * ThumbBorder());
}

// The task thread lets go of its thumbnail at its next abort query; the
// wait for that is bounded and keeps answering the thread's sent messages,
// so that a thread blocked in one of them can go on to its end.
void CIEShellListCtrl::StopCurrentTask()
{
    FreeTaskTable();
    TTaskManageThread* thread = TaskThread();
    if (!thread)
        return;
    thread->SetNotifyEnabled(false);
    if (!thread->IsIdle() && !thread->HasEnded()) {
        thread->CancelCurrent();
        const bool browsing = AppSW.mode == APPMODE_BROWSE;
        CString text = LoadResString(IDS_STOPPING_THUMBNAILS);
        if (browsing)
            SendToMainWindow(WM_STATUS_TEXT, 0, (LPARAM)text.GetString());
        m_acceptResults = 0;
        DWORD lastBlink = GetTickCount();
        bool blank = false;
        thread->WaitIdle(kStopTimeoutMs, m_hWnd, [&]() {
            DWORD now = GetTickCount();
            if (browsing && now - lastBlink > kBlinkMs) {
                lastBlink = now;
                blank = !blank;
                SendToMainWindow(WM_STATUS_TEXT, blank ? 1 : 0, blank ? 0 : (LPARAM)text.GetString());
            }
            return !AppSW.toQuit;
        });
        m_acceptResults = 1;
        if (browsing)
            PostToMainWindow(WM_STATUS_TEXT, 0, 0);
    }
    thread->EndFolder();
}

void CIEShellListCtrl::ClearThumbnails()
{
    FreeTaskTable();
    for (CShellItemData* record : m_records)
        record->DropThumbnail();
}

void CIEShellListCtrl::FreeTaskTable()
{
    if (m_retryItem >= 0 && GetSafeHwnd())
        KillTimer(kRetryTimer);
    m_retryItem = -1;
    m_taskOrder.clear();
    m_hasTaskTable = false;
}

void CIEShellListCtrl::RequeueThumbnails()
{
    FreeTaskTable();
    TTaskManageThread* thread = TaskThread();
    if (!IsThumbnailView() || !thread)
        return;
    const int rows = GetItemCount();
    m_taskOrder.assign(rows, 0);
    m_hasTaskTable = true;
    for (int row = 0; row < rows; ++row) {
        CShellItemData* record = (CShellItemData*)GetItemExtData(row);
        if (!record || record->IsFolder())
            continue;
        if (record->pThumbnail && record->thumbResult != TASK_RESULT_FAILED)
            continue;
        CString path = record->GetPath();
        if (path.IsEmpty())
            continue;
        int index = thread->AddTask(new TTask(path, row, true, record->fileKind));
        if (index >= 0)
            m_taskOrder[row] = index;
    }
}

bool CIEShellListCtrl::CanQueue(bool selectedOnly) const
{
    if (selectedOnly && GetSelectedCount() == 0)
        return false;
    return IsTaskIdleWithFiles();
}

void CIEShellListCtrl::QueueThumbnails(bool selectedOnly)
{
    if (!CanQueue(selectedOnly))
        return;
    TTaskManageThread* thread = TaskThread();
    const int border = ThumbBorder();
    if (!selectedOnly && (m_cellWidth != Preference.ThumbWidth || m_cellHeight != Preference.ThumbHeight)) {
        SetCellSize(Preference.ThumbWidth, Preference.ThumbHeight, border);
        RebuildCells();
        thread->SetThumbSize(m_cellWidth - 2 * border, m_cellHeight - 2 * border);
    }
    FreeTaskTable();
    const int rows = GetItemCount();
    m_taskOrder.assign(rows, 0);
    m_hasTaskTable = true;
    for (int row = 0; row < rows; ++row) {
        if (selectedOnly && !GetItemState(row, LVIS_SELECTED))
            continue;
        CShellItemData* record = (CShellItemData*)GetItemExtData(row);
        if (!record)
            continue;
        record->DropThumbnail();
        CString path = record->GetPath();
        if (record->IsFolder() || path.IsEmpty())
            continue;
        int index = thread->AddTask(new TTask(path, row, false, record->fileKind));
        if (index >= 0)
            m_taskOrder[row] = index;
    }
    Invalidate(TRUE);
    StartThumbnailTasks(true, false);
}

void CIEShellListCtrl::StartThumbnailTasks(bool regenerate, bool)
{
    m_doneCount = 0;
    m_totalSizeText.Empty();
    TTaskManageThread* thread = TaskThread();
    if (IsThumbnailView() && thread) {
        m_taskCount = thread->GetTaskList()->GetCount();
        if (m_taskCount == 0)
            return;
        thread->SetNotifyWnd(m_hWnd);
        thread->SetStartIndex(FirstVisibleTask());
        thread->StartFolder(m_folderPath, regenerate);
        ComputeTotalSizeText();
        if (!AppSW.toQuit)
            PostToMainWindow(WM_UPDATE_STATUS, 0, m_taskCount);
        return;
    }
    m_taskCount = 0;
    ComputeTotalSizeText();
    if (!AppSW.toQuit)
        PostToMainWindow(WM_UPDATE_STATUS, 0, 0);
}

int CIEShellListCtrl::FirstVisibleTask() const
{
    if (!m_hasTaskTable)
        return 0;
    int top = GetTopIndex();
    for (int row = top < 0 ? 0 : top; row < (int)m_taskOrder.size(); ++row) {
        CRect icon;
        if (GetItemRect(row, &icon, LVIR_ICON) && icon.bottom > 0)
            return m_taskOrder[row];
    }
    return 0;
}

bool CIEShellListCtrl::ComputeTotalSizeText()
{
    int64_t total = 0;
    for (CShellItemData* record : m_records) {
        char path[MAX_PATH];
        if (record->IsFolder() || !record->GetPath(path))
            continue;
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(path, GetFileExInfoStandard, &data))
            total += ((int64_t)data.nFileSizeHigh << 32) | data.nFileSizeLow;
    }
    m_totalSizeText.Empty();
    if (total > 0)
        FormatFileSize(total, m_totalSizeText);
    return total > 0;
}

void CIEShellListCtrl::SkipCurrentThumbnail()
{
    if (TTaskManageThread* thread = TaskThread())
        thread->SkipCurrentThumbnail();
}

bool CIEShellListCtrl::IsTaskThreadIdle() const
{
    TTaskManageThread* thread = TaskThread();
    return thread && thread->IsIdle();
}

bool CIEShellListCtrl::IsTaskBusy() const
{
    TTaskManageThread* thread = TaskThread();
    return IsThumbnailView() && m_fileCount > 0 && thread && !thread->IsIdle();
}

bool CIEShellListCtrl::IsTaskIdleWithFiles() const
{
    return IsThumbnailView() && m_fileCount > 0 && IsTaskThreadIdle();
}

// ---------------------------------------------------------------------------
// Results.

LRESULT CIEShellListCtrl::OnThumbDone(WPARAM, LPARAM)
{
    if (m_retryItem >= 0) {
        KillTimer(kRetryTimer);
        m_retryItem = -1;
    }
    if (!m_hasTaskTable || !TaskThread() || !m_acceptResults || !IsThumbnailView())
        return 0;
    TakeFinishedThumbnails();
    return 0;
}

// The notice's lParam names a task the thread may have deleted since: the
// finished pictures are taken from the task list instead, by value. A long
// run of them is taken in slices, the rest from a timer, after the input and
// painting that came meanwhile, so that the list keeps answering.
void CIEShellListCtrl::TakeFinishedThumbnails()
{
    TTaskManageThread* thread = TaskThread();
    TTaskResult result;
    const ULONGLONG start = GetTickCount64();
    while (thread->GetFinishedTask(result)) {
        CShellItemData* record = (CShellItemData*)GetItemExtData(result.itemValue);
        if (!record) {
            delete result.thumbnail;
            continue;
        }
        delete record->pThumbnail;
        record->pThumbnail = result.thumbnail;
        record->thumbResult = result.result;
        RedrawThumbnailItem(result.itemValue);
        ++m_doneCount;
        SendToMainWindow(WM_UPDATE_STATUS, m_doneCount, m_taskCount);
        if (GetTickCount64() - start >= kTakeSliceMs) {
            SetTimer(kTakeTimer, 1, nullptr);
            return;
        }
    }
}

LRESULT CIEShellListCtrl::OnThumbStage(WPARAM wParam, LPARAM lParam)
{
    if (m_retryItem >= 0) {
        KillTimer(kRetryTimer);
        m_retryItem = -1;
    }
    TTaskManageThread* thread = TaskThread();
    if (!m_hasTaskTable || !thread || !m_acceptResults || !IsThumbnailView())
        return 0;
    int row = thread->GetCurrentItem();
    CShellItemData* record = row >= 0 ? (CShellItemData*)GetItemExtData(row) : nullptr;
    if (!record)
        return 0;
    record->thumbResult = 0;
    if (lParam) {
        // The thread's picture is valid only during this call.
        if (!record->pThumbnail)
            record->pThumbnail = new KBMP;
        record->pThumbnail->Attach(((CDib*)lParam)->CopyToBmpFile(), false);
        RedrawThumbnailItem(row);
    } else if (wParam == kRasterStage) {
        m_retryItem = row;
        SetTimer(kRetryTimer, kRetryDelayMs, nullptr);
    } else {
        RedrawThumbnailItem(row);
    }
    return 0;
}

LRESULT CIEShellListCtrl::OnThumbsFinished(WPARAM, LPARAM)
{
    if (m_acceptResults && m_hasTaskTable && TaskThread() && IsThumbnailView())
        TakeFinishedThumbnails();
    PostToMainWindow(WM_THUMBS_FINISHED, 0, 0);
    return 0;
}

void CIEShellListCtrl::OnTimer(UINT_PTR id)
{
    KillTimer(id);
    if (id == kFolderRefreshTimerId) {
        if (m_folderWatch.OnRefreshTimer())
            RefreshKeepSelection(false, false);
        return;
    }
    if (id == kTakeTimer) {
        OnThumbDone(0, 0);
        return;
    }
    if (id != kRetryTimer) {
        CUIODListCtrl::OnTimer(id);
        return;
    }
    int row = m_retryItem;
    m_retryItem = -1;
    CShellItemData* record = row >= 0 ? (CShellItemData*)GetItemExtData(row) : nullptr;
    if (!record || !g_loadingPicture.data)
        return;
    if (!record->pThumbnail)
        record->pThumbnail = new KBMP;
    record->pThumbnail->Attach(g_loadingPicture.data, true);
    RedrawThumbnailItem(row);
}

// ---------------------------------------------------------------------------
// Scrolling: the thread is pointed at the rows in view.

void CIEShellListCtrl::PointTaskThreadAtView()
{
    if (m_hasTaskTable && IsTaskBusy())
        TaskThread()->SetStartIndex(FirstVisibleTask());
}

void CIEShellListCtrl::OnHScroll(UINT code, UINT position, CScrollBar* scrollBar)
{
    CUIODListCtrl::OnHScroll(code, position, scrollBar);
    PointTaskThreadAtView();
}

void CIEShellListCtrl::OnVScroll(UINT code, UINT position, CScrollBar* scrollBar)
{
    CUIODListCtrl::OnVScroll(code, position, scrollBar);
    PointTaskThreadAtView();
}

BOOL CIEShellListCtrl::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    BOOL handled = CUIODListCtrl::OnMouseWheel(flags, delta, point);
    PointTaskThreadAtView();
    return handled;
}

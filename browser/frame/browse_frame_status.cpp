// The browse frame's status bar: the panes of the folder counts, the
// current file, the selection size and the thumbnail progress, which come
// and go in that order before the drawing summary pane; the coalesced
// status refresh and the transient texts of the list.
#include "browser/frame/browse_frame.h"

#include "core/file_name.h"
#include "resources/resource.h"
#include "views/common/view_messages.h"

namespace {

// The status panes that come and go, in the order they stand.
const UINT kOptionalPanes[] = {ID_PANE_COUNTS, ID_PANE_FILE_NAME, ID_PANE_SELECTION_SIZE, ID_PANE_PROGRESS};
// The list starts queueing thumbnails: the progress pane goes.
const int kBatchStart = -1000;
const DWORD kProgressStyle = WS_CHILD | WS_VISIBLE | SS_NOTIFY | SS_CENTERIMAGE;
// Blanks that give the progress pane its width.
const char kProgressPaneText[] = "                                              ";
const char kBlinkText[] = "         ";

const char* NullWhenEmpty(const CString& text)
{
    return text.IsEmpty() ? NULL : (LPCSTR)text;
}

}  // namespace

bool CBrowseFrame::IsStatusBarShown() const
{
    return m_statusBar.GetSafeHwnd() != NULL && (m_statusBar.GetStyle() & WS_VISIBLE) != 0;
}

int CBrowseFrame::StatusPanePosition(UINT id) const
{
    int position = 0;
    for (UINT before : kOptionalPanes) {
        if (before == id)
            break;
        if (m_statusBar.CommandToIndex(before) >= 0)
            ++position;
    }
    return position;
}

void CBrowseFrame::SetStatusPaneText(UINT id, const char* text)
{
    if (!IsStatusBarShown())
        return;
    int index = m_statusBar.CommandToIndex(id);
    if (index < 0) {
        if (text == NULL)
            return;
        if (id != ID_PANE_COUNTS && id != ID_PANE_FILE_NAME && id != ID_PANE_SELECTION_SIZE)
            return;
        m_statusBar.AddIndicator(StatusPanePosition(id), id);
        index = m_statusBar.CommandToIndex(id);
        if (index < 0)
            return;
    }
    if (text != NULL)
        m_statusBar.SetPaneText(index, text, TRUE);
    else
        m_statusBar.RemoveIndicator(id);
}

void CBrowseFrame::FitStatusPanes()
{
    if (!IsStatusBarShown())
        return;
    {
        CClientDC dc(&m_statusBar);
        for (int i = 0; i < m_statusBar.GetCount() - 1; ++i) {
            CString text = m_statusBar.GetPaneText(i);
            SIZE size = {0, 0};
            ::GetTextExtentPoint32A(dc.GetSafeHdc(), text, text.GetLength(), &size);
            m_statusBar.SetPaneWidth(i, size.cx);
        }
    }
    m_statusBar.PositionControls();
}

void CBrowseFrame::RemoveProgressPane()
{
    if (m_statusBar.GetSafeHwnd() != NULL && m_statusBar.CommandToIndex(ID_PANE_PROGRESS) >= 0) {
        m_statusBar.RemoveIndicator(ID_PANE_PROGRESS);
        FitStatusPanes();
    }
    m_progress = NULL;
}

void CBrowseFrame::SetProgress(int lower, int upper, int pos)
{
    if (pos < 0) {
        RemoveProgressPane();
        return;
    }
    if (!IsStatusBarShown())
        return;
    bool inserted = false;
    if (m_statusBar.CommandToIndex(ID_PANE_PROGRESS) < 0) {
        m_statusBar.AddIndicator(StatusPanePosition(ID_PANE_PROGRESS), ID_PANE_PROGRESS);
        inserted = true;
    }
    int index = m_statusBar.CommandToIndex(ID_PANE_PROGRESS);
    if (index < 0)
        return;
    if (inserted)
        m_statusBar.SetPaneText(index, kProgressPaneText, TRUE);
    if (m_progress == NULL) {
        CQuorvantixProgress* progress = new CQuorvantixProgress;
        if (!progress->Create("", kProgressStyle, CRect(0, 0, 0, 0), &m_statusBar, IDC_THUMBNAIL_PROGRESS)) {
            delete progress;
            return;
        }
        progress->SetRange(lower, upper);
        if (!m_statusBar.AddControl(progress, ID_PANE_PROGRESS, TRUE)) {
            progress->DestroyWindow();
            delete progress;
            return;
        }
        m_progress = progress;
    }
    m_progress->SetPos(pos);
    if (inserted)
        FitStatusPanes();
}

LRESULT CBrowseFrame::OnUpdateStatus(WPARAM thumbnailsDone, LPARAM thumbnailsInBatch)
{
    UpdateTitle();
    // A burst of notifications costs one refresh, with the newest numbers.
    MSG queued;
    while (::PeekMessageA(&queued, GetSafeHwnd(), WM_UPDATE_STATUS, WM_UPDATE_STATUS, PM_REMOVE)) {
        thumbnailsDone = queued.wParam;
        thumbnailsInBatch = queued.lParam;
    }
    RefreshStatus((int)thumbnailsDone, (int)thumbnailsInBatch);
    return 0;
}

void CBrowseFrame::RefreshStatus(int thumbnailsDone, int thumbnailsInBatch)
{
    if (thumbnailsDone == kBatchStart) {
        RemoveProgressPane();
        return;
    }
    CIEShellListCtrl* list = GetFileList();
    CString format, totalLabel, counts;
    format.LoadString(IDS_FOLDER_COUNTS);
    counts.Format(format, list->GetItemCount(), list->GetFileCount());
    CString totalSize = list->GetTotalSizeText();
    if (!totalSize.IsEmpty()) {
        totalLabel.LoadString(IDS_TOTAL_SIZE);
        counts += totalLabel + totalSize;
    }
    CFileName current(list->GetSelectedPath());
    CString name = current.GetFileName();
    CString selectionSize = list->GetSelectedSizeText();

    if (IsStatusBarShown()) {
        SetStatusPaneText(ID_PANE_COUNTS, NullWhenEmpty(counts));
        SetStatusPaneText(ID_PANE_FILE_NAME, NullWhenEmpty(name));
        SetStatusPaneText(ID_PANE_SELECTION_SIZE, NullWhenEmpty(selectionSize));
        FitStatusPanes();
        int summaryPane = m_statusBar.CommandToIndex(0);
        if (summaryPane >= 0)
            m_statusBar.SetPaneText(summaryPane, GetPreview()->GetDrawingSummary() + " ", TRUE);
    }
    if (thumbnailsDone != thumbnailsInBatch)
        SetProgress(0, thumbnailsInBatch, thumbnailsDone);
}

LRESULT CBrowseFrame::OnStatusText(WPARAM blank, LPARAM text)
{
    CString shown;
    if (blank == 1) {
        shown = kBlinkText;
    } else if (text == 0) {
        OnUpdateStatus(0, 0);
        m_transientText = 0;
        return 0;
    } else {
        shown = (LPCSTR)text;
    }
    SetStatusPaneText(ID_PANE_COUNTS, shown);
    if (!m_transientText)
        FitStatusPanes();
    m_transientText = 1;
    return 0;
}

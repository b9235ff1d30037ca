#include "browser/filelist/file_list_view.h"

#include "core/preference.h"
#include "core/res_string.h"
#include "resources/browser_ids.h"

IMPLEMENT_DYNAMIC(CFileListView, CWnd)

BEGIN_MESSAGE_MAP(CFileListView, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_BN_CLICKED(CFileListView::kAddBookmarkId, &CFileListView::OnAddBookmark)
    ON_BN_CLICKED(CFileListView::kRemoveBookmarkId, &CFileListView::OnRemoveBookmark)
    ON_BN_CLICKED(CFileListView::kEditBookmarksId, &CFileListView::OnEditBookmarks)
    ON_CBN_SELCHANGE(CFileListView::kPathBoxId, &CFileListView::OnPathBoxSelChange)
END_MESSAGE_MAP()

namespace {

const int kButtonSize = 22;
const int kButtonTop = 3;
const int kPathBoxLeft = 2;
const int kPathBoxTop = 4;
const int kPathBoxDropHeight = 400;
const int kToolTipLength = 80;

}  // namespace

CFileListView::CFileListView() = default;

CFileListView::~CFileListView() = default;

BOOL CFileListView::Create(CWnd* parent, UINT id)
{
    return CWnd::CreateEx(WS_EX_CLIENTEDGE, nullptr, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                          CRect(0, 0, 100, 100), parent, id);
}

BOOL CFileListView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
    cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                                       (HBRUSH)(COLOR_WINDOW + 1), nullptr);
    return CWnd::PreCreateWindow(cs);
}

int CFileListView::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        m_font.CreateFontIndirect(&metrics.lfMenuFont);
    if (!m_pathBox.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                          CRect(0, 0, 400, 300), this, kPathBoxId))
        return -1;
    if (m_font.GetSafeHandle())
        m_pathBox.SendMessage(WM_SETFONT, (WPARAM)m_font.GetSafeHandle(), TRUE);
    if (!CreateButton(m_addButton, kAddBookmarkId, IDI_ADD_BOOKMARK) ||
        !CreateButton(m_removeButton, kRemoveBookmarkId, IDI_REMOVE_BOOKMARK) ||
        !CreateButton(m_editButton, kEditBookmarksId, IDI_EDIT_BOOKMARKS))
        return -1;
    if (!CreateList())
        return -1;
    m_list.SetFocus();
    AddToolTips();
    return 0;
}

bool CFileListView::CreateButton(CButton& button, UINT id, UINT iconId)
{
    if (!button.Create("", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_FLAT | BS_ICON, CRect(0, 0, 24, 24), this, id))
        return false;
    HICON icon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, 16, 16, 0);
    button.SendMessage(BM_SETIMAGE, IMAGE_ICON, (LPARAM)icon);
    return true;
}

bool CFileListView::CreateList()
{
    DWORD style = m_list.GetCreateStyle();
    if (m_list.GetViewType() == VIEWTYPE_REPORT)
        style = (style & ~LVS_AUTOARRANGE) | LVS_ALIGNLEFT;
    else
        style = (style & ~LVS_ALIGNLEFT) | LVS_AUTOARRANGE;
    return m_list.CreateEx(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "", style, CRect(0, 0, 100, 100), this,
                           CIEShellListCtrl::kControlId) != FALSE;
}

// One tool tip per child of the path row; the texts are asked of the pane
// (TTN_NEEDTEXT) when shown.
void CFileListView::AddToolTips()
{
    m_toolTips = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                   m_hWnd, nullptr, nullptr, nullptr);
    if (!m_toolTips)
        return;
    CWnd* children[4] = {&m_pathBox, &m_addButton, &m_removeButton, &m_editButton};
    for (CWnd* child : children) {
        TTTOOLINFOA tool = {};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = m_hWnd;
        tool.uId = (UINT_PTR)child->m_hWnd;
        tool.lpszText = LPSTR_TEXTCALLBACKA;
        ::SendMessageA(m_toolTips, TTM_ADDTOOLA, 0, (LPARAM)&tool);
    }
}

void CFileListView::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    LayoutChildren(cx, cy);
}

void CFileListView::RelayoutNow()
{
    CRect client;
    GetClientRect(&client);
    LayoutChildren(client.Width(), client.Height());
}

void CFileListView::LayoutChildren(int cx, int cy)
{
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    const bool showRow = Preference.ShowPathBox != 0;
    if (m_list.GetSafeHwnd()) {
        if (showRow)
            m_list.SetWindowPos((HWND)nullptr, 0, kPathRowHeight, cx, cy - kPathRowHeight, flags);
        else
            m_list.SetWindowPos((HWND)nullptr, 0, 0, cx, cy, flags);
    }
    if (m_pathBox.GetSafeHwnd()) {
        if (showRow)
            m_pathBox.SetWindowPos((HWND)nullptr, kPathBoxLeft, kPathBoxTop, cx - 86, kPathBoxDropHeight, flags);
        else
            m_pathBox.SetWindowPos((HWND)nullptr, cx + 10, 3, 0, 0, flags);
    }
    CButton* buttons[3] = {&m_addButton, &m_removeButton, &m_editButton};
    const int offsets[3] = {78, 52, 26};
    for (int i = 0; i < 3; ++i) {
        if (!buttons[i]->GetSafeHwnd())
            continue;
        if (showRow)
            buttons[i]->SetWindowPos((HWND)nullptr, cx - offsets[i], kButtonTop, kButtonSize, kButtonSize, flags);
        else
            buttons[i]->SetWindowPos((HWND)nullptr, cx + 10, 2, 0, 0, flags);
    }
}

void CFileListView::OnPaint()
{
    CPaintDC dc(this);
    if (!Preference.ShowPathBox)
        return;
    CRect client;
    GetClientRect(&client);
    RECT row = {0, 0, client.right, kPathRowHeight};
    ::FillRect(dc.m_hDC, &row, ::GetSysColorBrush(COLOR_BTNFACE));
}

void CFileListView::OnAddBookmark()
{
    m_pathBox.AddCurrentFolder();
    m_list.SetFocus();
}

void CFileListView::OnRemoveBookmark()
{
    if (m_pathBox.RemoveCurrentFolder())
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_UPDATE_PATHLABEL, 0, 0);
    m_list.SetFocus();
}

void CFileListView::OnEditBookmarks()
{
    if (m_host)
        m_host->EditBookmarks();
}

void CFileListView::OnPathBoxSelChange()
{
    int index = m_pathBox.GetCurSel();
    CString path;
    if (index >= 0)
        m_pathBox.GetLBText(index, path);
    bool shown = m_host && !path.IsEmpty() && m_host->GoToFolder(path);
    if (!shown)
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_UPDATE_PATHLABEL, 0, 0);
    m_list.SetFocus();
}

void CFileListView::UpdatePathLabel()
{
    m_pathBox.SetWindowText(m_list.GetCurrentFolderPath());
}

void CFileListView::ReloadPathBox()
{
    m_pathBox.Reload();
    UpdatePathLabel();
}

CString CFileListView::GetPathBoxText() const
{
    CString text;
    m_pathBox.GetWindowText(text);
    return text;
}

BOOL CFileListView::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    NMHDR* header = (NMHDR*)lParam;
    if (header && (header->code == TTN_NEEDTEXTA || header->code == TTN_NEEDTEXTW) &&
        OnToolTipText(header, result))
        return TRUE;
    return CWnd::OnNotify(wParam, lParam, result);
}

bool CFileListView::OnToolTipText(NMHDR* header, LRESULT* result)
{
    UINT_PTR id = header->idFrom;
    NMTTDISPINFOA* narrow = (NMTTDISPINFOA*)header;
    if (narrow->uFlags & TTF_IDISHWND)
        id = (UINT_PTR)::GetDlgCtrlID((HWND)id);
    UINT textId = 0;
    switch (id) {
    case kPathBoxId:
        textId = IDS_TIP_PATH_BOX;
        break;
    case kAddBookmarkId:
        textId = IDS_TIP_ADD_BOOKMARK;
        break;
    case kRemoveBookmarkId:
        textId = IDS_TIP_REMOVE_BOOKMARK;
        break;
    case kEditBookmarksId:
        textId = IDS_TIP_EDIT_BOOKMARKS;
        break;
    default:
        return false;
    }
    CString text = LoadResString(textId);
    if (header->code == TTN_NEEDTEXTA) {
        lstrcpynA(narrow->szText, text, kToolTipLength);
    } else {
        NMTTDISPINFOW* wide = (NMTTDISPINFOW*)header;
        wide->szText[0] = 0;
        MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, wide->szText, kToolTipLength);
        wide->szText[kToolTipLength - 1] = 0;
    }
    *result = 0;
    ::SetWindowPos(header->hwndFrom, HWND_TOP, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    return true;
}

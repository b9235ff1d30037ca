#include "browser/dialogs/edit_path_box_dlg.h"

#include "core/file_utils.h"
#include "resources/browser_dialogs_ids.h"

BEGIN_MESSAGE_MAP(CEditPathBoxDlg, CDialog)
    ON_BN_CLICKED(IDC_BOOKMARK_CLEAR, &CEditPathBoxDlg::OnClear)
    ON_BN_CLICKED(IDC_BOOKMARK_REMOVE_MISSING, &CEditPathBoxDlg::OnRemoveMissing)
    ON_BN_CLICKED(IDC_BOOKMARK_REMOVE_SELECTED, &CEditPathBoxDlg::OnRemoveSelected)
    ON_LBN_SELCHANGE(IDC_BOOKMARK_LIST, &CEditPathBoxDlg::OnSelectionChange)
END_MESSAGE_MAP()

CEditPathBoxDlg::CEditPathBoxDlg(CWnd* parent)
    : CDialog(IDD_EDIT_PATH_BOX, parent),
      m_modified(0)
{
}

BOOL CEditPathBoxDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_modified = 0;
    m_bookmarks.Load();
    FillList();
    SendDlgItemMessage(IDC_BOOKMARK_LIST, LB_SETCURSEL, 0);
    UpdateButtons();
    return TRUE;
}

void CEditPathBoxDlg::FillList()
{
    HWND list = ::GetDlgItem(m_hWnd, IDC_BOOKMARK_LIST);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    // Long paths scroll sideways instead of being cut off.
    HDC dc = ::GetDC(list);
    HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(list, WM_GETFONT, 0, 0)));
    LONG widest = 0;
    for (CPathItem* item = m_bookmarks.First(); item != NULL; item = m_bookmarks.Next()) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((LPCSTR)item->path));
        SIZE size = {0, 0};
        ::GetTextExtentPoint32A(dc, item->path, item->path.GetLength(), &size);
        if (size.cx > widest)
            widest = size.cx;
    }
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(list, dc);
    ::SendMessageA(list, LB_SETHORIZONTALEXTENT, widest + 4, 0);
}

void CEditPathBoxDlg::UpdateButtons()
{
    const bool selected = SendDlgItemMessage(IDC_BOOKMARK_LIST, LB_GETCURSEL) != LB_ERR;
    GetDlgItem(IDC_BOOKMARK_REMOVE_SELECTED)->EnableWindow(selected);
    GetDlgItem(IDC_BOOKMARK_REMOVE_MISSING)->EnableWindow(!m_bookmarks.IsEmpty());
    GetDlgItem(IDC_BOOKMARK_CLEAR)->EnableWindow(!m_bookmarks.IsEmpty());
    GetDlgItem(IDOK)->EnableWindow(m_modified != 0);
}

void CEditPathBoxDlg::OnSelectionChange()
{
    UpdateButtons();
}

void CEditPathBoxDlg::OnClear()
{
    if (AfxMessageBox("确定清除所有书签吗 ?", MB_YESNO) != IDYES)
        return;
    m_bookmarks.Clear();
    SendDlgItemMessage(IDC_BOOKMARK_LIST, LB_RESETCONTENT);
    m_modified = 1;
    UpdateButtons();
}

void CEditPathBoxDlg::OnRemoveMissing()
{
    bool removed = false;
    CPathItem* item = m_bookmarks.First();
    while (item != NULL) {
        if (DirectoryExists(item->path)) {
            item = m_bookmarks.Next();
            continue;
        }
        m_bookmarks.RemoveCurrent();
        item = m_bookmarks.Current();
        removed = true;
    }
    if (removed) {
        m_modified = 1;
        FillList();
        UpdateButtons();
    }
    AfxMessageBox("清理书签完成 !", MB_OK);
}

void CEditPathBoxDlg::OnRemoveSelected()
{
    const int line = static_cast<int>(SendDlgItemMessage(IDC_BOOKMARK_LIST, LB_GETCURSEL));
    if (line == LB_ERR)
        return;
    if (AfxMessageBox("确定要移出选择的文件夹吗 ?", MB_YESNO) != IDYES)
        return;
    CPathItem* item = m_bookmarks.First();
    for (int index = 0; item != NULL && index < line; ++index)
        item = m_bookmarks.Next();
    if (item != NULL)
        m_bookmarks.RemoveCurrent();
    SendDlgItemMessage(IDC_BOOKMARK_LIST, LB_DELETESTRING, line);
    m_modified = 1;
    const int lines = static_cast<int>(SendDlgItemMessage(IDC_BOOKMARK_LIST, LB_GETCOUNT));
    SendDlgItemMessage(IDC_BOOKMARK_LIST, LB_SETCURSEL, line < lines ? line : 0);
    UpdateButtons();
}

void CEditPathBoxDlg::OnOK()
{
    if (!m_bookmarks.Save()) {
        AfxMessageBox("不能保存书签 !", MB_OK);
        return;
    }
    HWND parent = m_pParentWnd != NULL ? m_pParentWnd->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    ::PostMessageA(parent, WM_BOOKMARKS_CHANGED, 0, 0);
    EndDialog(IDOK);
}

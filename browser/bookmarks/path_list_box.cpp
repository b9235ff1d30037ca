#include "browser/bookmarks/path_list_box.h"

IMPLEMENT_DYNAMIC(CPathListBox, CComboBox)

BEGIN_MESSAGE_MAP(CPathListBox, CComboBox)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CPathListBox::CPathListBox() : m_dropTarget(this)
{
}

int CPathListBox::OnCreate(LPCREATESTRUCT cs)
{
    int result = CComboBox::OnCreate(cs);
    if (result == -1)
        return result;
    m_paths.Load();
    FillFromList();
    SetCurSel(0);
    m_dropTarget.Register(this);
    SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(0, 0));
    SendMessage(WM_CLEAR);
    return result;
}

void CPathListBox::FillFromList()
{
    for (CPathItem* item = m_paths.First(); item; item = m_paths.Next())
        AddString(item->path);
}

void CPathListBox::Reload()
{
    m_paths.Load();
    ResetContent();
    FillFromList();
}

BOOL CPathListBox::PreTranslateMessage(MSG* msg)
{
    if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && msg->wParam == VK_RETURN) {
        if (CWnd* main = AfxGetMainWnd())
            main->PostMessage(WM_PATHBOX_ENTER, 0, 0);
        return TRUE;
    }
    return CComboBox::PreTranslateMessage(msg);
}

void CPathListBox::AddCurrentFolder()
{
    CString text;
    GetWindowText(text);
    if (m_paths.AddPath(text)) {
        AddString(text);
        m_paths.Save();
    }
}

bool CPathListBox::RemoveCurrentFolder()
{
    CString text;
    GetWindowText(text);
    if (!m_paths.FindPath(text))
        return false;
    m_paths.RemoveCurrent();
    m_paths.Save();
    ResetContent();
    FillFromList();
    SetCurSel(0);
    return true;
}

void CPathListBox::AddDroppedFolders(const std::vector<CString>& paths)
{
    bool added = false;
    for (const CString& path : paths) {
        DWORD attributes = ::GetFileAttributesA(path);
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (m_paths.AddPath(path)) {
            AddString(path);
            added = true;
        }
    }
    if (added)
        m_paths.Save();
}

#include "platform/zrui/search_paths.h"

#include <shlobj.h>

#include <algorithm>
#include <string>

#include "platform/zrio/zrio.h"
#include "platform/zrui/dialog_support.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

namespace {

const char kSearchPathsValue[] = "SearchPaths";
const char kSeparator = ';';

// The folders of the drawing library the dialog edits, as one text.
CString CurrentSearchPaths()
{
    int length = DWG_GetUserSearchDirectories(nullptr, 0);
    std::string paths((size_t)length + 1, '\0');
    DWG_GetUserSearchDirectories(&paths[0], length + 1);
    return CString(paths.c_str());
}

void StoreSearchPaths(const char* paths)
{
    HKEY key;
    if (!OpenLibraryKey(&key, true))
        return;
    RegSetValueExA(key, kSearchPathsValue, 0, REG_SZ, (const BYTE*)paths, lstrlenA(paths) + 1);
    RegCloseKey(key);
}

}  // namespace

void LoadSearchPaths(HKEY key)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, kSearchPathsValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ || size == 0)
        return;
    std::string paths(size + 1, '\0');
    if (RegQueryValueExA(key, kSearchPathsValue, nullptr, &type, (BYTE*)&paths[0], &size) == ERROR_SUCCESS)
        DWG_SetUserSearchDirectories(paths.c_str());
}

BEGIN_MESSAGE_MAP(CSearchPathDialog, CDialog)
ON_BN_CLICKED(IDC_ZRUI_SEARCH_ADD, &CSearchPathDialog::OnAdd)
ON_BN_CLICKED(IDC_ZRUI_SEARCH_BROWSE, &CSearchPathDialog::OnBrowse)
ON_BN_CLICKED(IDC_ZRUI_SEARCH_REMOVE, &CSearchPathDialog::OnRemove)
ON_BN_CLICKED(IDC_ZRUI_SEARCH_UP, &CSearchPathDialog::OnMoveUp)
ON_BN_CLICKED(IDC_ZRUI_SEARCH_DOWN, &CSearchPathDialog::OnMoveDown)
END_MESSAGE_MAP()

CSearchPathDialog::CSearchPathDialog(CWnd* parent) : CDialog(IDD_ZRUI_SEARCH_PATHS, parent) {}

BOOL CSearchPathDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.SubclassDlgItem(IDC_ZRUI_SEARCH_LIST, this);
    CString paths = CurrentSearchPaths();
    int start = 0;
    while (start <= paths.GetLength()) {
        int end = paths.Find(kSeparator, start);
        if (end < 0)
            end = paths.GetLength();
        CString folder = paths.Mid(start, end - start);
        folder.Trim();
        if (!folder.IsEmpty())
            m_list.AddString(folder);
        start = end + 1;
    }
    if (m_list.GetCount() > 0)
        m_list.SetCurSel(0);
    FitScrollWidth();
    return TRUE;
}

void CSearchPathDialog::FitScrollWidth()
{
    CClientDC dc(&m_list);
    HGDIOBJ previous = dc.SelectObject((HGDIOBJ)m_list.SendMessage(WM_GETFONT));
    int widest = 0;
    for (int index = 0; index < m_list.GetCount(); ++index) {
        CString folder;
        m_list.GetText(index, folder);
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, folder, folder.GetLength(), &size);
        widest = std::max(widest, (int)size.cx);
    }
    dc.SelectObject(previous);
    m_list.SendMessage(LB_SETHORIZONTALEXTENT, widest + 8);
}

void CSearchPathDialog::OnAdd()
{
    CString folder;
    GetDlgItemText(IDC_ZRUI_SEARCH_FOLDER, folder);
    folder.Trim();
    if (folder.IsEmpty())
        return;
    if (folder.Find(kSeparator) >= 0) {
        ShowDialogMessage(this, IDS_ZRUI_FOLDER_SEMICOLON);
        return;
    }
    DWORD attributes = ::GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ShowDialogMessage(this, IDS_ZRUI_FOLDER_MISSING, folder);
        return;
    }
    if (m_list.FindStringExact(-1, folder) >= 0) {
        ShowDialogMessage(this, IDS_ZRUI_FOLDER_LISTED);
        return;
    }
    m_list.SetCurSel(m_list.AddString(folder));
    SetDlgItemText(IDC_ZRUI_SEARCH_FOLDER, "");
    FitScrollWidth();
}

void CSearchPathDialog::OnBrowse()
{
    CString title = LibraryText(IDS_ZRUI_BROWSE_FOLDER);
    BROWSEINFOA browse = {};
    browse.hwndOwner = m_hWnd;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&browse);
    if (!chosen)
        return;
    char folder[MAX_PATH];
    if (SHGetPathFromIDListA(chosen, folder))
        SetDlgItemText(IDC_ZRUI_SEARCH_FOLDER, folder);
    CoTaskMemFree(chosen);
}

void CSearchPathDialog::OnRemove()
{
    int selected = m_list.GetCurSel();
    if (selected < 0)
        return;
    m_list.DeleteString(selected);
    int count = m_list.GetCount();
    if (count > 0)
        m_list.SetCurSel(selected < count ? selected : count - 1);
    FitScrollWidth();
}

void CSearchPathDialog::MoveSelection(int step)
{
    int selected = m_list.GetCurSel();
    int target = selected + step;
    if (selected < 0 || target < 0 || target >= m_list.GetCount())
        return;
    CString folder;
    m_list.GetText(selected, folder);
    m_list.DeleteString(selected);
    m_list.InsertString(target, folder);
    m_list.SetCurSel(target);
}

void CSearchPathDialog::OnMoveUp()
{
    MoveSelection(-1);
}

void CSearchPathDialog::OnMoveDown()
{
    MoveSelection(1);
}

void CSearchPathDialog::OnOK()
{
    CString paths;
    for (int index = 0; index < m_list.GetCount(); ++index) {
        CString folder;
        m_list.GetText(index, folder);
        if (index > 0)
            paths += kSeparator;
        paths += folder;
    }
    DWG_SetUserSearchDirectories(paths);
    StoreSearchPaths(paths);
    EndDialog(IDOK);
}

int showSearchManager(CWnd* parent)
{
    CSearchPathDialog dialog(parent);
    return dialog.DoModal() == IDOK ? 1 : 0;
}

}  // namespace ZrUI

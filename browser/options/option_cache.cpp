#include "browser/options/option_cache.h"

#include <stdint.h>

#include "core/file_utils.h"
#include "core/folder_dialog.h"
#include "core/preference.h"
#include "core/res_string.h"
#include "core/size_text.h"
#include "drawing/library/lib_index_tree.h"
#include "resources/browser_dialogs_ids.h"
#include "resources/browser_options_ids.h"

IMPLEMENT_DYNCREATE(COptionCache, CPropertyPage)

BEGIN_MESSAGE_MAP(COptionCache, CPropertyPage)
    ON_BN_CLICKED(IDC_OPTION_CACHE_ENABLED, &COptionCache::OnEnabledClicked)
    ON_BN_CLICKED(IDC_OPTION_CACHE_IN_BROWSED, &COptionCache::OnPlaceClicked)
    ON_BN_CLICKED(IDC_OPTION_CACHE_IN_FOLDER, &COptionCache::OnPlaceClicked)
    ON_BN_CLICKED(IDC_OPTION_CACHE_DEFAULT, &COptionCache::OnDefault)
    ON_BN_CLICKED(IDC_OPTION_CACHE_FOLDER_PICK, &COptionCache::OnPickFolder)
    ON_BN_CLICKED(IDC_OPTION_CACHE_CLEAN, &COptionCache::OnDeleteInvalidData)
END_MESSAGE_MAP()

namespace {

const int kFolderMaxChars = 256;
const char kPickFolderTitle[] = "选择缓存数据库路径";

// Disabled while the cache is off.
const int kCacheControls[] = {IDC_OPTION_CACHE_FOLDER,      IDC_OPTION_CACHE_PLACE_GROUP,
                              IDC_OPTION_CACHE_IN_BROWSED,  IDC_OPTION_CACHE_IN_FOLDER,
                              IDC_OPTION_CACHE_FOLDER_LABEL, IDC_OPTION_CACHE_FOLDER_PICK};

}  // namespace

COptionCache::COptionCache()
    : CPropertyPage(IDD_OPTION_CACHE), m_changed(0), m_readFromBrowsedFirst(0), m_enabled(0)
{
}

void COptionCache::DoDataExchange(CDataExchange* exchange)
{
    DDX_Text(exchange, IDC_OPTION_CACHE_FOLDER, m_folder);
    DDX_Check(exchange, IDC_OPTION_CACHE_READ_BROWSED, m_readFromBrowsedFirst);
    DDX_Check(exchange, IDC_OPTION_CACHE_ENABLED, m_enabled);
}

BOOL COptionCache::OnInitDialog()
{
    m_changed = 0;
    CheckRadioButton(IDC_OPTION_CACHE_IN_BROWSED, IDC_OPTION_CACHE_IN_FOLDER,
                     Preference.GetSaveInBrowserFolderFirst() ? IDC_OPTION_CACHE_IN_BROWSED
                                                              : IDC_OPTION_CACHE_IN_FOLDER);
    m_readFromBrowsedFirst = Preference.GetReadFromBrowserFolderFirst() ? 1 : 0;
    m_folder = Preference.GetLibIndexPath();
    m_enabled = Preference.IsImageCacheEnabled() ? 1 : 0;
    SendDlgItemMessage(IDC_OPTION_CACHE_FOLDER, EM_LIMITTEXT, kFolderMaxChars);
    BOOL result = CPropertyPage::OnInitDialog();
    EnableControls();
    return result;
}

// With the cache off its controls are disabled; with it on, reading from
// the browsed folder first matters only while everything is kept in the
// cache folder.
void COptionCache::EnableControls()
{
    BOOL enabled = IsDlgButtonChecked(IDC_OPTION_CACHE_ENABLED) == BST_CHECKED;
    for (int id : kCacheControls)
        ::EnableWindow(::GetDlgItem(m_hWnd, id), enabled);
    OnPlaceClicked();
}

void COptionCache::OnPlaceClicked()
{
    BOOL enabled = IsDlgButtonChecked(IDC_OPTION_CACHE_ENABLED) == BST_CHECKED &&
                   IsDlgButtonChecked(IDC_OPTION_CACHE_IN_FOLDER) == BST_CHECKED;
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_OPTION_CACHE_READ_BROWSED), enabled);
}

void COptionCache::OnEnabledClicked()
{
    EnableControls();
}

void COptionCache::OnDefault()
{
    UpdateData(TRUE);
    m_enabled = 1;
    m_readFromBrowsedFirst = 1;
    CheckRadioButton(IDC_OPTION_CACHE_IN_BROWSED, IDC_OPTION_CACHE_IN_FOLDER, IDC_OPTION_CACHE_IN_BROWSED);
    UpdateData(FALSE);
    EnableControls();
}

void COptionCache::OnPickFolder()
{
    UpdateData(TRUE);
    CString folder = m_folder;
    if (BrowseForFolder(m_hWnd, kPickFolderTitle, folder)) {
        m_folder = folder;
        UpdateData(FALSE);
    }
}

void COptionCache::SelectFolderText()
{
    CWnd* edit = GetDlgItem(IDC_OPTION_CACHE_FOLDER);
    edit->SetFocus();
    edit->SendMessage(EM_SETSEL, 0, kFolderMaxChars);
    edit->SendMessage(EM_SCROLLCARET);
}

// An empty folder is refused outright: it names no folder of its own, and
// with the backslash the cache adds it would be the current drive's root.
bool COptionCache::EnsureFolderExists()
{
    if (!m_folder.IsEmpty() && DirectoryExists(m_folder))
        return true;
    if (!m_folder.IsEmpty()) {
        CString question = m_folder + "\n--------------\n" + LoadResString(IDS_CREATE_MISSING_FOLDER);
        if (AfxMessageBox(question, MB_OKCANCEL) != IDOK) {
            SelectFolderText();
            return false;
        }
        if (CreateDirectories(m_folder))
            return true;
    }
    AfxMessageBox(LoadResString(IDS_CANNOT_CREATE_FOLDER), MB_OK);
    SelectFolderText();
    return false;
}

BOOL COptionCache::OnKillActive()
{
    if (!CPropertyPage::OnKillActive())
        return FALSE;
    return EnsureFolderExists();
}

BOOL COptionCache::OnApply()
{
    UpdateData(TRUE);
    m_changed = 0;
    bool enabled = m_enabled != 0;
    if (Preference.IsImageCacheEnabled() != enabled) {
        Preference.SetImageCacheEnabled(enabled);
        m_changed = 1;
    }
    if (m_folder.CompareNoCase(Preference.GetLibIndexPath()) != 0) {
        Preference.SetLibIndexPath(m_folder);
        m_changed = 1;
    }
    bool readFirst = m_readFromBrowsedFirst != 0;
    if (Preference.GetReadFromBrowserFolderFirst() != readFirst) {
        Preference.SetReadFromBrowserFolderFirst(readFirst);
        m_changed = 1;
    }
    bool saveInBrowsed = IsDlgButtonChecked(IDC_OPTION_CACHE_IN_BROWSED) == BST_CHECKED;
    if (Preference.GetSaveInBrowserFolderFirst() != saveInBrowsed) {
        Preference.SetSaveInBrowserFolderFirst(saveInBrowsed);
        m_changed = 1;
    }
    return TRUE;
}

void COptionCache::OnDeleteInvalidData()
{
    TLibIndexTree* tree = GetLibIndexTree();
    if (!tree)
        return;
    HCURSOR oldCursor = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    int64_t total = 0;
    tree->DeleteInvalidLibs();
    for (int i = 0; i < tree->GetRecordCount(); ++i) {
        CString folder;
        CString library;
        if (!tree->GetRecord(i, folder, library) || DirectoryExists(folder))
            continue;
        // Removing the record deletes its library file; the records after
        // it move up one place.
        int64_t size = (int64_t)GetFileSizeByName(library);
        int before = tree->GetRecordCount();
        tree->RemoveLib(folder);
        if (tree->GetRecordCount() < before) {
            total += size;
            --i;
        }
    }
    CString size;
    FormatFileSize(total, size);
    AfxMessageBox(tree->GetPath() + "\n------------------------------------------\n\n\nDelete invalid cache data : " +
                  size);
    ::SetCursor(oldCursor);
}

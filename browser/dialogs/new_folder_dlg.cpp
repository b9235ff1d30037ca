#include "browser/dialogs/new_folder_dlg.h"

#include <string.h>

#include "core/file_utils.h"
#include "resources/browser_dialogs_ids.h"

namespace {

const int kMaxSuggestions = 1000;
const char kRefusedCharacters[] = "\\/:*?\"<>|";

}  // namespace

CString SuggestNewFolderName(const CString& parentFolder, LPCSTR baseName)
{
    for (int number = 0; number < kMaxSuggestions; ++number) {
        CString candidate;
        if (number == 0)
            candidate.Format("%s%s", (LPCSTR)parentFolder, baseName);
        else
            candidate.Format("%s%s (%d)", (LPCSTR)parentFolder, baseName, number);
        if (DirectoryExists(candidate))
            continue;
        CString name;
        if (number == 0)
            name = baseName;
        else
            name.Format("%s (%d)", baseName, number);
        return name;
    }
    return CString();
}

bool IsPlainFolderName(const CString& name)
{
    const int length = name.GetLength();
    if (length == 0 || name == "." || name == "..")
        return false;
    // Lead bytes of double-byte characters are skipped together with their
    // trail byte, which may be any of the refused characters' codes.
    for (int index = 0; index < length; ++index) {
        const BYTE character = static_cast<BYTE>(name[index]);
        if (::IsDBCSLeadByte(character) && index + 1 < length) {
            ++index;
            continue;
        }
        if (character < 0x20 || strchr(kRefusedCharacters, character) != NULL)
            return false;
    }
    const char last = name[length - 1];
    return last != '.' && last != ' ';
}

CNewFolderDlg::CNewFolderDlg(LPCSTR parentFolder, LPCSTR baseName, CWnd* parent)
    : CDialog(IDD_NEW_FOLDER, parent),
      m_parentFolder(AddTrailingBackslash(parentFolder))
{
    m_folderName = SuggestNewFolderName(m_parentFolder, baseName);
}

BOOL CNewFolderDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendDlgItemMessage(IDC_NEW_FOLDER_NAME, EM_LIMITTEXT, kMaxNameLength);
    SetDlgItemText(IDC_NEW_FOLDER_NAME, m_folderName);
    return TRUE;
}

void CNewFolderDlg::OnOK()
{
    GetDlgItemText(IDC_NEW_FOLDER_NAME, m_folderName);
    // The name must make a new folder inside the parent and nowhere else.
    CString path = m_parentFolder + m_folderName;
    if (IsPlainFolderName(m_folderName) && !DirectoryExists(path) && !FileExists(path) &&
        CreateDirectories(path)) {
        EndDialog(IDOK);
        return;
    }
    AfxMessageBox("Cann't create folder: \n   " + m_folderName, MB_OK);
}

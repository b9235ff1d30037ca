#include "browser/dialogs/save_thumbnail_dlg.h"

#include "core/folder_dialog.h"
#include "resources/browser_dialogs_ids.h"

BEGIN_MESSAGE_MAP(CSaveThumbnailDlg, CDialog)
    ON_BN_CLICKED(IDC_THUMBNAIL_BROWSE, &CSaveThumbnailDlg::OnBrowseFolder)
END_MESSAGE_MAP()

CSaveThumbnailDlg::CSaveThumbnailDlg(LPCSTR folder, CWnd* parent)
    : CDialog(IDD_SAVE_THUMBNAIL, parent)
{
    m_options.folder = folder;
}

BOOL CSaveThumbnailDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_THUMBNAIL_FOLDER, m_options.folder);
    if (m_options.format == ThumbnailFileBmp)
        CheckDlgButton(IDC_THUMBNAIL_BMP, BST_CHECKED);
    else if (m_options.format == ThumbnailFileJpeg)
        CheckDlgButton(IDC_THUMBNAIL_JPEG, BST_CHECKED);
    else if (m_options.format == ThumbnailFileGif)
        CheckDlgButton(IDC_THUMBNAIL_GIF, BST_CHECKED);
    CheckDlgButton(m_options.allRows ? IDC_THUMBNAIL_ALL : IDC_THUMBNAIL_SELECTED, BST_CHECKED);
    if (m_options.existingFiles == ExistingFileOverwrite)
        CheckDlgButton(IDC_THUMBNAIL_OVERWRITE, BST_CHECKED);
    else if (m_options.existingFiles == ExistingFileNumberedName)
        CheckDlgButton(IDC_THUMBNAIL_NEW_NAME, BST_CHECKED);
    else if (m_options.existingFiles == ExistingFileAsk)
        CheckDlgButton(IDC_THUMBNAIL_ASK, BST_CHECKED);
    return TRUE;
}

void CSaveThumbnailDlg::OnBrowseFolder()
{
    CString title;
    title.LoadString(IDS_SAVE_THUMBNAIL_FOLDER_TITLE);
    CString folder;
    GetDlgItemText(IDC_THUMBNAIL_FOLDER, folder);
    if (BrowseForFolder(m_hWnd, title, folder))
        SetDlgItemText(IDC_THUMBNAIL_FOLDER, folder);
}

void CSaveThumbnailDlg::OnOK()
{
    GetDlgItemText(IDC_THUMBNAIL_FOLDER, m_folderText);
    m_options.folder = m_folderText;
    if (IsDlgButtonChecked(IDC_THUMBNAIL_BMP))
        m_options.format = ThumbnailFileBmp;
    else if (IsDlgButtonChecked(IDC_THUMBNAIL_JPEG))
        m_options.format = ThumbnailFileJpeg;
    else if (IsDlgButtonChecked(IDC_THUMBNAIL_GIF))
        m_options.format = ThumbnailFileGif;
    m_options.allRows = IsDlgButtonChecked(IDC_THUMBNAIL_ALL) ? 1 : 0;
    if (IsDlgButtonChecked(IDC_THUMBNAIL_OVERWRITE))
        m_options.existingFiles = ExistingFileOverwrite;
    else if (IsDlgButtonChecked(IDC_THUMBNAIL_NEW_NAME))
        m_options.existingFiles = ExistingFileNumberedName;
    else if (IsDlgButtonChecked(IDC_THUMBNAIL_ASK))
        m_options.existingFiles = ExistingFileAsk;
    EndDialog(IDOK);
}

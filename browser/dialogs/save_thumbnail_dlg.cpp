#include "browser/dialogs/save_thumbnail_dlg.h"

#include "core/folder_dialog.h"
#include "resources/browser_dialogs_ids.h"

namespace {

// A radio button and the value it stands for.
struct RadioValue {
    int id;
    int32_t value;
};

const RadioValue kFormatRadios[] = {
    {IDC_THUMBNAIL_BMP, ThumbnailFileBmp},
    {IDC_THUMBNAIL_JPEG, ThumbnailFileJpeg},
    {IDC_THUMBNAIL_GIF, ThumbnailFileGif},
};

const RadioValue kExistingFileRadios[] = {
    {IDC_THUMBNAIL_OVERWRITE, ExistingFileOverwrite},
    {IDC_THUMBNAIL_NEW_NAME, ExistingFileNumberedName},
    {IDC_THUMBNAIL_ASK, ExistingFileAsk},
};

template <size_t count>
void CheckRadioOf(CDialog& dialog, const RadioValue (&radios)[count], int32_t value)
{
    for (const RadioValue& radio : radios) {
        if (radio.value == value)
            dialog.CheckDlgButton(radio.id, BST_CHECKED);
    }
}

// The value of the checked radio, or the old value when none is checked.
template <size_t count>
int32_t CheckedValueOf(const CDialog& dialog, const RadioValue (&radios)[count], int32_t oldValue)
{
    for (const RadioValue& radio : radios) {
        if (dialog.IsDlgButtonChecked(radio.id))
            return radio.value;
    }
    return oldValue;
}

}  // namespace

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
    CheckRadioOf(*this, kFormatRadios, m_options.format);
    CheckDlgButton(m_options.allRows ? IDC_THUMBNAIL_ALL : IDC_THUMBNAIL_SELECTED, BST_CHECKED);
    CheckRadioOf(*this, kExistingFileRadios, m_options.existingFiles);
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
    m_options.format = CheckedValueOf(*this, kFormatRadios, m_options.format);
    m_options.allRows = IsDlgButtonChecked(IDC_THUMBNAIL_ALL) ? 1 : 0;
    m_options.existingFiles = CheckedValueOf(*this, kExistingFileRadios, m_options.existingFiles);
    EndDialog(IDOK);
}

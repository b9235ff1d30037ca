#include "browser/options/option_browse.h"

#include "core/file_types.h"
#include "core/preference.h"
#include "resources/browser_options_ids.h"

IMPLEMENT_DYNCREATE(COptionBrowse, CPropertyPage)

BEGIN_MESSAGE_MAP(COptionBrowse, CPropertyPage)
    ON_BN_CLICKED(IDC_OPTION_BROWSE_DEFAULT, &COptionBrowse::OnDefault)
END_MESSAGE_MAP()

namespace {

struct BrowseCheck {
    int controlId;
    BYTE CPreference::*setting;
    // The value the default button shows; -1 leaves the box as it is.
    int defaultValue;
};

// The last one is the file-type filter, which OK handles on its own.
const BrowseCheck kBrowseChecks[COptionBrowse::kCheckCount] = {
    {IDC_OPTION_SHOW_PATH_BOX, &CPreference::ShowPathBox, 1},
    {IDC_OPTION_SHOW_TOOLBAR, &CPreference::ShowToolBar, 1},
    {IDC_OPTION_SHOW_STATUS, &CPreference::ShowStatus, 1},
    {IDC_OPTION_SHOW_FULL_PATH, &CPreference::ShowFullPath, 1},
    {IDC_OPTION_SHOW_NON_DRAWING, &CPreference::ShowNoneDrawingFile, 1},
    {IDC_OPTION_THUMB_FROM_DRAWING, &CPreference::ReadBitmapFromDwg, 0},
    {IDC_OPTION_THUMB_FROM_RASTER, &CPreference::ReadBitmapFromRaster, 1},
    {IDC_OPTION_PREVIOUS_FOLDER, &CPreference::StartPreviousFolder, 1},
    {IDC_OPTION_DOUBLE_CLICK_OPEN, &CPreference::DBClickOpenByQuorvantix, 1},
    {IDC_OPTION_ONLY_SUPPORTED, &CPreference::OnlyShowDrawing, -1},
};
const int kFilterCheck = COptionBrowse::kCheckCount - 1;

// The sort radios in the order of the sort types: name, size, type, date.
const int kSortRadios[] = {IDC_OPTION_SORT_NAME, IDC_OPTION_SORT_SIZE, IDC_OPTION_SORT_TYPE,
                           IDC_OPTION_SORT_DATE};
const int kSortRadioCount = sizeof(kSortRadios) / sizeof(kSortRadios[0]);

void StoreIfDifferent(BYTE& stored, int value, BYTE& changed)
{
    BYTE wanted = value != 0 ? 1 : 0;
    if (stored != wanted) {
        stored = wanted;
        changed = 1;
    }
}

}  // namespace

COptionBrowse::COptionBrowse() : CPropertyPage(IDD_OPTION_BROWSE), m_changed(0), m_filterChanged(0)
{
    for (int i = 0; i < kCheckCount; ++i)
        m_checks[i] = i == kFilterCheck ? 0 : 1;
}

void COptionBrowse::DoDataExchange(CDataExchange* exchange)
{
    for (int i = 0; i < kCheckCount; ++i)
        DDX_Check(exchange, kBrowseChecks[i].controlId, m_checks[i]);
}

BOOL COptionBrowse::OnInitDialog()
{
    for (int i = 0; i < kCheckCount; ++i)
        m_checks[i] = Preference.*kBrowseChecks[i].setting != 0 ? 1 : 0;
    int sortType = Preference.SortType;
    if (sortType >= 0 && sortType < kSortRadioCount)
        CheckRadioButton(kSortRadios[0], kSortRadios[kSortRadioCount - 1], kSortRadios[sortType]);
    CheckRadioButton(IDC_OPTION_SORT_ASCENDING, IDC_OPTION_SORT_DESCENDING,
                     Preference.SortDir ? IDC_OPTION_SORT_ASCENDING : IDC_OPTION_SORT_DESCENDING);
    m_changed = 0;
    m_filterChanged = 0;
    return CPropertyPage::OnInitDialog();
}

void COptionBrowse::OnDefault()
{
    UpdateData(TRUE);
    for (int i = 0; i < kCheckCount; ++i) {
        if (kBrowseChecks[i].defaultValue >= 0)
            m_checks[i] = kBrowseChecks[i].defaultValue;
    }
    CheckRadioButton(kSortRadios[0], kSortRadios[kSortRadioCount - 1], IDC_OPTION_SORT_NAME);
    CheckRadioButton(IDC_OPTION_SORT_ASCENDING, IDC_OPTION_SORT_DESCENDING, IDC_OPTION_SORT_ASCENDING);
    UpdateData(FALSE);
}

int COptionBrowse::CheckedSortType() const
{
    for (int type = 0; type < kSortRadioCount; ++type) {
        if (IsDlgButtonChecked(kSortRadios[type]) == BST_CHECKED)
            return type;
    }
    return 0;
}

BOOL COptionBrowse::OnApply()
{
    UpdateData(TRUE);
    for (int i = 0; i < kFilterCheck; ++i)
        StoreIfDifferent(Preference.*kBrowseChecks[i].setting, m_checks[i], m_changed);

    BYTE filterChanged = 0;
    StoreIfDifferent(Preference.OnlyShowDrawing, m_checks[kFilterCheck], filterChanged);
    if (filterChanged) {
        DrawingFileType.Build(Preference.OnlyShowDrawing != 0);
        m_changed = 1;
        m_filterChanged = 1;
    }

    int sortType = CheckedSortType();
    if (sortType != Preference.SortType) {
        Preference.SetSortType(sortType);
        m_changed = 1;
    }
    StoreIfDifferent(Preference.SortDir, IsDlgButtonChecked(IDC_OPTION_SORT_ASCENDING) == BST_CHECKED,
                     m_changed);
    return TRUE;
}

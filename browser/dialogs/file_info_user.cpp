#include "browser/dialogs/file_info_user.h"

#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CFileInfoUser, CPropertyPage)

namespace {

const int kNameIds[CFileInfoUser::kRows] = {
    IDC_USER_NAME_1, IDC_USER_NAME_2, IDC_USER_NAME_3, IDC_USER_NAME_4, IDC_USER_NAME_5,
    IDC_USER_NAME_6, IDC_USER_NAME_7, IDC_USER_NAME_8, IDC_USER_NAME_9, IDC_USER_NAME_10};
const int kValueIds[CFileInfoUser::kRows] = {
    IDC_USER_VALUE_1, IDC_USER_VALUE_2, IDC_USER_VALUE_3, IDC_USER_VALUE_4, IDC_USER_VALUE_5,
    IDC_USER_VALUE_6, IDC_USER_VALUE_7, IDC_USER_VALUE_8, IDC_USER_VALUE_9, IDC_USER_VALUE_10};

}  // namespace

CFileInfoUser::CFileInfoUser(const char* path, const DRAWINGINFO* drawingInfo)
    : CFileInfoPage(IDD_FILE_INFO_USER, path, drawingInfo)
{
}

BOOL CFileInfoUser::OnInitDialog()
{
    // Properties come as "name=value"; one without a name of at least two
    // characters ends the list.
    int count = m_drawingInfo != nullptr ? m_drawingInfo->customCount : 0;
    for (int i = 0; i < count && i < kRows && i < DRAWINGINFO::kMaxCustom; ++i) {
        const CString& property = m_drawingInfo->custom[i];
        int equals = property.Find('=');
        if (equals < 2)
            break;
        m_names[i] = property.Left(equals);
        m_names[i].Trim();
        m_values[i] = property.Mid(equals + 1);
        m_values[i].Trim();
    }
    return CFileInfoPage::OnInitDialog();
}

void CFileInfoUser::DoDataExchange(CDataExchange* exchange)
{
    CFileInfoPage::DoDataExchange(exchange);
    for (int i = 0; i < kRows; ++i) {
        DDX_Text(exchange, kNameIds[i], m_names[i]);
        DDX_Text(exchange, kValueIds[i], m_values[i]);
    }
}

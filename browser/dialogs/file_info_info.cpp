#include "browser/dialogs/file_info_info.h"

#include "core/locale_info.h"
#include "resources/resource.h"

IMPLEMENT_DYNCREATE(CFileInfoInfo, CPropertyPage)

CFileInfoInfo::CFileInfoInfo(const char* path, const DRAWINGINFO* drawingInfo)
    : CFileInfoPage(IDD_FILE_INFO_INFO, path, drawingInfo)
{
}

COleDateTime CFileInfoInfo::ToLocalDateTime(int64_t seconds)
{
    SYSTEMTIME local;
    if (CTime((LONGLONG)seconds).GetAsSystemTime(local) && CTime(local).GetTime() == seconds)
        return COleDateTime(local);
    COleDateTime invalid;
    invalid.SetStatus(COleDateTime::invalid);
    return invalid;
}

CString CFileInfoInfo::EditingTimeText(int hours, int minutes)
{
    CString text;
    if (hours >= 1)
        text.Format("%d 小时, ", hours);
    CString minutesText;
    minutesText.Format("%d 分钟", minutes);
    return text + minutesText;
}

BOOL CFileInfoInfo::OnInitDialog()
{
    if (m_drawingInfo != nullptr) {
        const CLocaleInfo& locale = CLocaleInfo::Instance();
        m_created = locale.FormatDateTime(ToLocalDateTime(m_drawingInfo->created.GetTime()));
        m_updated = locale.FormatDateTime(ToLocalDateTime(m_drawingInfo->modified.GetTime()));
        m_lastSavedBy = m_drawingInfo->property6;
        m_editingTime = EditingTimeText(m_drawingInfo->editingHours, m_drawingInfo->editingMinutes);
    }
    return CFileInfoPage::OnInitDialog();
}

void CFileInfoInfo::DoDataExchange(CDataExchange* exchange)
{
    CFileInfoPage::DoDataExchange(exchange);
    DDX_Text(exchange, IDC_INFO_CREATED, m_created);
    DDX_Text(exchange, IDC_INFO_UPDATED, m_updated);
    DDX_Text(exchange, IDC_INFO_LAST_SAVED_BY, m_lastSavedBy);
    DDX_Text(exchange, IDC_INFO_EDITING_TIME, m_editingTime);
}

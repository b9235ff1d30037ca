#include "browser/dialogs/file_info_page.h"

#include "browser/dialogs/file_info_basic.h"
#include "browser/dialogs/file_info_info.h"
#include "browser/dialogs/file_info_summary.h"
#include "browser/dialogs/file_info_user.h"
#include "core/file_name.h"

CFileInfoPage::CFileInfoPage(UINT templateId, const char* path, const DRAWINGINFO* drawingInfo)
    : CPropertyPage(templateId), m_path(path), m_drawingInfo(drawingInfo)
{
}

bool ShowFileProperties(const char* path, const DRAWINGINFO* drawingInfo)
{
    CFileName fileName(path);
    CString title = fileName.GetFileName() + " Properties";
    CFileInfoBasic basic(path, drawingInfo);
    CFileInfoInfo info(path, drawingInfo);
    CFileInfoSummary summary(path, drawingInfo);
    CFileInfoUser user(path, drawingInfo);
    CPropertySheet sheet(title);
    sheet.m_sheetFlags = PSH_NOAPPLYNOW;  // nothing to apply: the pages only display
    sheet.AddPage(&basic);
    sheet.AddPage(&info);
    sheet.AddPage(&summary);
    sheet.AddPage(&user);
    return sheet.DoModal() == IDOK;
}

#include "browser/options/option.h"

#include "browser/options/option_associate.h"
#include "browser/options/option_browse.h"
#include "browser/options/option_cache.h"
#include "browser/options/option_drawing.h"
#include "browser/options/option_thumbnail.h"
#include "core/preference.h"
#include "platform/classlib/classlib.h"
#include "views/common/view_messages.h"

namespace {

const char kSheetCaption[] = "选项设置";

void TellMainWindow(UINT message, LPARAM lParam)
{
    CWnd* main = AfxGetMainWnd();
    if (main && main->GetSafeHwnd())
        main->SendMessage(message, 0, lParam);
}

}  // namespace

bool COption::ShowOptionSheet()
{
    COptionBrowse browse;
    COptionDrawing drawing;
    COptionCache cache;
    COptionThumbnail thumbnail;
    COptionAssociate associate;

    CPropertySheet sheet(kSheetCaption);
    // Values are stored only when the sheet ends with OK.
    sheet.m_sheetFlags = PSH_NOAPPLYNOW;
    sheet.AddPage(&browse);
    sheet.AddPage(&drawing);
    sheet.AddPage(&cache);
    sheet.AddPage(&thumbnail);
    sheet.AddPage(&associate);
    if (sheet.DoModal() != IDOK)
        return false;

    Preference.FinalAllParameters();
    if (browse.m_changed)
        TellMainWindow(WM_PREFS_CHANGED, browse.m_filterChanged ? 1 : 0);
    if (thumbnail.m_changed)
        TellMainWindow(WM_THUMB_LOOK_CHANGED, 0);
    if (cache.m_changed)
        TellMainWindow(WM_OPTIONS_APPLIED, 0);
    if (drawing.m_regenerate)
        TellMainWindow(WM_REGEN_ALL, 0);
    return true;
}

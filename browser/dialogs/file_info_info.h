// CFileInfoInfo: the drawing's own dates, its last editor and its total
// editing time.
#pragma once
#include <stdint.h>

#include "browser/dialogs/file_info_page.h"

class CFileInfoInfo : public CFileInfoPage {
    DECLARE_DYNCREATE(CFileInfoInfo)
public:
    CFileInfoInfo(const char* path = "", const DRAWINGINFO* drawingInfo = nullptr);

    // The local date and time of a time in seconds since 1970; invalid
    // when it has none or does not convert back to the same time.
    static COleDateTime ToLocalDateTime(int64_t seconds);
    // "2 小时, 5 分钟"; the hours only when there is at least one.
    static CString EditingTimeText(int hours, int minutes);

    CString m_created;
    CString m_updated;
    CString m_lastSavedBy;
    CString m_editingTime;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
};

// CFileInfoUser: the drawing's custom properties as up to ten rows of name
// and value.
#pragma once
#include "browser/dialogs/file_info_page.h"

class CFileInfoUser : public CFileInfoPage {
    DECLARE_DYNCREATE(CFileInfoUser)
public:
    enum { kRows = 10 };
    CFileInfoUser(const char* path = "", const DRAWINGINFO* drawingInfo = nullptr);

    CString m_names[kRows];
    CString m_values[kRows];

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
};

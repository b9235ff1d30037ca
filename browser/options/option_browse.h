// COptionBrowse: the options sheet's page "浏览参数": what the browse frame
// shows, where thumbnails come from, and the file list's order.
#pragma once
#include <windows.h>

#include "platform/classlib/classlib.h"

class COptionBrowse : public CPropertyPage {
    DECLARE_DYNCREATE(COptionBrowse)
public:
    // The check values in the order of kBrowseChecks (option_browse.cpp).
    static const int kCheckCount = 10;

    COptionBrowse();

    // Set by OK when a setting changed; filter-changed when the file-type
    // filter did.
    BYTE m_changed;
    BYTE m_filterChanged;
    int m_checks[kCheckCount];

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnApply() override;

    // Shows the defaults; nothing is stored until OK.
    afx_msg void OnDefault();
    DECLARE_MESSAGE_MAP()

private:
    int CheckedSortType() const;
};

// CSaveThumbnailDlg: asks where and how the file list's thumbnails are
// written as picture files.
#pragma once
#include "browser/dialogs/thumbnail_save_options.h"
#include "platform/classlib/classlib.h"

class CSaveThumbnailDlg : public CDialog {
public:
    // The options start at their defaults with the given folder.
    CSaveThumbnailDlg(LPCSTR folder, CWnd* parent = NULL);

    // After OK: what the user chose.
    ThumbnailSaveOptions m_options;
    // The folder edit's text.
    CString m_folderText;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnBrowseFolder();
    DECLARE_MESSAGE_MAP()
};

// COptionCache: the options sheet's page "缓存": the thumbnail cache switch,
// where the cache libraries are kept and read, the cache folder, and the
// removal of cache data whose folder is gone.
#pragma once
#include <windows.h>

#include "platform/classlib/classlib.h"

class COptionCache : public CPropertyPage {
    DECLARE_DYNCREATE(COptionCache)
public:
    COptionCache();

    // Set by OK when a setting changed.
    BYTE m_changed;
    CString m_folder;
    int m_readFromBrowsedFirst;
    int m_enabled;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* exchange) override;
    // The cache folder must exist (or be created on the user's word)
    // before the page may be left.
    BOOL OnKillActive() override;
    BOOL OnApply() override;

    afx_msg void OnEnabledClicked();
    afx_msg void OnPlaceClicked();
    afx_msg void OnDefault();
    afx_msg void OnPickFolder();
    // Deletes the cache libraries of folders that no longer exist, now.
    afx_msg void OnDeleteInvalidData();
    DECLARE_MESSAGE_MAP()

private:
    void EnableControls();
    bool EnsureFolderExists();
    void SelectFolderText();
};

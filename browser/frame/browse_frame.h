// The browse-mode frame: the folder browser with its preview pane.
#pragma once
#include "browser/filelist/ie_shell_list_ctrl.h"
#include "platform/classlib/classlib.h"
#include "views/preview/preview_pane.h"

class CBrowseFrame : public CFrameWnd {
public:
    CBrowseFrame();

    // The first time: shows the frame and fills it; later ShowWindow.
    void ActivateBrowseMode(int showCommand);
    // The folder the tree opens when the frame is shown.
    void SetStartFolder(const char* folder);
    CString GetStartFolder() const { return m_startFolder; }

    // True while the thumbnail task thread exists and is idle.
    bool IsTaskThreadAlive() const;

    CPreView* GetPreview() { return &m_preview; }
    bool IsPreviewBarVisible() const;
    CIEShellListCtrl* GetFileList() { return &m_fileList; }

    // The file that the list selects when the frame is shown again.
    CString m_rememberedItemPath;
    // Set when the list is to make its thumbnails anew at the next show.
    BYTE m_refreshThumbnails;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnClose();
    DECLARE_MESSAGE_MAP()

private:
    CPreView m_preview;
    CIEShellListCtrl m_fileList;
    CString m_startFolder;
    bool m_shownBefore;
};

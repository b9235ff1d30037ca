// The folder browser's side of the drawing views: what view mode asks of
// the file list and the folder tree of the browse frame. The frame
// registers it while it lives.
#pragma once
#include "views/common/view_browser.h"

class CBrowseFrame;

class CBrowseViewSide : public IViewBrowser {
public:
    explicit CBrowseViewSide(CBrowseFrame* frame) : m_frame(frame) {}

    bool GetSelectedFile(CString& path, int& kind) override;
    bool HasNextDrawing() override;
    bool HasPreviousDrawing() override;
    bool SelectNextDrawing(CString& path, int& kind) override;
    bool SelectPreviousDrawing(CString& path, int& kind) override;
    BOOL OnDeviceChange(UINT event, DWORD_PTR data) override;
    void ShowFileProperties(const char* path, const DRAWINGINFO& info) override;
    bool ShowExif(const char* path) override;
    void RegenerateSelectedThumbnails() override;

private:
    CBrowseFrame* m_frame;
};

// What the drawing views need of the folder browser, which lies above
// them: the browser registers its side at start-up (SetViewBrowser). Every
// call is made on the UI thread; without a registered browser the views
// behave as with an empty file list.
#pragma once
#include <windows.h>

#include "drawing/common/drawing_info.h"
#include "platform/classlib/cstring.h"

class IViewBrowser {
public:
    virtual ~IViewBrowser() {}

    // The file list's selected item: its path and file kind; false when
    // nothing is selected.
    virtual bool GetSelectedFile(CString& path, int& kind) = 0;
    // Whether the list holds a drawing or image item after (before) the
    // selected one.
    virtual bool HasNextDrawing() = 0;
    virtual bool HasPreviousDrawing() = 0;
    // Selects that item, stores its path as the view path of AppSW and
    // gives its path and kind; false when there is none.
    virtual bool SelectNextDrawing(CString& path, int& kind) = 0;
    virtual bool SelectPreviousDrawing(CString& path, int& kind) = 0;
    // The folder tree's handling of a device change, and its result.
    virtual BOOL OnDeviceChange(UINT event, DWORD_PTR data) = 0;
    // The file-properties sheet of a drawing with its information.
    virtual void ShowFileProperties(const char* path, const DRAWINGINFO& info) = 0;
    // The Exif dialog of a JPEG file, shown modally; false (nothing shown)
    // when the file holds no Exif data.
    virtual bool ShowExif(const char* path) = 0;
    // Makes the thumbnails of the list's selected files anew.
    virtual void RegenerateSelectedThumbnails() = 0;
};

void SetViewBrowser(IViewBrowser* browser);
// The registered browser, or null.
IViewBrowser* GetViewBrowser();

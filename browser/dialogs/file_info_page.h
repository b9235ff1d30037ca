// CFileInfoPage: the common part of the file information sheet's pages:
// the file's path and the caller's drawing information (not owned; it
// must outlive the sheet). Every page only displays. Made by dynamic
// creation, a page has an empty path and no drawing information.
#pragma once
#include "drawing/common/drawing_info.h"
#include "platform/classlib/classlib.h"
#include "platform/classlib/property_sheet.h"

class CFileInfoPage : public CPropertyPage {
public:
    CFileInfoPage(UINT templateId, const char* path, const DRAWINGINFO* drawingInfo);

    CString m_path;
    const DRAWINGINFO* m_drawingInfo;
};

// The modal sheet "<name> Properties" with the pages Basic, Info, Summary
// and User; true when it was closed with OK.
bool ShowFileProperties(const char* path, const DRAWINGINFO* drawingInfo);

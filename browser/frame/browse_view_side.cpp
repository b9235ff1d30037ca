#include "browser/frame/browse_view_side.h"

#include "browser/dialogs/exif_dlg.h"
#include "browser/dialogs/file_info_page.h"
#include "browser/frame/browse_frame.h"

namespace {

bool GiveRecord(CShellItemData* record, CString& path, int& kind)
{
    if (record == NULL)
        return false;
    path = record->GetPath();
    kind = record->fileKind;
    return !path.IsEmpty();
}

}  // namespace

bool CBrowseViewSide::GetSelectedFile(CString& path, int& kind)
{
    return GiveRecord(m_frame->GetFileList()->GetItemRecord(-1), path, kind);
}

bool CBrowseViewSide::HasNextDrawing()
{
    return m_frame->GetFileList()->HasNextDrawing();
}

bool CBrowseViewSide::HasPreviousDrawing()
{
    return m_frame->GetFileList()->HasPrevDrawing();
}

bool CBrowseViewSide::SelectNextDrawing(CString& path, int& kind)
{
    return GiveRecord(m_frame->GetFileList()->SelectNextDrawing(), path, kind);
}

bool CBrowseViewSide::SelectPreviousDrawing(CString& path, int& kind)
{
    return GiveRecord(m_frame->GetFileList()->SelectPrevDrawing(), path, kind);
}

BOOL CBrowseViewSide::OnDeviceChange(UINT event, DWORD_PTR data)
{
    return (BOOL)m_frame->GetTree()->OnDeviceChange(event, (LPARAM)data);
}

void CBrowseViewSide::ShowFileProperties(const char* path, const DRAWINGINFO& info)
{
    ::ShowFileProperties(path, &info);
}

bool CBrowseViewSide::ShowExif(const char* path)
{
    return ShowExifDialog(AfxGetMainWnd(), path);
}

void CBrowseViewSide::RegenerateSelectedThumbnails()
{
    m_frame->GetFileList()->QueueThumbnails(true);
}

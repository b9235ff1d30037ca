// The drawing view's files: the one selected in the browse frame's list, and
// the next and previous drawing or image of that list.
#include "views/viewer/dwg_view.h"

#include "core/file_types.h"
#include "drawing/common/draw_messages.h"
#include "views/common/idle_use.h"
#include "views/common/view_browser.h"
#include "views/common/view_state.h"
#include "views/viewer/view_frame.h"

void CDwgView::OpenSelectedListFile()
{
    IViewBrowser* browser = GetViewBrowser();
    CString path;
    int kind = -1;
    bool selected = browser != NULL && browser->GetSelectedFile(path, kind);
    KillHighlightTimers();
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (!selected || thread == NULL)
        return;
    m_listNavigation = 1;
    m_frame->UpdateTitle();
    // A hidden preview has the thread read only a drawing's information:
    // the path is then the thread's, but no drawing is loaded.
    bool held = thread->IsCurrentFile(path) && (thread->HasDrawing() || !IsDrawingKind(thread->GetFileKind()));
    if (held) {
        m_frame->ClearPageTabs();
        m_frame->SendMessage(WM_DRAW_OPENED, 1, 0);
        return;
    }
    thread->ResetBackground();
    RedrawNow();
    OpenListFile(path, kind);
}

void CDwgView::OpenListFile(const CString& path, int kind)
{
    TDwgDrawThread* thread = GetRunningDrawThread();
    if (thread == NULL)
        return;
    thread->SetFileKind(kind);
    CSize client = ClientSize();
    if (IsDrawingKind(kind)) {
        thread->SetPassword("", -1);
        thread->OpenFile(kind, path, client.cx, client.cy, false);
        return;
    }
    BeginWaitCursor();
    if (!LoadRasterHere(thread, path)) {
        // The thread is at work: it loads the image itself and answers.
        thread->OpenFile(kind, path, client.cx, client.cy, false);
    }
    EndWaitCursor();
}

bool CDwgView::LoadRasterHere(TDwgDrawThread* thread, const CString& path)
{
    bool loaded = false;
    {
        CIdleUse use(thread);
        if (!use.IsHeld())
            return false;
        thread->SetFilePath(path);
        JGraphics& picture = use.Picture();
        picture.Clear();
        thread->SetRasterInfoText(KImage::GetInfoText(path).GetText());
        KType::RPoint2D origin = {0.0f, 0.0f};
        loaded = picture.GetImage().Load(path, origin);
    }
    // A file that cannot be loaded sends nothing: the frame keeps its state.
    if (loaded) {
        m_frame->ClearPageTabs();
        m_frame->SendMessage(WM_DRAW_OPENED, 1, 0);
    }
    return true;
}

void CDwgView::OnNextFile()
{
    StepThroughList(true);
}

void CDwgView::OnPreviousFile()
{
    StepThroughList(false);
}

void CDwgView::StepThroughList(bool next)
{
    IViewBrowser* browser = GetViewBrowser();
    if (GetIdleDrawThread() == NULL || !m_listNavigation || browser == NULL)
        return;
    if (!(next ? browser->HasNextDrawing() : browser->HasPreviousDrawing()))
        return;
    CString path;
    int kind = -1;
    bool selected = next ? browser->SelectNextDrawing(path, kind) : browser->SelectPreviousDrawing(path, kind);
    KillHighlightTimers();
    if (!selected)
        return;
    m_frame->UpdateTitle();
    OpenListFile(path, kind);
}

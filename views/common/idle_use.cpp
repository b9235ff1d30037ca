#include "views/common/idle_use.h"

CIdleUse::CIdleUse(TDwgDrawThread* thread)
    : m_thread(thread != NULL && thread->BeginIdleUse() ? thread : NULL)
{
}

CIdleUse::~CIdleUse()
{
    if (m_thread != NULL)
        m_thread->EndIdleUse();
}

CDrawing* CIdleUse::Drawing() const
{
    ZrApp::Document* document = m_thread != NULL ? m_thread->GetDocument() : NULL;
    return document != NULL ? document->getDrawing() : NULL;
}

ZrApp::View* CIdleUse::View() const
{
    ZrApp::Document* document = m_thread != NULL ? m_thread->GetDocument() : NULL;
    return document != NULL ? document->getView() : NULL;
}

bool SizeRasterCanvas(KWinCanvas& canvas, int width, int height)
{
    bool changed = canvas.width != width || canvas.height != height;
    canvas.SetSize(width, height);
    return changed;
}

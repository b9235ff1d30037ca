// Direct use of the drawing thread's document, raster picture or raster
// canvas from the UI thread: held only while no command runs, and the
// thread's next command waits until the use ends. Never wait for the
// thread while holding one.
#pragma once
#include "drawing/draw_thread/draw_thread.h"

class CIdleUse {
public:
    // Taken when the thread exists and no command runs on it.
    explicit CIdleUse(TDwgDrawThread* thread);
    ~CIdleUse();
    CIdleUse(const CIdleUse&) = delete;
    CIdleUse& operator=(const CIdleUse&) = delete;

    bool IsHeld() const { return m_thread != NULL; }
    TDwgDrawThread* Thread() const { return m_thread; }
    JGraphics& Picture() const { return m_thread->GetRasterPicture(); }
    KWinCanvas& Canvas() const { return m_thread->GetRasterCanvas(); }
    // The document's drawing and view; null without a document.
    CDrawing* Drawing() const;
    ZrApp::View* View() const;

private:
    TDwgDrawThread* m_thread;
};

// Sizes the raster canvas; true when its size changed.
bool SizeRasterCanvas(KWinCanvas& canvas, int width, int height);

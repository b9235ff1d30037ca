// The entity highlight under a resting pointer, shared by the drawing view
// and the preview pane: the highlight preference is toggled by one command
// (32939), and the highlight may run when the drawing's quick mode is on
// and its document can highlight.
#pragma once
#include "drawing/draw_thread/draw_thread.h"
#include "platform/classlib/classlib.h"

// The idle thread's document allows a highlight now.
bool MayHighlightEntity(TDwgDrawThread* thread);
// The highlight preference is on and a highlight may run.
bool WantsHighlight(TDwgDrawThread* thread);
void ToggleHighlightEntity();
void UpdateHighlightEntity(CCmdUI* cmdUI);

// KTrimWindow: the visible world rectangle against which the vector pass
// classifies entity boxes. One process-wide object, written by the pass
// before it draws.
#pragma once
#include <stdint.h>

#include "graphics/kviewport.h"

class KTrimWindow
{
public:
    KTrimWindow();
    virtual ~KTrimWindow();

    // -1 when box lies outside the window (touching an edge counts as
    // outside), 1 when no window edge crosses it, 0 when one does.
    // edgeCode keeps which window edges cross the box: 1 left, 2 top,
    // 4 right, 8 bottom.
    int Classify(const KWorldRect& box);

    float left;
    float bottom;
    float right;
    float top;
    int32_t edgeCode;
};

extern KTrimWindow g_TrimWindow;

#include "graphics/ktrim_window.h"

KTrimWindow g_TrimWindow;

namespace {

bool StrictlyBetween(float low, float value, float high)
{
    return low < value && value < high;
}

}  // namespace

int KTrimWindow::Classify(const KWorldRect& box)
{
    if (right <= box.left || left >= box.right || top <= box.bottom || bottom >= box.top)
        return -1;
    edgeCode = 0;
    if (StrictlyBetween(box.left, left, box.right))
        edgeCode += 1;
    if (StrictlyBetween(box.left, right, box.right))
        edgeCode += 4;
    if (StrictlyBetween(box.bottom, bottom, box.top))
        edgeCode += 8;
    if (StrictlyBetween(box.bottom, top, box.top))
        edgeCode += 2;
    return edgeCode == 0 ? 1 : 0;
}

#include "graphics/ktrim_window.h"

#include "core/global_objects.h"
#include "core/log_file.h"

KTrimWindow g_TrimWindow __attribute__((init_priority(kGlobalRankTrimWindow)));

namespace {

bool StrictlyBetween(float low, float value, float high)
{
    return low < value && value < high;
}

}  // namespace

KTrimWindow::KTrimWindow() : left(0.0f), bottom(0.0f), right(0.0f), top(0.0f), edgeCode(0)
{
    WriteLog(NULL, "Construct g_TrimWindow");
}

KTrimWindow::~KTrimWindow()
{
    WriteLog(NULL, "Destroy g_TrimWindow");
}

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

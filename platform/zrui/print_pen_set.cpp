#include "platform/zrui/print_pen_set.h"

ZrUI::PrintPenSet g_printPenSet;

namespace ZrUI {

PrintPenSet::PrintPenSet() : m_usePenWidth(false), m_minWidth(0.0)
{
    for (int i = 0; i < kPenCount; ++i) {
        m_pens[i].colorIndex = (short)i;
        m_pens[i].width = 0.0;
    }
}

bool PrintPenSet::setPen(int index, short colorIndex, double width)
{
    if (index < 0 || index >= kPenCount)
        return false;
    m_pens[index].colorIndex = colorIndex;
    m_pens[index].width = width;
    return true;
}

}  // namespace ZrUI

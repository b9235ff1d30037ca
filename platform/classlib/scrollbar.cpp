#include "platform/classlib/scrollbar.h"

IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

#include "toolkit/bars/menu_bar.h"

IMPLEMENT_DYNAMIC(CCJMenuBar, CCJToolBar)

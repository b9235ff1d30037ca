#include "views/common/view_browser.h"

namespace {

IViewBrowser* g_viewBrowser = NULL;

}  // namespace

void SetViewBrowser(IViewBrowser* browser)
{
    g_viewBrowser = browser;
}

IViewBrowser* GetViewBrowser()
{
    return g_viewBrowser;
}

// The program's entry point: the application object shows the browse
// frame until it is closed.
#include "platform/classlib/classlib.h"
#include "resources/resource.h"

namespace {

class CHarbeckApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CFrameWnd* frame = new CFrameWnd;
        if (!frame->LoadFrame(IDR_BROWSE_FRAME)) {
            delete frame;
            return FALSE;
        }
        m_pMainWnd = frame;
        frame->ShowWindow(m_nCmdShow);
        frame->UpdateWindow();
        return TRUE;
    }
};

CHarbeckApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    return AfxWinMain(instance, previous, commandLine, show);
}

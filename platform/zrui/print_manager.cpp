#include "platform/zrui/print_manager.h"

#include "platform/classlib/classlib.h"
#include "platform/zrui/print_manager_dialog.h"

namespace ZrUI {

namespace {

// The manager between initPrintManager and releasePrintManager, and the
// choices it keeps for the run.
struct ManagerState {
    PrintRecord* record = nullptr;
    PrintSettings settings;
    PrintWindow window = {};
};

ManagerState g_manager;

void SendPickMode(const PrintRecord& record, bool on)
{
    if (record.owner && record.owner->m_hWnd)
        ::SendMessageA(record.owner->m_hWnd, WM_PRINT_PICK_MODE, on ? 1 : 0, 0);
}

}  // namespace

void initPrintManager(PrintRecord* record)
{
    g_manager.record = record;
}

int showPrintManager()
{
    if (!g_manager.record)
        return kPrintManagerClose;
    PrintRecord& record = *g_manager.record;
    SendPickMode(record, false);
    CPrintManagerDialog dialog(record, g_manager.settings, g_manager.window);
    INT_PTR answer = dialog.DoModal();
    if (answer == kPrintManagerPick) {
        SendPickMode(record, true);
        return kPrintManagerPick;
    }
    return answer == kPrintManagerPrint ? kPrintManagerPrint : kPrintManagerClose;
}

void releasePrintManager()
{
    g_manager.record = nullptr;
}

}  // namespace ZrUI

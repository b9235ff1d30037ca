#include "tests/browser/options/option_test_support.h"

#include "browser/options/option.h"
#include "core/registry_root.h"
#include "tests/support/thread_windows.h"

namespace optiontest {

const char kAppName[] = "选项测试";

namespace {

const char kSheetCaption[] = "选项设置";
std::string g_caption;
std::function<void(HWND)> g_script;
int g_answer = IDOK;
std::string g_boxText;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = testwin::FindVisibleThreadWindow(GetCurrentThreadId(), "#32770", g_caption.c_str());
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    std::function<void(HWND)> script = std::move(g_script);
    g_script = nullptr;
    if (script)
        script(dialog);
}

void CALLBACK CancelStuckSheet(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    if (HWND sheet = testwin::FindVisibleThreadWindow(GetCurrentThreadId(), "#32770", kSheetCaption))
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void CALLBACK AnswerBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND box = testwin::FindVisibleThreadWindow(GetCurrentThreadId(), "#32770", kAppName);
    if (!box)
        return;
    KillTimer(nullptr, timer);
    char text[1024] = {};
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    g_boxText = text;
    PostMessageA(box, WM_COMMAND, g_answer, 0);
}

}  // namespace

void ActWhenShown(const char* caption, std::function<void(HWND dialog)> script)
{
    g_caption = caption;
    g_script = std::move(script);
    SetTimer(nullptr, 0, 20, RunScript);
}

bool RunOptionSheet(std::function<void(HWND sheet)> script)
{
    ActWhenShown(kSheetCaption, std::move(script));
    UINT_PTR guard = SetTimer(nullptr, 0, 8000, CancelStuckSheet);
    COption option;
    bool confirmed = option.ShowOptionSheet();
    KillTimer(nullptr, guard);
    return confirmed;
}

HWND ShowPage(HWND sheet, int index)
{
    SendMessageA(sheet, PSM_SETCURSEL, index, 0);
    return (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
}

void Click(HWND page, int id)
{
    SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0);
}

bool IsChecked(HWND page, int id)
{
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}

std::string ControlText(HWND dialog, int id)
{
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

void PressOk(HWND sheet)
{
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
}

void PressCancel(HWND sheet)
{
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

void AnswerNextMessageBox(int button)
{
    g_answer = button;
    g_boxText.clear();
    SetTimer(nullptr, 0, 20, AnswerBox);
}

std::string LastMessageBoxText()
{
    return g_boxText;
}

long ReadProductDword(const char* key, const char* name)
{
    std::string path = std::string(HARBECK_REGISTRY_ROOT) + key;
    DWORD value = 0;
    DWORD bytes = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) !=
        ERROR_SUCCESS)
        return -1;
    return (long)value;
}

}  // namespace optiontest

#include "browser/dialogs/accelerator_dlg.h"

#include "browser/dialogs/info_list_look.h"
#include "resources/resource.h"

namespace {

const int kListMargin = 8;

// A section row has only its window's name; a key row leaves it blank.
struct ShortcutRow {
    const char* window;
    const char* key;
    const char* action;
};

const ShortcutRow kShortcuts[] = {
    {"浏览窗口", "", ""},
    {"", "F8", "缩略图模式显示文件列表"},
    {"", "F9", "大图标模式显示文件列表"},
    {"", "F10", "小图标模式显示文件列表"},
    {"", "F11", "小图标列表模式显示文件列表"},
    {"", "F12", "报表模式显示文件列表"},
    {"", "F5", "刷新当前文件夹显示"},
    {"", "F6", "得到JPEG文件的EXIF信息"},
    {"", "F7", "显示当前被选择的文件项图标"},
    {"", "Ctrl+Insert", "复制被选择的文件到剪贴板"},
    {"", "Ctrl+C", "复制被选择的文件到剪贴板"},
    {"", "Shift+Insert", "粘贴剪贴板内容到当前文件夹"},
    {"", "Ctrl+V", "粘贴剪贴板内容到当前文件夹"},
    {"", "Alt+X", "退出 Harbeck"},
    {"", "Ctrl+A", "选择所有的文件"},
    {"", "Ctrl+D", "选择所有图形文件"},
    {"", "Ctrl+N", "中断当前绘制的文件，但继续绘制以后的文件"},
    {"预览窗口", "", ""},
    {"", "Ctrl+1 or 1", "用实际尺寸比例显示"},
    {"", "Alt+A or A", "自动匹配显示比例"},
    {"", "Ctrl+E", "显示全部"},
    {"", "E", "显示全部"},
    {"", "Ctrl+W", "窗口放大"},
    {"", "W", "窗口放大"},
    {"", "Ctrl+I or +", "放大显示比例"},
    {"", "I", "放大显示比例"},
    {"", "Ctrl+U or -", "缩小显示比例"},
    {"", "U", "缩小显示比例"},
    {"", "Ctrl+P", "平移"},
    {"", "P", "平移"},
    {"", "Ctrl+L", "显示前一个视图"},
    {"", "Alt+F", "上下反转图象"},
    {"", "Alt+M", "左右镜像图象"},
    {"", "Alt+L", "向左旋转90度"},
    {"", "Alt+R", "向右旋转90度"},
    {"", "F4", "用光滑模式显示图象"},
    {"观察窗口", "", ""},
    {"", ",", "打开前一个图形文件"},
    {"", ".", "打开下一个图形文件"},
    {"", "Ctrl+1", "按实际尺寸比例显示图象"},
    {"", "Ctrl+A", "自动匹配显示比例"},
    {"", "E", "显示全部"},
    {"", "Ctrl+E", "显示全部"},
    {"", "F", "切换到全屏模式"},
    {"", "Alt+F", "上下反转图象"},
    {"", "+", "放大"},
    {"", "Ctrl+I", "放大"},
    {"", "I", "放大"},
    {"", "U", "缩小"},
    {"", "Ctrl+U", "缩小"},
    {"", "Ctrl+O", "窗口放大"},
    {"", "Ctrl+W", "窗口放大"},
    {"", "W", "窗口放大"},
    {"", "P", "平移"},
    {"", "Ctrl+P", "平移"},
    {"", "Q", "显示前一个视图"},
    {"", "R", "重画图形"},
    {"", "Ctrl+R", "重画图形"},
    {"", "L", "显示图形文件的图曾信息(针对 DWG/DXF)"},
    {"", "Alt+L", "向左旋转90度"},
    {"", "Alt+R", "向右旋转90度"},
    {"", "Alt+M", "左右镜像图象"},
    {"", "S", "保存文件"},
    {"", "T", "打印"},
    {"", "F6", "得到JPEG文件的EXIF信息"},
};

const InfoListColumn kColumns[] = {{"作用窗口", 115}, {"键", 120}, {"功能", 500}};

}  // namespace

BEGIN_MESSAGE_MAP(CAcceleratorDlg, CDialog)
ON_WM_SIZE()
END_MESSAGE_MAP()

CAcceleratorDlg::CAcceleratorDlg(CWnd* parent) : CDialog(IDD_ACCELERATORS, parent) {}

void CAcceleratorDlg::DoDataExchange(CDataExchange* exchange)
{
    CDialog::DoDataExchange(exchange);
    DDX_Control(exchange, IDC_ACCELERATOR_LIST, m_list);
}

BOOL CAcceleratorDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ApplyInfoListLook(m_list, kColumns, (int)(sizeof(kColumns) / sizeof(kColumns[0])));
    for (const ShortcutRow& shortcut : kShortcuts) {
        int row = AppendInfoRow(m_list, shortcut.window, shortcut.key);
        if (row >= 0)
            m_list.SetItemText(row, 2, shortcut.action);
    }
    FitList();
    return TRUE;
}

void CAcceleratorDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    FitList();
}

void CAcceleratorDlg::FitList()
{
    if (m_list.m_hWnd == nullptr)
        return;
    RECT client;
    GetClientRect(&client);
    int width = client.right - 2 * kListMargin;
    int height = client.bottom - 2 * kListMargin;
    m_list.MoveWindow(kListMargin, kListMargin, width > 0 ? width : 0, height > 0 ? height : 0);
}

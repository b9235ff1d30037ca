// The dialog that edits the drawing library's search folders: one line of
// folders separated by ';', handed to the library on OK.
#include "platform/zrui/zrui.h"

#include <mutex>
#include <string>
#include <vector>

#include "platform/zrio/library_globals.h"
#include "platform/zrio/zrio.h"

namespace ZrUI {

namespace {

const WORD kFoldersEditId = 100;

// A dialog template in memory, built item by item.
class CTemplateWriter {
public:
    void Header(const WCHAR* caption, short width, short height, WORD itemCount)
    {
        Dword(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
        Dword(0);
        Word(itemCount);
        Word(0);
        Word(0);
        Word((WORD)width);
        Word((WORD)height);
        Word(0);  // no menu
        Word(0);  // the standard dialog class
        Text(caption);
        Word(9);
        Text(L"宋体");
    }
    // An item of a predefined class: 0x80 button, 0x81 edit, 0x82 static.
    void Item(WORD classAtom, DWORD style, short x, short y, short width, short height, WORD id,
              const WCHAR* text)
    {
        AlignToDword();
        Dword(WS_CHILD | WS_VISIBLE | style);
        Dword(0);
        Word((WORD)x);
        Word((WORD)y);
        Word((WORD)width);
        Word((WORD)height);
        Word(id);
        Word(0xFFFF);
        Word(classAtom);
        Text(text);
        Word(0);  // no creation data
    }
    LPCDLGTEMPLATEA Get() const { return (LPCDLGTEMPLATEA)m_words.data(); }

private:
    void Word(WORD value) { m_words.push_back(value); }
    void Dword(DWORD value)
    {
        Word(LOWORD(value));
        Word(HIWORD(value));
    }
    void Text(const WCHAR* text)
    {
        for (; *text != 0; ++text)
            Word(*text);
        Word(0);
    }
    void AlignToDword()
    {
        if (m_words.size() % 2 != 0)
            Word(0);
    }

    std::vector<WORD> m_words;
};

std::string CurrentFolders()
{
    std::lock_guard<std::mutex> hold(zr::Globals().lock);
    return zr::Globals().searchDirectories;
}

std::string EditText(HWND dialog)
{
    HWND edit = GetDlgItem(dialog, kFoldersEditId);
    std::vector<char> text(GetWindowTextLengthA(edit) + 1);
    GetWindowTextA(edit, text.data(), (int)text.size());
    return text.data();
}

INT_PTR CALLBACK SearchManagerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, kFoldersEditId, CurrentFolders().c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            DWG_SetSearchDirectories(EditText(dialog).c_str());
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

bool showSearchManager(int page)
{
    CTemplateWriter writer;
    writer.Header(L"设置资源文件搜索路径", 300, 63, 4);
    writer.Item(0x82, SS_LEFT, 7, 7, 286, 10, 0xFFFF, L"搜索路径(外部引用文件、字体、图片),以分号分隔:");
    writer.Item(0x81, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 20, 286, 14, kFoldersEditId, L"");
    writer.Item(0x80, BS_DEFPUSHBUTTON | WS_TABSTOP, 182, 42, 50, 14, IDOK, L"确定");
    writer.Item(0x80, BS_PUSHBUTTON | WS_TABSTOP, 243, 42, 50, 14, IDCANCEL, L"取消");
    return DialogBoxIndirectParamA(GetModuleHandleA(NULL), writer.Get(), GetActiveWindow(), SearchManagerProc,
                                   0) == IDOK;
}

}  // namespace ZrUI

#include "toolkit/menus/cool_menu_manager.h"

#include <algorithm>

#include "platform/base/byte_reader.h"

IMPLEMENT_DYNAMIC(CCoolMenuManager, CSubclassWnd)

namespace {

const LPCSTR kToolbarResourceType = MAKEINTRESOURCEA(241);
const UINT kDefaultImageWidth = 16;
const UINT kDefaultImageHeight = 15;
const int kBoxMargin = 4;
const int kTextLength = 260;

// A tool-bar resource: version, button width and height, item count, then
// one command id per item (0 for a separator).
bool ReadToolbarResource(UINT toolbarId, CSize& buttonSize, std::vector<WORD>& commands)
{
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(toolbarId), kToolbarResourceType);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        return false;
    CByteReader reader(data, ::SizeofResource(module, found));
    reader.U16LE();
    buttonSize.cx = reader.U16LE();
    buttonSize.cy = reader.U16LE();
    UINT count = reader.U16LE();
    commands.clear();
    for (UINT i = 0; i < count && reader.Ok(); ++i)
        commands.push_back(reader.U16LE());
    return reader.Ok() && buttonSize.cx > 0 && buttonSize.cy > 0;
}

struct MenuItem {
    UINT type = 0;
    UINT id = 0;
    HMENU subMenu = nullptr;
    ULONG_PTR data = 0;
    CString text;
};

bool ReadMenuItem(HMENU menu, UINT position, MenuItem& item)
{
    char text[kTextLength] = "";
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = kTextLength;
    if (!::GetMenuItemInfoA(menu, position, TRUE, &info))
        return false;
    item.type = info.fType;
    item.id = info.wID;
    item.subMenu = info.hSubMenu;
    item.data = info.dwItemData;
    item.text = (info.fType & MFT_OWNERDRAW) ? "" : text;
    return true;
}

}  // namespace

CCoolMenuManager::~CCoolMenuManager()
{
    std::vector<HMENU> menus = m_convertedMenus;
    for (HMENU menu : menus)
        ConvertMenu(menu, true);
    Destroy();
}

void CCoolMenuManager::Install(CWnd* frame)
{
    m_frame = frame;
    HookWindow(frame);
}

LRESULT CCoolMenuManager::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MEASUREITEM:
        if (OnMeasureItem((MEASUREITEMSTRUCT*)lParam))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (OnDrawItem((DRAWITEMSTRUCT*)lParam))
            return TRUE;
        break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        Refresh();
        break;
    case WM_INITMENUPOPUP:
        CSubclassWnd::WindowProc(message, wParam, lParam);
        OnInitMenuPopup((HMENU)wParam, 0, HIWORD(lParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        break;
    case WM_MENUCHAR: {
        LRESULT answer = OnMenuChar(LOWORD(wParam), HIWORD(wParam), (HMENU)lParam);
        if (answer)
            return answer;
        break;
    }
    default:
        break;
    }
    return CSubclassWnd::WindowProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------
// Images.

int CCoolMenuManager::LoadToolbar(UINT toolbarId)
{
    CSize buttonSize;
    std::vector<WORD> commands;
    if (!ReadToolbarResource(toolbarId, buttonSize, commands))
        return 0;
    if (m_imageSize.cx != 0 && m_imageSize != buttonSize)
        return 0;
    // The bitmap's black, greys and white become the button colours.
    HBITMAP bitmap = ::CreateMappedBitmap(AfxGetResourceHandle(), toolbarId, 0, nullptr, 0);
    if (!bitmap)
        return 0;
    if (m_imageSize.cx == 0) {
        m_imageSize = buttonSize;
        m_boxSize = CSize(buttonSize.cx + kBoxMargin, buttonSize.cy + kBoxMargin);
    }
    if (!m_images.GetSafeHandle() && !m_images.Create(m_imageSize.cx, m_imageSize.cy, ILC_COLOR32 | ILC_MASK, 0, 10)) {
        ::DeleteObject(bitmap);
        return 0;
    }
    m_images.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    int next = m_images.GetImageCount();
    m_images.Add(bitmap, ::GetSysColor(COLOR_BTNFACE));
    ::DeleteObject(bitmap);
    for (WORD command : commands) {
        if (command == 0)
            continue;
        // The first tool bar that names a command gives its image.
        if (!m_commandImages.count(command))
            m_commandImages[command] = next;
        ++next;
    }
    m_toolbarIds.push_back(toolbarId);
    return 1;
}

int CCoolMenuManager::GetImageIndex(UINT commandId) const
{
    auto found = m_commandImages.find((WORD)commandId);
    return found == m_commandImages.end() ? CMenuItemRecord::kNoImage : found->second;
}

void CCoolMenuManager::SetButtonSize(SIZE& old, SIZE size)
{
    old = m_imageSize;
    m_imageSize = CSize(size.cx ? size.cx : kDefaultImageWidth, size.cy ? size.cy : kDefaultImageHeight);
    m_boxSize = CSize(m_imageSize.cx + kBoxMargin, m_imageSize.cy + kBoxMargin);
}

void CCoolMenuManager::Destroy()
{
    m_images.DeleteImageList();
    m_commandImages.clear();
    m_toolbarIds.clear();
    m_imageSize = CSize(0, 0);
    m_boxSize = CSize(0, 0);
    m_menuFont.DeleteObject();
}

void CCoolMenuManager::Refresh()
{
    std::vector<UINT> toolbars = m_toolbarIds;
    Destroy();
    for (UINT toolbar : toolbars)
        LoadToolbar(toolbar);
}

CFont* CCoolMenuManager::MenuFont()
{
    if (!m_menuFont.GetSafeHandle()) {
        NONCLIENTMETRICSA metrics = {};
        metrics.cbSize = sizeof(metrics);
        ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        m_menuFont.CreateFontIndirect(&metrics.lfMenuFont);
    }
    return &m_menuFont;
}

// ---------------------------------------------------------------------------
// Converting menus.

void CCoolMenuManager::ConvertMenuOnce(HMENU menu)
{
    if (std::find(m_convertedMenus.begin(), m_convertedMenus.end(), menu) == m_convertedMenus.end())
        ConvertMenu(menu, false);
}

void CCoolMenuManager::RestoreMenu(HMENU menu)
{
    ConvertMenu(menu, true);
}

void CCoolMenuManager::ConvertMenu(HMENU menu, bool restore)
{
    auto listed = std::find(m_convertedMenus.begin(), m_convertedMenus.end(), menu);
    if (listed != m_convertedMenus.end() && restore)
        m_convertedMenus.erase(listed);
    else if (listed == m_convertedMenus.end() && !restore)
        m_convertedMenus.push_back(menu);
    int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
        ConvertItem(menu, position, restore);
}

void CCoolMenuManager::ConvertItem(HMENU menu, UINT position, bool restore)
{
    MenuItem item;
    if (!ReadMenuItem(menu, position, item) || (item.type & MFT_SEPARATOR))
        return;
    if (item.subMenu)
        ConvertMenu(item.subMenu, restore);
    CMenuItemRecord* record = CMenuItemRecord::FromData(item.data);
    // An owner-drawn item without our record belongs to someone else.
    if ((item.type & MFT_OWNERDRAW) && !record)
        return;

    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    if (restore) {
        if (!record)
            return;
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
        info.fType = item.type & ~MFT_OWNERDRAW;
        info.dwItemData = record->m_savedData;
        info.dwTypeData = const_cast<LPSTR>(record->m_text.GetString());
        ::SetMenuItemInfoA(menu, position, TRUE, &info);
        delete record;
        return;
    }
    if (!record) {
        record = new CMenuItemRecord(menu);
        record->m_savedData = item.data;
    }
    if (!(item.type & MFT_OWNERDRAW))
        record->m_text = item.text;
    record->m_type = item.type;
    record->m_image = item.subMenu ? CMenuItemRecord::kNoImage : GetImageIndex(item.id);
    if (record->m_icon)
        record->m_image = CMenuItemRecord::kIconImage;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType = item.type | MFT_OWNERDRAW;
    info.dwItemData = (ULONG_PTR)record;
    ::SetMenuItemInfoA(menu, position, TRUE, &info);
}

void CCoolMenuManager::ForgetDestroyedMenus()
{
    m_convertedMenus.erase(std::remove_if(m_convertedMenus.begin(), m_convertedMenus.end(),
                                          [](HMENU menu) { return !::IsMenu(menu); }),
                           m_convertedMenus.end());
    CMenuItemRecord::DeleteRecordsOfDestroyedMenus();
}

void CCoolMenuManager::OnInitMenuPopup(HMENU menu, UINT index, BOOL isSystemMenu)
{
    if (isSystemMenu)
        return;
    ForgetDestroyedMenus();
    int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        CMenuItemRecord* record = CMenuItemRecord::FromData(GetMenuItemData(menu, position, TRUE));
        if (record && record->m_shellMenu) {
            SetMenuItemData(menu, position, TRUE, record->m_savedData);
            LRESULT ignored = 0;
            HandleShellMenuMessage(record, WM_INITMENUPOPUP, (WPARAM)menu, index, &ignored);
            SetMenuItemData(menu, position, TRUE, (ULONG_PTR)record);
            return;
        }
    }
    ConvertMenu(menu, !m_convert);
}

BOOL CCoolMenuManager::HandleShellMenuMessage(CMenuItemRecord* record, UINT message, WPARAM wParam,
                                              LPARAM lParam, LRESULT* result)
{
    IContextMenu3* menu3 = nullptr;
    if (message == WM_MENUCHAR) {
        if (FAILED(record->m_shellMenu->QueryInterface(IID_IContextMenu3, (void**)&menu3)))
            return FALSE;
        HRESULT handled = menu3->HandleMenuMsg2(message, wParam, lParam, result);
        menu3->Release();
        return SUCCEEDED(handled);
    }
    IContextMenu2* menu2 = nullptr;
    if (FAILED(record->m_shellMenu->QueryInterface(IID_IContextMenu2, (void**)&menu2)))
        return FALSE;
    HRESULT handled = menu2->HandleMenuMsg(message, wParam, lParam);
    menu2->Release();
    *result = 0;
    return SUCCEEDED(handled);
}

// ---------------------------------------------------------------------------
// Menu characters and prompts.

namespace {

// The mnemonic of a text: the character after the first single '&'.
char MnemonicOf(const CString& text)
{
    for (int i = 0; i + 1 < text.GetLength(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return text[i + 1];
        ++i;
    }
    return 0;
}

char Lowered(char ch)
{
    return (char)(UINT_PTR)::CharLowerA((LPSTR)(UINT_PTR)(BYTE)ch);
}

}  // namespace

LRESULT CCoolMenuManager::OnMenuChar(UINT ch, UINT, HMENU menu)
{
    int count = ::GetMenuItemCount(menu);
    CMenuItemRecord* first = count > 0 ? CMenuItemRecord::FromData(GetMenuItemData(menu, 0, TRUE)) : nullptr;
    if (first && first->m_shellMenu) {
        // The shell reads its own item data while it answers.
        std::vector<CMenuItemRecord*> records(count, nullptr);
        for (int position = 0; position < count; ++position) {
            records[position] = CMenuItemRecord::FromData(GetMenuItemData(menu, position, TRUE));
            if (records[position])
                SetMenuItemData(menu, position, TRUE, records[position]->m_savedData);
        }
        LRESULT answer = 0;
        if (!HandleShellMenuMessage(first, WM_MENUCHAR, MAKEWPARAM(ch, 0), (LPARAM)menu, &answer))
            answer = 0;
        for (int position = 0; position < count; ++position) {
            if (records[position])
                SetMenuItemData(menu, position, TRUE, (ULONG_PTR)records[position]);
        }
        return answer;
    }

    std::vector<int> matches;
    int highlighted = -1;
    char typed = Lowered((char)ch);
    for (int position = 0; position < count; ++position) {
        if (::GetMenuState(menu, position, MF_BYPOSITION) & MF_HILITE)
            highlighted = position;
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        if (!::GetMenuItemInfoA(menu, position, TRUE, &info) || !(info.fType & MFT_OWNERDRAW))
            continue;
        CMenuItemRecord* record = CMenuItemRecord::FromData(info.dwItemData);
        char mnemonic = record ? MnemonicOf(record->m_text) : 0;
        if (mnemonic && Lowered(mnemonic) == typed)
            matches.push_back(position);
    }
    if (matches.empty())
        return 0;
    if (matches.size() == 1)
        return MAKELRESULT(matches[0], MNC_EXECUTE);
    for (int position : matches) {
        if (position > highlighted)
            return MAKELRESULT(position, MNC_SELECT);
    }
    return MAKELRESULT(matches[0], MNC_SELECT);
}

void CCoolMenuManager::SetShellContextMenu(IContextMenu* contextMenu, UINT firstId, UINT lastId)
{
    m_shellMenu = contextMenu;
    m_shellFirstId = firstId;
    m_shellLastId = lastId;
}

void CCoolMenuManager::OnMenuSelect(UINT id, UINT flags, HMENU menu)
{
    if (!m_shellMenu)
        return;
    if (flags == 0xFFFF && !menu) {
        m_shellMenu = nullptr;
        return;
    }
    char text[kTextLength] = "";
    if (!(flags & (MF_POPUP | MF_SYSMENU)) && id >= m_shellFirstId && id <= m_shellLastId) {
        if (FAILED(m_shellMenu->GetCommandString(id - m_shellFirstId, GCS_HELPTEXTA, nullptr, text, kTextLength)))
            text[0] = 0;
        text[kTextLength - 1] = 0;
    }
    CWnd* target = m_frame ? m_frame : AfxGetMainWnd();
    if (target && target->GetSafeHwnd())
        target->SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)text);
}

// ---------------------------------------------------------------------------
// Item records, class-wide.

void CCoolMenuManager::ConvertMenuItem(HMENU menu, IContextMenu* shellMenu, UINT position)
{
    ULONG_PTR data = GetMenuItemData(menu, position, TRUE);
    CMenuItemRecord* record = CMenuItemRecord::FromData(data);
    if (!record) {
        record = new CMenuItemRecord(menu);
        record->m_savedData = data;
    }
    record->SetShellMenu(shellMenu);
    SetMenuItemData(menu, position, TRUE, (ULONG_PTR)record);
}

HICON CCoolMenuManager::SetItemIcon(HMENU menu, UINT item, BOOL byPosition, HICON icon)
{
    CMenuItemRecord* record = CMenuItemRecord::FromData(GetMenuItemData(menu, item, byPosition));
    if (!record)
        return nullptr;
    HICON old = record->m_icon;
    record->m_icon = icon;
    record->m_image = icon ? CMenuItemRecord::kIconImage : CMenuItemRecord::kNoImage;
    return old;
}

ULONG_PTR CCoolMenuManager::SetItemOriginalData(HMENU menu, UINT item, BOOL byPosition, ULONG_PTR data)
{
    CMenuItemRecord* record = CMenuItemRecord::FromData(GetMenuItemData(menu, item, byPosition));
    if (!record)
        return 0;
    ULONG_PTR old = record->m_savedData;
    record->m_savedData = data;
    return old;
}

ULONG_PTR CCoolMenuManager::GetItemOriginalData(HMENU menu, UINT item, BOOL byPosition)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!::GetMenuItemInfoA(menu, item, byPosition, &info))
        return 0;
    CMenuItemRecord* record = (info.fType & MFT_OWNERDRAW) ? CMenuItemRecord::FromData(info.dwItemData) : nullptr;
    return record ? record->m_savedData : info.dwItemData;
}

CMenuItemRecord* CCoolMenuManager::ExchangeItemData(HMENU menu, UINT item, CMenuItemRecord* record,
                                                    BOOL byPosition)
{
    CMenuItemRecord* attached = CMenuItemRecord::FromData(GetMenuItemData(menu, item, byPosition));
    if (attached) {
        SetMenuItemData(menu, item, byPosition, attached->m_savedData);
        return attached;
    }
    if (record)
        SetMenuItemData(menu, item, byPosition, (ULONG_PTR)record);
    return nullptr;
}

// CCoolMenuManager: makes a frame's popup menus owner-drawn, so that each
// command shows the image its tool-bar button has, checked items a sunken
// box, disabled items an embossed image, and the text after a tab (the
// accelerator written in the menu resource) stands right-aligned.
//
// It hooks the frame's window procedure and answers the menu messages
// before the frame does. Items of a shell context menu carry the shell's
// menu object in their record: measuring, drawing, menu characters and
// status prompts of those go to the shell.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <map>
#include <vector>

#include "platform/classlib/classlib.h"
#include "toolkit/common/subclass_wnd.h"
#include "toolkit/menus/menu_item_record.h"

class CCoolMenuManager : public CSubclassWnd {
    DECLARE_DYNAMIC(CCoolMenuManager)
public:
    CCoolMenuManager() = default;
    // Makes every converted menu plain again.
    ~CCoolMenuManager() override;

    virtual void Destroy();
    virtual void Refresh();
    virtual void OnInitMenuPopup(HMENU menu, UINT index, BOOL isSystemMenu);
    virtual BOOL OnMeasureItem(MEASUREITEMSTRUCT* measure);
    virtual BOOL OnDrawItem(DRAWITEMSTRUCT* draw);
    virtual LRESULT OnMenuChar(UINT ch, UINT flags, HMENU menu);
    virtual void OnMenuSelect(UINT id, UINT flags, HMENU menu);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Remembers the frame and hooks its window procedure.
    void Install(CWnd* frame);
    // Adds the images of a tool-bar resource (bitmap and tool-bar
    // resource of that id); 1 on success, 0 when either is missing or its
    // button size differs from the first tool bar's.
    int LoadToolbar(UINT toolbarId);
    // Returns the old image size in old; a zero width means 16, a zero
    // height 15.
    void SetButtonSize(SIZE& old, SIZE size);
    void SetShellContextMenu(IContextMenu* contextMenu, UINT firstId, UINT lastId);

    void ConvertMenuOnce(HMENU menu);
    void RestoreMenu(HMENU menu);

    // Attaches a record holding the shell menu (one reference taken) to
    // the item at the position.
    static void ConvertMenuItem(HMENU menu, IContextMenu* shellMenu, UINT position);
    // Puts an icon (owned from then on) into the item's record; returns the
    // old icon, which the caller now owns.
    HICON SetItemIcon(HMENU menu, UINT item, BOOL byPosition, HICON icon);
    // Replaces the data kept for the item; returns the old value.
    ULONG_PTR SetItemOriginalData(HMENU menu, UINT item, BOOL byPosition, ULONG_PTR data);
    // The item's own data, also for a converted item.
    static ULONG_PTR GetItemOriginalData(HMENU menu, UINT item, BOOL byPosition);
    // With a record on the item: puts the item's own data back and returns
    // the record. Without one: attaches the given record (if any).
    static CMenuItemRecord* ExchangeItemData(HMENU menu, UINT item, CMenuItemRecord* record, BOOL byPosition);

    // Hands a menu message to the record's shell menu; FALSE when the shell
    // menu lacks the interface.
    static BOOL HandleShellMenuMessage(CMenuItemRecord* record, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT* result);

    CSize GetImageSize() const { return m_imageSize; }
    int GetImageIndex(UINT commandId) const;

    CWnd* m_frame = nullptr;
    // Set: menus are made owner-drawn as they pop up; clear: made plain.
    bool m_convert = true;

protected:
    std::vector<UINT> m_toolbarIds;
    CImageList m_images;
    std::map<WORD, int> m_commandImages;
    std::vector<HMENU> m_convertedMenus;
    CSize m_imageSize{0, 0};
    CSize m_boxSize{0, 0};
    CFont m_menuFont;
    IContextMenu* m_shellMenu = nullptr;
    UINT m_shellFirstId = 0;
    UINT m_shellLastId = 0;

private:
    void ConvertMenu(HMENU menu, bool restore);
    void ConvertItem(HMENU menu, UINT position, bool restore);
    void ForgetDestroyedMenus();
    CFont* MenuFont();
    // The sizes in use; the defaults (16 x 15 images) before any tool bar.
    CSize BoxSize() const;
    CSize ImageSize() const;

    void DrawSeparator(CDC& dc, const CRect& item);
    void DrawCheckBox(CDC& dc, const DRAWITEMSTRUCT* draw, const CMenuItemRecord* record, const CRect& box);
    void DrawImageBox(CDC& dc, const DRAWITEMSTRUCT* draw, const CMenuItemRecord* record, const CRect& box);
    void DrawEmbossed(CDC& dc, const CMenuItemRecord* record, const CRect& box);
    void DrawImage(HDC dc, const CMenuItemRecord* record, int x, int y, UINT style);
    void DrawItemText(CDC& dc, const DRAWITEMSTRUCT* draw, const CMenuItemRecord* record);
};

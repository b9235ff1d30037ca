// The buttons of a "ToolbarWindow32" control as a bar sees them: loaded
// from a tool-bar resource, wrapped into rows for a layout, measured, and
// updated from the frame's command handlers. Shared by the tool-bar
// classes; each call works on the control's window.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include "platform/classlib/barstyles.h"
#include "platform/classlib/cmdtarget.h"
#include "platform/classlib/controlbar.h"
#include "platform/classlib/geometry.h"
#include <vector>

class CToolBarButtons {
public:
    explicit CToolBarButtons(HWND toolbar) : m_hWnd(toolbar) {}

    // A tool-bar resource: the image size and the command ids of its
    // buttons (0 for a separator). FALSE when it is missing or damaged.
    static BOOL ReadResource(HINSTANCE instance, LPCSTR name, CSize& imageSize, std::vector<UINT>& ids);
    // Replaces the buttons: one per id, 0 a separator; the buttons take the
    // images in order.
    BOOL SetButtons(const UINT* ids, int count);
    // Adds the bitmap of the images (each imageWidth wide) with its
    // standard greys, black and white mapped to today's system colours, in
    // place of the current one; *current becomes the new bitmap.
    BOOL SetBitmap(HINSTANCE instance, UINT bitmapId, int imageWidth, HBITMAP* current);

    // Wraps the buttons for a layout (LM_ modes; length the width to fill,
    // or the height with LM_LENGTHY; -1 the widest row, or mruWidth with
    // LM_MRUWIDTH) and returns the extent of the buttons. With commit the
    // wraps stay, else the buttons are put back as they were.
    CSize Layout(DWORD mode, int length, int mruWidth, BOOL commit);

    // The dynamic layout of the bar that is this control: the buttons'
    // layout for the place the bar is in now stays, one asked about another
    // place is only measured; with LM_COMMIT a floating width becomes the
    // bar's most recent width. The size includes the bar's borders.
    CSize LayoutBar(CControlBar* bar, int length, DWORD mode);
    // The fixed layout of the bar that is this control: its dynamic layout
    // docked on a side of that orientation.
    CSize FixedLayoutBar(CControlBar* bar, BOOL stretch, BOOL horz);
    // After the bar's style changed from oldStyle: a new orientation or
    // border changes the non-client area.
    void StyleChanged(CControlBar* bar, DWORD oldStyle);
    // The messages every tool bar handles alike: its borders and gripper lie
    // in the non-client area, where a press drags the bar; a double click
    // beside the buttons docks or floats it; the control paints itself and
    // takes the presses on its buttons.
    // TRUE when handled, with the message's result.
    BOOL OnBarMessage(CControlBar* bar, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The button under a client point, -1 for none or a separator.
    int HitButton(CPoint point) const;

    // Asks the target's update handlers about every button that is not a
    // separator: enabled, checked (1) or indeterminate (2).
    void Update(CCmdTarget* target, CWnd* bar, BOOL disableIfNoHandler);

private:
    friend class CToolBarImages;
    std::vector<TBBUTTON> GetButtons() const;
    int ButtonWidth(const TBBUTTON& button) const;
    // Sets the wrap states for rows no wider than width (INT_MAX: one row;
    // 0: a row for every button).
    void WrapForWidth(std::vector<TBBUTTON>& buttons, int width) const;
    void ApplyStates(const std::vector<TBBUTTON>& buttons) const;
    CSize Measure() const;
    CSize LayoutForWidth(std::vector<TBBUTTON>& buttons, int width) const;

    HWND m_hWnd;
};

// A tool bar's button and image sizes and the bitmap of its images.
class CToolBarImages {
public:
    CToolBarImages() = default;
    ~CToolBarImages();
    CToolBarImages(const CToolBarImages&) = delete;
    CToolBarImages& operator=(const CToolBarImages&) = delete;

    void SetSizes(HWND toolbar, SIZE button, SIZE image);
    // The resource's buttons, sizes and images (the bitmap of the same id).
    BOOL LoadToolBar(HWND toolbar, UINT resourceId);
    BOOL LoadBitmap(HWND toolbar, UINT bitmapId);
    // Loads the bitmap again for today's system colours.
    void ReloadBitmap(HWND toolbar);

    CSize m_sizeButton{23, 22};
    CSize m_sizeImage{16, 15};

private:
    HBITMAP m_hbmImageWell = nullptr;
    UINT m_nBitmapId = 0;
};

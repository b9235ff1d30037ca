// The saved layout of a frame's bars: one record per bar or dock bar, kept
// in the application's profile as sections "<profile>-Summary" and
// "<profile>-Bar<n>" of REG_DWORD values.
#pragma once
#include "platform/classlib/controlbar.h"
#include <vector>

class CControlBarInfo {
public:
    UINT m_nBarID = 0;
    BOOL m_bVisible = TRUE;
    BOOL m_bFloating = FALSE;
    BOOL m_bHorz = TRUE;
    BOOL m_bDockBar = FALSE;
    // A docked bar's place in its dock bar, a floating frame's place on
    // the screen; (-1, -1) when none.
    CPoint m_pointPos{-1, -1};
    int m_nMRUWidth = 32767;
    BOOL m_bDocking = FALSE;
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos;
    // A dock bar's entries: bar ids, 0 for a row break; an id with bits
    // above the low word set stands for a hidden bar.
    std::vector<DWORD> m_arrBarID;

    // Reads "<profile>-Bar<index>"; FALSE when a value is out of range.
    BOOL LoadState(LPCSTR profile, int index);
    // Writes it, skipping the values that equal their defaults; FALSE
    // (nothing written) for a plain side dock bar that holds nothing.
    BOOL SaveState(LPCSTR profile, int index) const;
};

class CDockState {
public:
    // Reads the summary and every record; a damaged layout (counts out of
    // range, unreadable records) leaves the state empty. FALSE then.
    BOOL LoadState(LPCSTR profile);
    void SaveState(LPCSTR profile) const;
    void Clear() { m_arrBarInfo.clear(); }
    // Moves every saved position to today's screen when it was saved on
    // one of another size.
    void ScaleToScreen();

    std::vector<CControlBarInfo> m_arrBarInfo;
    CSize m_sizeScreen;
};

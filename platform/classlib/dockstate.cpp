#include "platform/classlib/dockstate.h"
#include <algorithm>
#include "platform/classlib/dockbar.h"
#include "platform/classlib/winapp.h"

namespace {

// Layouts with more records or entries than this are damaged.
const int kMaxBarRecords = 256;
const int kMaxDockEntries = 1024;
// Saved coordinates are held to this range, so that no later sum overflows.
const int kMaxCoordinate = 32767;

int ReadInt(CWinApp* app, LPCSTR section, LPCSTR entry, int defaultValue)
{
    return (int)app->GetProfileInt(section, entry, defaultValue);
}

int ClampCoordinate(int value)
{
    return std::max(-kMaxCoordinate - 1, std::min(value, kMaxCoordinate));
}

int ReadCoordinate(CWinApp* app, LPCSTR section, LPCSTR entry, int defaultValue)
{
    return ClampCoordinate(ReadInt(app, section, entry, defaultValue));
}

void WriteUnlessDefault(CWinApp* app, LPCSTR section, LPCSTR entry, int value, int defaultValue)
{
    if (value != defaultValue)
        app->WriteProfileInt(section, entry, value);
}

CString BarSection(LPCSTR profile, int index)
{
    CString section;
    section.Format("%s-Bar%d", profile, index);
    return section;
}

int Scale(int value, int now, int saved)
{
    return saved > 0 ? ::MulDiv(value, now, saved) : value;
}

}  // namespace

BOOL CControlBarInfo::LoadState(LPCSTR profile, int index)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    CString section = BarSection(profile, index);
    m_nBarID = (UINT)ReadInt(app, section, "BarID", 0);
    m_bVisible = ReadInt(app, section, "Visible", TRUE) != 0;
    m_bHorz = ReadInt(app, section, "Horz", TRUE) != 0;
    m_bFloating = ReadInt(app, section, "Floating", FALSE) != 0;
    m_pointPos.x = ReadCoordinate(app, section, "XPos", -1);
    m_pointPos.y = ReadCoordinate(app, section, "YPos", -1);
    m_nMRUWidth = ReadCoordinate(app, section, "MRUWidth", 32767);
    m_bDocking = ReadInt(app, section, "Docking", FALSE) != 0;
    if (m_bDocking) {
        m_uMRUDockID = (UINT)ReadInt(app, section, "MRUDockID", 0);
        m_rectMRUDockPos.left = ReadCoordinate(app, section, "MRUDockLeftPos", 0);
        m_rectMRUDockPos.top = ReadCoordinate(app, section, "MRUDockTopPos", 0);
        m_rectMRUDockPos.right = ReadCoordinate(app, section, "MRUDockRightPos", 0);
        m_rectMRUDockPos.bottom = ReadCoordinate(app, section, "MRUDockBottomPos", 0);
        m_dwMRUFloatStyle = (DWORD)ReadInt(app, section, "MRUFloatStyle", 0);
        // x = CW_USEDEFAULT marks a bar that never floated.
        int floatX = ReadInt(app, section, "MRUFloatXPos", 0);
        m_ptMRUFloatPos.x = floatX == CW_USEDEFAULT ? CW_USEDEFAULT : ClampCoordinate(floatX);
        m_ptMRUFloatPos.y = ReadCoordinate(app, section, "MRUFloatYPos", 0);
    }
    int entries = ReadInt(app, section, "Bars", 0);
    if (entries < 0 || entries > kMaxDockEntries)
        return FALSE;
    m_arrBarID.clear();
    for (int i = 0; i < entries; ++i) {
        CString entry;
        entry.Format("Bar#%d", i);
        m_arrBarID.push_back((DWORD)ReadInt(app, section, entry, 0));
    }
    m_bDockBar = entries > 0 || IsSideDockBarId(m_nBarID);
    return TRUE;
}

BOOL CControlBarInfo::SaveState(LPCSTR profile, int index) const
{
    CWinApp* app = AfxGetApp();
    bool emptySide = m_bDockBar && !m_bFloating && m_bVisible && m_pointPos == CPoint(-1, -1) &&
                     m_arrBarID.size() <= 1;
    if (!app || emptySide)
        return FALSE;
    CString section = BarSection(profile, index);
    app->WriteProfileString(section, nullptr, nullptr);
    WriteUnlessDefault(app, section, "BarID", (int)m_nBarID, 0);
    WriteUnlessDefault(app, section, "Visible", m_bVisible, TRUE);
    if (m_bFloating)
        WriteUnlessDefault(app, section, "Horz", m_bHorz, TRUE);
    WriteUnlessDefault(app, section, "Floating", m_bFloating, FALSE);
    WriteUnlessDefault(app, section, "XPos", m_pointPos.x, -1);
    WriteUnlessDefault(app, section, "YPos", m_pointPos.y, -1);
    WriteUnlessDefault(app, section, "MRUWidth", m_nMRUWidth, 32767);
    WriteUnlessDefault(app, section, "Docking", m_bDocking, FALSE);
    if (m_bDocking) {
        WriteUnlessDefault(app, section, "MRUDockID", (int)m_uMRUDockID, 0);
        WriteUnlessDefault(app, section, "MRUDockLeftPos", m_rectMRUDockPos.left, 0);
        WriteUnlessDefault(app, section, "MRUDockTopPos", m_rectMRUDockPos.top, 0);
        WriteUnlessDefault(app, section, "MRUDockRightPos", m_rectMRUDockPos.right, 0);
        WriteUnlessDefault(app, section, "MRUDockBottomPos", m_rectMRUDockPos.bottom, 0);
        WriteUnlessDefault(app, section, "MRUFloatStyle", (int)m_dwMRUFloatStyle, 0);
        WriteUnlessDefault(app, section, "MRUFloatXPos", m_ptMRUFloatPos.x, 0);
        WriteUnlessDefault(app, section, "MRUFloatYPos", m_ptMRUFloatPos.y, 0);
    }
    WriteUnlessDefault(app, section, "Bars", (int)m_arrBarID.size(), 0);
    if (m_arrBarID.size() > 1) {
        for (size_t i = 0; i < m_arrBarID.size(); ++i) {
            CString entry;
            entry.Format("Bar#%d", (int)i);
            WriteUnlessDefault(app, section, entry, (int)m_arrBarID[i], 0);
        }
    }
    return TRUE;
}

BOOL CDockState::LoadState(LPCSTR profile)
{
    Clear();
    CWinApp* app = AfxGetApp();
    if (!app)
        return FALSE;
    CString summary;
    summary.Format("%s-Summary", profile);
    int records = ReadInt(app, summary, "Bars", 0);
    m_sizeScreen.cx = ReadInt(app, summary, "ScreenCX", 0);
    m_sizeScreen.cy = ReadInt(app, summary, "ScreenCY", 0);
    if (records < 0 || records > kMaxBarRecords)
        return FALSE;
    for (int i = 0; i < records; ++i) {
        CControlBarInfo info;
        if (!info.LoadState(profile, i)) {
            Clear();
            return FALSE;
        }
        m_arrBarInfo.push_back(info);
    }
    return TRUE;
}

void CDockState::SaveState(LPCSTR profile) const
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return;
    int written = 0;
    for (const CControlBarInfo& info : m_arrBarInfo) {
        if (info.SaveState(profile, written))
            ++written;
    }
    CString summary;
    summary.Format("%s-Summary", profile);
    app->WriteProfileString(summary, nullptr, nullptr);
    app->WriteProfileInt(summary, "Bars", written);
    app->WriteProfileInt(summary, "ScreenCX", ::GetSystemMetrics(SM_CXSCREEN));
    app->WriteProfileInt(summary, "ScreenCY", ::GetSystemMetrics(SM_CYSCREEN));
}

void CDockState::ScaleToScreen()
{
    CSize now(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    if (m_sizeScreen.cx <= 0 || m_sizeScreen.cy <= 0 || m_sizeScreen == now)
        return;
    for (CControlBarInfo& info : m_arrBarInfo) {
        if (info.m_pointPos != CPoint(-1, -1)) {
            info.m_pointPos.x = Scale(info.m_pointPos.x, now.cx, m_sizeScreen.cx);
            info.m_pointPos.y = Scale(info.m_pointPos.y, now.cy, m_sizeScreen.cy);
        }
        CRect& dock = info.m_rectMRUDockPos;
        dock.SetRect(Scale(dock.left, now.cx, m_sizeScreen.cx), Scale(dock.top, now.cy, m_sizeScreen.cy),
                     Scale(dock.right, now.cx, m_sizeScreen.cx), Scale(dock.bottom, now.cy, m_sizeScreen.cy));
        if (info.m_ptMRUFloatPos.x != CW_USEDEFAULT) {
            info.m_ptMRUFloatPos.x = Scale(info.m_ptMRUFloatPos.x, now.cx, m_sizeScreen.cx);
            info.m_ptMRUFloatPos.y = Scale(info.m_ptMRUFloatPos.y, now.cy, m_sizeScreen.cy);
        }
    }
    m_sizeScreen = now;
}

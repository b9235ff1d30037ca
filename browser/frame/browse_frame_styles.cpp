// The six interface styles of the browse frame. Styles 1 to 4 are stored
// bar layouts, written in the docking frame's layout format and loaded;
// styles 5 and 6 dock one bar at the bottom of a narrow window and hide the
// other. Whatever is in force at close is saved as "Bar State".
#include "browser/frame/browse_frame.h"

#include <string>
#include <vector>

#include "browser/dialogs/browse_view_type.h"
#include "core/preference.h"
#include "core/registry_root.h"
#include "resources/resource.h"

namespace {

const char kBarStateProfile[] = "Bar State";
const char kStyleProbeKey[] = "Bar State-SCBar-105";
// Every key a layout may hold; ResetBarState deletes them all.
const char* const kLayoutKeys[] = {"Bar State-Bar0",      "Bar State-Bar1",      "Bar State-Bar2",
                                   "Bar State-Bar3",      "Bar State-Bar4",      "Bar State-Bar5",
                                   "Bar State-Bar6",      "Bar State-SCBar-105", "Bar State-SCBar-106",
                                   "Bar State-Summary"};
const UINT kToolBarId = AFX_IDW_TOOLBAR;
const UINT kStatusBarId = AFX_IDW_STATUS_BAR;
const UINT kTopDock = AFX_IDW_DOCKBAR_TOP;
const UINT kLeftDock = AFX_IDW_DOCKBAR_LEFT;
const UINT kBottomDock = AFX_IDW_DOCKBAR_BOTTOM;
// A bar that never floated: no floating position.
const DWORD kNoFloatX = 0x80000000;
const DWORD kNoFloatY = 0xCDCDCDCD;
const DWORD kStoredScreenWidth = 1024;
const DWORD kStoredScreenHeight = 768;
// Styles 5 and 6: a window two thumbnails wide, plus its frame.
const int kNarrowWindowExtra = 50;

struct LayoutValue {
    std::string name;
    DWORD value;
};

struct LayoutEntry {
    std::string key;
    std::vector<LayoutValue> values;
};

typedef std::vector<LayoutEntry> Layout;

// A dock bar's rows: bar ids, 0 between rows.
LayoutEntry DockRows(const char* key, UINT dockBar, const std::vector<UINT>& slots)
{
    LayoutEntry entry = {key, {{"BarID", dockBar}, {"Bars", (DWORD)slots.size()}}};
    for (size_t i = 0; i < slots.size(); ++i)
        entry.values.push_back({"Bar#" + std::to_string(i), slots[i]});
    return entry;
}

struct DockedPlace {
    int left, top, right, bottom;
    UINT dockBar;
    int x, y;
};

LayoutEntry DockedBar(const char* key, UINT barId, const DockedPlace& place, DWORD floatStyle,
                      DWORD floatX = kNoFloatX, DWORD floatY = kNoFloatY)
{
    return {key,
            {{"BarID", barId},
             {"Docking", 1},
             {"MRUDockBottomPos", (DWORD)place.bottom},
             {"MRUDockID", place.dockBar},
             {"MRUDockLeftPos", (DWORD)place.left},
             {"MRUDockRightPos", (DWORD)place.right},
             {"MRUDockTopPos", (DWORD)place.top},
             {"MRUFloatStyle", floatStyle},
             {"MRUFloatXPos", floatX},
             {"MRUFloatYPos", floatY},
             {"XPos", (DWORD)place.x},
             {"YPos", (DWORD)place.y}}};
}

LayoutEntry SizingBar(const char* key, SIZE floating, SIZE horizontal, SIZE vertical)
{
    return {key,
            {{"sizeFloatCX", (DWORD)floating.cx},
             {"sizeFloatCY", (DWORD)floating.cy},
             {"sizeHorzCX", (DWORD)horizontal.cx},
             {"sizeHorzCY", (DWORD)horizontal.cy},
             {"sizeVertCX", (DWORD)vertical.cx},
             {"sizeVertCY", (DWORD)vertical.cy},
             {"Expanded", 0}}};
}

LayoutEntry Summary(DWORD bars)
{
    return {"Bar State-Summary",
            {{"Bars", bars}, {"ScreenCX", kStoredScreenWidth}, {"ScreenCY", kStoredScreenHeight}}};
}

const DWORD kHorizontalFloat = 0x1000;
const DWORD kVerticalFloat = 4;
const SIZE kPreviewFloat = {225, 80};
const SIZE kTreeFloat = {225, 100};

Layout CommonEntries()
{
    return {DockedBar("Bar State-Bar0", kToolBarId, {0, -2, 686, 25, 0, 0, -2}, 0x2004),
            {"Bar State-Bar1", {{"BarID", kStatusBarId}}}};
}

Layout Style1()
{
    return {DockRows("Bar State-Bar2", kTopDock, {0, kToolBarId, 0}),
            DockRows("Bar State-Bar3", kLeftDock, {0, ID_TREE_BAR, ID_PREVIEW_BAR, 0}),
            DockedBar("Bar State-Bar4", ID_TREE_BAR, {0, -2, 465, 326, 0, 0, -2}, kVerticalFloat),
            DockedBar("Bar State-Bar5", ID_PREVIEW_BAR, {0, 328, 225, 657, kLeftDock, 0, 328}, kVerticalFloat),
            SizingBar("Bar State-SCBar-105", kPreviewFloat, {225, 80}, {465, 329}),
            SizingBar("Bar State-SCBar-106", kTreeFloat, {225, 100}, {465, 328}),
            Summary(6)};
}

Layout Style2()
{
    return {DockRows("Bar State-Bar2", kTopDock, {0, kToolBarId, 0}),
            DockRows("Bar State-Bar3", kBottomDock, {0, ID_PREVIEW_BAR, 0}),
            DockRows("Bar State-Bar4", kLeftDock, {0, ID_TREE_BAR, 0}),
            DockedBar("Bar State-Bar5", ID_TREE_BAR, {0, -2, 465, 321, 0, 0, -2}, kVerticalFloat),
            DockedBar("Bar State-Bar6", ID_PREVIEW_BAR, {0, -2, 1024, 332, kBottomDock, 0, -2}, kHorizontalFloat,
                      952, 220),
            SizingBar("Bar State-SCBar-105", kPreviewFloat, {1024, 334}, {465, 519}),
            SizingBar("Bar State-SCBar-106", kTreeFloat, {225, 100}, {465, 323}),
            Summary(7)};
}

// Styles 3 and 4 share the second top row's sizes.
Layout SecondTopRow(const std::vector<UINT>& row, const LayoutEntry& treeBar, const LayoutEntry& previewBar)
{
    std::vector<UINT> slots = {0, kToolBarId, 0};
    slots.insert(slots.end(), row.begin(), row.end());
    slots.push_back(0);
    return {DockRows("Bar State-Bar2", kTopDock, slots),
            treeBar,
            previewBar,
            SizingBar("Bar State-SCBar-105", kPreviewFloat, {577, 398}, {465, 519}),
            SizingBar("Bar State-SCBar-106", kTreeFloat, {447, 398}, {465, 323}),
            Summary(5)};
}

Layout Style3()
{
    return SecondTopRow(
        {ID_TREE_BAR, ID_PREVIEW_BAR},
        DockedBar("Bar State-Bar3", ID_TREE_BAR, {0, 23, 447, 421, kTopDock, 0, 23}, kVerticalFloat),
        DockedBar("Bar State-Bar4", ID_PREVIEW_BAR, {447, 23, 1024, 421, kTopDock, 447, 23}, kHorizontalFloat, 952,
                  220));
}

Layout Style4()
{
    // The tree's remembered left edge (557) is not its position in the row
    // (577); both are kept as the layout has always had them.
    return SecondTopRow(
        {ID_PREVIEW_BAR, ID_TREE_BAR},
        DockedBar("Bar State-Bar3", ID_TREE_BAR, {557, 23, 1024, 421, kTopDock, 577, 23}, kVerticalFloat),
        DockedBar("Bar State-Bar4", ID_PREVIEW_BAR, {0, 23, 577, 421, kTopDock, 0, 23}, kHorizontalFloat, 952,
                  220));
}

// Writes each entry under the program's root key; a key that cannot be
// made is skipped with its values.
void WriteLayout(const Layout& layout)
{
    for (const LayoutEntry& entry : layout) {
        std::string path = std::string(HARBECK_REGISTRY_ROOT) + entry.key;
        HKEY key = NULL;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
            continue;
        for (const LayoutValue& value : entry.values)
            ::RegSetValueExA(key, value.name.c_str(), 0, REG_DWORD, (const BYTE*)&value.value, sizeof(DWORD));
        ::RegCloseKey(key);
    }
}

}  // namespace

void CBrowseFrame::ResetBarState()
{
    for (const char* name : kLayoutKeys)
        ::RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(HARBECK_REGISTRY_ROOT) + name).c_str());
    WriteLayout(CommonEntries());
}

void CBrowseFrame::WriteLayoutStyle1()
{
    ResetBarState();
    WriteLayout(Style1());
}

void CBrowseFrame::WriteLayoutStyle2()
{
    ResetBarState();
    WriteLayout(Style2());
}

void CBrowseFrame::WriteLayoutStyle3()
{
    ResetBarState();
    WriteLayout(Style3());
}

void CBrowseFrame::WriteLayoutStyle4()
{
    ResetBarState();
    WriteLayout(Style4());
}

void CBrowseFrame::EnsureBarState()
{
    HKEY key = NULL;
    std::string path = std::string(HARBECK_REGISTRY_ROOT) + kStyleProbeKey;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        ::RegCloseKey(key);
        return;
    }
    ApplyInterfaceStyle(1);
}

void CBrowseFrame::OnInterfaceStyle()
{
    // A cancelled dialog, or OK without a chosen tile, changes nothing.
    CBrowseViewType dialog(NULL);
    if (dialog.DoModal() == IDOK)
        ApplyInterfaceStyle(dialog.m_style);
}

void CBrowseFrame::ApplyInterfaceStyle(int style)
{
    switch (style) {
    case 1:
        WriteLayoutStyle1();
        break;
    case 2:
        WriteLayoutStyle2();
        break;
    case 3:
        WriteLayoutStyle3();
        break;
    case 4:
        WriteLayoutStyle4();
        break;
    case 5:
        ApplyBottomStyle(&m_previewBar, &m_treeBar);
        return;
    case 6:
        ApplyBottomStyle(&m_treeBar, &m_previewBar);
        return;
    default:
        return;
    }
    LoadBarState(kBarStateProfile);
    ShowWindow(SW_MAXIMIZE);
    RecalcLayout();
}

void CBrowseFrame::ApplyBottomStyle(CControlBar* shown, CControlBar* hidden)
{
    hidden->ShowWindow(SW_HIDE);
    shown->ShowWindow(SW_SHOWNORMAL);
    shown->EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(shown, AFX_IDW_DOCKBAR_BOTTOM);
    ShowWindow(SW_SHOWNORMAL);
    CRect window;
    GetWindowRect(&window);
    MoveWindow(0, 0, 2 * Preference.ThumbWidth + kNarrowWindowExtra, window.Height(), TRUE);
    RecalcLayout();
}

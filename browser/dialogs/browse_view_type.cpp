#include "browser/dialogs/browse_view_type.h"

#include "resources/browser_dialogs_ids.h"

namespace {

struct StyleTile {
    UINT control;
    UINT picture;
};

// In the order of the styles 1 to 6.
const StyleTile kStyleTiles[CBrowseViewType::kStyleCount] = {
    {IDC_VIEW_TYPE_TILE1, IDB_BROWSE_STYLE1}, {IDC_VIEW_TYPE_TILE2, IDB_BROWSE_STYLE2},
    {IDC_VIEW_TYPE_TILE3, IDB_BROWSE_STYLE3}, {IDC_VIEW_TYPE_TILE4, IDB_BROWSE_STYLE4},
    {IDC_VIEW_TYPE_TILE5, IDB_BROWSE_STYLE5}, {IDC_VIEW_TYPE_TILE6, IDB_BROWSE_STYLE6},
};

}  // namespace

BEGIN_MESSAGE_MAP(CBrowseViewType, CDialog)
    ON_MESSAGE(WM_CAVUS_DBLCLK, &CBrowseViewType::OnTileDoubleClick)
END_MESSAGE_MAP()

CBrowseViewType::CBrowseViewType(CWnd* parent)
    : CDialog(IDD_BROWSE_VIEW_TYPE, parent),
      m_style(0)
{
}

BOOL CBrowseViewType::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (int index = 0; index < kStyleCount; ++index) {
        m_tiles[index].SubclassDlgItem(kStyleTiles[index].control, this);
        m_tiles[index].LoadDib(kStyleTiles[index].picture, "ADDBITMAP");
        m_tiles[index].m_selectable = true;
    }
    m_tiles[0].Select();
    return TRUE;
}

void CBrowseViewType::OnOK()
{
    m_style = 0;
    for (int index = 0; index < kStyleCount; ++index) {
        if (m_tiles[index].IsSelected())
            m_style = index + 1;
    }
    EndDialog(IDOK);
}

LRESULT CBrowseViewType::OnTileDoubleClick(WPARAM, LPARAM)
{
    OnOK();
    return 0;
}

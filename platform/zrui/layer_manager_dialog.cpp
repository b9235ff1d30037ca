#include "platform/zrui/layer_manager_dialog.h"

#include "platform/zrio/drawing.h"
#include "platform/zrui/dialog_support.h"
#include "platform/zrui/zrui.h"
#include "resources/zrui_ids.h"

namespace ZrUI {

BEGIN_MESSAGE_MAP(CLayerManagerDialog, CDialog)
ON_BN_CLICKED(IDC_ZRUI_LAYER_ON, &CLayerManagerDialog::OnSwitchOn)
ON_BN_CLICKED(IDC_ZRUI_LAYER_FREEZE, &CLayerManagerDialog::OnSwitchFrozen)
ON_BN_CLICKED(IDC_ZRUI_LAYER_COLOR, &CLayerManagerDialog::OnChooseColor)
ON_BN_CLICKED(IDC_ZRUI_LAYER_ALL_ON, &CLayerManagerDialog::OnAllOn)
ON_BN_CLICKED(IDC_ZRUI_LAYER_ALL_THAW, &CLayerManagerDialog::OnAllThawed)
ON_NOTIFY(NM_CLICK, IDC_ZRUI_LAYER_LIST, &CLayerManagerDialog::OnListClick)
ON_NOTIFY(NM_DBLCLK, IDC_ZRUI_LAYER_LIST, &CLayerManagerDialog::OnListDoubleClick)
END_MESSAGE_MAP()

CLayerManagerDialog::CLayerManagerDialog(CDrawing* drawing, CWnd* parent)
    : CDialog(IDD_ZRUI_LAYERS, parent), m_drawing(drawing)
{
}

BOOL CLayerManagerDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_list.Attach(this, IDC_ZRUI_LAYER_LIST);
    m_list.AddColumn(kNameColumn, IDS_ZRUI_COLUMN_LAYER, LVCFMT_LEFT, 40);
    m_list.AddColumn(kOnColumn, IDS_ZRUI_COLUMN_ON, LVCFMT_LEFT, 15);
    m_list.AddColumn(kFrozenColumn, IDS_ZRUI_COLUMN_FROZEN, LVCFMT_LEFT, 15);
    m_list.AddColumn(kColorColumn, IDS_ZRUI_COLUMN_COLOR, LVCFMT_LEFT, 30);
    int count = m_drawing ? m_drawing->getLayerCount() : 0;
    for (int row = 0; row < count; ++row) {
        char name[256] = "";
        m_drawing->getLayerName(row, name, sizeof(name));
        LayerRow layer = {m_drawing->isLayerOn(row), m_drawing->isLayerFrozen(row),
                          (short)m_drawing->getLayerColor(row)};
        m_rows.push_back(layer);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.pszText = name;
        item.iImage = I_IMAGENONE;
        m_list.InsertItem(&item);
        ShowRow(row);
    }
    if (count > 0)
        m_list.SetItemState(0, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    return TRUE;
}

void CLayerManagerDialog::ShowRow(int row)
{
    const LayerRow& layer = m_rows[row];
    m_list.SetItemText(row, kOnColumn, LibraryText(layer.on ? IDS_ZRUI_LAYER_ON : IDS_ZRUI_LAYER_OFF));
    m_list.SetItemText(row, kFrozenColumn,
                       LibraryText(layer.frozen ? IDS_ZRUI_LAYER_FROZEN : IDS_ZRUI_LAYER_THAWED));
    m_list.ShowColor(row, kColorColumn, layer.color);
}

void CLayerManagerDialog::SwitchSelected(bool LayerRow::*state)
{
    std::vector<int> rows = m_list.SelectedRows();
    if (rows.empty())
        return;
    // The selection follows its first layer, switched.
    bool switched = !(m_rows[rows[0]].*state);
    for (int row : rows) {
        m_rows[row].*state = switched;
        ShowRow(row);
    }
}

void CLayerManagerDialog::OnSwitchOn()
{
    SwitchSelected(&LayerRow::on);
}

void CLayerManagerDialog::OnSwitchFrozen()
{
    SwitchSelected(&LayerRow::frozen);
}

void CLayerManagerDialog::ChooseColorFor(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    short current = m_rows[rows[0]].color;
    short chosen = SelectColor(current);
    // Layers take the colours 1 to 255.
    if (chosen == current || chosen < 1 || chosen > 255)
        return;
    for (int row : rows) {
        m_rows[row].color = chosen;
        ShowRow(row);
    }
}

void CLayerManagerDialog::OnChooseColor()
{
    ChooseColorFor(m_list.SelectedRows());
}

void CLayerManagerDialog::OnAllOn()
{
    for (size_t row = 0; row < m_rows.size(); ++row) {
        m_rows[row].on = true;
        ShowRow((int)row);
    }
}

void CLayerManagerDialog::OnAllThawed()
{
    for (size_t row = 0; row < m_rows.size(); ++row) {
        m_rows[row].frozen = false;
        ShowRow((int)row);
    }
}

void CLayerManagerDialog::OnListClick(NMHDR* header, LRESULT* result)
{
    *result = 0;
    NMITEMACTIVATE* click = (NMITEMACTIVATE*)header;
    if (click->iItem < 0 || click->iItem >= (int)m_rows.size())
        return;
    LayerRow& layer = m_rows[click->iItem];
    if (click->iSubItem == kOnColumn)
        layer.on = !layer.on;
    else if (click->iSubItem == kFrozenColumn)
        layer.frozen = !layer.frozen;
    else
        return;
    ShowRow(click->iItem);
}

void CLayerManagerDialog::OnListDoubleClick(NMHDR* header, LRESULT* result)
{
    *result = 0;
    NMITEMACTIVATE* click = (NMITEMACTIVATE*)header;
    if (click->iItem >= 0 && click->iItem < (int)m_rows.size() && click->iSubItem == kColorColumn)
        ChooseColorFor(std::vector<int>(1, click->iItem));
}

bool CLayerManagerDialog::ApplyChanges()
{
    bool changed = false;
    for (size_t index = 0; index < m_rows.size(); ++index) {
        int row = (int)index;
        const LayerRow& layer = m_rows[index];
        if (layer.on != m_drawing->isLayerOn(row)) {
            m_drawing->setLayerOn(row, layer.on);
            changed = true;
        }
        if (layer.frozen != m_drawing->isLayerFrozen(row)) {
            m_drawing->setLayerFrozen(row, layer.frozen);
            changed = true;
        }
        if (layer.color != m_drawing->getLayerColor(row)) {
            m_drawing->setLayerColor(row, layer.color);
            changed = true;
        }
    }
    return changed;
}

int showLayerManager(CDrawing* drawing)
{
    if (!drawing || !drawing->isLoaded())
        return 0;
    CLayerManagerDialog dialog(drawing);
    if (dialog.DoModal() != IDOK)
        return 0;
    return dialog.ApplyChanges() ? 1 : 0;
}

}  // namespace ZrUI

#include "toolkit/controls/ui_list_ctrl_data.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CUIListCtrlData, CObject)
IMPLEMENT_DYNAMIC(CUIStrListCtrlData, CUIListCtrlData)

CUIListCtrlData::~CUIListCtrlData()
{
    for (CFont* font : m_fonts)
        delete font;
    if (m_ownsObject)
        delete static_cast<CObject*>(m_object);
}

LPCSTR CUIListCtrlData::GetCellText(int) const
{
    return nullptr;
}

void CUIListCtrlData::SetCellFont(int column, const LOGFONTA& logFont)
{
    if (column < 0)
        return;
    if ((size_t)column >= m_fonts.size())
        m_fonts.resize(column + 1, nullptr);
    delete m_fonts[column];
    m_fonts[column] = new CFont;
    m_fonts[column]->CreateFontIndirect(&logFont);
}

CFont* CUIListCtrlData::GetCellFont(int column) const
{
    return column >= 0 && (size_t)column < m_fonts.size() ? m_fonts[column] : nullptr;
}

CUIStrListCtrlData::CUIStrListCtrlData(int columnCount) : m_cellTexts((size_t)std::max<int>(columnCount, 0))
{
}

LPCSTR CUIStrListCtrlData::GetCellText(int column) const
{
    if (column < 0 || (size_t)column >= m_cellTexts.size())
        return nullptr;
    return m_cellTexts[column].c_str();
}

bool CUIStrListCtrlData::SetCellText(int column, LPCSTR text)
{
    if (column < 0)
        return false;
    if ((size_t)column >= m_cellTexts.size())
        m_cellTexts.resize(column + 1);
    bool hadText = !m_cellTexts[column].empty();
    m_cellTexts[column] = text ? text : "";
    return hadText;
}

CUIObjList::~CUIObjList()
{
    DeleteAll();
}

void CUIObjList::DeleteAll()
{
    POSITION position = GetHeadPosition();
    while (position)
        delete static_cast<CUIListCtrlData*>(GetNext(position));
    RemoveAll();
}

#include "graphics/cad_color_table.h"

#include "core/global_objects.h"
#include "core/log_file.h"
#include "platform/zrio/aci_palette.h"

KCadColorTable g_CadColorTable __attribute__((init_priority(kGlobalRankCadColorTable)));

namespace {

struct GreyTable {
    BYTE level[256];
};

GreyTable BuildGreyTable()
{
    GreyTable table;
    for (int index = 0; index < 256; ++index) {
        COLORREF colour = zrio::AciColor(index);
        // Integer weights keep an even grey such as (118, 118, 118) at 118.
        table.level[index] = static_cast<BYTE>(
            (299 * GetRValue(colour) + 587 * GetGValue(colour) + 114 * GetBValue(colour)) / 1000);
    }
    return table;
}

const GreyTable& Greys()
{
    static const GreyTable table = BuildGreyTable();
    return table;
}

bool IsIndex(int index)
{
    return index >= 0 && index <= 255;
}

}  // namespace

KCadColorTable::KCadColorTable() : mode(ModeColour), background(0)
{
    Greys();
    WriteLog(NULL, "Construct g_CadColorTable");
}

KCadColorTable::~KCadColorTable()
{
    WriteLog(NULL, "Destroy g_CadColorTable");
}

int KCadColorTable::GreyLevel(int index)
{
    return IsIndex(index) ? Greys().level[index] : 0;
}

COLORREF KCadColorTable::GetColor(int index) const
{
    COLORREF colour;
    switch (mode) {
    case ModeColour:
        colour = zrio::AciColor(index);
        break;
    case ModeGrey: {
        int level = GreyLevel(index);
        colour = RGB(level, level, level);
        break;
    }
    case ModeBlackWhite:
        colour = IsIndex(index) && index != 0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
        break;
    default:
        return 0;
    }
    return AvoidBackground(colour);
}

COLORREF KCadColorTable::AvoidBackground(COLORREF colour) const
{
    if (colour != background)
        return colour;
    return RGB(255 - GetRValue(colour), 255 - GetGValue(colour), 255 - GetBValue(colour));
}

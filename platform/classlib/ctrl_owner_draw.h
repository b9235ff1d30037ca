// Owner-draw messages that reach a control from its parent (by reflection)
// go to the control's own DrawItem and MeasureItem.
#pragma once
#include <windows.h>

template <class Control>
bool OfferDrawItem(Control* control, UINT message, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM)
        return false;
    control->DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (result)
        *result = TRUE;
    return true;
}

template <class Control>
bool OfferMeasureItem(Control* control, UINT message, LPARAM lParam, LRESULT* result)
{
    if (message != WM_MEASUREITEM)
        return false;
    control->MeasureItem((LPMEASUREITEMSTRUCT)lParam);
    if (result)
        *result = TRUE;
    return true;
}

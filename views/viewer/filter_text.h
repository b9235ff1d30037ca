// The filter text of a file dialog, from a table of entries that each hold a
// string id of the description and the pattern that follows it ("|*.BMP|";
// the last pattern ends the text with its doubled bar).
#pragma once
#include "platform/classlib/classlib.h"

#include <stddef.h>

template <class Entry, size_t Count>
CString FilterText(const Entry (&entries)[Count])
{
    CString filter;
    for (const Entry& entry : entries) {
        CString description;
        description.LoadString(entry.description);
        filter += description;
        filter += entry.pattern;
    }
    return filter;
}

// What the library tells of the user's locale.
#pragma once
#include <windows.h>

namespace ZrUI {

class CSystemInfo {
public:
    // The decimal separator of the user's locale; '.' when the locale's is
    // not a single character.
    char getDecimalSep() const;
};

}  // namespace ZrUI

extern ZrUI::CSystemInfo g_systemInfo;

#include "platform/zrui/system_info.h"

ZrUI::CSystemInfo g_systemInfo;

namespace ZrUI {

char CSystemInfo::getDecimalSep() const
{
    char separator[4] = "";
    int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof(separator));
    // The length counts the terminating zero.
    return length == 2 ? separator[0] : '.';
}

}  // namespace ZrUI

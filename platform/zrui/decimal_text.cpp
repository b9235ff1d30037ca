#include "platform/zrui/decimal_text.h"

#include <math.h>
#include <stdio.h>

#include <string>

#include "platform/zrui/system_info.h"

namespace ZrUI {

CString DecimalText(double value, int decimals)
{
    if (!isfinite(value))
        return CString("0");
    char text[400];
    snprintf(text, sizeof(text), "%.*f", decimals, value);
    std::string written(text);
    // The C runtime writes its own locale's point: find it as the first
    // character that is no digit.
    size_t dot = written.find_first_not_of("-0123456789");
    if (dot != std::string::npos) {
        while (written.back() == '0')
            written.pop_back();
        if (written.back() == '.')
            written.pop_back();
        else
            written[dot] = g_systemInfo.getDecimalSep();
    }
    if (written == "-0")
        written = "0";
    return CString(written.c_str());
}

bool ParseDecimal(const char* text, double* value)
{
    if (!text || !value)
        return false;
    char separator = g_systemInfo.getDecimalSep();
    const char* at = text;
    while (*at == ' ')
        ++at;
    bool negative = *at == '-';
    if (*at == '-' || *at == '+')
        ++at;
    // Read digit by digit: the C runtime's own readers follow its locale.
    double whole = 0.0;
    double fraction = 0.0;
    double fractionScale = 1.0;
    bool digits = false;
    bool point = false;
    for (; *at && *at != ' '; ++at) {
        if (*at >= '0' && *at <= '9') {
            digits = true;
            if (point) {
                fractionScale /= 10.0;
                fraction += (*at - '0') * fractionScale;
            } else {
                whole = whole * 10.0 + (*at - '0');
            }
        } else if ((*at == '.' || *at == separator) && !point) {
            point = true;
        } else {
            return false;
        }
    }
    while (*at == ' ')
        ++at;
    double read = whole + fraction;
    if (!digits || *at || !isfinite(read))
        return false;
    *value = negative ? -read : read;
    return true;
}

}  // namespace ZrUI

#include "views/viewer/coordinate_readout.h"

#include <stdio.h>

#include "core/number_text.h"

namespace {

const int kLargestPrecision = 17;

CString Scientific(const double xyz[3], int precision, const char* separator)
{
    char format[64];
    snprintf(format, sizeof(format), "X:%%-.%de Y:%%-.%de Z:%%-.%de", precision, precision, precision);
    char text[256];
    snprintf(text, sizeof(text), format, xyz[0], xyz[1], xyz[2]);
    CString result;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '.')
            result += separator;
        else if (*c == 'e')
            result += 'E';
        else
            result += *c;
    }
    return result;
}

CString FormatValue(double value, int unitMode, int precision, const char* separator)
{
    switch (unitMode) {
        case 3:
            return FormatFeetDecimalInches(value, precision);
        case 4:
            return FormatFeetInches(value, precision);
        case 5:
            return FormatFraction(value, precision);
        default:
            return FormatDecimal(value, precision, separator);
    }
}

}  // namespace

CString FormatCoordinateReadout(const double xyz[3], int unitMode, int precision, const char* decimalSeparator)
{
    if (precision < 0)
        precision = 0;
    if (precision > kLargestPrecision)
        precision = kLargestPrecision;
    if (unitMode == 1)
        return Scientific(xyz, precision, decimalSeparator);
    const char* labels[3] = {" X:", " Y:", " Z:"};
    CString text;
    for (int i = 0; i < 3; ++i) {
        text += labels[i];
        text += FormatValue(xyz[i], unitMode, precision, decimalSeparator);
    }
    return text;
}

#include "core/number_text.h"

#include <math.h>
#include <stdlib.h>

namespace {

const int kMaxFractionBits = 30;
const int kMaxDecimals = 17;

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

// |value| as a whole number and num/den in lowest terms; num 0 when there
// is no fraction. A fraction that rounds to den/den is carried.
struct Fraction {
    double whole;
    int num;
    int den;

    Fraction(double magnitude, int bits)
    {
        whole = floor(magnitude);
        num = 0;
        den = 1;
        bits = Clamp(bits, 0, kMaxFractionBits);
        if (bits == 0)
            return;
        den = 1 << bits;
        num = (int)((magnitude - whole) * den + 0.5);
        if (num >= den) {
            whole += 1;
            num = 0;
        }
        while (num != 0 && num % 2 == 0) {
            num /= 2;
            den /= 2;
        }
    }

    CString Text() const
    {
        CString text;
        if (num == 0)
            text.Format("%-.0f", whole);
        else
            text.Format("%-.0f %d/%d", whole, num, den);
        return text;
    }
};

CString Signed(double value, const CString& magnitudeText)
{
    return value < 0 ? "-" + magnitudeText : magnitudeText;
}

}  // namespace

CString GetDecimalSeparator()
{
    char separator[8] = {};
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) <= 1)
        return ".";
    return separator;
}

CString FormatDecimal(double value, int decimals, const char* separator)
{
    CString text;
    text.Format("%-.*f", Clamp(decimals, 0, kMaxDecimals), value);
    text.Replace(".", separator);
    return text;
}

CString FormatDecimal(double value, int decimals)
{
    return FormatDecimal(value, decimals, GetDecimalSeparator());
}

CString FormatFraction(double value, int bits)
{
    return Signed(value, Fraction(fabs(value), bits).Text());
}

CString FormatFeetInches(double inches, int bits)
{
    double magnitude = fabs(inches);
    int feet = (int)(magnitude / 12);
    Fraction rest(magnitude - 12.0 * feet, bits);
    if (rest.whole >= 12) {
        feet += 1;
        rest.whole -= 12;
    }
    CString text;
    text.Format("%d'-", feet);
    return Signed(inches, text + rest.Text() + "\"");
}

CString FormatFeetDecimalInches(double inches, int decimals)
{
    decimals = Clamp(decimals, 0, kMaxDecimals);
    double magnitude = fabs(inches);
    int feet = (int)(magnitude / 12);
    double rest = magnitude - 12.0 * feet;
    // Carry a rest that prints as 12 inches into the feet.
    CString restText = FormatDecimal(rest, decimals, ".");
    if (atof(restText) >= 12) {
        feet += 1;
        rest -= 12;
        if (rest < 0)
            rest = 0;
    }
    CString text;
    text.Format("%d'-", feet);
    return Signed(inches, text + FormatDecimal(rest, decimals) + "\"");
}

bool StringToDouble(const char* text, double& value, const char* separator)
{
    if (!text || !*text)
        return false;
    CString copy(text);
    if (separator && *separator && CString(separator) != ".")
        copy.Replace(separator, ".");
    char* end = nullptr;
    value = strtod(copy, &end);
    return end && *end == '\0' && end != (const char*)copy;
}

bool StringToDouble(const char* text, double& value)
{
    return StringToDouble(text, value, GetDecimalSeparator());
}

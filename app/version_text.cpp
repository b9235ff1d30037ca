#include "app/version_text.h"

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace {

// Numbers of more digits than this are not taken as version numbers.
const int kMaxDigits = 9;

// The numbers of a dotted version text; false when it is not one.
bool ParseVersion(const char* text, std::vector<uint32_t>& numbers)
{
    numbers.clear();
    if (text == nullptr || *text == '\0')
        return false;
    const char* p = text;
    for (;;) {
        uint32_t number = 0;
        int digits = 0;
        for (; *p >= '0' && *p <= '9'; ++p) {
            if (++digits > kMaxDigits)
                return false;
            number = number * 10 + (uint32_t)(*p - '0');
        }
        if (digits == 0)
            return false;
        numbers.push_back(number);
        if (*p == '\0')
            return true;
        if (*p != '.')
            return false;
        ++p;
    }
}

uint32_t NumberAt(const std::vector<uint32_t>& numbers, size_t index)
{
    return index < numbers.size() ? numbers[index] : 0;
}

}  // namespace

bool IsLaterVersion(const char* offered, const char* current)
{
    std::vector<uint32_t> offeredNumbers;
    std::vector<uint32_t> currentNumbers;
    if (!ParseVersion(offered, offeredNumbers) || !ParseVersion(current, currentNumbers))
        return false;
    size_t count =
        offeredNumbers.size() > currentNumbers.size() ? offeredNumbers.size() : currentNumbers.size();
    for (size_t index = 0; index < count; ++index) {
        uint32_t offeredNumber = NumberAt(offeredNumbers, index);
        uint32_t currentNumber = NumberAt(currentNumbers, index);
        if (offeredNumber != currentNumber)
            return offeredNumber > currentNumber;
    }
    return false;
}

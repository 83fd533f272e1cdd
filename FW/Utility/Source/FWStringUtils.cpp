#include "FWStringUtils.h"

#include "HostText.h"

bool FWStringUtils::Less(const char* a, int16_t lenA, const char* b, int16_t lenB)
{
    return CompareText(a, b, lenA, lenB, nullptr) < 0;
}

bool FWStringUtils::Equal(const char* a, int16_t lenA, const char* b, int16_t lenB)
{
    return CompareText(a, b, lenA, lenB, nullptr) == 0;
}

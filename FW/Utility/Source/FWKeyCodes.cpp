#include "FWKeyCodes.h"

bool FWIsArrowChar(char c)
{
    return c == 28 || c == 29 || c == 30 || c == 31;
}

bool FWIsNavigationChar(char c)
{
    return FWIsArrowChar(c) || c == 1 || c == 4 || c == 11 || c == 12;
}

#include "FWColorConversion.h"

#include <cmath>

uint8_t FWComponentToByte(float component)
{
    double scaled = double(component) * 255.0;
    if (!std::isfinite(scaled) || scaled >= 2147483648.0 || scaled <= -2147483649.0)
        return 0;
    return uint8_t(uint32_t(int32_t(scaled)));
}

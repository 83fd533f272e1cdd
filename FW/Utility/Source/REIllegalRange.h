// A range whose bounds are out of order or equal, or whose upper bound is 0x80 or above.
#pragma once

#include "REException.h"

class REIllegalRange : public REException {
public:
    REIllegalRange() = default;
    ~REIllegalRange() override;
};

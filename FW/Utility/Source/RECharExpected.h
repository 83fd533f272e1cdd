// A primary, or the upper end of a range, is not a character.
#pragma once

#include "REException.h"

class RECharExpected : public REException {
public:
    RECharExpected() = default;
    ~RECharExpected() override;
};

#include "REIllegalRange.h"

REIllegalRange::~REIllegalRange() = default;

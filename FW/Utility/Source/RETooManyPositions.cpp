#include "RETooManyPositions.h"

RETooManyPositions::~RETooManyPositions() = default;

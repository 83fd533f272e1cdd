#include "RECharExpected.h"

RECharExpected::~RECharExpected() = default;

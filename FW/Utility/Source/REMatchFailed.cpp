#include "REMatchFailed.h"

REMatchFailed::~REMatchFailed() = default;

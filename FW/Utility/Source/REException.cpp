#include "REException.h"

REException::~REException() = default;

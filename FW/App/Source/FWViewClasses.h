// The control classes a stored layout can name. Each control's source file registers its
// factory at start-up; the view manager names this list so that every program that loads
// layouts links all of those files, and with them their factories.
#pragma once

#include <cstddef>

// The number of classes listed.
size_t FWLinkedViewClassCount();

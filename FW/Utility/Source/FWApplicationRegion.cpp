#include "FWApplicationRegion.h"

namespace {
// Nothing in the system changes the region.
const int16_t sApplicationRegion = 0;
} // namespace

int16_t FWGetApplicationRegion()
{
    return sApplicationRegion;
}

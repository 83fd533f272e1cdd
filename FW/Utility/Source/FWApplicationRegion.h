// The application's script region: 0, the Roman region, for the whole run.
#pragma once

#include <cstdint>

int16_t FWGetApplicationRegion();

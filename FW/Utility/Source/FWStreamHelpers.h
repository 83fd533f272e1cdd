// Small operations on any FWStream: relative moves, Long offsets patched in after the data
// they point past, and the stored form of a rectangle.
#pragma once

#include <cstdint>

class FWStream;
class FWRect;

// Moves the position by n bytes (nothing for 0).
void OffsetStream(FWStream& stream, int32_t n);
// Writes a Long 0 to be patched later and returns the position it was written at.
uint32_t LeaveSpaceForLongOffset(FWStream& stream);
// Writes value as a Long at position at, then returns to the current position.
void PatchLongOffset(FWStream& stream, uint32_t at, int32_t value);

// A rectangle as four Shorts: top, left, bottom, right.
void WriteFWRect(FWStream& stream, const FWRect& rect);
void ReadFWRect(FWStream& stream, FWRect& rect);

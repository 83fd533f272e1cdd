// An image decoded from a resource of the running program's resource chain: icons ('ICN#',
// 'icl4', 'icl8', 'ics#', 'ics4', 'ics8', 'icm#', 'icm4', 'icm8'), colour icons ('cicn'),
// pixel patterns ('ppat'), pictures ('PICT' version 2, also as 'QZPV') and packed ARGB images
// ('argb'). Always 32 bits deep, with a mask wherever alpha is not opaque.
//
// Holders share images through Acquire and Release: one decoded image per (id, type), freed
// when its last holder releases it.
#pragma once

#include "DiskImageAllocateFailureX.h"
#include "FWRgb32.h"
#include "ImageBuffer.h"

#include <cstdint>

class DiskImage : public ImageBuffer {
public:
    // The shared image of (id, type), decoded on first use; null when the resource is missing
    // or damaged, and for id 0 of any type but 'QZPV' (whose id 0 falls back to the first
    // 'QZPV' resource). Each non-null result is given back with Release.
    static DiskImage* Acquire(int32_t id, uint32_t type);
    // Null is ignored; an image that is not cached is a programmer error.
    static void Release(const DiskImage* image);

    // Loads and decodes the resource; throws DiskImageAllocateFailureX when it is missing or
    // damaged. A type the decoders do not know gives an image without pixels (not valid).
    DiskImage(int32_t id, uint32_t type);
    ~DiskImage() override;

    int32_t RsrcID() const { return mID; }
    uint32_t RsrcType() const { return mType; }

    // The icon colour tables, built by the first icon reader used; gIconCTsValid tells that
    // they are.
    static inline FWRgb32 g8BitColorTable[256] = {};
    static inline FWRgb32 g4BitColorTable[16] = {};
    static inline bool gIconCTsValid = false;

private:
    void load();

    int32_t mID;
    uint32_t mType;
};

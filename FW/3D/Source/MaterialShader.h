// The renderer a material hands its attribute record to. Shading draws nothing here; the
// shared resources a shader would need are prepared with the first live shader and released
// with the last.
#pragma once

#include "GATR.h"

#include <cstdint>

class ImageBuffer;

class MaterialShader {
public:
    MaterialShader();
    virtual ~MaterialShader();
    MaterialShader(const MaterialShader&) = delete;
    MaterialShader& operator=(const MaterialShader&) = delete;

    void SetDrawBuffer(ImageBuffer* buffer) { mDrawBuffer = buffer; }
    // Keeps the record and the short; copies the colour when given, else 0.
    void SetMaterial(GATR* record, int16_t value, const GATR::ARGB* colour);
    // Produces no image; answers 0.
    int32_t ShadeMaterial(int32_t quality);

    ImageBuffer* DrawBuffer() const { return mDrawBuffer; }
    GATR* Record() const { return mRecord; }
    static int32_t LiveCount() { return sCount; }

private:
    ImageBuffer* mDrawBuffer = nullptr;
    GATR* mRecord = nullptr;
    int16_t mValue = 0;
    GATR::ARGB mColour{0, 0, 0, 0};
    uint32_t mWord = 0;

    static int32_t sCount;
};

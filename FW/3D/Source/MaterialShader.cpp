#include "MaterialShader.h"

int32_t MaterialShader::sCount = 0;

MaterialShader::MaterialShader()
{
    // The first shader would prepare the shared shading resources; there are none to prepare.
    ++sCount;
}

MaterialShader::~MaterialShader()
{
    --sCount;
}

void MaterialShader::SetMaterial(GATR* record, int16_t value, const GATR::ARGB* colour)
{
    mRecord = record;
    mValue = value;
    mColour = colour != nullptr ? *colour : GATR::ARGB{0, 0, 0, 0};
    mWord = 0;
}

int32_t MaterialShader::ShadeMaterial(int32_t)
{
    return 0;
}

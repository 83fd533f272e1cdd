#include "Material.h"

#include "ImageBuffer.h"

MaterialShader Material::mShader;

namespace {

// Alpha scaled to a byte; red, green and blue scaled by the amount too. Each is truncated and
// its low byte kept.
GATR::ARGB toBytes(const FWArgbColor& c, float amount)
{
    auto byte = [](float value) { return uint8_t(int32_t(value)); };
    return GATR::ARGB{byte(255.0f * c.a), byte(255.0f * c.r * amount), byte(255.0f * c.g * amount),
                      byte(255.0f * c.b * amount)};
}

} // namespace

Material::~Material()
{
    delete mPreview;
}

void Material::Get(GATR* g) const
{
    if (g == nullptr)
        return;
    InitGATR(g);
    g->diffuseFalloff = mDiffuseFalloff;
    g->diffuse = g->diffuse2 = toBytes(mDiffuse, mDiffuseAmount);
    g->ambient = toBytes(mAmbient, mAmbientAmount);
    g->specular = toBytes(mSpecular, mSpecularAmount);
    g->reflection = toBytes(mReflection, mReflectionAmount);
    g->transparency = toBytes(mTransparency, mTransparencyAmount);
    g->luminance = toBytes(mLuminance, mLuminanceAmount);
    g->refractionIndex = mRefractionIndex;
    g->specularSize = mSpecularSize;
    g->specularFalloff = mSpecularFalloff;
    g->flags = uint16_t(g->flags | 0x80);
}

void Material::SetPreviewBuffer(ImageBuffer* preview)
{
    if (preview == mPreview)
        return;
    delete mPreview;
    mPreview = preview;
    mPreviewOutOfDate = true;
}

ImageBuffer* Material::GetPreviewBuffer()
{
    if (mPreviewOutOfDate)
        UpdatePreviewBuffer();
    return mPreview;
}

void Material::UpdatePreviewBuffer()
{
    mPreviewOutOfDate = false;
    GATR record;
    Get(&record);
    mShader.SetDrawBuffer(mPreview);
    mShader.SetMaterial(&record, 0, nullptr);
    mShader.ShadeMaterial(60);
    // The record lives on this stack frame only.
    mShader.SetMaterial(nullptr, 0, nullptr);
}

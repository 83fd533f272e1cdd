// A 3D material: six colours with their amounts and four shading parameters. It fills the
// attribute record a shader takes, and keeps a preview image that the shared shader renders.
#pragma once

#include "FWArgbColor.h"
#include "GATR.h"
#include "MaterialShader.h"

class ImageBuffer;

class Material {
public:
    Material() = default;
    ~Material();
    Material(const Material&) = delete;
    Material& operator=(const Material&) = delete;

    // Fills the record: the defaults, then the colours scaled by their amounts and the
    // shading parameters.
    void Get(GATR* record) const;
    // Brings the preview up to date when it is out of date, then returns it (may be null).
    ImageBuffer* GetPreviewBuffer();
    void UpdatePreviewBuffer();
    // Takes ownership of the preview image.
    void SetPreviewBuffer(ImageBuffer* preview);
    void InvalidatePreview() { mPreviewOutOfDate = true; }

    const FWArgbColor& DiffuseColor() const { return mDiffuse; }
    const FWArgbColor& SpecularColor() const { return mSpecular; }
    const FWArgbColor& AmbientColor() const { return mAmbient; }
    const FWArgbColor& ReflectionColor() const { return mReflection; }
    const FWArgbColor& TransparencyColor() const { return mTransparency; }
    const FWArgbColor& LuminanceColor() const { return mLuminance; }
    float DiffuseAmount() const { return mDiffuseAmount; }
    float SpecularAmount() const { return mSpecularAmount; }
    float AmbientAmount() const { return mAmbientAmount; }
    float ReflectionAmount() const { return mReflectionAmount; }
    float TransparencyAmount() const { return mTransparencyAmount; }
    float LuminanceAmount() const { return mLuminanceAmount; }
    float DiffuseFalloff() const { return mDiffuseFalloff; }
    float SpecularSize() const { return mSpecularSize; }
    float SpecularFalloff() const { return mSpecularFalloff; }
    float RefractionIndex() const { return mRefractionIndex; }

    void SetDiffuse(const FWArgbColor& colour, float amount) { mDiffuse = colour, mDiffuseAmount = amount; }
    void SetSpecular(const FWArgbColor& colour, float amount) { mSpecular = colour, mSpecularAmount = amount; }
    void SetAmbient(const FWArgbColor& colour, float amount) { mAmbient = colour, mAmbientAmount = amount; }
    void SetReflection(const FWArgbColor& colour, float amount) { mReflection = colour, mReflectionAmount = amount; }
    void SetTransparency(const FWArgbColor& colour, float amount)
    {
        mTransparency = colour, mTransparencyAmount = amount;
    }
    void SetLuminance(const FWArgbColor& colour, float amount) { mLuminance = colour, mLuminanceAmount = amount; }
    void SetDiffuseFalloff(float value) { mDiffuseFalloff = value; }
    void SetSpecularSize(float value) { mSpecularSize = value; }
    void SetSpecularFalloff(float value) { mSpecularFalloff = value; }
    void SetRefractionIndex(float value) { mRefractionIndex = value; }

    // The one shader all materials share.
    static MaterialShader mShader;

private:
    ImageBuffer* mPreview = nullptr;
    FWArgbColor mDiffuse;
    FWArgbColor mSpecular;
    FWArgbColor mAmbient;
    FWArgbColor mReflection;
    FWArgbColor mTransparency;
    FWArgbColor mLuminance;
    float mDiffuseAmount = 0.0f;
    float mSpecularAmount = 0.0f;
    float mAmbientAmount = 0.0f;
    float mReflectionAmount = 0.0f;
    float mTransparencyAmount = 0.0f;
    float mLuminanceAmount = 0.0f;
    float mDiffuseFalloff = 0.0f;
    float mSpecularSize = 0.0f;
    float mSpecularFalloff = 0.0f;
    float mRefractionIndex = 0.0f;
    bool mPreviewOutOfDate = false;
};

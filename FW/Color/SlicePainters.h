// Colour slices: off-screen 32-bit images whose every pixel a painter computes from its
// position. Row painters vary one channel of a reference colour from 0 at the left edge to 255
// at the right (the colour slider's ramp); the hue-lightness painter fills the mixer's plane.
// The caller owns a painter; a slice only points to it and repaints only when asked.
#pragma once

#include "FWArgb32.h"
#include "FWColorModels.h"
#include "FWRect.h"
#include "ImageBuffer.h"

#include <cstdint>

class CSlicePainter {
public:
    virtual ~CSlicePainter() = default;
    // The pixel word at column x of 0..maxX and row y of 0..maxY.
    virtual void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) = 0;
};

// A painter around a reference colour, kept as a pixel word (alpha, red, green, blue).
class CRGBSlicePainter : public CSlicePainter {
public:
    virtual void SetReferenceRGB(FWArgb32 color);

protected:
    uint32_t mReference = 0;
};

// The model painters keep the reference in their model too, so that a pixel converts only the
// varied channel. Setting the model value sets the reference pixel to its RGB with alpha 0.
class CHSVSlicePainter : public CRGBSlicePainter {
public:
    void SetReferenceRGB(FWArgb32 color) override;
    virtual void SetReferenceHSV(FWHsv32 hsv);

protected:
    FWHsv32 mHSV;
};

class CCMYKSlicePainter : public CRGBSlicePainter {
public:
    void SetReferenceRGB(FWArgb32 color) override;
    virtual void SetReferenceCMYK(FWCmyk32 cmyk);

protected:
    FWCmyk32 mCMYK;
};

class CHWBSlicePainter : public CRGBSlicePainter {
public:
    void SetReferenceRGB(FWArgb32 color) override;
    virtual void SetReferenceHWB(FWHwb32 hwb);

protected:
    FWHwb32 mHWB;
};

// The row painters: n = x * 255 / maxX (0 for a one-pixel slice) along the row, y ignored.
// The grey and RGB channel painters keep the reference's alpha byte (grey: alpha 0); the model
// painters paint with alpha 0.
class CGrayRowPainter : public CRGBSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CRedRowPainter : public CRGBSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CGreenRowPainter : public CRGBSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CBlueRowPainter : public CRGBSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

// The pure hue; the reference is ignored.
class CHueRowPainter : public CHSVSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CSaturationRowPainter : public CHSVSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CValueRowPainter : public CHSVSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CCyanRowPainter : public CCMYKSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CMagentaRowPainter : public CCMYKSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CYellowRowPainter : public CCMYKSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CBlackRowPainter : public CCMYKSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CWhitenessRowPainter : public CHWBSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

class CBlacknessRowPainter : public CHWBSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

// The mixer's plane: hue along x; from white at the top row through the pure hues to black at
// seven eighths of the height; a grey ramp in the bottom eighth.
class CHueLightnessGrayPainter : public CSlicePainter {
public:
    void ComputeColor(int16_t x, int16_t y, int16_t maxX, int16_t maxY, uint32_t& pixel) override;
};

// A 32-bit image over a rectangle, painted by its painter (not owned, may be null).
class ColorSlice : public ImageBuffer {
public:
    ColorSlice(const FWRect* rect, CSlicePainter* painter, bool flag = false);

    void SetThePainter(CSlicePainter* painter) { mPainter = painter; }
    CSlicePainter* GetThePainter() const { return mPainter; }

    // Paints every pixel; false without a painter or a valid buffer (the pixels stay).
    virtual bool ComputeSliceImage();
    // The colour that ComputeSliceImage paints at (x, y) of the slice; 0 outside it, without a
    // painter or without a valid buffer.
    virtual void ComputeColor(int16_t x, int16_t y, uint32_t& pixel);

protected:
    bool canPaint() const { return mPainter != nullptr && Valid(); }
    bool inside(int16_t x, int16_t y) const;

    CSlicePainter* mPainter;
};

// A slice whose colour depends on the column only: the painter is asked once per column.
class HorizontalColorSlice : public ColorSlice {
public:
    using ColorSlice::ColorSlice;

    bool ComputeSliceImage() override;
    void ComputeColor(int16_t x, int16_t y, uint32_t& pixel) override;
};

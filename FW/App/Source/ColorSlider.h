// A slider whose track shows a colour ramp: one channel of a colour model from 0 at the left to
// 255 at the right, around a reference colour, with a triangular thumb under the ramp. The
// colour pickers build their channel sliders from it.
#pragma once

#include "FWArgb32.h"
#include "Slider.h"

class CRGBSlicePainter;
class HorizontalColorSlice;

class ColorSlider : public Slider {
public:
    enum Type : int32_t {
        kGray = 0,
        kRed = 1,
        kGreen = 2,
        kBlue = 3,
        kHue = 4,
        kSaturation = 5,
        kValue = 6,
        kCyan = 7,
        kMagenta = 8,
        kYellow = 9,
        kBlack = 10,
        kWhiteness = 11,
        kBlackness = 12,
    };

    ColorSlider() = default;
    ~ColorSlider() override;
    ColorSlider(const ColorSlider&) = delete;
    ColorSlider& operator=(const ColorSlider&) = delete;

    virtual void Init(FWWindow* window, const FWRect& rect, Type type);
    using Slider::Init;

    // The type's painter and reference colour; a type outside 0..12 has neither a painter nor a
    // ramp. The ramp is repainted and the view invalidated.
    void SetStyle(Type type);
    Type GetStyle() const { return mType; }
    // Stores the colour; with a painter the ramp follows it and is drawn at once.
    void SetRefColor(FWArgb32 color);
    FWArgb32 GetRefColor() const { return mRefColor; }
    void UpdateSliderBackground();
    CRGBSlicePainter* GetSlicePainter() const { return mPainter; }

    // Geometry: the track is the rectangle less 5 at each end, 1 at the top and 7 at the bottom
    // (the thumb's room); the ramp's image lies 1 inside it.
    void SetRect(const FWRect& rect) override;
    FWRect GetImageRect() const { return mImageRect; }
    FWRect GetSliceRect() const { return mSliceRect; }

    FWView* Duplicate(FWPoint offset) override;
    void TextFileSerialize(int32_t index, int32_t parentIndex, FILE* file) override;
    void Draw(FWDrawContext& context) const override;
    const char* FactoryGetClassName() const override { return "ColorSlider"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    bool DoInterface() override;
    const FWString& Viewable_Name() const override;
    const ImageBuffer* Viewable_Icon() override;

    // The value under a point of the track (the minimum for a track without width).
    float GetThumbValue(FWPoint point) override;
    bool IsThumb(FWPoint point) override;
    void DrawThumb(FWDrawContext& context) const override;

private:
    static constexpr const char* kSourcePath = "FW/App/Source/ColorSlider";

    void CreateBackground();
    void DrawSliderImage(FWDrawContext& context) const;
    // Pixels from the image's left edge to the thumb's tip.
    int32_t thumbOffset() const;

    Type mType = kGray;
    HorizontalColorSlice* mSlice = nullptr;
    // The ramp is painted when it is next drawn, not when it changes: a slider that is loaded,
    // resized or restyled but not shown costs no painting (its image can be large).
    mutable bool mSliceStale = false;
    CRGBSlicePainter* mPainter = nullptr;
    FWArgb32 mRefColor{255, 255, 255, 255};
    FWRect mImageRect;
    FWRect mSliceRect;
    mutable int32_t mLastThumbOffset = 0;
};

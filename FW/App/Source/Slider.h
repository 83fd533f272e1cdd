// The value control: a float between a minimum and a maximum, optionally held to a number of
// steps, set by dragging a thumb or by two optional end buttons. Slider itself draws nothing and
// hits nothing; ColorSlider gives it a look.
#pragma once

#include "FWView.h"

class Slider : public FWView {
public:
    enum SliderButtonType : int32_t { kFirstButton = 0, kSecondButton = 1 };

    Slider() = default;

    // Value and range
    float GetValue() const { return mValue; }
    // Stores the legal value; when it changed, the thumb is redrawn at once.
    void SetValue(float value);
    // Range and steps; then the value, always redrawn. With fewer than two steps the step size
    // stays as it was.
    void SetSlider(float minimum, float maximum, float value, int32_t steps);
    // Clamped to the range, snapped to whole steps counted from 0 (not clamped again), rounded
    // to 0.01. A value that is not finite becomes the minimum (0 when that is not finite).
    float LegalizeValue(float value) const;
    // Rounds value to the coarsest power of ten that stays within half of precision.
    static double FactorizeValue(double precision, double value);

    // The hooks a drawing slider fills in.
    virtual void ButtonEvent(FWDrawContext&, bool) {}
    virtual bool IsThumb(FWPoint) { return false; }
    virtual void DrawButton(FWDrawContext&, SliderButtonType) {}
    virtual float GetThumbValue(FWPoint) { return 0.0f; }
    virtual void DrawThumb(FWDrawContext&) const {}

    void Init(FWWindow* window) override { FWView::Init(window); }
    const char* FactoryGetClassName() const override { return "Slider"; }
    void OldRead(SerialStream& stream) override;
    void OldWrite(SerialStream& stream) override;
    // End buttons, else a thumb drag: actions 0, 1 for every changed value, 2, then an
    // interface event. False for a click outside the view and the buttons.
    bool MouseDownEvent(FWEvent& event) override;

protected:
    // Draws the thumb in a context prepared for the view, when it can be seen.
    void redrawThumb();
    void recomputeStepSize();

    bool mHorizontal = false;
    FWRect mReservedRect;
    bool mHasButtons = false;
    FWRect mFirstButton;
    bool mFirstPressed = false;
    bool mReserved1 = false;
    FWRect mSecondButton;
    bool mSecondPressed = false;
    bool mReserved2 = false;
    int32_t mReservedLongs[3] = {0, 0, 0};
    FWRect mTrack;
    bool mTracking = false;
    float mMinimum = 0.0f;
    float mMaximum = 100.0f;
    float mValue = 0.0f;
    int32_t mSteps = 0;
    float mStepSize = 0.0f;

private:
    bool trackButton(FWDrawContext& context, SliderButtonType button);
};

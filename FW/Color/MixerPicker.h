// The mixer: a plane of colours to click or drag in, hue across and lightness down with a grey
// ramp along the bottom. It shows nothing of the edited colour; it only produces colours.
#pragma once

#include "FWColorPicker.h"
#include "FWView.h"
#include "SlicePainters.h"

class MixerPicker : public FWColorPicker {
public:
    explicit MixerPicker(const FWColorPickerManager* manager);

    void ReceiveNewColorToEdit(const FWArgbColor& color) override { mColor = color; }
    void GetColorPickerSize(int16_t& width, int16_t& height) override;
    void GetPickerName(FWStr<31>& name) override { name = FWStr<31>("Mixer"); }
    void AddPickerViews(int16_t h, int16_t v) override;

    // Red, green and blue from the mixer, alpha kept, sent on with the phase of the edit.
    void NewMixerColor(FWArgb32 color, const ActionType& action);

private:
    FWArgbColor mColor;
};

class ColorMixer : public FWView {
public:
    ColorMixer(FWWindow* window, MixerPicker* owner);
    ~ColorMixer() override;
    ColorMixer(const ColorMixer&) = delete;
    ColorMixer& operator=(const ColorMixer&) = delete;

    void Initialize(const FWRect& rect) { SetRect(rect); }
    // The plane is repainted for the rectangle less its 1-pixel frame.
    void SetRect(const FWRect& rect) override;
    void Draw(FWDrawContext& context) const override;
    // A press in the plane sends its colour (action 0), each new place while held (1), and the
    // last colour again on release (2).
    bool MouseDownEvent(FWEvent& event) override;

private:
    FWArgb32 colorAt(const FWRect& plane, FWPoint point) const;

    MixerPicker* mOwner;
    ColorSlice* mSlice = nullptr;
    CHueLightnessGrayPainter mPainter;
};

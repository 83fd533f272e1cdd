// The model pickers: the edited colour as hue, saturation and value, and as cyan, magenta,
// yellow and black, a row per channel. Every change is turned back into RGB; alpha passes
// through unchanged.
#pragma once

#include "FWColorPicker.h"

class CCMYKSlicePainter;
class ColorSlider;
class EditText;

class HSVPicker : public FWColorPicker {
public:
    explicit HSVPicker(const FWColorPickerManager* manager);

    bool InterfaceAction(FWView* view, const ActionType& action) override;
    bool InterfaceEvent(FWView* view) override;
    void ReceiveNewColorToEdit(const FWArgbColor& color) override;
    void GetColorPickerSize(int16_t& width, int16_t& height) override;
    void GetPickerName(FWStr<31>& name) override { name = FWStr<31>("HSV"); }
    void AddPickerViews(int16_t h, int16_t v) override;

protected:
    void PickerViewsRemoved() override;

private:
    // The saturation and value rows follow the colour; the hue row shows pure hues.
    void updateReferences() const;

    FWArgbColor mColor;
    ColorSlider* mHueSlider = nullptr;
    EditText* mHueField = nullptr;
    ColorSlider* mSaturationSlider = nullptr;
    EditText* mSaturationField = nullptr;
    ColorSlider* mValueSlider = nullptr;
    EditText* mValueField = nullptr;
};

class CMYKPicker : public FWColorPicker {
public:
    explicit CMYKPicker(const FWColorPickerManager* manager);

    bool InterfaceAction(FWView* view, const ActionType& action) override;
    bool InterfaceEvent(FWView* view) override;
    void ReceiveNewColorToEdit(const FWArgbColor& color) override;
    void GetColorPickerSize(int16_t& width, int16_t& height) override;
    void GetPickerName(FWStr<31>& name) override { name = FWStr<31>("CMYK"); }
    void AddPickerViews(int16_t h, int16_t v) override;

protected:
    void PickerViewsRemoved() override;

private:
    struct Row {
        ColorSlider* slider = nullptr;
        CCMYKSlicePainter* painter = nullptr;
        EditText* field = nullptr;
    };
    // The picker's own channels as the painters' byte reference, and every ramp repainted.
    void updateReferences();
    // RGB of the four channels (alpha kept), the ramps, and the dispatch.
    void convertAndDispatch(const ActionType& action);
    float& channel(int index);

    FWArgbColor mColor;
    float mCyan = 0.0f;
    float mMagenta = 0.0f;
    float mYellow = 0.0f;
    float mBlack = 0.0f;
    Row mRows[4];
};

// The channel picker: a row per channel (alpha only when the dialog edits alpha) with a colour
// slider and a number field, and a switch between percent and byte units.
#pragma once

#include "FWColorPicker.h"

class ColorSlider;
class EditText;
class RadioButtonSet;

class ARGBPicker : public FWColorPicker {
public:
    explicit ARGBPicker(const FWColorPickerManager* manager);

    bool InterfaceAction(FWView* view, const ActionType& action) override;
    bool InterfaceEvent(FWView* view) override;
    void ReceiveNewColorToEdit(const FWArgbColor& color) override;
    void GetColorPickerSize(int16_t& width, int16_t& height) override;
    void GetPickerName(FWStr<31>& name) override { name = FWStr<31>("RGB"); }
    void AddPickerViews(int16_t h, int16_t v) override;

    // The unit survives hiding the picker: it is kept in the flag as well as in the switch.
    void SetIsPercent(bool percent);
    bool IsPercent() const { return mPercent; }

protected:
    void PickerViewsRemoved() override;

private:
    // Rewrites a field in the current unit.
    void showComponent(EditText* field, float component) const;
    float readField(const EditText* field) const;
    void setReference(ColorSlider* slider) const;

    FWArgbColor mColor;
    ColorSlider* mAlphaSlider = nullptr;
    EditText* mAlphaField = nullptr;
    ColorSlider* mRedSlider = nullptr;
    EditText* mRedField = nullptr;
    ColorSlider* mGreenSlider = nullptr;
    EditText* mGreenField = nullptr;
    ColorSlider* mBlueSlider = nullptr;
    EditText* mBlueField = nullptr;
    RadioButtonSet* mUnitSwitch = nullptr;
    bool mPercent = false;
};

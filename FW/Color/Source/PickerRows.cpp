#include "PickerRows.h"

#include "EditText.h"
#include "FWColorPicker.h"
#include "FWStr.h"
#include "StaticText.h"

#include <cmath>

void AddPickerRow(FWColorPicker* picker, int16_t x, int16_t top, const char* letter, ColorSlider::Type type,
                  float maximum, int16_t fieldWidth, ColorSlider*& slider, EditText*& field)
{
    FWWindow* window = picker->GetPickerWindow();
    auto* label = new StaticText;
    const FWStr<31> text(letter);
    label->Init(window, FWRect(x, top, int16_t(x + 6), int16_t(top + 13)), &text, StaticText::kSingleLine);
    picker->AddOneViewToPickerWindow(label);

    slider = new ColorSlider;
    slider->Init(window, FWRect(int16_t(x + 6), top, int16_t(x + 116), int16_t(top + 18)), type);
    slider->SetSlider(0.0f, maximum, 0.0f, 0);
    picker->AddOneViewToPickerWindow(slider);

    field = new EditText;
    field->Init(window, FWRect(int16_t(x + 116), top, int16_t(x + 116 + fieldWidth), int16_t(top + 13)), nullptr);
    picker->AddOneViewToPickerWindow(field);
}

void SetFieldDecimal(EditText* field, double value)
{
    FWStr<63> text;
    text.Set(value, 0, int16_t(FWString::GetFloatingPtPrecision()), false);
    field->SetText(&text);
}

void SetFieldWhole(EditText* field, double value)
{
    const double whole = std::trunc(value);
    FWStr<63> text;
    // Far beyond any typed value; held so the conversion stays defined.
    text.Set(int32_t(std::fmax(-2e9, std::fmin(2e9, std::isnan(whole) ? 0.0 : whole))));
    field->SetText(&text);
}

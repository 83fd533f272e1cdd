// The channel rows the ARGB, HSV and CMYK pickers share: a letter, a colour slider and a number
// field, and the one-decimal number text of their fields.
#pragma once

#include "ColorSlider.h"
#include "FWString.h"

#include <cstdint>

class EditText;
class FWColorPicker;

// Keeps the shared floating-point precision and puts it back when it goes.
class FloatPrecisionSaver {
public:
    explicit FloatPrecisionSaver(int32_t precision) : mSaved(FWString::GetFloatingPtPrecision())
    {
        FWString::SetFloatingPtPrecision(precision);
    }
    ~FloatPrecisionSaver() { FWString::SetFloatingPtPrecision(mSaved); }
    FloatPrecisionSaver(const FloatPrecisionSaver&) = delete;
    FloatPrecisionSaver& operator=(const FloatPrecisionSaver&) = delete;

private:
    int32_t mSaved;
};

// Adds one row at (x, top): the letter, the slider over 0..maximum, an empty field of the width.
void AddPickerRow(FWColorPicker* picker, int16_t x, int16_t top, const char* letter, ColorSlider::Type type,
                  float maximum, int16_t fieldWidth, ColorSlider*& slider, EditText*& field);
// The value with one decimal, trailing zeros trimmed to one (50.0, 39.2).
void SetFieldDecimal(EditText* field, double value);
// The value truncated toward zero, as a whole number.
void SetFieldWhole(EditText* field, double value);

#include "ModelPickers.h"

#include "ColorSlider.h"
#include "EditText.h"
#include "FWColorModels.h"
#include "PickerRows.h"
#include "SlicePainters.h"

// ---- hue, saturation, value

HSVPicker::HSVPicker(const FWColorPickerManager* manager) : FWColorPicker(manager, 40)
{
    ReadImagesFromDisk(901, FOUR_CHAR_CODE("PICT"));
}

void HSVPicker::GetColorPickerSize(int16_t& width, int16_t& height)
{
    width = 156;
    height = 58;
}

void HSVPicker::AddPickerViews(int16_t x, int16_t y)
{
    AddPickerRow(this, x, y, "H", ColorSlider::kHue, 360.0f, 40, mHueSlider, mHueField);
    AddPickerRow(this, x, int16_t(y + 20), "S", ColorSlider::kSaturation, 1.0f, 40, mSaturationSlider, mSaturationField);
    AddPickerRow(this, x, int16_t(y + 40), "V", ColorSlider::kValue, 1.0f, 40, mValueSlider, mValueField);
}

void HSVPicker::PickerViewsRemoved()
{
    mHueSlider = mSaturationSlider = mValueSlider = nullptr;
    mHueField = mSaturationField = mValueField = nullptr;
}

void HSVPicker::updateReferences() const
{
    if (mSaturationSlider != nullptr)
        mSaturationSlider->SetRefColor(FWColorBytes(mColor));
    if (mValueSlider != nullptr)
        mValueSlider->SetRefColor(FWColorBytes(mColor));
}

void HSVPicker::ReceiveNewColorToEdit(const FWArgbColor& color)
{
    mColor = color;
    if (mHueSlider == nullptr)
        return;
    float h = 0.0f;
    float s = 0.0f;
    float v = 0.0f;
    RGBToHSV(mColor.r, mColor.g, mColor.b, h, s, v);
    FloatPrecisionSaver precision(1);
    mHueSlider->SetValue(h);
    SetFieldDecimal(mHueField, h);
    RedrawView(mHueField);
    mSaturationSlider->SetValue(s);
    mSaturationSlider->SetRefColor(FWColorBytes(mColor));
    SetFieldDecimal(mSaturationField, double(s) * 100.0);
    RedrawView(mSaturationField);
    mValueSlider->SetValue(v);
    mValueSlider->SetRefColor(FWColorBytes(mColor));
    SetFieldDecimal(mValueField, double(v) * 100.0);
    RedrawView(mValueField);
}

bool HSVPicker::InterfaceAction(FWView* view, const ActionType& action)
{
    if (mHueSlider == nullptr)
        return true;
    const float h = mHueSlider->GetValue();
    const float s = mSaturationSlider->GetValue();
    const float v = mValueSlider->GetValue();
    HSVToRGB(h, s, v, mColor.r, mColor.g, mColor.b);
    FloatPrecisionSaver precision(1);
    if (view == mHueSlider) {
        SetFieldDecimal(mHueField, h);
        RedrawView(mHueField);
    } else if (view == mSaturationSlider) {
        SetFieldDecimal(mSaturationField, double(s) * 100.0);
        RedrawView(mSaturationField);
    } else if (view == mValueSlider) {
        SetFieldDecimal(mValueField, double(v) * 100.0);
        RedrawView(mValueField);
    }
    updateReferences();
    DispatchEditedColor(mColor, action);
    return true;
}

bool HSVPicker::InterfaceEvent(FWView*)
{
    if (mHueSlider == nullptr)
        return true;
    // Every field is read, so a value half typed in another field counts as well.
    const float h = mHueField->GetFloat();
    const float s = mSaturationField->GetFloat() * 0.01f;
    const float v = mValueField->GetFloat() * 0.01f;
    HSVToRGB(h, s, v, mColor.r, mColor.g, mColor.b);
    mHueSlider->SetValue(h);
    mSaturationSlider->SetValue(s);
    mValueSlider->SetValue(v);
    updateReferences();
    DispatchEditedColor(mColor, ActionType(0));
    return true;
}

// ---- cyan, magenta, yellow, black

CMYKPicker::CMYKPicker(const FWColorPickerManager* manager) : FWColorPicker(manager, 30)
{
    ReadImagesFromDisk(902, FOUR_CHAR_CODE("PICT"));
}

void CMYKPicker::GetColorPickerSize(int16_t& width, int16_t& height)
{
    width = 156;
    height = 78;
}

void CMYKPicker::AddPickerViews(int16_t x, int16_t y)
{
    static const struct {
        const char* letter;
        ColorSlider::Type type;
    } kRows[4] = {{"C", ColorSlider::kCyan}, {"M", ColorSlider::kMagenta}, {"Y", ColorSlider::kYellow}, {"K", ColorSlider::kBlack}};
    for (int i = 0; i < 4; ++i) {
        Row& row = mRows[i];
        AddPickerRow(this, x, int16_t(y + 20 * i), kRows[i].letter, kRows[i].type, 1.0f, 40, row.slider, row.field);
        row.painter = row.slider != nullptr ? dynamic_cast<CCMYKSlicePainter*>(row.slider->GetSlicePainter()) : nullptr;
    }
}

void CMYKPicker::PickerViewsRemoved()
{
    for (Row& row : mRows)
        row = Row();
}

float& CMYKPicker::channel(int index)
{
    switch (index) {
    case 0:
        return mCyan;
    case 1:
        return mMagenta;
    case 2:
        return mYellow;
    default:
        return mBlack;
    }
}

void CMYKPicker::updateReferences()
{
    const FWCmyk32 bytes(FWColorByte(mCyan), FWColorByte(mMagenta), FWColorByte(mYellow), FWColorByte(mBlack));
    for (Row& row : mRows) {
        if (row.painter != nullptr)
            row.painter->SetReferenceCMYK(bytes);
        if (row.slider != nullptr)
            row.slider->UpdateSliderBackground();
    }
}

void CMYKPicker::ReceiveNewColorToEdit(const FWArgbColor& color)
{
    mColor = color;
    RGBToCMYK(mColor.r, mColor.g, mColor.b, mCyan, mMagenta, mYellow, mBlack);
    const FWCmyk32 bytes(FWColorByte(mCyan), FWColorByte(mMagenta), FWColorByte(mYellow), FWColorByte(mBlack));
    FloatPrecisionSaver precision(1);
    for (int i = 0; i < 4; ++i) {
        Row& row = mRows[i];
        if (row.slider == nullptr)
            continue;
        row.slider->SetValue(channel(i));
        if (row.painter != nullptr)
            row.painter->SetReferenceCMYK(bytes);
        row.slider->UpdateSliderBackground();
        SetFieldDecimal(row.field, double(channel(i)) * 100.0);
        RedrawView(row.field);
    }
}

void CMYKPicker::convertAndDispatch(const ActionType& action)
{
    CMYKToRGB(mCyan, mMagenta, mYellow, mBlack, mColor.r, mColor.g, mColor.b);
    updateReferences();
    DispatchEditedColor(mColor, action);
}

bool CMYKPicker::InterfaceAction(FWView* view, const ActionType& action)
{
    FloatPrecisionSaver precision(1);
    for (int i = 0; i < 4; ++i) {
        Row& row = mRows[i];
        if (view == nullptr || view != row.slider)
            continue;
        channel(i) = row.slider->GetValue();
        SetFieldDecimal(row.field, double(channel(i)) * 100.0);
        RedrawView(row.field);
        break;
    }
    convertAndDispatch(action);
    return true;
}

bool CMYKPicker::InterfaceEvent(FWView* view)
{
    for (int i = 0; i < 4; ++i) {
        Row& row = mRows[i];
        if (view == nullptr || view != row.field)
            continue;
        channel(i) = row.field->GetFloat() * 0.01f;
        row.slider->SetValue(channel(i));
        break;
    }
    convertAndDispatch(ActionType(0));
    return true;
}

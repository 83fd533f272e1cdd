#include "ARGBPicker.h"

#include "ColorSlider.h"
#include "EditText.h"
#include "FWStr.h"
#include "ImageBuffer.h"
#include "PickerRows.h"
#include "RadioButtonSet.h"

namespace {

constexpr int kPickerID = 10;
constexpr int32_t kPercentButton = 0;
constexpr int32_t kByteButton = 1;

} // namespace

ARGBPicker::ARGBPicker(const FWColorPickerManager* manager) : FWColorPicker(manager, kPickerID)
{
    ReadImagesFromDisk(900, FOUR_CHAR_CODE("PICT"));
}

void ARGBPicker::GetColorPickerSize(int16_t& width, int16_t& height)
{
    width = 153;
    height = GetManager()->GetEditAlpha() ? 78 : 58;
}

void ARGBPicker::AddPickerViews(int16_t x, int16_t y)
{
    int16_t top = y;
    if (GetManager()->GetEditAlpha()) {
        AddPickerRow(this, x, top, "A", ColorSlider::kGray, 1.0f, 37, mAlphaSlider, mAlphaField);
        top = int16_t(top + 20);
    }
    AddPickerRow(this, x, top, "R", ColorSlider::kRed, 1.0f, 37, mRedSlider, mRedField);
    top = int16_t(top + 20);
    AddPickerRow(this, x, top, "G", ColorSlider::kGreen, 1.0f, 37, mGreenSlider, mGreenField);
    top = int16_t(top + 20);
    AddPickerRow(this, x, top, "B", ColorSlider::kBlue, 1.0f, 37, mBlueSlider, mBlueField);

    const ImageBuffer* icon = GetPickerNormalImage();
    const int16_t iconWidth = icon != nullptr ? icon->GetRect().Width() : 0;
    FWStr<31> labels[2] = {FWStr<31>("Percent"), FWStr<31>("Byte")};
    auto* unit = new RadioButtonSet;
    unit->Init(GetPickerWindow(), FWPoint(int16_t(x + iconWidth + 48), int16_t(y - 30)), 2, labels);
    unit->SetActiveButton(mPercent ? kPercentButton : kByteButton);
    mUnitSwitch = unit;
    AddOneViewToPickerWindow(unit);
}

void ARGBPicker::PickerViewsRemoved()
{
    mAlphaSlider = mRedSlider = mGreenSlider = mBlueSlider = nullptr;
    mAlphaField = mRedField = mGreenField = mBlueField = nullptr;
    mUnitSwitch = nullptr;
}

void ARGBPicker::showComponent(EditText* field, float component) const
{
    if (field == nullptr)
        return;
    if (mPercent)
        SetFieldDecimal(field, double(component) * 100.0);
    else
        SetFieldWhole(field, double(component) * 255.0);
}

float ARGBPicker::readField(const EditText* field) const
{
    return field->GetFloat() * (mPercent ? 0.01f : 1.0f / 255.0f);
}

void ARGBPicker::setReference(ColorSlider* slider) const
{
    if (slider != nullptr)
        slider->SetRefColor(FWColorBytes(mColor));
}

void ARGBPicker::ReceiveNewColorToEdit(const FWArgbColor& color)
{
    mColor = color;
    FloatPrecisionSaver precision(1);
    if (mAlphaSlider != nullptr) {
        mAlphaSlider->SetValue(mColor.a);
        showComponent(mAlphaField, mColor.a);
        RedrawView(mAlphaField);
    }
    const struct {
        ColorSlider* slider;
        EditText* field;
        float component;
    } rows[] = {{mRedSlider, mRedField, mColor.r}, {mGreenSlider, mGreenField, mColor.g}, {mBlueSlider, mBlueField, mColor.b}};
    for (const auto& row : rows) {
        if (row.slider == nullptr)
            continue;
        row.slider->SetValue(row.component);
        setReference(row.slider);
        showComponent(row.field, row.component);
        RedrawView(row.field);
    }
}

bool ARGBPicker::InterfaceAction(FWView* view, const ActionType& action)
{
    FloatPrecisionSaver precision(1);
    if (view != nullptr && view == mAlphaSlider) {
        mColor.a = mAlphaSlider->GetValue();
        showComponent(mAlphaField, mColor.a);
        RedrawView(mAlphaField);
    } else if (view != nullptr && view == mRedSlider) {
        mColor.r = mRedSlider->GetValue();
        showComponent(mRedField, mColor.r);
        RedrawView(mRedField);
        setReference(mGreenSlider);
        setReference(mBlueSlider);
    } else if (view != nullptr && view == mGreenSlider) {
        mColor.g = mGreenSlider->GetValue();
        showComponent(mGreenField, mColor.g);
        RedrawView(mGreenField);
        setReference(mRedSlider);
        setReference(mBlueSlider);
    } else if (view != nullptr && view == mBlueSlider) {
        mColor.b = mBlueSlider->GetValue();
        showComponent(mBlueField, mColor.b);
        RedrawView(mBlueField);
        setReference(mRedSlider);
        setReference(mGreenSlider);
    }
    DispatchEditedColor(mColor, action);
    return true;
}

bool ARGBPicker::InterfaceEvent(FWView* view)
{
    FloatPrecisionSaver precision(1);
    if (view != nullptr && view == mUnitSwitch) {
        mPercent = mUnitSwitch->GetActiveButton() == kPercentButton;
        const struct {
            EditText* field;
            float component;
        } fields[] = {{mAlphaField, mColor.a}, {mRedField, mColor.r}, {mGreenField, mColor.g}, {mBlueField, mColor.b}};
        for (const auto& f : fields) {
            showComponent(f.field, f.component);
            RedrawView(f.field);
        }
    } else if (view != nullptr && view == mAlphaField) {
        mColor.a = readField(mAlphaField);
        mAlphaSlider->SetValue(mColor.a);
        RedrawView(mAlphaSlider);
    } else if (view != nullptr && (view == mRedField || view == mGreenField || view == mBlueField)) {
        ColorSlider* slider = nullptr;
        if (view == mRedField) {
            mColor.r = readField(mRedField);
            slider = mRedSlider;
            slider->SetValue(mColor.r);
        } else if (view == mGreenField) {
            mColor.g = readField(mGreenField);
            slider = mGreenSlider;
            slider->SetValue(mColor.g);
        } else {
            mColor.b = readField(mBlueField);
            slider = mBlueSlider;
            slider->SetValue(mColor.b);
        }
        setReference(mRedSlider);
        setReference(mGreenSlider);
        setReference(mBlueSlider);
        RedrawView(slider);
    }
    DispatchEditedColor(mColor, ActionType(0));
    return true;
}

void ARGBPicker::SetIsPercent(bool percent)
{
    mPercent = percent;
    if (mUnitSwitch == nullptr)
        return;
    mUnitSwitch->SetActiveButton(percent ? kPercentButton : kByteButton);
    for (FWView* view : GetPickerViews())
        view->Inval();
}

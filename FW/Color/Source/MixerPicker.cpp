#include "MixerPicker.h"

#include "FWDrawContext.h"
#include "FWPlatformUtils.h"
#include "FWWindow.h"

#include <algorithm>

MixerPicker::MixerPicker(const FWColorPickerManager* manager) : FWColorPicker(manager, 50)
{
    ReadImagesFromDisk(903, FOUR_CHAR_CODE("PICT"));
}

void MixerPicker::GetColorPickerSize(int16_t& width, int16_t& height)
{
    width = 130;
    height = 90;
}

void MixerPicker::AddPickerViews(int16_t x, int16_t y)
{
    auto* mixer = new ColorMixer(GetPickerWindow(), this);
    mixer->Initialize(FWRect(x, y, int16_t(x + 130), int16_t(y + 90)));
    AddOneViewToPickerWindow(mixer);
}

void MixerPicker::NewMixerColor(FWArgb32 color, const ActionType& action)
{
    mColor.r = float(color.r / 255.0);
    mColor.g = float(color.g / 255.0);
    mColor.b = float(color.b / 255.0);
    DispatchEditedColor(mColor, action);
}

ColorMixer::ColorMixer(FWWindow* window, MixerPicker* owner) : mOwner(owner)
{
    FWView::Init(window);
}

ColorMixer::~ColorMixer()
{
    delete mSlice;
}

void ColorMixer::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    delete mSlice;
    FWRect inside = rect;
    inside.Inset(1, 1);
    mSlice = new ColorSlice(&inside, &mPainter, true);
    mSlice->ComputeSliceImage();
}

void ColorMixer::Draw(FWDrawContext& context) const
{
    const FWRect r = GetRect();
    context.InsetRect(&r, true);
    FWRect plane = r;
    plane.Inset(2, 2);
    if (mSlice != nullptr && mSlice->Valid())
        context.DrawImage(mSlice, &plane, true);
}

FWArgb32 ColorMixer::colorAt(const FWRect& plane, FWPoint point) const
{
    uint32_t pixel = 0;
    if (mSlice != nullptr)
        mSlice->ComputeColor(int16_t(point.h - plane.left), int16_t(point.v - plane.top), pixel);
    return FWArgb32(GetAlpha32(pixel), GetRed32(pixel), GetGreen32(pixel), GetBlue32(pixel));
}

bool ColorMixer::MouseDownEvent(FWEvent& event)
{
    FWRect plane = GetRect();
    plane.Inset(2, 2);
    FWPoint last = event.mWhere;
    if (!plane.PtInRect(last))
        return true;
    FWArgb32 color = colorAt(plane, last);
    mOwner->NewMixerColor(color, ActionType(0));
    FWWindow* window = GetWindow();
    while (window != nullptr && FWIsMouseStillDown()) {
        FWPoint now;
        window->GetMouseLocal(&now);
        now.h = std::clamp<int16_t>(now.h, plane.left, int16_t(plane.right - 1));
        now.v = std::clamp<int16_t>(now.v, plane.top, int16_t(plane.bottom - 1));
        if (now == last)
            continue;
        last = now;
        color = colorAt(plane, last);
        mOwner->NewMixerColor(color, ActionType(1));
    }
    mOwner->NewMixerColor(color, ActionType(2));
    return true;
}

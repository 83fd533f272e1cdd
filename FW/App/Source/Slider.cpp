#include "Slider.h"

#include "FWApp.h"
#include "FWColorModels.h"
#include "FWDrawContext.h"
#include "FWEvent.h"
#include "FWPlatformUtils.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWWindow.h"
#include "SubClassFactory.h"

#include <cmath>

namespace {

constexpr const char* kSliderSource = "FW/App/Source/Slider";

SubClassFactory<FWView, Slider> sFactory("Slider");

} // namespace

// ---- value and range

void Slider::SetValue(float value)
{
    const float legal = LegalizeValue(value);
    if (legal == mValue)
        return;
    mValue = legal;
    redrawThumb();
}

void Slider::SetSlider(float minimum, float maximum, float value, int32_t steps)
{
    mMinimum = minimum;
    mMaximum = maximum;
    mSteps = steps;
    if (steps > 1)
        mStepSize = (maximum - minimum) / float(steps - 1);
    // Below the range, so that the value always counts as changed and the thumb is redrawn.
    mValue = minimum - 1;
    SetValue(value);
}

float Slider::LegalizeValue(float value) const
{
    const auto fallback = [this] { return std::isfinite(mMinimum) ? mMinimum : 0.0f; };
    double v = value;
    if (v < mMinimum)
        v = mMinimum;
    else if (v > mMaximum)
        v = mMaximum;
    if (!std::isfinite(v))
        v = fallback();
    if (mSteps > 1 && !near_equal(mMaximum, mMinimum)) {
        // Whole steps from 0, not from the minimum; the quotient in single precision.
        const float steps = float(v) / mStepSize;
        v = float(double(mStepSize) * std::floor(0.5 + double(steps)));
        if (!std::isfinite(v))
            v = fallback();
    }
    return float(FactorizeValue(0.01, v));
}

double Slider::FactorizeValue(double precision, double value)
{
    if (!std::isfinite(value) || !(precision > 0) || !std::isfinite(precision))
        return value;
    double unit = 1.0;
    while (precision > unit)
        unit *= 10.0;
    while (unit > precision)
        unit *= 0.1;
    const double half = precision * 0.5;
    double candidate = std::floor(value / unit + 0.5) * unit;
    // Each pass tries a unit ten times coarser; a finite double needs fewer than 400 of them
    // before the candidate is 0 or strays.
    for (int pass = 0; pass < 400; ++pass) {
        const double result = candidate;
        unit *= 10.0;
        candidate = std::floor(value / unit + 0.5) * unit;
        if (!(std::fabs(value - candidate) <= half) || result == 0.0)
            return result;
    }
    return candidate;
}

void Slider::recomputeStepSize()
{
    mStepSize = mSteps >= 2 ? (mMaximum - mMinimum) / float(mSteps - 1) : 1.0f;
}

// ---- drawing

void Slider::redrawThumb()
{
    if (!Visible() || !AllParentsVisible())
        return;
    FWWindow* window = GetWindow();
    if (window == nullptr && FWApp::Instance() != nullptr)
        window = FWApp::Instance()->GetFrontWindow();
    if (window == nullptr)
        return;
    FWDrawContext context(window);
    InitDrawContext(context);
    DrawThumb(context);
    FinishDrawContext(context);
}

// ---- events

bool Slider::trackButton(FWDrawContext& context, SliderButtonType button)
{
    bool& pressed = button == kFirstButton ? mFirstPressed : mSecondPressed;
    pressed = true;
    DrawButton(context, button);
    ButtonEvent(context, button == kFirstButton);
    while (FWIsMouseStillDown()) {
    }
    pressed = false;
    DrawButton(context, button);
    SendInterfaceEvent(this);
    return true;
}

bool Slider::MouseDownEvent(FWEvent& event)
{
    FWWindow* window = GetWindow();
    if (window == nullptr)
        return false;
    FWDrawContext context(window);
    InitDrawContext(context);
    // The preparation is undone on every way out, before the context ends.
    struct Finisher {
        Slider* slider;
        FWDrawContext& context;
        ~Finisher() { slider->FinishDrawContext(context); }
    } finisher{this, context};

    if (mHasButtons && mFirstButton.PtInRect(event.mWhere))
        return trackButton(context, kFirstButton);
    if (mHasButtons && mSecondButton.PtInRect(event.mWhere))
        return trackButton(context, kSecondButton);
    FWRect inWindow = GetRect();
    ViewToWindow(inWindow);
    if (!inWindow.PtInRect(event.mWhere))
        return false;

    // The thumb works in the view's own coordinates, as it draws.
    FWPoint point = event.mWhere;
    WindowToView(point);
    mTracking = true;
    // The value before the press counts as sent, so a press that moves the thumb is reported
    // as tracking once the mouse moves.
    float sent = mValue;
    mValue = LegalizeValue(GetThumbValue(point));
    DrawThumb(context);
    SendInterfaceAction(this, ActionType(0));
    FWPoint last = event.mWhere;
    while (FWIsMouseStillDown()) {
        FWPoint mouse;
        window->GetMouseLocal(&mouse);
        if (mouse == last)
            continue;
        FWPoint inView = mouse;
        WindowToView(inView);
        mValue = LegalizeValue(GetThumbValue(inView));
        DrawThumb(context);
        if (mValue != sent) {
            sent = mValue;
            SendInterfaceAction(this, ActionType(1));
        }
        context.Flush();
        last = mouse;
    }
    mTracking = false;
    DrawThumb(context);
    SendInterfaceAction(this, ActionType(2));
    SendInterfaceEvent(this);
    return true;
}

// ---- the stored record

void Slider::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("Slider", 1);
    FWView::OldWrite(stream);
    stream.WriteByte(mHorizontal ? 1 : 0);
    stream.WriteFWRect(mReservedRect);
    stream.WriteByte(mHasButtons ? 1 : 0);
    stream.WriteFWRect(mFirstButton);
    stream.WriteByte(mFirstPressed ? 1 : 0);
    stream.WriteByte(mReserved1 ? 1 : 0);
    stream.WriteFWRect(mSecondButton);
    stream.WriteByte(mSecondPressed ? 1 : 0);
    stream.WriteByte(mReserved2 ? 1 : 0);
    for (int32_t value : mReservedLongs)
        stream.WriteLong(value);
    stream.WriteFWRect(mTrack);
    stream.WriteByte(mTracking ? 1 : 0);
    stream.WriteFloat(mMinimum);
    stream.WriteFloat(mMaximum);
    stream.WriteFloat(mValue);
    stream.WriteLong(mSteps);
    stream.FinishClass("Slider", this, 0);
}

void Slider::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("Slider");
    FWView::OldRead(stream);
    if (version == 1) {
        mHorizontal = stream.ReadByte() != 0;
        stream.ReadFWRect(mReservedRect);
        mHasButtons = stream.ReadByte() != 0;
        stream.ReadFWRect(mFirstButton);
        mFirstPressed = stream.ReadByte() != 0;
        mReserved1 = stream.ReadByte() != 0;
        stream.ReadFWRect(mSecondButton);
        mSecondPressed = stream.ReadByte() != 0;
        mReserved2 = stream.ReadByte() != 0;
        for (int32_t& value : mReservedLongs)
            value = stream.ReadLong();
        stream.ReadFWRect(mTrack);
        mTracking = stream.ReadByte() != 0;
        // The floats are kept as stored, whatever they hold; LegalizeValue copes with them.
        mMinimum = stream.ReadFloat();
        mMaximum = stream.ReadFloat();
        mValue = stream.ReadFloat();
        mSteps = stream.ReadLong();
    } else {
        FWStoredDataNotice::Report("Unknown 'Slider' version", kSliderSource, __LINE__);
    }
    recomputeStepSize();
    stream.FinishClass("Slider", this, 0);
}

#include "ColorSlider.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "SlicePainters.h"
#include "SubClassFactory.h"

#include <cmath>

namespace {

const FWStr<31> kDisplayName("ColorSlider");
SubClassFactory<FWView, ColorSlider> sFactory("ColorSlider");

// The painter of a type and the reference colour it starts from; null for a type outside the
// table.
CRGBSlicePainter* painterFor(ColorSlider::Type type, FWArgb32& reference)
{
    reference = FWArgb32::White;
    switch (type) {
    case ColorSlider::kGray: return new CGrayRowPainter;
    case ColorSlider::kRed: reference = FWArgb32::Red; return new CRedRowPainter;
    case ColorSlider::kGreen: reference = FWArgb32::Green; return new CGreenRowPainter;
    case ColorSlider::kBlue: reference = FWArgb32::Blue; return new CBlueRowPainter;
    case ColorSlider::kHue: return new CHueRowPainter;
    case ColorSlider::kSaturation: reference = FWArgb32::Red; return new CSaturationRowPainter;
    case ColorSlider::kValue: reference = FWArgb32::Red; return new CValueRowPainter;
    case ColorSlider::kCyan: reference = FWArgb32::Cyan; return new CCyanRowPainter;
    case ColorSlider::kMagenta: reference = FWArgb32::Magenta; return new CMagentaRowPainter;
    case ColorSlider::kYellow: reference = FWArgb32::Yellow; return new CYellowRowPainter;
    case ColorSlider::kBlack: reference = FWArgb32::Red; return new CBlackRowPainter;
    case ColorSlider::kWhiteness: reference = FWArgb32::Red; return new CWhitenessRowPainter;
    case ColorSlider::kBlackness: return new CBlacknessRowPainter;
    }
    return nullptr;
}

} // namespace

ColorSlider::~ColorSlider()
{
    delete mSlice;
    delete mPainter;
}

void ColorSlider::Init(FWWindow* window, const FWRect& rect, Type type)
{
    Slider::Init(window);
    SetStyle(type);
    FWView::SetRect(rect);
    mHorizontal = true;
    SetRect(rect);
}

// ---- colour

void ColorSlider::SetStyle(Type type)
{
    mType = type;
    delete mPainter;
    mPainter = painterFor(type, mRefColor);
    if (mPainter != nullptr)
        mPainter->SetReferenceRGB(mRefColor);
    if (mSlice != nullptr) {
        mSlice->SetThePainter(mPainter);
        mSliceStale = true;
        Inval();
    }
}

void ColorSlider::SetRefColor(FWArgb32 color)
{
    mRefColor = color;
    if (mPainter == nullptr)
        return;
    mPainter->SetReferenceRGB(color);
    UpdateSliderBackground();
}

void ColorSlider::UpdateSliderBackground()
{
    if (mSlice == nullptr)
        return;
    mSliceStale = true;
    if (GetWindow() == nullptr || !Visible() || !AllParentsVisible())
        return;
    FWDrawContext context(this);
    DrawSliderImage(context);
}

// ---- geometry

void ColorSlider::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    if (rect.Width() > rect.Height())
        mHorizontal = true;
    mTrack = FWRect(int16_t(rect.left + 5), int16_t(rect.top + 1), int16_t(rect.right - 5), int16_t(rect.bottom - 7));
    CreateBackground();
}

void ColorSlider::CreateBackground()
{
    mImageRect = mTrack;
    mImageRect.Inset(1, 1);
    mSliceRect = mImageRect;
    mSliceRect.SlideToOrigin();
    mSliceRect.Inset(1, 1);
    delete mSlice;
    mSlice = new HorizontalColorSlice(&mSliceRect, mPainter, true);
    mSliceStale = true;
}

float ColorSlider::GetThumbValue(FWPoint point)
{
    const int32_t width = mTrack.Width();
    if (width <= 0)
        return mMinimum;
    return mMinimum + float(point.h - mTrack.left) / float(width) * (mMaximum - mMinimum);
}

int32_t ColorSlider::thumbOffset() const
{
    if (near_equal(mMinimum, mMaximum))
        return 0;
    const float offset = float(mTrack.Width() - 3) * (mValue - mMinimum) / (mMaximum - mMinimum);
    // A value or range that is not finite (stored so) puts the thumb at the left end.
    if (!std::isfinite(offset) || std::fabs(offset) > 32767.0f)
        return 0;
    return int32_t(offset);
}

bool ColorSlider::IsThumb(FWPoint point)
{
    const int32_t x = thumbOffset();
    const FWRect thumb(int16_t(mTrack.left + x - 7), int16_t(mTrack.bottom + 1), int16_t(mTrack.left + x + 7),
                       int16_t(mTrack.bottom + 8));
    return thumb.PtInRect(point);
}

// ---- drawing

void ColorSlider::DrawSliderImage(FWDrawContext& context) const
{
    if (mSlice == nullptr)
        return;
    if (mSliceStale) {
        mSlice->ComputeSliceImage();
        mSliceStale = false;
    }
    FWRect target = mImageRect;
    target.Inset(1, 1);
    context.DrawImage(mSlice, &target, false);
}

void ColorSlider::Draw(FWDrawContext& context) const
{
    DrawSliderImage(context);
    FWRect frame = mImageRect;
    frame.Grow(1);
    context.InsetRect(&frame, true);
    DrawThumb(context);
}

void ColorSlider::DrawThumb(FWDrawContext& context) const
{
    FWColorSaver colors(context, context.GetForeColor(), context.GetBackColor());
    const int32_t left = mImageRect.left;
    const int32_t bottom = mImageRect.bottom;
    const int32_t x = thumbOffset();
    if (x != mLastThumbOffset) {
        const int32_t last = left + mLastThumbOffset;
        const FWRect old(int16_t(last - 6), int16_t(bottom + 1), int16_t(last + 7), int16_t(bottom + 7));
        context.EraseRect(&old, FWGetAppColor(0));
        // The thumb's tip covered the frame's bottom line.
        context.SetForeColor(FWGetAppColor(1));
        context.MoveTo(last, bottom);
        context.LineTo(last + 1, bottom);
        mLastThumbOffset = x;
    }
    const int32_t tip = left + x;
    context.SetForeColor(FWArgb32::Black);
    context.MoveTo(tip, bottom);
    context.LineTo(tip + 6, bottom + 6);
    context.LineTo(tip - 6, bottom + 6);
    context.LineTo(tip, bottom);

    const auto line = [&](int colour, int32_t h1, int32_t v1, int32_t h2, int32_t v2) {
        context.SetForeColor(FWGetAppColor(mTracking ? 2 : colour));
        context.MoveTo(tip + h1, bottom + v1);
        context.LineTo(tip + h2, bottom + v2);
    };
    line(1, -3, 4, 0, 1);
    line(1, -2, 4, 0, 2);
    line(0, -1, 4, 2, 4);
    line(0, 0, 3, 1, 3);
    line(0, 1, 2, 3, 4);
    line(2, -4, 5, 4, 5);
}

// ---- editor support

FWView* ColorSlider::Duplicate(FWPoint offset)
{
    auto* copy = new ColorSlider;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    copy->Init(GetWindow(), rect, mType);
    return copy;
}

void ColorSlider::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tviewArray[%d] = new ColorSlider(window, rect, (ColorSlider::Type) %d);\n", int(index),
                 int(mType));
}

bool ColorSlider::DoInterface()
{
    ColorSliderDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& ColorSlider::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* ColorSlider::Viewable_Icon()
{
    return DiskImage::Acquire(2004, FOUR_CHAR_CODE("argb"));
}

// ---- the stored record

void ColorSlider::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("ColorSlider", 1);
    Slider::OldWrite(stream);
    stream.WriteByte(int8_t(mType));
    stream.WriteFWArgb32AsLong(mRefColor);
    stream.WriteFWRect(mImageRect);
    stream.WriteFWRect(mSliceRect);
    stream.FinishClass("ColorSlider", this, 0);
}

void ColorSlider::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("ColorSlider");
    Slider::OldRead(stream);
    if (version == 1) {
        mType = Type(int32_t(stream.ReadByte()));
        stream.ReadFWArgb32AsLong(mRefColor);
        stream.ReadFWRect(mImageRect);
        stream.ReadFWRect(mSliceRect);
    } else {
        FWStoredDataNotice::Report("Unknown 'ColorSlider' version", kSourcePath, __LINE__);
    }
    // The slice and the painter are rebuilt from the rectangle and the type; the type's own
    // reference colour replaces the stored one.
    delete mPainter;
    mPainter = nullptr;
    delete mSlice;
    mSlice = nullptr;
    mLastThumbOffset = 0;
    SetRect(GetRect());
    SetStyle(mType);
    stream.FinishClass("ColorSlider", this, 0);
}

// The scroll bar: thumb arithmetic, the drag loop, drawing and the stored record. Products of
// values and pixel lengths are taken in 64 bits: stored values can be of any size.
#include "Scroller.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWWindow.h"
#include "ImageBuffer.h"
#include "SubClassFactory.h"

#include <algorithm>
#include <climits>

namespace {

constexpr const char* kScrollerSource = "FW/App/Source/Scroller";

const FWStr<31> kScrollerName("Scroller");
SubClassFactory<FWView, Scroller> sFactory("Scroller");

int32_t clampTo32(int64_t value)
{
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

int16_t along(const FWPoint& point, bool vertical)
{
    return vertical ? point.v : point.h;
}

} // namespace

Scroller::Scroller()
{
    SetDebugName("Scroller");
}

Scroller::~Scroller()
{
    freeBuffer();
}

void Scroller::Init(FWWindow* window, const FWRect* rect)
{
    FWView::Init(window);
    if (rect != nullptr)
        SetRect(*rect);
    SetScrollMax(20, 50);
}

// --- Values ------------------------------------------------------------------------------------

void Scroller::SetScrollMax(int32_t visible, int32_t total)
{
    if (visible == mVisible && total == mTotal)
        return;
    const int32_t maximum = clampTo32(std::max<int64_t>(0, int64_t(total) - visible));
    if (maximum != mMaximum) {
        mMaximum = maximum;
        if (mValue > mMaximum)
            mValue = mMaximum;
    }
    mVisible = visible;
    mTotal = total;
    RecalcThumb();
}

void Scroller::RecalcThumb()
{
    const int32_t length = ScrollerLength();
    if (mTotal >= 1)
        mThumbLength = clampTo32(std::max<int64_t>(10, int64_t(mVisible) * length / mTotal));
    else
        mThumbLength = 0;
    mTravel = clampTo32(int64_t(length) - mThumbLength);
}

// --- Geometry ----------------------------------------------------------------------------------

void Scroller::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    RecalcThumb();
    if (mBuffer != nullptr)
        makeBuffer();
}

bool Scroller::IsVertical() const
{
    const FWRect rect = GetRect();
    return rect.Height() > rect.Width();
}

int32_t Scroller::ScrollerLength() const
{
    const FWRect rect = GetRect();
    return std::max<int32_t>(rect.Height(), rect.Width());
}

FWRect* Scroller::GetThumbRect(FWRect* out) const
{
    FWRect rect = GetRect();
    // A bar too short for its thumb to move is all thumb.
    if (mTravel <= 0 && mMaximum > 0) {
        *out = rect;
        return out;
    }
    const bool vertical = IsVertical();
    const int64_t offset = mMaximum != 0 ? int64_t(mValue) * mTravel / mMaximum : 0;
    const int32_t start = clampTo32((vertical ? rect.top : rect.left) + offset);
    const int32_t end = clampTo32(int64_t(start) + mThumbLength);
    if (vertical) {
        rect.top = int16_t(std::clamp<int32_t>(start, INT16_MIN, INT16_MAX));
        rect.bottom = int16_t(std::clamp<int32_t>(end, INT16_MIN, INT16_MAX));
    } else {
        rect.left = int16_t(std::clamp<int32_t>(start, INT16_MIN, INT16_MAX));
        rect.right = int16_t(std::clamp<int32_t>(end, INT16_MIN, INT16_MAX));
    }
    *out = rect;
    return out;
}

// --- Off-screen drawing ------------------------------------------------------------------------

bool Scroller::SetDrawMode(int mode)
{
    const bool had = mBuffer != nullptr;
    if (mode == 1 && mBuffer == nullptr && mMaximum > 0)
        makeBuffer();
    else if (mode == 0)
        freeBuffer();
    return had;
}

// The view rectangle less one pixel on the cross axis.
void Scroller::makeBuffer()
{
    freeBuffer();
    FWRect rect = GetRect();
    if (IsVertical())
        rect.right = int16_t(rect.right - 1);
    else
        rect.bottom = int16_t(rect.bottom - 1);
    mBuffer = new ImageBuffer(&rect, kImageBufferDepth32);
    if (!mBuffer->Valid())
        freeBuffer();
}

void Scroller::freeBuffer()
{
    delete mBuffer;
    mBuffer = nullptr;
}

// --- Tracking ----------------------------------------------------------------------------------

void Scroller::drawNow()
{
    if (GetWindow() == nullptr || !AllParentsVisible())
        return;
    FWDrawContext context(this);
    Draw(context);
    context.Flush();
}

void Scroller::report(ScrollProc proc, void* context, int32_t action)
{
    drawNow();
    if (proc != nullptr)
        proc(mLastChange, context, this);
    else
        SendInterfaceAction(this, ActionType(action));
}

void Scroller::Track(FWPoint start, ScrollProc proc, void* context)
{
    // Nothing to scroll, or no room for the thumb to move.
    if (mMaximum < 1 || mTravel <= 0 || GetWindow() == nullptr)
        return;
    const bool vertical = IsVertical();
    int32_t startValue = mValue;
    const bool hadBuffer = SetDrawMode(1);

    const bool inBar = GetRect().PtInRect(start);
    FWRect thumb;
    GetThumbRect(&thumb);
    if (inBar && !thumb.PtInRect(start)) {
        // A press in the trough centres the thumb on the point.
        const int64_t d = int64_t(along(start, vertical)) - (int64_t(vertical ? thumb.top : thumb.left) +
                                                             (vertical ? thumb.bottom : thumb.right)) / 2;
        const int32_t value = clampTo32(std::clamp<int64_t>(startValue + int64_t(mMaximum) * d / mTravel, 0, mMaximum));
        mLastChange = value - mValue;
        mValue = value;
        startValue = value;
        report(proc, context, 0);
    } else if (proc == nullptr) {
        drawNow();
        SendInterfaceAction(this, ActionType(0));
    }

    FWPoint last = start;
    FWPoint point = start;
    while (GetWindow()->MouseDrag(last, &point, true, 0)) {
        if (along(point, vertical) == along(last, vertical))
            continue;
        const int64_t d = int64_t(along(point, vertical)) - along(start, vertical);
        const int64_t wanted = inBar ? startValue + int64_t(mMaximum) * d / mTravel : startValue - d;
        const int32_t value = clampTo32(std::clamp<int64_t>(wanted, 0, mMaximum));
        if (value != mValue) {
            mLastChange = value - mValue;
            mValue = value;
            report(proc, context, 1);
        }
        last = point;
    }

    if (proc == nullptr) {
        SendInterfaceAction(this, ActionType(2));
        SendInterfaceEvent(this);
    }
    if (!hadBuffer)
        SetDrawMode(0);
}

bool Scroller::MouseDownEvent(FWEvent& event)
{
    Track(event.mWhere, nullptr, nullptr);
    return true;
}

// --- Drawing -----------------------------------------------------------------------------------

void Scroller::Draw(FWDrawContext& context) const
{
    if (!Visible())
        return;
    FWRect visible;
    context.GetVisRect(&visible);
    const FWRect rect = GetRect();
    if (!rect.IntersectRect(visible))
        return;
    if (mBuffer == nullptr) {
        FWColorSaver colors(context);
        FWPenSaver pen(context);
        FWClipSaver clip(context, &visible);
        drawBar(context);
        return;
    }
    if (FWDrawContext* offscreen = mBuffer->SetContext())
        drawBar(*offscreen);
    FWRect target = rect;
    if (IsVertical())
        target.right = int16_t(target.right - 1);
    else
        target.bottom = int16_t(target.bottom - 1);
    context.DrawImage(mBuffer, &target, false);
}

void Scroller::drawBar(FWDrawContext& context) const
{
    context.SetForeColor(FWArgb32::Black);
    context.SetBackColor(FWGetAppColor(0));
    context.PenNormal();
    const FWRect rect = GetRect();
    context.FrameRect(&rect);
    FWRect trough = rect;
    trough.Inset(1, 1);
    context.PaintRect(&trough, FWGetAppColor(5));
    context.InsetRect(&trough, false);
    if (mMaximum <= 0)
        return;

    const bool vertical = IsVertical();
    FWRect thumb;
    GetThumbRect(&thumb);
    // A value beyond the maximum is stored as given; the thumb still stays in the bar.
    if (!thumb.IntersectRect(rect, &thumb))
        return;
    context.SetForeColor(FWArgb32::Black);
    if (vertical) {
        context.MoveTo(thumb.left, thumb.top);
        context.LineTo(thumb.right - 1, thumb.top);
        context.MoveTo(thumb.left, thumb.bottom - 1);
        context.LineTo(thumb.right - 1, thumb.bottom - 1);
    } else {
        context.MoveTo(thumb.left, thumb.top);
        context.LineTo(thumb.left, thumb.bottom - 1);
        context.MoveTo(thumb.right - 1, thumb.top);
        context.LineTo(thumb.right - 1, thumb.bottom - 1);
    }
    FWRect face = thumb;
    face.Inset(1, 1);
    context.PaintRect(&face, FWGetAppColor(0));
    context.ExtrudedRect(&face, nullptr);

    const int32_t length = vertical ? thumb.Height() : thumb.Width();
    if (length <= 20)
        return;
    // The grip: six lines across the bar, one pixel further in than the thumb's face.
    FWRect across = thumb;
    across.Inset(2, 2);
    const FWPoint centre = thumb.Center();
    const struct {
        int offset;
        int colour;
    } grip[] = {{-3, 2}, {0, 2}, {3, 2}, {-2, 1}, {1, 1}, {4, 1}};
    for (const auto& g : grip) {
        context.SetForeColor(FWGetAppColor(g.colour));
        if (vertical) {
            const int32_t v = centre.v + g.offset;
            context.MoveTo(across.left, v);
            context.LineTo(across.right - 1, v);
        } else {
            const int32_t h = centre.h + g.offset;
            context.MoveTo(h, across.top);
            context.LineTo(h, across.bottom - 1);
        }
    }
}

// --- Persistence -------------------------------------------------------------------------------

void Scroller::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tviewArray[%ld] = new Scroller(window, rect);\n", long(index));
}

// Version 1: version byte; the view's record; visible, total, value, maximum, last change, thumb
// length and travel as stored (nothing is recomputed on reading).
void Scroller::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("Scroller", 1);
    FWView::OldWrite(stream);
    for (int32_t field : {mVisible, mTotal, mValue, mMaximum, mLastChange, mThumbLength, mTravel})
        stream.WriteLong(field);
    stream.FinishClass("Scroller", this, 0);
}

void Scroller::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("Scroller");
    FWView::OldRead(stream);
    if (version != 1) {
        FWStoredDataNotice::Report("Unknown 'Scroller' version", kScrollerSource, 384);
        stream.FinishClass("Scroller", this, 0);
        return;
    }
    for (int32_t* field : {&mVisible, &mTotal, &mValue, &mMaximum, &mLastChange, &mThumbLength, &mTravel})
        *field = stream.ReadLong();
    stream.FinishClass("Scroller", this, 0);
}

bool Scroller::DoInterface()
{
    ScrollerDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& Scroller::Viewable_Name() const
{
    return kScrollerName;
}

const ImageBuffer* Scroller::Viewable_Icon()
{
    return DiskImage::Acquire(1010, FOUR_CHAR_CODE("argb"));
}

// The group box: layout of the frame and the label set into it, drawing by style, and the
// stored record (version byte, the branching control's record, position and style bytes, the
// content, label and frame rects, the label, two unused Longs, the skip-validation byte).
#include "Group.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWControlFont.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWFont.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "FWWindow.h"
#include "SubClassFactory.h"

#include <cstdlib>

namespace {

const FWStr<31> kDisplayName("Group");
SubClassFactory<FWView, Group> sFactory("Group");

} // namespace

void Group::Init(FWWindow* window, const FWRect& rect, FWString* label, LabelPosition position, Style style)
{
    FWView::Init(window);
    mStyle = style;
    mLabelPosition = position;
    if (label != nullptr)
        mLabel.mText = *label;
    SetRect(rect);
}

FWView* Group::Duplicate(FWPoint offset)
{
    auto* copy = new Group;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    FWDynamicString label(mLabel.mText);
    copy->Init(GetWindow(), rect, &label, mLabelPosition, mStyle);
    return copy;
}

void Group::SetRect(const FWRect& rect)
{
    // The least size is checked on the span, so that a rectangle stored inverted keeps its size.
    FWRect r = rect;
    if (std::abs(r.Width()) <= 9)
        r.right = int16_t(r.left + 60);
    if (std::abs(r.Height()) <= 9)
        r.bottom = int16_t(r.top + 60);
    FWView::SetRect(r);
    mFrameRect = r;

    if (showsLabel()) {
        const int32_t w = FWControlFont(*this).GetStringWidth(&mLabel.mText);
        const bool top = mLabelPosition <= kTopRight;
        int32_t h = r.left + 12;
        if (mLabelPosition == kTopCenter || mLabelPosition == kBottomCenter)
            h = int32_t(r.left + r.Width() / 2.0 - w / 2.0);
        else if (mLabelPosition == kTopRight || mLabelPosition == kBottomRight)
            h = r.right - w - 12;
        const int32_t v = top ? r.top + 10 : r.bottom - 2;
        if (top)
            mFrameRect.top = int16_t(r.top + 5);
        else
            mFrameRect.bottom = int16_t(r.bottom - 5);
        mLabel.mPoint = FWPoint(int16_t(h), int16_t(v));
        mLabelRect = FWRect(int16_t(h - 3), int16_t(v - 10), int16_t(h + w + 3), int16_t(v));
    }

    mContentRect = mFrameRect;
    if (mStyle == kRaised || mStyle == kSunken)
        mContentRect.Inset(1, 1);
    else if (mStyle == kEngraved || mStyle == kEmbossed || mStyle == kFramedSunken)
        mContentRect.Inset(2, 2);
    mContentRect.right = int16_t(mContentRect.right - 1);
    mContentRect.bottom = int16_t(mContentRect.bottom - 1);

    if (mSkipNextValidation)
        mSkipNextValidation = false;
    else
        ValidateBranches();
}

// An engraved or embossed line: the outline in one colour, the inner top-left and outer
// bottom-right lines in the other.
void Group::drawLine(FWDrawContext& context, const FWRect& frame, int outlineIndex, int lineIndex) const
{
    FWRect r = frame;
    r.right = int16_t(r.right - 1);
    r.bottom = int16_t(r.bottom - 1);
    context.SetForeColor(FWGetAppColor(outlineIndex));
    context.FrameRect(&r);
    context.SetForeColor(FWGetAppColor(lineIndex));
    context.MoveTo(r.right - 2, r.top + 1);
    context.LineTo(r.left + 1, r.top + 1);
    context.LineTo(r.left + 1, r.bottom - 2);
    context.MoveTo(r.left, r.bottom);
    context.LineTo(r.right, r.bottom);
    context.LineTo(r.right, r.top);
}

void Group::Draw(FWDrawContext& context) const
{
    FWColorSaver colors(context);
    if (GetBranchTotal() > 1) {
        const FWRect whole = GetRect();
        context.EraseRect(&whole, FWGetAppColor(0));
    }
    FWRect r = mFrameRect;
    switch (mStyle) {
    case kRaised:
        context.ExtrudedRect(&r, nullptr);
        break;
    case kSunken:
        context.InsetRect(&r, false);
        break;
    case kEngraved:
        drawLine(context, r, 2, 1);
        break;
    case kEmbossed:
        drawLine(context, r, 1, 2);
        break;
    case kFramedSunken:
        context.InsetRect(&r, false);
        r.Inset(1, 1);
        context.SetForeColor(FWArgb32::Black);
        context.FrameRect(&r);
        break;
    case kCustom:
        context.SetForeColor(FWArgb32::Black);
        context.FrameRect(&r);
        if (GetWindow() != nullptr)
            GetWindow()->DrawCustomView(context, this);
        break;
    default:
        break;
    }
    if (showsLabel()) {
        context.EraseRect(&mLabelRect, FWGetAppColor(0));
        context.DrawEmbossedString(mLabel.mPoint.h, mLabel.mPoint.v, &mLabel.mText, IsGhosted(), 0, false);
    }
}

bool Group::MouseDownEvent(FWEvent&)
{
    SendInterfaceEvent(this);
    return true;
}

const FWString& Group::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* Group::Viewable_Icon()
{
    return DiskImage::Acquire(2007, FOUR_CHAR_CODE("argb"));
}

bool Group::DoInterface()
{
    GroupDlg dialog(nullptr, this);
    return dialog.Execute();
}

void Group::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tstring.Set(\"%s\");\n", mLabel.mText.GetCString());
    std::fprintf(file,
                 "\t\tviewArray[%ld] = new Group(window, rect, &string, (Group::LabelPosition) %d, (Group::Style) %d);\n",
                 long(index), int(mLabelPosition), int(mStyle));
}

void Group::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("Group", 1);
    FWBranchingControl::OldWrite(stream);
    stream.WriteByte(int8_t(mLabelPosition));
    stream.WriteByte(int8_t(mStyle));
    stream.WriteFWRect(mContentRect);
    stream.WriteFWRect(mLabelRect);
    stream.WriteFWRect(mFrameRect);
    mLabel.OldWrite(stream);
    stream.WriteLong(0);
    stream.WriteLong(0);
    stream.WriteByte(mSkipNextValidation ? 1 : 0);
    stream.FinishClass("Group", this, 0);
}

void Group::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("Group");
    FWBranchingControl::OldRead(stream);
    if (version == 1) {
        mLabelPosition = LabelPosition(uint8_t(stream.ReadByte()));
        mStyle = Style(uint8_t(stream.ReadByte()));
        stream.ReadFWRect(mContentRect);
        stream.ReadFWRect(mLabelRect);
        stream.ReadFWRect(mFrameRect);
        mLabel.OldRead(stream);
        stream.ReadLong();
        stream.ReadLong();
        mSkipNextValidation = stream.ReadByte() != 0;
    } else {
        FWStoredDataNotice::Report("Unknown 'Group' version", kSourcePath, __LINE__);
    }
    stream.FinishClass("Group", this, 0);
}

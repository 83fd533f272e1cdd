// The push-button family: layout, drawing, tracking and the stored record.
#include "PushButton.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWFont.h"
#include "FWPlatformUtils.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "SubClassFactory.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr const char* kPushButtonSource = "FW/App/Source/PushButton";
constexpr uint32_t kArgb = FOUR_CHAR_CODE("argb");
constexpr uint32_t kCicn = FOUR_CHAR_CODE("cicn");
constexpr uint32_t kPict = FOUR_CHAR_CODE("PICT");
constexpr int32_t kDefaultPictureID = 17;

// Built in this order at start-up: each display name, then its factory.
const FWStr<31> kPushButtonName("PushButton");
SubClassFactory<FWView, PushButton> sPushButtonFactory("PushButton");
const FWStr<31> kOKButtonName("OKButton");
SubClassFactory<FWView, OKButton> sOKButtonFactory("OKButton");
const FWStr<31> kCancelButtonName("CancelButton");
SubClassFactory<FWView, CancelButton> sCancelButtonFactory("CancelButton");

FWArgb32 color(int index)
{
    return FWGetAppColor(index);
}

void line(FWDrawContext& context, int32_t h0, int32_t v0, int32_t h1, int32_t v1)
{
    context.MoveTo(h0, v0);
    context.LineTo(h1, v1);
}

// Moves the shorter (side by side) or narrower (stacked) of two rectangles so that both share a
// centre line; halves are truncated toward zero.
void alignCentres(FWRect& a, FWRect& b, bool sideBySide)
{
    if (sideBySide) {
        FWRect& shorter = a.Height() < b.Height() ? a : b;
        const FWRect& taller = &shorter == &a ? b : a;
        shorter.Offset(0, int16_t(taller.Height() / 2 - shorter.Height() / 2));
    } else {
        FWRect& narrower = a.Width() < b.Width() ? a : b;
        const FWRect& wider = &narrower == &a ? b : a;
        narrower.Offset(int16_t(wider.Width() / 2 - narrower.Width() / 2), 0);
    }
}

} // namespace

PushButton::PushButton()
{
    SetDebugName("PushButton");
}

PushButton::~PushButton()
{
    releaseImage();
}

void PushButton::Init(FWWindow* window, const FWRect& rect, const FWString* text, int32_t iconID)
{
    FWView::Init(window);
    FWView::SetRect(rect);
    if (text != nullptr)
        mText = *text;
    SetIcon(iconID);
    SetRect(rect);
}

// --- Image -------------------------------------------------------------------------------------

const ImageBuffer* PushButton::GetImage() const
{
    return mImage;
}

void PushButton::releaseImage()
{
    if (mImage != nullptr && mImage != FWViewMngr::defaultPicture)
        DiskImage::Release(mImage);
    mImage = nullptr;
}

void PushButton::acquireImage(int32_t id)
{
    releaseImage();
    if (id < 1)
        return;
    if (id != kDefaultPictureID) {
        for (uint32_t type : {kArgb, kCicn, kPict})
            if ((mImage = DiskImage::Acquire(id, type)) != nullptr)
                return;
    }
    mImage = FWViewMngr::defaultPicture;
}

void PushButton::SetIcon(int32_t id)
{
    mIconID = id;
    acquireImage(id);
}

// --- Layout ------------------------------------------------------------------------------------

void PushButton::SetRect(const FWRect& rect)
{
    // The least size is checked on the span, so that a rectangle stored inverted keeps its size.
    FWRect r = rect;
    if (std::abs(r.Width()) < kLeastKept)
        r.right = int16_t(r.left + 20);
    if (std::abs(r.Height()) < kLeastKept)
        r.bottom = int16_t(r.top + 20);
    FWView::SetRect(r);
    recalc_layout();
}

void PushButton::SetBorder(Border border)
{
    mBorder = border;
    Inval();
}

void PushButton::SetPlacement(Placement placement)
{
    mPlacement = placement;
    recalc_layout();
}

void PushButton::SetIconPosition(IconPosition position)
{
    mIconPosition = position;
    recalc_layout();
}

void PushButton::SetBoldText(bool bold)
{
    mBold = bold;
    recalc_layout();
}

void PushButton::recalc_layout()
{
    const bool hasText = mText.GetCurrLength() != 0;
    if (!hasText && mImage == nullptr) {
        Inval();
        return;
    }
    FWFont font = GetWindow() != nullptr ? GetWindow()->Font() : FWFont();
    font.SetBold(mBold);
    FWFontMetrics metrics;
    font.GetFontMetrics(metrics);
    FWRect text(0, 0, int16_t(font.GetStringWidth(&mText)), int16_t(metrics.ascent + metrics.descent));
    FWRect icon = mImage != nullptr ? mImage->GetRect() : FWRect();
    icon.SlideToOrigin();

    switch (mIconPosition) {
    case 0:
        text.Offset(int16_t(icon.right + 4), 0);
        alignCentres(text, icon, true);
        break;
    case 2:
        icon.Offset(int16_t(text.right + 4), 0);
        alignCentres(text, icon, true);
        break;
    case 1:
        text.Offset(0, int16_t(icon.bottom + 4));
        alignCentres(text, icon, false);
        break;
    case 3:
        icon.Offset(0, int16_t(text.bottom + 4));
        alignCentres(text, icon, false);
        break;
    default:
        break;
    }

    const FWRect button = GetRect();
    FWRect block(0, 0, std::max(text.right, icon.right), std::max(text.bottom, icon.bottom));
    const FWPoint centre = button.Center();
    const FWPoint blockCentre = block.Center();
    const int16_t centredH = int16_t(centre.h - blockCentre.h);
    const int16_t centredV = int16_t(centre.v - blockCentre.v);
    switch (mPlacement) {
    case 0:
        block.Offset(centredH, centredV);
        break;
    case 1:
        block.Offset(int16_t(button.left + 4), centredV);
        break;
    case 2:
        block.Offset(centredH, int16_t(button.top + 4));
        break;
    case 3:
        block.Offset(int16_t(button.right - 4 - block.right), centredV);
        break;
    case 4:
        block.Offset(centredH, int16_t(button.bottom - 4 - block.bottom));
        break;
    default:
        break;
    }
    text.Offset(block.left, block.top);
    icon.Offset(block.left, block.top);
    mIconRect = icon;

    if (hasText) {
        mTextPosition.h = std::max<int16_t>(text.left, int16_t(button.left + 4));
        mTextLimit = std::min<int32_t>(text.right, button.right - 4);
        mTextPosition.v = int16_t(text.bottom - (button.Height() <= 15 ? 2 : 3));
    }
    Inval();
}

// --- Drawing -----------------------------------------------------------------------------------

void PushButton::Draw(FWDrawContext& context) const
{
    FWColorSaver colors(context);
    FWPenSaver pen(context);
    context.PenNormal();
    drawFrame(context);

    if (mImage != nullptr) {
        FWRect icon = mIconRect;
        if (mState)
            icon.Offset(1, 1);
        context.DrawImage(mImage, &icon, false);
        if (IsGhosted())
            context.FadeRect(&icon, 0.6, color(0), nullptr);
    }
    if (mText.GetCurrLength() != 0) {
        FWFontSaver fontSaver(context);
        if (GetWindow() != nullptr)
            context.SetFont(&GetWindow()->Font());
        context.SetFontBold(mBold);
        const int16_t shift = mState ? 1 : 0;
        // The text stays within its right limit.
        const int32_t width = std::max<int32_t>(1, mTextLimit - mTextPosition.h);
        context.DrawEmbossedString(mTextPosition.h + shift, mTextPosition.v + shift, &mText, IsGhosted(),
                                   int16_t(width), false);
    }
}

void PushButton::drawFrame(FWDrawContext& context) const
{
    FWRect r = GetRect();
    if (DefaultAccept()) {
        FWRect ring = r;
        ring.Inset(1, 1);
        context.PaintRect(&ring, color(5));
        ring.top = int16_t(ring.top - 1);
        ring.left = int16_t(ring.left - 1);
        context.SetForeColor(color(1));
        line(context, ring.left, ring.bottom - 3, ring.left, ring.top + 3);
        context.LineTo(ring.left + 3, ring.top);
        context.LineTo(ring.right - 3, ring.top);
        context.SetForeColor(color(2));
        line(context, ring.right, ring.top + 3, ring.right, ring.bottom - 3);
        context.LineTo(ring.right - 3, ring.bottom);
        context.LineTo(ring.left + 3, ring.bottom);
        r.Inset(3, 3);
    }
    if (mBorder == 0)
        drawBevel(context, r);
    else if (mBorder == 1) {
        FWRect inner = r;
        inner.Inset(1, 1);
        context.PaintRect(&inner, color(0));
        if (mState)
            context.InsetRect(&inner, false);
        else
            context.ExtrudedRect(&inner, nullptr);
        const int32_t l = r.left, t = r.top, rt = r.right - 1, b = r.bottom - 1;
        context.SetForeColor(IsGhosted() ? color(10) : FWArgb32::Black);
        line(context, l + 1, t, rt - 1, t);
        line(context, l + 1, b, rt - 1, b);
        line(context, l, t + 1, l, b - 1);
        line(context, rt, t + 1, rt, b - 1);
    }
}

// The bevel with cut corners: l, t, r, b are the outermost pixel columns and rows.
void PushButton::drawBevel(FWDrawContext& context, const FWRect& rect) const
{
    FWRect face = rect;
    face.Inset(2, 2);
    context.EraseRect(&face, color(mState ? 5 : 0));
    const int32_t l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
    auto pick = [this](int off, int on) { return color(mState ? on : off); };

    context.SetForeColor(IsGhosted() ? color(10) : FWArgb32::Black);
    line(context, l + 2, t, r - 2, t);
    line(context, l + 2, b, r - 2, b);
    line(context, l, t + 2, l, b - 2);
    line(context, r, t + 2, r, b - 2);
    for (FWPoint p : {FWPoint(l + 1, t + 1), FWPoint(r - 1, t + 1), FWPoint(l + 1, b - 1), FWPoint(r - 1, b - 1)})
        context.PaintPixel(p.h, p.v);

    context.SetForeColor(pick(1, 2));
    line(context, l + 2, t + 1, r - 3, t + 1);
    line(context, l + 1, t + 2, r - 4, t + 2);
    line(context, l + 1, t + 3, l + 1, b - 3);
    line(context, l + 2, t + 3, l + 2, b - 4);

    context.SetForeColor(pick(2, 0));
    line(context, l + 4, b - 2, r - 1, b - 2);
    line(context, l + 3, b - 1, r - 2, b - 1);
    line(context, r - 2, b - 3, r - 2, t + 4);
    line(context, r - 1, b - 3, r - 1, t + 3);

    struct Pixels {
        int off, on;
        std::initializer_list<FWPoint> points;
    };
    const Pixels pixels[] = {
        {3, 1, {FWPoint(r - 1, t + 2), FWPoint(r - 2, t + 3), FWPoint(l + 2, b - 1), FWPoint(l + 3, b - 2)}},
        {4, 8, {FWPoint(r - 3, b - 3)}},
        {5, 8, {FWPoint(r - 2, t + 2), FWPoint(l + 2, b - 2)}},
        {6, 7, {FWPoint(r - 3, t + 3), FWPoint(l + 3, b - 3)}},
        {7, 6, {FWPoint(r - 2, t + 1), FWPoint(r - 3, t + 2), FWPoint(l + 1, b - 2), FWPoint(l + 2, b - 3)}},
        {8, 6, {FWPoint(l + 3, t + 3)}},
    };
    for (const Pixels& set : pixels) {
        context.SetForeColor(pick(set.off, set.on));
        for (FWPoint p : set.points)
            context.PaintPixel(p.h, p.v);
    }

    // The shadow lies on the rectangle's own right and bottom edges.
    const int32_t re = rect.right, be = rect.bottom;
    context.SetForeColor(color(0));
    line(context, l + 3, be, re - 3, be);
    context.PaintPixel(re - 2, be - 1);
    context.PaintPixel(re - 1, be - 2);
    line(context, re, be - 3, re, t + 3);
}

void PushButton::DrawNow()
{
    if (GetWindow() == nullptr || !Visible() || !AllParentsVisible())
        return;
    FWDrawContext context(this);
    Draw(context);
    context.Flush();
}

// --- Events ------------------------------------------------------------------------------------

bool PushButton::MouseDownEvent(FWEvent& event)
{
    PushButtonTracker tracker(this);
    tracker.Set(GetWindow(), event.mWhere);
    tracker.DoInteraction();
    if (tracker.Succesful())
        SendInterfaceEvent(this);
    return true;
}

void PushButton::SimulateMouseClick()
{
    mState = true;
    DrawNow();
    FWDelayTicks(6);
    mState = false;
    DrawNow();
}

PushButtonTracker::PushButtonTracker(PushButton* button) : mButton(button), mStartState(button->GetState())
{
    mButton->SetState(!mStartState);
    mButton->DrawNow();
}

void PushButtonTracker::MouseMoved()
{
    const bool inside = mButton->PntInRect(&mCurrent);
    if (inside == mInside)
        return;
    mButton->SetState(!mButton->GetState());
    mButton->DrawNow();
    mInside = inside;
}

void PushButtonTracker::FinishInteraction()
{
    if (mInside && mButton->GetBehaviour() == 0) {
        mButton->SetState(false);
        mButton->DrawNow();
    }
}

// --- Copies and persistence -----------------------------------------------------------------

FWView* PushButton::Duplicate(FWPoint offset)
{
    auto* copy = new PushButton;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    copy->Init(GetWindow(), rect, &mText, mIconID);
    copy->mBorder = mBorder;
    copy->mBehaviour = mBehaviour;
    copy->mPlacement = mPlacement;
    copy->mIconPosition = mIconPosition;
    copy->SetBoldText(mBold);
    return copy;
}

void PushButton::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tstring.Set(\"%s\");\n", mText.GetCString());
    std::fprintf(file, "\t\tviewArray[%ld] = new PushButton(window, rect, &string, %ld);\n", long(index),
                 long(mIconID));
}

// Version 1: version byte; the view's record; border, behaviour, icon position and placement
// (signed bytes); icon id; icon rect; state; text (0-terminated); bold; text position; limit.
void PushButton::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("PushButton", 1);
    FWView::OldWrite(stream);
    stream.WriteByte(int8_t(mBorder));
    stream.WriteByte(int8_t(mBehaviour));
    stream.WriteByte(int8_t(mIconPosition));
    stream.WriteByte(int8_t(mPlacement));
    stream.WriteLong(mIconID);
    stream.WriteFWRect(mIconRect);
    stream.WriteByte(mState ? 1 : 0);
    stream.WriteString(mText);
    stream.WriteByte(mBold ? 1 : 0);
    stream.WriteFWPoint(mTextPosition);
    stream.WriteLong(mTextLimit);
    stream.FinishClass("PushButton", this, 0);
}

void PushButton::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("PushButton");
    // The view part comes first in every version: the button keeps its place in the tree.
    FWView::OldRead(stream);
    if (version == 1) {
        mBorder = stream.ReadByte();
        mBehaviour = stream.ReadByte();
        mIconPosition = stream.ReadByte();
        mPlacement = stream.ReadByte();
        mIconID = stream.ReadLong();
        stream.ReadFWRect(mIconRect);
        mState = stream.ReadByte() != 0;
        stream.ReadString(mText);
        mBold = stream.ReadByte() != 0;
        stream.ReadFWPoint(mTextPosition);
        mTextLimit = stream.ReadLong();
    } else {
        FWStoredDataNotice::Report("Unknown 'PushButton' version", kPushButtonSource, 612);
    }
    stream.FinishClass("PushButton", this, 0);
    // A button of an unknown version keeps its defaults but is laid out from its rectangle as
    // any other, so that what it saves loads back the same.
    acquireImage(mIconID);
    SetRect(GetRect());
}

bool PushButton::DoInterface()
{
    PushButtonDlg dialog(nullptr, this);
    return dialog.Execute();
}

const FWString& PushButton::Viewable_Name() const
{
    return kPushButtonName;
}

const ImageBuffer* PushButton::Viewable_Icon()
{
    return DiskImage::Acquire(2009, kArgb);
}

// --- OK and Cancel -------------------------------------------------------------------------------

namespace {

// A dialog button takes its default width and height where the given ones are 9 or less; the
// view rectangle is changed directly, the layout follows with the bold text.
void sizeDialogButton(PushButton& button, const FWRect& given, int16_t width, int16_t height)
{
    FWRect rect = button.GetRect();
    if (given.Width() <= 9)
        rect.right = int16_t(given.left + width);
    if (given.Height() <= 9)
        rect.bottom = int16_t(given.top + height);
    button.FWView::SetRect(rect);
}

} // namespace

void OKButton::Init(FWWindow* window, const FWRect& rect, const FWString* text)
{
    PushButton::Init(window, rect, text, 131);
    sizeDialogButton(*this, rect, 74, 29);
    setText(text != nullptr ? FWStr<31>(*text) : FWStr<31>("OK"));
    SetBoldText(true);
}

void CancelButton::Init(FWWindow* window, const FWRect& rect, const FWString* text)
{
    PushButton::Init(window, rect, text, 130);
    sizeDialogButton(*this, rect, 66, 24);
    setText(text != nullptr ? FWStr<31>(*text) : FWStr<31>("Cancel"));
    SetBoldText(true);
}

const FWString& OKButton::Viewable_Name() const
{
    return kOKButtonName;
}

const ImageBuffer* OKButton::Viewable_Icon()
{
    return DiskImage::Acquire(2016, kArgb);
}

const FWString& CancelButton::Viewable_Name() const
{
    return kCancelButtonName;
}

const ImageBuffer* CancelButton::Viewable_Icon()
{
    return DiskImage::Acquire(2017, kArgb);
}

// The radio-button set: layout, drawing, the tracked click that makes a button active, ghosting
// of the active button's linked view, access by view id, and its stored record (version byte,
// the view record, the count, per button its image rect, hit rect, linked id and label, then the
// active index, a spare Long and the label width).
#include "RadioButtonSet.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWControlFont.h"
#include "FWDrawContext.h"
#include "FWFont.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStreamException.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "MouseTrack.h"
#include "SubClassFactory.h"

#include <algorithm>
#include <memory>

namespace {

const FWStr<31> kDisplayName("RadioButtonSet");
SubClassFactory<FWView, RadioButtonSet> sFactory("RadioButtonSet");

constexpr int16_t kSpacing = 14;
// The smallest stored button: two rects, a Long, a point and an empty text.
constexpr uint32_t kStoredButtonSize = 8 + 8 + 4 + 4 + 1;

enum : int { kActiveImage = 0, kInactiveImage = 1, kPressedImage = 2, kGhostedImage = 3 };

bool contains(const FWRect& r, FWPoint p)
{
    return r.left <= p.h && p.h < r.right && r.top <= p.v && p.v < r.bottom;
}

// Follows a click on a button other than the active one: the button shows pressed while the
// mouse stays on it and becomes active when the button is released there.
class RadioTracker : public MouseTrack {
public:
    explicit RadioTracker(RadioButtonSet* set) : mSet(set), mParentOffset(set->GetParentOffset()) {}
    ~RadioTracker() override
    {
        if (mContext != nullptr)
            mSet->FinishDrawContext(*mContext);
    }

    // Finds the pressed button; tracking starts only for a button that is not the active one.
    MouseTrack& Set(FWWindow* window, const FWPoint& point) override
    {
        mPressed = mSet->ButtonAt(point);
        if (mPressed >= 0 && mPressed != mSet->GetActiveButton() && window != nullptr) {
            mPrevious = mSet->GetActiveButton() < 0 ? mPressed : mSet->GetActiveButton();
            mTracking = true;
            mContext = std::make_unique<FWDrawContext>(window);
            mSet->InitDrawContext(*mContext);
            mSet->DrawButton(*mContext, mPressed, kPressedImage);
        }
        return MouseTrack::Set(window, point);
    }

    void MouseMoved() override
    {
        FWPoint point = CurrentPoint();
        point.Offset(int16_t(-mParentOffset.h), int16_t(-mParentOffset.v));
        const bool inside = contains(mSet->GetButton(mPressed).mHitRect, point);
        if (inside == mInside)
            return;
        mInside = inside;
        mSet->DrawButton(*mContext, mPressed, inside ? kPressedImage : kInactiveImage);
        mContext->Flush();
    }

    void FinishInteraction() override
    {
        if (!mInside) {
            mSet->DrawButton(*mContext, mPressed, kInactiveImage);
            return;
        }
        mSet->SetActiveButton(mPressed);
        mSet->DrawButton(*mContext, mPressed, kActiveImage);
        if (mPrevious != mPressed && mPrevious < mSet->GetCount())
            mSet->DrawButton(*mContext, mPrevious, kInactiveImage);
    }

    bool Tracking() const { return mTracking; }
    bool Pressed() const { return mPressed >= 0; }
    bool EndedInside() const { return mInside; }

private:
    RadioButtonSet* mSet;
    std::unique_ptr<FWDrawContext> mContext;
    int32_t mPressed = -1;
    int32_t mPrevious = -1;
    bool mTracking = false;
    bool mInside = true;
    FWPoint mParentOffset;
};

} // namespace

void RadioButtonSet::Init(FWWindow* window, const FWPoint& topLeft, int32_t count, FWStr<31>* labels)
{
    FWView::Init(window);
    mCount = std::max<int32_t>(count, 0);
    mButtons.assign(size_t(mCount), RadioButtonRec());
    mLabels.clear();
    mLabelWidth = 0;
    if (labels != nullptr && mCount > 0) {
        mLabels.resize(size_t(mCount));
        const FWFont& font = FWControlFont(*this);
        for (int32_t i = 0; i < mCount; ++i) {
            mLabels[size_t(i)].mText = labels[i];
            mLabelWidth = std::max(mLabelWidth, font.GetStringWidth(&labels[i]));
        }
    }
    SetRect(FWRect(topLeft.h, topLeft.v, topLeft.h, topLeft.v));
}

void RadioButtonSet::NewButtons(int32_t count)
{
    mCount = std::max<int32_t>(count, 0);
    mButtons.assign(size_t(mCount), RadioButtonRec());
    mLabels.assign(size_t(mCount), FWView::Label());
    mActive = std::min(mActive, mCount);
}

void RadioButtonSet::SetLabel(int32_t index, const FWString& text)
{
    if (index < 0 || index >= mCount)
        return;
    if (mLabels.size() != size_t(mCount))
        mLabels.resize(size_t(mCount));
    mLabels[size_t(index)].mText = text;
}

FWView* RadioButtonSet::Duplicate(FWPoint offset)
{
    auto* copy = new RadioButtonSet;
    const FWRect rect = GetRect();
    const FWPoint topLeft(int16_t(rect.left + offset.h), int16_t(rect.top + offset.v));
    std::vector<FWStr<31>> labels;
    for (const FWView::Label& label : mLabels)
        labels.emplace_back(label.mText);
    copy->Init(GetWindow(), topLeft, mCount, labels.empty() ? nullptr : labels.data());
    return copy;
}

void RadioButtonSet::SetRect(const FWRect& rect)
{
    const int16_t left = rect.left;
    const int16_t top = rect.top;
    FWView::SetRect(FWRect(left, top, int16_t(left + mLabelWidth + 16), int16_t(top + mCount * kSpacing)));
    for (int32_t i = 0; i < mCount; ++i) {
        const int16_t y = int16_t(top + i * kSpacing);
        RadioButtonRec& button = mButtons[size_t(i)];
        button.mImageRect = FWRect(int16_t(left + 1), int16_t(y + 1), int16_t(left + 13), int16_t(y + 13));
        button.mHitRect = FWRect(left, y, int16_t(left + 1 + mLabelWidth + 16), int16_t(y + 15));
        if (!mLabels.empty())
            mLabels[size_t(i)].mPoint = FWPoint(int16_t(left + 16), int16_t(y + 11));
    }
}

void RadioButtonSet::ghostLinked(int32_t index, bool ghost)
{
    if (index < 0 || index >= mCount || mButtons[size_t(index)].mLinkedID == 0)
        return;
    if (FWViewMngr* manager = GetViewMngr())
        manager->GhostInterfaceItem(mButtons[size_t(index)].mLinkedID, ghost, nullptr);
}

void RadioButtonSet::SetActiveButton(int32_t index)
{
    index = std::min(index, mCount);
    ghostLinked(mActive, false);
    mActive = index;
    ghostLinked(mActive, true);
}

int32_t RadioButtonSet::ButtonAt(FWPoint point) const
{
    for (int32_t i = 0; i < mCount; ++i)
        if (contains(mButtons[size_t(i)].mHitRect, point))
            return i;
    return -1;
}

// Drawing ----------------------------------------------------------------------------------

void RadioButtonSet::DrawButton(FWDrawContext& context, int32_t index, int image) const
{
    if (index < 0 || index >= mCount)
        return;
    if (const DiskImage* picture = FWViewMngr::radioIcons[image])
        context.DrawImage(picture, &mButtons[size_t(index)].mImageRect, false);
}

void RadioButtonSet::Draw(FWDrawContext& context) const
{
    for (int32_t i = 0; i < mCount; ++i)
        DrawButton(context, i, IsGhosted() ? kGhostedImage : i == mActive ? kActiveImage : kInactiveImage);
    for (const FWView::Label& label : mLabels)
        context.DrawEmbossedString(label.mPoint.h, label.mPoint.v, &label.mText, IsGhosted(), 0, false);
}

bool RadioButtonSet::MouseDownEvent(FWEvent& event)
{
    FWPoint point = event.mWhere;
    WindowToView(point);
    RadioTracker tracker(this);
    tracker.Set(GetWindow(), point);
    if (!tracker.Pressed())
        return true; // a click between the buttons does nothing
    if (!tracker.Tracking()) {
        if (mNotifyAlways)
            SendInterfaceEvent(this);
        return true;
    }
    tracker.DoInteraction();
    if (tracker.EndedInside()) {
        SendValue();
        SendInterfaceEvent(this);
    }
    return true;
}

// By view id -----------------------------------------------------------------------------------

RadioButtonSet* RadioButtonSet::findSet(FWWindow* window, int32_t id, FWView* view, const char* message, int line)
{
    if (view == nullptr && window != nullptr)
        view = window->ViewMngr().GetView(id);
    auto* set = dynamic_cast<RadioButtonSet*>(view);
    if (set == nullptr)
        fw_programmer_message(message, kSourcePath, line);
    return set;
}

int32_t RadioButtonSet::GGetButton(FWWindow* window, int32_t id, FWView* view)
{
    RadioButtonSet* set = findSet(window, id, view, "Called 'GGetButton' on a non-RadioButtonSet object.", __LINE__);
    return set != nullptr ? set->GetActiveButton() : 0;
}

void RadioButtonSet::GSetButton(FWWindow* window, int32_t id, int32_t index, FWDrawContext* context)
{
    RadioButtonSet* set = findSet(window, id, nullptr, "Called 'GSetButton' on a non-RadioButtonSet object.", __LINE__);
    if (set == nullptr)
        return;
    set->SetActiveButton(index);
    if (context != nullptr && set->Visible() && set->AllParentsVisible())
        set->DrawView(*context);
}

// The layout editor ----------------------------------------------------------------------------

const FWString& RadioButtonSet::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* RadioButtonSet::Viewable_Icon()
{
    return DiskImage::Acquire(2010, FOUR_CHAR_CODE("argb"));
}

bool RadioButtonSet::DoInterface()
{
    RadioButtonDlg dialog(nullptr, this);
    return dialog.Execute();
}

void RadioButtonSet::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    for (size_t i = 0; i < mLabels.size(); ++i)
        std::fprintf(file, "\t\tstrings[%d].Set(\"%s\");\n", int(i), mLabels[i].mText.GetCString());
    const FWRect r = GetRect();
    std::fprintf(file, "\t\tpoint.Set(%d, %d);\n", r.left, r.top);
    std::fprintf(file, "\t\tviewArray[%ld] = new RadioButtonSet(window, point, %ld, strings);\n", long(index),
                 long(mCount));
}

void RadioButtonSet::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("RadioButtonSet", 1);
    FWView::OldWrite(stream);
    stream.WriteLong(mCount);
    const FWView::Label none;
    for (int32_t i = 0; i < mCount; ++i) {
        const RadioButtonRec& button = mButtons[size_t(i)];
        stream.WriteFWRect(button.mImageRect);
        stream.WriteFWRect(button.mHitRect);
        stream.WriteLong(button.mLinkedID);
        (mLabels.empty() ? none : mLabels[size_t(i)]).OldWrite(stream);
    }
    stream.WriteLong(mActive);
    stream.WriteLong(mStoredLong);
    stream.WriteLong(mLabelWidth);
    stream.FinishClass("RadioButtonSet", this, 0);
}

// The linked ids are kept as read; like the check box's, they are applied at the next
// SetActiveButton. A count the bytes left cannot hold is refused before anything is made.
void RadioButtonSet::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("RadioButtonSet");
    FWView::OldRead(stream);
    if (version == 1) {
        const int32_t count = stream.ReadLong();
        if (count < 0 || uint64_t(count) * kStoredButtonSize > stream.Size() - stream.GetCurrPos())
            throw FWReadFailedException();
        std::vector<RadioButtonRec> buttons(static_cast<size_t>(count));
        std::vector<FWView::Label> labels(static_cast<size_t>(count));
        for (int32_t i = 0; i < count; ++i) {
            stream.ReadFWRect(buttons[size_t(i)].mImageRect);
            stream.ReadFWRect(buttons[size_t(i)].mHitRect);
            buttons[size_t(i)].mLinkedID = stream.ReadLong();
            labels[size_t(i)].OldRead(stream);
        }
        mCount = count;
        mButtons = std::move(buttons);
        mLabels = std::move(labels);
        mActive = stream.ReadLong();
        mStoredLong = stream.ReadLong();
        mLabelWidth = stream.ReadLong();
        SetRect(GetRect());
    } else {
        FWStoredDataNotice::Report("Unknown 'RadioButtonSet' version", kSourcePath, __LINE__);
        // The empty set keeps its place; its size follows its count, as it will when read back.
        SetRect(GetRect());
    }
    stream.FinishClass("RadioButtonSet", this, 0);
}

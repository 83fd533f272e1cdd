// The check box: layout, drawing, the tracked click that toggles it, ghosting of its linked
// views, access by view id and its stored record (version byte, the view record, the label,
// six linked ids, then invert, state and white-label bytes).
#include "CheckBox.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWControlFont.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWFont.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "MouseTrack.h"
#include "SubClassFactory.h"

namespace {

const FWStr<31> kDisplayName("CheckBox");
SubClassFactory<FWView, CheckBox> sFactory("CheckBox");

// Follows a click on the box: the box is lit while the mouse is over the control, and the state
// changes only when the button is released there.
class CheckBoxTracker : public MouseTrack {
public:
    explicit CheckBoxTracker(CheckBox* box) : mBox(box), mStartState(box->GetState()) { box->HighLight(true); }

    void MouseMoved() override
    {
        FWPoint point = CurrentPoint();
        mBox->WindowToView(point);
        const bool inside = mBox->PntInRect(&point);
        if (inside != mInside)
            mBox->HighLight(inside);
        mInside = inside;
    }
    void FinishInteraction() override
    {
        if (mInside)
            mBox->SetState(!mStartState);
    }
    bool Succeeded() const { return mInside; }

private:
    CheckBox* mBox;
    bool mStartState;
    bool mInside = true;
};

} // namespace

void CheckBox::Init(FWWindow* window, const FWPoint& topLeft, FWString* label)
{
    FWView::Init(window);
    for (int32_t& id : mLinked)
        id = 0;
    if (label != nullptr)
        mLabel = *label;
    SetRect(FWRect(topLeft.h, topLeft.v, int16_t(topLeft.h + 16), int16_t(topLeft.v + 16)));
}

FWView* CheckBox::Duplicate(FWPoint offset)
{
    auto* copy = new CheckBox;
    const FWRect rect = GetRect();
    FWStr<255> label(mLabel);
    copy->Init(GetWindow(), FWPoint(int16_t(rect.left + offset.h), int16_t(rect.top + offset.v)), &label);
    return copy;
}

void CheckBox::SetRect(const FWRect& rect)
{
    const int32_t width = FWControlFont(*this).GetStringWidth(&mLabel);
    FWView::SetRect(FWRect(rect.left, rect.top, int16_t(rect.left + width + 16), int16_t(rect.top + 16)));
}

void CheckBox::SetState(bool state)
{
    mState = state;
    FWViewMngr* manager = GetViewMngr();
    if (manager == nullptr)
        return;
    for (int32_t id : mLinked)
        if (id != 0)
            manager->GhostInterfaceItem(id, state == mInvert, nullptr);
}

FWRect CheckBox::boxRect() const
{
    const FWRect r = GetRect();
    return FWRect(r.left, int16_t(r.top + 2), int16_t(r.left + 12), int16_t(r.top + 14));
}

// Drawing ----------------------------------------------------------------------------------

void CheckBox::Draw(FWDrawContext& context) const
{
    FWColorSaver colors(context);
    const FWRect r = GetRect();
    if (mWhiteLabel)
        context.DrawEmbossedStringColors(r.left + 15, r.bottom - 4, &mLabel, FWArgb32::White, FWArgb32::Black, 0, false);
    else
        context.DrawEmbossedString(r.left + 15, r.bottom - 4, &mLabel, IsGhosted(), 0, false);

    FWRect box = boxRect();
    context.SetForeColor(FWArgb32::Black);
    context.FrameRect(&box);
    box.Inset(1, 1);
    context.ExtrudedRect(&box, nullptr);
    box.Inset(1, 1);
    context.EraseRect(&box, FWGetAppColor(0));
    if (!mState)
        return;
    if (const DiskImage* check = FWViewMngr::checkboxIcons[0])
        context.DrawImage(check, &box, false);
    if (IsGhosted()) {
        const FWArgb32 back = FWGetAppColor(0);
        context.FadeRect(&box, 0.71, back, &back);
    }
}

void CheckBox::HighLight(bool on)
{
    if (GetWindow() == nullptr)
        return;
    FWDrawContext context(GetWindow());
    InitDrawContext(context);
    const FWRect box = boxRect();
    context.SetForeColor(on ? FWArgb32::Yellow : FWArgb32::Black);
    context.FrameRect(&box);
    FinishDrawContext(context);
}

bool CheckBox::MouseDownEvent(FWEvent& event)
{
    CheckBoxTracker tracker(this);
    tracker.Set(GetWindow(), event.mWhere);
    tracker.DoInteraction();
    if (tracker.Succeeded()) {
        SendValue();
        SendInterfaceEvent(this);
    }
    if (GetWindow() != nullptr) {
        FWDrawContext context(GetWindow());
        DrawView(context);
    }
    return true;
}

// By view id -----------------------------------------------------------------------------------

CheckBox* CheckBox::findBox(FWWindow* window, int32_t id, FWView* view, const char* message, int line)
{
    if (view == nullptr && window != nullptr)
        view = window->ViewMngr().GetView(id);
    auto* box = dynamic_cast<CheckBox*>(view);
    if (box == nullptr)
        fw_programmer_message(message, kSourcePath, line);
    return box;
}

bool CheckBox::GGetState(FWWindow* window, int32_t id, FWView* view)
{
    CheckBox* box = findBox(window, id, view, "Called 'GGetState' on a non-CheckBox object.", __LINE__);
    return box != nullptr && box->GetState();
}

void CheckBox::GSetState(FWWindow* window, int32_t id, bool state, FWDrawContext* context)
{
    CheckBox* box = findBox(window, id, nullptr, "Called 'GSetState' on a non-CheckBox object.", __LINE__);
    if (box == nullptr)
        return;
    box->SetState(state);
    if (context != nullptr && box->Visible() && box->AllParentsVisible())
        box->DrawView(*context);
}

// The layout editor ----------------------------------------------------------------------------

const FWString& CheckBox::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* CheckBox::Viewable_Icon()
{
    return DiskImage::Acquire(2000, FOUR_CHAR_CODE("argb"));
}

bool CheckBox::DoInterface()
{
    CheckBoxDlg dialog(nullptr, this);
    return dialog.Execute();
}

void CheckBox::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\tpoint.Set(%d, %d);\n", r.left, r.top);
    std::fprintf(file, "\t\tstring.Set(\"%s\");\n", mLabel.GetCString());
    std::fprintf(file, "\t\tviewArray[%ld] = new CheckBox(window, point, &string);\n", long(index));
}

void CheckBox::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("CheckBox", 1);
    FWView::OldWrite(stream);
    stream.WriteString(mLabel);
    for (int32_t id : mLinked)
        stream.WriteLong(id);
    stream.WriteByte(mInvert ? 1 : 0);
    stream.WriteByte(mState ? 1 : 0);
    stream.WriteByte(mWhiteLabel ? 1 : 0);
    stream.FinishClass("CheckBox", this, 0);
}

// The linked views are not ghosted until the state is next set.
void CheckBox::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("CheckBox");
    FWView::OldRead(stream);
    if (version == 1) {
        stream.ReadString(mLabel);
        for (int32_t& id : mLinked)
            id = stream.ReadLong();
        mInvert = stream.ReadByte() != 0;
        mState = stream.ReadByte() != 0;
        mWhiteLabel = stream.ReadByte() != 0;
    } else {
        FWStoredDataNotice::Report("Unknown 'CheckBox' version", kSourcePath, __LINE__);
    }
    stream.FinishClass("CheckBox", this, 0);
}

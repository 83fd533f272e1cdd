// The pop-up control: label fitting, drawing, the click that runs its pop-up menu and reports the
// choice, access by view id, and its stored record (version 2 written; 1 and 2 read).
#include "Popup.h"

#include "ControlDialogs.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWControlFont.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWFont.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWPopupMenu.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "FWStreamException.h"
#include "FWWindow.h"
#include "SubClassFactory.h"

#include <algorithm>
#include <memory>

namespace {

const FWStr<31> kDisplayName("Popup");
SubClassFactory<FWView, Popup> sFactory("Popup");

// An item whose choice is reported but never becomes the selection.
constexpr uint32_t kReportOnly = 1024;

} // namespace

Popup::~Popup()
{
    // The pop-up menu is always ours; its own flag decides whether the items go with it.
    delete mMenu;
    if (mArrowImage != nullptr)
        DiskImage::Release(mArrowImage);
}

void Popup::Init(FWWindow* window, FWOpMenu* menu, bool owns)
{
    FWView::Init(window);
    mOwnsMenu = owns;
    if (menu != nullptr) {
        delete mMenu;
        mMenu = new FWPopupMenu(menu, owns);
    }
}

void Popup::Init(FWWindow* window, const FWRect& rect, const FWString* label, int selection, bool showsSelection)
{
    FWView::Init(window);
    mShowsSelection = showsSelection;
    mSelection = selection;
    if (showsSelection && selection != -1 && mMenu != nullptr && mMenu->Root() != nullptr)
        if (FWUserOp* item = mMenu->Root()->MenuItem(selection))
            mItemText = item->Name();
    mLabel.mText = label != nullptr ? FWDynamicString(*label) : FWDynamicString();
    InitIcon();
    SetRect(rect);
}

FWView* Popup::Duplicate(FWPoint offset)
{
    auto* copy = new Popup;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    copy->Init(GetWindow(), rect, &mLabel.mText, 0, true);
    return copy;
}

void Popup::SetPopupMenu(FWOpMenu* menu, bool owns)
{
    delete mMenu;
    mMenu = nullptr;
    mOwnsMenu = owns;
    if (menu != nullptr)
        mMenu = new FWPopupMenu(menu, owns);
    mSelection = 0;
    if (menu != nullptr)
        if (FWUserOp* first = menu->MenuItem(0))
            mItemText = first->Name();
}

int32_t Popup::CountItems() const
{
    return mMenu != nullptr && mMenu->Root() != nullptr ? mMenu->Root()->CountChildren() : 0;
}

void Popup::SetItemSelected(int index)
{
    const int32_t count = CountItems();
    if (index < 0)
        index = -1;
    else if (index >= count)
        index = count - 1;
    if (index == mSelection)
        return;
    mSelection = index;
    if (!mShowsSelection || index == -1)
        return;
    FWUserOp* item = mMenu->Root()->MenuItem(index);
    if (item != nullptr && (item->Flags() & kReportOnly) == 0)
        SetItemText(item->Name());
}

void Popup::SetItemText(const FWString& text)
{
    mItemText = text;
    if (mShowsSelection)
        Inval();
}

void Popup::SetLabel(const FWString* label)
{
    mLabel.mText = label != nullptr ? FWDynamicString(*label) : FWDynamicString();
    fitLabel();
}

void Popup::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    fitLabel();
}

void Popup::InitIcon()
{
    if (mArrowImage != nullptr)
        DiskImage::Release(mArrowImage);
    mArrowImage = DiskImage::Acquire(700, FOUR_CHAR_CODE("argb"));
}

void Popup::fitLabel()
{
    const FWRect rect = GetRect();
    mLabel.mPoint = FWPoint(rect.left, int16_t(rect.top + 11));
    if (mLabel.mText.GetCurrLength() == 0) {
        mLabelWidth = 0;
        return;
    }
    int32_t room = rect.Width();
    if (mArrowImage != nullptr)
        room -= mArrowImage->GetRect().Width();
    room -= 6;
    if (mShowsSelection && mItemText.GetCurrLength() != 0)
        room -= 15;
    const int32_t w = std::min(room, FWControlFont(*this).GetStringWidth(&mLabel.mText));
    mLabelWidth = int16_t(w + 2);
}

// Drawing ----------------------------------------------------------------------------------

void Popup::Draw(FWDrawContext& context) const
{
    FWColorSaver colors(context);
    const FWRect rect = GetRect();
    const bool ghosted = IsGhosted();
    if (mLabel.mText.GetCurrLength() != 0)
        context.DrawEmbossedString(mLabel.mPoint.h, mLabel.mPoint.v, &mLabel.mText, ghosted, mLabelWidth, true);

    // The box: filled, a black outline that leaves out the corner pixels, a raised bevel inside.
    FWRect box = rect;
    box.left = int16_t(mLabel.mPoint.h + mLabelWidth);
    FWRect inside = box;
    inside.Inset(1, 1);
    context.PaintRect(&inside, FWGetAppColor(0));
    context.SetForeColor(FWArgb32::Black);
    context.MoveTo(box.left + 1, box.top);
    context.LineTo(box.right - 2, box.top);
    context.MoveTo(box.right - 1, box.top + 1);
    context.LineTo(box.right - 1, box.bottom - 2);
    context.MoveTo(box.right - 2, box.bottom - 1);
    context.LineTo(box.left + 1, box.bottom - 1);
    context.MoveTo(box.left, box.bottom - 2);
    context.LineTo(box.left, box.top + 1);
    context.ExtrudedRect(&inside, nullptr);

    int32_t textRight = rect.right;
    if (mArrowImage != nullptr) {
        const FWRect& image = mArrowImage->GetRect();
        const FWRect arrow(int16_t(rect.right - 4 - image.Width()), int16_t(rect.top + 2), int16_t(rect.right - 4),
                           int16_t(rect.top + 2 + image.Height()));
        context.DrawImage(mArrowImage, &arrow, false);
        if (ghosted)
            context.FadeRect(&arrow, 0.6, FWGetAppColor(0), nullptr);
        textRight = arrow.left;
    }
    if (mItemText.GetCurrLength() != 0) {
        const int32_t h = mLabel.mPoint.h + mLabelWidth + 4;
        const int32_t width = std::max<int32_t>(textRight - 4 - h, 0);
        context.DrawEmbossedString(h, mLabel.mPoint.v, &mItemText, ghosted, int16_t(width), true);
    }
}

// The click ------------------------------------------------------------------------------------

bool Popup::MouseDownEvent(FWEvent&)
{
    if (mMenu == nullptr)
        return false;
    const FWRect rect = GetRect();
    FWPoint point(int16_t(mShowsSelection ? rect.left + mLabelWidth + 1 : rect.right + mLabelWidth),
                  int16_t(rect.top + 1));
    const FWPoint offset = GetParentOffset();
    point.Offset(offset.h, offset.v);
    if (GetWindow() != nullptr)
        GetWindow()->WindowToGlobal(&point);

    SendInterfaceAction(this, ActionType(0));
    FWUserOp* item = nullptr;
    const int32_t chosen = mMenu->Track(point, mShowsSelection ? mSelection : -1, &item);
    if (chosen == -1)
        return true;
    SendInterfaceAction(this, ActionType(2));
    const bool refused = item != nullptr && (item->Flags() & (kUserOpDisabled | kUserOpSeparator)) != 0;
    if (chosen != mSelection && !refused) {
        const int32_t old = mSelection;
        SetItemSelected(chosen);
        if (!mNotifyOnEveryClick) {
            SendValue();
            SendInterfaceEvent(this);
        }
        if (item != nullptr && (item->Flags() & kReportOnly) != 0)
            mSelection = old;
    }
    if (mNotifyOnEveryClick)
        SendInterfaceEvent(this);
    return true;
}

// By view id -----------------------------------------------------------------------------------

Popup* Popup::findPopup(FWWindow* window, int32_t id, FWView* view, const char* message, int line)
{
    if (view == nullptr && window != nullptr)
        view = window->ViewMngr().GetView(id);
    auto* popup = dynamic_cast<Popup*>(view);
    if (popup == nullptr)
        fw_programmer_message(message, kSourcePath, line);
    return popup;
}

int32_t Popup::GItemSelected(FWWindow* window, int32_t id, FWView* view)
{
    Popup* popup = findPopup(window, id, view, "Called 'GItemSelected' on a non-Popup object.", __LINE__);
    return popup != nullptr ? popup->ItemSelected() : -1;
}

void Popup::GSetItemSelected(FWWindow* window, int32_t id, int32_t index, FWDrawContext* context)
{
    Popup* popup = findPopup(window, id, nullptr, "Called 'GSetItemSelected' on a non-Popup object.", __LINE__);
    if (popup == nullptr)
        return;
    popup->SetItemSelected(index);
    if (context != nullptr && popup->Visible() && popup->AllParentsVisible())
        popup->DrawView(*context);
}

// The layout editor ----------------------------------------------------------------------------

const FWString& Popup::Viewable_Name() const
{
    return kDisplayName;
}

const ImageBuffer* Popup::Viewable_Icon()
{
    return DiskImage::Acquire(2002, FOUR_CHAR_CODE("argb"));
}

bool Popup::DoInterface()
{
    PopupDlg dialog(nullptr, this);
    return dialog.Execute();
}

void Popup::TextFileSerialize(int32_t index, int32_t, FILE* file)
{
    if (file == nullptr)
        return;
    const FWRect r = GetRect();
    std::fprintf(file, "\t\trect.Set(%d, %d, %d, %d);\n", r.left, r.top, r.right, r.bottom);
    std::fprintf(file, "\t\tstring.Set(\"%s\");\n", mLabel.mText.GetCString());
    std::fprintf(file, "\t\tviewArray[%ld] = new Popup(window, rect, &string);\n", long(index));
}

// The stored record ----------------------------------------------------------------------------
// Version byte 2; the view record; label text (0-terminated); shows selection (byte); selection
// (Long); notify on every click (byte); label width (Short); item count (Long); the item names.
// Version 1 lacks the label width.

void Popup::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("Popup", 2);
    FWView::OldWrite(stream);
    stream.WriteString(mLabel.mText);
    stream.WriteByte(mShowsSelection ? 1 : 0);
    stream.WriteLong(mSelection);
    stream.WriteByte(mNotifyOnEveryClick ? 1 : 0);
    stream.WriteShort(mLabelWidth);
    const int32_t count = CountItems();
    stream.WriteLong(count);
    for (FWUserOp* op = count > 0 ? mMenu->Root()->FirstChild() : nullptr; op != nullptr; op = op->NextPeer())
        stream.WriteString(op->Name());
    stream.FinishClass("Popup", this, 0);
}

// The names become a new menu owned by the popup. A count the bytes left cannot hold (every name
// takes at least its terminator) is refused before anything is made.
void Popup::readItems(SerialStream& stream)
{
    const int32_t count = stream.ReadLong();
    if (count < 1)
        return;
    if (uint32_t(count) > stream.Size() - stream.GetCurrPos())
        throw FWReadFailedException();
    auto menu = std::make_unique<FWOpMenu>("", 0, 128, 0, 0, nullptr, nullptr, nullptr, nullptr, 0);
    for (int32_t i = 0; i < count; ++i) {
        FWStr<63> name;
        stream.ReadString(name);
        menu->AppendChild(new FWOpItem(name, 0, 0, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    }
    delete mMenu;
    mMenu = new FWPopupMenu(menu.release(), true);
}

void Popup::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("Popup");
    FWView::OldRead(stream);
    if (version == 1 || version == 2) {
        mOwnsMenu = true;
        FWDynamicString label;
        stream.ReadString(label);
        const bool showsSelection = stream.ReadByte() != 0;
        const int32_t selection = stream.ReadLong();
        mNotifyOnEveryClick = stream.ReadByte() != 0;
        const int16_t storedLabelWidth = version == 2 ? stream.ReadShort() : 0;
        readItems(stream);
        Init(GetWindow(), GetRect(), &label, selection, showsSelection);
        if (version == 2) {
            // Keeps the box where it was stored, measured against the width just fitted. The
            // label is fitted again to the moved rectangle, so that what is saved next loads
            // without moving: a label cut to fit would otherwise move on every load.
            const int16_t d = int16_t(storedLabelWidth - mLabelWidth);
            FWRect rect = GetRect();
            rect.left = int16_t(rect.left + d);
            SetRect(rect);
        }
    } else {
        FWStoredDataNotice::Report("Unknown 'Popup' version", kSourcePath, __LINE__);
    }
    stream.FinishClass("Popup", this, 0);
}

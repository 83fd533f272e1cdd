#include "ListBox.h"

#include "DiskImage.h"
#include "FWDragManager.h"
#include "FWEvent.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWFont.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "SerialStream.h"
#include "SubClassFactory.h"

namespace {

constexpr const char* kListBoxSource = "FW/App/Source/ListBox";
const FWStr<31> kListBoxName("ListBox");
SubClassFactory<FWView, ListBox> sFactory("ListBox");

ListBoxItem* itemOf(ListNode<ListBoxItem>* node)
{
    return node != nullptr ? node->Item() : nullptr;
}

} // namespace

// Items ----------------------------------------------------------------------------------------

ListBoxItem::ListBoxItem(FWList<ListBoxItem>* list, const FWString& name, long id, const ImageBuffer* icon)
    : mName(name), mID(id), mIcon(icon), mList(list)
{
}

FWViewableNode* ListBoxItem::Viewable_NextPeer()
{
    return itemOf(Next());
}

FWViewableNode* ListBoxItem::Viewable_PrevPeer()
{
    return itemOf(Previous());
}

void ListBoxItem::Viewable_Unlink()
{
    if (Item() != nullptr)
        mList->Remove(this);
}

void ListBoxItem::Viewable_LinkAsNextPeerTo(FWViewableNode* node)
{
    auto* peer = dynamic_cast<ListBoxItem*>(node);
    if (peer != nullptr && peer->Item() != nullptr && Item() == nullptr)
        mList->LinkAfter(peer, this, this);
}

void ListBoxItem::Viewable_LinkAsPrevPeerTo(FWViewableNode* node)
{
    auto* peer = dynamic_cast<ListBoxItem*>(node);
    if (peer != nullptr && peer->Item() != nullptr && Item() == nullptr)
        mList->LinkBefore(peer, this, this);
}

void ListBoxItem::applyTextStyle(FWDrawContext& context) const
{
    FWFont font = context.GetFont();
    font.SetBold((mTextStyle & 1) != 0);
    font.SetItalic((mTextStyle & 2) != 0);
    font.SetUnderline((mTextStyle & 4) != 0);
    font.SetOutline((mTextStyle & 8) != 0);
    font.SetShadow((mTextStyle & 16) != 0);
    context.SetFont(&font);
}

void ListBoxItem::Viewable_Draw(FWDrawContext& context, const FWPoint& where)
{
    FWFontSaver font(context);
    applyTextStyle(context);
    context.DrawString(where.h + mIndent, where.v, &mName);
}

int32_t ListBoxItem::Viewable_Width(FWDrawContext& context)
{
    FWFontSaver font(context);
    applyTextStyle(context);
    return context.GetFont().GetStringWidth(&mName) + mIndent;
}

// The list box -----------------------------------------------------------------------------------

ListBox::~ListBox()
{
    KillAllItems();
    FWDragManager::UnregisterReceiver(this);
}

void ListBox::Init(FWWindow* window, const FWRect& rect)
{
    FWOutlineView::Init(window, &rect, 17022);
    ShowItemVisibility(true);
}

void ListBox::ShowItemVisibility(bool show)
{
    if (show)
        ClearFlag(kNoVisibilityColumn);
    else
        SetFlag(kNoVisibilityColumn);
}

ListBoxItem* ListBox::AddLast(const FWString& name, long id, const ImageBuffer* icon)
{
    auto* item = new ListBoxItem(&mItems, name, id, icon);
    mItems.Append(item, item);
    Validate(item);
    return item;
}

ListBoxItem* ListBox::InsertItem(long pos, long id, const FWString& name, const ImageBuffer* icon)
{
    auto* item = new ListBoxItem(&mItems, name, id, icon);
    if (pos <= 0)
        mItems.Prepend(item, item);
    else if (pos >= mItems.Size())
        mItems.Append(item, item);
    else
        mItems.LinkAfter(Item(pos - 1), item, item);
    Validate(item);
    return item;
}

void ListBox::Validate(ListBoxItem* item)
{
    if (item != nullptr && itemOf(mItems.FirstNode()) == item)
        SetFirstRoot(item);
    RefreshView();
}

ListBoxItem* ListBox::Item(long index)
{
    if (index < 0)
        return nullptr;
    ListNode<ListBoxItem>* node = mItems.FirstNode();
    for (long i = 0; node != nullptr && i < index; ++i)
        node = node->Next();
    return itemOf(node);
}

void ListBox::RemoveItem(long index)
{
    ListBoxItem* item = Item(index);
    if (item == nullptr)
        return;
    if (mLastClicked == item)
        mLastClicked = nullptr;
    if (mEditedNode == item)
        hide_edit_box(false);
    if (mCursor == item)
        mCursor = nullptr;
    mItems.Remove(item);
    delete item;
    if (index == 0)
        SetFirstRoot(itemOf(mItems.FirstNode()));
    RefreshView();
}

void ListBox::KillAllItems()
{
    hide_edit_box(false);
    while (ListBoxItem* item = itemOf(mItems.FirstNode())) {
        mItems.Remove(item);
        delete item;
    }
    mCursor = nullptr;
    mLastClicked = nullptr;
    mFirstRoot = nullptr;
    if (!GetRect().Empty())
        RefreshView();
}

ListBoxItem* ListBox::SingleSelectedItem()
{
    ListBoxItem* found = nullptr;
    for (ListNode<ListBoxItem>* node = mItems.FirstNode(); node != nullptr; node = node->Next()) {
        if (!node->Item()->Viewable_NodeSelected())
            continue;
        if (found != nullptr)
            return nullptr;
        found = node->Item();
    }
    return found;
}

long ListBox::FirstSelectedItem()
{
    long index = 0;
    for (ListNode<ListBoxItem>* node = mItems.FirstNode(); node != nullptr; node = node->Next(), ++index)
        if (node->Item()->Viewable_NodeSelected())
            return index;
    return -1;
}

bool ListBox::OneItemSelected()
{
    return SingleSelectedItem() != nullptr;
}

bool ListBox::AnyItemSelected()
{
    return FirstSelectedItem() >= 0;
}

ListBoxItem* ListBox::First()
{
    mCursor = itemOf(mItems.FirstNode());
    return mCursor;
}

ListBoxItem* ListBox::Next()
{
    if (mCursor != nullptr)
        mCursor = itemOf(mCursor->Next());
    return mCursor;
}

const ImageBuffer* ListBox::GetSIcon(long index) const
{
    if (index < 0 || index > 7)
        return nullptr;
    return mIcons[index] != nullptr ? mIcons[index] : FWOutlineView::GetSIcon(index);
}

void ListBox::SetSIcon(long index, const ImageBuffer* icon)
{
    if (index >= 0 && index <= 7)
        mIcons[index] = icon;
}

// ---- list handler: option-clicks and drops

void ListBox::SetListHandler(ListHandler* handler)
{
    mHandler = handler;
    if (mHandler == nullptr)
        FWDragManager::UnregisterReceiver(this);
    else
        updateDropTarget(false);
}

bool ListBox::MouseDownEvent(FWEvent& event)
{
    if (mHandler != nullptr && event.OptionKeyDown())
        return mHandler->OptionClick(*this, event);
    return FWOutlineView::MouseDownEvent(event);
}

void ListBox::SetRect(const FWRect& rect)
{
    FWOutlineView::SetRect(rect);
    updateDropTarget(true);
}

void ListBox::SetVisibility(bool visible)
{
    FWOutlineView::SetVisibility(visible);
    updateDropTarget(false);
}

void ListBox::ParentVisibilityChanged()
{
    FWOutlineView::ParentVisibilityChanged();
    updateDropTarget(false);
}

void ListBox::updateDropTarget(bool registerOnly)
{
    if (mHandler == nullptr || GetWindow() == nullptr)
        return;
    if (Visible() && AllParentsVisible()) {
        FWRect rect = GetRect();
        ViewToWindow(rect);
        FWDragManager::RegisterReceiver(this, GetWindow(), rect);
    } else if (!registerOnly) {
        FWDragManager::UnregisterReceiver(this);
    }
}

bool ListBox::showsDrops(const FWDragData& data)
{
    return mHandler != nullptr && Visible() && AllParentsVisible() && mHandler->AcceptsDrag(*this, data);
}

void ListBox::drawDropHighlight()
{
    // Three frames in XOR, growing outward: drawn twice, they are gone.
    FWDrawContext context(this);
    const FWDrawContext::PenModeType mode = context.GetPenMode();
    context.SetPenMode(FWDrawContext::kPenXor);
    FWRect r = GetRect();
    for (int frame = 0; frame < 3; ++frame) {
        context.FrameRect(&r);
        r.Inset(-1, -1);
    }
    context.SetPenMode(mode);
    context.Flush();
}

void ListBox::Enter(const FWPoint&, const FWDragData& data)
{
    if (showsDrops(data))
        drawDropHighlight();
}

void ListBox::Exit(const FWPoint&, const FWDragData& data)
{
    if (showsDrops(data))
        drawDropHighlight();
}

void ListBox::Accept(const FWDragData& data)
{
    if (mHandler != nullptr && Visible() && AllParentsVisible())
        mHandler->AcceptDrop(*this, data);
}

FWView* ListBox::Duplicate(FWPoint offset)
{
    auto* copy = new ListBox;
    FWRect rect = GetRect();
    rect.Offset(offset.h, offset.v);
    copy->Init(GetWindow(), rect);
    return copy;
}

// Version 1: version byte around the outline view's record. Items are filled in by the dialog.
void ListBox::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("ListBox", 1);
    FWOutlineView::OldWrite(stream);
    stream.FinishClass("ListBox", this, 0);
}

void ListBox::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("ListBox");
    // The outline part, and the view part inside it, come first in every version.
    FWOutlineView::OldRead(stream);
    if (version != 1)
        FWStoredDataNotice::Report("Unknown 'ListBox' version", kListBoxSource, 240);
    stream.FinishClass("ListBox", this, 0);
}

const FWString& ListBox::Viewable_Name() const
{
    return kListBoxName;
}

const ImageBuffer* ListBox::Viewable_Icon()
{
    return DiskImage::Acquire(2018, FOUR_CHAR_CODE("argb"));
}

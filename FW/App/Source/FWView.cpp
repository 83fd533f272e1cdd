// The view base class: geometry, visibility, identity, key focus, event forwarding, and the
// stored record of the view-tree format.
#include "FWView.h"

#include "DNode.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWEventDispatcher.h"
#include "FWList.h"
#include "FWPlatformUtils.h"
#include "FWPopupInfo.h"
#include "FWProgrammerMessage.h"
#include "FWStoredDataNotice.h"
#include "FWStr.h"
#include "SubClassFactory.h"
#include "FWViewMngr.h"
#include "FWWindow.h"
#include "PersistentRegistry.h"
#include "PreorderTraversal.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

bool FWView::sBackgroundUpdateDisabled = false;

namespace {

const FWStr<31> kViewName("FWView");
const char* const kDamagedRecord = "Damaged 'FWView' record";

// A stored reference in its unresolved form (0, or serial ID x 2 + 1) kept in a pointer field
// until the tree is resolved.
template <class T>
T* unresolved(uintptr_t token)
{
    return reinterpret_cast<T*>(token);
}

uintptr_t tokenOf(const void* p)
{
    return reinterpret_cast<uintptr_t>(p);
}

} // namespace

FWView::FWView()
{
    SetDebugName("FWView");
}

FWView::~FWView()
{
    if (FWViewMngr* manager = GetViewMngr()) {
        // The manager moves its focus, defaults and selected count off the view and tells the
        // window, whatever deletes the view (a dropped page, a deleted selection).
        manager->ViewDeleted(this);
        manager->GetTabList().Remove(&mTabListNode);
    }
    // The dispatcher remembers the view under the mouse; it must not outlive the view.
    FWEventDispatcher* dispatcher = FWEventDispatcher::Instance();
    if (dispatcher->MouseView() == this)
        dispatcher->WindowListReset();
    delete mValueObject;
    delete mTip;
}

FWViewMngr* FWView::GetViewMngr() const
{
    return mWindow != nullptr ? &mWindow->ViewMngr() : nullptr;
}

// Events -----------------------------------------------------------------------------------

bool FWView::MouseDownEvent(FWEvent& event)
{
    return mEventHandler != nullptr && mEventHandler->MouseDownEvent(event);
}

bool FWView::MouseUpEvent(FWEvent& event)
{
    return mEventHandler != nullptr && mEventHandler->MouseUpEvent(event);
}

bool FWView::KeyDownEvent(FWEvent& event)
{
    return mEventHandler != nullptr && mEventHandler->KeyDownEvent(event);
}

bool FWView::AutoKeyEvent(FWEvent& event)
{
    return mEventHandler != nullptr && mEventHandler->AutoKeyEvent(event);
}

bool FWView::KeyUpEvent(FWEvent& event)
{
    return mEventHandler != nullptr && mEventHandler->KeyUpEvent(event);
}

bool FWView::ContextualMouseDownEvent(FWEvent&)
{
    SendInterfaceContextualEvent(this);
    return true;
}

FWEventHandler* FWView::GetParent(FWEvent& event)
{
    event.mWhere = event.mGlobalWhere;
    if (mWindow == nullptr)
        return nullptr;
    mWindow->GlobalToWindow(&event.mWhere);
    return mWindow;
}

// Binding and state ------------------------------------------------------------------------

void FWView::Init(FWWindow* window)
{
    mWindow = window;
    if (window != FWViewMngr::GetUnserializationWindow()) {
        FWViewMngr* manager = GetViewMngr();
        if (manager == nullptr)
            return;
        mTabPos = manager->GetCurrID();
        mID = manager->GetNextID();
    }
    SetInterfaceTarget(window);
}

void FWView::SetVisibility(bool visible)
{
    if (visible == mVisible)
        return;
    mVisible = visible;
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer())
        child->ParentVisibilityChanged();
}

void FWView::ParentVisibilityChanged()
{
    if (!Visible())
        return;
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer())
        child->ParentVisibilityChanged();
}

bool FWView::PntInRect(const FWPoint* point)
{
    if (point == nullptr)
        return false;
    FWRect rect = mRect;
    rect.Fix();
    if (point->v == rect.top && point->h == rect.left)
        return false;
    return rect.PtInRect(*point);
}

bool FWView::MouseMovedOut()
{
    FWSetCursor(kArrowCursor);
    return true;
}

bool FWView::MousePaused()
{
    if (mTip != nullptr)
        FWPopupInfo::Show(mStringID);
    return true;
}

FWView::EditType FWView::WidthOnlyEditType(EditType type)
{
    switch (type) {
    case kEditTopLeft:
    case kEditBottomLeft:
    case kEditLeft:
        return kEditLeft;
    case kEditTopRight:
    case kEditBottomRight:
    case kEditRight:
        return kEditRight;
    case kEditTop:
    case kEditBottom:
    case kEditMove:
        return kEditMove;
    default:
        return type;
    }
}

const FWString& FWView::Viewable_Name() const
{
    return kViewName;
}

void FWView::SendValue()
{
    if (mValueObject != nullptr)
        mValueObject->ValueChanged(this);
}

bool FWView::DisableBackgroundUpdate(bool disable)
{
    const bool old = sBackgroundUpdateDisabled;
    sBackgroundUpdateDisabled = disable;
    return old;
}

// Coordinates ------------------------------------------------------------------------------

FWPoint FWView::GetParentOffset() const
{
    FWPoint sum;
    for (const FWView* up = Parent(); up != nullptr; up = up->Parent()) {
        sum.v = int16_t(sum.v + up->mOffset.v);
        sum.h = int16_t(sum.h + up->mOffset.h);
    }
    return sum;
}

FWRect FWView::GlobalRect()
{
    FWRect rect = GetRect();
    rect.Fix();
    const FWPoint offset = GetParentOffset();
    rect.Offset(offset.h, offset.v);
    return rect;
}

void FWView::WindowToView(FWPoint& point)
{
    const FWPoint offset = GetParentOffset();
    point.Offset(int16_t(-offset.h), int16_t(-offset.v));
}

void FWView::ViewToWindow(FWRect& rect)
{
    const FWPoint offset = GetParentOffset();
    rect.Offset(offset.h, offset.v);
}

void FWView::Inval() const
{
    if (mWindow == nullptr)
        return;
    const FWRect rect = GetRect();
    mWindow->Inval(&rect);
}

bool FWView::AllParentsVisible() const
{
    if (mWindow == nullptr || !mWindow->Visible())
        return false;
    for (const FWView* up = Parent(); up != nullptr; up = up->Parent())
        if (!up->mVisible)
            return false;
    return true;
}

FWRect FWView::GetParentClipRect() const
{
    if (mWindow == nullptr)
        return FWRect();
    const FWRect windowSize = mWindow->Size();
    FWRect clip = windowSize;
    for (const FWView* up = Parent(); up != nullptr; up = up->Parent()) {
        const FWRect ancestor = up->Parent() != nullptr ? up->ClipRect() : windowSize;
        FWRect overlap;
        clip.IntersectRect(ancestor, &overlap);
        clip = overlap;
    }
    return clip;
}

// Drawing ----------------------------------------------------------------------------------

void FWView::DrawView(FWDrawContext& context) const
{
    if (mWindow == nullptr) {
        Draw(context);
        return;
    }
    const FWPoint offset = GetParentOffset();
    const int32_t titleWidth = mWindow->TitleWidth();
    const int32_t frameWidth = mWindow->FrameWidth();
    const FWRect clip = GetParentClipRect();
    FWClipSaver clipSaver(context, &clip);
    mWindow->SetFrameWidth(frameWidth + offset.h);
    mWindow->SetTitleWidth(titleWidth + offset.v);
    Draw(context);
    mWindow->SetFrameWidth(frameWidth);
    mWindow->SetTitleWidth(titleWidth);
}

void FWView::InitDrawContext(FWDrawContext&)
{
    if (mWindow == nullptr)
        return;
    const FWPoint offset = GetParentOffset();
    mWindow->SetTitleWidth(mWindow->TitleWidth() + offset.v);
    mWindow->SetFrameWidth(mWindow->FrameWidth() + offset.h);
}

void FWView::FinishDrawContext(FWDrawContext&)
{
    if (mWindow == nullptr)
        return;
    const FWPoint offset = GetParentOffset();
    mWindow->SetTitleWidth(mWindow->TitleWidth() - offset.v);
    mWindow->SetFrameWidth(mWindow->FrameWidth() - offset.h);
}

// The interface target -----------------------------------------------------------------------

bool FWView::SendInterfaceAction(FWView* view, const ActionType& action)
{
    FWEventHandler* target = InterfaceTarget();
    return target != nullptr && target->InterfaceAction(view, action);
}

bool FWView::SendInterfaceEvent(FWView* view)
{
    FWEventHandler* target = InterfaceTarget();
    return target != nullptr && target->InterfaceEvent(view);
}

bool FWView::SendInterfaceContextualEvent(FWView* view)
{
    FWEventHandler* target = InterfaceTarget();
    return target != nullptr && target->InterfaceContextualEvent(view);
}

bool FWView::SendInterfaceEventWithEvent(FWView* view, FWEvent* event)
{
    FWEventHandler* target = InterfaceTarget();
    return target != nullptr && target->InterfaceEventWithEvent(view, event);
}

// Default buttons and key focus ------------------------------------------------------------

void FWView::MakeDefaultAccept()
{
    FWViewMngr* manager = GetViewMngr();
    if (manager == nullptr)
        return;
    PreorderTraversal<FWView> walk(manager->GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        view->mDefaultAccept = false;
    mDefaultAccept = true;
}

void FWView::MakeDefaultCancel()
{
    FWViewMngr* manager = GetViewMngr();
    if (manager == nullptr)
        return;
    PreorderTraversal<FWView> walk(manager->GetViewTree(), false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        view->mDefaultCancel = false;
    mDefaultCancel = true;
}

void FWView::EnableKeyFocus()
{
    mKeyFocus = true;
    if (FWViewMngr* manager = GetViewMngr())
        manager->GetTabList().Append(&mTabListNode, this);
}

void FWView::SortTabList(FWList<FWView>* list)
{
    if (list == nullptr)
        return;
    // A stable sort keeps views of equal tab position in their list order; the nodes are then
    // unlinked and appended again in the sorted order.
    list->SetCircular(false);
    std::vector<FWView*> views;
    views.reserve(size_t(list->Size()));
    for (FWView* view = list->First(); view != nullptr; view = list->Next())
        views.push_back(view);
    std::stable_sort(views.begin(), views.end(),
                     [](const FWView* a, const FWView* b) { return a->mTabPos < b->mTabPos; });
    for (FWView* view : views)
        list->Remove(&view->mTabListNode);
    for (FWView* view : views)
        list->Append(&view->mTabListNode, view);
    list->SetCircular(true);
}

// The stored record ------------------------------------------------------------------------
// Version 1: version byte; tree part (marker 1; dependency part: version 1, own serial ID,
// dependant count and references; parent, first child, previous and next peer references);
// ghosted, offset, rectangle, default accept, default cancel, visible, string ID (terminated),
// ID, tab position, key focus.

void FWView::OldWrite(SerialStream& stream)
{
    stream.BeginClassWrite("FWView", 1);
    stream.WriteByte(1); // tree-node part
    if (mSerialValidation != SerialStream::ID())
        writeDependencyPart(stream);
    stream.WriteReference(Parent());
    stream.WriteReference(FirstChild());
    stream.WriteReference(PrevPeer());
    stream.WriteReference(NextPeer());
    stream.WriteByte(mGhosted ? 1 : 0);
    stream.WriteFWPoint(mOffset);
    stream.WriteFWRect(mRect);
    stream.WriteByte(mDefaultAccept ? 1 : 0);
    stream.WriteByte(mDefaultCancel ? 1 : 0);
    stream.WriteByte(StoredVisible() ? 1 : 0);
    stream.WriteString(mStringID);
    stream.WriteLong(mID);
    stream.WriteLong(mTabPos);
    stream.WriteByte(mKeyFocus ? 1 : 0);
    stream.FinishClass("FWView", this, 0);
}

void FWView::writeDependencyPart(SerialStream& stream)
{
    mSerialValidation = SerialStream::ID();
    stream.WriteByte(1);
    stream.RegisterStreamable(this);
    stream.WriteLong(mSerialID);
    const DNode& dependants = Dependants();
    stream.WriteLong(dependants.ChildTotal());
    for (DNode* node = dependants.TreeNode<DNode>::FirstChild(); node != nullptr; node = node->NextPeer()) {
        auto* view = dynamic_cast<FWView*>(node->GetDependable());
        if (view == nullptr)
            fw_programmer_message("", kSourcePath, 643);
        stream.WriteReference(view);
    }
}

void FWView::OldRead(SerialStream& stream)
{
    const int version = stream.BeginClassRead("FWView");
    mWindow = FWViewMngr::GetUnserializationWindow();
    SetInterfaceTarget(mWindow);

    // The markers are always 1; the fields after them read the same either way.
    if (stream.ReadByte() != 1)
        FWStoredDataNotice::Report(kDamagedRecord, kSourcePath, 681);
    if (mSerialValidation != SerialStream::ID())
        readDependencyPart(stream);
    FWView* parent = unresolved<FWView>(stream.ReadReference());
    FWView* firstChild = unresolved<FWView>(stream.ReadReference());
    FWView* prevPeer = unresolved<FWView>(stream.ReadReference());
    FWView* nextPeer = unresolved<FWView>(stream.ReadReference());
    if (parent == nullptr && std::strcmp(FactoryGetClassName(), "OKButton") == 0) {
        std::puts("Patching invalid Ok Button");
        parent = unresolved<FWView>(1 * 2 + 1);
    }
    SetRawLinks(parent, firstChild, prevPeer, nextPeer);

    if (version == 1) {
        mGhosted = stream.ReadByte() != 0;
        stream.ReadFWPoint(mOffset);
        stream.ReadFWRect(mRect);
        mDefaultAccept = stream.ReadByte() != 0;
        mDefaultCancel = stream.ReadByte() != 0;
        mVisible = stream.ReadByte() != 0;
        stream.ReadString(mStringID);
        mID = stream.ReadLong();
        mTabPos = stream.ReadLong();
        mKeyFocus = stream.ReadByte() != 0;
    } else {
        FWStoredDataNotice::Report("Unknown 'FWView' version", kSourcePath, 775);
    }

    // The stored visibility is not kept: a loaded view starts visible and unselected.
    mVisible = true;
    mEventHandler = nullptr;
    mTip = nullptr;
    mValueObject = nullptr;
    mDragMark = false;
    mSelected = false;

    if (mKeyFocus) {
        if (FWViewMngr* manager = GetViewMngr())
            manager->GetTabList().Append(&mTabListNode, this);
    }
    stream.FinishClass("FWView", this, 0);
}

void FWView::readDependencyPart(SerialStream& stream)
{
    mSerialValidation = SerialStream::ID();
    if (stream.ReadByte() != 1)
        FWStoredDataNotice::Report(kDamagedRecord, kSourcePath, 609);
    mSerialID = stream.ReadLong();
    const int32_t count = stream.ReadLong();
    // Each reference is read before its node is made, so a count larger than the data ends
    // with the stream's read failure, not with an allocation per claimed entry. Each node goes
    // after the one made before it: finding the last child anew would cost the square of the count.
    DNode* last = Dependants().LastChild();
    for (int32_t i = 0; i < count; ++i) {
        const uintptr_t token = stream.ReadReference();
        auto* node = new DNode(unresolved<Dependable>(token));
        if (last != nullptr)
            node->LinkAfter(last);
        else
            Dependants().AppendChild(node);
        last = node;
    }
    stream.RegisterStreamable(this);
}

bool FWView::EstablishDependancy(Dependable* receiver)
{
    if (!Dependable::EstablishDependancy(receiver))
        return false;
    if (FWViewMngr* manager = GetViewMngr())
        manager->NoteDependants(this);
    return true;
}

void FWView::OldResolveReferences(SerialStream& stream)
{
    DNode& dependants = Dependants();
    DNode* node = dependants.TreeNode<DNode>::FirstChild();
    while (node != nullptr) {
        DNode* next = node->NextPeer();
        const uintptr_t token = tokenOf(node->GetDependable());
        if (stream.NeedsResolving(token)) {
            FWView* view = stream.ResolveReference(token);
            if (view != nullptr) {
                auto* resolved = new DNode(view);
                resolved->LinkBefore(node);
            }
            node->Unlink();
            delete node;
        }
        node = next;
    }
    if (dependants.TreeNode<DNode>::FirstChild() != nullptr) {
        if (FWViewMngr* manager = GetViewMngr())
            manager->NoteDependants(this);
    }

    auto resolve = [&stream](FWView* link) -> FWView* {
        const uintptr_t token = tokenOf(link);
        if (!stream.NeedsResolving(token))
            return link;
        return stream.ResolveReference(token);
    };
    SetRawLinks(resolve(Parent()), resolve(FirstChild()), resolve(PrevPeer()), resolve(NextPeer()));
    SetInterfaceTarget(mWindow);
}

void FWView::Label::OldWrite(SerialStream& stream) const
{
    stream.WriteFWPoint(mPoint);
    stream.WriteString(mText);
}

void FWView::Label::OldRead(SerialStream& stream)
{
    stream.ReadFWPoint(mPoint);
    stream.ReadString(mText);
}

namespace {

SubClassFactory<FWView, FWView> sFactory("FWView");

} // namespace

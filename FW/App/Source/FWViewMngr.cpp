// The view manager's tree, ids, and the 'WINT' reader and writer.
#include "FWViewMngr.h"

#include "DNode.h"
#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWPlatformUtils.h"
#include "FWStoredDataNotice.h"
#include "FWStack.h"
#include "FWStr.h"
#include "FWStreamException.h"
#include "FS_ResourceUtil.h"
#include "FWView.h"
#include "FWWindow.h"
#include "FactoryHandler.h"
#include "FWViewClasses.h"
#include "GlobalSerialStream.h"
#include "HostMemory.h"
#include "ParentWindow.h"
#include "TabControl.h"
#include "PreorderTraversal.h"

#include <cstring>
#include <algorithm>

int32_t FWViewMngr::mCount = 0;
bool FWViewMngr::mUnserializing = false;
FWWindow* FWViewMngr::sUnserializationWindow = nullptr;

namespace {

constexpr uint32_t kWINT = FOUR_CHAR_CODE("WINT");
constexpr int32_t kStreamVersion = 2;

// A reference token (0, or serial ID x 2 + 1) as the reader keeps it in a pointer field.
uintptr_t tokenOf(const void* p)
{
    return reinterpret_cast<uintptr_t>(p);
}

} // namespace

FWViewMngr::FWViewMngr(FWWindow* window) : mWindow(this, true), mTabList(true)
{
    SetDebugName("FWViewMngr");
    mWindow = window;
    // Every control class a layout may name is linked in (its factory with it).
    (void)FWLinkedViewClassCount();
    if (mCount == 0)
        InitInterfaceIcons();
    ++mCount;
}

FWViewMngr::~FWViewMngr()
{
    deleteTree();
    if (--mCount == 0)
        DisposeInterfaceIcons();
    mWindow = nullptr;
}

void FWViewMngr::deleteTree()
{
    if (mRoot == nullptr)
        return;
    mDeletingTree = true;
    mRoot->DeleteChildren();
    delete mRoot;
    mDeletingTree = false;
    mDependedOn.clear();
    mRoot = nullptr;
    mKeyFocus = nullptr;
    mDefaultAccept = nullptr;
    mDefaultCancel = nullptr;
    mSelectedTotal = 0;
}

void FWViewMngr::ViewDeleted(FWView* view)
{
    if (view == mDefaultAccept)
        mDefaultAccept = nullptr;
    if (view == mDefaultCancel)
        mDefaultCancel = nullptr;
    // A view that names the deleted one as a dependant would later send it messages.
    if (!mDependedOn.empty()) {
        mDependedOn.erase(std::remove(mDependedOn.begin(), mDependedOn.end(), view), mDependedOn.end());
        for (FWView* holder : mDependedOn)
            holder->BreakDependancy(view);
    }
    if (mDeletingTree) {
        if (view == mKeyFocus)
            mKeyFocus = nullptr;
        return;
    }
    if (view == mKeyFocus)
        SetKeyFocus(nullptr);
    if (view->IsSelected() && mSelectedTotal > 0)
        --mSelectedTotal;
    if (window() != nullptr)
        window()->ViewDeleted(view);
}

void FWViewMngr::NoteDependants(FWView* view)
{
    if (std::find(mDependedOn.begin(), mDependedOn.end(), view) == mDependedOn.end())
        mDependedOn.push_back(view);
}

void FWViewMngr::ThrowAwayViews()
{
    if (mRoot != nullptr)
        mRoot->DeleteChildren();
}

// Loading ----------------------------------------------------------------------------------

bool FWViewMngr::Initialize(const FWRect&)
{
    mResID = 1000;
    mIDCounter = 1000;
    deleteTree();
    auto* root = new ParentWindow;
    mRoot = root;
    root->Init(window());
    FWRect content;
    if (window() != nullptr)
        window()->GetContentRect(&content);
    root->SetRect(content);
    return true;
}

bool FWViewMngr::Initialize(int32_t resID)
{
    mResID = resID;
    Handle resource = mCurrentFileOnly ? Corvel::FS_ResourceUtil::Get1Resource(kWINT, resID)
                                       : Corvel::FS_ResourceUtil::GetResource(kWINT, resID);
    if (resource == nullptr)
        return false;
    Corvel::FS_ResourceUtil::HLock(resource);
    const int32_t size = Corvel::FS_ResourceUtil::GetHandleSize(resource);
    try {
        const bool loaded = InitializeFromData(*resource, size > 0 ? uint32_t(size) : 0);
        Corvel::FS_ResourceUtil::HUnlock(resource);
        return loaded;
    } catch (...) {
        Corvel::FS_ResourceUtil::HUnlock(resource);
        throw;
    }
}

bool FWViewMngr::InitializeFromData(const char* bytes, uint32_t size)
{
    const bool firstLoad = mRoot == nullptr;
    deleteTree();
    // Records of a newer program read with their defaults; the user hears of them once, after
    // the whole layout is read.
    FWStoredDataNotice notice;
    if (!loadTree(bytes, size))
        return false; // a refused layout is named by its refusal alone
    notice.Present();
    if (!mUnserializing)
        placeWindow(firstLoad);
    mRoot->SetVisibility(false);
    return true;
}

bool FWViewMngr::loadTree(const char* bytes, uint32_t size)
{
    std::vector<FWView*> read;
    sUnserializationWindow = window();
    try {
        GlobalSerialStream stream(bytes, size, GlobalSerialStream::kReading);
        stream.SetVersion(stream.ReadLong());
        mIDCounter = stream.ReadLong();
        const int32_t count = stream.ReadLong();
        bool complete = true;
        // A class this program does not have (or cannot make) leaves a hole in the tree: the
        // layout is refused.
        for (int32_t i = 0; i < count || i == 0; ++i) {
            if (readEntry(stream, read) == nullptr) {
                complete = false;
                break;
            }
        }
        if (!complete || stream.Damaged() || !storedLinksFormATree(read, stream.TableSize())) {
            discardUnresolvedViews(read);
            sUnserializationWindow = nullptr;
            return false;
        }
        // Last read first: every view's descendants are resolved before the view itself.
        for (auto it = read.rbegin(); it != read.rend(); ++it)
            (*it)->OldResolveReferences(stream);
        // The tree's own links were checked above; another reference to no view (a dependant,
        // a control's part) is left out, and the user is told.
        if (stream.Damaged())
            FWStoredDataNotice::Report("Damaged view reference", "FW/App/Source/FWViewMngr", __LINE__);
        if (!dependantsFormNoCycle(read)) {
            discardUnresolvedViews(read);
            sUnserializationWindow = nullptr;
            return false;
        }
    } catch (...) {
        discardUnresolvedViews(read);
        sUnserializationWindow = nullptr;
        throw;
    }
    mRoot = read.front();
    if (mOffset.h > 0 || mOffset.v > 0)
        OffsetAllViews();
    FWView::SortTabList(&mTabList);
    mKeyFocus = mTabList.First();
    sUnserializationWindow = nullptr;
    return true;
}

FWView* FWViewMngr::readEntry(GlobalSerialStream& stream, std::vector<FWView*>& read)
{
    FWStr<255> name;
    stream.ReadString(name);
    ObjectFactory<FWView>* factory = FactoryHandler<FWView>::FindFactory(name);
    const int32_t length = stream.ReadLong();
    const uint32_t start = stream.GetCurrPos();
    if (length < 0 || uint32_t(length) > stream.Size() - start)
        throw FWSetPositionFailedException();
    const uint32_t end = start + uint32_t(length);
    if (factory == nullptr) {
        stream.SetCurrPos(end);
        return nullptr;
    }
    FWView* view = factory->CreateInstance();
    if (view == nullptr)
        return nullptr;
    read.push_back(view); // owned by the reader from here on, also when OldRead throws
    view->OldRead(stream);
    // Whatever the record's readers made of it (a version they do not know, say), the next
    // entry starts where the stored length says this one ends.
    stream.SetCurrPos(end);
    return view;
}

bool FWViewMngr::storedLinksFormATree(const std::vector<FWView*>& read, int32_t tableSize)
{
    if (read.empty() || tableSize < 1)
        return false;
    // Every view read has its own serial ID, in the table and unique. The IDs are the stream's
    // table indexes, so a table-sized array maps them to the views (-1: no view).
    std::vector<int32_t> bySerial(size_t(tableSize), -1);
    for (size_t i = 0; i < read.size(); ++i) {
        const int32_t serial = read[i]->GetSerialID();
        if (serial < 1 || serial >= tableSize || bySerial[size_t(serial)] >= 0)
            return false;
        bySerial[size_t(serial)] = int32_t(i);
    }
    // A stored link is 0 or the token of a view read; anything else is refused.
    bool ok = true;
    auto target = [&](const FWView* link) -> long {
        const uintptr_t token = tokenOf(link);
        if (token == 0)
            return -1;
        const uintptr_t serial = token >> 1;
        if ((token & 1) == 0 || serial >= uintptr_t(tableSize) || bySerial[serial] < 0) {
            ok = false;
            return -2;
        }
        return long(bySerial[serial]);
    };

    FWView* root = read.front();
    if (target(root->Parent()) != -1 || target(root->PrevPeer()) != -1 || target(root->NextPeer()) != -1)
        return false;
    // Walk from the root over first-child and next-peer links, each view at most once, with
    // every child's parent and previous-peer links matching the walk.
    std::vector<int32_t> depth(read.size(), -1);
    depth[0] = 0;
    size_t visited = 1;
    std::vector<size_t> pending{0};
    while (!pending.empty()) {
        const size_t node = pending.back();
        pending.pop_back();
        long previous = -1;
        for (long child = target(read[node]->FirstChild()); child >= 0;) {
            if (depth[size_t(child)] >= 0)
                return false; // a cycle, or a view linked twice
            if (target(read[size_t(child)]->Parent()) != long(node) ||
                target(read[size_t(child)]->PrevPeer()) != previous || !ok)
                return false;
            depth[size_t(child)] = depth[node] + 1;
            if (depth[size_t(child)] > kMaxTreeDepth)
                return false;
            ++visited;
            pending.push_back(size_t(child));
            previous = child;
            child = target(read[size_t(child)]->NextPeer());
        }
        if (!ok)
            return false;
    }
    return ok && visited == read.size();
}

// Each view's dependants are views of the tree, listed once; the graph has no cycle. Views are
// found by address in a sorted array, built only when some view has dependants.
bool FWViewMngr::dependantsFormNoCycle(const std::vector<FWView*>& read)
{
    // The edges of view i are edges[first[i] .. first[i + 1]).
    std::vector<size_t> first(read.size() + 1, 0);
    for (size_t i = 0; i < read.size(); ++i) {
        size_t count = 0;
        for (DNode* node = read[i]->Dependants().FirstChild(); node != nullptr; node = node->NextPeer())
            ++count;
        first[i + 1] = first[i] + count;
    }
    if (first.back() == 0)
        return true;
    std::vector<std::pair<uintptr_t, size_t>> byAddress(read.size());
    for (size_t i = 0; i < read.size(); ++i)
        byAddress[i] = {tokenOf(static_cast<const Dependable*>(read[i])), i};
    std::sort(byAddress.begin(), byAddress.end());
    std::vector<size_t> edges(first.back());
    std::vector<size_t> lastSource(read.size(), SIZE_MAX); // the view whose dependant it was last seen as
    for (size_t i = 0; i < read.size(); ++i) {
        size_t at = first[i];
        for (DNode* node = read[i]->Dependants().FirstChild(); node != nullptr; node = node->NextPeer()) {
            const uintptr_t dependant = tokenOf(node->GetDependable());
            auto it = std::lower_bound(byAddress.begin(), byAddress.end(), std::make_pair(dependant, size_t(0)));
            if (it == byAddress.end() || it->first != dependant)
                return false;
            if (lastSource[it->second] == i)
                return false;
            lastSource[it->second] = i;
            edges[at++] = it->second;
        }
    }
    enum : uint8_t { kNew, kOnPath, kDone };
    std::vector<uint8_t> state(read.size(), kNew);
    std::vector<std::pair<size_t, size_t>> path; // (view, next edge)
    for (size_t start = 0; start < read.size(); ++start) {
        if (state[start] != kNew)
            continue;
        path.assign(1, {start, first[start]});
        state[start] = kOnPath;
        while (!path.empty()) {
            auto& [view, next] = path.back();
            if (next == first[view + 1]) {
                state[view] = kDone;
                path.pop_back();
                continue;
            }
            const size_t to = edges[next++];
            if (state[to] == kOnPath)
                return false;
            if (state[to] == kNew) {
                state[to] = kOnPath;
                path.emplace_back(to, first[to]);
            }
        }
    }
    return true;
}

void FWViewMngr::discardUnresolvedViews(std::vector<FWView*>& read)
{
    // The views hold stored links (resolved or not) that do not form a tree the manager could
    // own: they are cleared first, so that deleting a view follows none of them.
    for (FWView* view : read) {
        view->SetRawLinks(nullptr, nullptr, nullptr, nullptr);
        view->Dependants().DeleteChildren();
    }
    mDependedOn.clear();
    for (FWView* view : read)
        delete view;
    read.clear();
    mRoot = nullptr;
    mKeyFocus = nullptr;
    mDefaultAccept = nullptr;
    mDefaultCancel = nullptr;
}

void FWViewMngr::placeWindow(bool firstLoad)
{
    FWWindow* w = window();
    if (w == nullptr || mRoot == nullptr)
        return;
    FWRect r = mRoot->GetRect();
    if (firstLoad) {
        FWRect app;
        FWGetAppRect(&app);
        r.CenterInsideOf(app);
        w->SetLocation(r.left, r.top);
    }
    const int16_t width = int16_t(r.Width() + 2 * w->FrameWidth() + mOffset.h);
    const int16_t height = int16_t(r.Height() + w->TitleWidth() + w->FrameWidth() + mOffset.v);
    w->SetUserSize(width, height);
}

void FWViewMngr::OffsetAllViews()
{
    PreorderTraversal<FWView> walk(mRoot, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        FWRect rect = view->GetRect();
        rect.Offset(mOffset.h, mOffset.v);
        view->SetRect(rect);
    }
}

// Saving -----------------------------------------------------------------------------------

// Failures pass to the caller as exceptions: the stream throws FWWriteFailedException when it
// cannot grow, a view's OldWrite may throw its own, and a handle that cannot be had throws
// FWWriteFailedException too, so a save never stores a missing layout.
Handle FWViewMngr::SerializeViewTree()
{
    GlobalSerialStream stream(nullptr, 0, GlobalSerialStream::kWriting);
    writeTree(stream);
    stream.FinishWriting();
    const uint32_t size = stream.GetCurrPos();
    Handle result = NewHandle(Size(stream.Size()));
    if (result == nullptr)
        throw FWWriteFailedException();
    HLock(result);
    if (stream.Size() > 0)
        std::memcpy(*result, stream.Buffer(), stream.Size());
    HUnlock(result);
    SetHandleSize(result, Size(size));
    return result;
}

void FWViewMngr::writeTree(GlobalSerialStream& stream)
{
    stream.WriteLong(kStreamVersion);
    stream.WriteLong(mIDCounter);
    stream.WriteLong(mRoot != nullptr ? mRoot->Size() : 0);
    PreorderTraversal<FWView> walk(mRoot, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        stream.WriteString(view->FactoryGetClassName(), 255);
        const uint32_t lengthAt = stream.LeaveSpaceForOffset();
        view->OldWrite(stream);
        stream.PatchOffset(lengthAt, int32_t(stream.GetCurrPos() - lengthAt - 4));
    }
}

// The tree ---------------------------------------------------------------------------------

FWView* FWViewMngr::GetView(int32_t id)
{
    PreorderTraversal<FWView> walk(mRoot, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
        if (view->ID() == id)
            return view;
    return nullptr;
}

void FWViewMngr::GhostInterfaceItem(int32_t id, bool ghost, FWView* view)
{
    if (view == nullptr)
        view = GetView(id);
    if (view == nullptr || view->IsGhosted() == ghost)
        return;
    const FWRect rect = view->GetRect();
    view->SetGhosted(ghost);
    if (window() != nullptr)
        window()->Inval(&rect);
}

void FWViewMngr::WindowBecameVisible()
{
    if (mRoot != nullptr)
        mRoot->SetVisibility(true);
}

void FWViewMngr::WindowBecomingInvisible()
{
    if (mRoot != nullptr)
        mRoot->SetVisibility(false);
}

bool FWViewMngr::ReceiveMessage(Dependable* sender, Message m)
{
    Dependable::ReceiveMessage(sender, m);
    if (m != IsBeingDeleted)
        return true;
    if (sender == this) {
        PreorderTraversal<FWView> walk(mRoot, false);
        for (FWView* view = walk.First(); view != nullptr; view = walk.Next())
            view->SendMessage(IsBeingDeleted);
        mWindow = nullptr;
    } else if (sender != nullptr && sender == static_cast<Dependable*>(static_cast<FWWindow*>(mWindow))) {
        mWindow = nullptr;
    }
    return true;
}


// Shared icons -----------------------------------------------------------------------------

DiskImage* FWViewMngr::closeIcon[2] = {};
DiskImage* FWViewMngr::popupIcon[2] = {};
DiskImage* FWViewMngr::zoomIcon[2] = {};
DiskImage* FWViewMngr::closeIconMini[2] = {};
DiskImage* FWViewMngr::popupIconMini[2] = {};
DiskImage* FWViewMngr::zoomIconMini[2] = {};
DiskImage* FWViewMngr::modalIcons[2] = {};
DiskImage* FWViewMngr::checkboxIcons[2] = {};
DiskImage* FWViewMngr::radioIcons[4] = {};
DiskImage* FWViewMngr::defaultPicture = nullptr;

namespace {

void loadPair(DiskImage* pair[2], int32_t first)
{
    if (pair[0] != nullptr)
        return;
    pair[0] = DiskImage::Acquire(first, FOUR_CHAR_CODE("argb"));
    pair[1] = DiskImage::Acquire(first + 1, FOUR_CHAR_CODE("argb"));
}

void reload(DiskImage*& slot, int32_t id, uint32_t type)
{
    if (slot != nullptr)
        DiskImage::Release(slot);
    slot = DiskImage::Acquire(id, type);
}

void release(DiskImage*& slot)
{
    if (slot != nullptr)
        DiskImage::Release(slot);
    slot = nullptr;
}

} // namespace

bool FWViewMngr::InitInterfaceIcons()
{
    loadPair(closeIcon, 60);
    loadPair(popupIcon, 62);
    loadPair(zoomIcon, 64);
    loadPair(closeIconMini, 66);
    loadPair(popupIconMini, 68);
    loadPair(zoomIconMini, 70);
    reload(modalIcons[0], 32, FOUR_CHAR_CODE("argb"));
    reload(modalIcons[1], 33, FOUR_CHAR_CODE("argb"));
    reload(checkboxIcons[0], 5008, FOUR_CHAR_CODE("argb"));
    reload(checkboxIcons[1], 5010, FOUR_CHAR_CODE("PICT"));
    reload(radioIcons[0], 5005, FOUR_CHAR_CODE("argb"));
    reload(radioIcons[1], 5006, FOUR_CHAR_CODE("argb"));
    reload(radioIcons[2], 5007, FOUR_CHAR_CODE("argb"));
    reload(radioIcons[3], 5003, FOUR_CHAR_CODE("argb"));
    if (defaultPicture == nullptr)
        defaultPicture = DiskImage::Acquire(17, FOUR_CHAR_CODE("argb"));

    for (DiskImage** pair : {closeIcon, popupIcon, zoomIcon, modalIcons, checkboxIcons})
        if (pair[0] == nullptr || pair[1] == nullptr)
            return false;
    return radioIcons[0] != nullptr && radioIcons[1] != nullptr && radioIcons[2] != nullptr &&
           defaultPicture != nullptr;
}

void FWViewMngr::DisposeInterfaceIcons()
{
    for (DiskImage** pair : {closeIcon, popupIcon, zoomIcon, closeIconMini, popupIconMini, zoomIconMini, modalIcons,
                             checkboxIcons}) {
        release(pair[0]);
        release(pair[1]);
    }
    for (DiskImage*& slot : radioIcons)
        release(slot);
    release(defaultPicture);
}

// Hit testing and routing ------------------------------------------------------------------

FWView* FWViewMngr::GetView(const FWPoint* point, bool includeGhosted)
{
    if (point == nullptr || mRoot == nullptr)
        return nullptr;
    FWView* hit = nullptr;
    FWView* current = mRoot->FirstChild();
    while (current != nullptr) {
        FWPoint local = *point;
        const FWPoint offset = current->GetParentOffset();
        local.Offset(int16_t(-offset.h), int16_t(-offset.v));
        const bool candidate = current->Visible() && current->AllParentsVisible() && current->PntInRect(&local) &&
                               (!current->IsGhosted() || includeGhosted);
        if (!candidate) {
            current = current->NextPeer();
            continue;
        }
        if (current->HandlesEvents()) {
            hit = current;
            if (current->FirstChild() == nullptr || current->HandlesAllEvents())
                break;
        }
        current = current->FirstChild();
    }
    return hit;
}

bool FWViewMngr::usableForKeys(FWView* view) const
{
    return view != nullptr && view->Visible() && view->AllParentsVisible() && !view->IsGhosted();
}

bool FWViewMngr::moveTabCursorTo(FWView* view)
{
    FWView* at = mTabList.First();
    for (int32_t i = 0; i < mTabList.Size() && at != nullptr; ++i) {
        if (at == view)
            return true;
        at = mTabList.Next();
    }
    return false;
}

FWView* FWViewMngr::nextUsableTabView(bool backward)
{
    // Every walk is bounded by the list's length, so a broken circle cannot hold it.
    const int32_t limit = mTabList.Size();
    if (mKeyFocus != nullptr && moveTabCursorTo(mKeyFocus)) {
        for (int32_t i = 0; i < limit; ++i) {
            FWView* view = backward ? mTabList.Previous() : mTabList.Next();
            if (view == nullptr || view == mKeyFocus)
                return nullptr;
            if (usableForKeys(view))
                return view;
        }
        return nullptr;
    }
    FWView* start = mTabList.First();
    FWView* view = start;
    for (int32_t i = 0; i < limit && view != nullptr; ++i) {
        if (usableForKeys(view))
            return view;
        view = backward ? mTabList.Previous() : mTabList.Next();
        if (view == start)
            return nullptr;
    }
    return nullptr;
}

FWView* FWViewMngr::GetEventHandler(FWEvent& event)
{
    switch (event.mType) {
    case kMouseDownEvent:
    case kMouseUpEvent: {
        if (window() != nullptr)
            window()->PostTextEvent(nullptr);
        FWView* view = GetView(&event.mWhere, false);
        if (view == nullptr) {
            SetKeyFocus(nullptr);
            return nullptr;
        }
        if (event.mType == kMouseDownEvent && view->CanHaveFocus() && view != mKeyFocus)
            SetKeyFocus(view);
        return view;
    }
    case kKeyUpEvent:
        return mKeyFocus;
    case kKeyDownEvent:
    case kAutoKeyEvent: {
        if (window() != nullptr && window()->FilterKeyEvent(event))
            return nullptr;
        const char c = event.EventCharacter();
        if (c == 13 || c == 3) {
            if (window() != nullptr)
                window()->PostTextEvent(nullptr);
            return mKeyFocus;
        }
        if (c != 9 || (event.mModifiers & kFWCommandKey) != 0)
            return mKeyFocus;
        FWView* found = nextUsableTabView((event.mModifiers & kFWShiftKey) != 0);
        if (found != nullptr && found != mKeyFocus)
            SetKeyFocus(found);
        return usableForKeys(mKeyFocus) ? mKeyFocus : nullptr;
    }
    default:
        return nullptr;
    }
}

// Key focus and default buttons ----------------------------------------------------------------

void FWViewMngr::SetKeyFocus(FWView* view)
{
    if (mKeyFocus != nullptr && mKeyFocus != view)
        mKeyFocus->ActivateEvent(false);
    mKeyFocus = view;
    if (view != nullptr) {
        view->ActivateEvent(true);
        moveTabCursorTo(view);
    }
    if (window() != nullptr)
        window()->NewKeyFocus(view);
}

void FWViewMngr::ValidateKeyFocus()
{
    if (mKeyFocus != nullptr && (!mKeyFocus->Visible() || !mKeyFocus->AllParentsVisible()))
        SetKeyFocus(nullptr);
}

FWView* FWViewMngr::DefaultAccept()
{
    PreorderTraversal<FWView> walk(mRoot, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (view->DefaultAccept()) {
            mDefaultAccept = view;
            return view;
        }
    }
    return nullptr;
}

FWView* FWViewMngr::DefaultCancel()
{
    PreorderTraversal<FWView> walk(mRoot, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (view->DefaultCancel()) {
            mDefaultCancel = view;
            return view;
        }
    }
    return nullptr;
}

// Drawing and selection -------------------------------------------------------------------

void FWViewMngr::Draw(FWDrawContext& context)
{
    DrawTree(context, mRoot);
    if (!mActivateFocusOnFirstDraw)
        return;
    mActivateFocusOnFirstDraw = false;
    if (mKeyFocus != nullptr)
        mKeyFocus->ActivateEvent(true);
}

void FWViewMngr::DrawTree(FWDrawContext& context, FWView* tree)
{
    if (tree == nullptr)
        return;
    FWBackColorSaver background(context);
    PreorderTraversal<FWView> walk(tree, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (!view->Visible() || !view->AllParentsVisible()) {
            walk.SkipToNextPeer();
            continue;
        }
        if (view->IsGhosted()) {
            GhostTree(context, view);
            walk.SkipToNextPeer();
            continue;
        }
        view->DrawView(context);
        if (view->IsSelected())
            HighlightView(context, view, true);
    }
}

void FWViewMngr::GhostTree(FWDrawContext& context, FWView* tree)
{
    if (tree == nullptr)
        return;
    FWBackColorSaver background(context);
    PreorderTraversal<FWView> walk(tree, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (!view->Visible()) {
            walk.SkipToNextPeer();
            continue;
        }
        const bool ownState = view->IsGhosted();
        view->SetGhosted(true);
        view->DrawView(context);
        view->SetGhosted(ownState);
        if (view->IsSelected())
            HighlightView(context, view, true);
    }
}

void FWViewMngr::HighlightView(FWDrawContext& context, FWView* view, bool on)
{
    if (view == nullptr)
        return;
    FWForeColorSaver colour(context, on ? FWArgb32::Black : FWGetAppColor(0));
    const FWRect r = view->GlobalRect();
    const int16_t w = r.Width() > 4 ? 5 : r.Width();
    const int16_t h = r.Height() > 4 ? 5 : r.Height();
    // Top-left, bottom-right, bottom-left, top-right.
    const FWRect corners[] = {
        FWRect(r.left, r.top, int16_t(r.left + w), int16_t(r.top + h)),
        FWRect(int16_t(r.right - w), int16_t(r.bottom - h), r.right, r.bottom),
        FWRect(r.left, int16_t(r.bottom - h), int16_t(r.left + w), r.bottom),
        FWRect(int16_t(r.right - w), r.top, r.right, int16_t(r.top + h)),
    };
    for (const FWRect& corner : corners)
        context.PaintRect(&corner);
}

void FWViewMngr::SelectView(FWDrawContext& context, FWView* view)
{
    if (view == nullptr || view == mRoot || dynamic_cast<ParentWindow*>(view) != nullptr)
        return;
    view->SetSelected(true);
    HighlightView(context, view, true);
    ++mSelectedTotal;
}

void FWViewMngr::UnSelectView(FWDrawContext& context, FWView* view)
{
    if (view == nullptr)
        return;
    FWBackColorSaver background(context, FWGetAppColor(0));
    view->SetSelected(false);
    HighlightView(context, view, false);
    view->DrawView(context);
    --mSelectedTotal;
}

void FWViewMngr::UnSelectAllViews(FWDrawContext& context)
{
    FWBackColorSaver background(context, FWGetAppColor(0));
    PreorderTraversal<FWView> walk(mRoot, false);
    for (FWView* view = walk.First(); view != nullptr; view = walk.Next()) {
        if (!view->IsSelected())
            continue;
        view->SetSelected(false);
        HighlightView(context, view, false);
        view->DrawView(context);
    }
    mSelectedTotal = 0;
}

// Placing a new view -----------------------------------------------------------------------

FWView* FWViewMngr::FindAParent(FWView* view)
{
    FWView* candidate = mRoot;
    if (view == nullptr || mRoot == nullptr)
        return candidate;
    FWRect rect = view->GetRect();
    rect.Fix();
    const FWPoint corner(rect.left, rect.top);
    PreorderTraversal<FWView> walk(mRoot, false);
    for (FWView* node = walk.First(); node != nullptr; node = walk.Next()) {
        if (!node->AllowsChildren() || !node->Visible() || !node->AllParentsVisible())
            continue;
        if (node->PntInRect(&corner))
            candidate = node;
        else
            walk.SkipToNextPeer();
    }
    return candidate;
}

void FWViewMngr::InheritBranches(FWView* view, FWView* parent)
{
    if (view == nullptr || parent == nullptr || !view->AllowsChildren())
        return;
    FWView* receiver = view;
    if (auto* tabs = dynamic_cast<TabControl*>(view)) {
        const int32_t active = tabs->GetActiveTab();
        FWView* page = tabs->FirstChild();
        for (int32_t i = 0; i < active && page != nullptr; ++i)
            page = page->NextPeer();
        if (page == nullptr)
            page = tabs->FirstChild();
        if (page != nullptr)
            receiver = page;
    }
    FWView* child = parent->FirstChild();
    while (child != nullptr) {
        FWView* next = child->NextPeer();
        if (child != view) {
            FWRect rect = child->GetRect();
            rect.Fix();
            const FWPoint corner(rect.left, rect.top);
            if (view->PntInRect(&corner)) {
                child->Unlink();
                receiver->AppendChild(child);
            }
        }
        child = next;
    }
}

void FWViewMngr::FallIntoTree(FWView* view)
{
    if (view == nullptr)
        return;
    FWView* parent = FindAParent(view);
    if (parent == nullptr)
        return;
    if (parent->ID() == 0)
        parent->SetID(GetNextID());
    if (view->AllowsChildren())
        InheritBranches(view, parent);
    parent->AppendChild(view);
    FWRect rect = view->GetRect();
    const FWPoint offset = view->GetParentOffset();
    rect.Offset(int16_t(-offset.h), int16_t(-offset.v));
    view->SetRect(rect);
}

// Edit commands ----------------------------------------------------------------------------

bool FWViewMngr::CanCut() { return mKeyFocus != nullptr && mKeyFocus->CanCut(); }
bool FWViewMngr::CanCopy() { return mKeyFocus != nullptr && mKeyFocus->CanCopy(); }
bool FWViewMngr::CanPaste() { return mKeyFocus != nullptr && mKeyFocus->CanPaste(); }
bool FWViewMngr::CanClear() { return mKeyFocus != nullptr && mKeyFocus->CanClear(); }
bool FWViewMngr::CanSelectAll() { return mKeyFocus != nullptr && mKeyFocus->CanSelectAll(); }
bool FWViewMngr::CanSelectNone() { return mKeyFocus != nullptr && mKeyFocus->CanSelectNone(); }
bool FWViewMngr::CutEvent(FWEvent& event) { return mKeyFocus != nullptr && mKeyFocus->CutEvent(event); }
bool FWViewMngr::CopyEvent(FWEvent& event) { return mKeyFocus != nullptr && mKeyFocus->CopyEvent(event); }
bool FWViewMngr::PasteEvent(FWEvent& event) { return mKeyFocus != nullptr && mKeyFocus->PasteEvent(event); }
bool FWViewMngr::ClearEvent(FWEvent& event) { return mKeyFocus != nullptr && mKeyFocus->ClearEvent(event); }
bool FWViewMngr::SelectAllEvent(FWEvent& event) { return mKeyFocus != nullptr && mKeyFocus->SelectAllEvent(event); }
bool FWViewMngr::SelectNoneEvent(FWEvent& event) { return mKeyFocus != nullptr && mKeyFocus->SelectNoneEvent(event); }

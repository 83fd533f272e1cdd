#include "FWFolderView.h"

#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWPlatformUtils.h"
#include "FWToolFolder.h"
#include "FWWindow.h"

#include <algorithm>

FWFolderView::FWFolderView(FWWindow* window) : mScrollCursor(FWGetCursor(10001)), mMenuCursor(FWGetCursor(1000))
{
    Init(window);
}

FWFolderView::~FWFolderView()
{
    FWDisposeCursor(mScrollCursor);
    FWDisposeCursor(mMenuCursor);
}

void FWFolderView::moveFolder(FWToolFolder& folder, int16_t h, int16_t v)
{
    FWRect rect = folder.GetRect();
    rect.MoveTo(h, v);
    folder.SetRect(rect);
}

void FWFolderView::AddFolder(FWToolFolder& folder)
{
    folder.SetEventHandler(this);
    if (!mFolders.empty())
        mFolders.back()->SetDrawBottomWhenContracted(false);
    FWRect rect = folder.GetRect();
    rect.MoveTo(mNextPosition.h, mNextPosition.v);
    rect.right = int16_t(GetRect().right - 1);
    folder.SetRect(rect);
    const int16_t height = folder.GetRect().Height();
    mNextPosition.v = int16_t(mNextPosition.v + (folder.Contracted() ? height - 2 : height + 2));
    AppendChild(&folder);
    mFolders.push_back(&folder);
}

void FWFolderView::RepositionFolders(FWToolFolder* start)
{
    if (mFolders.empty())
        return;
    size_t first = 0;
    if (start != nullptr) {
        auto found = std::find(mFolders.begin(), mFolders.end(), start);
        first = found != mFolders.end() ? size_t(found - mFolders.begin()) : 0;
    }
    for (size_t i = first + 1; i < mFolders.size(); ++i) {
        const FWToolFolder& above = *mFolders[i - 1];
        const FWRect prev = above.GetRect();
        const int16_t top = int16_t(above.Contracted() ? prev.bottom - 2 : prev.bottom + 2);
        FWToolFolder& folder = *mFolders[i];
        folder.Inval();
        moveFolder(folder, prev.left, top);
        folder.Inval();
    }
    FixFolders();
}

void FWFolderView::FixFolders()
{
    if (mFolders.empty())
        return;
    const FWRect view = GetRect();
    if (mFolders.front()->GetRect().top >= view.top + 1)
        return;
    const int16_t lastBottom = mFolders.back()->GetRect().bottom;
    if (lastBottom + 1 < view.bottom)
        ShuffleAllFolders(view.bottom - (lastBottom + 1));
    const int16_t firstTop = mFolders.front()->GetRect().top;
    if (firstTop - 1 > view.top)
        ShuffleAllFolders(view.top + 1 - firstTop);
}

void FWFolderView::ShuffleAllFolders(int dv)
{
    for (FWToolFolder* folder : mFolders) {
        FWRect rect = folder->GetRect();
        rect.Offset(0, int16_t(dv));
        folder->SetRect(rect);
    }
    Inval();
}

int FWFolderView::UnobscureFolder(FWToolFolder* folder)
{
    if (folder == nullptr)
        return 0;
    const FWRect view = GetRect();
    const FWRect rect = folder->GetRect();
    int shift = 0;
    if (rect.bottom > view.bottom)
        shift = view.bottom - rect.bottom;
    if (rect.top < view.top)
        shift = view.top - rect.top;
    if (shift != 0)
        ShuffleAllFolders(shift);
    return shift;
}

int32_t FWFolderView::VirtualHeight() const
{
    if (mFolders.empty())
        return 0;
    return mFolders.back()->GetRect().bottom - mFolders.front()->GetRect().top + 3;
}

FWToolFolder* FWFolderView::FindFolder(FWPoint point) const
{
    for (FWToolFolder* folder : mFolders)
        if (folder->PointInFolder(point))
            return folder;
    return nullptr;
}

void FWFolderView::ExpandNamedFolder(const FWString& name)
{
    for (FWToolFolder* folder : mFolders) {
        if (folder->Name() == name) {
            folder->SetContracted(false);
            RepositionFolders(nullptr);
            return;
        }
    }
}

void FWFolderView::ContractAllFolders(bool contracted)
{
    for (FWToolFolder* folder : mFolders)
        folder->SetContracted(contracted);
    RepositionFolders(nullptr);
}

void FWFolderView::SetAllFoldersText(bool textMode)
{
    for (FWToolFolder* folder : mFolders)
        folder->SetTextMode(textMode);
    RepositionFolders(nullptr);
    Inval();
}

void FWFolderView::SetHalfsizeMode(bool halfsize)
{
    if (halfsize == mHalfsizeMode)
        return;
    mHalfsizeMode = halfsize;
    for (FWToolFolder* folder : mFolders)
        if (!folder->TextMode())
            folder->SetHalfsizeMode(halfsize);
    RepositionFolders(nullptr);
    Inval();
}

void FWFolderView::DoDoubleClick(const FWEvent& event)
{
    const bool anyOpen = std::any_of(mFolders.begin(), mFolders.end(), [](auto* f) { return !f->Contracted(); });
    if (!event.OptionKeyDown()) {
        ContractAllFolders(anyOpen);
        return;
    }
    if (!anyOpen) {
        ContractAllFolders(false);
        return;
    }
    const bool anyText = std::any_of(mFolders.begin(), mFolders.end(), [](auto* f) { return f->TextMode(); });
    SetAllFoldersText(!anyText);
}

void FWFolderView::ScrollBy(int32_t delta, FWDrawContext& context)
{
    for (FWToolFolder* folder : mFolders) {
        FWRect rect = folder->GetRect();
        rect.Offset(0, int16_t(-delta));
        folder->SetRect(rect);
    }
    FWRect area = GetRect();
    area.left = int16_t(area.left + 1);
    area.top = int16_t(area.top + 1);
    area.right = int16_t(area.right - 1);
    FWRect exposed;
    {
        FWClipSaver clip(context, &area);
        context.ScrollRect(&area, exposed, 0, -delta);
    }
    FWRect redraw;
    if (!exposed.IntersectRect(area, &redraw))
        return;
    FWDrawContext view(static_cast<FWView*>(this));
    view.SetClipRect(&redraw);
    // The gaps between the folders are background.
    view.EraseRect(&redraw, FWGetAppColor(0));
    for (FWToolFolder* folder : mFolders)
        if (folder->GetRect().IntersectRect(redraw))
            folder->DrawFull(view);
}

void FWFolderView::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    for (FWToolFolder* folder : mFolders) {
        FWRect r = folder->GetRect();
        r.left = int16_t(rect.left + 1);
        r.right = int16_t(rect.right - 1);
        folder->SetRect(r);
    }
    RepositionFolders(nullptr);
    mNextPosition.h = std::max<int16_t>(mNextPosition.h, int16_t(rect.left + 1));
    mNextPosition.v = std::max<int16_t>(mNextPosition.v, int16_t(rect.top + 1));
}

bool FWFolderView::SetCursor()
{
    if (FWIsPressed(CONTROL_KEY))
        FWSetCursor(mMenuCursor);
    else if (FWIsPressed(SPACE_BAR) && VirtualHeight() > GetRect().Height())
        FWSetCursor(mScrollCursor);
    else
        FWSetCursor(0);
    return true;
}

void FWFolderView::Draw(FWDrawContext& context) const
{
    const FWRect rect = GetRect();
    context.EraseRect(&rect, FWGetAppColor(0));
}

bool FWFolderView::MouseDownEvent(FWEvent& event)
{
    FWView* parent = Parent();
    return parent != nullptr && parent->MouseDownEvent(event);
}

bool FWFolderView::ContextualMouseDownEvent(FWEvent& event)
{
    FWView* parent = Parent();
    return parent != nullptr && parent->ContextualMouseDownEvent(event);
}

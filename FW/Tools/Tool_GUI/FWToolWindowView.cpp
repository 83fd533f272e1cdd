#include "FWToolWindowView.h"

#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWFolderView.h"
#include "FWOpData.h"
#include "FWOpMenu.h"
#include "FWPlatformUtils.h"
#include "FWPopupMenu.h"
#include "FWToolDragManager.h"
#include "FWToolFolder.h"
#include "FWToolGrid.h"
#include "FWToolWidget.h"
#include "FWWindow.h"
#include "Scroller.h"

#include <algorithm>

namespace {

enum : int32_t { kSmallIconsID = 0, kLargeIconsID = 1 };
// The folders' move for a notch of the wheel: about a row of large icons.
constexpr int32_t kWheelStep = 32;

const FWOpData kPopupItems[] = {
    {"Small Icons", kSmallIconsID, 0x02, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Large Icons", kLargeIconsID, 0x02, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
};
const FWOpData kPopupRoot = {"Popup Root", 0, 0x80, 0, 0, nullptr, nullptr, nullptr, 0, 0, kPopupItems, 2};

} // namespace

FWToolWindowView::FWToolWindowView(FWWindow* window, const FWRect& rect)
{
    Init(window);
    FWView::SetRect(rect);
    mScroller = new Scroller;
    mScroller->Init(window, nullptr);
    mFolderView = new FWFolderView(window);
    AppendChild(mFolderView);
    SetRect(rect);
}

FWToolWindowView::~FWToolWindowView()
{
    delete mScroller;
}

void FWToolWindowView::AddFolder(FWToolFolder& folder)
{
    mFolderView->AddFolder(folder);
    RecalcScroller();
}

void FWToolWindowView::ExpandNamedFolder(const FWString& name)
{
    mFolderView->ExpandNamedFolder(name);
    RecalcScroller();
}

void FWToolWindowView::ContractAllFolders()
{
    mFolderView->ContractAllFolders(true);
    RecalcScroller();
}

void FWToolWindowView::SetHalfsizeMode(bool halfsize)
{
    if (halfsize == HalfsizeMode())
        return;
    mFolderView->SetHalfsizeMode(halfsize);
    RecalcScroller();
}

bool FWToolWindowView::HalfsizeMode() const
{
    return mFolderView->HalfsizeMode();
}

void FWToolWindowView::RecalcScroller()
{
    mScroller->SetScrollMax(mScroller->GetRect().Height(), mFolderView->VirtualHeight());
    mScroller->Inval();
}

void FWToolWindowView::ScrollBy(int32_t delta)
{
    if (GetWindow() == nullptr)
        return;
    FWDrawContext context(GetWindow());
    mFolderView->ScrollBy(delta, context);
    mScroller->Draw(context);
}

void FWToolWindowView::scroll_proc(int32_t delta, void* view, Scroller*)
{
    static_cast<FWToolWindowView*>(view)->ScrollBy(delta);
}

void FWToolWindowView::DoLiveScroll(FWEvent& event)
{
    FWSetCursor(FWGetCursor(10002));
    mScroller->Track(event.mWhere, scroll_proc, this);
    mFolderView->SetCursor();
}

bool FWToolWindowView::WheelScroll(FWPoint where, int16_t notches)
{
    if (!GetRect().PtInRect(where) || mScroller->ScrollMax() <= 0)
        return false;
    const int32_t before = mScroller->ScrollVal();
    const int32_t after = std::clamp<int32_t>(before - notches * kWheelStep, 0, mScroller->ScrollMax());
    if (after != before) {
        mScroller->SetScrollVal(after);
        ScrollBy(after - before);
    }
    return true;
}

void FWToolWindowView::DoPopupMenu(FWEvent& event)
{
    FWPopupMenu popup(new FWOpMenu(kPopupRoot), true);
    popup.Root()->CheckItemByID(HalfsizeMode() ? kSmallIconsID : kLargeIconsID, true);
    FWUserOp* chosen = nullptr;
    popup.Track(event.mGlobalWhere, -1, &chosen);
    if (chosen == nullptr || GetWindow() == nullptr)
        return;
    const bool wantSmall = chosen->Id() == kSmallIconsID;
    if (wantSmall != HalfsizeMode())
        GetWindow()->ZoomEvent();
}

FWRect FWToolWindowView::CalcScrollerRect() const
{
    const FWRect r = GetRect();
    return FWRect(int16_t(r.right - 12), int16_t(r.top + 1), int16_t(r.right - 1), int16_t(r.bottom - 1));
}

FWRect FWToolWindowView::CalcFolderViewRect() const
{
    const FWRect r = GetRect();
    const int16_t right = mScroller != nullptr ? int16_t(r.right - 12) : int16_t(r.right - 2);
    return FWRect(int16_t(r.left + 2), int16_t(r.top + 2), right, int16_t(r.bottom - 2));
}

FWRect FWToolWindowView::ClipRect() const
{
    const FWRect r = GetRect();
    return FWRect(int16_t(r.left + 3), int16_t(r.top + 3), int16_t(r.right - 3), int16_t(r.bottom - 2));
}

void FWToolWindowView::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    Inval();
    mScroller->SetRect(CalcScrollerRect());
    mFolderView->SetRect(CalcFolderViewRect());
    RecalcScroller();
}

bool FWToolWindowView::MouseDownEvent(FWEvent& event)
{
    const FWPoint point = event.mWhere;
    if (FWIsPressed(SPACE_BAR) && mFolderView->GetRect().PtInRect(point) && mScroller->ScrollMax() > 0) {
        DoLiveScroll(event);
        return true;
    }
    if (mScroller->GetRect().PtInRect(point)) {
        mScroller->Track(point, scroll_proc, this);
        return true;
    }
    FWToolFolder* folder = mFolderView->FindFolder(point);
    if (folder == nullptr) {
        if (event.mMessage == 1) {
            mFolderView->DoDoubleClick(event);
            RecalcScroller();
        }
        return false;
    }
    if (folder->PointInTab(point)) {
        if (folder->HandleTabClick(event)) {
            mFolderView->RepositionFolders(folder);
            RecalcScroller();
            const int shift = mFolderView->UnobscureFolder(folder);
            // The new value stays within the range the bar can show.
            if (shift != 0)
                mScroller->SetScrollVal(std::clamp<int32_t>(mScroller->ScrollVal() - shift, 0, mScroller->ScrollMax()));
        }
        return true;
    }
    if (event.ShiftKeyDown()) {
        FWToolWidget* widget = folder->ToolGrid()->FindWidget(point);
        if (widget == nullptr)
            return false;
        const FWRect rect = widget->GetRect();
        FWToolDragManager* drag = FWToolDragManager::Instance();
        drag->SetOffset(FWPoint(int16_t(rect.left - point.h), int16_t(rect.top - point.v)));
        return drag->DefaultToolWidgetDrag(*widget);
    }
    return false;
}

bool FWToolWindowView::ContextualMouseDownEvent(FWEvent& event)
{
    if (mFolderView->GetRect().PtInRect(event.mWhere)) {
        DoPopupMenu(event);
        return true;
    }
    return MouseDownEvent(event);
}

void FWToolWindowView::Draw(FWDrawContext& context) const
{
    const FWRect rect = GetRect();
    context.InsetRect(&rect, true);
    // The children's clip leaves the row and the column inside the frame to this view: erased,
    // so that nothing of a former layout (the scroll bar before a zoom) stays there.
    const FWRect top(int16_t(rect.left + 2), int16_t(rect.top + 2), int16_t(rect.right - 2), int16_t(rect.top + 3));
    const FWRect left(int16_t(rect.left + 2), int16_t(rect.top + 2), int16_t(rect.left + 3), int16_t(rect.bottom - 2));
    context.EraseRect(&top, FWGetAppColor(0));
    context.EraseRect(&left, FWGetAppColor(0));
    mScroller->Draw(context);
}

#include "FWToolMenu.h"

#include "FWApp.h"
#include "FWDrawContext.h"
#include "FWMonitor.h"
#include "FWToolDragManager.h"
#include "FWToolGrid.h"
#include "FWToolWidget.h"

FWToolMenu::FWToolMenu(const FWString& name) : FWWindow(4)
{
    Initialize(FWApp::Exists() ? FWApp::Instance()->GetActiveDocument() : nullptr, FWRect(0, 0, 5, 5));
    SetTitleWidth(0);
    SetFrameWidth(0);
    SetDraging(false);
    SetName(&name, false);
    mToolGrid = new FWToolGrid(this);
    if (FWView* root = ViewMngr().GetViewTree())
        root->AppendChild(mToolGrid);
    mToolGrid->SetRect(FWRect(1, 1, 2, 2));
    mToolGrid->SetLayout(FWToolGrid::kSquare);
}

void FWToolMenu::AddToolWidget(FWToolWidget& widget)
{
    mToolGrid->AddToolWidget(widget, nullptr, false);
    FWRect r = mToolGrid->GetRect();
    r.Grow(1);
    SetSize(r.Width(), r.Height());
}

int32_t FWToolMenu::Track(const FWPoint& where, const FWRect& widgetRect)
{
    FitOnScreen(where, widgetRect);
    Show();
    FlushUpdateEvents();
    const FWRect r = GlobalFrame();
    FWRect slop = r;
    slop.Grow(widgetRect.Width());
    FWToolDragManager* drag = FWToolDragManager::Instance();
    drag->InitTracking(r, slop);
    drag->TrackToolGridDrag(*mToolGrid, Name());
    Hide();
    return mToolGrid->IndexOfWidget(mPressed);
}

void FWToolMenu::FitOnScreen(const FWPoint& where, const FWRect& widgetRect)
{
    FWRect usable;
    if (const FWMonitor* monitor = FWMonitor::FindClosestMonitorByPoint(where))
        usable = monitor->UsableBounds();
    usable.Inset(6, 6);
    const FWRect size = Size();
    int32_t left = widgetRect.right;
    int32_t top = widgetRect.top;
    if (left + size.Width() > usable.right)
        left = widgetRect.left - size.Width();
    if (top + size.Height() > usable.bottom)
        top = usable.bottom - size.Height();
    if (top < usable.top)
        top = usable.top;
    SetLocation(left, top);
}

void FWToolMenu::SetCurrentPressed(FWToolWidget* widget)
{
    if (widget == mPressed)
        return;
    if (mPressed != nullptr) {
        mPressed->SetPressed(false);
        mPressed->UpdateNow();
    }
    mPressed = widget;
    if (mPressed != nullptr) {
        mPressed->SetPressed(true);
        mPressed->UpdateNow();
    }
}

void FWToolMenu::TrackToolPress(FWPoint global)
{
    GlobalToWindow(&global);
    global.Offset(1, 1);
    SetCurrentPressed(mToolGrid->FindWidget(global));
}

void FWToolMenu::FlushUpdateEvents()
{
    FWDrawContext context(this);
    DrawWindowFrame(context);
    mToolGrid->DrawFull(context);
}

void FWToolMenu::DrawWindowFrame(FWDrawContext& context)
{
    const FWRect frame = Size();
    context.ExtrudedRect(&frame, nullptr);
}

bool FWToolMenu::AtLocation(FWWindow* window, FWPoint)
{
    return window == this;
}

bool FWToolMenu::AcceptsToolGrid(FWToolGrid& grid)
{
    return &grid == mToolGrid;
}

void FWToolMenu::DragEnter(FWPoint global)
{
    TrackToolPress(global);
}

void FWToolMenu::DragWithin(FWPoint global)
{
    TrackToolPress(global);
}

void FWToolMenu::DragExit(FWPoint global)
{
    TrackToolPress(global);
    // A tear-off outline keeps the menu's corner where it is relative to the mouse.
    int32_t h = 0;
    int32_t v = 0;
    GetLocation(&h, &v);
    FWToolDragManager::Instance()->SetOffset(FWPoint(int16_t(h - global.h), int16_t(v - global.v)));
}

#include "FWToolWidgetTracker.h"

#include "FWToolWidget.h"

FWToolWidgetTracker::FWToolWidgetTracker(FWToolWidget& widget) : mWidget(&widget)
{
    UpdateWidget();
}

void FWToolWidgetTracker::MouseMoved()
{
    FWPoint point = CurrentPoint();
    const bool inside = mWidget->PntInRect(&point);
    if (inside == mInside)
        return;
    mInside = inside;
    UpdateWidget();
}

void FWToolWidgetTracker::FinishInteraction()
{
    mWidget->SetPressed(false);
}

void FWToolWidgetTracker::UpdateWidget()
{
    mWidget->SetPressed(mInside);
    mWidget->UpdateNow();
}

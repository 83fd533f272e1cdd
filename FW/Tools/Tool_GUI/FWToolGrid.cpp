#include "FWToolGrid.h"

#include "DeletePtr.h"
#include "FWDrawContext.h"
#include "FWFont.h"
#include "FWProgrammerMessage.h"
#include "FWToolWidget.h"

#include <algorithm>
#include <cmath>

FWToolGrid::FWToolGrid(FWWindow* window)
{
    Init(window);
}

int32_t FWToolGrid::ToolWidth() const
{
    switch (mDisplayMode) {
    case kLargeIcons:
        return mIconWidth;
    case kSmallIcons:
        return mIconWidth >> 1;
    case kText:
        return mLayout == kFillWidth ? GetRect().Width() : mWidestName + 28;
    }
    return 0;
}

int32_t FWToolGrid::ToolHeight() const
{
    switch (mDisplayMode) {
    case kLargeIcons:
        return mIconHeight;
    case kSmallIcons:
        return mIconHeight >> 1;
    case kText:
        return 18;
    }
    return 0;
}

void FWToolGrid::SetDisplayMode(DisplayModeType mode)
{
    if (mode == mDisplayMode)
        return;
    if (mDisplayMode == kText)
        for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer())
            if (auto* widget = dynamic_cast<FWToolWidget*>(child))
                widget->SetTextMode(false);
    mDisplayMode = mode;
    if (mode == kText)
        for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer())
            if (auto* widget = dynamic_cast<FWToolWidget*>(child))
                widget->SetTextMode(true);
    RelayoutTools();
}

void FWToolGrid::SetLayout(LayoutType layout)
{
    if (layout == mLayout)
        return;
    mLayout = layout;
    RelayoutTools();
}

void FWToolGrid::RelayoutTools()
{
    const int32_t count = ChildTotal();
    const int32_t w = ToolWidth();
    const int32_t h = ToolHeight();
    const FWRect rect = GetRect();
    int32_t width = 0;
    int32_t height = 0;
    if (mDisplayMode == kText) {
        width = w;
        height = h * count;
    } else {
        switch (mLayout) {
        case kHorizontal:
            width = w * count;
            height = h;
            break;
        case kVertical:
            width = w;
            height = h * count;
            break;
        case kSquare: {
            const int32_t columns = int32_t(std::ceil(std::sqrt(double(count))));
            const int32_t rows = columns != 0 ? int32_t(std::ceil(float(count) / float(columns))) : 0;
            width = std::max(w * columns, w);
            height = std::max(h * rows, h);
            break;
        }
        case kFillWidth: {
            const int32_t columns = w > 0 ? int32_t(std::floor(float(rect.Width()) / float(w))) : 0;
            const int32_t rows = columns > 0 ? int32_t(std::ceil(float(count) / float(columns))) : 0;
            width = rect.Width();
            height = std::max(h * rows, h);
            break;
        }
        }
    }
    FWView::SetRect(FWRect(rect.left, rect.top, int16_t(rect.left + width), int16_t(rect.top + height)));
    mCellRect = FWRect(rect.left, rect.top, int16_t(rect.left + w), int16_t(rect.top + h));
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer()) {
        child->SetRect(mCellRect);
        IncrementToolRect();
    }
}

void FWToolGrid::IncrementToolRect()
{
    const int16_t w = int16_t(ToolWidth());
    const int16_t h = int16_t(ToolHeight());
    mCellRect.Offset(w, 0);
    const FWRect grid = GetRect();
    if (mCellRect.right > grid.right) {
        mCellRect.Offset(int16_t(grid.left - mCellRect.left), h);
    }
}

void FWToolGrid::AddToolWidget(FWToolWidget& widget, FWToolWidget* neighbour, bool before)
{
    insertWidget(widget, neighbour, before);
    RelayoutTools();
    if (FWEventHandler* handler = GetEventHandler())
        widget.SetEventHandler(handler);
}

void FWToolGrid::insertWidget(FWToolWidget& widget, FWToolWidget* neighbour, bool before)
{
    widget.Init(GetWindow());
    widget.SetTextMode(mDisplayMode == kText);
    if (neighbour == nullptr)
        AppendChild(&widget);
    else if (before)
        widget.LinkBefore(neighbour);
    else
        widget.LinkAfter(neighbour);
    const int32_t nameWidth = FWFont().GetStringWidth(&widget.ToolName());
    if (nameWidth > mWidestName)
        mWidestName = uint16_t(nameWidth);
}

void FWToolGrid::MoveToolWidget(FWToolWidget& widget, FWToolWidget& neighbour, bool before)
{
    if (widget.Parent() != this || neighbour.Parent() != this)
        fw_programmer_message("One or more widgets are not part of this tool grid!", kSourcePath, __LINE__);
    widget.Unlink();
    AddToolWidget(widget, &neighbour, before);
}

void FWToolGrid::RemoveToolWidget(FWPoint point)
{
    if (FWToolWidget* widget = FindWidget(point)) {
        widget->Unlink();
        DeletePtrLater(widget);
    }
    RelayoutTools();
}

FWToolWidget* FWToolGrid::FindWidget(const FWString& name) const
{
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer()) {
        auto* widget = dynamic_cast<FWToolWidget*>(child);
        if (widget != nullptr && widget->ToolName() == name)
            return widget;
    }
    return nullptr;
}

FWToolWidget* FWToolGrid::FindWidget(FWPoint point) const
{
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer())
        if (child->GetRect().PtInRect(point))
            return dynamic_cast<FWToolWidget*>(child);
    return nullptr;
}

int32_t FWToolGrid::IndexOfWidget(FWToolWidget* widget) const
{
    int32_t index = 0;
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer(), ++index)
        if (child == widget)
            return index;
    return -1;
}

void FWToolGrid::DrawFull(FWDrawContext& context)
{
    // A widget wholly outside the clip would draw nothing: it is not asked to.
    FWRect clip;
    context.GetClipRect(&clip);
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer()) {
        auto* widget = dynamic_cast<FWToolWidget*>(child);
        if (widget != nullptr && widget->Visible() && widget->GetRect().IntersectRect(clip))
            widget->Draw(context);
    }
}

void FWToolGrid::SetRect(const FWRect& rect)
{
    FWView::SetRect(rect);
    const int16_t w = int16_t(ToolWidth());
    if (rect.Width() < w && FirstChild() == nullptr)
        FWView::SetRect(FWRect(rect.left, rect.top, int16_t(rect.left + w), int16_t(rect.top + ToolHeight())));
    RelayoutTools();
}

void FWToolGrid::SetVisibility(bool visible)
{
    FWView::SetVisibility(visible);
    for (FWView* child = FirstChild(); child != nullptr; child = child->NextPeer())
        child->SetVisibility(visible);
}

bool FWToolGrid::ContextualMouseDownEvent(FWEvent& event)
{
    if (HandlerHandledContextualMouseDownEvent(event))
        return true;
    return FWView::ContextualMouseDownEvent(event);
}

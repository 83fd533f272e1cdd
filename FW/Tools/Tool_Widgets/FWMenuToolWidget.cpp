#include "FWMenuToolWidget.h"

#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWPlatformUtils.h"
#include "FWTickCount.h"
#include "FWTool.h"
#include "FWToolCycler.h"
#include "FWToolGrid.h"
#include "FWToolManagerImp.h"
#include "FWToolMenu.h"
#include "FWWindow.h"

namespace {

constexpr uint32_t kMenuDelayTicks = 16;

} // namespace

FWMenuToolWidget::FWMenuToolWidget(const FWTool& tool) : FWToolWidget(tool)
{
    AddTool(tool);
    SetCurrentTool(tool);
}

FWMenuToolWidget::~FWMenuToolWidget()
{
    delete mCurrentWidget;
    for (const FWTool* tool : mTools)
        FWToolManagerImp::Instance()->DetatchWidgetFromTool(*this, *tool);
    if (FWToolCycler::GetLastWidgetClicked() == this)
        FWToolCycler::SetLastWidgetClicked(nullptr);
}

void FWMenuToolWidget::AddTool(const FWTool& tool)
{
    mTools.push_back(&tool);
    FWToolManagerImp::Instance()->AttatchWidgetToTool(*this, tool);
}

void FWMenuToolWidget::SetCurrentTool(const FWTool& tool)
{
    delete mCurrentWidget;
    mCurrentWidget = FWToolManagerImp::Instance()->CreateNewWidgetForTool(tool);
    mCurrentWidget->SetVisibility(Visible());
    mCurrentWidget->SetRect(GetRect());
    mCurrentWidget->SetTextMode(TextMode());
    if (GetWindow() != nullptr)
        mCurrentWidget->Init(GetWindow());
    if (Visible() && GetWindow() != nullptr)
        Inval();
}

void FWMenuToolWidget::SelectIndexedTool(int32_t index)
{
    if (index >= 0 && size_t(index) < mTools.size())
        SetCurrentTool(*mTools[size_t(index)]);
}

FWToolMenu* FWMenuToolWidget::CreateNewMenu()
{
    auto* menu = new FWToolMenu(mMenuName);
    if (TextMode())
        menu->GetToolGrid()->SetDisplayMode(FWToolGrid::kText);
    else if (GetRect().Width() < 30)
        menu->GetToolGrid()->SetDisplayMode(FWToolGrid::kSmallIcons);
    for (const FWTool* tool : mTools)
        menu->AddToolWidget(*tool->CreateNewWidget());
    return menu;
}

FWToolWidget* FWMenuToolWidget::CreateCloneWidget() const
{
    auto* clone = new FWMenuToolWidget(*mTools.front());
    clone->SetName(mMenuName);
    for (size_t i = 1; i < mTools.size(); ++i)
        clone->AddTool(*mTools[i]);
    return clone;
}

void FWMenuToolWidget::ToolStateChanged(const FWTool& tool)
{
    if (tool.Activated() && !(tool.Name() == mCurrentWidget->ToolName()))
        SetCurrentTool(tool);
}

bool FWMenuToolWidget::IsPressed() const
{
    return mCurrentWidget->IsPressed();
}

void FWMenuToolWidget::SetPressed(bool pressed)
{
    mCurrentWidget->SetPressed(pressed);
}

const FWString& FWMenuToolWidget::ToolName() const
{
    return mCurrentWidget->ToolName();
}

const DiskImage* FWMenuToolWidget::ToolIcon() const
{
    return mCurrentWidget->ToolIcon();
}

bool FWMenuToolWidget::ToolIsDisabled() const
{
    return mCurrentWidget->ToolIsDisabled();
}

bool FWMenuToolWidget::ToolIsActivated() const
{
    return mCurrentWidget->ToolIsActivated();
}

bool FWMenuToolWidget::MousePaused()
{
    return mCurrentWidget->MousePaused();
}

void FWMenuToolWidget::SetTextMode(bool textMode)
{
    FWToolWidget::SetTextMode(textMode);
    if (mCurrentWidget != nullptr)
        mCurrentWidget->SetTextMode(textMode);
}

void FWMenuToolWidget::Init(FWWindow* window)
{
    FWToolWidget::Init(window);
    if (mCurrentWidget != nullptr)
        mCurrentWidget->Init(window);
}

void FWMenuToolWidget::SetRect(const FWRect& rect)
{
    FWToolWidget::SetRect(rect);
    if (mCurrentWidget != nullptr)
        mCurrentWidget->SetRect(rect);
}

void FWMenuToolWidget::SetVisibility(bool visible)
{
    FWToolWidget::SetVisibility(visible);
    if (mCurrentWidget != nullptr)
        mCurrentWidget->SetVisibility(visible);
}

bool FWMenuToolWidget::IsMenuClick()
{
    const uint32_t start = FWTickCount();
    for (;;) {
        if (!FWIsMouseStillDown())
            return false;
        if (FWTickCount() - start >= kMenuDelayTicks)
            return true;
        FWDelayTicks(1);
    }
}

bool FWMenuToolWidget::MouseDownEvent(FWEvent& event)
{
    if (HandlerHandledMouseDownEvent(event))
        return true;
    mCurrentWidget->SetPressed(true);
    UpdateNow();
    if (!IsMenuClick()) {
        mCurrentWidget->ActivateTool();
        FWToolCycler::SetLastWidgetClicked(this);
    } else {
        FWToolMenu* menu = CreateNewMenu();
        FWRect rect = GetRect();
        if (GetWindow() != nullptr) {
            FWPoint topLeft(rect.left, rect.top);
            GetWindow()->WindowToGlobal(&topLeft);
            rect.MoveTo(topLeft.h, topLeft.v);
        }
        const int32_t index = menu->Track(event.mGlobalWhere, rect);
        if (index >= 0) {
            SelectIndexedTool(index);
            mCurrentWidget->ActivateTool();
            FWToolCycler::SetLastWidgetClicked(this);
        } else {
            FWPoint mouse;
            FWGetMousePosition(mouse);
            if (GetWindow() != nullptr)
                GetWindow()->GlobalToWindow(&mouse);
            if (GetRect().PtInRect(mouse)) {
                mCurrentWidget->ActivateTool();
                FWToolCycler::SetLastWidgetClicked(this);
            }
        }
        menu->SendMessage(IsBeingDeleted);
        delete menu;
    }
    mCurrentWidget->SetPressed(false);
    if (GetWindow() != nullptr)
        Inval();
    return true;
}

bool FWMenuToolWidget::ContextualMouseDownEvent(FWEvent& event)
{
    if (HandlerHandledContextualMouseDownEvent(event))
        return true;
    return FWView::ContextualMouseDownEvent(event);
}

void FWMenuToolWidget::Draw(FWDrawContext& context) const
{
    if (!DrawingIsEffective(context))
        return;
    mCurrentWidget->Draw(context);
    FWForeColorSaver saved(context, FWGetAppColor(2));
    const FWRect r = GetRect();
    const int32_t x = r.right - 6;
    const int32_t y = r.bottom - 7;
    context.MoveTo(x - 1, y - 3);
    context.LineTo(x - 1, y + 3);
    context.MoveTo(x, y - 2);
    context.LineTo(x, y + 2);
    context.MoveTo(x + 1, y - 1);
    context.LineTo(x + 1, y + 1);
    context.PaintPixel(x + 2, y);
}

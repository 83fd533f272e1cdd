#include "FWToolWidget.h"

#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWPopupInfo.h"
#include "FWTool.h"
#include "FWWindow.h"

const FWString& FWToolWidget::ToolName() const
{
    return mTool->Name();
}

const DiskImage* FWToolWidget::ToolIcon() const
{
    return mTool->Icon();
}

bool FWToolWidget::ToolIsDisabled() const
{
    return mTool->Disabled();
}

bool FWToolWidget::ToolIsActivated() const
{
    return mTool->Activated();
}

bool FWToolWidget::MousePaused()
{
    FWPopupInfo::Show(ToolName());
    return true;
}

void FWToolWidget::UpdateNow()
{
    if (GetWindow() == nullptr)
        return;
    FWDrawContext context(GetWindow());
    DrawView(context);
}

void FWToolWidget::DrawBorder(FWDrawContext& context) const
{
    const FWRect rect = GetRect();
    if (IsPressed())
        context.InsetRect(&rect, false);
    else
        context.ExtrudedRect(&rect, nullptr);
}

void FWToolWidget::DrawIcon(FWDrawContext& context) const
{
    const FWRect rect = GetRect();
    FWRect inner = rect;
    inner.Inset(2, 2);
    const DiskImage* icon = ToolIcon();
    if (icon == nullptr) {
        context.DrawString(&inner, &ToolName());
        return;
    }
    const FWRect bounds = icon->GetRect();
    if (bounds.Width() <= rect.Width() && bounds.Height() <= rect.Height()) {
        FWRect centred(0, 0, bounds.Width(), bounds.Height());
        centred.CenterInsideOf(rect);
        context.DrawImage(icon, &centred, false);
    } else {
        context.DrawImage(icon, &inner, false);
    }
}

void FWToolWidget::DrawName(FWDrawContext& context) const
{
    const FWRect rect = GetRect();
    context.DrawEmbossedStringColors(rect.left + 15, rect.bottom - 5, &ToolName(), FWArgb32::Black, FWGetAppColor(1),
                                     int16_t(rect.Width() - 27), false);
}

void FWToolWidget::DrawEllipsis(FWDrawContext& context) const
{
    if (!mTool->HasAltProc())
        return;
    FWForeColorSaver saved(context);
    const FWRect rect = GetRect();
    const FWArgb32 dot = ToolIsDisabled() ? FWArgb32::Gray37 : FWGetAppColor(2);
    for (int i = 0; i < 3; ++i) {
        const int32_t h = rect.left + 2 + 4 * i;
        const int32_t v = rect.bottom - 4;
        context.SetForeColor(dot);
        context.PaintPixel(h, v + 1);
        context.PaintPixel(h, v);
        context.PaintPixel(h + 1, v);
        context.SetForeColor(FWArgb32::White);
        context.PaintPixel(h + 1, v + 1);
    }
}

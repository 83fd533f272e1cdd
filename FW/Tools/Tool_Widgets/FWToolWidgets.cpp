#include "FWToolWidgets.h"

#include "DiskImage.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWProgrammerMessage.h"
#include "FWTool.h"
#include "FWToolCycler.h"
#include "FWToolManagerImp.h"
#include "FWToolWidgetTracker.h"

namespace {

constexpr const char* kSourcePath = "FW/Tools/Tool_Widgets/FWToolWidgets";
constexpr uint32_t kPictType = 0x50494354; // 'PICT'
constexpr int32_t kMarkOffID = 7000;
constexpr int32_t kMarkOnID = 7002;

void loadMarks(DiskImage*& on, DiskImage*& off, bool& loaded)
{
    if (loaded)
        return;
    loaded = true;
    on = DiskImage::Acquire(kMarkOnID, kPictType);
    off = DiskImage::Acquire(kMarkOffID, kPictType);
}

// The mark in the widget's top-right corner, 2 pixels in; half size on widgets up to 30 wide.
void drawMark(FWDrawContext& context, const FWRect& rect, const DiskImage* on, const DiskImage* off, bool activated)
{
    if (on == nullptr || off == nullptr) {
        fw_programmer_message("Update your Framework.rsrc", kSourcePath, __LINE__);
        return;
    }
    const DiskImage* mark = activated ? on : off;
    int32_t w = mark->GetRect().Width();
    int32_t h = mark->GetRect().Height();
    if (rect.Width() <= 30) {
        w /= 2;
        h /= 2;
    }
    const FWRect target(int16_t(rect.right - w - 2), int16_t(rect.top + 2), int16_t(rect.right - 2),
                        int16_t(rect.top + h + 2));
    context.DrawImage(mark, &target, false);
}

} // namespace

// Managed widgets ------------------------------------------------------------------------------

FWManagedToolWidget::FWManagedToolWidget(const FWTool& tool) : FWToolWidget(tool)
{
    FWToolManagerImp::Instance()->AttatchWidgetToTool(*this, tool);
}

FWManagedToolWidget::~FWManagedToolWidget()
{
    FWToolManagerImp::Instance()->DetatchWidgetFromTool(*this, *Tool());
    if (FWToolCycler::GetLastWidgetClicked() == this)
        FWToolCycler::SetLastWidgetClicked(nullptr);
}

bool FWManagedToolWidget::MouseDownEvent(FWEvent& event)
{
    if (HandlerHandledMouseDownEvent(event))
        return true;
    FWToolWidgetTracker tracker(*this);
    tracker.Set(GetWindow(), event.mWhere);
    tracker.DoInteraction();
    if (tracker.Successful()) {
        Inval();
        ActivateTool();
        FWToolCycler::SetLastWidgetClicked(this);
    }
    return true;
}

bool FWManagedToolWidget::ContextualMouseDownEvent(FWEvent& event)
{
    if (HandlerHandledContextualMouseDownEvent(event))
        return true;
    return FWView::ContextualMouseDownEvent(event);
}

FWToolWidget* FWManagedToolWidget::CreateCloneWidget() const
{
    return FWToolManagerImp::Instance()->CreateNewWidgetForTool(*Tool());
}

void FWManagedToolWidget::ActivateTool()
{
    FWToolManagerImp::Instance()->ToolWasClicked(*Tool());
}

void FWManagedToolWidget::ToolStateChanged(const FWTool&)
{
    if (Visible())
        Inval();
}

void FWManagedToolWidget::DrawManaged(FWDrawContext& context) const
{
    DrawBorder(context);
    if (TextMode())
        DrawName(context);
    else
        DrawIcon(context);
    DrawEllipsis(context);
}

// The four kinds -------------------------------------------------------------------------------

void FWButtonToolWidget::Draw(FWDrawContext& context) const
{
    if (!DrawingIsEffective(context))
        return;
    const FWRect rect = GetRect();
    context.PaintRect(&rect, FWGetAppColor(0));
    DrawManaged(context);
}

void FWModalToolWidget::Draw(FWDrawContext& context) const
{
    if (!DrawingIsEffective(context))
        return;
    DrawModalHilite(context);
    DrawManaged(context);
}

void FWModalToolWidget::DrawModalHilite(FWDrawContext& context) const
{
    const FWRect rect = GetRect();
    context.PaintRect(&rect, FWGetAppColor(ToolIsActivated() ? 11 : 0));
}

DiskImage* FWRadioToolWidget::sMarkOn = nullptr;
DiskImage* FWRadioToolWidget::sMarkOff = nullptr;
bool FWRadioToolWidget::sMarksLoaded = false;

void FWRadioToolWidget::Draw(FWDrawContext& context) const
{
    if (!DrawingIsEffective(context))
        return;
    const FWRect rect = GetRect();
    context.PaintRect(&rect, FWGetAppColor(0));
    DrawManaged(context);
    DrawRadioMark(context);
}

void FWRadioToolWidget::DrawRadioMark(FWDrawContext& context) const
{
    loadMarks(sMarkOn, sMarkOff, sMarksLoaded);
    drawMark(context, GetRect(), sMarkOn, sMarkOff, ToolIsActivated());
}

DiskImage* FWCheckToolWidget::sMarkOn = nullptr;
DiskImage* FWCheckToolWidget::sMarkOff = nullptr;
bool FWCheckToolWidget::sMarksLoaded = false;

void FWCheckToolWidget::Draw(FWDrawContext& context) const
{
    if (!DrawingIsEffective(context))
        return;
    const FWRect rect = GetRect();
    context.PaintRect(&rect, FWGetAppColor(0));
    DrawManaged(context);
    DrawCheckMark(context);
}

void FWCheckToolWidget::DrawCheckMark(FWDrawContext& context) const
{
    loadMarks(sMarkOn, sMarkOff, sMarksLoaded);
    drawMark(context, GetRect(), sMarkOn, sMarkOff, ToolIsActivated());
}

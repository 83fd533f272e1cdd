#include "FWToolPalette.h"

#include "DeletePtr.h"
#include "FWApp.h"
#include "FWAppColor.h"
#include "FWDrawContext.h"
#include "FWEventDispatcher.h"
#include "FWOpData.h"
#include "FWOpMenu.h"
#include "FWPlatformUtils.h"
#include "FWPopupMenu.h"
#include "FWToolDragManager.h"
#include "FWToolGrid.h"
#include "FWToolManager.h"
#include "FWToolPaletteHelper.h"
#include "FWToolWidget.h"

namespace {

constexpr FWArgb32 kUserPaletteColor{255, 120, 10, 80};

enum : int32_t {
    kHorizontalID = 0,
    kVerticalID = 1,
    kSquareID = 2,
    kSmallIconsID = 3,
    kLargeIconsID = 4,
    kTextID = 5,
    kDeleteID = 9,
    kHideID = 10,
};

const FWOpData kToolPopupItems[] = {
    {"Horizontal", kHorizontalID, 2, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Vertical", kVerticalID, 2, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Square", kSquareID, 2, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"------------", 0, 8, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Small Icons", kSmallIconsID, 2, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Large Icons", kLargeIconsID, 2, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Text", kTextID, 2, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"------------", 0, 8, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Hide", kHideID, 2, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
    {"Delete", kDeleteID, 2, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0},
};
const FWOpData sToolPopupRoot = {"Popup Root", 0, 0x80, 0, 0, nullptr, nullptr, nullptr, 0, 0, kToolPopupItems, 10};

} // namespace

FWToolPalette::FWToolPalette(const FWRect& rect, bool userCreated) : FWWindow(3), mUserCreated(userCreated)
{
    Initialize(nullptr, rect);
    if (userCreated) {
        FWArgb32 light = kUserPaletteColor;
        light.LerpTo(FWArgb32::White, 1, 2);
        SetTitleBarColor(light, kUserPaletteColor);
    }
    FWRect content;
    GetContentRect(&content);
    mToolGrid = new FWToolGrid(this);
    mToolGrid->SetRect(content);
    mToolGrid->SetEventHandler(this);
    if (FWView* root = ViewMngr().GetViewTree())
        root->AppendChild(mToolGrid);
    if (userCreated) {
        mToolGrid->SetLayout(FWToolGrid::kSquare);
        FWToolPaletteHelper::AddMenuItemForPalette(*this);
    }
}

FWToolPalette::~FWToolPalette()
{
    if (mUserCreated)
        FWToolPaletteHelper::RemoveMenuItemForPalette(*this);
}

void FWToolPalette::AddToolWidget(FWToolWidget& widget)
{
    mToolGrid->AddToolWidget(widget, nullptr, false);
    FitToToolGrid(false);
}

void FWToolPalette::AddToolGridContents(const FWToolGrid& source)
{
    FWRect rect = source.GetRect();
    const FWRect own = mToolGrid->GetRect();
    rect.MoveTo(own.left, own.top);
    mToolGrid->SetRect(rect);
    for (FWView* child = source.FirstChild(); child != nullptr; child = child->NextPeer())
        if (auto* widget = dynamic_cast<FWToolWidget*>(child))
            if (FWToolWidget* clone = widget->CreateCloneWidget())
                mToolGrid->AddToolWidget(*clone, nullptr, false);
    FitToToolGrid(false);
}

void FWToolPalette::FitToToolGrid(bool erase)
{
    if (erase) {
        FWDrawContext context(this);
        context.EraseRect(nullptr, FWGetAppColor(0));
    }
    FWRect r = mToolGrid->GetRect();
    r.MoveTo(0, 0);
    SetSize(r.Width() + 2 * FrameWidth(), r.Height() + TitleWidth() + FrameWidth());
}

void FWToolPalette::DoPopupMenu(FWEvent& event)
{
    FWPopupMenu popup(new FWOpMenu(sToolPopupRoot), true);
    FWOpMenu* menu = popup.Root();
    const FWToolGrid::LayoutType layout = mToolGrid->Layout();
    const FWToolGrid::DisplayModeType mode = mToolGrid->DisplayMode();
    if (mode == FWToolGrid::kText) {
        menu->CheckItemByID(kVerticalID, true);
        for (int32_t id : {kHorizontalID, kVerticalID, kSquareID})
            menu->EnableItemByID(id, false);
    } else if (layout != FWToolGrid::kFillWidth) {
        menu->CheckItemByID(layout, true);
    }
    menu->CheckItemByID(mode == FWToolGrid::kSmallIcons ? kSmallIconsID
                        : mode == FWToolGrid::kText     ? kTextID
                                                        : kLargeIconsID,
                        true);
    // A torn-off palette has no row in the "Window" menu: once hidden it could not come back.
    if (!mUserCreated)
        menu->EnableItemByID(kHideID, false);

    FWUserOp* chosen = nullptr;
    popup.Track(event.mGlobalWhere, -1, &chosen);
    if (chosen == nullptr)
        return;
    switch (chosen->Id()) {
    case kHorizontalID:
    case kVerticalID:
    case kSquareID:
        if (layout != chosen->Id()) {
            mToolGrid->SetLayout(FWToolGrid::LayoutType(chosen->Id()));
            FitToToolGrid(false);
        }
        break;
    case kSmallIconsID:
    case kLargeIconsID:
    case kTextID: {
        const FWToolGrid::DisplayModeType wanted = chosen->Id() == kSmallIconsID ? FWToolGrid::kSmallIcons
                                                   : chosen->Id() == kTextID     ? FWToolGrid::kText
                                                                                 : FWToolGrid::kLargeIcons;
        if (wanted != mode) {
            mToolGrid->SetDisplayMode(wanted);
            FitToToolGrid(true);
        }
        break;
    }
    case kDeleteID:
        if (FWApp::Exists())
            FWApp::Instance()->WindowIsClosing(this);
        SendMessage(IsBeingDeleted);
        DeletePtrLater(this);
        break;
    case kHideID:
        Hide();
        break;
    default:
        break;
    }
}

bool FWToolPalette::CloseEvent()
{
    if (!mUserCreated)
        return true;
    Hide();
    return false;
}

void FWToolPalette::Show()
{
    if (Visible())
        return;
    FWWindow::Show();
    BringToFront();
    if (AcceptsKeyEvents())
        FWEventDispatcher::Instance()->SetKeyWindow(this);
}

bool FWToolPalette::SetCursor()
{
    static CCrsrHandle menuCursor = FWGetCursor(1000);
    static CCrsrHandle scissorsCursor = FWGetCursor(11003);
    if (FWIsPressed(CONTROL_KEY))
        FWSetCursor(menuCursor);
    else if (mUserCreated && FWIsPressed(OPTION_KEY))
        FWSetCursor(scissorsCursor);
    else
        FWSetCursor(0);
    return true;
}

bool FWToolPalette::MouseDownEvent(FWEvent& event)
{
    const FWPoint point = event.mWhere;
    if (event.ShiftKeyDown()) {
        FWToolWidget* widget = mToolGrid->FindWidget(point);
        if (widget == nullptr)
            return false;
        const FWRect rect = widget->GetRect();
        FWToolDragManager* drag = FWToolDragManager::Instance();
        drag->SetOffset(FWPoint(int16_t(rect.left - point.h), int16_t(rect.top - point.v)));
        return drag->DefaultToolWidgetDrag(*widget);
    }
    if (event.OptionKeyDown() && mUserCreated) {
        mToolGrid->RemoveToolWidget(point);
        FitToToolGrid(true);
        return true;
    }
    return false;
}

bool FWToolPalette::ContextualMouseDownEvent(FWEvent& event)
{
    DoPopupMenu(event);
    return true;
}

// Drops ----------------------------------------------------------------------------------------

FWPoint FWToolPalette::toWindow(FWPoint global) const
{
    GlobalToWindow(&global);
    return global;
}

bool FWToolPalette::AtLocation(FWWindow* window, FWPoint)
{
    return mUserCreated && window == this;
}

bool FWToolPalette::AcceptsToolGrid(FWToolGrid& grid)
{
    for (FWView* child = grid.FirstChild(); child != nullptr; child = child->NextPeer())
        if (auto* widget = dynamic_cast<FWToolWidget*>(child); widget != nullptr && AcceptsToolWidget(*widget))
            return true;
    return false;
}

bool FWToolPalette::AcceptsToolWidget(FWToolWidget& widget)
{
    return widget.Parent() == mToolGrid || mToolGrid->FindWidget(widget.ToolName()) == nullptr;
}

void FWToolPalette::DragEnter(FWPoint global)
{
    FWToolPaletteHelper::StartDragInPalette(*this, toWindow(global));
}

void FWToolPalette::DragExit(FWPoint global)
{
    FWToolPaletteHelper::FinishDragInPalette(*this, toWindow(global));
}

void FWToolPalette::DragWithin(FWPoint global)
{
    FWToolPaletteHelper::UpdateDragInPalette(*this, toWindow(global));
}

void FWToolPalette::DropToolWidget(FWPoint global, FWToolWidget& widget)
{
    FWToolWidget* reference = nullptr;
    bool before = false;
    FWToolPaletteHelper::GetDragPosition(reference, before);
    FWToolPaletteHelper::FinishDragInPalette(*this, toWindow(global));
    if (widget.Parent() != mToolGrid) {
        if (FWToolWidget* copy = FWToolManager::CreateNewWidgetForTool(widget.ToolName().GetCString())) {
            mToolGrid->AddToolWidget(*copy, reference, before);
            FitToToolGrid(false);
        }
        return;
    }
    if (reference != nullptr && reference != &widget) {
        mToolGrid->MoveToolWidget(widget, *reference, before);
        mToolGrid->Inval();
    }
}

void FWToolPalette::DropToolGrid(FWPoint global, FWToolGrid& grid)
{
    FWToolWidget* reference = nullptr;
    bool before = false;
    FWToolPaletteHelper::GetDragPosition(reference, before);
    FWToolPaletteHelper::FinishDragInPalette(*this, toWindow(global));
    FWToolWidget* previous = nullptr;
    for (FWView* child = grid.FirstChild(); child != nullptr; child = child->NextPeer()) {
        auto* widget = dynamic_cast<FWToolWidget*>(child);
        if (widget == nullptr || !AcceptsToolWidget(*widget))
            continue;
        FWToolWidget* copy = FWToolManager::CreateNewWidgetForTool(widget->ToolName().GetCString());
        if (copy == nullptr)
            continue;
        if (previous == nullptr)
            mToolGrid->AddToolWidget(*copy, reference, before);
        else
            mToolGrid->AddToolWidget(*copy, previous, false);
        previous = copy;
    }
    FitToToolGrid(false);
}

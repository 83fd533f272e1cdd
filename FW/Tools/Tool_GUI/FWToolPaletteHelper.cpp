#include "FWToolPaletteHelper.h"

#include "FWDrawContext.h"
#include "FWDrawContextSavers.h"
#include "FWMenuMgr.h"
#include "FWOpData.h"
#include "FWOpItem.h"
#include "FWOpMenu.h"
#include "FWProgrammerMessage.h"
#include "FWStr.h"
#include "FWToolGrid.h"
#include "FWToolPalette.h"
#include "FWToolWidget.h"
#include "FWUserOp.h"
#include "ImageBuffer.h"

#include <map>

namespace {

const FWArgb32 kBorderHiliteColor{255, 127, 127, 255};
const FWArgb32 kInnerHiliteColor{255, 120, 10, 80};

// The user palettes' rows go to the editor's "Window" menu, after a separator of their own.
constexpr const char* kWindowMenu = "Window";
constexpr int32_t kSeparatorID = int32_t(0xABCDEF21);
constexpr int32_t kFirstPaletteID = int32_t(0xABCDEF22);

int sMenuCount = 0;
int32_t sNextMenuID = kFirstPaletteID;
// Each user palette's row id; a row whose palette is gone finds none.
std::map<int32_t, FWToolPalette*>& paletteRows()
{
    static std::map<int32_t, FWToolPalette*> rows;
    return rows;
}

FWToolPalette* paletteOfRow(const FWUserOp* op)
{
    if (op == nullptr)
        return nullptr;
    auto found = paletteRows().find(op->Id());
    return found != paletteRows().end() ? found->second : nullptr;
}

FWOpMenu* windowMenu()
{
    FWUserOp* root = FWMenuMgr::Instance()->GetRootMenu();
    const FWStr<63> name(kWindowMenu);
    for (FWUserOp* menu = root != nullptr ? root->FirstChild() : nullptr; menu != nullptr; menu = menu->NextPeer())
        if (menu->Name() == name)
            return dynamic_cast<FWOpMenu*>(menu);
    return nullptr;
}

// A menu without rows of its own is disabled and shows one separator (the editor rebuilds its
// menus so): the palette rows take that row's place, and give it back when the last goes.
bool isEmptyMenuMark(const FWOpMenu* menu)
{
    const FWUserOp* first = menu->FirstChild();
    return menu->TestFlag(kUserOpDisabled) && first != nullptr && first->NextPeer() == nullptr &&
           first->TestFlag(kUserOpSeparator) && first->Id() != kSeparatorID;
}

void dropEmptyMenuMark()
{
    FWOpMenu* menu = windowMenu();
    if (menu == nullptr || !isEmptyMenuMark(menu))
        return;
    menu->RemoveItem(0);
    menu->ClearFlag(kUserOpDisabled);
}

void restoreEmptyMenuMark()
{
    FWOpMenu* menu = windowMenu();
    if (menu == nullptr || menu->FirstChild() != nullptr)
        return;
    menu->SetFlag(kUserOpDisabled);
    menu->AppendChild(new FWOpItem("-", 0, kUserOpSeparator, 0, 0, nullptr, nullptr, nullptr, 0, 0));
    FWMenuMgr::Instance()->RebuildMenus();
}

// A copy of the window's pixels in the rect, in the same coordinates.
ImageBuffer* capture(FWDrawContext& context, const FWRect& rect)
{
    auto* buffer = new ImageBuffer(&rect, kImageBufferDepth32);
    context.CaptureImage(buffer, &rect, nullptr);
    return buffer;
}

void restore(FWDrawContext& context, ImageBuffer* buffer)
{
    const FWRect rect = buffer->GetRect();
    context.DrawImage(buffer, &rect, false);
}

} // namespace

FWToolPaletteHelper* FWToolPaletteHelper::gHelper = nullptr;

FWToolPaletteHelper::FWToolPaletteHelper(FWToolPalette& palette) : mContext(new FWDrawContext(&palette)) {}

FWToolPaletteHelper::~FWToolPaletteHelper()
{
    delete mBarBuffer;
    for (ImageBuffer* buffer : mBorderBuffers)
        delete buffer;
    delete mContext;
}

// The drag over a palette ----------------------------------------------------------------------

void FWToolPaletteHelper::StartDragInPalette(FWToolPalette& palette, FWPoint)
{
    if (gHelper != nullptr) {
        fw_programmer_message("", kSourcePath, __LINE__);
        gHelper->EraseOldHilite();
        delete gHelper;
    }
    gHelper = new FWToolPaletteHelper(palette);
    gHelper->HilitePalette(palette);
}

void FWToolPaletteHelper::UpdateDragInPalette(FWToolPalette& palette, FWPoint where)
{
    if (gHelper == nullptr)
        return;
    FWToolWidget* widget = palette.GetToolGrid()->FindWidget(where);
    if (widget == gHelper->mDragPosition) {
        if (widget != nullptr)
            gHelper->HiliteWidget(palette, where, false);
        return;
    }
    if (gHelper->mDragPosition != nullptr)
        gHelper->EraseOldHilite();
    gHelper->mDragPosition = widget;
    if (widget != nullptr)
        gHelper->HiliteWidget(palette, where, true);
}

void FWToolPaletteHelper::FinishDragInPalette(FWToolPalette& palette, FWPoint)
{
    if (gHelper == nullptr)
        return;
    gHelper->EraseOldHilite();
    gHelper->UnhilitePalette(palette);
    delete gHelper;
    gHelper = nullptr;
}

void FWToolPaletteHelper::GetDragPosition(FWToolWidget*& widget, bool& before)
{
    widget = gHelper != nullptr ? gHelper->mDragPosition : nullptr;
    before = gHelper != nullptr && gHelper->mBefore;
}

void FWToolPaletteHelper::HilitePalette(FWToolPalette& palette)
{
    FWRect r;
    palette.GetContentRect(&r);
    mContext->SetClipRect(nullptr);
    const FWRect strips[4] = {
        FWRect(r.left, r.top, r.right, int16_t(r.top + 3)),
        FWRect(r.left, r.top, int16_t(r.left + 3), r.bottom),
        FWRect(int16_t(r.right - 3), r.top, r.right, r.bottom),
        FWRect(r.left, int16_t(r.bottom - 3), r.right, r.bottom),
    };
    for (int i = 0; i < 4; ++i)
        mBorderBuffers[i] = capture(*mContext, strips[i]);
    FWForeColorSaver saved(*mContext, kBorderHiliteColor);
    FWRect frame = r;
    for (int i = 0; i < 3; ++i) {
        mContext->FrameRect(&frame);
        frame.Inset(1, 1);
    }
}

void FWToolPaletteHelper::UnhilitePalette(FWToolPalette&)
{
    mContext->SetClipRect(nullptr);
    for (ImageBuffer*& buffer : mBorderBuffers) {
        if (buffer == nullptr) {
            fw_programmer_message("", kSourcePath, __LINE__);
            continue;
        }
        restore(*mContext, buffer);
        delete buffer;
        buffer = nullptr;
    }
}

void FWToolPaletteHelper::HiliteWidget(FWToolPalette& palette, FWPoint where, bool isNew)
{
    if (mDragPosition == nullptr)
        return;
    const FWToolGrid& grid = *palette.GetToolGrid();
    const FWRect r = mDragPosition->GetRect();
    FWRect bar;
    bool before;
    if (grid.Layout() == FWToolGrid::kVertical || grid.DisplayMode() == FWToolGrid::kText) {
        before = where.v < r.top + r.Height() / 2;
        bar = before ? FWRect(r.left, r.top, r.right, int16_t(r.top + 3))
                     : FWRect(r.left, int16_t(r.bottom - 3), r.right, r.bottom);
    } else {
        before = !(where.h >= r.left + r.Width() / 2);
        bar = before ? FWRect(r.left, r.top, int16_t(r.left + 3), r.bottom)
                     : FWRect(int16_t(r.right - 3), r.top, r.right, r.bottom);
    }
    if (!isNew && before == mBefore)
        return;
    if (!isNew)
        EraseOldHilite();
    HiliteNewRect(bar);
    mBefore = before;
}

void FWToolPaletteHelper::HiliteNewRect(const FWRect& rect)
{
    mContext->SetClipRect(nullptr);
    mBarRect = rect;
    delete mBarBuffer;
    mBarBuffer = capture(*mContext, rect);
    mContext->PaintRect(&rect, kInnerHiliteColor);
}

void FWToolPaletteHelper::EraseOldHilite()
{
    if (mBarBuffer == nullptr)
        return;
    mContext->SetClipRect(nullptr);
    restore(*mContext, mBarBuffer);
    delete mBarBuffer;
    mBarBuffer = nullptr;
}

// The "Window" menu ----------------------------------------------------------------------------

void FWToolPaletteHelper::AddMenuItemForPalette(FWToolPalette& palette)
{
    FWMenuMgr* menus = FWMenuMgr::Instance();
    const FWStr<63> menuName(kWindowMenu);
    if (sMenuCount == 0) {
        dropEmptyMenuMark();
        const FWOpData separator{"-", kSeparatorID, 8, 0, 0, nullptr, nullptr, nullptr, 0, 0, nullptr, 0};
        menus->AppendItemToMenu(menuName, separator);
    }
    const int32_t id = sNextMenuID++;
    paletteRows()[id] = &palette;
    FWStr<255> text("Hide ");
    text += palette.Name();
    const FWOpData row{text.GetCString(), id, 0, 0, 0, AdjustPaletteMenu, TogglePaletteVisible, nullptr, 255, 0,
                       nullptr, 0};
    menus->AppendItemToMenu(menuName, row);
    ++sMenuCount;
}

void FWToolPaletteHelper::RemoveMenuItemForPalette(FWToolPalette& palette)
{
    const int32_t id = MenuIDOfPalette(palette);
    if (id == 0)
        return;
    paletteRows().erase(id);
    FWMenuMgr* menus = FWMenuMgr::Instance();
    menus->RemoveItemWithID(id);
    if (--sMenuCount == 0) {
        menus->RemoveItemWithID(kSeparatorID);
        restoreEmptyMenuMark();
    }
}

int32_t FWToolPaletteHelper::MenuIDOfPalette(const FWToolPalette& palette)
{
    for (const auto& [id, owner] : paletteRows())
        if (owner == &palette)
            return id;
    return 0;
}

void FWToolPaletteHelper::AdjustPaletteMenu(FWUserOp* op)
{
    FWToolPalette* palette = paletteOfRow(op);
    if (palette == nullptr)
        return;
    FWStr<255> text(palette->Visible() ? "Hide " : "Show ");
    text += palette->Name();
    if (!(op->Name() == text))
        op->SetName(text);
}

void FWToolPaletteHelper::TogglePaletteVisible(FWUserOp* op)
{
    FWToolPalette* palette = paletteOfRow(op);
    if (palette == nullptr)
        return;
    if (palette->Visible())
        palette->Hide();
    else
        palette->Show();
}

// The drop feedback inside a palette while a tool is dragged over it (a 3-pixel border round
// the content and an insertion bar beside the widget under the mouse, each drawn over a saved
// copy of the screen), and the user palettes' rows in the "Window" menu.
#pragma once

#include "FWRect.h"

#include <cstdint>

class FWDrawContext;
class FWToolPalette;
class FWToolWidget;
class FWUserOp;
class ImageBuffer;

class FWToolPaletteHelper {
public:
    // The helper of the drag now over a palette, or null.
    static FWToolPaletteHelper* gHelper;

    // Points in the palette's window coordinates.
    static void StartDragInPalette(FWToolPalette& palette, FWPoint where);
    static void UpdateDragInPalette(FWToolPalette& palette, FWPoint where);
    static void FinishDragInPalette(FWToolPalette& palette, FWPoint where);
    // Where a drop goes: beside this widget (null: at the end), before or after it.
    static void GetDragPosition(FWToolWidget*& widget, bool& before);

    // The palettes' rows in the "Window" menu; each user palette has an id of its own.
    static void AddMenuItemForPalette(FWToolPalette& palette);
    static void RemoveMenuItemForPalette(FWToolPalette& palette);
    static void AdjustPaletteMenu(FWUserOp* op);
    static void TogglePaletteVisible(FWUserOp* op);
    // The id of the palette's row, 0 when it has none.
    static int32_t MenuIDOfPalette(const FWToolPalette& palette);

    explicit FWToolPaletteHelper(FWToolPalette& palette);
    ~FWToolPaletteHelper();
    FWToolPaletteHelper(const FWToolPaletteHelper&) = delete;
    FWToolPaletteHelper& operator=(const FWToolPaletteHelper&) = delete;

    void HilitePalette(FWToolPalette& palette);
    void UnhilitePalette(FWToolPalette& palette);
    void HiliteWidget(FWToolPalette& palette, FWPoint where, bool isNew);
    void HiliteNewRect(const FWRect& rect);
    void EraseOldHilite();

private:
    static constexpr const char* kSourcePath = "FW/Tools/Tool_GUI/FWToolPaletteHelper";

    FWToolWidget* mDragPosition = nullptr;
    ImageBuffer* mBarBuffer = nullptr;
    ImageBuffer* mBorderBuffers[4] = {nullptr, nullptr, nullptr, nullptr};
    FWDrawContext* mContext = nullptr;
    FWRect mBarRect;
    bool mBefore = false;
};

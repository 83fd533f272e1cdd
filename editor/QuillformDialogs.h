// The editor's two small modal dialogs, laid out by the program's own 'WINT' layouts: the grid
// size (layout 23, edit text 1002) and the size of a layout's window (layout 50, edit texts 3
// and 6 for width and height).
#pragma once

#include "FWDialog.h"

#include <cstdint>

class FWDocument;

class SetGridDialog : public FWModalDialog {
public:
    static constexpr int32_t kLayoutID = 23;
    static constexpr int32_t kGridItem = 1002;
    SetGridDialog(FWDocument* document, int32_t grid);
    // A grid from 0 (none) to the largest window is taken; any other is refused with a message.
    bool DialogAccepted(FWView* view) override;
};

class SetDialogSize : public FWModalDialog {
public:
    static constexpr int32_t kLayoutID = 50;
    static constexpr int32_t kWidthItem = 3;
    static constexpr int32_t kHeightItem = 6;
    // least: the least width (h) and height (v) the window may be given.
    SetDialogSize(FWDocument* document, int32_t width, int32_t height, FWPoint least);
    // A size below the least or above the largest a window can have is refused with a message;
    // the dialog stays open with it.
    bool DialogAccepted(FWView* view) override;

private:
    FWPoint mLeast;
};

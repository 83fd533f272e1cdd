// The grid and window-size dialogs: each refuses a number the editor cannot take, staying open.
#include "QuillformDialogs.h"

#include "BaseDlg.h"
#include "EditText.h"
#include "FWStr.h"

SetGridDialog::SetGridDialog(FWDocument* document, int32_t grid)
{
    const FWStr<31> title("Set Grid");
    SetName(&title, false);
    Initialize(document, kLayoutID);
    EditText::GSetLong(this, kGridItem, grid, nullptr);
}

bool SetGridDialog::DialogAccepted(FWView*)
{
    int32_t grid = 0;
    return BaseDlg::TypedNumber(this, kGridItem, 0, BaseDlg::kLargestWindow, "The grid (0 for none)", grid);
}

SetDialogSize::SetDialogSize(FWDocument* document, int32_t width, int32_t height, FWPoint least) : mLeast(least)
{
    const FWStr<31> title("Set Dialog size");
    SetName(&title, false);
    Initialize(document, kLayoutID);
    EditText::GSetLong(this, kWidthItem, width, nullptr);
    EditText::GSetLong(this, kHeightItem, height, nullptr);
}

bool SetDialogSize::DialogAccepted(FWView*)
{
    // Below the least size dragging the window's edges allows, its title bar and frame are lost,
    // and a layout saved so small opens again as a window no one can see.
    int32_t width = 0, height = 0;
    return BaseDlg::TypedNumber(this, kWidthItem, mLeast.h, BaseDlg::kLargestWindow, "The width", width) &&
           BaseDlg::TypedNumber(this, kHeightItem, mLeast.v, BaseDlg::kLargestWindow, "The height", height);
}

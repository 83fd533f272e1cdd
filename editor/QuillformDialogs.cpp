#include "QuillformDialogs.h"

#include "EditText.h"
#include "FWStr.h"
#include "QuillformApp.h"

#include <cstdio>

SetGridDialog::SetGridDialog(FWDocument* document, int32_t grid)
{
    const FWStr<31> title("Set Grid");
    SetName(&title, false);
    Initialize(document, kLayoutID);
    EditText::GSetLong(this, kGridItem, grid, nullptr);
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
    if (EditText::GGetLong(this, kWidthItem) >= mLeast.h && EditText::GGetLong(this, kHeightItem) >= mLeast.v)
        return true;
    char text[160];
    std::snprintf(text, sizeof text, "The window cannot be smaller than %d x %d (width x height).", int(mLeast.h),
                  int(mLeast.v));
    QuillformApp::WarningMessage(text);
    return false;
}

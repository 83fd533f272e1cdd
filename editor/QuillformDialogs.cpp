#include "QuillformDialogs.h"

#include "EditText.h"
#include "FWStr.h"

SetGridDialog::SetGridDialog(FWDocument* document, int32_t grid)
{
    const FWStr<31> title("Set Grid");
    SetName(&title, false);
    Initialize(document, kLayoutID);
    EditText::GSetLong(this, kGridItem, grid, nullptr);
}

SetDialogSize::SetDialogSize(FWDocument* document, int32_t width, int32_t height)
{
    const FWStr<31> title("Set Dialog size");
    SetName(&title, false);
    Initialize(document, kLayoutID);
    EditText::GSetLong(this, kWidthItem, width, nullptr);
    EditText::GSetLong(this, kHeightItem, height, nullptr);
}

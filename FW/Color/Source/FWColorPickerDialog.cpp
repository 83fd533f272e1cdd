#include "FWColorPickerDialog.h"

bool FWColorPickerDialog::PickColor(ColorButton* /*button*/)
{
    // The dialog and its pickers are still to come: the colour stays as it is.
    return false;
}

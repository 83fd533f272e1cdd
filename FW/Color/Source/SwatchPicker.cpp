// The swatch picker's place in the dialog: its icon, name and size.
#include "SwatchPicker.h"

#include "HostTypes.h"

SwatchPicker::SwatchPicker(const FWColorPickerManager* manager) : FWColorPicker(manager, 70)
{
    ReadImagesFromDisk(904, FOUR_CHAR_CODE("PICT"));
}

void SwatchPicker::GetColorPickerSize(int16_t& width, int16_t& height)
{
    width = 149;
    height = 83;
}

// The modal colour picker opened from a colour button: it edits the button's colour live and
// puts the old colour back on Cancel.
#pragma once

class ColorButton;

class FWColorPickerDialog {
public:
    // Runs the picker on the button's colour; true when the user kept the new colour.
    static bool PickColor(ColorButton* button);
};

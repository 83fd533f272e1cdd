// The application colour table: 28 colours that give the framework its grey look, filled by
// FWSetColorScheme. Drawing code picks entries by number (0 is the window background).
#pragma once

#include "FWArgb32.h"

constexpr int kFWAppColorCount = 28;

// The table entry of index 0..27; transparent black before FWSetColorScheme has run, and for
// an index outside the table.
FWArgb32 FWGetAppColor(int index);
void FWSetColorScheme();

// Tests of key characters: the arrow and navigation character codes.
#pragma once

// 28 left, 29 right, 30 up, 31 down.
bool FWIsArrowChar(char c);
// An arrow, or 1 home, 4 end, 11 page up, 12 page down.
bool FWIsNavigationChar(char c);

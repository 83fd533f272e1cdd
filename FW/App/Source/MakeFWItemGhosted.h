// Ghosting and unghosting a dialog's items by id.
#pragma once

#include <cstdint>

class FWWindow;

// Sets the ghosted state of the view of that id in the window's layout. Only a change redraws:
// the view's area is invalidated and a key focus left in a hidden view is dropped. A window
// without such a view is left alone.
void MakeFWItemGhosted(FWWindow* window, int32_t id, bool ghost);

#include "MakeFWItemGhosted.h"

#include "FWView.h"
#include "FWViewMngr.h"
#include "FWWindow.h"

void MakeFWItemGhosted(FWWindow* window, int32_t id, bool ghost)
{
    if (window == nullptr)
        return;
    FWView* view = window->ViewMngr().GetView(id);
    if (view == nullptr || view->IsGhosted() == ghost)
        return;
    view->SetGhosted(ghost);
    const FWRect area = view->GlobalRect();
    window->Inval(&area);
    window->ViewMngr().ValidateKeyFocus();
}

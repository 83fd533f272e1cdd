#include "FWToolDropTarget.h"

#include "FWToolDragManager.h"

FWToolDropTarget::FWToolDropTarget()
{
    FWToolDragManager::Instance()->RegisterDropTarget(*this);
}

FWToolDropTarget::~FWToolDropTarget()
{
    FWToolDragManager::Instance()->UnregisterDropTarget(*this);
}

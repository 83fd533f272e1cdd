#include "PersistentObj.h"

#include "PersistentRegistry.h"

PersistentObj::~PersistentObj()
{
    PersistentRegistry::UnregisterObject(this);
}

uint32_t PersistentObj::GetID()
{
    if (!HasID())
        PersistentRegistry::RegisterObject(this);
    return mID;
}

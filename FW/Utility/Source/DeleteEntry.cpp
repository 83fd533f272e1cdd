#include "DeleteEntry.h"

#include "IdleDeleter.h"

DeleteEntry::DeleteEntry()
{
    IdleDeleter::gIdleDeleter.AddDeleter(this);
}

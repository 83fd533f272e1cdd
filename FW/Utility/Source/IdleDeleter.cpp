#include "IdleDeleter.h"

#include "DeleteEntry.h"

#include <cstddef>

IdleDeleter IdleDeleter::gIdleDeleter;

IdleDeleter::~IdleDeleter()
{
    UseIdleTime();
}

void IdleDeleter::AddDeleter(DeleteEntry* entry)
{
    if (entry == nullptr)
        return;
    StartIdling();
    mEntries.push_back(entry);
}

void IdleDeleter::UseIdleTime()
{
    if (mWorking)
        return;
    mWorking = true;
    // By index: a Delete may queue further entries, which are worked off in this pass.
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        DeleteEntry* entry = mEntries[i];
        entry->Delete();
        delete entry;
    }
    mEntries.clear();
    mWorking = false;
    StopIdling();
}

void FlushDeletes()
{
    IdleDeleter::gIdleDeleter.FlushDeletes();
}

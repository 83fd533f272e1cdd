// The deferred-deletion queue: objects that must outlive the code still using them are deleted
// at idle time, in the order queued. The one queue is IdleDeleter::gIdleDeleter; it idles only
// while entries wait.
#pragma once

#include "FWIdleProcess.h"

#include <vector>

class DeleteEntry;

class IdleDeleter : public FWIdleProcess {
public:
    IdleDeleter() = default;
    // Works off what is still queued.
    ~IdleDeleter() override;

    // Takes ownership of entry and starts idling.
    void AddDeleter(DeleteEntry* entry);
    // Deletes every queued object in order, entries queued meanwhile included, then stops
    // idling. A call from inside a Delete of the same pass does nothing.
    void UseIdleTime() override;
    // Runs UseIdleTime at once.
    void FlushDeletes() { UseIdleTime(); }

    static IdleDeleter gIdleDeleter;

private:
    std::vector<DeleteEntry*> mEntries;
    bool mWorking = false; // a flush from inside a Delete must not start a second walk
};

// Works off the deferred deletions now (used when a document closes).
void FlushDeletes();

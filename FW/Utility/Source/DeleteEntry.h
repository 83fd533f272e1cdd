// An entry of the deferred-deletion queue: it stands for one object and deletes it when the
// queue is worked off. Constructing an entry queues it with IdleDeleter::gIdleDeleter, which
// owns it from then on.
#pragma once

class DeleteEntry {
public:
    DeleteEntry();
    DeleteEntry(const DeleteEntry&) = delete;
    DeleteEntry& operator=(const DeleteEntry&) = delete;
    virtual ~DeleteEntry() = default;

    // Deletes the object the entry stands for.
    virtual void Delete() = 0;
};

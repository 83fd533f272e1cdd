// Deferred deletion of one object through its virtual destructor: DeletePtrLater(p) queues p to
// be deleted at the next idle time (or FlushDeletes), after the code using it has returned.
#pragma once

#include "DeleteEntry.h"

template <class T>
class DeletePtr : public DeleteEntry {
public:
    explicit DeletePtr(T* p) : mPtr(p) {}

    void Delete() override
    {
        T* p = mPtr;
        mPtr = nullptr;
        delete p;
    }

private:
    T* mPtr;
};

// The entry is owned by the queue; null queues an entry that deletes nothing.
template <class T>
void DeletePtrLater(T* p)
{
    new DeletePtr<T>(p);
}

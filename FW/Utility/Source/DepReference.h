// A reference owned by a Dependable (always one of its members) to another dependable. With the
// depend flag the owner is kept a dependant of the target. The stored value is a pointer, null,
// or an odd persistent identifier while the reference is not yet resolved.
#pragma once

#include "Dependable.h"
#include "FWProgrammerMessage.h"
#include "PersistentRegistry.h"
#include "ReferenceLink.h"

template <class T>
class DepReference : public ReferenceLink {
public:
    // Joins the end of owner's reference list for the owner's lifetime.
    DepReference(Dependable* owner, bool depend);
    ~DepReference() override;

    // Re-points the reference; with the depend flag, moves the owner's dependency.
    void SetObject(T* p);
    DepReference& operator=(T* p)
    {
        SetObject(p);
        return *this;
    }
    DepReference& operator=(const DepReference& other)
    {
        if (this != &other)
            SetObject(other.mTarget);
        return *this;
    }

    // The stored value, unchecked.
    operator T*() const { return mTarget; }
    // The target; an unresolved or null value is reported (and must not be dereferenced).
    T* operator->() const;

    bool IsResolved() const { return mTarget != nullptr && !PersistentRegistry::IsAPersistentID(mTarget); }

    bool ReceiveMessage(Dependable* sender, Dependable::Message m) override;
    bool IsMaster() const override { return false; }

private:
    static constexpr const char* kSourcePath = "FW/Utility/Dependancy";

    Dependable* mOwner;
    bool mDepend;
    T* mTarget = nullptr;
};

template <class T>
DepReference<T>::DepReference(Dependable* owner, bool depend) : mOwner(owner), mDepend(depend)
{
    if (owner == nullptr) {
        fw_programmer_message("'Owner' for reference construction was NULL (not allowed).", kSourcePath, 202);
        return;
    }
    owner->appendReference(this);
}

template <class T>
DepReference<T>::~DepReference()
{
    if (mOwner != nullptr && mTarget != nullptr)
        fw_programmer_message("Tried to destroy a reference that is connected to a dependant.", kSourcePath, 219);
}

template <class T>
void DepReference<T>::SetObject(T* p)
{
    if (mOwner == nullptr || !mDepend) {
        mTarget = p;
        return;
    }
    // Only a resolved value is a real object: an identifier is never touched.
    if (IsResolved())
        static_cast<Dependable*>(mTarget)->BreakDependancy(mOwner);
    mTarget = p;
    if (IsResolved())
        static_cast<Dependable*>(mTarget)->EstablishDependancy(mOwner);
}

template <class T>
T* DepReference<T>::operator->() const
{
    if (PersistentRegistry::IsAPersistentID(mTarget))
        fw_programmer_message("Tried to dereference an unresoved pointer.", kSourcePath, 232);
    else if (mTarget == nullptr)
        fw_programmer_message("Tried to dereference a NULL pointer.", kSourcePath, 234);
    return mTarget;
}

template <class T>
bool DepReference<T>::ReceiveMessage(Dependable* sender, Dependable::Message m)
{
    // The target hears the message first, unless it is its own notice (it sent it) or the
    // reference still holds an identifier.
    if (IsResolved() && static_cast<Dependable*>(mTarget) != sender) {
        if (!static_cast<Dependable*>(mTarget)->ReceiveMessage(sender, m))
            return false;
    }
    if (m == Dependable::IsBeingDeleted && mTarget != nullptr && IsResolved() &&
        static_cast<Dependable*>(mTarget) == sender)
        SetObject(nullptr);
    return true;
}

// An object that others observe. It keeps the dependants it notifies of changes and of its own
// deletion, and the references (DepReference) it owns to other dependables, which clear
// themselves when their target goes away. Before a dependable is destroyed, its owner sends it
// IsBeingDeleted.
#pragma once

#include "DNode.h"
#include "FWString.h"
#include "PersistentObj.h"

#include <cstdint>

class ReferenceLink;

class Dependable : public PersistentObj {
public:
    enum Message : int32_t {
        ChangeNotice = 0,   // passed down to the dependants
        IsBeingDeleted = 1, // the sender is about to be destroyed
    };

    Dependable();
    Dependable(const Dependable&) = delete;
    Dependable& operator=(const Dependable&) = delete;
    ~Dependable() override;

    // The base handler: a change notice goes down the dependants in preorder; the object's
    // own IsBeingDeleted goes to its references and then to each dependant, which must break
    // its dependency. Returns true; a false answer stops a notice below that dependant.
    virtual bool ReceiveMessage(Dependable* sender, Message m);
    // Makes receiver a dependant; false (and a report) for a cycle or a duplicate.
    virtual bool EstablishDependancy(Dependable* receiver);
    // Removes dependant from the direct dependants; nothing when it is not one.
    void BreakDependancy(Dependable* dependant);
    // Delivers m to this object's own ReceiveMessage, unless a send is already under way.
    // The object must be resolved: a stored identifier is never sent a message.
    void SendMessage(Message m);

    DNode& Dependants() { return mDependants; }
    const DNode& Dependants() const { return mDependants; }

    void SetDebugName(const char* name);
    const FWString& GetDebugName() const { return mDebugName; }

private:
    template <class T>
    friend class DepReference;

    void appendReference(ReferenceLink* link);
    void announceDeletion();

    FWStr<31> mDebugName;
    DNode mDependants;
    ReferenceLink* mReferences = nullptr;
    bool mSending = false;
};
